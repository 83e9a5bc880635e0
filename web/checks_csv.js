// The notebook as CSV (RFC 4180), for another device or a spreadsheet:
// UTF-8 with a byte order mark, a header row, one check a row, and the
// figures as the result lines print them. Reading checks each row and
// reports the ones that do not read by their line in the file.
'use strict';

const checksCsv = (() => {
  const { FIGURES, characterKey } = keptChecks;
  const FIGURE_HEADINGS = ['進捗率', '目盛', 'HP+', 'HP％', '攻+', '攻％', '防+', '防％', '早+', '早％',
                           '予想HP', '予想HP+', '予想HP％', '予想攻', '予想攻+', '予想攻％', '予想防', '予想防+', '予想防％',
                           '予想早', '予想早+', '予想早％', '3値合計'];
  const HEADINGS = ['日時', 'データ', 'レアリティ', '名前', '基本HP', '基本攻撃', '基本防御', '基本素早さ',
                    '戦歴', 'HP', '攻撃', '防御', '素早さ', ...FIGURE_HEADINGS];
  const BYTE_ORDER_MARK = '\uFEFF';
  // How each figure prints: "%d", "%.2f" or "%.1f"; the predicted ones and
  // the sum are empty for a check at 0 battles.
  const FIGURE_FORMS = FIGURES.map((name) => {
    if (name === 'progress' || (name.endsWith('Gain') && !name.includes('Predicted'))) return /^-?\d+$/;
    return name === 'scale' ? /^-?\d+\.\d\d$/ : /^-?\d+\.\d$/;
  });
  const PREDICTED = FIGURES.map((name) => name.includes('Predicted') || name === 'sum');
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
    for (const check of checks) {
      rows.push([new Date(check.at).toISOString(), guarded(check.roster), rarityNames[check.rarity], guarded(check.name),
                 ...check.base, ...check.typed, ...check.figures].map((field) => quoted(String(field))).join(','));
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
      const badFigure = figures.findIndex((figure, i) => (PREDICTED[i] && battles === 0 ? figure !== '' : !FIGURE_FORMS[i].test(figure)));
      if (!Number.isFinite(at)) fault(HEADINGS[0]);
      else if (rarity < 0) fault(HEADINGS[2]);
      else if (name === '') fault(HEADINGS[3]);
      else if (badNumber >= 0) fault(HEADINGS[4 + badNumber]);
      else if (badFigure >= 0) fault(HEADINGS[13 + badFigure]);
      else {
        const check = { at, roster: unguarded(roster), rarity, name: unguarded(name), base: numbers.slice(0, 4).map(Number),
                        typed: numbers.slice(4).map(Number), figures };
        checks.push({ character: characterKey(check), ...check });
      }
    }
    return { checks, errors };
  }

  return { write, read };
})();
