// The page on a phone, as a phone's browser lays it out (mobile emulation:
// touch, the viewport meta honoured): one column within the screen, made
// for a finger, and digits as a Japanese keyboard commits them.

import { test } from 'node:test';
import assert from 'node:assert/strict';

import { browserAndSite, choose, control, EXAMPLES, formReady, openData, openForm, openPhone, PHONES, results, typeFields,
         WORKED } from './page.mjs';

const shared = browserAndSite();

// What a finger meets within `root`: the smallest text drawn and the
// targets, as drawn, in CSS pixels; and whether the page still fits.
const forFingers = (page, root, targets) => page.evaluate(([root, targets]) => {
  const box = (e) => e.getBoundingClientRect().toJSON();
  const shown = (e) => e.getBoundingClientRect().width > 0;
  const app = document.getElementById('app');  // the one element that may be scaled (or hidden, by the notebook)
  const scale = app.offsetWidth > 0 ? app.getBoundingClientRect().width / app.offsetWidth : 1;
  const drawnSize = (e) => parseFloat(getComputedStyle(e).fontSize) * scale;
  const withText = [...document.querySelectorAll(`${root} *`)]
    .filter((e) => shown(e) && [...e.childNodes].some((n) => n.nodeType === Node.TEXT_NODE && n.textContent.trim()));
  return {
    width: innerWidth,
    scrollWidth: document.documentElement.scrollWidth,
    smallestText: Math.min(...withText.map(drawnSize)),
    targets: [...document.querySelectorAll(targets)].filter(shown)
      .map((e) => ({ what: e.id || e.dataset.number || e.getAttribute('aria-label') || e.textContent, ...box(e) })),
  };
}, [root, targets]);

// How far apart two boxes are: along the axis that separates them.
const apart = (a, b) => Math.max(b.left - a.right, a.left - b.right, b.top - a.bottom, a.top - b.bottom);

function assertForFingers(shown, width, what) {
  assert.equal(shown.width, width, `${what}: the layout viewport is the screen's`);
  assert.ok(shown.scrollWidth <= shown.width, `${what}: nothing scrolls sideways (${shown.scrollWidth})`);
  assert.ok(shown.smallestText >= 16, `${what}: text of ${shown.smallestText} px`);
  for (const [i, target] of shown.targets.entries()) {
    assert.ok(target.width >= 44 && target.height >= 44, `${what}: ${target.what} is ${target.width} x ${target.height}`);
    for (const other of shown.targets.slice(i + 1)) {
      assert.ok(apart(target, other) >= 8, `${what}: ${target.what} and ${other.what} are ${apart(target, other)} px apart`);
    }
  }
}

// Where the form's parts are, as drawn.
const formColumn = (page) => page.evaluate(() => {
  const byNumber = (n) => document.querySelector(`[data-number="${n}"]`);
  const box = (e) => e.getBoundingClientRect().toJSON();
  const lines = byNumber(1005).parentElement;
  return {
    // Top to bottom: the lists, the base stats, the fields, the button, the result lines, the box, the chart.
    column: [4000, 4001, 1004, 2000, 2001, 2002, 2003, 2004, 5000].map(byNumber).concat(lines, byNumber(7000),
      document.getElementById('growth-chart')).map(box),
    captions: [4000, 4001, 2000, 2001, 2002, 2003, 2004].map((n) => {
      const caption = byNumber(n).previousElementSibling;
      return { name: byNumber(n).getAttribute('aria-label'), text: caption.textContent, caption: box(caption), control: box(byNumber(n)) };
    }),
    lines: [...lines.children].map((line) => ({ right: box(line).right, clipped: line.scrollWidth > line.clientWidth })),
  };
});

test('on a phone the form is one column within the screen: captions, 16 px text, 44 px targets 8 px apart, whole lines; so is the notebook', async () => {
  const [example] = EXAMPLES;
  for (const size of PHONES) {
    const what = size.join(' x ');
    const page = await openPhone(shared.browser, shared.site.address, size);
    assert.equal(await page.evaluate(() => innerWidth), size[0], `${what}: the layout viewport is the screen's`);
    await openData(page, WORKED);  // so that サンプルに戻す shows too
    await choose(page, example.rarity, example.name);
    await typeFields(page, example.typed);
    await page.tap(control(5000));
    assert.deepEqual((await results(page)).lines, example.lines, what);

    assertForFingers(await forFingers(page, '#form', '#menu-bar button, select, input, .arrows button, button.push'), size[0], what);
    const shown = await formColumn(page);
    shown.column.slice(1).forEach((box, i) => assert.ok(box.top >= shown.column[i].bottom, `${what}: item ${i + 1} below item ${i}`));
    for (const { name, text, caption, control: box } of shown.captions) {
      assert.equal(text, name, what);
      assert.ok(caption.width > 0 && caption.top < box.bottom && caption.bottom > box.top, `${what}: ${name}'s caption beside it`);
    }
    for (const [i, line] of shown.lines.entries()) {
      assert.ok(line.right <= size[0] && !line.clipped, `${what}: line ${i} wraps within the screen`);
    }

    await page.waitForFunction(() => document.body.dataset.keeps === '1');
    await page.tap('#open-notebook');
    await page.waitForSelector('[data-character]');
    assertForFingers(await forFingers(page, '#notebook', '#notebook button, #notebook select, #notebook input'), size[0], `${what}, the notebook`);
    assert.deepEqual(page.errors, []);
    await page.close();
  }
});

