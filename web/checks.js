// Every good check, kept in this browser (database.js). A character is its
// rarity, name and four base stats; each has one record of all its checks
// ('histories'), and one of its latest check ('characters'), which the
// notebook lists. So keeping a check, opening the notebook or reading one
// history reads and writes one or a few records, however many are kept.
// A check, as the notebook and the CSV see it:
//   { character, at, roster, rarity, name, base: [4 numbers], typed: [5 numbers], figures: [23 texts] }
// where `figures` are the core's figures of its lines (growth_web.cpp,
// checkFiguresText), FIGURES below.
'use strict';

const keptChecks = (() => {
  const { transact, result } = pageDatabase;
  const STORES = ['histories', 'characters'];

  // The figures of a check, in the core's order, by name.
  const STATS = ['hp', 'attack', 'defence', 'speed'];
  const FIGURES = ['progress', 'scale', ...STATS.flatMap((s) => [`${s}Gain`, `${s}Percent`]),
                   ...STATS.flatMap((s) => [`${s}Predicted`, `${s}PredictedGain`, `${s}PredictedPercent`]), 'sum'];
  const FIGURE = Object.fromEntries(FIGURES.map((name, i) => [name, i]));

  // A character's key: its rarity, name and base stats (a name holds no tab).
  const characterKey = ({ rarity, name, base }) => [rarity, name, ...base].join('\t');
  const sameNumbers = (a, b) => a.length === b.length && a.every((n, i) => n === b[i]);

  // A history holds its character once and its checks, oldest first, without it.
  const historyOf = ({ character, rarity, name, base }) => ({ character, rarity, name, base, checks: [] });
  const ownPart = ({ at, roster, typed, figures }) => ({ at, roster, typed, figures });
  const checksIn = ({ character, rarity, name, base, checks }) =>
    checks.map((check) => ({ character, rarity, name, base, ...check }));

  // Writes a history back, and its latest check as its character's row;
  // a history with no check left is deleted with its row.
  function putHistory(histories, characters, history) {
    if (history.checks.length === 0) {
      histories.delete(history.character);
      characters.delete(history.character);
      return;
    }
    histories.put(history);
    characters.put(checksIn({ ...history, checks: history.checks.slice(-1) })[0]);
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
      const made = { character: characterKey(check), ...check };
      return transact(STORES, 'readwrite', async ({ histories, characters }) => {
        const history = await result(histories.get(made.character)) || historyOf(made);
        const latest = history.checks.at(-1);
        if (latest && sameNumbers(latest.typed, made.typed)) return 'repeat';
        history.checks.push(ownPart(made));
        putHistory(histories, characters, history);
        return 'kept';
      });
    },

    // Each character's latest check.
    latest: () => transact(['characters'], 'readonly', ({ characters }) => result(characters.getAll())),
    // A character's checks, oldest first.
    history: (key) => transact(['histories'], 'readonly', async ({ histories }) => {
      const history = await result(histories.get(key));
      return history ? checksIn(history) : [];
    }),
    // Every check.
    all: () => transact(['histories'], 'readonly', async ({ histories }) => (await result(histories.getAll())).flatMap(checksIn)),

    deleteCheck: (key, at) => transact(STORES, 'readwrite', async ({ histories, characters }) => {
      const history = await result(histories.get(key));
      if (!history) return;
      history.checks = history.checks.filter((check) => check.at !== at);
      putHistory(histories, characters, history);
    }),
    deleteCharacter: (key) => transact(STORES, 'readwrite', ({ histories, characters }) => {
      histories.delete(key);
      characters.delete(key);
    }),
    clear: () => transact(STORES, 'readwrite', ({ histories, characters }) => {
      histories.clear();
      characters.clear();
    }),

    // Adds checks read from an export; one already kept (the same character
    // at the same time) is kept once.
    merge: (checks) => transact(STORES, 'readwrite', async ({ histories, characters }) => {
      const added = new Map();
      for (const check of checks) {
        if (!added.has(check.character)) added.set(check.character, []);
        added.get(check.character).push(check);
      }
      const kept = await Promise.all([...added.keys()].map((key) => result(histories.get(key))));
      [...added.values()].forEach((more, i) => {
        const history = kept[i] || historyOf(more[0]);
        const byTime = new Map(history.checks.map((check) => [check.at, check]));
        for (const check of more) byTime.set(check.at, ownPart(check));
        history.checks = [...byTime.values()].sort((a, b) => a.at - b.at);
        putHistory(histories, characters, history);
      });
    }),
  };
})();
