// The form of the Windows program, in the browser, and what its controls
// do: the rarity and name lists over the roster in use, the base stats, the
// five fields with their arrows, the calculate button and the result lines,
// with the growth chart beside the form. Every number, name, line and
// message comes from the same C++ core (core.js). A check that passes is
// announced, with its report, to whoever started the screen.
'use strict';

const formScreen = (() => {
  const { FIELDS, ARROWS, RESULT_LINES, pieces } = formControls;

  let controls;
  const control = (number) => controls.get(number);
  let rarityList, nameList, nameSearch, removeAdded, fields, chart, fit;
  let charted = null;  // the character whose check the chart draws: { rarity, index }
  let told = { passed() {}, failed() {} };  // told of each check

  // A line's text, in pieces as the one-column layout lays them out.
  const piece = (tag, className, textContent) => Object.assign(document.createElement(tag), className ? { className, textContent } : { textContent });
  const setLine = (number, line) => control(number).replaceChildren(...pieces(line, piece));
  const numberIn = (field, maxChars) => core.fieldNumber(field.value, maxChars);

  let names = [];          // the names of the rarity shown, in roster order
  let foldedNames = null;  // and as the search compares them, once it is used
  let listed = null;       // the character at each list position while the search narrows the list
  let shownCharacter = -1;
  let lastShownCharacter = -1;  // the one that clearing the search chooses again
  const chosenCharacter = () => (listed ? (listed[nameList.selectedIndex] ?? -1) : nameList.selectedIndex);

  // Lists the names that match the search (every name while it is empty),
  // and chooses `character` where it is listed, else the first.
  function listNames(character) {
    const query = nameMatch.folded(nameSearch.value);
    listed = null;
    if (query !== '') {
      foldedNames ??= names.map(nameMatch.folded);
      listed = [];
      foldedNames.forEach((name, index) => { if (name.includes(query)) listed.push(index); });
    }
    const shown = listed || names.map((name, index) => index);
    const added = core.fileCount(rarityList.selectedIndex);  // characters the player added follow the file's
    nameList.replaceChildren(...shown.map((index) => {
      const option = document.createElement('option');
      option.textContent = index >= added ? `${names[index]}（追加）` : names[index];
      return option;
    }));
    const position = listed ? listed.indexOf(character) : character;
    nameList.selectedIndex = shown.length > 0 ? Math.max(position, 0) : -1;  // the page's own choice raises no change
  }

  // Show rarity: its characters in roster order, the first one chosen.
  function showRarity(rarity) {
    names = core.names(rarity);
    foldedNames = null;
    listNames(0);
    showCharacter();
  }

  // Show character: its base stats, and in the four stat fields while the
  // battle field reads 0.
  function showCharacter() {
    const rarity = rarityList.selectedIndex;
    const index = chosenCharacter();
    shownCharacter = index;
    if (index >= 0) lastShownCharacter = index;
    setLine(controlIds.baseStatsLabel, core.baseStatsText(rarity, index));
    removeAdded.hidden = index < 0 || index < core.fileCount(rarity);
    const base = core.baseStats(rarity, index);
    if (!base) return;  // a rarity without characters: nothing to show
    if (numberIn(fields[0], core.battleFieldReadChars()) === 0) {
      fields[0].value = '0';
      fields.slice(1).forEach((field, stat) => { field.value = core.integerText(base[stat]); });
    }
    compareResult();
  }

  // The arrows: the HP field two up or down, any other field one within
  // 0 and its arrows' upper bound.
  function stepArrows(arrows, sign) {
    const field = fields[ARROWS.indexOf(Number(arrows.dataset.number))];
    const current = numberIn(field, core.fieldReadChars());
    field.value = core.integerText(arrows.dataset.kind === 'hpArrows' ? core.hpAfterStep(current, sign)
                                                                        : Math.min(Math.max(current + sign, 0), Number(arrows.dataset.upperBound)));
    compareResult();
  }

  // The five numbers as the fields hold them now.
  const typedNow = () => fields.map((field) => numberIn(field, core.fieldReadChars()));
  // Whether the check the result is of is still what the form holds.
  const compareResult = () => resultNotes.compare(rarityList.selectedIndex, chosenCharacter(), typedNow());

  function calculate() {
    for (const number of RESULT_LINES) setLine(number, '');
    const typed = typedNow();
    const [rarity, index] = [rarityList.selectedIndex, chosenCharacter()];
    const base = core.baseStats(rarity, index);
    if (!base) {  // no character to check: said, where the player is
      resultNotes.note(names.length === 0 ? `${coreFacts.rarityNames[rarity]}にはキャラクターがいません。`
                                          : '絞り込みに合う名前がありません。計算するキャラクターを選んでください。');
      pageLayout.bringIntoView(document.getElementById('result-note'));
      return;
    }
    const report = core.check(rarity, base, typed);
    const lines = control(RESULT_LINES[0]).parentElement;
    resultNotes.note('');
    resultNotes.name({ rarity, index, name: names[index] }, typed, report.failed);
    if (report.failed) {
      setLine(RESULT_LINES[0], report.lines[0]);
      if (charted && (charted.rarity !== rarity || charted.index !== index)) chart.clear();  // no other character's chart beside an error
      const field = fields[report.failedInput];
      if (field) resultNotes.allowed(field, control(ARROWS[report.failedInput]), report.failedInput, base, coreFacts.battleLimits[rarity]);
      pageLayout.bringIntoView(lines);
      told.failed(report);
      return;  // the result box keeps the last good log
    }
    resultNotes.clearAllowed();
    RESULT_LINES.forEach((number, line) => setLine(number, report.lines[line]));
    pageLayout.bringIntoView(lines);
    control(controlIds.resultBox).value = report.log;
    chart.show(report);
    charted = { rarity, index };
    told.passed(report, { rarity, name: names[index], base, typed });
  }

  // Shows the character at `index` of `rarity`, the name search cleared.
  function select(rarity, index) {
    nameSearch.value = '';
    rarityList.selectedIndex = rarity;
    showRarity(rarity);
    nameList.selectedIndex = index;
    showCharacter();
  }

  // Where a character is in the roster in use, by its rarity, name and base stats; -1 where it is not.
  function indexOf({ rarity, name, base }) {
    const sameBase = (index) => core.baseStats(rarity, index).every((stat, which) => stat === base[which]);
    return core.names(rarity).findIndex((listedName, i) => listedName === name && sameBase(i));
  }

  // Full-width digits and minus signs as their ASCII forms, one character
  // for one, so that the caret stays where it was.
  const asciiDigits = (typed) => typed.replace(/[０-９－]/g, (c) => String.fromCharCode(c.charCodeAt(0) - 0xFEE0)).replace(/−/g, '-');
  function commitAscii(field) {
    const ascii = asciiDigits(field.value);
    if (ascii === field.value) return;
    const [start, end] = [field.selectionStart, field.selectionEnd];
    field.value = ascii;
    field.setSelectionRange(start, end);
  }

  // A held arrow steps again and again, as a held arrow control does.
  function holdToRepeat(button, step) {
    let timer = null;
    const stop = () => { clearTimeout(timer); timer = null; };
    const repeat = (delay) => { timer = setTimeout(() => { step(); repeat(60); }, delay); };
    button.addEventListener('pointerdown', (event) => {
      if (event.button !== 0) return;
      event.preventDefault();
      step();
      repeat(400);
    });
    for (const end of ['pointerup', 'pointerleave', 'pointercancel']) button.addEventListener(end, stop);
    button.addEventListener('click', (event) => { if (event.detail === 0) step(); });  // from the keyboard or assistive technology
  }

  function wire() {
    rarityList.addEventListener('change', () => showRarity(rarityList.selectedIndex));
    nameList.addEventListener('change', showCharacter);
    nameSearch.addEventListener('input', () => {
      listNames(lastShownCharacter);
      if (chosenCharacter() !== shownCharacter) showCharacter();
    });
    control(controlIds.calculateButton).addEventListener('click', calculate);
    fields.forEach((field, which) => {
      const arrows = control(ARROWS[which]);
      const [up, down] = arrows.querySelectorAll('button');
      holdToRepeat(up, () => stepArrows(arrows, 1));
      holdToRepeat(down, () => stepArrows(arrows, -1));
      field.addEventListener('keydown', (event) => {
        if (event.key === 'Enter' && matchMedia('(pointer: coarse)').matches) {
          event.preventDefault();  // a phone keyboard's 次へ, and 実行 in the last field
          if (which + 1 < fields.length) fields[which + 1].focus();
          else calculate();
        } else if (event.key === 'Enter' || event.key === 'Escape') {
          event.preventDefault();  // they start nothing, as in the Windows form
        } else if (event.key === 'ArrowUp' || event.key === 'ArrowDown') {
          event.preventDefault();  // the Up and Down keys work as the arrows
          stepArrows(arrows, event.key === 'ArrowUp' ? 1 : -1);
        }
      });
      // Only digits from the keyboard, as in the Windows number fields; a
      // Japanese keyboard's full-width ones too, which become ASCII as they
      // are committed: by a plain input, or at the end of a composition,
      // which a phone's keyboard commits with no input event after it.
      field.addEventListener('beforeinput', (event) => {
        if (event.inputType === 'insertText' && /[^0-9０-９]/.test(event.data || '')) event.preventDefault();
      });
      field.addEventListener('input', (event) => {
        if (!event.isComposing) commitAscii(field);
        compareResult();
      });
      field.addEventListener('compositionend', () => commitAscii(field));
    });
  }

  return {
    // Takes the form in #form (written into the page by the build) and the
    // chart in #growth-chart, lays them out in #app, and lists the
    // rarities, on the core's start rarity. `tell.passed(report, { rarity,
    // name, base, typed })` hears of every check that passes,
    // `tell.failed(report)` of every one that fails, and
    // `tell.removeAdded(rarity, index)` of the player taking back a
    // character they added.
    start(tell) {
      told = tell;
      controls = formControls.found(document.getElementById('form'));
      [rarityList, nameList, nameSearch] = [control(controlIds.rarityList), control(controlIds.nameList), control('nameSearch')];
      removeAdded = document.getElementById('remove-added');
      removeAdded.addEventListener('click', () => told.removeAdded(rarityList.selectedIndex, chosenCharacter()));
      fields = FIELDS.map(control);
      wire();
      const app = document.getElementById('app');
      document.documentElement.style.setProperty('--result-line', core.resultLineColour());
      const chartElement = document.getElementById('growth-chart');
      chart = growthChart.create(chartElement);
      fit = pageLayout.start(app, chart, chartElement);
      rarityList.replaceChildren(...coreFacts.rarityNames.map((name) => new Option(name)));
      rarityList.selectedIndex = core.startRarity();
    },
    // Lists the chosen rarity's characters again, from the roster in use.
    showRoster: () => showRarity(rarityList.selectedIndex),
    // The battle field, to focus after a check is taken into the form.
    battleField: () => fields[0],
    // Shows the form again after another screen, laid out for the window
    // as it is now, and focuses the battle field or `focus`.
    show(focus) {
      document.getElementById('app').hidden = false;
      fit();
      (focus || fields[0]).focus();
    },
    hide() {
      document.getElementById('app').hidden = true;
    },
    // A short word beside the result, where the player is, for `ms`.
    note: resultNotes.note,
    // Shows beside `report`'s lines, where it is still the one shown, its
    // unit's range (growth_chart.js).
    showRange(report, range) {
      if (chart.shown() === report) chart.show(report, range);
    },
    // Leaves a check to be corrected: the focus in the field of the stat
    // (0 HP to 3 speed) that was wrong.
    correct(stat) {
      fields[stat + 1].focus();
      fields[stat + 1].select();
    },
    select,
    // Whether the roster in use holds a character: { rarity, name, base }
    // (the same rarity, name and base stats).
    holds: (character) => indexOf(character) >= 0,
    // Chooses a character in the form, with its five numbers in the fields:
    // { rarity, name, base, typed }. False when the roster in use has no
    // such character.
    choose(character) {
      const index = indexOf(character);
      if (index < 0) return false;
      const { rarity, typed } = character;
      select(rarity, index);
      fields.forEach((field, which) => { field.value = core.integerText(typed[which]); });
      compareResult();
      return true;
    },
  };
})();
