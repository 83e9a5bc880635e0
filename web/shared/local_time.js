// A moment as the player reads it, in this device's time zone.
'use strict';

const localTime = (() => {
  const shown = new Intl.DateTimeFormat('ja-JP', { year: 'numeric', month: 'numeric', day: 'numeric', hour: '2-digit', minute: '2-digit' });
  return Object.freeze({
    // 2026/12/10 08:59
    shown: (at) => shown.format(at),
  });
})();
