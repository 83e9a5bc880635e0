// SVG drawing for the page's charts (growth_chart.js, history_chart.js).
'use strict';

const svgElement = Object.freeze({
  // Adds an SVG element named `name` to `parent`, with its attributes and
  // text, and returns it.
  add(parent, name, attributes, text) {
    const node = document.createElementNS('http://www.w3.org/2000/svg', name);
    for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value);
    if (text !== undefined) node.textContent = text;
    parent.append(node);
    return node;
  },
});
