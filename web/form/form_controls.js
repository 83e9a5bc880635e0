// The form's controls as the browser draws them, built from the form design
// that the Windows program builds its own from: each control at its place,
// in its colours, in the design's creation order (which is also the order
// of the keyboard focus), inside the frame drawn around it, with names for
// assistive technology. What the controls do is form_screen.js's.
'use strict';

const formControls = (() => {
  const id = controlIds, { NAMES } = stats;
  // Names for assistive technology, by control number.
  const FIELDS = [id.battleField, id.hpField, id.attackField, id.defenceField, id.speedField];
  const ARROWS = [id.battleArrows, id.hpArrows, id.attackArrows, id.defenceArrows, id.speedArrows];
  const NAMED = {
    [id.rarityList]: 'レアリティ', [id.nameList]: '名前', [id.resultBox]: '結果',
    ...Object.fromEntries(FIELDS.map((number, i) => [number, ['戦歴', ...NAMES][i]])),
    ...Object.fromEntries(ARROWS.map((number, i) => [number, ['戦歴', ...NAMES][i]])),
  };
  // The seven result lines, top to bottom: the report's lines 0 to 6.
  const RESULT_LINES = [id.progressLine, id.currentHeadingLine, id.gainsLine, id.predictionHeadingLine,
                        id.predictedValuesLine, id.predictedGainsLine, id.threeStatSumLine];
  // A frame's line runs through the middle of its caption; the controls in
  // it are placed from the inside of its one-pixel line.
  const FRAME_CAPTION_HALF = 8;
  const FRAME_LINE = 1;
  const CLOSED_LIST_HEIGHT = 24;  // the design's height is the dropped list's
  // The page's own name search, right of the base stats in the name list's row.
  const NAME_SEARCH = { name: '名前で絞り込み', caption: '絞り込み', place: [510, 60, 135, 24] };

  // The design's place, for form.css to draw the Windows form with; the
  // one-column layout lets the controls flow instead.
  const place = (element, x, y, width, height) => {
    for (const [name, value] of Object.entries({ x, y, width, height })) element.style.setProperty(`--${name}`, `${value}px`);
  };

  function element({ kind, number, text, upperBound, font }) {
    let made;
    switch (kind) {
      case 'frame': {
        // A group, named by its caption, that holds the controls drawn in it.
        made = document.createElement('div');
        const caption = Object.assign(document.createElement('span'), { textContent: text, id: `caption-${number}` });
        made.append(caption);
        made.setAttribute('role', 'group');
        made.setAttribute('aria-labelledby', caption.id);
        break;
      }
      case 'label':
        made = Object.assign(document.createElement('div'), { textContent: text });
        break;
      case 'list':
        made = document.createElement('select');
        if (font === 'rarityList') made.classList.add('rarity-list');
        break;
      case 'field':
        made = Object.assign(document.createElement('input'), { type: 'text', value: text, inputMode: 'numeric' });
        made.autocomplete = 'off';
        made.spellcheck = false;
        break;
      case 'arrows':
      case 'hpArrows':
        made = document.createElement('div');
        for (const [symbol, verb] of [['▲', 'を増やす'], ['▼', 'を減らす']]) {  // up, then down
          const button = Object.assign(document.createElement('button'), { type: 'button', textContent: symbol, tabIndex: -1 });
          button.setAttribute('aria-label', NAMED[number] + verb);
          made.append(button);
        }
        break;
      case 'pushButton':
        made = Object.assign(document.createElement('button'), { type: 'button', textContent: text });
        break;
      case 'resultBox':
        made = Object.assign(document.createElement('textarea'), { readOnly: true, tabIndex: -1 });
        break;
    }
    made.classList.add('control', { hpArrows: 'arrows', pushButton: 'push', resultBox: 'result-box' }[kind] || kind);
    if (NAMED[number] && kind !== 'arrows' && kind !== 'hpArrows') made.setAttribute('aria-label', NAMED[number]);
    Object.assign(made.dataset, { number, kind, upperBound });
    return made;
  }

  // A list's or a field's own caption, which the one-column layout shows
  // beside it in place of the form's shared headings. Screen readers have
  // the same name from the control itself.
  const captionFor = (name) => {
    const caption = Object.assign(document.createElement('span'), { className: 'caption', textContent: name });
    caption.setAttribute('aria-hidden', 'true');
    return caption;
  };

  return {
    FIELDS, ARROWS, RESULT_LINES,

    // Builds the controls of `design` (core.formDesign()) in `form`, and
    // the name search after the name list; returns them by number, the
    // name search under 'nameSearch'. Each goes into the frame drawn around
    // it; the result lines go into one live region in theirs, top to
    // bottom, so that a calculation is announced once, whole, and the
    // result box is not.
    build(form, design) {
      const controls = new Map();
      const frames = [];
      const frameAround = (x, y) => frames.find((f) => x >= f.x && x < f.x + f.width && y >= f.y && y < f.y + f.height);
      // Places a control at its place in the design, from the inside of the
      // frame around it, and returns that frame.
      function placeInFrame(made, x, y, width, height) {
        const frame = frameAround(x, y);
        const [left, top] = frame ? [x - frame.x - FRAME_LINE, y - frame.y - FRAME_CAPTION_HALF - FRAME_LINE] : [x, y];
        place(made, left, top, width, height);
        return frame;
      }
      const resultLines = Object.assign(document.createElement('div'), { className: 'result-lines' });
      resultLines.setAttribute('aria-live', 'polite');
      resultLines.setAttribute('aria-atomic', 'true');
      for (const designed of design) {
        const { kind, number, x, y, width, height, colour } = designed;
        const made = element(designed);
        if (colour) made.style.color = colour;
        let frame;
        if (kind === 'frame') {
          place(made, x, y + FRAME_CAPTION_HALF, width, height - FRAME_CAPTION_HALF);
          frames.push({ element: made, x, y, width, height });
        } else {
          frame = placeInFrame(made, x, y, width, kind === 'list' ? CLOSED_LIST_HEIGHT : height);
        }
        let container = frame ? frame.element : form;
        if (RESULT_LINES.includes(number)) {
          if (!resultLines.isConnected) container.append(resultLines);  // before the result box
          container = resultLines;
        }
        if (kind === 'list' || kind === 'field') container.append(captionFor(NAMED[number]));
        container.append(made);
        controls.set(number, made);
      }
      resultLines.append(...RESULT_LINES.map((number) => controls.get(number)));  // in the order they are read

      const nameSearch = Object.assign(document.createElement('input'),
                                       { type: 'search', id: 'name-search', className: 'control name-search', autocomplete: 'off',
                                         spellcheck: false, placeholder: NAME_SEARCH.name });
      nameSearch.setAttribute('aria-label', NAME_SEARCH.name);
      placeInFrame(nameSearch, ...NAME_SEARCH.place);
      controls.get(id.nameList).after(captionFor(NAME_SEARCH.caption), nameSearch);
      controls.set('nameSearch', nameSearch);
      return controls;
    },
  };
})();
