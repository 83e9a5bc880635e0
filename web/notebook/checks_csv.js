// The notebook as CSV (RFC 4180), for another device or a spreadsheet:
// UTF-8 with a byte order mark, a header row, one check a row, and the
// figures as the result lines print them. Reading checks each row and
// reports the ones that do not read by their line in the file.
'use strict';

const checksCsv = (() => {
  const { FIGURES, VERSION, characterKey } = check, { NAMES } = stats;
  const HEADINGS = ['日時', 'データ', 'レアリティ', '名前', ...NAMES.map((name) => `基本${name}`),
                    '戦歴', ...NAMES, ...FIGURES.map(({ heading }) => heading)];
  const BYTE_ORDER_MARK = '\uFEFF';
  // How each figure prints: "%d", "%.2f" or "%.1f".
  const FIGURE_FORMS = FIGURES.map(({ digits }) => new RegExp(digits === 0 ? '^-?\\d+$' : `^-?\\d+\\.\\d{${digits}}$`));
  const isInt32 = (text) => /^-?\d+$/.test(text) && (Number(text) | 0) === Number(text);

  // A spreadsheet takes a text that starts with = + - @ (or a tab or CR) for
  // a formula: such a name is written after a quote mark, which reading
  // takes off again. A name that starts with a quote mark gets one more.
  const FORMULA_START = /^['=+\-@\t\r]/;
  const guarded = (text) => (FORMULA_START.test(text) ? `'${text}` : text);
  const unguarded = (text) => (/^'['=+\-@\t\r]/.test(text) ? text.slice(1) : text);
  const quoted = (field) => (/[",\r\n]/.test(field) ? `"${field.replaceAll('"', '""')}"` : field);

  // The CSV text of `checks`; `rarityNames` by code.
  function write(checks, rarityNames) {
    const rows = [HEADINGS.join(',')];
    for (const kept of checks) {
      rows.push([new Date(kept.at).toISOString(), guarded(kept.roster), rarityNames[kept.rarity], guarded(kept.name),
                 ...kept.base, ...kept.typed, ...FIGURES.map(({ name }) => kept.figures[name])].map((field) => quoted(String(field))).join(','));
    }
    return `${BYTE_ORDER_MARK}${rows.join('\r\n')}\r\n`;
  }

  // The records of a CSV text, each with the line of the file it starts on.
  function* records(text) {
    const fieldEnd = /[,\r\n]/g;
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
        if (text[at] !== ',') break;
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

  // Reads an export: { checks, errors: [{ line, heading, text }] }, or null
  // when `text` is no export (its first row is not the header).
  function read(text, rarityNames) {
    const rows = records(text);
    const header = rows.next();
    if (header.done || header.value.fields.join(',') !== HEADINGS.join(',')) return null;
    const checks = [];
    const errors = [];
    for (const { line, fields } of rows) {
      const fault = (heading) => errors.push({ line, heading });
      if (fields.length !== HEADINGS.length) {
        fault(null);
        continue;
      }
      const [when, roster, rarityName, name] = fields;
      const numbers = fields.slice(4, 13);
      const figures = fields.slice(13);
      const at = Date.parse(when);
      const rarity = rarityNames.indexOf(rarityName);
      const battles = Number(numbers[4]);
      const badNumber = numbers.findIndex((n) => !isInt32(n));
      const badFigure = figures.findIndex((figure, i) => (FIGURES[i].predicted && battles === 0 ? figure !== ''
                                                                                                 : !FIGURE_FORMS[i].test(figure)));
      if (!Number.isFinite(at)) fault(HEADINGS[0]);
      else if (rarity < 0) fault(HEADINGS[2]);
      else if (name === '') fault(HEADINGS[3]);
      else if (badNumber >= 0) fault(HEADINGS[4 + badNumber]);
      else if (badFigure >= 0) fault(HEADINGS[13 + badFigure]);
      else {
        const read = { at, roster: unguarded(roster), rarity, name: unguarded(name), base: numbers.slice(0, 4).map(Number),
                       typed: numbers.slice(4).map(Number),
                       figures: Object.fromEntries(FIGURES.map(({ name: figure }, i) => [figure, figures[i]])) };
        checks.push({ version: VERSION, character: characterKey(read), ...read });
      }
    }
    return { checks, errors };
  }

  return { write, read };
})();
