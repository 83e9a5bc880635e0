// The screens over the form as entries of the browser's history, so that
// Back closes what is on top and Forward opens it again, and a reload shows
// the same screen: the notebook (#notebook), a unit's history in it
// (#notebook&history=<character>&unit=<n>) and a shared check (#check&…).
// A screen the page opens at its start (a shared link, a reload at a
// screen's address) gets the form's entry before it, so that Back from it
// comes to the form; each screen's own button goes back the same way.
'use strict';

const screens = (() => {
  // How deep each screen lies over the form.
  const DEPTH = { form: 0, notebook: 1, history: 2, shared: 1 };
  let show = () => {};  // shows the screen of a state: { screen, key, unit }
  let base = '';        // the page's address without its '#'

  // The screen an address shows.
  function stateOf(hash) {
    const text = hash.replace(/^#/, '');
    if (text === 'check' || text.startsWith('check&')) return { screen: 'shared' };
    if (text !== 'notebook' && !text.startsWith('notebook&')) return { screen: 'form' };
    const fields = new URLSearchParams(text.slice('notebook'.length));
    const unit = Number(fields.get('unit'));
    return fields.has('history') && unit >= 1 ? { screen: 'history', key: fields.get('history'), unit } : { screen: 'notebook' };
  }
  const hashOf = ({ screen, key, unit }) => ({
    form: '', notebook: '#notebook', history: `#notebook&history=${encodeURIComponent(key)}&unit=${unit}`,
  })[screen] ?? location.hash;
  const entry = (state) => ({ ...state, app: true });

  // The state of the entry shown, as the page left it, or read from its address.
  const current = () => (history.state && history.state.app ? history.state : stateOf(location.hash));

  return Object.freeze({
    // Shows the screen of the address the page opened at, with the form's
    // entry (and the notebook's, for a history) before it where the page
    // made none; `showState(state, { atStart })` shows a screen.
    start(showState) {
      show = showState;
      base = location.href.split('#')[0];
      const state = current();
      if (state.screen !== 'form' && !(history.state && history.state.app)) {
        const hash = location.hash;
        history.replaceState(entry({ screen: 'form' }), '', base);
        if (state.screen === 'history') history.pushState(entry({ screen: 'notebook' }), '', `${base}#notebook`);
        history.pushState(entry(state), '', `${base}${hash}`);
      }
      addEventListener('popstate', () => show(current()));
      // A shared link handed to the open page (an installed app): a new entry of its own.
      addEventListener('hashchange', () => {
        if (history.state && history.state.app) return;
        const state = stateOf(location.hash);
        history.replaceState(entry(state), '', location.href);
        show(state);
      });
      show(state, { atStart: true });
    },
    // Opens a screen over the one shown, as a new entry.
    open(state) {
      history.pushState(entry(state), '', `${base}${hashOf(state)}`);
      show(state);
    },
    // Goes back to `screen` (the one under the screen shown, by default):
    // back through the entries the page made, so that Forward opens them
    // again.
    back(screen) {
      const state = current();
      const target = screen ?? (state.screen === 'history' ? 'notebook' : 'form');
      const steps = DEPTH[state.screen] - DEPTH[target];
      if (steps > 0) history.go(-steps);
    },
    // The screen shown.
    shown: () => current().screen,
  });
})();
