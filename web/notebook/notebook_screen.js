// The notebook (記録), a screen of its own opened from the menu bar: the
// player's characters, one row for each of their units (個体) with its
// check at the most battles, to sort, filter and choose back into the
// form; a unit's history (history_screen.js); deleting checks; and the CSV
// out and in (notebook_transfer.js). Rows are drawn a hundred at a time, more as they
// scroll into view, so that thousands of characters open at once. What
// another tab changes shows here within a moment.
'use strict';

const notebookScreen = (() => {
  const ROWS_AT_ONCE = 100;
  const { byId } = pageElements, { cell, actionButton, battlesText, unitName } = notebookParts;
  let collator = null;  // made when first needed: a Japanese collator costs the page's start a long task

  const screen = byId('notebook');
  const list = byId('notebook-list');
  const table = byId('notebook-characters');
  const rowsBody = table.tBodies[0];
  const searchBox = byId('notebook-search');
  const rarityFilter = byId('notebook-rarity');
  const status = byId('notebook-status');
  const safety = byId('notebook-storage');

  let page;           // what the app gives (start)
  let rows = [];      // each unit's row, sorted
  let rowOf = new Map();  // by rowKey
  let shown = [];     // the rows that pass the filters, in order
  let drawn = 0;
  let sort = { key: 'when', descending: true };
  const rowKey = (character, unit) => `${character}\n${unit}`;

  // A column's sort value; a check at 0 battles has no sum and goes last.
  const SORT_VALUES = {
    rarity: (row) => row.rarity,
    name: (row) => row.name,
    battles: (row) => row.typed[0],
    progress: (row) => Number(row.figures.progress),
    sum: (row) => (row.figures.sum === '' ? null : Number(row.figures.sum)),
    when: (row) => row.at,
  };

  const say = (message) => { status.textContent = message; };
  const unitTitle = (row) => `${coreFacts.rarityNames[row.rarity]} ${unitName(row.name, row.unit, row.units)}`;

  function rowElement(row, index) {
    const tr = document.createElement('tr');
    Object.assign(tr.dataset, { character: row.character, unit: row.unit, rarity: row.rarity, name: row.name, battles: row.typed[0],
                                progress: row.figures.progress, sum: row.figures.sum });
    tr.setAttribute('aria-rowindex', index + 2);
    const shownName = unitName(row.name, row.unit, row.units);
    const name = cell('th', 'name', null, shownName);
    name.scope = 'row';
    const actions = cell('td', 'actions');
    actions.append(actionButton('choose', '選ぶ', shownName), actionButton('history', '履歴', shownName),
                   actionButton('delete', '削除', shownName));
    tr.append(cell('td', 'rarity', null, coreFacts.rarityNames[row.rarity]), name,
              cell('td', 'number', '戦歴', battlesText(row)), cell('td', 'number', '進捗率', row.figures.progress),
              cell('td', 'number', '3値合計', row.figures.sum), cell('td', 'when', null, localTime.shown(row.at)), actions);
    return tr;
  }

  // More rows as the last one drawn comes into view.
  const moreRows = new IntersectionObserver((entries) => {
    if (entries.some((entry) => entry.isIntersecting)) drawMore();
  }, { root: screen, rootMargin: '600px 0px' });

  function drawMore() {
    moreRows.disconnect();
    const next = shown.slice(drawn, drawn + ROWS_AT_ONCE);
    rowsBody.append(...next.map((row, i) => rowElement(row, drawn + i)));
    drawn += next.length;
    if (drawn < shown.length) moreRows.observe(rowsBody.lastElementChild);
  }

  // The rows that pass the rarity and name filters, drawn from the first.
  function filter() {
    const rarity = rarityFilter.value;
    const query = nameMatch.folded(searchBox.value);
    shown = rows.filter((row) => (rarity === '' || row.rarity === Number(rarity)) && row.folded.includes(query));
    table.setAttribute('aria-rowcount', shown.length + 1);
    byId('notebook-empty').hidden = rows.length > 0;
    for (const id of ['notebook-export', 'notebook-clear']) byId(id).hidden = rows.length === 0;  // nothing to export or delete
    rowsBody.replaceChildren();
    drawn = 0;
    drawMore();
  }

  function sortRows() {
    const value = SORT_VALUES[sort.key];
    const direction = sort.descending ? -1 : 1;
    if (sort.key === 'name') collator ??= new Intl.Collator('ja');
    const compare = sort.key === 'name' ? collator.compare : (a, b) => a - b;
    // Ties in a fixed order (by character and unit), whichever way the column sorts.
    const tie = (a, b) => (a.character < b.character ? -1 : a.character > b.character ? 1 : a.unit - b.unit);
    rows = rows.map((row) => [value(row), row]).sort(([a, rowA], [b, rowB]) => {
      if (a === null || b === null) return (a === null) - (b === null) || tie(rowA, rowB);
      return direction * compare(a, b) || tie(rowA, rowB);
    }).map(([, row]) => row);
    for (const header of table.tHead.querySelectorAll('[data-sort]')) {
      header.closest('th').setAttribute('aria-sort', header.dataset.sort !== sort.key ? 'none' : sort.descending ? 'descending' : 'ascending');
    }
    filter();
  }

  async function load() {
    try {
      const { records, unread } = await keptChecks.latest();
      rows = records.map((row) => Object.assign(row, { folded: nameMatch.folded(row.name) }));
      if (unread.length > 0) say(notebookWords.unread(unread));
    } catch (error) {
      rows = [];
      say(notebookWords.trouble(error));
    }
    rowOf = new Map(rows.map((row) => [rowKey(row.character, row.unit), row]));
    sortRows();
  }

  // Deletes after asking, then offers for a few seconds to put back what
  // was deleted; `done()` shows what is left, and again after an undo.
  async function deleting(question, work, done) {
    if (!await pageElements.confirmed(question)) return;
    try {
      const deleted = await work();
      if (deleted === keptChecks.GONE) say(notebookWords.GONE);
      else offerUndo(deleted, done);
    } catch (error) {
      say(notebookWords.trouble(error));
    }
    await done();
  }
  const UNDO_MS = 8000;
  let undoTimer = 0;
  function offerUndo(deleted, done) {
    clearTimeout(undoTimer);
    const undo = pageElements.make('button', { type: 'button', textContent: '元に戻す' });
    status.replaceChildren(`${deleted.length} 件の記録を削除しました。`, ' ', undo);
    undoTimer = setTimeout(() => undo.remove(), UNDO_MS);
    undo.addEventListener('click', async () => {
      clearTimeout(undoTimer);
      try {
        await keptChecks.merge(deleted);
        say(`${deleted.length} 件の記録を元に戻しました。`);
      } catch (error) {
        say(notebookWords.trouble(error));
      }
      await done();
    }, { once: true });
  }

  // A unit's history in place of the list; false where it has no check
  // left (deleted here or in another tab), and the list is shown again.
  async function showHistory(key, unit) {
    let showing;
    try {
      showing = await historyScreen.show(key, unit);
    } catch (error) {
      say(notebookWords.trouble(error));
      return true;
    }
    list.hidden = showing;
    if (!showing) page.back('notebook');
    return showing;
  }
  // Whether a unit still has checks (another tab may have deleted them).
  const holdsUnit = (row) => keptChecks.history(row.character).then((checks) => checks.some((check) => check.unit === row.unit), () => true);

  // What another tab changed, shown: the list read again, or the history
  // shown read again (back on the list where it has gone).
  let refreshing = null;
  function refresh() {
    if (screen.hidden) return;
    refreshing ??= Promise.resolve().then(async () => {
      refreshing = null;
      notebookTransfer.showSafety(safety);
      const history = historyScreen.shown();
      if (history === null) await load();
      else if (!await showHistory(history.key, history.unit)) say('この記録はほかのタブで削除されました。');
    });
  }

  function wire() {
    byId('close-notebook').addEventListener('click', () => page.back('form'));
    byId('close-history').addEventListener('click', () => page.back('notebook'));
    screen.addEventListener('keydown', (event) => {
      if (event.key === 'Escape' && !event.defaultPrevented && !document.querySelector('dialog[open]')) page.back();
    });
    searchBox.addEventListener('input', filter);
    rarityFilter.addEventListener('change', filter);
    table.tHead.addEventListener('click', (event) => {
      const header = event.target.closest('[data-sort]');
      if (!header) return;
      sort = { key: header.dataset.sort, descending: sort.key === header.dataset.sort && !sort.descending };
      sortRows();
    });
    rowsBody.addEventListener('click', async (event) => {
      const button = event.target.closest('[data-action]');
      if (!button) return;
      const { character, unit } = button.closest('tr').dataset;
      const row = rowOf.get(rowKey(character, Number(unit)));
      if (button.dataset.action === 'choose') {
        if (!page.holds(row)) {
          say(`今のデータに ${coreFacts.rarityNames[row.rarity]} ${row.name}（${row.base.join(' ')}）はいません。`);
        } else if (!await holdsUnit(row)) {
          say(notebookWords.GONE);
          await load();
        } else {
          page.choose(row);
        }
      } else if (button.dataset.action === 'history') {
        if (await holdsUnit(row)) {
          page.open({ screen: 'history', key: row.character, unit: row.unit });
        } else {
          say(notebookWords.GONE);
          await load();
        }
      } else {
        deleting(`${unitTitle(row)} の記録をすべて削除しますか？`, () => keptChecks.deleteUnit(row.character, row.unit), load);
      }
    });
    byId('notebook-clear').addEventListener('click', () => deleting('すべての記録を削除しますか？', keptChecks.clear, load));
    byId('notebook-export').addEventListener('click', async () => {
      say(await notebookTransfer.exportChecks());
      notebookTransfer.showSafety(safety);
    });
    const importInput = byId('notebook-import');
    byId('notebook-import-button').addEventListener('click', () => importInput.click());
    importInput.addEventListener('change', async () => {
      const [file] = importInput.files;
      importInput.value = '';
      if (!file) return;
      const started = performance.now();
      say(await notebookTransfer.importChecks(file).catch(notebookWords.trouble));
      await load();
      probe.importShown(started);
    });
    keptChecks.onChange(refresh);
  }

  return {
    // Takes what the notebook needs of the page: { holds(row), choose(row),
    // open(state), back(screen) }, the last two the screens' (screens.js).
    start(pageParts) {
      page = pageParts;
      coreFacts.rarityNames.forEach((name, code) => rarityFilter.append(new Option(name, String(code))));
      wire();
      historyScreen.start({ say, deleting, gone: () => page.back('notebook') });
    },
    // Shows the notebook on its rows, freshly read.
    async open() {
      const opening = screen.hidden;
      if (opening) say('');
      rowsBody.replaceChildren();
      historyScreen.close();
      list.hidden = false;
      screen.hidden = false;
      byId('notebook-heading').focus({ preventScroll: !opening });
      notebookTransfer.showSafety(safety);
      await load();
    },
    // Shows a unit's history in the notebook.
    async openHistory(key, unit) {
      if (screen.hidden) {
        say('');
        screen.hidden = false;
        notebookTransfer.showSafety(safety);
        await load();
      }
      if (!await showHistory(key, unit)) say(notebookWords.GONE);
    },
    hide() {
      historyScreen.close();
      screen.hidden = true;
    },
  };
})();
