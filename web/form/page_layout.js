// Where the form and the chart go. A wide window with a mouse shows the
// Windows form as it is designed, 700 x 600, with the chart beside it (below
// it in a portrait window), scaled together to fit the window. A touch
// screen, or a window too small for the form to be read at that scale,
// flows the same controls into one column that the page scrolls through:
// form.css decides which, and says so in --layout.
'use strict';

const pageLayout = (() => {
  const FORM_SIZE = [700, 600];
  // Beside or below the form, the chart takes at least this much room and
  // whatever is left. Below a narrow form it is drawn magnified, as if
  // CHART_PORTRAIT_WIDTH wide, so that its texts read as well as the form's.
  const CHART_LEAST = { landscape: [340, 600], portrait: [700, 280] };
  const CHART_PORTRAIT_WIDTH = 400;

  // Whether the page is in one column, as form.css decides (--layout): by
  // its media rule where the browser shows the page its rules (not from a
  // local folder), so that asking forces no style to be worked out.
  let columnQuery;
  function findColumnQuery() {
    try {
      for (const sheet of document.styleSheets) {
        for (const rule of sheet.cssRules) {
          if (rule instanceof CSSMediaRule && /--layout:\s*one-column/.test(rule.cssText)) return matchMedia(rule.conditionText);
        }
      }
    } catch { /* rules the page may not read */ }
    return null;
  }
  function oneColumn() {
    if (columnQuery === undefined) columnQuery = findColumnQuery();
    return columnQuery ? columnQuery.matches
      : getComputedStyle(document.documentElement).getPropertyValue('--layout').trim() === 'one-column';
  }

  function fitDesigned(app, chart) {
    const orientation = innerWidth > innerHeight ? 'landscape' : 'portrait';  // as CSS has it
    const landscape = orientation === 'landscape';
    const [leastWidth, leastHeight] = CHART_LEAST[orientation];
    const [width, height] = landscape ? [FORM_SIZE[0] + leastWidth, FORM_SIZE[1]] : [FORM_SIZE[0], FORM_SIZE[1] + leastHeight];
    const scale = Math.min(innerWidth / width, innerHeight / height);
    const chartWidth = landscape ? Math.floor(innerWidth / scale - FORM_SIZE[0]) : FORM_SIZE[0];
    const chartHeight = landscape ? FORM_SIZE[1] : Math.floor(innerHeight / scale - FORM_SIZE[1]);
    app.className = orientation;
    app.style.transform = `scale(${scale})`;
    app.style.left = `${Math.max(0, (innerWidth - (landscape ? FORM_SIZE[0] + chartWidth : FORM_SIZE[0]) * scale) / 2)}px`;
    chart.resize(chartWidth, chartHeight, landscape ? chartWidth : CHART_PORTRAIT_WIDTH);
  }

  // In one column the chart takes the column's width, which the browser
  // tells once it has laid the page out (a ResizeObserver): no layout is
  // forced while the page starts.
  function fitOneColumn(app) {
    app.className = 'one-column';
    app.style.removeProperty('transform');
    app.style.removeProperty('left');
  }

  // What of the page is on screen, in the layout viewport's coordinates: a
  // pinch-zoomed or keyboard-shortened phone screen shows less of it.
  const onScreen = () => (window.visualViewport
    ? { top: visualViewport.offsetTop, bottom: visualViewport.offsetTop + visualViewport.height }
    : { top: 0, bottom: innerHeight });
  const MARGIN = 8;

  return {
    // In one column, scrolls the page so that `element` is on screen: all
    // of it where it fits, else from its top; smoothly, or at once where
    // the player asks for less motion. The designed form is all on screen.
    bringIntoView(element) {
      if (!oneColumn()) return;
      const box = element.getBoundingClientRect();
      const screen = onScreen();
      const fits = box.height <= screen.bottom - screen.top - 2 * MARGIN;
      let by = 0;
      if (!fits || box.top < screen.top) by = box.top - MARGIN - screen.top;  // from its top
      else if (box.bottom > screen.bottom) by = box.bottom + MARGIN - screen.bottom;  // all of it, from below
      if (Math.abs(by) < 1) return;
      scrollBy({ top: by, behavior: matchMedia('(prefers-reduced-motion: reduce)').matches ? 'auto' : 'smooth' });
    },
    // Lays the page out now and whenever the window changes size or turns;
    // returns the function that does it, for when the page shows again.
    start(app, chart, chartElement) {
      const fit = () => { if (!app.hidden) (oneColumn() ? fitOneColumn : fitDesigned)(app, chart); };
      let columnWidth = 0;
      new ResizeObserver(([entry]) => {
        const width = Math.floor(entry.contentRect.width);
        if (!oneColumn() || app.hidden || width === columnWidth || width === 0) return;
        columnWidth = width;
        chart.fitColumn(width);
      }).observe(chartElement);
      addEventListener('resize', fit);
      fit();
      app.dataset.laidOut = 'true';
      return fit;
    },
  };
})();
