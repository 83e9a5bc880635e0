// chardata.txt を書き出す: the roster in use as a file the Windows program
// opens as it is. A kept file keeps its own bytes (its encoding, mark,
// comments and line ends); the added characters' lines go in after its
// last line, before a 0x1A that ends its text, in its encoding and with its
// line end, a line end put first where its last line had none. The sample
// is CP932 with CR LF. The file is streamed, never read whole: the parts
// of the file stand in the new one as slices.
'use strict';

const rosterOut = (() => {
  const END_OF_TEXT = 0x1a;
  const LINE_FEED = 0x0a;
  const CARRIAGE_RETURN = 0x0d;

  // Where a file's text ends, in bytes; how its first line ends; whether
  // its last line ended. Its units are bytes, or UTF-16 units in its order.
  async function shapeOf(file, encoding) {
    const wide = encoding === 'utf16le' || encoding === 'utf16be';
    const mark = await file.slice(0, 3).arrayBuffer().then((buffer) => new Uint8Array(buffer));
    const markBytes = wide ? 2 : mark[0] === 0xef && mark[1] === 0xbb && mark[2] === 0xbf ? 3 : 0;
    const shape = { end: file.size, lineEnd: null, lastEnded: true };
    let offset = 0;
    let odd = -1;  // a UTF-16 unit's first byte, waiting for its second
    let before = -1;
    let last = -1;
    const unit = (value, at) => {
      if (at >= markBytes && value === END_OF_TEXT) return true;
      if (value === LINE_FEED && shape.lineEnd === null) shape.lineEnd = before === CARRIAGE_RETURN ? '\r\n' : '\n';
      before = value;
      if (at >= markBytes) last = value;
      return false;
    };
    read: for await (const piece of dataFile.pieces(file)) {
      for (let i = 0; i < piece.length; ++i, ++offset) {
        if (!wide) {
          if (unit(piece[i], offset)) {
            shape.end = offset;
            break read;
          }
        } else if (odd < 0) {
          odd = piece[i];
        } else {
          const value = encoding === 'utf16le' ? odd | piece[i] << 8 : odd << 8 | piece[i];
          odd = -1;
          if (unit(value, offset - 1)) {
            shape.end = offset - 1;
            break read;
          }
        }
      }
    }
    shape.lastEnded = last === -1 || last === LINE_FEED;
    return shape;
  }

  // A text in a file's encoding: UTF-8 or UTF-16; in a CP932 file only
  // ASCII (a line end), which UTF-8 spells the same (its lines come as
  // bytes from the core).
  function encoded(text, encoding) {
    if (encoding !== 'utf16le' && encoding !== 'utf16be') return new TextEncoder().encode(text);
    const bytes = new Uint8Array(2 * text.length);
    for (let i = 0; i < text.length; ++i) {
      const [high, low] = [text.charCodeAt(i) >> 8, text.charCodeAt(i) & 0xff];
      bytes.set(encoding === 'utf16be' ? [high, low] : [low, high], 2 * i);
    }
    return bytes;
  }

  // Each added character's line, with the line end, in the file's encoding:
  // as the roster holds it (CP932 bytes, or its text as the page shows it).
  function addedLines(encoding, lineEnd) {
    const seen = new Map();  // each rarity's added characters so far
    return addedCharacters.list().map(({ rarity }) => {
      const index = core.fileCount(rarity) + (seen.get(rarity) ?? 0);
      seen.set(rarity, index - core.fileCount(rarity) + 1);
      if (encoding === 'cp932' || encoding === 'undecided') return [core.lineBytes(rarity, index), encoded(lineEnd, encoding)];
      const base = core.baseStats(rarity, index);
      return [encoded(`${coreFacts.rarityNames[rarity]} ${core.names(rarity)[index]} ${base.join(' ')}${lineEnd}`, encoding)];
    }).flat();
  }

  return Object.freeze({
    // The roster in use as chardata.txt: `file` its kept file, or null for
    // the sample. Resolves to the file made.
    async made(file) {
      if (!file) return new File([core.sampleBytes(), ...addedLines('cp932', '\r\n')], 'chardata.txt', { type: 'text/plain' });
      const encoding = coreFacts.encodings[core.dataEncoding()];
      const shape = await shapeOf(file, encoding);
      const lineEnd = shape.lineEnd ?? '\r\n';
      const first = shape.lastEnded ? [] : [encoded(lineEnd, encoding)];
      return new File([file.slice(0, shape.end), ...first, ...addedLines(encoding, lineEnd), file.slice(shape.end)], 'chardata.txt',
                      { type: 'text/plain' });
    },
    // Writes it: to a phone's share sheet, else downloaded.
    write: async (file) => fileOut.give(await rosterOut.made(file), 'chardata.txt'),
  });
})();
