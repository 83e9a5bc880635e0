// The growth chart: a good check drawn as an SVG, beside the form, on a
// shared check's screen and in its picture. One row per stat, a track
// from +0 % to the cap (+100 % of the base) with the gain so far and,
// lighter, the predicted gain at the battle limit; above them a gauge of
// the progress towards 100. Every number and text is the check's report's,
// as its lines print them.
'use strict';

const growthChart = (() => {
  const { add } = svgElement, { KEYS, CAPTIONS } = statNames;
  const EMPTY_NAME = '成長グラフ（計算するとここに表示されます）';
  const MARGIN = 16;
  const TRACK_HEIGHT = 14;
  const LABEL_TO_TRACK = 6;
  const ROW = 18 + LABEL_TO_TRACK + TRACK_HEIGHT;  // a label above its track
  const LEAST_HEIGHT = 2 * MARGIN + 5 * (ROW + LABEL_TO_TRACK);  // with room between the rows
  // In one column it is drawn as high as the form design says, its texts
  // magnified to the controls' size: so many pixels high.
  const COLUMN_MAGNIFIED = formDesign.columnTextPixels / formDesign.chartTextUnits;
  const COLUMN_HEIGHT = formDesign.columnChartUnits * COLUMN_MAGNIFIED;

  // A figure as a percentage of the track; null where there is none.
  const percentOf = (figure) => (figure === '' || figure === undefined ? null : Number(figure));
  // A bar's width for a percentage of the track; none for a missing one.
  const barWidth = (percent, trackWidth) =>
    (percent !== null && Number.isFinite(percent) ? Math.min(Math.max(percent, 0), 100) / 100 * trackWidth : null);

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

  // A chart drawn in `svg`, empty until a report is shown.
  function create(svg) {
    let shown = null;  // the report drawn
    let width = 340;   // the drawing's own size, in its user units
    let height = 600;

    function draw() {
      svg.setAttribute('viewBox', `0 0 ${width} ${height}`);
      svg.replaceChildren();
      const trackWidth = width - 2 * MARGIN;
      const block = Math.min((height - 2 * MARGIN) / 5, 96);  // the gauge and four rows
      const top = MARGIN + Math.max(0, (height - 2 * MARGIN - 5 * block) / 2);
      const figures = shown && shown.figures;

      const gauge = add(svg, 'g', { class: 'chart-gauge' });
      if (shown) Object.assign(gauge.dataset, { progress: figures.progress, scale: figures.scale });
      track(gauge, top, trackWidth, [shown ? shown.lines[0] : '壁進捗率'],
            shown ? [{ percent: percentOf(figures.progress), className: 'chart-bar' }] : []);

      KEYS.forEach((key, stat) => {
        const row = add(svg, 'g', { class: 'chart-row', 'data-stat': key });
        if (shown) {
          row.dataset.now = figures[`${key}Percent`];
          if (figures[`${key}PredictedPercent`]) row.dataset.predicted = figures[`${key}PredictedPercent`];
        }
        track(row, top + block * (stat + 1), trackWidth,
              shown ? [shown.gainTexts[key], shown.predictedGainTexts[key]] : [CAPTIONS[stat]],
              shown ? [{ percent: percentOf(figures[`${key}PredictedPercent`]), className: 'chart-bar predicted' },
                       { percent: percentOf(figures[`${key}Percent`]), className: 'chart-bar' }] : []);
      });

      svg.setAttribute('aria-label', shown
        ? `成長グラフ: ${shown.lines[0]}。` + KEYS.map((key) => shown.gainTexts[key] +
            (shown.predictedGainTexts[key] ? `、予想 ${shown.predictedGainTexts[key]}` : '')).join('。')
        : EMPTY_NAME);
    }
    draw();

    const chart = {
      // Sets the chart's size in the form's pixels, and the width its
      // drawing is made for (a smaller one magnifies it), and draws it
      // again. A drawing too short for its five tracks is magnified less.
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
      // Sets the chart's size for one column `width` pixels wide.
      fitColumn(width) {
        chart.resize(width, COLUMN_HEIGHT, width / COLUMN_MAGNIFIED);
      },
      // Draws the report of a check that passed.
      show(report) {
        shown = report;
        draw();
      },
    };
    return chart;
  }

  return { create, COLUMN_HEIGHT };
})();
