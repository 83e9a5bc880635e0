// The form's controls as the page finds them: written into the page by the
// build from the form design (form_markup.js), each with its number
// (data-number), kind and arrows' upper bound, as the Windows program
// numbers its own. What the controls do is form_screen.js's.
'use strict';

const formControls = (() => {
  const { NAMES } = statNames;
  const FIELDS = [controlIds.battleField, controlIds.hpField, controlIds.attackField, controlIds.defenceField, controlIds.speedField];
  const ARROWS = [controlIds.battleArrows, controlIds.hpArrows, controlIds.attackArrows, controlIds.defenceArrows, controlIds.speedArrows];
  return {
    FIELDS, ARROWS,
    // The seven result lines, top to bottom: the report's lines 0 to 6.
    RESULT_LINES: [controlIds.progressLine, controlIds.currentHeadingLine, controlIds.gainsLine, controlIds.predictionHeadingLine,
                   controlIds.predictedValuesLine, controlIds.predictedGainsLine, controlIds.threeStatSumLine],
    // Names for assistive technology, by control number.
    NAMED: {
      [controlIds.rarityList]: 'レアリティ', [controlIds.nameList]: '名前', [controlIds.resultBox]: '結果',
      ...Object.fromEntries([...FIELDS, ...ARROWS].map((number, i) => [number, ['戦歴', ...NAMES][i % FIELDS.length]])),
    },
    // The page's own name search, right of the base stats in the name list's row.
    NAME_SEARCH: { name: '名前で絞り込み', caption: '絞り込み', place: [510, 60, 135, 24] },
    // Below the result frame: which check the result lines, the chart and
    // the share buttons belong to, and a short word beside it (記録しました).
    RESULT_OF: { place: [10, 514, 440, 20] },
    RESULT_NOTE: { place: [455, 514, 195, 20] },
    // Above it, while a character the player added is chosen, the way to take it back.
    REMOVE_ADDED: { text: '追加したキャラクターを削除', place: [505, 29, 145, 22] },

    // A label's text as the page shows it, each piece between its spaces
    // in an element of its own: the one-column layout keeps a piece whole
    // when a line wraps, and sets the base stats under their headings. A
    // run of spaces that holds a full-width one is an element too (a
    // 'gap'), which that layout can leave out. `make(tag, className, text)`
    // makes an element; plain spaces stay text.
    pieces: (line, make) => line.split(/([ \u3000]+)/).filter(Boolean)
      .map((piece) => (/^ +$/.test(piece) ? piece : make('span', /^[ \u3000]+$/.test(piece) ? 'gap' : '', piece))),

    // The controls in `form`, by number, and the name search under 'nameSearch'.
    found(form) {
      const controls = new Map([...form.querySelectorAll('[data-number]')].map((control) => [Number(control.dataset.number), control]));
      controls.set('nameSearch', form.querySelector('#name-search'));
      return controls;
    },
  };
})();
