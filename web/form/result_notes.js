// What the page says around the result lines, which stay the Windows
// program's: which check they, the chart and the share buttons belong to
// (the rarity, name and battles), and that it is an earlier check once the
// choice or the five fields no longer match it; a short word where the
// player is (記録しました, no character to check); and, beside the field an
// error names, what that field allows.
'use strict';

const resultNotes = (() => {
  const { byId } = pageElements, { NAMES } = statNames;
  const STALE = '（前の計算です。いまの選択や入力とは違います）';
  let named = null;    // the check named: { rarity, index, typed, text }
  let noteTimer = 0;

  function hint() {
    let element = byId('field-hint');
    if (!element) {
      element = pageElements.make('p', { id: 'field-hint', className: 'field-hint' });
      element.setAttribute('aria-live', 'polite');
    }
    return element;
  }

  return Object.freeze({
    // Names the check of the lines now shown: `character` { rarity, index,
    // name } with the five numbers `typed`; `failed` for one the growth
    // check refused.
    name({ rarity, index, name }, typed, failed) {
      const element = byId('result-of');
      named = { rarity, index, typed, text: `${coreFacts.rarityNames[rarity]} ${name}・戦歴 ${typed[0]} の${failed ? '計算（エラー）' : '結果'}` };
      element.hidden = false;
      element.removeAttribute('data-stale');
      element.textContent = named.text;
    },
    // Says whether the check named is still the one the form holds.
    compare(rarity, index, typed) {
      if (!named) return;
      const element = byId('result-of');
      const stale = rarity !== named.rarity || index !== named.index || typed.some((number, i) => number !== named.typed[i]);
      element.toggleAttribute('data-stale', stale);
      element.textContent = stale ? `${named.text}${STALE}` : named.text;
    },
    // A short word beside it, for `ms` (for good, without).
    note(text, ms = 0) {
      clearTimeout(noteTimer);
      byId('result-note').textContent = text;
      if (ms > 0) noteTimer = setTimeout(() => { byId('result-note').textContent = ''; }, ms);
    },
    // Beside `field` (and after `after`, in one column), what it allows:
    // `input` 0 battles up to `limit`, 1 to 4 a stat from its base to twice it.
    allowed(field, after, input, base, limit) {
      const [low, high] = input === 0 ? [0, limit] : [base[input - 1], 2 * base[input - 1]];
      const element = hint();
      element.textContent = `${['戦歴', ...NAMES][input]} は ${core.integerText(low)}〜${core.integerText(high)}`;
      after.after(element);
      element.style.setProperty('--x', `${field.offsetLeft}px`);
      element.style.setProperty('--y', `${field.offsetTop + field.offsetHeight + 1}px`);
      element.hidden = false;
    },
    clearAllowed() {
      const element = byId('field-hint');
      if (element) element.hidden = true;
    },
  });
})();
