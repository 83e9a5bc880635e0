// A file the page makes for the player (the notebook's CSV, a check's
// picture), handed over as a phone expects: to its share sheet, where the
// browser of a touch screen takes files, and downloaded elsewhere.
'use strict';

const fileOut = Object.freeze({
  // Whether the page hands what it shares to a share sheet: on a touch
  // screen whose browser has one. A desktop browser's share dialog is not
  // where its user expects a file or a link to go.
  hasShareSheet: () => matchMedia('(pointer: coarse)').matches && typeof navigator.share === 'function',

  // Resolves to 'shared', 'cancelled' (the player closed the share sheet)
  // or 'downloaded'; a share sheet that fails downloads the file instead.
  async give(file, title) {
    if (fileOut.hasShareSheet() && navigator.canShare && navigator.canShare({ files: [file] })) {
      try {
        await navigator.share({ files: [file], title });
        return 'shared';
      } catch (error) {
        if (error.name === 'AbortError') return 'cancelled';
      }
    }
    const url = URL.createObjectURL(file);
    Object.assign(document.createElement('a'), { href: url, download: file.name }).click();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
    return 'downloaded';
  },
});
