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
  // A frame's line runs through the middle of its caption.
  const FRAME_CAPTION_HALF = 8;

  const form = document.getElementById('form');
  const controls = new Map();
  const control = (number) => controls.get(number);

  const place = (element, x, y, width, height) => {
    Object.assign(element.style, { left: `${x}px`, top: `${y}px`, width: `${width}px`, height: `${height}px` });
  };

  function build(kind, number, caption, upperBound, font) {
    let element;
    switch (kind) {
      case 'frame':
        element = document.createElement('div');
        element.append(Object.assign(document.createElement('span'), { textContent: caption }));
        break;
      case 'label':
        element = Object.assign(document.createElement('div'), { textContent: caption });
        if (number === RESULT_LINES[0]) element.setAttribute('aria-live', 'polite');  // the progress or the error
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

  // The controls, in the design's creation order, which is also the order
  // of the keyboard focus.
  for (let i = 0; i < core._controlCount(); ++i) {
    const value = (which) => core._controlValue(i, which);
    const kind = KINDS[value(0)];
    const [number, x, y, width, height] = [1, 2, 3, 4, 5].map(value);
    const element = build(kind, number, text(core._controlText(i)), value(6), FONTS[value(7)]);
    const colour = value(8);
    if (colour >= 0) element.style.color = `#${colour.toString(16).padStart(6, '0')}`;
    if (kind === 'frame') {
      place(element, x, y + FRAME_CAPTION_HALF, width, height - FRAME_CAPTION_HALF);
    } else if (kind === 'list') {
      place(element, x, y, width, 24);  // closed, one line high; the design's height is the dropped list's
    } else {
      place(element, x, y, width, height);
    }
    form.append(element);
    controls.set(number, element);
  }

  const rarityList = control(4000);
  const nameList = control(4001);
  const fields = [2000, 2001, 2002, 2003, 2004].map(control);
  const [battleField, hpField] = fields;

  const fieldNumber = (field, maxChars) => core._fieldNumber(putInput(field.value.slice(0, maxChars)));
  const integerText = (value) => text(core._integerText(value));
  const setLine = (number, line) => { control(number).textContent = line; };

  // Show rarity: its characters in roster order, the first one chosen.
  function showRarity(rarity) {
    // All the names at once: one call and one decoding for thousands of them.
    const names = text(core._characterNamesText(rarity)).split('\n');
    names.pop();  // after the last line feed
    nameList.replaceChildren(...names.map((name) => {
      const option = document.createElement('option');
      option.textContent = name;
      return option;
    }));
    nameList.selectedIndex = names.length > 0 ? 0 : -1;  // the page's own choice raises no change
    showCharacter();
  }

  // Show character: its base stats, and in the four stat fields while the
  // battle field reads 0.
  function showCharacter() {
    const rarity = rarityList.selectedIndex;
    const index = nameList.selectedIndex;
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
    const failed = core._calculate(rarityList.selectedIndex, nameList.selectedIndex, ...numbers);
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
    // Only digits from the keyboard, as in the Windows number fields.
    field.addEventListener('beforeinput', (event) => {
      if (event.inputType === 'insertText' && /\D/.test(event.data || '')) event.preventDefault();
    });
  });

  // The data: the sample built in, or the user's own chardata.txt.
  const failure = document.getElementById('failure');
  function showFailure() {
    document.getElementById('failure-caption').textContent = text(core._openFailedCaptionText());
    document.getElementById('failure-text').textContent = text(core._openFailedTextText());
    failure.showModal();
  }

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
  function showRosterInUse(name, keeping, kept) {
    rosterInUse.textContent = name === null ? 'データ: サンプル（ファイルをここへドロップしても開けます）'
                                            : `データ: ${name}（${KEEPING[keeping](kept)}）`;
    rosterInUse.title = rosterInUse.textContent;
    rosterInUse.dataset.roster = name === null ? 'sample' : 'file';
    rosterInUse.dataset.keeping = keeping || '';
    useSample.hidden = name === null;
  }

  // Reads a file into the roster. Resolves to 'read', 'failed' or
  // 'superseded' (another file or the sample took its place); a file that
  // fails leaves the roster, and the kept file, as they were.
  async function readRoster(file) {
    dataFile.useBrowserCp932Table(core, shiftJis);
    const outcome = await dataFile.read(core, file, (fraction) => {
      readingProgress.hidden = false;
      readingProgress.value = fraction;
    });
    readingProgress.hidden = true;
    if (outcome === 'failed') showFailure();
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

  // The form and the chart, scaled together to fit the viewport, centred:
  // the chart beside the form on a landscape screen, below it on a portrait
  // one, at least CHART_LEAST in size and taking the room that is left. The
  // form keeps its 700 x 600 design. Below a narrow form the chart is drawn
  // magnified, as if CHART_PORTRAIT_WIDTH wide, so that its texts read as
  // well as the form's.
  const FORM_SIZE = [700, 600];
  const CHART_LEAST = { landscape: [340, 600], portrait: [700, 280] };
  const CHART_PORTRAIT_WIDTH = 400;
  const app = document.getElementById('app');
  app.style.setProperty('--result-line', `#${core._resultLineColour().toString(16).padStart(6, '0')}`);
  growthChart.mount(document.getElementById('growth-chart'));
  function fit() {
    const orientation = innerWidth >= innerHeight ? 'landscape' : 'portrait';
    const [leastWidth, leastHeight] = CHART_LEAST[orientation];
    const landscape = orientation === 'landscape';
    const [width, height] = landscape ? [FORM_SIZE[0] + leastWidth, FORM_SIZE[1]] : [FORM_SIZE[0], FORM_SIZE[1] + leastHeight];
    const scale = Math.min(innerWidth / width, innerHeight / height);
    const chartWidth = landscape ? Math.floor(innerWidth / scale - FORM_SIZE[0]) : FORM_SIZE[0];
    const chartHeight = landscape ? FORM_SIZE[1] : Math.floor(innerHeight / scale - FORM_SIZE[1]);
    app.className = orientation;
    app.style.transform = `scale(${scale})`;
    app.style.left = `${Math.max(0, (innerWidth - (landscape ? FORM_SIZE[0] + chartWidth : FORM_SIZE[0]) * scale) / 2)}px`;
    growthChart.resize(chartWidth, chartHeight, landscape ? chartWidth : CHART_PORTRAIT_WIDTH);
  }
  addEventListener('resize', fit);
  fit();

  useSample.addEventListener('click', async () => {
    dataFile.cancel();
    await keptRoster.forget();
    core._useSampleData();
    showRarity(rarityList.selectedIndex);
    showRosterInUse(null);
  });

  // Start-up: the roster kept from the last visit, or the sample; the
  // rarity list on 戦士, its first character.
  for (let code = 0; code < core._rarityCount(); ++code) rarityList.append(new Option(text(core._rarityNameText(code))));
  rarityList.selectedIndex = core._startRarity();
  const kept = await keptRoster.get();
  const outcome = kept ? await readRoster(kept.file) : 'none';
  if (outcome === 'read') {
    showRosterInUse(kept.name, 'kept', kept);
  } else if (outcome !== 'superseded') {  // else a file opened meanwhile is shown
    core._useSampleData();
    showRarity(rarityList.selectedIndex);
    showRosterInUse(null);
  }
  document.body.dataset.readyAt = performance.now().toFixed(1);  // since the navigation began
  document.body.dataset.wasmBytes = String(core.HEAPU8.buffer.byteLength);  // the WebAssembly memory's size
  document.body.dataset.ready = 'true';
})();
