// A check shared as a link and as a picture: the same lines on the other
// device, whatever its roster; broken links harmless; a PNG to share.

import { test } from 'node:test';
import assert from 'node:assert/strict';

import { browserAndSite, control, fieldValues, openData, openForm, openPhone, PHONES, results, typeFields } from './page.mjs';

const shared = browserAndSite();

// A check of `name` (a roster of its own, in a UTF-8 file) on a desktop
// page whose clipboard may be written; resolves to its link and its lines.
async function shareFrom(name, typed, base = '100 20 20 20') {
  const context = await shared.browser.newContext({ viewport: { width: 1280, height: 800 }, permissions: ['clipboard-read', 'clipboard-write'] });
  const page = await context.newPage();
  await page.goto(shared.site.address);
  await page.waitForSelector('body[data-ready="true"]', { state: 'attached' });
  await openData(page, Buffer.from(`戦士 ${name} ${base}\n`));
  assert.equal(await page.isDisabled('#share-check'), true, 'nothing to share before a check');
  await typeFields(page, typed);
  await page.click(control(5000));
  await page.click('#share-check');
  await page.waitForSelector('#share-note:not([hidden])');
  const link = await page.getAttribute('#share-link', 'href');
  assert.equal(await page.evaluate(() => navigator.clipboard.readText()), link);
  assert.match(await page.textContent('#share-note'), /コピーしました/);
  const { lines } = await results(page);
  await context.close();
  return { link, lines };
}
const sharedLines = (page) => page.$$eval('#shared-check [data-line]', (all) => all.map((line) => line.textContent));
const kept = (page) => page.evaluate(() => new Promise((resolve) => {
  const request = indexedDB.open('growth-check');
  request.onsuccess = () => {
    const count = request.result.transaction('histories').objectStore('histories').count();
    count.onsuccess = () => { request.result.close(); resolve(count.result); };
  };
}));

test('a check of a character only the sharer has shows the same lines on a phone with the sample, keeping nothing', async () => {
  const { link, lines } = await shareFrom('ひみつ', ['12', '120', '25', '22', '21']);
  const phone = await openPhone(shared.browser, link, PHONES[1]);
  await phone.waitForSelector('#shared-check:not([hidden])');
  assert.deepEqual(await sharedLines(phone), lines);
  assert.equal(await phone.textContent('#shared-character'), '戦士 ひみつ（初期値 100 20 20 20）');
  assert.equal(await phone.isVisible('#take-shared'), false, 'the sample has no such character');
  assert.equal(await phone.locator('#shared-chart .chart-row[data-now="20.0"]').count(), 1, 'its chart');
  assert.equal(await kept(phone), 0, 'nothing kept');
  await phone.tap('#close-shared');
  assert.equal(await phone.textContent('#roster-in-use'), 'データ: サンプル');
  assert.deepEqual(await fieldValues(phone), ['0', '80', '30', '26', '22'], 'the form as it was');
  assert.equal(new URL(phone.url()).hash, '');
  assert.deepEqual(phone.errors, []);

  // One of a character the sample holds can be taken into the form.
  const { link: known } = await shareFrom('アレス', ['12', '104', '36', '29', '26'], '80 30 26 22');
  await phone.goto(known);
  await phone.waitForSelector('#take-shared:not([hidden])');
  await phone.tap('#take-shared');
  await phone.waitForSelector('#shared-check', { state: 'hidden' });
  assert.deepEqual(await fieldValues(phone), ['12', '104', '36', '29', '26']);
});

test('names with # & ? % / and of 98 bytes make links of at most 2,000 characters that show the same lines', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  for (const name of ['a#b&c?d%e/f＃％＆', 'ア'.repeat(49), '%'.repeat(98)]) {
    const { link, lines } = await shareFrom(name, ['3', '110', '21', '20', '20']);
    assert.ok(link.length <= 2000, `${link.length} characters`);
    await page.goto(link);
    await page.waitForSelector('#shared-check:not([hidden])');
    assert.equal(await page.textContent('#shared-character'), `戦士 ${name}（初期値 100 20 20 20）`);
    assert.deepEqual(await sharedLines(page), lines, name);
  }
});

