// The data file the player last opened, kept in this browser so that the
// next visit starts with it, as the Windows program starts with the file in
// its folder. The page's database (page_database.js) holds the File itself, with
// its name and when it was opened, under one key; nothing leaves the device.
'use strict';

const keptRoster = (() => {
  const STORE = 'roster';
  const KEY = 'last';
  const LARGEST_KEPT = 16 * 1024 * 1024;  // a real roster is far smaller

  const transact = (mode, makeRequest) =>
    pageDatabase.transact([STORE], mode, (stores) => pageDatabase.result(makeRequest(stores[STORE])));

  return {
    // The kept file as { file, name, openedAt }, or undefined: none kept, or
    // the browser keeps nothing for this page.
    async get() {
      try {
        const kept = await transact('readonly', (store) => store.get(KEY));
        return kept && kept.file instanceof Blob ? kept : undefined;
      } catch {
        return undefined;
      }
    },
    // Keeps `file` in place of the last one: 'kept', 'too-large' (read but
    // not kept) or 'refused' (a private window, a full quota).
    async keep(file) {
      if (file.size > LARGEST_KEPT) return 'too-large';
      try {
        await transact('readwrite', (store) => store.put({ file, name: file.name, openedAt: Date.now() }, KEY));
      } catch {
        return 'refused';
      }
      pageDatabase.askToPersist();
      return 'kept';
    },
    async forget() {
      try {
        await transact('readwrite', (store) => store.delete(KEY));
      } catch {
        // nothing was kept where nothing can be
      }
    },
  };
})();
