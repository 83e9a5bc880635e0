// Names found as a player types them, in the form's name search and the
// notebook's: any part of a name, with hiragana finding katakana, and
// full-width and half-width forms (ＡＢ and AB, ｱﾚｽ and アレス) alike,
// whatever their case.
'use strict';

const nameMatch = (() => {
  const HIRAGANA = /[\u3041-\u3096]/g;
  const KATAKANA_FROM_HIRAGANA = 0x60;
  // A name or a query in the one form that matching compares.
  const folded = (text) => text.normalize('NFKC')
    .replace(HIRAGANA, (c) => String.fromCharCode(c.charCodeAt(0) + KATAKANA_FROM_HIRAGANA)).toLowerCase();
  return { folded };
})();
