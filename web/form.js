// The form of the Windows program, in the browser: its controls are built
// from the same form design, and every number, name, line and message comes
// from the same C++ core, compiled to WebAssembly (growth_core.js). Texts
// cross from the core as CP932 bytes and are shown through the browser's
// Shift_JIS decoder.
'use strict';

(async () => {
  const core = await createGrowthCore();
  const shiftJis = new TextDecoder('shift_jis');

  // A text the core just gave (its length), decoded.
  const text = (length) => {
    const at = core._textBytes();
    return shiftJis.decode(core.HEAPU8.subarray(at, at + length));
  };

  // A typed text as bytes for the core's atoi-style reading: ASCII as it
  // is, any other character as 0x81, which no number rule takes for white
  // space, a sign or a digit (as no CP932 byte of such a character is).
  const putInput = (typed) => {
    const at = core._inputBuffer();
    const length = Math.min(typed.length, core._inputCapacity());
    for (let i = 0; i < length; ++i) {
      const unit = typed.charCodeAt(i);
      core.HEAPU8[at + i] = unit < 0x80 ? unit : 0x81;
    }
    return length;
  };

  const KINDS = ['frame', 'label', 'list', 'field', 'arrows', 'hpArrows', 'pushButton', 'resultBox'];
  const FONTS = ['none', 'systemFont', 'rarityList', 'resultBox'];
  // Names for assistive technology, by control number.
  const NAMES = {
    4000: 'レアリティ', 4001: '名前', 2000: '戦歴', 2001: 'HP', 2002: '攻撃', 2003: '防御', 2004: '素早さ',
    3000: '戦歴', 3001: 'HP', 3002: '攻撃', 3003: '防御', 3004: '素早さ', 7000: '結果',
  };
  // The seven result lines, top to bottom: the report's lines 0 to 6.
  const RESULT_LINES = [1005, 1006, 1007, 1008, 1011, 1009, 1010];
  // A frame's line runs through the middle of its caption; the controls in
  // it are placed from the inside of its one-pixel line.
  const FRAME_CAPTION_HALF = 8;
  const FRAME_LINE = 1;

  const form = document.getElementById('form');
  const controls = new Map();
  const control = (number) => controls.get(number);

  // The design's place, for form.css to draw the Windows form with; the
  // one-column layout lets the controls flow instead.
  const place = (element, x, y, width, height) => {
    for (const [name, value] of Object.entries({ x, y, width, height })) element.style.setProperty(`--${name}`, `${value}px`);
  };

  function build(kind, number, caption, upperBound, font) {
    let element;
    switch (kind) {
      case 'frame': {
        // A group, named by its caption, that holds the controls drawn in it.
        element = document.createElement('div');
        const captionElement = Object.assign(document.createElement('span'), { textContent: caption, id: `caption-${number}` });
        element.append(captionElement);
        element.setAttribute('role', 'group');
        element.setAttribute('aria-labelledby', captionElement.id);
        break;
      }
      case 'label':
        element = Object.assign(document.createElement('div'), { textContent: caption });
        break;
      case 'list':
        element = document.createElement('select');
        if (font === 'rarityList') element.classList.add('rarity-list');
        break;
      case 'field':
        element = Object.assign(document.createElement('input'), { type: 'text', value: caption, inputMode: 'numeric' });
        element.autocomplete = 'off';
        element.spellcheck = false;
        break;
      case 'arrows':
      case 'hpArrows':
        element = document.createElement('div');
        for (const [sign, symbol, verb] of [[1, '▲', 'を増やす'], [-1, '▼', 'を減らす']]) {
          const button = Object.assign(document.createElement('button'), { type: 'button', textContent: symbol, tabIndex: -1 });
          button.setAttribute('aria-label', NAMES[number] + verb);
          holdToRepeat(button, () => stepArrows(kind, number - 1000, upperBound, sign));
          element.append(button);
        }
        break;
      case 'pushButton':
        element = Object.assign(document.createElement('button'), { type: 'button', textContent: caption });
        break;
      case 'resultBox':
        element = Object.assign(document.createElement('textarea'), { readOnly: true, tabIndex: -1 });
        break;
    }
    element.classList.add('control', { hpArrows: 'arrows', pushButton: 'push', resultBox: 'result-box' }[kind] || kind);
    if (NAMES[number] && kind !== 'arrows' && kind !== 'hpArrows') element.setAttribute('aria-label', NAMES[number]);
    Object.assign(element.dataset, { number, kind, upperBound });
    return element;
  }

  // A list's or a field's own caption, which the one-column layout shows
  // beside it in place of the form's shared headings. Screen readers have
  // the same name from the control itself.
  const captionFor = (name) => {
    const caption = Object.assign(document.createElement('span'), { className: 'caption', textContent: name });
    caption.setAttribute('aria-hidden', 'true');
    return caption;
  };

  // The controls, in the design's creation order, which is also the order
  // of the keyboard focus. Each goes into the frame drawn around it; the
  // result lines go into one live region in theirs, top to bottom, so that
  // a calculation is announced once, whole, and the result box is not.
  const frames = [];
  const frameAround = (x, y) => frames.find((f) => x >= f.x && x < f.x + f.width && y >= f.y && y < f.y + f.height);
  // Places a control at its place in the design, from the inside of the
  // frame around it, and returns that frame.
  function placeInFrame(element, x, y, width, height) {
    const frame = frameAround(x, y);
    const [left, top] = frame ? [x - frame.x - FRAME_LINE, y - frame.y - FRAME_CAPTION_HALF - FRAME_LINE] : [x, y];
    place(element, left, top, width, height);
    return frame;
  }
  const resultLines = Object.assign(document.createElement('div'), { className: 'result-lines' });
  resultLines.setAttribute('aria-live', 'polite');
  resultLines.setAttribute('aria-atomic', 'true');
  for (let i = 0; i < core._controlCount(); ++i) {
    const value = (which) => core._controlValue(i, which);
    const kind = KINDS[value(0)];
    const [number, x, y, width, height] = [1, 2, 3, 4, 5].map(value);
    const element = build(kind, number, text(core._controlText(i)), value(6), FONTS[value(7)]);
    const colour = value(8);
    if (colour >= 0) element.style.color = `#${colour.toString(16).padStart(6, '0')}`;
    let frame;
    if (kind === 'frame') {
      place(element, x, y + FRAME_CAPTION_HALF, width, height - FRAME_CAPTION_HALF);
      frames.push({ element, x, y, width, height });
    } else {  // a list closed, one line high; the design's height is the dropped list's
      frame = placeInFrame(element, x, y, width, kind === 'list' ? 24 : height);
    }
    let container = frame ? frame.element : form;
    if (RESULT_LINES.includes(number)) {
      if (!resultLines.isConnected) container.append(resultLines);  // before the result box
      container = resultLines;
    }
    if (kind === 'list' || kind === 'field') container.append(captionFor(NAMES[number]));
    container.append(element);
    controls.set(number, element);
  }
  resultLines.append(...RESULT_LINES.map(control));  // in the order they are read

  const rarityList = control(4000);
  const nameList = control(4001);
  const fields = [2000, 2001, 2002, 2003, 2004].map(control);
  const [battleField, hpField] = fields;

  // The page's own name search, right of the base stats in the name list's
  // row: it narrows the list to the names that match, in roster order.
  const NAME_SEARCH = { name: '名前で絞り込み', caption: '絞り込み', place: [510, 60, 135, 24] };
  const nameSearch = Object.assign(document.createElement('input'),
                                   { type: 'search', id: 'name-search', className: 'control name-search', autocomplete: 'off',
                                     spellcheck: false, placeholder: NAME_SEARCH.name });
  nameSearch.setAttribute('aria-label', NAME_SEARCH.name);
  placeInFrame(nameSearch, ...NAME_SEARCH.place);
  nameList.after(captionFor(NAME_SEARCH.caption), nameSearch);

  const fieldNumber = (field, maxChars) => core._fieldNumber(putInput(field.value.slice(0, maxChars)));
  const integerText = (value) => text(core._integerText(value));
  // A line's text, each piece between its spaces in an element of its own,
  // which the one-column layout keeps whole when a result line wraps.
  const setLine = (number, line) => {
    control(number).replaceChildren(...line.split(/( +)/).filter(Boolean)
      .map((piece) => (piece.startsWith(' ') ? piece : Object.assign(document.createElement('span'), { textContent: piece }))));
  };

  // A rarity's names in roster order: one call and one decoding for
  // thousands of them.
  function rosterNames(rarity) {
    const names = text(core._characterNamesText(rarity)).split('\n');
    names.pop();  // after the last line feed
    return names;
  }

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
    const shown = listed ? listed.map((index) => names[index]) : names;
    nameList.replaceChildren(...shown.map((name) => {
      const option = document.createElement('option');
      option.textContent = name;
      return option;
    }));
    const position = listed ? listed.indexOf(character) : character;
    nameList.selectedIndex = shown.length > 0 ? Math.max(position, 0) : -1;  // the page's own choice raises no change
  }

  // Show rarity: its characters in roster order, the first one chosen.
  function showRarity(rarity) {
    names = rosterNames(rarity);
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
    setLine(1004, text(core._baseStatsText(rarity, index)));
    if (index < 0) return;  // a rarity without characters: nothing to show
    if (fieldNumber(battleField, core._battleFieldReadChars()) !== 0) return;
    battleField.value = '0';
    fields.slice(1).forEach((field, which) => { field.value = text(core._baseStatText(rarity, index, which)); });
  }

  // The arrows: the HP field two up or down, any other field one within
  // 0 and its arrows' upper bound.
  function stepArrows(kind, fieldNumberOfArrows, upperBound, sign) {
    const field = control(fieldNumberOfArrows);
    const current = fieldNumber(field, core._fieldReadChars());
    field.value = integerText(kind === 'hpArrows' ? core._hpAfterStep(current, sign)
                                                  : Math.min(Math.max(current + sign, 0), upperBound));
  }

  function calculate() {
    for (const number of RESULT_LINES) setLine(number, '');
    const numbers = fields.map((field) => fieldNumber(field, core._fieldReadChars()));
    const [rarity, index] = [rarityList.selectedIndex, chosenCharacter()];
    const failed = core._calculate(rarity, index, ...numbers);
    if (failed < 0) return;  // no character to check
    setLine(1005, text(core._reportText(0)));
    if (failed) return;  // the result box keeps the last good log
    setLine(1006, text(core._reportText(1)));
    setLine(1007, text(core._reportText(2)));
    if (numbers[0] > 0) {
      for (let line = 3; line < 7; ++line) setLine(RESULT_LINES[line], text(core._reportText(line)));
    }
    control(7000).value = text(core._reportText(7));
    growthChart.show(chartFigures());
    keepCheck(rarity, index, numbers);
  }

  // Keeps the check that just passed in the notebook, and says so where the
  // browser keeps nothing or has no room.
  const checkNote = document.getElementById('check-note');
  async function keepCheck(rarity, index, typed) {
    const figures = text(core._checkFiguresText()).split('\n');
    figures.pop();  // after the last line feed
    const base = [0, 1, 2, 3].map((stat) => Number(text(core._baseStatText(rarity, index, stat))));
    const check = { at: Date.now(), roster: rosterName, rarity, name: names[index], base, typed, figures };
    const started = performance.now();
    try {
      await keptChecks.keep(check);
      checkNote.textContent = '';
    } catch (error) {
      checkNote.textContent = keptChecks.whyNotKept(error);
    }
    document.body.dataset.keptIn = (performance.now() - started).toFixed(1);
    document.body.dataset.keeps = String(Number(document.body.dataset.keeps || 0) + 1);
  }

  // Chooses a kept check's character in the form, with the check's five
  // numbers in the fields; false when the roster in use has no such
  // character (the same rarity, name and base stats).
  function chooseCheck(check) {
    const index = rosterNames(check.rarity).findIndex((name, i) => name === check.name &&
      check.base.every((stat, which) => Number(text(core._baseStatText(check.rarity, i, which))) === stat));
    if (index < 0) return false;
    nameSearch.value = '';
    rarityList.selectedIndex = check.rarity;
    showRarity(check.rarity);
    nameList.selectedIndex = index;
    showCharacter();
    fields.forEach((field, which) => { field.value = integerText(check.typed[which]); });
    return true;
  }

  // The figures of the check that just passed, for the chart.
  function chartFigures() {
    const PROGRESS = 4;
    return {
      progress: core._chartNumber(PROGRESS, 0),
      progressText: text(core._chartNumberText(PROGRESS, 0)),
      scaleText: text(core._chartNumberText(PROGRESS, 1)),
      progressLine: text(core._reportText(0)),
      stats: [0, 1, 2, 3].map((stat) => ({
        now: core._chartNumber(stat, 0),
        nowText: text(core._chartNumberText(stat, 0)),
        predicted: core._chartNumber(stat, 1),
        predictedText: text(core._chartNumberText(stat, 1)),
        gainText: text(core._chartStatText(stat, 0)),
        predictedGainText: text(core._chartStatText(stat, 1)),
      })),
    };
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

  rarityList.addEventListener('change', () => showRarity(rarityList.selectedIndex));
  nameList.addEventListener('change', showCharacter);
  nameSearch.addEventListener('input', () => {
    listNames(lastShownCharacter);
    if (chosenCharacter() !== shownCharacter) showCharacter();
  });
  control(5000).addEventListener('click', calculate);
  fields.forEach((field, which) => {
    const arrows = control(3000 + which);
    field.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' || event.key === 'Escape') {
        event.preventDefault();  // they start nothing
      } else if (event.key === 'ArrowUp' || event.key === 'ArrowDown') {
        event.preventDefault();  // the Up and Down keys work as the arrows
        stepArrows(arrows.dataset.kind, 2000 + which, Number(arrows.dataset.upperBound), event.key === 'ArrowUp' ? 1 : -1);
      }
    });
    // Only digits from the keyboard, as in the Windows number fields; a
    // Japanese keyboard's full-width ones too, which become ASCII as they
    // are committed: by a plain input, or at the end of a composition, which
    // a phone's keyboard commits with no input event after it.
    field.addEventListener('beforeinput', (event) => {
      if (event.inputType === 'insertText' && /[^0-9０-９]/.test(event.data || '')) event.preventDefault();
    });
    field.addEventListener('input', (event) => { if (!event.isComposing) commitAscii(field); });
    field.addEventListener('compositionend', () => commitAscii(field));
  });

  // The data: the sample built in, or the user's own chardata.txt.
  const failure = document.getElementById('failure');
  function showFailure(message) {
    document.getElementById('failure-caption').textContent = text(core._openFailedCaptionText());
    document.getElementById('failure-text').textContent = message;
    failure.showModal();
  }
  // What the dialog says of a file, by what reading it came to.
  const FAILURE_TEXTS = {
    failed: (name) => text(core._openFailedTextText()).replace('\n', name),
    empty: (name) => `「${name}」にはキャラクターの行がありません。データは今のままです。`,
  };

  // Which roster is in use, shown in the menu bar: the sample, or the
  // file's name and whether this browser keeps it for the next visit.
  const rosterInUse = document.getElementById('roster-in-use');
  const useSample = document.getElementById('use-sample');
  const readingProgress = document.getElementById('reading');
  const openedAt = (time) => new Date(time).toLocaleString('ja-JP', { month: 'numeric', day: 'numeric', hour: 'numeric', minute: '2-digit' });
  const KEEPING = {
    kept: (kept) => `${openedAt(kept.openedAt)} に開いたもの・保存済み`,
    'too-large': () => '16 MiB を超えるため保存しません',
    refused: () => 'このブラウザには保存できません',
  };
  const SAMPLE_ROSTER = 'サンプル';  // what the notebook says of checks made with the sample
  let rosterName = SAMPLE_ROSTER;
  function showRosterInUse(name, keeping, kept) {
    rosterName = name === null ? SAMPLE_ROSTER : name;
    rosterInUse.textContent = name === null ? 'データ: サンプル（ファイルをここへドロップしても開けます）'
                                            : `データ: ${name}（${KEEPING[keeping](kept)}）`;
    rosterInUse.title = rosterInUse.textContent;
    rosterInUse.dataset.roster = name === null ? 'sample' : 'file';
    rosterInUse.dataset.keeping = keeping || '';
    useSample.hidden = name === null;
  }

  // Reads a file into the roster. Resolves to 'read', 'failed', 'empty'
  // (not one character in it) or 'superseded' (another file or the sample
  // took its place); a file that fails or is empty leaves the roster, and
  // the kept file, as they were, and the dialog says so.
  async function readRoster(file) {
    dataFile.useBrowserCp932Table(core, shiftJis);
    const outcome = await dataFile.read(core, file, (fraction) => {
      readingProgress.hidden = false;
      readingProgress.value = fraction;
    });
    readingProgress.hidden = true;
    if (FAILURE_TEXTS[outcome]) showFailure(FAILURE_TEXTS[outcome](file.name));
    if (outcome === 'read') showRarity(rarityList.selectedIndex);
    return outcome;
  }

  async function openFile(file) {
    const started = performance.now();
    if (await readRoster(file) !== 'read') return;
    const body = document.body;
    // How long from the file's choice until its names were in the list, and
    // until the browser had laid them out and drawn the next frame.
    body.dataset.listedIn = (performance.now() - started).toFixed(1);
    requestAnimationFrame(() => setTimeout(() => { body.dataset.shownIn = (performance.now() - started).toFixed(1); }));
    const keeping = await keptRoster.keep(file);
    showRosterInUse(file.name, keeping, { openedAt: Date.now() });
    body.dataset.wasmBytes = String(core.HEAPU8.buffer.byteLength);
    body.dataset.loads = String(Number(body.dataset.loads || 0) + 1);
  }

  const fileInput = document.getElementById('file-input');
  document.getElementById('open-file').addEventListener('click', () => fileInput.click());
  fileInput.addEventListener('change', () => {
    if (fileInput.files.length > 0) openFile(fileInput.files[0]);
    fileInput.value = '';
  });
  const windowElement = document.getElementById('window');
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    windowElement.classList.add('dropping');
  });
  document.addEventListener('dragleave', () => windowElement.classList.remove('dropping'));
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    windowElement.classList.remove('dropping');
    const file = event.dataTransfer && event.dataTransfer.files[0];
    if (file) openFile(file);
  });

  const app = document.getElementById('app');
  app.style.setProperty('--result-line', `#${core._resultLineColour().toString(16).padStart(6, '0')}`);
  growthChart.mount(document.getElementById('growth-chart'));
  const fit = pageLayout.start(app, growthChart);

  // The notebook, a screen of its own in place of the form and the chart.
  const openNotebook = document.getElementById('open-notebook');
  const rarityNames = Array.from({ length: core._rarityCount() }, (_, code) => text(core._rarityNameText(code)));
  notebook.start({
    rarityNames,
    battleLimits: rarityNames.map((_, code) => core._battleLimitOf(code)),
    choose: chooseCheck,
    closed(chosen) {
      app.hidden = false;
      fit();
      (chosen ? battleField : openNotebook).focus();
    },
  });
  openNotebook.addEventListener('click', () => {
    app.hidden = true;
    notebook.open();
  });

  useSample.addEventListener('click', async () => {
    dataFile.cancel();
    await keptRoster.forget();
    core._useSampleData();
    showRarity(rarityList.selectedIndex);
    showRosterInUse(null);
  });

  // Start-up: the roster kept from the last visit, or the sample; the
  // rarity list on 戦士, its first character.
  for (const name of rarityNames) rarityList.append(new Option(name));
  rarityList.selectedIndex = core._startRarity();
  const kept = await keptRoster.get();
  const outcome = kept ? await readRoster(kept.file) : 'none';
  if (outcome === 'read') {
    showRosterInUse(kept.name, 'kept', kept);
  } else if (outcome !== 'superseded') {  // else a file opened meanwhile is shown
    if (outcome === 'empty') await keptRoster.forget();  // kept by an earlier page, which took any file
    core._useSampleData();
    showRarity(rarityList.selectedIndex);
    showRosterInUse(null);
  }
  document.body.dataset.readyAt = performance.now().toFixed(1);  // since the navigation began
  document.body.dataset.wasmBytes = String(core.HEAPU8.buffer.byteLength);  // the WebAssembly memory's size
  document.body.dataset.ready = 'true';
})();
