// The bridge to the C++ core (growth_web.cpp, compiled to WebAssembly in
// growth_core.js): the one script that calls the core's functions or
// touches its memory. Everything else reads plain values from here: texts
// decoded, numbers as numbers, and a check's report with its lines and its
// figures by name. Texts cross from the core as CP932 bytes and are shown
// through the browser's Shift_JIS decoder.
'use strict';

const core = (() => {
  const shiftJis = new TextDecoder('shift_jis');
  let wasm = null;  // the compiled core, once start() has resolved

  // A text the core just gave (its length), decoded.
  // A typed view on the core's memory at `at`. The memory may grow during
  // any call into the core, which replaces its buffer: so the buffer is
  // taken only after the call that gave `at`, never before.
  const view = (Type, at, length) => new Type(wasm.HEAPU8.buffer, at, length);
  // The bytes of a text the core just gave, copied out of its memory.
  const bytes = (length) => view(Uint8Array, wasm._textBytes(), length).slice();
  const text = (length) => {
    const at = wasm._textBytes();
    return shiftJis.decode(view(Uint8Array, at, length));
  };
  const fields = (length) => {
    const pieces = text(length).split('\0');
    pieces.pop();  // after the last NUL
    return pieces;
  };

  // A typed text as bytes for the core's atoi-style reading: ASCII as it
  // is, any other character as 0x81, which no number rule takes for white
  // space, a sign or a digit (as no CP932 byte of such a character is).
  const putInput = (typed) => {
    const length = Math.min(typed.length, wasm._inputCapacity());
    const bytes = view(Uint8Array, wasm._inputBuffer(), length);
    for (let i = 0; i < length; ++i) {
      const unit = typed.charCodeAt(i);
      bytes[i] = unit < 0x80 ? unit : 0x81;
    }
    return length;
  };

  const MANY_AT_ONCE = 8192;  // checks computed in one call: a few hundred KB of the core's memory
  const NUMBERS_PER_CHECK = 10;  // its rarity, four base stats and five typed numbers
  const NUMBERS_PER_UNIT_CHECK = 5;  // a unit's check: its battles and four stats
  // The keys of the four stats, in the core's order, as a check's figures are named.
  const statKeys = () => text(wasm._statKeysText()).split('\n');
  let rangeRows = null;  // a range's rows: the stats' keys, then the sum's
  const colourText = (colour) => `#${colour.toString(16).padStart(6, '0')}`;

  // The report of one growth check, from its pairs of a name and a text:
  // { failed, failedInput, lines: [7 texts, top to bottom], log, figures: { name: text },
  //   gainTexts: { stat: text }, predictedGainTexts: { stat: text } }.
  function reportOf(pairs) {
    const named = {};
    for (let i = 0; i + 1 < pairs.length; i += 2) {
      const [group, name] = pairs[i].split('.');
      if (name === undefined) named[group] = pairs[i + 1];
      else (named[group] ??= {})[name] = pairs[i + 1];
    }
    return {
      failed: named.failed === '1',
      failedInput: Number(named.failedInput ?? -1),  // the input a failure is about: 0 battles, 1 HP, ... 4 speed
      lines: Array.from({ length: 7 }, (_, line) => named.line[line]),
      log: named.log,
      figures: named.figure || {},
      gainTexts: named.gainText || {},
      predictedGainTexts: named.predictedGainText || {},
    };
  }

  // Characters of UTF-8 and UTF-16 files become CP932 by the browser's own
  // Shift_JIS table, turned round: each code decoded on its own, the first
  // code of a character kept, as Windows writes it, and the NEC-selected
  // IBM extensions (lead bytes ED and EE) left out, since Windows writes
  // their characters with the IBM codes (FA to FC). The few single bytes
  // that only Windows' table has come from the core. Made once, before the
  // first file is read or character added.
  let cp932TableReady = false;
  function useBrowserCp932Table() {
    if (cp932TableReady) return;
    const codes = [0x80];
    for (let byte = 0xa1; byte <= 0xdf; ++byte) codes.push(byte);  // half-width katakana
    for (let lead = 0x81; lead <= 0xfc; ++lead) {
      if ((lead >= 0xa0 && lead <= 0xdf) || lead === 0xed || lead === 0xee) continue;
      for (let trail = 0x40; trail <= 0xfc; ++trail) if (trail !== 0x7f) codes.push(lead << 8 | trail);
    }
    const bytes = [];
    for (const code of codes) code > 0xff ? bytes.push(code >> 8, code & 0xff, 0x0a) : bytes.push(code, 0x0a);
    const characters = shiftJis.decode(new Uint8Array(bytes)).split('\n');
    const table = view(Uint16Array, wasm._cp932Table(), 0x10000);
    codes.forEach((code, i) => {
      const character = characters[i];
      if (character.length === 1 && character !== '\uFFFD' && table[character.charCodeAt(0)] === 0) {
        table[character.charCodeAt(0)] = code;
      }
    });
    wasm._useCp932Table();
    cp932TableReady = true;
  }

  return {
    // Starts the core: growth_core.js, as Emscripten builds it, loaded
    // before this script. Rejects where it did not load or cannot run.
    async start() {
      wasm = await createGrowthCore();
    },
    // The size of the core's memory, in bytes.
    memoryBytes: () => wasm.HEAPU8.buffer.byteLength,

    // The form design, control by control in creation order: { kind,
    // number, x, y, width, height, upperBound, font, colour (null for the
    // platform's own), text }.
    // (The kinds and fonts are named in their enums' order, formDesign.)
    designedControls: () => Array.from({ length: wasm._controlCount() }, (_, i) => {
      const [kind, number, x, y, width, height, upperBound, font, colour] =
        Array.from({ length: 9 }, (_, which) => wasm._controlValue(i, which));
      return { kind: formDesign.kinds[kind], number, x, y, width, height, upperBound, font: formDesign.fonts[font],
               colour: colour >= 0 ? colourText(colour) : null, text: text(wasm._controlText(i)) };
    }),
    startRarity: () => wasm._startRarity(),
    battleFieldReadChars: () => wasm._battleFieldReadChars(),
    fieldReadChars: () => wasm._fieldReadChars(),
    resultLineColour: () => colourText(wasm._resultLineColour()),
    statKeys,
    rarityNames: () => Array.from({ length: wasm._rarityCount() }, (_, code) => text(wasm._rarityNameText(code))),
    battleLimits: () => Array.from({ length: wasm._rarityCount() }, (_, code) => wasm._battleLimitOf(code)),
    openFailedCaption: () => text(wasm._openFailedCaptionText()),
    // The failure dialog's text for the file the player chose.
    openFailedText: (fileName) => text(wasm._openFailedTextText()).replace('\n', () => fileName),

    // Typed texts, read as the Windows fields read them (no more than
    // `maxChars` characters), and numbers as they print.
    fieldNumber: (typed, maxChars) => wasm._fieldNumber(putInput(typed.slice(0, maxChars))),
    integerText: (value) => text(wasm._integerText(value)),
    hpAfterStep: (hp, sign) => wasm._hpAfterStep(hp, sign),

    // The roster in use: a rarity's names in roster order; a character's
    // base stats as four numbers (null for none) and as label 1004 prints them.
    names(rarity) {
      const names = text(wasm._characterNamesText(rarity)).split('\n');
      names.pop();  // after the last line feed
      return names;
    },
    baseStats(rarity, index) {
      const at = wasm._baseStats(rarity, index);
      return at === 0 ? null : Array.from(view(Int32Array, at, 4));
    },
    baseStatsText: (rarity, index) => text(wasm._baseStatsText(rarity, index)),

    // The growth check of a character of `rarity` with `base` stats, for the
    // five `typed` numbers (battles, HP, attack, defence, speed): its report.
    check: (rarity, base, typed) => reportOf(fields(wasm._checkReport(rarity, ...base, ...typed))),

    // Many checks at once, as an import computes them again: for each
    // { rarity, base, typed }, { failed: false, figures: { name: text } },
    // or { failed: true, message } with the check's own message.
    checkMany(checks) {
      const results = [];
      for (let from = 0; from < checks.length; from += MANY_AT_ONCE) {
        const batch = checks.slice(from, from + MANY_AT_ONCE);
        const numbers = view(Int32Array, wasm._checksInput(batch.length), batch.length * NUMBERS_PER_CHECK);
        batch.forEach(({ rarity, base, typed }, i) => numbers.set([rarity, ...base, ...typed], i * NUMBERS_PER_CHECK));
        const [names, ...lines] = text(wasm._checkMany(batch.length)).split('\n');
        lines.pop();  // after the last line feed
        const order = names.split('\t');
        for (const line of lines) {
          const [failed, ...figures] = line.split('\t');
          if (failed === '1') {
            results.push({ failed: true, message: figures[0] });
          } else {
            const named = {};
            order.forEach((name, i) => { named[name] = figures[i]; });
            results.push({ failed: false, figures: named });
          }
        }
      }
      return results;
    },

    // The 80 % range at the battle limit (or at `battles`) of a unit of a
    // character of `rarity` with `base` stats ([hp, attack, defence,
    // speed]), from its `checks`, oldest first: [{ battles, stats: [4
    // numbers] }]. null, or { level: 0.8, hp: { predicted, low, high },
    // attack, defence, speed, sum }, as numbers: each stat's value, and the
    // three-stat sum of gains as its line prints it.
    predictionRange(rarity, base, checks, battles = -1) {
      const numbers = view(Int32Array, wasm._unitChecksInput(checks.length), checks.length * NUMBERS_PER_UNIT_CHECK);
      checks.forEach((check, i) => numbers.set([check.battles, ...check.stats], i * NUMBERS_PER_UNIT_CHECK));
      const at = wasm._predictionRangeOf(rarity, ...base, checks.length, battles);
      if (at === 0) return null;
      rangeRows ??= [...statKeys(), 'sum'];
      const figures = view(Float64Array, at, 3 * rangeRows.length);
      const range = { level: wasm._predictionRangeLevel() };
      rangeRows.forEach((row, i) => { range[row] = { predicted: figures[3 * i], low: figures[3 * i + 1], high: figures[3 * i + 2] }; });
      return range;
    },
    // A figure as the result lines print it, with `decimals` (1: "%.1f").
    decimalText: (value, decimals = 1) => text(wasm._fixedText(value, decimals)),

    // A data file read into the spare roster, piece by piece; ending it
    // shows that roster if it holds a character, and gives their number.
    pieceBytes: () => wasm._inputCapacity(),
    beginData() {
      useBrowserCp932Table();
      wasm._beginData();
    },
    // Feeds one piece (at most pieceBytes()); true when the text has ended
    // at a 0x1A, so that the rest of the file can go unread.
    feedData(piece) {
      view(Uint8Array, wasm._inputBuffer(), piece.length).set(piece);
      wasm._feedData(piece.length);
      return wasm._dataEnded() === 1;
    },
    endData: () => wasm._endData(),
    // The encoding the roster in use was read in, as DataFileEncoding names it (coreFacts.encodings).
    dataEncoding: () => wasm._dataEncoding(),
    // The sample chardata.txt's own bytes.
    sampleBytes: () => bytes(wasm._sampleDataText()),

    // Characters the player adds to the roster in use, each read from its
    // line of chardata.txt: { problem (AddingProblem's code, 0 for none;
    // coreFacts.addingProblems names them), at, index, duplicate }.
    addCharacter(rarity, name, base) {
      useBrowserCp932Table();
      const units = Math.min(name.length, wasm._inputCapacity() / 2);
      const input = view(Uint8Array, wasm._inputBuffer(), 2 * units);
      for (let i = 0; i < units; ++i) {
        input[2 * i] = name.charCodeAt(i) & 0xff;
        input[2 * i + 1] = name.charCodeAt(i) >> 8;
      }
      const problem = wasm._addCharacter(rarity, units, ...base);
      return { problem, at: wasm._addedAt(), index: wasm._addedIndex(), duplicate: wasm._addedDuplicate() === 1 };
    },
    removeCharacter: (rarity, index) => wasm._removeCharacter(rarity, index),
    // How many characters of `rarity` the roster in use read from its file; those after them were added.
    fileCount: (rarity) => wasm._fileCount(rarity),
    // A character's line of chardata.txt, as CP932 bytes without a line end.
    lineBytes: (rarity, index) => bytes(wasm._characterLineText(rarity, index)),
    abandonData: () => wasm._abandonData(),
    useSampleData: () => wasm._useSampleData(),
  };
})();
