// The rest of the page's start, in later.js, which start.js loads once the
// form works: every good check kept in the notebook, the screens over the
// form (the notebook, a shared check), sharing, adding a character and
// writing the roster back, wired to the form; then the page is ready.
'use strict';

const laterStart = (() => {
  const { byId } = pageElements;

  // Keeps each check that passes in the notebook, in the unit it follows,
  // and shows that unit's range beside the result; asks first where it can
  // follow no unit of its character; says so where the browser keeps
  // nothing or has no room.
  async function keepCheck(report, made) {
    const started = performance.now();
    const note = byId('check-note');
    try {
      const check = checkRecord.fromReport(report, { at: Date.now(), roster: rosterInUse.name(), ...made });
      let kept = await keptChecks.keep(check);
      if (kept.outcome === 'cannot-follow') {
        probe.checkSettled(started);  // not kept, for now: asked
        const answer = await unitQuestion.ask(made, kept.conflict, kept.unit);
        if (answer === 'fix') formScreen.correct(kept.conflict.stat);
        kept = answer === 'new-unit' ? await keptChecks.keep(check, { newUnit: true }) : null;
        if (!kept) return;
      }
      if (kept.outcome === 'kept') {
        pageDatabase.askToPersist();
        formScreen.note('記録しました', 3000);
      }
      formScreen.showRange(report, unitRange.forChart(made, kept.checks, kept));
      note.textContent = '';
    } catch (error) {
      note.textContent = notebookWords.trouble(error);
    }
    probe.checkSettled(started);
  }

  // Takes back a character the player added, after asking.
  async function removeAdded(rarity, index) {
    const name = core.names(rarity)[index];
    if (!await pageElements.confirmed(`追加した ${coreFacts.rarityNames[rarity]} ${name} を、今のデータから削除しますか？`)) return;
    await addedCharacters.remove(rarity, index);
    formScreen.select(rarity, Math.min(index, core.names(rarity).length - 1));
    byId('check-note').textContent = `「${name}」を削除しました。`;
  }

  // The screens over the form (screens.js): the notebook with a unit's
  // history, and a shared check. Each shows what its entry in the
  // browser's history holds; going back to the form, by the screen's own
  // button or the browser's Back, focuses what led away from it (never a
  // field, which would bring up a phone's keyboard), or the battle field
  // after a check was taken into the form.
  let focusOnForm = null;
  let onScreen = 'form';
  function showScreen({ screen, key, unit }, { atStart = false } = {}) {
    const from = onScreen;
    onScreen = screen;
    if (screen !== 'shared') sharedScreen.hide();
    if (screen === 'form') {
      notebookScreen.hide();
      const ledAway = from === 'shared' ? byId('open-file') : byId('open-notebook');
      if (!atStart) formScreen.show(focusOnForm || ledAway);  // the page opens with no field focused
      focusOnForm = null;
      return;
    }
    formScreen.hide();
    if (screen === 'shared') {
      notebookScreen.hide();
      sharedScreen.showLink();
    } else if (screen === 'history') {
      notebookScreen.openHistory(key, unit);
    } else {
      notebookScreen.open();
    }
  }
  const taken = (choose) => (check) => {
    const chosen = choose(check);
    if (chosen) focusOnForm = formScreen.battleField();
    return chosen;
  };

  function wireScreens() {
    const { back } = screens;
    notebookScreen.start({
      holds: formScreen.holds,
      choose: (row) => {
        if (taken(formScreen.choose)(row)) back('form');
      },
      open: screens.open,
      back,
    });
    byId('open-notebook').addEventListener('click', () => screens.open({ screen: 'notebook' }));
    sharedScreen.start({ holds: formScreen.holds, add: addedCharacters.add, choose: taken(formScreen.choose), back });
    shareButtons.start({ title: document.title });
    unitQuestion.start();
    addCharacter.start(formScreen.select);
  }

  start.hear({
    passed(report, made) {
      unitQuestion.dismiss();
      keepCheck(report, made);
      shareButtons.passed(report, made);
    },
    failed(report) {
      unitQuestion.dismiss();
      shareButtons.failed(report);
    },
    removeAdded,
  });
  wireScreens();
  byId('write-roster').addEventListener('click', () => rosterOut.write(rosterInUse.file()));
  screens.start(showScreen);
  probe.ready(core.memoryBytes());
  return Object.freeze({});
})();
