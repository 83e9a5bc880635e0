// The growth chart: a good check drawn as an SVG, beside the form, on a
// shared check's screen and in its picture. One row per stat, a track
// from +0 % to the cap (+100 % of the base) with the gain so far and,
// lighter, the predicted gain at the battle limit; above them a gauge of
// the progress towards 100. Every number and text is the check's report's,
// as its lines print them. Where the unit's earlier checks give one, each
// stat's track also shows the 80 % range at the battle limit as a band,
// with its figures under it and the three-stat sum's below the rows.
'use strict';

const growthChart = (() => {
  const { add } = svgElement, { KEYS, CAPTIONS } = statNames;
  const EMPTY_NAME = '成長グラフ（計算するとここに表示されます）';
  const MARGIN = 16;
  const TRACK_HEIGHT = 14;
  const LABEL_TO_TRACK = 6;
  const ROW = 18 + LABEL_TO_TRACK + TRACK_HEIGHT;  // a label above its track
  const RANGE_LINE = 22;                            // a range's figures under its track, clear of its band
  const BETWEEN = 6;                                // room between the rows
  const NOTE_LINE = 20;
  const TEXT_UNITS = formDesign.chartTextUnits;
  // In one column it is drawn at least as high as the form design says,
  // its texts magnified to the controls' size: so many pixels high.
  const COLUMN_MAGNIFIED = formDesign.columnTextPixels / TEXT_UNITS;
  const COLUMN_HEIGHT = formDesign.columnChartUnits * COLUMN_MAGNIFIED;

  // A figure as a percentage of the track; null where there is none.
  const percentOf = (figure) => (figure === '' || figure === undefined ? null : Number(figure));
  // A bar's width for a percentage of the track; none for a missing one.
  const barWidth = (percent, trackWidth) =>
    (percent !== null && Number.isFinite(percent) ? Math.min(Math.max(percent, 0), 100) / 100 * trackWidth : null);
  // A text in lines of at most `perLine` characters (Japanese breaks anywhere).
  const lines = (text, perLine) => text.match(new RegExp(`.{1,${Math.max(perLine, 8)}}`, 'gu')) || [];

  // One labelled track at `y`, with its bars: [{ percent, className }], and
  // its band: [low, high] percentages, or none.
  function track(group, y, width, labels, bars, band) {
    const [left, right] = labels;
    add(group, 'text', { x: MARGIN, y: y + 13, class: 'chart-label' }, left);
    if (right) add(group, 'text', { x: MARGIN + width, y: y + 13, class: 'chart-label predicted', 'text-anchor': 'end' }, right);
    const trackY = y + ROW - TRACK_HEIGHT;
    add(group, 'rect', { x: MARGIN, y: trackY, width, height: TRACK_HEIGHT, class: 'chart-track' });
    for (const { percent, className } of bars) {
      const length = barWidth(percent, width);
      if (length !== null) add(group, 'rect', { x: MARGIN, y: trackY, width: length, height: TRACK_HEIGHT, class: className });
    }
    if (band) {
      const [from, to] = band.map((percent) => barWidth(percent, width));
      add(group, 'rect', { x: MARGIN + from, y: trackY - 3, width: Math.max(to - from, 1), height: TRACK_HEIGHT + 6, class: 'chart-band' });
    }
  }

  // A range's figures under its track: a caption, then `low〜high` in an
  // element of its own (data-range).
  function rangeLine(group, x, y, caption, key, text, anchor = 'start') {
    const line = add(group, 'text', { x, y: y + 13, class: 'chart-range', 'text-anchor': anchor });
    add(line, 'tspan', {}, caption);
    add(line, 'tspan', { 'data-range': key }, text);
  }

  // What the chart holds below its rows: the range's caption, the sum's
  // range and what the range means; or, without one, how to get one.
  function footerLines(spread, perLine) {
    if (!spread) return [];
    return [spread.caption, ...(spread.texts ? [null] : []), ...(spread.meaning ? lines(spread.meaning, perLine) : [])];
  }

  // A chart drawn in `svg`, empty until a report is shown.
  function create(svg) {
    let shown = null;   // the report drawn
    let spread = null;  // and its range: { caption, meaning, texts, bands } (texts and bands where there is one)
    let width = 340;    // the drawing's own size, in its user units
    let height = 600;
    let sizing = null;  // how the page sized it: { shownWidth, shownHeight, drawnWidth } or { column: width }

    const rowHeight = () => ROW + (spread && spread.texts ? RANGE_LINE : 0);
    const perLine = (drawnWidth) => Math.floor((drawnWidth - 2 * MARGIN) / TEXT_UNITS);
    const leastHeight = (drawnWidth) => 2 * MARGIN + 5 * (rowHeight() + BETWEEN) + footerLines(spread, perLine(drawnWidth)).length * NOTE_LINE;

    function draw() {
      svg.setAttribute('viewBox', `0 0 ${width} ${height}`);
      svg.replaceChildren();
      const trackWidth = width - 2 * MARGIN;
      const footer = footerLines(spread, perLine(width));
      const block = Math.max(rowHeight() + BETWEEN, Math.min((height - 2 * MARGIN - footer.length * NOTE_LINE) / 5, 96));
      const top = MARGIN + Math.max(0, (height - 2 * MARGIN - 5 * block - footer.length * NOTE_LINE) / 2);
      const figures = shown && shown.figures;

      const gauge = add(svg, 'g', { class: 'chart-gauge' });
      if (shown) Object.assign(gauge.dataset, { progress: figures.progress, scale: figures.scale });
      track(gauge, top, trackWidth, [shown ? shown.lines[0] : '壁進捗率'],
            shown ? [{ percent: percentOf(figures.progress), className: 'chart-bar' }] : []);

      KEYS.forEach((key, stat) => {
        const row = add(svg, 'g', { class: 'chart-row', 'data-stat': key });
        const y = top + block * (stat + 1);
        if (shown) {
          row.dataset.now = figures[`${key}Percent`];
          if (figures[`${key}PredictedPercent`]) row.dataset.predicted = figures[`${key}PredictedPercent`];
        }
        track(row, y, trackWidth,
              shown ? [shown.gainTexts[key], shown.predictedGainTexts[key]] : [CAPTIONS[stat]],
              shown ? [{ percent: percentOf(figures[`${key}PredictedPercent`]), className: 'chart-bar predicted' },
                       { percent: percentOf(figures[`${key}Percent`]), className: 'chart-bar' }] : [],
              spread && spread.bands ? spread.bands[key] : null);
        if (spread && spread.texts) rangeLine(row, MARGIN + trackWidth, y + ROW + 6, `${CAPTIONS[stat]} `, key, spread.texts[key], 'end');
      });

      const notes = add(svg, 'g', { class: 'chart-notes' });
      footer.forEach((text, i) => {
        const y = top + 5 * block + i * NOTE_LINE;
        if (text === null) rangeLine(notes, MARGIN, y, '3値合計 ', 'sum', spread.texts.sum);
        else add(notes, 'text', { x: MARGIN, y: y + 13, class: i === 0 ? 'chart-range' : 'chart-note' }, text);
      });

      svg.setAttribute('aria-label', shown
        ? `成長グラフ: ${shown.lines[0]}。` + KEYS.map((key) => shown.gainTexts[key] +
            (shown.predictedGainTexts[key] ? `、予想 ${shown.predictedGainTexts[key]}` : '') +
            (spread && spread.texts ? `、${spread.caption} ${spread.texts[key]}` : '')).join('。')
        : EMPTY_NAME);
    }

    // Sizes the drawing as the page asked, magnified no more than its
    // content leaves room for, and draws it.
    function fit() {
      const least = (drawnWidth) => leastHeight(drawnWidth);
      let shownWidth, shownHeight, drawnWidth;
      if (sizing && 'column' in sizing) {
        [shownWidth, drawnWidth] = [sizing.column, sizing.column / COLUMN_MAGNIFIED];
        shownHeight = Math.max(COLUMN_HEIGHT, Math.ceil(least(drawnWidth) * COLUMN_MAGNIFIED));
      } else if (sizing) {
        ({ shownWidth, shownHeight, drawnWidth } = sizing);
      }
      if (sizing && shownWidth > 0 && drawnWidth > 0) {  // none while hidden
        const magnified = Math.min(shownWidth / drawnWidth, shownHeight / least(drawnWidth));
        svg.setAttribute('width', shownWidth);
        svg.setAttribute('height', shownHeight);
        [width, height] = [shownWidth / magnified, shownHeight / magnified];
      }
      draw();
    }
    draw();

    return {
      // Sets the chart's size in the form's pixels, and the width its
      // drawing is made for (a smaller one magnifies it), and draws it
      // again. A drawing too short for what it holds is magnified less.
      resize(shownWidth, shownHeight, drawnWidth) {
        sizing = { shownWidth, shownHeight, drawnWidth };
        fit();
      },
      // Sets the chart's size for one column `width` pixels wide: the form
      // design's height, or more where what it holds needs it.
      fitColumn(width) {
        sizing = { column: width };
        fit();
      },
      // Draws the report of a check that passed, and its `range`: { caption,
      // meaning, texts: { hp, ..., sum }, bands: { hp: [low %, high %], ... } },
      // or only { caption, meaning } where there is none yet.
      show(report, range = null) {
        shown = report;
        spread = range;
        fit();
      },
      // The report drawn.
      shown: () => shown,
      // Back to drawing no check.
      clear() {
        shown = null;
        spread = null;
        fit();
      },
    };
  }

  return { create, COLUMN_HEIGHT };
})();
