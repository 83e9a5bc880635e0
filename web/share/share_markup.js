// The share buttons' markup, which the build writes into the form's result
// frame (form_markup.js): リンクで共有 and 画像で共有 right of the progress
// line, waiting for a check, and below the frame what became of a link.
'use strict';

const shareMarkup = (() => {
  const { element } = markup;
  const BUTTONS = [['share-check', 'リンクで共有', [470, 228, 82, 22]], ['share-image', '画像で共有', [558, 228, 82, 22]]];
  const NOTE = [10, 538, 640, 20];

  return {
    // The elements with their places in the form design's pixels.
    controls: () => [
      ...BUTTONS.map(([id, text, place]) => ({ element: element('button', { type: 'button', id, class: 'control share', disabled: true },
                                                                   [text]), place })),
      { element: element('p', { id: 'share-note', class: 'control share-note', role: 'status', hidden: true },
                         [element('span', { id: 'share-said' }), ' ', element('a', { id: 'share-link' })]), place: NOTE },
    ],
  };
})();
