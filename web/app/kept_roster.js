// The data file the player last opened, kept in this browser so that the
// next visit starts with it, as the Windows program starts with the file in
// its folder. The page's database (page_database.js) holds the File itself, with
// its name, when it was opened and the characters the player added to it,
// under one key, and the characters added to the sample under another;
// nothing leaves the device.
'use strict';

const keptRoster = (() => {
  const STORE = 'roster';
  const KEY = 'last';
  const SAMPLE_ADDED = 'sample-added';
  const LARGEST_KEPT = 16 * 1024 * 1024;  // a real roster is far smaller

  const transact = (mode, makeRequest) =>
    pageDatabase.transact([STORE], mode, (stores) => pageDatabase.result(makeRequest(stores[STORE])));

  return {
    // The kept file as { file, name, openedAt, added: [{ rarity, name, base }] },
    // or undefined: none kept, or the browser keeps nothing for this page.
    async get() {
      try {
        const kept = await transact('readonly', (store) => store.get(KEY));
        return kept && kept.file instanceof Blob ? { added: [], ...kept } : undefined;
      } catch {
        return undefined;
      }
    },
    // Keeps `file` in place of the last one: 'kept', 'too-large' (read but
    // not kept) or 'refused' (a private window, a full quota).
    async keep(file) {
      if (file.size > LARGEST_KEPT) return 'too-large';
      try {
        await transact('readwrite', (store) => store.put({ file, name: file.name, openedAt: Date.now(), added: [] }, KEY));
      } catch {
        return 'refused';
      }
      pageDatabase.askToPersist();
      return 'kept';
    },
    // Keeps the characters added to the kept file, with it. Rejects where
    // the browser keeps nothing.
    keepAdded: (added) => pageDatabase.transact([STORE], 'readwrite', async (stores) => {
      const kept = await pageDatabase.result(stores[STORE].get(KEY));
      if (kept) stores[STORE].put({ ...kept, added }, KEY);
    }),
    // The characters added to the sample: [{ rarity, name, base }]; none
    // where the browser keeps nothing.
    sampleAdded: () => transact('readonly', (store) => store.get(SAMPLE_ADDED)).then((added) => added || [], () => []),
    keepSampleAdded: (added) => transact('readwrite', (store) => store.put(added, SAMPLE_ADDED)),
    async forget() {
      try {
        await transact('readwrite', (store) => store.delete(KEY));
      } catch {
        // nothing was kept where nothing can be
      }
    },
  };
})();
