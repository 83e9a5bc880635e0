// A check as the notebook keeps, exports and imports it, and the rules of
// its identity. A check is
//   { version, character, at, roster, unit, rarity, name, base: [4 numbers],
//     typed: [5 numbers], figures: { name: text } }
// where `figures` are the figures of its result lines as the core prints
// them (FIGURES), `character` its character's key and `unit` the number of
// the character's unit (個体) it belongs to, from 1. Every record read back,
// of any version the page has written, passes restore(): a check, a
// character's history { ..., checks: [own parts] }, or a character's rows
// { ..., rows: [own parts] }, its units' furthest checks.
'use strict';

const checkRecord = (() => {
  const { KEYS, CAPTIONS } = statNames;
  // The version of the records this page writes (the database that holds
  // them has a version of its own, page_database.js).
  const RECORD_VERSION = 3;  // 3 gave each check its unit
  // The error a record of a newer version gives: a newer page wrote it, and
  // only a reload of this one reads it.
  const NEWER_RECORD = 'NewerRecordError';
  const MINUTE_MS = 60 * 1000;

  // The figures by name, in the order an export's columns give them, with
  // each one's heading there and how it prints: "%d", "%.2f" or "%.1f".
  // The prediction's figures are empty for a check at 0 battles.
  const FIGURES = Object.freeze([
    { name: 'progress', heading: '進捗率', digits: 0 },
    { name: 'scale', heading: '目盛', digits: 2 },
    ...KEYS.flatMap((key, stat) => [{ name: `${key}Gain`, heading: `${CAPTIONS[stat]}+`, digits: 0 },
                                    { name: `${key}Percent`, heading: `${CAPTIONS[stat]}％`, digits: 1 }]),
    ...KEYS.flatMap((key, stat) => [
      { name: `${key}Predicted`, heading: `予想${CAPTIONS[stat]}`, digits: 1, predicted: true },
      { name: `${key}PredictedGain`, heading: `予想${CAPTIONS[stat]}+`, digits: 1, predicted: true },
      { name: `${key}PredictedPercent`, heading: `予想${CAPTIONS[stat]}％`, digits: 1, predicted: true }]),
    { name: 'sum', heading: '3値合計', digits: 1, predicted: true },
  ].map(Object.freeze));

  // A kept record holds its figures as a list, the cheapest form for the
  // browser to store and read back, in the order that its version names.
  // A version the page does not know (kept by a newer page) is refused,
  // never read by a guess.
  const FIGURE_ORDERS = {
    1: ['progress', 'scale', 'hpGain', 'hpPercent', 'attackGain', 'attackPercent', 'defenceGain', 'defencePercent',
        'speedGain', 'speedPercent', 'hpPredicted', 'hpPredictedGain', 'hpPredictedPercent', 'attackPredicted',
        'attackPredictedGain', 'attackPredictedPercent', 'defencePredicted', 'defencePredictedGain',
        'defencePredictedPercent', 'speedPredicted', 'speedPredictedGain', 'speedPredictedPercent', 'sum'],
    2: FIGURES.map(({ name }) => name),
    3: FIGURES.map(({ name }) => name),
  };

  // A character's key: its rarity, name and base stats (a name holds no tab).
  const characterKey = ({ rarity, name, base }) => [rarity, name, ...base].join('\t');
  const sameNumbers = (a, b) => a.length === b.length && a.every((n, i) => n === b[i]);

  const newerRecord = (version) => Object.assign(new Error(`a record of version ${version}, kept by a newer page`), { name: NEWER_RECORD });

  // A kept list of figures, by name, as `version` ordered it.
  function figuresOf(list, version) {
    const order = FIGURE_ORDERS[version];
    if (!order) throw newerRecord(version);
    const figures = {};
    order.forEach((name, i) => { figures[name] = list[i] ?? ''; });
    return figures;
  }
  const listOf = (figures) => FIGURE_ORDERS[RECORD_VERSION].map((name) => figures[name]);

  return {
    RECORD_VERSION, NEWER_RECORD, FIGURES, characterKey, sameNumbers,

    // The check made of a report that passed (or of the figures the core
    // gave for an imported row), and what was checked:
    // { at, roster, rarity, name, base, typed }.
    fromReport(report, made) {
      const missing = FIGURES.find(({ name }) => report.figures[name] === undefined);
      if (missing) throw new Error(`the core's report has no figure "${missing.name}"`);
      const figures = Object.fromEntries(FIGURES.map(({ name }) => [name, report.figures[name]]));
      return { version: RECORD_VERSION, character: characterKey(made), ...made, figures };
    },

    // A kept record (a check, or a history with its checks) of any version
    // (none for the first), with its figures by name; and a record as it is
    // kept. A history's checks have the history's version.
    // Before version 3 a character had one unit: each check is in unit 1.
    restore(record) {
      const version = record.version ?? 1;
      if (!FIGURE_ORDERS[version]) throw newerRecord(version);
      const own = (kept) => ({ ...kept, unit: kept.unit ?? 1, figures: figuresOf(kept.figures, version) });
      const restored = { ...record, version: RECORD_VERSION };
      if (record.figures) Object.assign(restored, own(record));
      for (const list of ['checks', 'rows']) if (record[list]) restored[list] = record[list].map(own);
      return restored;
    },
    stored(record) {
      const own = (kept) => ({ ...kept, figures: listOf(kept.figures) });
      const stored = { ...record, version: RECORD_VERSION };
      if (record.figures) stored.figures = listOf(record.figures);
      for (const list of ['checks', 'rows']) if (record[list]) stored[list] = record[list].map(own);
      return stored;
    },

    // A character's checks with `more` of it added, oldest first:
    // { checks, added, corrected }. A check already there (the same five
    // numbers at a time in the same minute, as a spreadsheet that drops the
    // seconds gives it back) is not added again; it is kept as it was. One
    // at the same minute and battles with other stats is that check
    // corrected (in a spreadsheet), and takes its place. Nothing else in
    // `checks` is lost.
    merged(checks, more) {
      const minute = ({ at }) => Math.floor(at / MINUTE_MS);
      const key = (one) => `${minute(one)} ${one.typed.join(' ')}`;
      const place = (one) => `${minute(one)} ${one.typed[0]}`;
      const there = new Set(checks.map(key));
      const corrections = new Map();
      const added = [];
      for (const one of more) {
        if (there.has(key(one))) continue;
        there.add(key(one));
        const corrected = checks.find((kept) => place(kept) === place(one) && !corrections.has(kept));
        if (corrected) corrections.set(corrected, one);
        else added.push(one);
      }
      const kept = checks.map((one) => corrections.get(one) ?? one);
      return { checks: [...kept, ...added].sort((a, b) => a.at - b.at), added: added.length, corrected: corrections.size };
    },
  };
})();
