// The notebook as CSV (RFC 4180), for a spreadsheet and for another
// device: written as UTF-8 with a byte order mark, a header row, one check
// a row, its time in local time as a spreadsheet reads a date and time,
// and the figures as the result lines print them. Read back as a
// spreadsheet may save it again: UTF-8 (with a mark or without), CP932
// (Shift_JIS) or UTF-16, separated by commas or tabs, every field quoted or
// none, and its times rewritten. Only the when, the roster, the character,
// the five numbers and the unit (個体, the last column; an export made
// before units has none, and reads as unit 1) are read: the figures are the
// core's to compute again. A row that does not read is reported by its line
// in the file.
'use strict';

const checksCsv = (() => {
  const { FIGURES } = checkRecord, { NAMES } = statNames;
  const UNIT = '個体';
  const HEADINGS = ['日時', 'データ', 'レアリティ', '名前', ...NAMES.map((name) => `基本${name}`),
                    '戦歴', ...NAMES, ...FIGURES.map(({ heading }) => heading), UNIT];
  const READ_COLUMNS = 13;  // the when, the roster, the character, its base stats and the five numbers
  const BYTE_ORDER_MARK = '\uFEFF';
  // A whole number in the 32-bit range, as a spreadsheet may write it (80, 80.0, " 80 ").
  const int32Of = (text) => {
    const number = /^\s*-?\d+(\.0*)?\s*$/.test(text) ? Number(text) : NaN;
    return (number | 0) === number ? number : null;
  };
  // A spreadsheet takes a text that starts with = + - @ (or a tab or CR)
  // for a formula, and one that reads as a number (0012, 1e3, 1,000, " 12")
  // for that number, which loses the name. Such a name is written after a
  // quote mark, which spreadsheets keep and reading takes off again; a name
  // that starts with a quote mark gets one more.
  const FORMULA_START = /^['=+\-@\t\r]/;
  const NUMBER_LIKE = /^[\s0-9０-９.,．，+\-＋－eE%％/:¥$()]*[0-9０-９][\s0-9０-９.,．，+\-＋－eE%％/:¥$()]*$/;
  const needsGuard = (text) => FORMULA_START.test(text) || NUMBER_LIKE.test(text);
  const guarded = (text) => (needsGuard(text) ? `'${text}` : text);
  const unguarded = (text) => (text.startsWith("'") && needsGuard(text.slice(1)) ? text.slice(1) : text);
  const quoted = (field) => (/[",\r\n]/.test(field) ? `"${field.replaceAll('"', '""')}"` : field);

  // The CSV text of `checks`; `rarityNames` by code.
  function write(checks, rarityNames) {
    const rows = [HEADINGS.join(',')];
    for (const kept of checks) {
      rows.push([localTime.iso(kept.at), guarded(kept.roster), rarityNames[kept.rarity], guarded(kept.name),
                 ...kept.base, ...kept.typed, ...FIGURES.map(({ name }) => kept.figures[name]), kept.unit].map((field) => quoted(String(field))).join(','));
    }
    return `${BYTE_ORDER_MARK}${rows.join('\r\n')}\r\n`;
  }

  // The text of a file's bytes: UTF-16 by its mark, else UTF-8 (with a
  // mark or valid without one), else CP932, as the data file's reader decides.
  function decode(bytes) {
    const [first, second, third] = bytes;
    if (first === 0xff && second === 0xfe) return new TextDecoder('utf-16le').decode(bytes);
    if (first === 0xfe && second === 0xff) return new TextDecoder('utf-16be').decode(bytes);
    if (first === 0xef && second === 0xbb && third === 0xbf) return new TextDecoder('utf-8').decode(bytes);
    try {
      return new TextDecoder('utf-8', { fatal: true }).decode(bytes);
    } catch {
      return new TextDecoder('shift_jis').decode(bytes);
    }
  }

  // The time of a check as written: ISO as exported (or any form with its
  // offset), or a spreadsheet's local date and time, with or without seconds:
  // 2026/12/9 17:59, 2026/12/09 17:59:54, 2026-12-09 17:59:54. NaN for none.
  function timeOf(text) {
    const local = /^\s*(\d{4})[/-](\d{1,2})[/-](\d{1,2})[ T](\d{1,2}):(\d{2})(?::(\d{2})(?:\.(\d{1,3})\d*)?)?\s*$/.exec(text);
    if (!local) return /^\s*\d{4}-\d\d-\d\dT/.test(text) ? Date.parse(text) : NaN;
    const [year, month, day, hour, minute, second = 0, fraction = '0'] = local.slice(1);
    const date = new Date(year, month - 1, day, hour, minute, second, Number(fraction.padEnd(3, '0')));
    return date.getDate() === Number(day) && date.getHours() === Number(hour) ? date.getTime() : NaN;
  }

  // The records of a CSV text, each with the line of the file it starts on;
  // fields end at `separator` (a comma, or a tab).
  function* records(text, separator) {
    const fieldEnd = new RegExp(`[${separator}\\r\\n]`, 'g');
    let at = text.startsWith(BYTE_ORDER_MARK) ? 1 : 0;
    let line = 1;
    while (at < text.length) {
      const start = line;
      const fields = [];
      for (;;) {
        let field = '';
        if (text[at] === '"') {  // quoted: up to the lone quote mark that closes it
          for (++at; at < text.length; ++at) {
            if (text[at] === '"' && text[++at] !== '"') break;
            if (text[at] === '\n') ++line;
            field += text[at];
          }
        }
        fieldEnd.lastIndex = at;
        const end = fieldEnd.exec(text) ? fieldEnd.lastIndex - 1 : text.length;
        fields.push(field + text.slice(at, end));
        at = end;
        if (text[at] !== separator) break;
        ++at;
      }
      if (text[at] === '\r') ++at;
      if (text[at] === '\n') {
        ++at;
        ++line;
      }
      if (fields.length > 1 || fields[0] !== '') yield { line: start, fields };  // a blank line holds no check
    }
  }

  // Reads an export, or a spreadsheet's copy of one: { rows, errors }, or
  // null when `text` is no export (its first row is not the header). Each
  // row is { line, at, roster, rarity, name, base, typed, unit }, and each error
  // { line, heading }: the heading of the field that does not read, null
  // for a row too short.
  function read(text, rarityNames) {
    const firstLine = text.slice(0, text.search(/[\r\n]|$/));
    const separator = firstLine.includes('\t') && !firstLine.includes(',') ? '\t' : ',';
    const lines = records(text, separator);
    const header = lines.next();
    if (header.done || header.value.fields.slice(0, READ_COLUMNS).join('\n') !== HEADINGS.slice(0, READ_COLUMNS).join('\n')) return null;
    const unitColumn = header.value.fields.map((field) => field.trim()).indexOf(UNIT);
    const rows = [];
    const errors = [];
    for (const { line, fields } of lines) {
      const fault = (heading) => errors.push({ line, heading });
      if (fields.length < READ_COLUMNS) {
        fault(null);
        continue;
      }
      const [when, roster, rarityName, name] = fields;
      const numbers = fields.slice(4, READ_COLUMNS).map(int32Of);
      const at = timeOf(when);
      const rarity = rarityNames.indexOf(rarityName.trim());
      const badNumber = numbers.indexOf(null);
      const unit = unitColumn < 0 ? 1 : int32Of(fields[unitColumn] ?? '');
      if (!Number.isFinite(at)) fault(HEADINGS[0]);
      else if (rarity < 0) fault(HEADINGS[2]);
      else if (name === '') fault(HEADINGS[3]);
      else if (badNumber >= 0) fault(HEADINGS[4 + badNumber]);
      else if (!(unit >= 1)) fault(UNIT);
      else rows.push({ line, at, roster: unguarded(roster), rarity, name: unguarded(name), base: numbers.slice(0, 4), typed: numbers.slice(4), unit });
    }
    return { rows, errors };
  }

  return { write, read, decode };
})();
