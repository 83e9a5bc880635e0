// The form's markup, written into the page by the build (prerender.mjs)
// from the form design that the Windows program builds its own controls
// from, so that the browser draws the whole form before any script runs:
// each control at its place, in its colours, in the design's creation
// order (which is also the order of the keyboard focus), inside the frame
// drawn around it, with names for assistive technology; and the sample
// roster's first character shown, as the page starts with it.
'use strict';

const formMarkup = (() => {
  const id = controlIds, { FIELDS, RESULT_LINES, NAMED, NAME_SEARCH, SHARING, pieces } = formControls;
  // A frame's line runs through the middle of its caption; the controls in
  // it are placed from the inside of its one-pixel line.
  const FRAME_CAPTION_HALF = 8;
  const FRAME_LINE = 1;
  const CLOSED_LIST_HEIGHT = 24;  // the design's height is the dropped list's

  // Elements as plain objects, written out as HTML at the end.
  const element = (tag, attributes = {}, children = []) => ({ tag, attributes, children });
  const escaped = (text) => String(text).replace(/[&<>"]/g, (c) => ({ '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' })[c]);
  const VOID = new Set(['input']);
  function html(node) {
    if (typeof node === 'string') return escaped(node);
    const attributes = Object.entries(node.attributes).filter(([, value]) => value !== false)
      .map(([name, value]) => (value === true ? ` ${name}` : ` ${name}="${escaped(value)}"`)).join('');
    return VOID.has(node.tag) ? `<${node.tag}${attributes}>` : `<${node.tag}${attributes}>${node.children.map(html).join('')}</${node.tag}>`;
  }

  const textPieces = (line) => pieces(line, (tag, className, text) => element(tag, className ? { class: className } : {}, [text]));
  const place = (x, y, width, height) => `--x: ${x}px; --y: ${y}px; --width: ${width}px; --height: ${height}px`;
  const caption = (name) => element('span', { class: 'caption', 'aria-hidden': 'true' }, [name]);
  const options = (texts, chosen) => texts.map((text, i) => element('option', { selected: i === chosen }, [text]));

  // The buttons that share the last good check, waiting for one, and what
  // became of a link: in the result frame, after its lines, so that the
  // one-column layout shows them there; the designed form draws the note
  // below the frame.
  const shareControls = (inFrame, [x, y, width, height], frame) => [
    ...[['share-check', SHARING.check], ['share-image', SHARING.image]].map(([name, { text, place: at }]) =>
      element('button', { type: 'button', id: name, class: 'control share', disabled: true, style: inFrame(...at)[0] }, [text])),
    element('p', { id: 'share-note', class: 'control share-note', role: 'status', hidden: true,
                   style: place(x - frame.x - FRAME_LINE, y - frame.y - FRAME_CAPTION_HALF - FRAME_LINE, width, height) },
            [element('span', { id: 'share-said' }), ' ', element('a', { id: 'share-link' })])];

  function control({ kind, number, text, upperBound, font, colour }, style, shown) {
    const attributes = { class: `control ${{ hpArrows: 'arrows', pushButton: 'push', resultBox: 'result-box' }[kind] || kind}`,
                         style: colour ? `${style}; color: ${colour}` : style };
    if (NAMED[number] && kind !== 'arrows' && kind !== 'hpArrows') attributes['aria-label'] = NAMED[number];
    Object.assign(attributes, { 'data-number': number, 'data-kind': kind, 'data-upper-bound': upperBound });
    switch (kind) {
      case 'frame':
        return element('div', { ...attributes, role: 'group', 'aria-labelledby': `caption-${number}` },
                       [element('span', { id: `caption-${number}` }, [text])]);
      case 'label':
        // The base stats and their headings in pieces, which the one-column layout sets in columns.
        return element('div', attributes, number === id.baseStatsHeading || number in shown.labels
          ? textPieces(shown.labels[number] ?? text) : [text]);
      case 'list':
        if (font === 'rarityList') attributes.class += ' rarity-list';
        return element('select', attributes, shown.lists[number] || []);
      case 'field':
        return element('input', { ...attributes, type: 'text', value: shown.fields[number] ?? text, inputmode: 'numeric',
                                  autocomplete: 'off', spellcheck: 'false' });
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
    // The markup of the form of `design` (core.formDesign()), showing
    // `start`: { rarityNames, rarity, names, baseStatsText, base }.
    form(design, start) {
      const shown = {
        lists: { [id.rarityList]: options(start.rarityNames, start.rarity), [id.nameList]: options(start.names, 0) },
        labels: { [id.baseStatsLabel]: start.baseStatsText },
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
          if (!container.includes(resultLines)) container.push(resultLines, ...shareControls(inFrame, SHARING.note, frame));  // before the box
          lines.set(number, made);
          continue;
        }
        if (kind === 'list' || kind === 'field') container.push(caption(NAMED[number]));
        container.push(made);
        if (number === id.nameList) {
          const [searchStyle] = inFrame(...NAME_SEARCH.place);
          container.push(caption(NAME_SEARCH.caption),
                         element('input', { type: 'search', id: 'name-search', class: 'control name-search', autocomplete: 'off',
                                            spellcheck: 'false', placeholder: NAME_SEARCH.name, 'aria-label': NAME_SEARCH.name,
                                            style: searchStyle }));
        }
      }
      resultLines.children.push(...RESULT_LINES.map((number) => lines.get(number)));  // in the order they are read
      return top.map(html).join('\n');
    },
  };
})();
