// A moment as the player reads it, in this device's time zone.
'use strict';

const localTime = (() => {
  // Made when first needed: a Japanese date format costs the page's start a long task.
  let format = null;
  return Object.freeze({
    // 2026/12/10 08:59
    shown(at) {
      format ??= new Intl.DateTimeFormat('ja-JP', { year: 'numeric', month: 'numeric', day: 'numeric', hour: '2-digit', minute: '2-digit' });
      return format.format(at);
    },
    // 2026-12-10T08:59:13, ISO 8601 without a zone, as a spreadsheet reads
    // a date and time: to the second.
    iso(at) {
      const date = new Date(at);
      const two = (number) => String(number).padStart(2, '0');
      return `${date.getFullYear()}-${two(date.getMonth() + 1)}-${two(date.getDate())}T${two(date.getHours())}:` +
             `${two(date.getMinutes())}:${two(date.getSeconds())}`;
    },
  });
})();
