// A unit's history (履歴), in the notebook in place of its list: the unit's
// checks in battle order, each check that cannot follow the unit marked
// with its reason (it can be moved to a new unit, or deleted); a chart of
// the four stats' gains against battles, with the latest check's
// prediction dashed up to the battle limit and the 80 % range fanning out
// to it; and a row of each stat's and the sum's range.
'use strict';

const historyScreen = (() => {
  const { KEYS, CAPTIONS, NAMES } = statNames, { byId } = pageElements, { cell, actionButton, battlesText, gainText, unitName } = notebookParts;
  const view = byId('notebook-history');
  let shown = null;  // the unit shown: { key, unit }
  let page;          // what the notebook gives: { say(text), deleting(question, work, done), gone() }

  const percents = ({ figures }, kind) => KEYS.map((key) => figures[`${key}${kind}`]);

  function checkRow(check, flag) {
    const tr = document.createElement('tr');
    Object.assign(tr.dataset, { check: check.at, battles: check.typed[0], progress: check.figures.progress });
    if (flag) tr.dataset.flagged = 'true';
    const battles = cell('th', 'number', '戦歴', battlesText(check));
    battles.scope = 'row';
    const actions = cell('td', 'actions');
    if (flag) actions.append(actionButton('move', '別の個体へ', `${battlesText(check)}戦の記録`));
    actions.append(actionButton('delete', '削除', `${battlesText(check)}戦の記録`));
    tr.append(battles, cell('td', 'number', '進捗率', check.figures.progress),
              ...KEYS.map((key, stat) => cell('td', 'number', CAPTIONS[stat], `${check.typed[stat + 1]} ${gainText(check, key)}`)),
              cell('td', 'number', '3値合計', check.figures.sum), cell('td', 'when', null, localTime.shown(check.at)),
              cell('td', 'flag', null, flag ? `合わない記録: ${unitRules.reason(flag)}（範囲には使いません）` : ''), actions);
    return tr;
  }

  // The range row: each stat's and the sum's `low〜high`, and what it means.
  function showRange(range, limit) {
    const box = byId('history-range');
    box.hidden = false;
    const cells = byId('history-range-cells');
    if (!range) {
      cells.hidden = true;
      byId('history-range-meaning').textContent = '同じ個体の記録が戦歴の違う2回分になると、戦歴限界での予想に80%範囲がつきます。';
      return;
    }
    cells.hidden = false;
    cells.querySelector('caption').textContent = `${limit}戦での80%範囲`;
    const texts = unitRange.texts(range);
    const row = document.createElement('tr');
    row.append(...[...KEYS, 'sum'].map((key, i) => {
      const td = cell('td', 'number', [...CAPTIONS, '3値合計'][i], texts[key]);
      td.dataset.range = key;
      return td;
    }));
    cells.tBodies[0].replaceChildren(row);
    byId('history-range-meaning').textContent = unitRange.MEANING;
  }

  // Shows a unit's history; resolves to false where it has no check left
  // (deleted here or in another tab). Rejects where the browser cannot read it.
  async function show(key, unit) {
    const all = await keptChecks.history(key);
    const checks = all.filter((check) => check.unit === unit);
    if (checks.length === 0) {
      shown = null;
      return false;
    }
    shown = { key, unit };
    const [{ rarity, name, base }] = checks;
    const units = new Set(all.map((check) => check.unit)).size;
    const limit = coreFacts.battleLimits[rarity];
    const { followed, flagged } = unitRules.sorted(checks).get(unit);
    const flags = new Map(flagged.map(({ check, conflict }) => [check.at, conflict]));
    const latest = followed.reduce((best, check) => (check.typed[0] > best.typed[0] || (check.typed[0] === best.typed[0] && check.at >= best.at) ? check : best));
    byId('history-heading').textContent = `${coreFacts.rarityNames[rarity]} ${unitName(name, unit, units)} の記録`;
    view.hidden = false;
    const pointText = (check) => `${check.typed[0]}戦: ` +
      NAMES.map((name, stat) => `${name} ${check.typed[stat + 1]}（+${check.figures[`${KEYS[stat]}Percent`]}％）`).join('　');
    byId('history-point').textContent = '';
    const inBattleOrder = [...checks].sort((a, b) => a.typed[0] - b.typed[0] || a.at - b.at);
    historyChart.draw(byId('history-chart'), {
      limit,
      checks: inBattleOrder.filter((check) => !flags.has(check.at))
        .map((check) => ({ battles: check.typed[0], percents: percents(check, 'Percent'), text: pointText(check) })),
      prediction: latest.typed[0] > 0
        ? { battles: latest.typed[0], percents: percents(latest, 'Percent'), predicted: percents(latest, 'PredictedPercent') } : null,
      band: unitRange.band({ rarity, base }, checks, limit),
    }, byId('history-point'));
    showRange(unitRange.of({ rarity, base }, checks), limit);
    byId('history-checks').tBodies[0].replaceChildren(...inBattleOrder.map((check) => checkRow(check, flags.get(check.at))));
    byId('history-heading').focus();
    return true;
  }

  function wire() {
    byId('history-checks').tBodies[0].addEventListener('click', async (event) => {
      const button = event.target.closest('[data-action]');
      if (!button || !shown) return;
      const tr = button.closest('tr');
      const { key, unit } = shown;
      const again = () => show(key, unit).then((showing) => showing || page.gone());
      if (button.dataset.action === 'delete') {
        page.deleting(`${tr.dataset.battles}戦の記録を削除しますか？`, () => keptChecks.deleteCheck(key, Number(tr.dataset.check)), again);
        return;
      }
      try {
        const moved = await keptChecks.moveToNewUnit(key, Number(tr.dataset.check));
        page.say(moved === keptChecks.GONE ? notebookWords.GONE : `${tr.dataset.battles}戦の記録を個体${moved}に移しました。`);
      } catch (error) {
        page.say(notebookWords.trouble(error));
      }
      await again();
    });
  }

  return Object.freeze({
    start(notebook) {
      page = notebook;
      wire();
    },
    show,
    close() {
      shown = null;
      view.hidden = true;
    },
    // The unit shown, or null.
    shown: () => shown,
  });
})();