test('a link cut short, edited or made up breaks nothing: the page says so, or shows the check\'s error, and the form works', async () => {
  const { link } = await shareFrom('アレス', ['12', '104', '36', '29', '26'], '80 30 26 22');
  const refused = `${shared.site.address}#check&v=1&r=2&b=80,30,26,22&t=31,104,36,29,26&n=x&end`;  // made before checksums
  for (const [broken, says] of [[link.slice(0, -6), 'unread'], [link.replace('t=12,', 't=14,'), 'unread'], [refused, 'エラー: 戦歴数が0未満か限界以上です'],
                                [`${shared.site.address}#check&v=1&r=9&b=x`, 'unread'], [`${shared.site.address}#check&${'%'.repeat(5000)}`, 'unread']]) {
    const page = await openForm(shared.browser, broken);
    await page.waitForSelector('#shared-check:not([hidden])');
    if (says === 'unread') assert.equal(await page.isVisible('#shared-error'), true, broken);
    else assert.deepEqual(await sharedLines(page), [says, '', '', '', '', '', '']);
    await page.click('#close-shared');
    await typeFields(page, ['12', '104', '36', '29', '26']);
    await page.click(control(5000));
    assert.equal((await results(page)).lines[0], '壁進捗率: 37 ％, グラフ 0.37 目盛');
    assert.deepEqual(page.errors, []);
    await page.close();
  }
});

test('the picture is a PNG at twice its size, under 1.5 MB; on a phone the link and the picture go to the share sheet', async () => {
  const page = await openPhone(shared.browser, shared.site.address, PHONES[1]);
  await page.evaluate(() => {
    window.handed = [];
    navigator.canShare = (data) => Boolean(data.files);
    navigator.share = async (data) => {
      const file = data.files && data.files[0];
      const picture = file && await createImageBitmap(file);
      window.handed.push(file ? { name: file.name, type: file.type, bytes: file.size, width: picture.width, height: picture.height }
                              : { url: data.url, text: data.text });
    };
  });
  await typeFields(page, ['12', '104', '36', '29', '26']);
  await page.tap(control(5000));
  await page.tap('#share-check');
  await page.tap('#share-image');
  await page.waitForFunction(() => window.handed.length === 2);
  const [link, picture] = await page.evaluate(() => window.handed);
  assert.match(link.url, /#check&v=2&r=2&b=80,30,26,22&t=12,104,36,29,26&n=%E3%82%A2%E3%83%AC%E3%82%B9&c=\w+&end$/);
  assert.equal(link.text, '戦士 アレス: 壁進捗率: 37 ％, グラフ 0.37 目盛');
  assert.equal(picture.type, 'image/png');
  assert.ok(picture.width >= 600 && picture.width % 2 === 0 && picture.height > picture.width, `${picture.width} x ${picture.height}`);
  assert.ok(picture.bytes <= 1.5 * 1024 * 1024, `${picture.bytes} bytes`);
  assert.match(await page.textContent('#share-note'), /共有しました/);
});

test('a desktop copies the link even where the browser has a share dialog, and a picture that cannot be made says so', async () => {
  const context = await shared.browser.newContext({ viewport: { width: 1280, height: 800 }, permissions: ['clipboard-read', 'clipboard-write'] });
  const page = await context.newPage();
  await page.addInitScript(() => {
    window.sharedWith = 0;
    navigator.share = async () => { window.sharedWith += 1; };
    navigator.canShare = () => true;
  });
  await page.goto(shared.site.address);
  await page.waitForSelector('body[data-ready="true"]', { state: 'attached' });
  await typeFields(page, ['12', '104', '36', '29', '26']);
  await page.click(control(5000));
  await page.click('#share-check');
  await page.waitForSelector('#share-note:not([hidden])');
  assert.match(await page.textContent('#share-note'), /コピーしました/);
  assert.equal(await page.evaluate(() => navigator.clipboard.readText()), await page.getAttribute('#share-link', 'href'));

  await page.evaluate(() => { HTMLCanvasElement.prototype.toBlob = (done) => done(null); });
  await page.click('#share-image');
  await page.waitForFunction(() => document.getElementById('share-said').textContent.includes('画像を作れませんでした'));
  assert.equal(await page.isVisible('#share-link'), false, 'the last link\'s word is gone');
  assert.equal(await page.evaluate(() => window.sharedWith), 0, 'no share dialog on a desktop');
  await context.close();
});
