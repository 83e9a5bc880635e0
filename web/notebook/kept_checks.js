// Every good check, kept in this browser (page_database.js). A character is
// its rarity, name and four base stats; each has one record of all its
// checks ('histories'), and one of its latest check ('characters'), which
// the notebook lists. So keeping a check, opening the notebook or reading
// one history reads and writes one or a few records, however many are kept.
// Records carry their version: each is kept through check.stored() and
// read back through check.restore().
'use strict';

const keptChecks = (() => {
  const { transact, result } = pageDatabase, { VERSION, restore, stored, sameNumbers, merged } = check;
  const STORES = ['histories', 'characters'];

  // A history holds its character once and its checks, oldest first, without it.
  const historyOf = ({ character, rarity, name, base }) => ({ version: VERSION, character, rarity, name, base, checks: [] });
  const ownPart = ({ at, roster, typed, figures }) => ({ at, roster, typed, figures });
  const checksIn = ({ character, rarity, name, base, checks }) =>
    checks.map((kept) => ({ version: VERSION, character, rarity, name, base, ...kept }));
  const historyIn = async (histories, key) => {
    const history = await result(histories.get(key));
    return history && restore(history);
  };

  // Writes a history back, and its latest check as its character's row;
  // a history with no check left is deleted with its row.
  function putHistory(histories, characters, history) {
    if (history.checks.length === 0) {
      histories.delete(history.character);
      characters.delete(history.character);
      return;
    }
    histories.put(stored(history));
    characters.put(stored(checksIn({ ...history, checks: history.checks.slice(-1) })[0]));
  }

  return {
    // What the page says when a check could not be kept.
    whyNotKept: (error) => (error && error.name === 'QuotaExceededError'
      ? '空き容量がないため、記録を残せませんでした。これまでの記録はそのままです。'
      : 'このブラウザには記録を残せません（プライベートウィンドウなど）。計算はこれまでどおり使えます。'),

    // Keeps a check made now. Resolves to 'kept', or 'repeat' when it has
    // the same five numbers as its character's latest check, which is not
    // kept twice. Rejects, changing nothing, where the browser keeps nothing
    // or has no room (a QuotaExceededError).
    keep(made) {
      return transact(STORES, 'readwrite', async ({ histories, characters }) => {
        const history = await historyIn(histories, made.character) || historyOf(made);
        const latest = history.checks.at(-1);
        if (latest && sameNumbers(latest.typed, made.typed)) return 'repeat';
        history.checks.push(ownPart(made));
        putHistory(histories, characters, history);
        return 'kept';
      });
    },

    // Each character's latest check.
    latest: () => transact(['characters'], 'readonly', async ({ characters }) => (await result(characters.getAll())).map(restore)),
    // A character's checks, oldest first.
    history: (key) => transact(['histories'], 'readonly', async ({ histories }) => {
      const history = await historyIn(histories, key);
      return history ? checksIn(history) : [];
    }),
    // Every check.
    all: () => transact(['histories'], 'readonly', async ({ histories }) => (await result(histories.getAll())).map(restore).flatMap(checksIn)),

    deleteCheck: (key, at) => transact(STORES, 'readwrite', async ({ histories, characters }) => {
      const history = await historyIn(histories, key);
      if (!history) return;
      history.checks = history.checks.filter((kept) => kept.at !== at);
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
      for (const imported of checks) {
        if (!added.has(imported.character)) added.set(imported.character, []);
        added.get(imported.character).push(imported);
      }
      const kept = await Promise.all([...added.keys()].map((key) => historyIn(histories, key)));
      [...added.values()].forEach((more, i) => {
        const history = kept[i] || historyOf(more[0]);
        history.checks = merged(history.checks, more.map(ownPart));
        putHistory(histories, characters, history);
      });
    }),
  };
})();
