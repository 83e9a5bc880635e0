// A unit's growth over its battles, drawn as an SVG from its kept checks:
// one line per stat through each check's gain (% of the base) against its
// battles; dashed, the latest check's prediction up to the battle limit;
// and, lighter, the 80 % range fanning out to it. Every figure is a kept
// one, as the result lines print it, or the core's. A tap on a check's
// battles reads its figures out under the chart.
'use strict';

const historyChart = (() => {
  const { add } = svgElement, { CAPTIONS } = statNames;
  const HEIGHT = 340;
  const NARROWEST = 300;
  const COLOURS = ['#ffb4b4', '#ffd27f', '#8fd3ff', '#b5f28f'];  // HP, attack, defence, speed

  // Draws in `svg`: { limit, checks: [{ battles, percents: [4 texts], text }] in
  // battle order, prediction: { battles, percents, predicted: [4 texts] } or
  // null when the latest check has no battles, band: [{ battles, percents:
  // [[low, high] × 4] }] from the latest check's battles to the limit, or [] }.
  // It is drawn at the width it is shown at, so that its texts keep their
  // size. A check's `text` is what a tap on it reads out, in `readout`.
  function draw(svg, { limit, checks, prediction, band = [] }, readout) {
    const width = Math.max(NARROWEST, Math.round(svg.getBoundingClientRect().width));
    const PLOT = { left: 64, right: width - 24, top: 60, bottom: HEIGHT - 40 };
    svg.setAttribute('viewBox', `0 0 ${width} ${HEIGHT}`);
    svg.replaceChildren();
    const x = (battles) => PLOT.left + (PLOT.right - PLOT.left) * Math.min(Math.max(battles / limit, 0), 1);
    const y = (percent) => PLOT.bottom - (PLOT.bottom - PLOT.top) * Math.min(Math.max(Number(percent) / 100, 0), 1);

    for (const percent of [0, 50, 100]) {
      add(svg, 'line', { x1: PLOT.left, x2: PLOT.right, y1: y(percent), y2: y(percent), class: 'history-grid' });
      add(svg, 'text', { x: PLOT.left - 8, y: y(percent) + 5, 'text-anchor': 'end', class: 'history-axis' }, `+${percent}％`);
    }
    for (const battles of [0, Math.round(limit / 2), limit]) {
      add(svg, 'text', { x: x(battles), y: PLOT.bottom + 24, 'text-anchor': 'middle', class: 'history-axis' }, `${battles}戦`);
    }
    CAPTIONS.forEach((name, stat) => {
      const colour = COLOURS[stat];
      if (band.length > 1) {
        const edge = (side) => band.map((at) => `${x(at.battles)},${y(at.percents[stat][side])}`);
        add(svg, 'polygon', { points: [...edge(1), ...edge(0).reverse()].join(' '), fill: colour, class: 'history-band', 'data-stat': name });
      }
      add(svg, 'text', { x: PLOT.left + 60 * stat, y: 20, fill: colour, class: 'history-legend' }, `━ ${name}`);
      const points = checks.map((check) => `${x(check.battles)},${y(check.percents[stat])}`);
      add(svg, 'polyline', { points: points.join(' '), stroke: colour, class: 'history-line', 'data-stat': name });
      for (const check of checks) add(svg, 'circle', { cx: x(check.battles), cy: y(check.percents[stat]), r: 4, fill: colour });
      if (prediction) {
        add(svg, 'line', { x1: x(prediction.battles), y1: y(prediction.percents[stat]), x2: x(limit), y2: y(prediction.predicted[stat]),
                           stroke: colour, class: 'history-prediction', 'data-stat': name });
      }
    });

    // What the dashes and the bands are; and a target over each check's battles.
    add(svg, 'text', { x: PLOT.left, y: 42, class: 'history-legend quiet' }, `┅ 予想（${limit}戦まで）${band.length > 1 ? '　▮ 80%範囲' : ''}`);
    const spacing = (PLOT.right - PLOT.left) / Math.max(limit, 1);
    for (const check of checks) {
      const target = add(svg, 'rect', { x: x(check.battles) - Math.max(spacing, 22) / 2, y: PLOT.top, width: Math.max(spacing, 22),
                                       height: PLOT.bottom - PLOT.top, class: 'history-target', 'aria-hidden': 'true' });
      target.addEventListener('click', () => { readout.textContent = check.text; });
    }

    const gains = (percents) => CAPTIONS.map((name, stat) => `${name}+${percents[stat]}％`).join(' ');
    const name = [`成長の履歴（${limit}戦まで）`, ...checks.map((check) => `${check.battles}戦 ${gains(check.percents)}`)];
    if (prediction) name.push(`${prediction.battles}戦からの予想 ${limit}戦 ${gains(prediction.predicted)}`);
    if (band.length > 1) name.push(`${limit}戦での80%範囲の帯つき`);
    svg.setAttribute('aria-label', name.join('。'));
  }

  return { draw };
})();
