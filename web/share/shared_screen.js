// A check that another player shared as a link, on a screen of its own in
// place of the form: the character, its battles, the seven result lines and
// the growth chart, all computed again by this page's core from the link,
// so that they are the same on every device, whatever roster this one has.
// Opening it keeps nothing and changes neither the roster nor the form;
// where the roster in use holds the same character, the check can be taken
// into the form, and where it lacks it, the character can be added.
'use strict';

const sharedScreen = (() => {
  const { byId } = pageElements;

  let page;      // what the app gives (start)
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
      // Each figure kept whole where a line wraps: the pieces between `gaps` in spans of their own.
      const whole = (element, text, gaps) => element.replaceChildren(...text.split(gaps).filter(Boolean)
        .map((piece) => (gaps.test(piece) ? piece : pageElements.make('span', { className: 'whole', textContent: piece }))));
      whole(byId('shared-battles'), `戦歴 ${typed[0]}/${coreFacts.battleLimits[rarity]}　HP ${typed[1]}　攻撃 ${typed[2]}` +
                                    `　防御 ${typed[3]}　素早さ ${typed[4]}`, /(\u3000)/);
      report.lines.forEach((text, line) => { if (!report.failed || line === 0) whole(lines[line], text, /( +)/); });
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

  return {
    // Takes what the screen needs of the page: { holds, add, choose,
    // back(screen) }, the last the screens' (screens.js).
    start(pageParts) {
      page = pageParts;
      chart = growthChart.create(byId('shared-chart'));
      byId('close-shared').addEventListener('click', () => page.back('form'));
      byId('take-shared').addEventListener('click', () => {
        if (shown && page.choose(shown.shared)) page.back('form');
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
    },
    // Shows the check of the address's link, or that it cannot be read.
    showLink() {
      show(shareLink.checkIn(location.hash) ?? null);
    },
    hide() {
      screen.hidden = true;
    },
  };
})();
