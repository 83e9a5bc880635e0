// What the page's tests and its benchmark read of it, written in one place:
// the body's data attributes. The page says here what happened and when;
// nothing else in it writes them.
'use strict';

const probe = (() => {
  const data = () => document.body.dataset;
  const since = (started) => (performance.now() - started).toFixed(1);
  const counted = (name) => { data()[name] = String(Number(data()[name] || 0) + 1); };

  return {
    // The form is ready to calculate: when, since the navigation began, and
    // the size of the core's memory then.
    ready(memoryBytes) {
      data().readyAt = performance.now().toFixed(1);
      data().wasmBytes = String(memoryBytes);
      data().ready = 'true';
    },
    // The core could not start: the page said so.
    startFailed(error) {
      data().startFailed = (error && error.name) || 'Error';
    },
    // A file chosen at `started` has its names in the list; and drawn, once
    // the browser has laid them out and drawn the next frame.
    fileListed(started) {
      data().listedIn = since(started);
      requestAnimationFrame(() => setTimeout(() => { data().shownIn = since(started); }));
    },
    // A file has been read and taken into use; the core's memory after it.
    fileOpened(memoryBytes) {
      data().wasmBytes = String(memoryBytes);
      counted('loads');
    },
    // A check that passed has been kept, or not, after it was made at `started`.
    checkSettled(started) {
      data().keptIn = since(started);
      counted('keeps');
    },
    exported: (started) => { data().exportedIn = since(started); },
    // An import chosen at `started` is kept; and its rows drawn, once the
    // browser has drawn the next frame.
    imported: (started) => { data().importedIn = since(started); },
    importShown(started) {
      requestAnimationFrame(() => setTimeout(() => { data().importShownIn = since(started); }));
    },
  };
})();
