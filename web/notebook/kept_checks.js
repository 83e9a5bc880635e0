// Every good check, kept in this browser (page_database.js). A character is
// its rarity, name and four base stats; each has one record of all its
// checks ('histories'), and one of its rows ('characters'), one row for
// each of its units (個体, unit_rules.js): the unit's check with the most
// battles, which the notebook lists. So keeping a check, opening the
// notebook or reading one history reads and writes one or a few records,
// however many are kept. Records carry their version: each is kept through
// checkRecord.stored() and read back through checkRecord.restore().
'use strict';

const keptChecks = (() => {
  const { transact, result } = pageDatabase, { RECORD_VERSION, restore, stored } = checkRecord;
  const STORES = ['histories', 'characters'];

  // A history holds its character once and its checks, oldest first, without it.
  const emptyHistory = ({ character, rarity, name, base }) => ({ version: RECORD_VERSION, character, rarity, name, base, checks: [] });
  const ownPart = ({ at, roster, unit, typed, figures }) => ({ at, roster, unit, typed, figures });
  const withCharacter = ({ character, rarity, name, base }) => (kept) =>
    ({ version: RECORD_VERSION, character, rarity, name, base, ...kept });
  const checksIn = (history) => history.checks.map(withCharacter(history));
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

  // A character's rows: each unit's check with the most battles.
  const rowsOf = (history) => {
    const { character, rarity, name, base } = history;
    return { version: RECORD_VERSION, character, rarity, name, base, rows: unitRules.rows(history.checks).map(ownRow) };
  };
  const ownRow = (row) => ({ ...ownPart(row), units: row.units });

  // Writes a history back, and its rows; a history with no check left is
  // deleted with its rows.
  function putHistory(histories, characters, history) {
    if (history.checks.length === 0) {
      histories.delete(history.character);
      characters.delete(history.character);
      return;
    }
    histories.put(stored(history));
    characters.put(stored(rowsOf(history)));
  }

  // Rows kept by a page before units (one row, the latest check, of a
  // character's one unit) made again from their histories, once.
  async function rowsFromOlder(keys) {
    if (keys.length === 0) return [];
    return transact(STORES, 'readwrite', async ({ histories, characters }) => {
      const made = [];
      for (const history of await Promise.all(keys.map((key) => historyIn(histories, key)))) {
        if (!history) continue;
        putHistory(histories, characters, history);
        made.push(stored(rowsOf(history)));
      }
      return made;
    });
  }

  // The checks of a history that another tab may have changed, found by when they were made.
  const holds = (history, at) => history && history.checks.some((kept) => kept.at === at);
  // Deletes a character's checks that `which` picks; resolves to them, or
  // to GONE where there were none (another tab deleted them first).
  const deleteWhere = (key, which) => transact(STORES, 'readwrite', async ({ histories, characters }) => {
    const history = await historyIn(histories, key);
    const deleted = history ? checksIn(history).filter(which) : [];
    if (deleted.length === 0) return GONE;
    history.checks = history.checks.filter((kept) => !which(kept));
    putHistory(histories, characters, history);
    return deleted;
  });

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

    // Keeps a check made now in the unit it can follow (of several, the
    // one last checked), or with `newUnit` in a new unit of its character.
    // Resolves to { outcome, unit, units, checks }: 'kept', with the unit's
    // checks in the order they were made and how many units its character
    // has; 'repeat' when it has the same five numbers as its unit's latest
    // check, which is not kept twice; or 'cannot-follow', keeping nothing,
    // with { conflict } of the unit last checked. Rejects, changing nothing, where the browser keeps nothing or
    // has no room (a QuotaExceededError).
    async keep(made, { newUnit = false } = {}) {
      const kept = await transact(STORES, 'readwrite', async ({ histories, characters }) => {
        const history = await historyIn(histories, made.character) || emptyHistory(made);
        const placed = newUnit ? { unit: unitRules.nextUnit(history.checks) } : unitRules.unitFor(history.checks, made);
        if (placed.conflict) return { outcome: 'cannot-follow', ...placed };
        const settled = (outcome) => ({ outcome, unit: placed.unit, units: new Set(history.checks.map((check) => check.unit)).size,
                                        checks: checksIn(history).filter((check) => check.unit === placed.unit) });
        const latest = settled('repeat').checks.at(-1);
        if (latest && checkRecord.sameNumbers(latest.typed, made.typed)) return settled('repeat');
        history.checks.push(ownPart({ ...made, unit: placed.unit }));
        putHistory(histories, characters, history);
        return settled('kept');
      });
      if (kept.outcome === 'kept') {
        const record = exportRecord();
        keepExportRecord({ ...record, keptSince: record.keptSince + 1 });
        told('kept', made.character);
      }
      return kept;
    },

    // Each unit's row: { records, unread }, where `unread` holds the errors
    // of the records that could not be read. Each row is the unit's check
    // with the most battles, with its character and { unit, units }.
    async latest() {
      const kept = await transact(['characters'], 'readonly', async ({ characters }) => result(characters.getAll()));
      const beforeUnits = (record) => (record.version ?? 1) < 3;
      const { records, unread } = restoreEach(kept.filter((record) => !beforeUnits(record)));
      const remade = (await rowsFromOlder(kept.filter(beforeUnits).map((record) => record.character))).map(restore);
      return { records: [...records, ...remade].flatMap((record) => record.rows.map(withCharacter(record))), unread };
    },
    // A character's checks, oldest first; none where it has none (left).
    history: (key) => transact(['histories'], 'readonly', async ({ histories }) => {
      const history = await historyIn(histories, key);
      return history ? checksIn(history) : [];
    }),
    // Every check.
    all: () => transact(['histories'], 'readonly', async ({ histories }) => (await result(histories.getAll())).map(restore).flatMap(checksIn)),

    // Moves a check that cannot follow its unit to a new unit of its
    // character; GONE where another tab deleted it.
    moveToNewUnit: (key, at) => changed('moved')(transact(STORES, 'readwrite', async ({ histories, characters }) => {
      const history = await historyIn(histories, key);
      if (!holds(history, at)) return GONE;
      const unit = unitRules.nextUnit(history.checks);
      history.checks = history.checks.map((kept) => (kept.at === at ? { ...kept, unit } : kept));
      putHistory(histories, characters, history);
      return unit;
    })),

    // Deletions resolve to GONE, changing nothing, where there was nothing
    // left to delete: another tab deleted it first.
    // Otherwise they resolve to the checks deleted, which merge() puts back.
    deleteCheck: (key, at) => changed('deleted')(deleteWhere(key, (kept) => kept.at === at)),
    // A unit's checks, all of them.
    deleteUnit: (key, unit) => changed('deleted')(deleteWhere(key, (kept) => kept.unit === unit)),
    clear: () => changed('cleared')(transact(STORES, 'readwrite', async ({ histories, characters }) => {
      const all = (await result(histories.getAll())).map(restore).flatMap(checksIn);
      histories.clear();
      characters.clear();
      return all;
    })),

    // Adds checks read from an export, all of them or, where the browser
    // cannot finish (no room), none. A check already kept (its character's,
    // with the same five numbers in the same minute) is kept once; one that
    // corrects a kept check takes its place (checkRecord.merged). Resolves
    // to how many were { added, corrected }.
    merge: (checks) => changed('imported')(transact(STORES, 'readwrite', async ({ histories, characters }) => {
      const added = new Map();
      for (const imported of checks) {
        if (!added.has(imported.character)) added.set(imported.character, []);
        added.get(imported.character).push(imported);
      }
      const kept = await Promise.all([...added.keys()].map((key) => historyIn(histories, key)));
      const count = { added: 0, corrected: 0 };
      [...added.values()].forEach((more, i) => {
        const history = kept[i] || emptyHistory(more[0]);
        const joined = checkRecord.merged(history.checks, more.map(ownPart));
        if (joined.added === 0 && joined.corrected === 0) return;
        history.checks = joined.checks;
        count.added += joined.added;
        count.corrected += joined.corrected;
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
