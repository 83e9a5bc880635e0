// Markup written by the build (form_markup.js, share_markup.js): elements
// as plain objects, { tag, attributes, children }, written out as HTML.
'use strict';

const markup = (() => {
  const escaped = (text) => String(text).replace(/[&<>"]/g, (c) => ({ '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' })[c]);
  const VOID = new Set(['input']);

  // An attribute set to false is left out, one set to true written bare.
  function html(node) {
    if (typeof node === 'string') return escaped(node);
    const attributes = Object.entries(node.attributes).filter(([, value]) => value !== false)
      .map(([name, value]) => (value === true ? ` ${name}` : ` ${name}="${escaped(value)}"`)).join('');
    return VOID.has(node.tag) ? `<${node.tag}${attributes}>` : `<${node.tag}${attributes}>${node.children.map(html).join('')}</${node.tag}>`;
  }

  return {
    element: (tag, attributes = {}, children = []) => ({ tag, attributes, children }),
    html,
    // The inline style that places a control: its box in the form's pixels.
    place: (x, y, width, height) => `--x: ${x}px; --y: ${y}px; --width: ${width}px; --height: ${height}px`,
  };
})();
