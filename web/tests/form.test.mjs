// The web page at work in a real browser: the same form as the Windows
// program, from the same core.

import { test } from 'node:test';
import assert from 'node:assert/strict';

import { browserAndSite, choose, control, EXAMPLES, fieldValues, openData, openForm, pageFolder, results, typeFields,
         WORKED } from './page.mjs';

const shared = browserAndSite();

test('the worked examples give the Windows lines and box, from a file opened with the picker', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  await openData(page, WORKED);
  for (const example of EXAMPLES) {
    await choose(page, example.rarity, example.name);
    await typeFields(page, example.typed);
    await page.click(control(5000));
    // The box's value has its CR LF line ends as the browser keeps them, LF.
    assert.deepEqual(await results(page), { lines: example.lines, box: example.lines.join('\n') }, example.name);
  }
  assert.deepEqual(page.errors, []);
});

test('it starts on 戦士 with the sample, and choosing a rarity and a name shows them', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  assert.equal(await page.$eval(control(4000), (list) => list.value), '戦士');
  assert.deepEqual(await page.$$eval(`${control(4001)} option`, (options) => options.map((o) => o.text)),
                   ['アレス', 'カイン', 'フィオナ', 'ゴードン']);
  assert.equal(await page.textContent(control(1004)), '80  30　26　22');
  assert.deepEqual(await fieldValues(page), ['0', '80', '30', '26', '22']);
  await choose(page, 5, 'アウレリア');
  assert.equal(await page.textContent(control(1004)), '160  70　54　60');
  assert.deepEqual(await fieldValues(page), ['0', '160', '70', '54', '60']);
});

test('choosing a character fills the stat fields only while the battle field reads 0', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  for (const [battles, expected] of [['5', ['5', '111', '22', '33', '44']], ['', ['0', '72', '34', '20', '28']],
                                     ['0', ['0', '72', '34', '20', '28']]]) {
    await page.selectOption(control(4001), { label: 'アレス' });
    await typeFields(page, [battles, '111', '22', '33', '44']);
    await page.selectOption(control(4001), { label: 'カイン' });
    assert.deepEqual(await fieldValues(page), expected, `battle field "${battles}"`);
  }
});

test('the HP arrows and keys step by two; the other arrows by one within their range', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  const hp = control(2001);
  const arrow = (number, up) => `${control(number)} button:nth-child(${up ? 1 : 2})`;
  await page.fill(hp, '7');
  await page.click(arrow(3001, false));
  assert.equal(await page.inputValue(hp), '5');
  await page.click(arrow(3001, true));
  await page.click(arrow(3001, true));
  assert.equal(await page.inputValue(hp), '9');
  await page.focus(hp);
  await page.keyboard.press('ArrowUp');
  assert.equal(await page.inputValue(hp), '11');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowDown');
  assert.equal(await page.inputValue(hp), '7');
  await page.fill(control(2002), '99');
  await page.click(arrow(3002, true));
  await page.click(arrow(3002, true));
  assert.equal(await page.inputValue(control(2002)), '100', 'the attack arrows stop at 100');
  await page.fill(control(2000), '0');
  await page.click(arrow(3000, false));
  assert.equal(await page.inputValue(control(2000)), '0', 'and the battle arrows at 0');
});

test('a wrong input shows only the first message, and the box keeps the last good log', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  await typeFields(page, ['10', '100', '36', '29', '26']);
  await page.click(control(5000));
  const good = (await results(page)).box;
  assert.notEqual(good, '');
  await typeFields(page, ['31', '0', '0', '0', '0']);
  await page.click(control(5000));
  assert.deepEqual(await results(page), { lines: ['エラー: 戦歴数が0未満か限界以上です', '', '', '', '', '', ''], box: good });
  // Enter and Escape in a field start nothing.
  await typeFields(page, ['10', '100', '36', '29', '99']);
  await page.focus(control(2004));
  await page.keyboard.press('Enter');
  await page.keyboard.press('Escape');
  assert.equal(await page.textContent(control(1005)), 'エラー: 戦歴数が0未満か限界以上です', 'nothing ran');
  await page.click(control(5000));
  assert.equal(await page.textContent(control(1005)), 'エラー: 素早さが初期値未満か限界以上です');
});

test('Tab follows the Windows order, the fields have names, and the focus shows', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  const menu = ['open-file', 'open-notebook', 'add-character', 'write-roster'];
  const order = [];
  for (let step = 0; step < menu.length + 9; ++step) {
    await page.keyboard.press('Tab');
    order.push(await page.evaluate(() => document.activeElement.id || Number(document.activeElement.dataset.number)));
  }
  // The menu bar's buttons first; then the form's controls in creation order, and the page's name search after the names.
  assert.deepEqual(order, [...menu, 4000, 4001, 'name-search', 2000, 2001, 2002, 2003, 2004, 5000]);
  assert.deepEqual(await page.$$eval('input.field', (fields) => fields.map((f) => f.getAttribute('aria-label'))),
                   ['戦歴', 'HP', '攻撃', '防御', '素早さ']);
  await page.focus(control(2001));
  await page.keyboard.press('Shift+Tab');
  await page.keyboard.press('Tab');
  assert.notEqual(await page.$eval(control(2001), (f) => getComputedStyle(f).outlineStyle), 'none');
});

