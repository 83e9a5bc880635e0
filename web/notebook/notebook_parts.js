// What the notebook's list and history screens both draw and ask: table
// cells, action buttons, a check's battles and gains as the tables print
// them, and a unit's name where its character has several.
'use strict';

const notebookParts = (() => {
  const { make } = pageElements;

  return Object.freeze({
    // A table cell with its text, and the caption a phone's card shows before it.
    cell(tag, className, label, text) {
      const element = make(tag, { className, textContent: text });
      if (label) element.dataset.label = label;
      return element;
    },
    // A button that names what it acts on for assistive technology.
    actionButton(action, text, name) {
      const button = make('button', { type: 'button', textContent: text });
      button.dataset.action = action;
      button.setAttribute('aria-label', `${text}: ${name}`);
      return button;
    },
    battlesText: (check) => `${check.typed[0]}/${coreFacts.battleLimits[check.rarity]}`,
    gainText: ({ figures }, key) => `+${figures[`${key}Gain`]}(+${figures[`${key}Percent`]}％)`,
    // A character's name, and its unit's number where it has more than one.
    unitName: (name, unit, units) => (units > 1 ? `${name}（個体${unit}）` : name),
  });
})();
