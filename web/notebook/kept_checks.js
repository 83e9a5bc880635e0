// Every good check, kept in this browser (page_database.js). A character is
// its rarity, name and four base stats; each has one record of all its
// checks ('histories'), and one of its latest check ('characters'), which
// the notebook lists. So keeping a check, opening the notebook or reading
// one history reads and writes one or a few records, however many are kept.
// Records carry their version: each is kept through checkRecord.stored()
// and read back through checkRecord.restore().
'use strict';

const keptChecks = (() => {
  const { transact, result } = pageDatabase, { RECORD_VERSION, restore, stored } = checkRecord;
  const STORES = ['histories', 'characters'];

  // A history holds its character once and its checks, oldest first, without it.
  const emptyHistory = ({ character, rarity, name, base }) => ({ version: RECORD_VERSION, character, rarity, name, base, checks: [] });
  const ownPart = ({ at, roster, typed, figures }) => ({ at, roster, typed, figures });
  const checksIn = ({ character, rarity, name, base, checks }) =>
    checks.map((kept) => ({ version: RECORD_VERSION, character, rarity, name, base, ...kept }));
  const historyIn = async (histories, key) => {
    const history = await result(histories.get(key));
    return history && restore(history);
  };
  // Each record restored on its own, so that one that cannot be read (a
  // newer page's) hides none of the others: { records, unread: [errors] }.
  function restoreEach(records) {
    const restored = [];
    const unread = [];
    for (const record of records) {
      try {
        restored.push(restore(record));
      } catch (error) {
        unread.push(error);
      }
    }
    return { records: restored, unread };
  }

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

  // Every other open tab of the page hears of each change as soon as it
  // has been committed: { change: 'kept' | 'deleted' | 'imported' |
  // 'cleared' | 'exported', character }. A browser without the channel
  // (or that keeps nothing) has no other tab to tell.
  const channel = typeof BroadcastChannel === 'function' ? new BroadcastChannel('growth-check-notebook') : null;
  const listeners = [];
  if (channel) channel.onmessage = (event) => listeners.forEach((listener) => listener(event.data));
  const told = (change, character) => {
    if (channel) channel.postMessage({ change, character });
  };
  const changed = (change) => async (work) => {
    const outcome = await work;
    if (outcome !== GONE) told(change);
    return outcome;
  };
  const GONE = 'gone';  // what a deletion finds of a record another tab deleted first

  // When the notebook was last exported and how many checks were kept
  // since: this browser's, in its local storage, as small as a record can be.
  const EXPORTED_KEY = 'growth-check-exported';
  const exportRecord = () => {
    try {
      return { at: null, keptSince: 0, ...JSON.parse(localStorage.getItem(EXPORTED_KEY)) };
    } catch {
      return { at: null, keptSince: 0 };
    }
  };
  const keepExportRecord = (record) => {
    try {
      localStorage.setItem(EXPORTED_KEY, JSON.stringify(record));
    } catch { /* a browser that keeps nothing has nothing to count */ }
  };

  return {
    GONE,

    // Calls `listener(change)` for every change that another tab makes.
    onChange: (listener) => { listeners.push(listener); },

    // Keeps a check made now. Resolves to 'kept', or 'repeat' when it has
    // the same five numbers as its character's latest check, which is not
    // kept twice. Rejects, changing nothing, where the browser keeps nothing
    // or has no room (a QuotaExceededError).
    async keep(made) {
      const outcome = await transact(STORES, 'readwrite', async ({ histories, characters }) => {
        const history = await historyIn(histories, made.character) || emptyHistory(made);
        const latest = history.checks.at(-1);
        if (latest && checkRecord.sameNumbers(latest.typed, made.typed)) return 'repeat';
        history.checks.push(ownPart(made));
        putHistory(histories, characters, history);
        return 'kept';
      });
      if (outcome === 'kept') {
        const record = exportRecord();
        keepExportRecord({ ...record, keptSince: record.keptSince + 1 });
        told('kept', made.character);
      }
      return outcome;
    },

    // Each character's latest check: { records, unread }, where `unread`
    // holds the errors of the records that could not be read.
    latest: () => transact(['characters'], 'readonly', async ({ characters }) => restoreEach(await result(characters.getAll()))),
    // A character's checks, oldest first; none where it has none (left).
    history: (key) => transact(['histories'], 'readonly', async ({ histories }) => {
      const history = await historyIn(histories, key);
      return history ? checksIn(history) : [];
    }),
    // Every check.
    all: () => transact(['histories'], 'readonly', async ({ histories }) => (await result(histories.getAll())).map(restore).flatMap(checksIn)),

    // Deletions resolve to GONE, changing nothing, where there was nothing
    // left to delete: another tab deleted it first.
    deleteCheck: (key, at) => changed('deleted')(transact(STORES, 'readwrite', async ({ histories, characters }) => {
      const history = await historyIn(histories, key);
      if (!history || !history.checks.some((kept) => kept.at === at)) return GONE;
      history.checks = history.checks.filter((kept) => kept.at !== at);
      putHistory(histories, characters, history);
      return 'deleted';
    })),
    deleteCharacter: (key) => changed('deleted')(transact(STORES, 'readwrite', async ({ histories, characters }) => {
      if (await result(histories.count(key)) === 0) return GONE;
      histories.delete(key);
      characters.delete(key);
      return 'deleted';
    })),
    clear: () => changed('cleared')(transact(STORES, 'readwrite', ({ histories, characters }) => {
      histories.clear();
      characters.clear();
    })),

    // Adds checks read from an export, all of them or, where the browser
    // cannot finish (no room), none. A check already kept (its character's,
    // with the same five numbers in the same minute) is kept once.
    // Resolves to how many were added.
    merge: (checks) => changed('imported')(transact(STORES, 'readwrite', async ({ histories, characters }) => {
      const added = new Map();
      for (const imported of checks) {
        if (!added.has(imported.character)) added.set(imported.character, []);
        added.get(imported.character).push(imported);
      }
      const kept = await Promise.all([...added.keys()].map((key) => historyIn(histories, key)));
      let count = 0;
      [...added.values()].forEach((more, i) => {
        const history = kept[i] || emptyHistory(more[0]);
        const joined = checkRecord.merged(history.checks, more.map(ownPart));
        if (joined.added === 0) return;
        history.checks = joined.checks;
        count += joined.added;
        putHistory(histories, characters, history);
      });
      return count;
    })),

    // The last export: { at (null before the first), keptSince }; and an
    // export made now.
    exportRecord,
    exported() {
      keepExportRecord({ at: Date.now(), keptSince: 0 });
      told('exported');
    },
  };
})();
