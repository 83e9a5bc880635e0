// A check as a picture to share: the character (a long name made smaller,
// or wrapped), its base stats, the five numbers typed, the seven result
// lines and the growth chart, on the form's black, drawn at twice its size
// in CSS pixels, with the page's own fonts, as a PNG.
'use strict';

const checkPicture = (() => {
  const WIDTH = 480;  // CSS pixels; the PNG has twice as many
  const SCALE = 2;
  const MARGIN = 16;
  const LINE = 22;
  const STYLED = ['fill', 'fill-opacity', 'stroke', 'stroke-width', 'stroke-opacity', 'font-size', 'font-family', 'white-space'];

  // The chart of `report` as an image, drawn by the page's own chart in a
  // hidden SVG, its styles written into it (an image has no page styles).
  async function chartImage(report, width) {
    const holder = document.createElement('div');
    holder.style.cssText = 'position: fixed; left: -10000px; top: 0;';
    const svg = document.createElementNS('http://www.w3.org/2000/svg', 'svg');
    svg.setAttribute('class', 'growth-chart');
    holder.append(svg);
    document.body.append(holder);
    try {
      const chart = growthChart.create(svg);
      chart.fitColumn(width);
      chart.show(report);
      for (const element of [svg, ...svg.querySelectorAll('*')]) {
        const style = getComputedStyle(element);
        element.setAttribute('style', STYLED.map((name) => `${name}: ${style.getPropertyValue(name)}`).join('; '));
      }
      svg.setAttribute('xmlns', 'http://www.w3.org/2000/svg');
      const image = new Image();
      image.src = `data:image/svg+xml;charset=utf-8,${encodeURIComponent(new XMLSerializer().serializeToString(svg))}`;
      await image.decode();
      return image;
    } finally {
      holder.remove();
    }
  }

  // Lines no wider than `width`, broken between a line's pieces: those
  // between its spaces, or (`anywhere`) its characters.
  function wrapped(context, text, width, anywhere = false) {
    const rows = [];
    let row = '';
    // Each piece with the spaces after it, as the line runs.
    for (const piece of (anywhere ? [...text] : text.match(/[ 　]*[^ 　]+[ 　]*/g)) || []) {
      if (row && context.measureText(row + piece).width > width) {
        rows.push(row);
        row = piece.trimStart();
      } else {
        row += piece;
      }
    }
    return row ? [...rows, row] : rows;
  }

  return {
    // The PNG of a check: { title, character, lines: [texts under its
    // name], report }; resolves to a Blob.
    async draw({ title, character, lines, report }) {
      const font = getComputedStyle(document.body).fontFamily;
      const colours = { background: '#000', text: '#fff', quiet: '#ccc', line: getComputedStyle(document.documentElement)
        .getPropertyValue('--result-line').trim() || '#ffb4b4' };
      const inner = WIDTH - 2 * MARGIN;
      const canvas = document.createElement('canvas');
      const context = canvas.getContext('2d');
      // The name as large as fits, down to 14 px, then wrapped.
      let nameSize = 20;
      do context.font = `${nameSize}px ${font}`; while (context.measureText(character).width > inner && --nameSize > 14);
      const nameRows = wrapped(context, character, inner, true);
      context.font = `14px ${font}`;
      const aboutRows = lines.flatMap((line) => wrapped(context, line, inner));
      context.font = `15px ${font}`;
      const lineRows = report.lines.filter(Boolean).flatMap((line) => wrapped(context, line, inner));
      const image = await chartImage(report, inner);
      const height = MARGIN + LINE + nameRows.length * (nameSize + 8) + aboutRows.length * LINE + 8 + lineRows.length * LINE + 12 +
                     growthChart.COLUMN_HEIGHT + MARGIN;
      canvas.width = WIDTH * SCALE;
      canvas.height = height * SCALE;
      context.scale(SCALE, SCALE);
      context.fillStyle = colours.background;
      context.fillRect(0, 0, WIDTH, height);
      context.textBaseline = 'top';
      let y = MARGIN;
      const text = (words, size, colour, gap = LINE) => {
        context.font = `${size}px ${font}`;
        context.fillStyle = colour;
        context.fillText(words, MARGIN, y);
        y += gap;
      };
      text(title, 13, colours.quiet);
      for (const row of nameRows) text(row, nameSize, colours.text, nameSize + 8);
      for (const row of aboutRows) text(row, 14, colours.quiet);
      y += 8;
      for (const row of lineRows) text(row, 15, colours.line);
      y += 12;
      context.drawImage(image, MARGIN, y, inner, growthChart.COLUMN_HEIGHT);
      return new Promise((resolve, reject) => canvas.toBlob((blob) => (blob ? resolve(blob) : reject(new Error('no picture'))), 'image/png'));
    },
  };
})();
