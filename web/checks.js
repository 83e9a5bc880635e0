// Every good check, kept in this browser (database.js): one record a check,
// under its character and the time it was made, and beside them each
// character's latest check, which the notebook lists. A character is its
// rarity, name and four base stats. A check:
//   { character, at, roster, rarity, name, base: [4 numbers], typed: [5 numbers], figures: [23 texts] }
// where `figures` are the core's figures of its lines (growth_web.cpp,
// checkFiguresText), FIGURES below.
'use strict';

const keptChecks = (() => {
  const { transact, result } = pageDatabase;

  // The figures of a check, in the core's order, by name.
  const STATS = ['hp', 'attack', 'defence', 'speed'];
  const FIGURES = ['progress', 'scale', ...STATS.flatMap((s) => [`${s}Gain`, `${s}Percent`]),
                   ...STATS.flatMap((s) => [`${s}Predicted`, `${s}PredictedGain`, `${s}PredictedPercent`]), 'sum'];
  const FIGURE = Object.fromEntries(FIGURES.map((name, i) => [name, i]));

  // A character's key: its rarity, name and base stats (a name holds no tab).
  const characterKey = ({ rarity, name, base }) => [rarity, name, ...base].join('\t');
  const checksOf = (key) => IDBKeyRange.bound([key, -Infinity], [key, Infinity]);
  const sameNumbers = (a, b) => a.length === b.length && a.every((n, i) => n === b[i]);

  // The latest of a character's checks that are left, as its row, or none.
  async function putLatest(checks, characters, key) {
    const cursor = await result(checks.openCursor(checksOf(key), 'prev'));
    if (cursor) characters.put(cursor.value);
    else characters.delete(key);
  }

  return {
    FIGURES, FIGURE, STATS, characterKey,

    // What the page says when a check could not be kept.
    whyNotKept: (error) => (error && error.name === 'QuotaExceededError'
      ? '空き容量がないため、記録を残せませんでした。これまでの記録はそのままです。'
      : 'このブラウザには記録を残せません（プライベートウィンドウなど）。計算はこれまでどおり使えます。'),

    // Keeps a check made now. Resolves to 'kept', or 'repeat' when it has
    // the same five numbers as its character's latest check, which is not
    // kept twice. Rejects, changing nothing, where the browser keeps nothing
    // or has no room (a QuotaExceededError).
    keep(check) {
      const record = { character: characterKey(check), ...check };
      return transact(['checks', 'characters'], 'readwrite', async ({ checks, characters }) => {
        const latest = await result(characters.get(record.character));
        if (latest && sameNumbers(latest.typed, record.typed)) return 'repeat';
        checks.put(record);
        characters.put(record);
        return 'kept';
      });
    },

    // Each character's latest check.
    latest: () => transact(['characters'], 'readonly', ({ characters }) => result(characters.getAll())),
    // A character's checks, oldest first.
    history: (key) => transact(['checks'], 'readonly', ({ checks }) => result(checks.getAll(checksOf(key)))),
    // Every check, by character.
    all: () => transact(['checks'], 'readonly', ({ checks }) => result(checks.getAll())),

    deleteCheck: (key, at) => transact(['checks', 'characters'], 'readwrite', async ({ checks, characters }) => {
      checks.delete([key, at]);
      await putLatest(checks, characters, key);
    }),
    deleteCharacter: (key) => transact(['checks', 'characters'], 'readwrite', ({ checks, characters }) => {
      checks.delete(checksOf(key));
      characters.delete(key);
    }),
    clear: () => transact(['checks', 'characters'], 'readwrite', ({ checks, characters }) => {
      checks.clear();
      characters.clear();
    }),

    // Adds checks read from an export; one already kept (the same character
    // at the same time) is kept once. Each character's row becomes its latest.
    merge: (records) => transact(['checks', 'characters'], 'readwrite', async ({ checks, characters }) => {
      const latest = new Map();
      for (const record of records) {
        checks.put(record);
        const seen = latest.get(record.character);
        if (!seen || record.at > seen.at) latest.set(record.character, record);
      }
      const rows = await Promise.all([...latest.keys()].map((key) => result(characters.get(key))));
      [...latest.values()].forEach((record, i) => { if (!rows[i] || record.at >= rows[i].at) characters.put(record); });
    }),
  };
})();
