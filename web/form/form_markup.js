// The form's markup, written into the page by the build (prerender.mjs)
// from the form design that the Windows program builds its own controls
// from, so that the browser draws the whole form before any script runs:
// each control at its place, in its colours, in the design's creation
// order (which is also the order of the keyboard focus), inside the frame
// drawn around it, with names for assistive technology; and the sample
// roster's first character shown, as the page starts with it.
// Controls that other rooms add to the result frame (the share buttons)
// come as elements with their places in the design.
'use strict';

const formMarkup = (() => {
  const { element, html, place } = markup, { FIELDS, RESULT_LINES, NAMED, NAME_SEARCH, REMOVE_ADDED, RESULT_OF, RESULT_NOTE, pieces } = formControls;
  // A frame's line runs through the middle of its caption; the controls in
  // it are placed from the inside of its one-pixel line.
  const FRAME_CAPTION_HALF = 8;
  const FRAME_LINE = 1;
  const CLOSED_LIST_HEIGHT = 24;  // the design's height is the dropped list's
  // Each control's name, by number, as the styles address it (data-control).
  const NAME_OF = Object.fromEntries(Object.entries(controlIds).map(([name, number]) => [number, name]));

  const textPieces = (line) => pieces(line, (tag, className, text) => element(tag, className ? { class: className } : {}, [text]));
  const caption = (name) => element('span', { class: 'caption', 'aria-hidden': 'true' }, [name]);
  const options = (texts, chosen) => texts.map((text, i) => element('option', { selected: i === chosen }, [text]));

  function control({ kind, number, text, upperBound, font, colour }, style, shown) {
    const attributes = { class: `control ${{ hpArrows: 'arrows', pushButton: 'push', resultBox: 'result-box' }[kind] || kind}`,
                         style: colour ? `${style}; color: ${colour}` : style };
    if (NAMED[number] && kind !== 'arrows' && kind !== 'hpArrows') attributes['aria-label'] = NAMED[number];
    Object.assign(attributes, { 'data-number': number, 'data-control': NAME_OF[number], 'data-kind': kind, 'data-upper-bound': upperBound });
    switch (kind) {
      case 'frame':
        return element('div', { ...attributes, role: 'group', 'aria-labelledby': `caption-${number}` },
                       [element('span', { id: `caption-${number}` }, [text])]);
      case 'label':
        // The base stats and their headings in pieces, which the one-column layout sets in columns.
        return element('div', attributes, number === controlIds.baseStatsHeading || number in shown.labels
          ? textPieces(shown.labels[number] ?? text) : [text]);
      case 'list':
        if (font === 'rarityList') attributes.class += ' rarity-list';
        return element('select', attributes, shown.lists[number] || []);
      case 'field':  // a phone keyboard's Enter key: 次へ, and 実行 in the last field
        return element('input', { ...attributes, type: 'text', value: shown.fields[number] ?? text, inputmode: 'numeric',
                                  enterkeyhint: number === FIELDS.at(-1) ? 'go' : 'next', autocomplete: 'off', spellcheck: 'false' });
      case 'arrows':
      case 'hpArrows':
        return element('div', attributes, [['▲', 'を増やす'], ['▼', 'を減らす']].map(([symbol, verb]) =>  // up, then down
          element('button', { type: 'button', tabindex: '-1', 'aria-label': NAMED[number] + verb }, [symbol])));
      case 'pushButton':
        return element('button', { ...attributes, type: 'button' }, [text]);
      default:  // the result box
        return element('textarea', { ...attributes, readonly: true, tabindex: '-1' });
    }
  }

  return {
    // The markup of the form of `design` (core.designedControls()), showing
    // `start`: { rarityNames, rarity, names, baseStatsText, base }; with
    // `added` after the result lines, each { element, place: [x, y, width,
    // height] } (its style set from its place, within the result frame).
    form(design, start, added = []) {
      const shown = {
        lists: { [controlIds.rarityList]: options(start.rarityNames, start.rarity), [controlIds.nameList]: options(start.names, 0) },
        labels: { [controlIds.baseStatsLabel]: start.baseStatsText },
        fields: Object.fromEntries(FIELDS.map((number, i) => [number, String([0, ...start.base][i])])),
      };
      const top = [];
      const frames = [];
      const frameAround = (x, y) => frames.find((f) => x >= f.x && x < f.x + f.width && y >= f.y && y < f.y + f.height);
      // A control's place in the design, from the inside of the frame
      // around it; and that frame.
      const inFrame = (x, y, width, height) => {
        const frame = frameAround(x, y);
        const [left, top] = frame ? [x - frame.x - FRAME_LINE, y - frame.y - FRAME_CAPTION_HALF - FRAME_LINE] : [x, y];
        return [place(left, top, width, height), frame];
      };
      const resultLines = element('div', { class: 'result-lines', 'aria-live': 'polite', 'aria-atomic': 'true' });
      const lines = new Map();
      for (const designed of design) {
        const { kind, number, x, y, width, height } = designed;
        const [style, frame] = kind === 'frame' ? [place(x, y + FRAME_CAPTION_HALF, width, height - FRAME_CAPTION_HALF), null]
                                                : inFrame(x, y, width, kind === 'list' ? CLOSED_LIST_HEIGHT : height);
        const made = control(designed, style, shown);
        if (kind === 'frame') frames.push({ element: made, x, y, width, height });
        const container = frame ? frame.element.children : top;
        if (RESULT_LINES.includes(number)) {
          if (!container.includes(resultLines)) {  // before the box; in one column, what they are of first
            const placed = ({ element: extra, place: [left, top, width, height] }) => {
              extra.attributes.style = place(left - frame.x - FRAME_LINE, top - frame.y - FRAME_CAPTION_HALF - FRAME_LINE, width, height);
              return extra;
            };
            container.push(placed({ element: element('p', { id: 'result-of', class: 'control result-of', 'data-result-of': '', hidden: true }),
                                    place: RESULT_OF.place }),
                           placed({ element: element('p', { id: 'result-note', class: 'control result-note', role: 'status' }),
                                    place: RESULT_NOTE.place }),
                           resultLines, ...added.map(placed));
          }
          lines.set(number, made);
          continue;
        }
        if (kind === 'list' || kind === 'field') container.push(caption(NAMED[number]));
        container.push(made);
        if (number === controlIds.nameList) {
          const [searchStyle] = inFrame(...NAME_SEARCH.place);
          container.push(caption(NAME_SEARCH.caption),
                         element('input', { type: 'search', id: 'name-search', class: 'control name-search', autocomplete: 'off',
                                            spellcheck: 'false', placeholder: NAME_SEARCH.name, 'aria-label': NAME_SEARCH.name,
                                            style: searchStyle }),
                         element('button', { type: 'button', id: 'remove-added', class: 'control remove-added', hidden: true,
                                             style: inFrame(...REMOVE_ADDED.place)[0] }, [REMOVE_ADDED.text]));
        }
      }
      resultLines.children.push(...RESULT_LINES.map((number) => lines.get(number)));  // in the order they are read
      return top.map(html).join('\n');
    },
  };
})();
