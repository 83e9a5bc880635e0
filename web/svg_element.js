// SVG drawing for the page's charts (chart.js, history_chart.js).
'use strict';

// Adds an SVG element named `name` to `parent`, with its attributes and
// text, and returns it.
function addSvgElement(parent, name, attributes, text) {
  const node = document.createElementNS('http://www.w3.org/2000/svg', name);
  for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value);
  if (text !== undefined) node.textContent = text;
  parent.append(node);
  return node;
}
