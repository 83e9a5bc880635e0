// The page's one IndexedDB database, on this device only: the roster file
// kept for the next visit ('roster'), and the notebook's checks, all of a
// character's in one record ('histories') and its latest in another
// ('characters'), both under the character's key (check_record.js).
'use strict';

const pageDatabase = (() => {
  const NAME = 'growth-check';
  // The database's own version, which names its stores (the records in them
  // carry theirs, check_record.js): 1 held the roster alone.
  const DATABASE_VERSION = 2;

  function open() {
    return new Promise((resolve, reject) => {
      const request = indexedDB.open(NAME, DATABASE_VERSION);
      request.onupgradeneeded = () => {
        const database = request.result;
        if (!database.objectStoreNames.contains('roster')) database.createObjectStore('roster');
        for (const store of ['histories', 'characters']) {
          if (!database.objectStoreNames.contains(store)) database.createObjectStore(store, { keyPath: 'character' });
        }
      };
      request.onsuccess = () => resolve(request.result);
      request.onerror = () => reject(request.error);
    });
  }

  // Runs `work(stores)` in one transaction over the named stores, and
  // resolves to what it returns once the transaction has committed. A
  // transaction that fails (a full disk, say) changes nothing, and rejects
  // with its error.
  async function transact(names, mode, work) {
    const database = await open();
    try {
      return await new Promise((resolve, reject) => {
        const transaction = database.transaction(names, mode);
        const stores = Object.fromEntries(names.map((name) => [name, transaction.objectStore(name)]));
        let result;
        transaction.oncomplete = () => resolve(result);
        transaction.onerror = transaction.onabort = () => reject(transaction.error || new DOMException('aborted', 'AbortError'));
        Promise.resolve().then(() => work(stores)).then((value) => { result = value; }, (error) => {
          try { transaction.abort(); } catch { /* already ended */ }
          reject(error);
        });
      });
    } finally {
      database.close();
    }
  }

  // One request's result, as a promise within a transaction.
  const result = (request) => new Promise((resolve, reject) => {
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });

  // Asks the browser, once, to keep the page's data for good rather than
  // as it pleases: when the first thing worth keeping has been kept.
  let persistenceAsked = false;
  function askToPersist() {
    if (persistenceAsked || !navigator.storage || !navigator.storage.persist) return;
    persistenceAsked = true;
    navigator.storage.persist().catch(() => {});
  }

  return { transact, result, askToPersist };
})();
