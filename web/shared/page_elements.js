// The page's elements, found and made, the page's one yes-or-no question,
// and the browser's turn between long steps.
'use strict';

const pageElements = Object.freeze({
  byId: (id) => document.getElementById(id),
  // Asks `question` in the confirmation dialog, its buttons saying `yes`
  // and `no`; resolves to whether the player said yes.
  confirmed(question, { yes = '削除する', no = 'やめる' } = {}) {
    const dialog = document.getElementById('confirm-delete');
    document.getElementById('confirm-text').textContent = question;
    dialog.querySelector('[data-action="confirm"]').textContent = yes;
    dialog.querySelector('[data-action="cancel"]').textContent = no;
    dialog.onclick = (event) => {
      const button = event.target.closest('[data-action]');
      if (button) dialog.close(button.dataset.action);
    };
    dialog.returnValue = '';
    dialog.showModal();
    return new Promise((resolve) => dialog.addEventListener('close', () => resolve(dialog.returnValue === 'confirm'), { once: true }));
  },
  // A new element with its properties set: make('td', { className, textContent }).
  make: (tag, properties = {}) => Object.assign(document.createElement(tag), properties),
  // The browser's turn: what follows runs as a task of its own, so that a
  // long piece of work is short tasks that never hold a tap.
  nextTask: () => (globalThis.scheduler && scheduler.yield ? scheduler.yield()
                                                            : new Promise((resolve) => setTimeout(resolve, 0))),
});
