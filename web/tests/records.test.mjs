// The player's records kept safe: the notebook through a real spreadsheet
// (LibreOffice Calc) and back, the same in every open tab, the browser
// asked to keep it, and a phone's share sheet handed the export.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';

import { browserAndSite, calculate, control, openData, openForm, openPhone, PHONES, throughSpreadsheet, typeFields } from './page.mjs';

const shared = browserAndSite();

const status = (page) => page.textContent('#notebook-status');
async function exported(page) {
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#notebook-export')]);
  return readFileSync(await download.path());
}
async function importFile(page, name, buffer) {
  await page.setInputFiles('#notebook-import', { name, mimeType: 'text/csv', buffer });
  await page.waitForFunction((name) => document.getElementById('notebook-status').textContent.includes(name), name);
  return status(page);
}
async function clearNotebook(page) {
  if (await page.isVisible('#notebook-clear')) {  // an empty notebook offers nothing to delete
    await page.click('#notebook-clear');
    await page.click('#confirm-delete [data-action="confirm"]');
  }
  await page.waitForSelector('#notebook-empty:not([hidden])');
}

test('the export saved again by a spreadsheet, in UTF-8 and in Shift_JIS, imports as the same notebook, and again doubles nothing', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  // Names CSV quotes, one a spreadsheet would run as a formula, and one it would take for a number.
  await openData(page, Buffer.from('戦士 a,"b" 100 20 20 20\n戦士 =1+1 100 20 20 20\n戦士 0012 80 30 26 22\n戦士 アレス 80 30 26 22\n'));
  for (const [name, typed] of [['a,"b"', ['3', '110', '25', '20', '21']], ['=1+1', ['0', '100', '20', '20', '20']],
                               ['0012', ['1', '80', '30', '26', '22']], ['アレス', ['12', '104', '36', '29', '26']],
                               ['アレス', ['20', '120', '40', '32', '30']]]) {
    await page.selectOption(control(4001), { label: name });
    await calculate(page, typed);
  }
  // Less attack than at 12 battles: another unit of アレス, whose 個体 the spreadsheet must keep.
  await calculate(page, ['14', '106', '35', '30', '27']);
  await page.click('#unit-question [data-action="new-unit"]');
  await page.waitForFunction(() => document.body.dataset.keeps === '7');  // settled when asked, and when kept
  await page.click('#open-notebook');
  const original = await exported(page);
  for (const [encoding, charset] of [['UTF-8', 76], ['Shift_JIS', 64]]) {
    const resaved = throughSpreadsheet(original, charset);
    assert.ok(resaved.includes(',37,0.37,24,30,6,'), `${encoding}: the spreadsheet rewrote 30.0 as 30`);
    await clearNotebook(page);
    assert.match(await importFile(page, `${encoding}.csv`, resaved), /6 件の記録を読み込みました。$/, encoding);
    assert.deepEqual(await exported(page), original, `${encoding}: the same notebook`);
    assert.match(await importFile(page, `again-${encoding}.csv`, resaved), /6 件の記録を読み込みました（うち 6 件は記録済み）。/);
    assert.deepEqual(await exported(page), original, `${encoding}: nothing doubled`);
  }

  // No room half-way through: the notebook stays as it was, and says so.
  await page.evaluate(() => {
    const put = IDBObjectStore.prototype.put;
    let puts = 0;
    IDBObjectStore.prototype.put = function (...args) {
      if (++puts === 3) throw new DOMException('no room', 'QuotaExceededError');
      return put.apply(this, args);
    };
  });
  await clearNotebook(page);
  assert.match(await importFile(page, 'full.csv', original), /空き容量がないため「full\.csv」を読み込めませんでした。記録は読み込む前のままです。/);
  assert.equal(await page.locator('[data-character]').count(), 0, 'none of it kept');
  await page.reload();  // the notebook, shown again
  await page.waitForSelector('#notebook:not([hidden])');

  // Edited in the spreadsheet: one row's HP below its base, another's figures made up.
  const lines = throughSpreadsheet(original, 76).toString('utf8').split('\n');
  const fields = (line) => line.split(/,(?=(?:[^"]*"[^"]*")*[^"]*$)/);
  const edit = (line, changes) => fields(line).map((field, i) => (i in changes ? changes[i] : field)).join(',');
  lines[4] = edit(lines[4], { 9: '70' });                // アレス at 12 battles: HP 70 < 80
  lines[5] = edit(lines[5], { 13: '99', 14: '0.99' });   // アレス at 20 battles: progress made up
  await clearNotebook(page);
  const said = await importFile(page, 'edited.csv', Buffer.from(lines.join('\n')));
  assert.ok(said.includes('5 件') && said.includes('5 行目（エラー: HPが初期値未満か限界以上です）'), said);
  assert.equal(await page.getAttribute('[data-character][data-name="アレス"][data-unit="1"]', 'data-progress'), '64', 'the progress computed again');
});

test('two tabs: a check kept in one shows in the other\'s open notebook, where a closed history stays closed; deleting all in one empties the other; none is lost', async () => {
  const context = await shared.browser.newContext({ viewport: { width: 1280, height: 800 } });
  try {
    const [first, second] = [await context.newPage(), await context.newPage()];
    for (const page of [first, second]) {
      await page.goto(shared.site.address);
      await page.waitForSelector('body[data-ready="true"]', { state: 'attached' });
    }
    await first.click('#open-notebook');
    await first.waitForSelector('#notebook-empty:not([hidden])');
    await calculate(second, ['12', '104', '36', '29', '26']);
    await first.waitForSelector('[data-character][data-name="アレス"][data-battles="12"]');

    // Both keep checks at once: every one arrives.
    await second.selectOption(control(4001), { label: 'カイン' });
    await first.click('#close-notebook');
    const keepMany = (page, hps) => page.evaluate(async (hps) => {
      // Each check's keeping settled, as the body's count of them changes.
      const settled = () => new Promise((resolve) => {
        const watch = new MutationObserver(() => { watch.disconnect(); resolve(); });
        watch.observe(document.body, { attributeFilter: ['data-keeps'] });
      });
      for (const [i, hp] of hps.entries()) {  // a battle more each time, as a unit grows
        const kept = settled();
        document.querySelector('[data-number="2000"]').value = String(i + 1);
        document.querySelector('[data-number="2001"]').value = String(hp);
        document.querySelector('[data-number="5000"]').click();
        if (document.querySelector('[data-number="1005"]').textContent.startsWith('エラー')) throw new Error(`HP ${hp} fails`);
        await kept;
      }
    }, hps);
    await typeFields(first, ['1', '80', '30', '26', '22']);   // アレス
    await typeFields(second, ['1', '72', '34', '20', '28']);  // カイン
    await Promise.all([keepMany(first, [81, 82, 83, 84, 85, 86]), keepMany(second, [73, 74, 75, 76, 77, 78])]);
    await first.click('#open-notebook');
    for (const name of ['アレス', 'カイン']) {
      await first.click(`[data-character][data-name="${name}"] [data-action="history"]`);
      await first.waitForFunction((count) => document.querySelectorAll('[data-check]').length === count, name === 'アレス' ? 7 : 6);
      await first.click('#close-history');
    }
    // Another tab keeps a check: the history closed stays closed.
    await calculate(second, ['7', '80', '34', '20', '28']);
    await first.waitForSelector('[data-character][data-name="カイン"][data-battles="7"]');
    assert.equal(await first.isVisible('#notebook-history'), false, 'the closed history stays closed');

    await second.click('#open-notebook');
    await clearNotebook(second);
    await first.waitForSelector('#notebook-empty:not([hidden])');
    assert.equal(await first.locator('[data-character]').count(), 0);
  } finally {
    await context.close();
  }
});

test('a row another tab deleted says so and changes nothing; the browser is asked to keep the records, and the last export is shown', async () => {
  const page = await openForm(shared.browser, shared.site.address);
  await page.evaluate(() => {
    window.persistAsked = 0;
    navigator.storage.persist = async () => { window.persistAsked += 1; return false; };
  });
  await calculate(page, ['12', '104', '36', '29', '26']);
  await calculate(page, ['20', '120', '40', '32', '30']);
  assert.equal(await page.evaluate(() => window.persistAsked), 1, 'asked once, when the first check was kept');
  await page.click('#open-notebook');
  await page.waitForSelector('[data-character]');
  const safety = () => page.$eval('#notebook-storage', (p) => ({ ...p.dataset, text: p.textContent }));
  assert.deepEqual((({ persisted, exportedAt }) => ({ persisted, exportedAt }))(await safety()), { persisted: 'false', exportedAt: '' });
  assert.match((await safety()).text, /インストール.*書き出して/);
  await exported(page);
  await page.waitForFunction(() => document.getElementById('notebook-storage').dataset.exportedAt !== '');
  await page.click('#close-notebook');
  await calculate(page, ['25', '130', '40', '32', '30']);
  await page.reload();
  await page.waitForSelector('body[data-ready="true"]', { state: 'attached' });
  await page.click('#open-notebook');
  await page.waitForFunction(() => document.getElementById('notebook-storage').dataset.keptSince === '1');
  assert.match((await safety()).text, /最後の書き出し: .*その後の記録 1 件/);

  // Another tab deletes the character; its word has not come yet when the player acts on the row.
  const deleteElsewhere = () => page.evaluate(() => new Promise((resolve) => {
    const request = indexedDB.open('growth-check');
    request.onsuccess = () => {
      const transaction = request.result.transaction(['histories', 'characters'], 'readwrite');
      for (const store of ['histories', 'characters']) transaction.objectStore(store).clear();
      transaction.oncomplete = () => { request.result.close(); resolve(); };
    };
  }));
  for (const [i, action] of ['history', 'choose', 'delete'].entries()) {
    await deleteElsewhere();
    await page.click(`[data-character] [data-action="${action}"]`);
    if (action === 'delete') await page.click('#confirm-delete [data-action="confirm"]');
    await page.waitForFunction(() => document.getElementById('notebook-status').textContent.includes('ほかのタブで削除'));
    assert.equal(await page.isVisible('#notebook'), true, action);
    await page.evaluate(() => { document.getElementById('notebook-status').textContent = ''; });
    await page.click('#close-notebook');
    await calculate(page, ['26', String(132 + 2 * i), '40', '32', '30']);  // a row to act on again
    await page.click('#open-notebook');
    await page.waitForSelector('[data-character]');
  }
});

test('on a phone the export goes to the share sheet as one CSV file', async () => {
  const page = await openPhone(shared.browser, shared.site.address, PHONES[1]);
  await page.evaluate(() => {
    navigator.canShare = (data) => Boolean(data.files && data.files.length === 1);
    navigator.share = async ({ files: [file] }) => {
      window.shared = { name: file.name, type: file.type, text: new TextDecoder('utf-8', { ignoreBOM: true }).decode(await file.arrayBuffer()) };
    };
  });
  await calculate(page, ['12', '104', '36', '29', '26']);
  await page.tap('#open-notebook');
  await page.waitForSelector('[data-character]');
  await page.tap('#notebook-export');
  await page.waitForFunction(() => window.shared);
  const handed = await page.evaluate(() => window.shared);
  assert.match(handed.name, /^成長確認の記録-\d{4}-\d\d-\d\d\.csv$/);
  assert.equal(handed.type, 'text/csv');
  const lines = handed.text.split('\r\n');
  assert.ok(lines[0].startsWith('\uFEFF日時,データ,') && lines[1].includes(',アレス,80,30,26,22,12,104,36,29,26,37,'), handed.text);
});
