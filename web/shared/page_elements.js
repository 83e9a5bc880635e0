// The page's elements, found and made.
'use strict';

const pageElements = Object.freeze({
  byId: (id) => document.getElementById(id),
  // A new element with its properties set: make('td', { className, textContent }).
  make: (tag, properties = {}) => Object.assign(document.createElement(tag), properties),
});
