// The growth chart: the last good calculation drawn as an SVG beside the
// form. One row per stat, a track from +0 % to the cap (+100 % of the base)
// with the gain so far and, lighter, the predicted gain at the battle limit;
// above them a gauge of the progress towards 100. Every number and text
// comes from the core's growth check, as its lines print them.
'use strict';

const growthChart = (() => {
  const STATS = [['hp', 'HP'], ['attack', '攻'], ['defence', '防'], ['speed', '早']];
  const EMPTY_NAME = '成長グラフ（計算するとここに表示されます）';
  const MARGIN = 16;
  const TRACK_HEIGHT = 14;
  const LABEL_TO_TRACK = 6;
  const ROW = 18 + LABEL_TO_TRACK + TRACK_HEIGHT;  // a label above its track
  const LEAST_HEIGHT = 2 * MARGIN + 5 * (ROW + LABEL_TO_TRACK);  // with room between the rows

  let svg = null;
  let shown = null;  // the figures drawn, or null before the first good calculation

  const add = addSvgElement;

  // A bar's width for a percentage of the track; none for a non-finite one.
  const barWidth = (percent, trackWidth) =>
    (Number.isFinite(percent) ? Math.min(Math.max(percent, 0), 100) / 100 * trackWidth : null);

  // One labelled track at `y`, with its bars: [{ percent, className }].
  function track(group, y, width, labels, bars) {
    const [left, right] = labels;
    add(group, 'text', { x: MARGIN, y: y + 13, class: 'chart-label' }, left);
    if (right) add(group, 'text', { x: MARGIN + width, y: y + 13, class: 'chart-label predicted', 'text-anchor': 'end' }, right);
    const trackY = y + ROW - TRACK_HEIGHT;
    add(group, 'rect', { x: MARGIN, y: trackY, width, height: TRACK_HEIGHT, class: 'chart-track' });
    for (const { percent, className } of bars) {
      const length = barWidth(percent, width);
      if (length !== null) add(group, 'rect', { x: MARGIN, y: trackY, width: length, height: TRACK_HEIGHT, class: className });
    }
  }

  let width = 340;  // the drawing's own size, in its user units
  let height = 600;

  function draw() {
    svg.setAttribute('viewBox', `0 0 ${width} ${height}`);
    svg.replaceChildren();
    const trackWidth = width - 2 * MARGIN;
    const block = Math.min((height - 2 * MARGIN) / 5, 96);  // the gauge and four rows
    const top = MARGIN + Math.max(0, (height - 2 * MARGIN - 5 * block) / 2);

    const gauge = add(svg, 'g', { class: 'chart-gauge' });
    if (shown) Object.assign(gauge.dataset, { progress: shown.progressText, scale: shown.scaleText });
    track(gauge, top, trackWidth, [shown ? shown.progressLine : '壁進捗率'],
          shown ? [{ percent: shown.progress, className: 'chart-bar' }] : []);

    STATS.forEach(([key, name], stat) => {
      const row = add(svg, 'g', { class: 'chart-row', 'data-stat': key });
      const figures = shown && shown.stats[stat];
      if (figures) {
        row.dataset.now = figures.nowText;
        if (figures.predictedText) row.dataset.predicted = figures.predictedText;
      }
      track(row, top + block * (stat + 1), trackWidth,
            figures ? [figures.gainText, figures.predictedGainText] : [name],
            figures ? [{ percent: figures.predicted, className: 'chart-bar predicted' },
                       { percent: figures.now, className: 'chart-bar' }] : []);
    });

    svg.setAttribute('aria-label', shown
      ? `成長グラフ: ${shown.progressLine}。` + shown.stats.map((s) => s.gainText + (s.predictedGainText ? `、予想 ${s.predictedGainText}` : '')).join('。')
      : EMPTY_NAME);
  }

  return {
    // Takes the SVG to draw in, and draws its empty tracks.
    mount(element) {
      svg = element;
      draw();
    },
    // Sets the chart's size in the form's pixels, and the width its drawing
    // is made for (a smaller one magnifies it), and draws it again.
    // A drawing too short for its five tracks is magnified less.
    resize(shownWidth, shownHeight, drawnWidth) {
      const magnified = Math.min(shownWidth / drawnWidth, shownHeight / LEAST_HEIGHT);
      const [drawnW, drawnH] = [shownWidth / magnified, shownHeight / magnified];
      if (svg.getAttribute('width') === String(shownWidth) && svg.getAttribute('height') === String(shownHeight) &&
          width === drawnW && height === drawnH) return;
      svg.setAttribute('width', shownWidth);
      svg.setAttribute('height', shownHeight);
      [width, height] = [drawnW, drawnH];
      draw();
    },
    // Draws the figures of a calculation that passed:
    // { progress, progressText, scaleText, progressLine, stats: [{ now, nowText, predicted, predictedText, gainText, predictedGainText }] }
    show(figures) {
      shown = figures;
      draw();
    },
  };
})();
