// Reading a data file into the core as the Windows program reads it: in
// pieces, each fed to the core as it arrives, through one reused 64 KiB
// buffer, so memory follows the piece and never the file. The browser gets
// a turn between pieces, and a file that takes longer than half a second
// shows its progress.
'use strict';

const dataFile = (() => {
  const TURN_MS = 30;          // the longest the page keeps the browser waiting
  const PROGRESS_AFTER_MS = 500;
  const FIRST_PATIENCE_MS = 1000;  // a local file gives a piece in a few ms

  // A read's result, or STALLED if it has not come within `ms`.
  const STALLED = Symbol('stalled');
  function within(promise, ms) {
    let timer;
    const late = new Promise((resolve) => { timer = setTimeout(resolve, ms, STALLED); });
    return Promise.race([promise, late]).finally(() => clearTimeout(timer));
  }

  // The file's pieces as views on one buffer, reused from piece to piece
  // where the browser reads into the page's own memory (a BYOB reader), so
  // that no piece is left for the collector; otherwise the stream's chunks,
  // cut to the core's piece size.
  // In Chromium such a read now and then never ends: about one file in 30
  // opened in a new page, at its first or second read. A read that takes
  // longer than the patience is given up, and the file is read on from the
  // byte it had reached, in a new stream, with twice the patience, so that
  // a slow disk is still waited for.
  async function* pieces(file, size) {
    let at = 0;
    let patience = FIRST_PATIENCE_MS;
    for (;;) {
      const stream = at === 0 ? file.stream() : file.slice(at).stream();
      let reader;
      let buffer = null;
      try {
        reader = stream.getReader({ mode: 'byob' });
        buffer = new ArrayBuffer(size);
      } catch {
        reader = stream.getReader();
      }
      try {
        for (;;) {
          const read = await within(buffer ? reader.read(new Uint8Array(buffer, 0, size)) : reader.read(), patience);
          if (read === STALLED) break;
          const { done, value } = read;
          if (done) return;
          for (let from = 0; from < value.length; from += size) yield value.subarray(from, from + size);
          at += value.length;
          if (buffer) buffer = value.buffer;
        }
      } finally {
        reader.cancel().catch(() => {});  // a file read to its end has nothing left to cancel
      }
      patience *= 2;
    }
  }

  // Only one file is read at a time: a newer one makes the older one stop.
  let latest = 0;
  let reading = Promise.resolve();

  // Reads `file` into the core's spare roster and, when all of it has been
  // read, shows that roster if it holds a character. Resolves to 'read',
  // 'failed' or 'empty' (the roster is as it was), or 'superseded' (a newer
  // file took its place).
  // `progress(fraction)` is called, after the first half second, as it reads.
  function read(file, progress = () => {}) {
    const ticket = ++latest;
    const run = async () => {
      if (ticket !== latest) return 'superseded';
      const started = performance.now();
      let turn = started;
      let bytesRead = 0;
      core.beginData();
      try {
        for await (const piece of pieces(file, core.pieceBytes())) {
          const ended = core.feedData(piece);
          bytesRead += piece.length;
          if (ended) break;  // the text ended at a 0x1A: the rest is not read
          if (performance.now() - turn >= TURN_MS) {
            await pageElements.nextTask();
            if (ticket !== latest) {
              core.abandonData();
              return 'superseded';
            }
            turn = performance.now();
            if (turn - started >= PROGRESS_AFTER_MS) progress(file.size > 0 ? bytesRead / file.size : 1);
          }
        }
      } catch {
        core.abandonData();
        return 'failed';
      }
      if (ticket !== latest) {  // given up while the last piece was awaited
        core.abandonData();
        return 'superseded';
      }
      return core.endData() > 0 ? 'read' : 'empty';
    };
    reading = reading.then(run, run);
    return reading;
  }

  // Gives up the file being read, if any: the roster stays as it is.
  const cancel = () => { ++latest; };

  return {
    read,
    cancel,
    // A file's pieces, as the reader takes them: views on one buffer, each
    // to be used before the next is asked for.
    pieces: (file) => pieces(file, core.pieceBytes()),
  };
})();