test('taps and digits typed as a Japanese keyboard commits them give the desktop\'s lines', async () => {
  const typed = ['12', '104', '36', '29', '26'];
  const desktop = await openForm(shared.browser, shared.site.address);
  await typeFields(desktop, typed);
  await desktop.click(control(5000));
  const expected = await results(desktop);
  await desktop.close();

  const page = await openPhone(shared.browser, shared.site.address, PHONES[1]);
  const cdp = await page.context().newCDPSession(page);
  // A phone's keyboard composes full-width digits and commits them, with no plain input event after.
  const compose = async (number, text) => {
    await page.tap(control(number));
    await page.fill(control(number), '');
    await cdp.send('Input.imeSetComposition', { text, selectionStart: text.length, selectionEnd: text.length });
    await cdp.send('Input.insertText', { text });
  };
  await compose(2000, '１２');
  await compose(2001, '１０４');
  await page.tap(control(2002));
  await page.fill(control(2002), '');
  await page.keyboard.insertText('３５');  // committed at once
  await page.tap(`${control(3002)} button[aria-label$="を増やす"]`);
  await compose(2003, '２９');
  await page.tap(control(2004));
  await page.fill(control(2004), '26');
  await page.tap(control(5000));
  assert.deepEqual(await page.$$eval('input.field', (fields) => fields.map((f) => f.value)), typed);
  assert.deepEqual(await results(page), expected);

  await compose(2001, '－５');  // a full-width minus reads as a sign
  assert.equal(await page.inputValue(control(2001)), '-5');
  assert.deepEqual(page.errors, []);
});

// Whether the first result line is on the phone's screen (its visual viewport).
const firstLineOnScreen = () => {
  const line = document.querySelector('[data-number="1005"]').getBoundingClientRect();
  const top = visualViewport.offsetTop;
  return line.height > 0 && line.top >= top && line.bottom <= top + visualViewport.height;
};

test('on a phone the result lines come on screen after the tap, smoothly or at once, and so does an error', async () => {
  for (const [size, reducedMotion] of [[PHONES[0], 'no-preference'], [PHONES[1], 'reduce']]) {
    const page = await openForm(shared.browser, shared.site.address, { width: size[0], height: size[1] },
                                { isMobile: true, hasTouch: true, deviceScaleFactor: 3, reducedMotion });
    for (const [battles, first] of [['12', '壁進捗率: 37 ％, グラフ 0.37 目盛'], ['31', 'エラー: 戦歴数が0未満か限界以上です']]) {
      await typeFields(page, [battles, '104', '36', '29', '26']);
      // The button at the foot of the screen, as a player who has filled the fields above it sees it.
      await page.$eval(control(5000), (button) => button.scrollIntoView({ block: 'end' }));
      await page.tap(control(5000));
      await page.waitForFunction(firstLineOnScreen);
      assert.equal(await page.textContent(control(1005)), first);
      assert.equal(await page.evaluate(() => document.activeElement.dataset.number), '5000', 'the focus stays on the button');
    }
    await page.close();
  }
});

test('the page holds still while it opens, on phones and a desktop window, also with a kept roster', async () => {
  const sizes = [...PHONES.map(([w, h]) => [w, h, true]), [430, 932, true], [1280, 800, false]];
  for (const [width, height, phone, kept] of [...sizes, [360, 740, true, true]]) {
    const context = await shared.browser.newContext({ viewport: { width, height }, ...(phone ? { isMobile: true, hasTouch: true, deviceScaleFactor: 3 } : {}) });
    const page = await context.newPage();
    if (kept) {  // a roster with a long name, kept from the last visit, and the way back to the sample shown
      await page.goto(shared.site.address);
      await formReady(page);
      await openData(page, WORKED, 'キャラクター一覧_2026年12月版_最新.txt');
    }
    // Every shift, as Lighthouse counts them, from the navigation on.
    await page.addInitScript(() => {
      window.shifted = 0;
      new PerformanceObserver((list) => { for (const entry of list.getEntries()) window.shifted += entry.value; })
        .observe({ type: 'layout-shift', buffered: true });
    });
    await page.goto(shared.site.address);
    await formReady(page);
    // Settled: its fonts loaded and two frames drawn after them.
    await page.evaluate(() => document.fonts.ready.then(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)))));
    const shifted = await page.evaluate(() => window.shifted);
    assert.ok(shifted <= 0.02, `${width} x ${height}${kept ? ', a kept roster' : ''}: the layout shifted by ${shifted}`);
    await context.close();
  }
});

test('in one column each base stat stands centred under its heading; a touch screen has no word of dropping a file', async () => {
  const page = await openPhone(shared.browser, shared.site.address, PHONES[1]);
  await choose(page, 5, 'アウレリア');
  const centres = await page.evaluate(() => [1003, 1004].map((number) => {
    const label = document.querySelector(`[data-number="${number}"]`);
    const range = document.createRange();
    return [...label.childNodes].filter((node) => !/^[ \u3000]*$/.test(node.textContent)).map((node) => {
      range.selectNodeContents(node);
      const box = range.getBoundingClientRect();
      return [node.textContent, (box.left + box.right) / 2];
    });
  }));
  assert.deepEqual(centres.map((pieces) => pieces.map(([text]) => text)), [['HP', '攻', '防', '早'], ['160', '70', '54', '60']]);
  centres[1].forEach(([text, centre], i) => assert.ok(Math.abs(centre - centres[0][i][1]) <= 1, `${text} at ${centre}, its heading at ${centres[0][i][1]}`));
  assert.equal(await page.textContent(control(1004)), '160  70　54　60', 'the label\'s text as the core gives it');
  assert.equal(await page.textContent('#roster-in-use'), 'データ: サンプル');
});
