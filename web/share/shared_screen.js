// A check that another player shared as a link, on a screen of its own in
// place of the form: the character, its battles, the seven result lines and
// the growth chart, all computed again by this page's core from the link,
// so that they are the same on every device, whatever roster this one has.
// Opening it keeps nothing and changes neither the roster nor the form;
// where the roster in use holds the same character, the check can be taken
// into the form.
'use strict';

const sharedScreen = (() => {
  const { byId } = pageElements;

  let page;      // what the app gives: { holds, add, choose, opening, closed }
  let chart;
  let shown = null;  // the check shown, and its report

  const screen = byId('shared-check');
  const lines = [...screen.querySelectorAll('[data-line]')];

  function drawChart() {
    chart.fitColumn(Math.floor(byId('shared-chart').parentElement.clientWidth));
  }

  // Shows what a link holds: its check, or that it cannot be read.
  function show(shared) {
    shown = null;
    const readable = shared !== null;
    byId('shared-error').hidden = readable;
    byId('shared-what').hidden = !readable;
    byId('take-shared').hidden = true;
    byId('add-shared').hidden = true;
    byId('shared-add-note').textContent = '';
    lines.forEach((line) => { line.textContent = ''; });
    if (readable) {
      const { rarity, name, base, typed } = shared;
      const report = core.check(rarity, base, typed);
      byId('shared-character').textContent = `${coreFacts.rarityNames[rarity]} ${name}（初期値 ${base.join(' ')}）`;
      byId('shared-battles').textContent = `戦歴 ${typed[0]}/${coreFacts.battleLimits[rarity]}　HP ${typed[1]}　攻撃 ${typed[2]}` +
                                           `　防御 ${typed[3]}　素早さ ${typed[4]}`;
      report.lines.forEach((text, line) => { if (!report.failed || line === 0) lines[line].textContent = text; });
      byId('shared-chart').hidden = report.failed;
      if (!report.failed) {
        shown = { shared, report };
        chart.show(report);
        byId('take-shared').hidden = !page.holds(shared);
        byId('add-shared').hidden = page.holds(shared);
      }
    }
    screen.hidden = false;
    if (readable && !byId('shared-chart').hidden) drawChart();
    byId('shared-heading').focus();
  }

  // Back to the form, with the link's part gone from the address, so that
  // a reload shows the player's own page.
  function close(chosen) {
    screen.hidden = true;
    history.replaceState(null, '', location.pathname + location.search);
    page.closed(chosen);
  }

  return {
    // Takes what the screen needs of the page, and shows the check of the
    // address the page was opened at, or is sent to later (an installed
    // app handed a link). Returns whether it shows one now.
    start(pageParts) {
      page = pageParts;
      chart = growthChart.create(byId('shared-chart'));
      byId('close-shared').addEventListener('click', () => close(false));
      byId('take-shared').addEventListener('click', () => {
        if (shown && page.choose(shown.shared)) close(true);
      });
      // A character this roster lacks, added from the link: then the check can be taken.
      byId('add-shared').addEventListener('click', async () => {
        if (!shown) return;
        const { rarity, name, base } = shown.shared;
        const added = await page.add({ rarity, name, base });
        byId('shared-add-note').textContent = added.problem === 'none'
          ? `${coreFacts.rarityNames[rarity]} ${name} を今のデータに追加しました。`
          : `このキャラクターは追加できません（${added.problem === 'notCp932' ? 'chardata.txt に書けない文字があります' : '名前か初期値が chardata.txt に書けません'}）。`;
        byId('add-shared').hidden = added.problem === 'none';
        byId('take-shared').hidden = !page.holds(shown.shared);
      });
      addEventListener('resize', () => { if (!screen.hidden && shown) drawChart(); });
      const opened = () => {
        const shared = shareLink.checkIn(location.hash);
        if (shared === undefined) return false;
        page.opening();
        show(shared);
        return true;
      };
      addEventListener('hashchange', opened);
      return opened();
    },
  };
})();