test('a UTF-8 file lists what its CP932 twin lists, and a character CP932 lacks becomes ?', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  // As Windows converts: ～ is in CP932, 〜 and ¥ only as look-alikes, 𠮷 not at all; ≒ and ⅰ keep the codes
  // Windows writes, which decode the same.
  // U+0080 and U+F8F0 to U+F8F3 are the single bytes 80, A0, FD, FE and FF, as Windows writes them: the last
  // four, which the browser cannot decode, show as U+FFFD, not as ?.
  await openData(page, Buffer.from('\uFEFF# UTF-8 with a mark\n戦士 アレス 80 30 26 22\n戦士 ～〜¥𠮷≒ⅰ 1 2 3 4\n' +
                                   '戦士 \u0080\uF8F0\uF8F1\uF8F2\uF8F3 1 2 3 4\n', 'utf8'));
  assert.deepEqual(await page.$$eval(`${control(4001)} option`, (options) => options.map((o) => o.text)),
                   ['アレス', '～???≒ⅰ', '\u0080\uFFFD\uFFFD\uFFFD\uFFFD']);
  assert.equal(await page.textContent(control(1004)), '80  30　26　22');
});

test('a file that fails half-way shows the failure, naming the file as it is, in a dialog and keeps the roster', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  await page.evaluate(() => {
    let pulls = 0;  // one piece of 70,000 bytes, then the file is gone
    File.prototype.stream = () => new ReadableStream({ pull: (c) => (pulls++ === 0 ? c.enqueue(new Uint8Array(70000).fill(0x41))
                                                                                    : c.error(new DOMException('gone', 'NotFoundError'))) });
  });
  // Named as it is, whatever it holds: $& and $' are no patterns here.
  for (const name of ['名簿.txt', "a$&b$'c.txt"]) {
    await page.setInputFiles('#file-input', { name, mimeType: 'text/plain', buffer: WORKED });
    await page.waitForSelector('#failure[open]');
    assert.equal(await page.textContent('#failure-caption'), 'error!!');
    assert.equal(await page.textContent('#failure-text'), `file:${name} 読み込み失敗`);
    await page.click('#failure-ok');
    assert.equal(await page.$('#failure[open]'), null);
  }
  assert.equal(await page.$eval(control(4001), (list) => list.options.length), 4, 'the sample is still there');
});

test('a read that never ends is given up, and the file is read on from the byte it had reached', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  await page.evaluate(() => {
    // As Chromium's file streams now and then do: the first 10 bytes (上兵 half, and a space), then nothing.
    File.prototype.stream = function () {
      let pulls = 0;
      return new ReadableStream({ type: 'bytes', pull: async (c) => (pulls++ === 0 ? c.enqueue(new Uint8Array(await this.slice(0, 10).arrayBuffer()))
                                                                                  : new Promise(() => {})) });
    };
  });
  await openData(page, WORKED);
  for (const example of EXAMPLES) {
    await choose(page, example.rarity, example.name);
    await typeFields(page, example.typed);
    await page.click(control(5000));
    assert.deepEqual((await results(page)).lines, example.lines, example.name);
  }
});

test('a wide screen shows the whole Windows form and the chart without scrolling, also from a local folder', async () => {
  const page = await openForm(shared.browser, `file://${pageFolder}index.html`);
  const fits = await page.evaluate(() => ['window', 'growth-chart'].every((id) => {
    const box = document.getElementById(id).getBoundingClientRect();
    const scroller = document.scrollingElement;
    return box.left >= 0 && box.top >= 0 && box.right <= innerWidth + 0.5 && box.bottom <= innerHeight + 0.5 &&
      scroller.scrollWidth <= innerWidth && scroller.scrollHeight <= innerHeight;
  }));
  assert.ok(fits);
  await typeFields(page, ['12', '104', '36', '29', '26']);
  await page.click(control(5000));
  assert.equal((await results(page)).lines[0], '壁進捗率: 37 ％, グラフ 0.37 目盛');
  await page.close();
});

test('browser zoom enlarges the text: at 200 % the result lines are at least 1.5 times as large', async () => {
  // Zoom at 200 % lays a 1280 x 800 window out as 640 x 400 at twice the pixels.
  const devicePixels = [];
  for (const [viewport, zoom] of [[{ width: 1280, height: 800 }, 1], [{ width: 640, height: 400 }, 2]]) {
    const page = await openForm(shared.browser, shared.site.address, viewport, { deviceScaleFactor: zoom });
    await typeFields(page, ['12', '104', '36', '29', '26']);
    await page.click(control(5000));
    devicePixels.push(await page.$eval(control(1005), (line, zoom) => {
      const app = document.getElementById('app');
      return parseFloat(getComputedStyle(line).fontSize) * app.getBoundingClientRect().width / app.offsetWidth * zoom;
    }, zoom));
    await page.close();
  }
  assert.ok(devicePixels[1] >= 1.5 * devicePixels[0], `${devicePixels[1]} device px at 200 %, ${devicePixels[0]} at 100 %`);
});

test('where the core cannot start, the page says so in its dialog', async () => {
  const page = await shared.browser.newPage();
  await page.route('**/growth_core.js', (route) => route.abort());
  await page.goto(shared.site.address);
  await page.waitForSelector('body[data-start-failed]', { state: 'attached' });
  assert.equal(await page.textContent('#failure-caption'), '起動できませんでした');
  assert.match(await page.textContent('#failure-text'), /WebAssembly/);
  assert.equal(await page.isVisible('#failure'), true);
  await page.close();
});
