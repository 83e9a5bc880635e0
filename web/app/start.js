// The page's start and the wiring of its screens: the core started (or its
// failure said), the roster in use, the form, the notebook, sharing and a
// shared check's screen, and every good check kept in the notebook.
'use strict';

const start = (() => {
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
      if (kept && kept.outcome === 'kept') pageDatabase.askToPersist();
      if (kept) formScreen.showRange(report, unitRange.forChart(made, kept.checks, kept));
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

  // The notebook and the share buttons, whose screens take the form's place
  // and hand it back.
  function wireScreens() {
    const openNotebook = byId('open-notebook');
    notebookScreen.start({
      holds: formScreen.holds,
      choose: formScreen.choose,
      closed: (chosen) => formScreen.show(chosen ? null : openNotebook),
    });
    openNotebook.addEventListener('click', () => {
      formScreen.hide();
      notebookScreen.open();
    });
    shareButtons.start({ title: document.title });
    unitQuestion.start();
    addCharacter.start(formScreen.select);
  }

  // A check someone shared, when the page was opened at its link: shown
  // over the form, against the roster in use, which it leaves as it is.
  function showShared() {
    sharedScreen.start({
      holds: formScreen.holds,
      add: addedCharacters.add,
      choose: formScreen.choose,
      opening: formScreen.hide,
      closed: (chosen) => formScreen.show(chosen ? null : byId('open-file')),
    });
  }

  // Where the core cannot start (a browser without WebAssembly, its script
  // blocked), the form written into the page would stay dead: say so.
  function failed(error) {
    byId('failure-caption').textContent = '起動できませんでした';
    byId('failure-text').textContent = 'このブラウザでは計算の部品（WebAssembly）を動かせませんでした。' +
      '新しい版のブラウザで開くか、ページを読み込み直してください。';
    byId('failure').showModal();
    probe.startFailed(error);
  }

  async function run() {
    try {
      await core.start();
    } catch (error) {
      failed(error);
      return;
    }
    formScreen.start({
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
    // The rarity list on 戦士 and its first character, from the roster kept
    // from the last visit or the sample.
    await rosterInUse.start(formScreen.showRoster);
    showShared();
    probe.ready(core.memoryBytes());
  }

  // The start, once the page's scripts have all run (page.js is deferred).
  return Object.freeze({ started: run() });
})();
