// The page for assistive technology: a main landmark and a heading, the
// frames as named groups, the result lines in one live region, a focus ring
// that shows on every background, and nothing that axe-core objects to.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';

import { browserAndSite, control, openForm, openPhone, PHONES, typeFields } from './page.mjs';

const shared = browserAndSite();
const AXE = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
const RULES = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa', 'best-practice'];
const FRAMES = {
  キャラクター選択: [1001, 4000, 1003, 1004, 4001],
  現ステータス入力: [1002, 2000, 3000, 2001, 3001, 2002, 3002, 2003, 3003, 2004, 3004, 5000],
  結果表示: [1005, 1006, 1007, 1008, 1009, 1010, 1011, 7000],
};
const PHOTO = Buffer.from([0xff, 0xd8, 0xff, 0xe0, 0x00, 0x10, 0x4a, 0x46, 0x49, 0x46, 0x00, 0x01]);

const opened = [['1280 x 800', (address) => openForm(shared.browser, address)],
                ['a 390 x 844 phone', (address) => openPhone(shared.browser, address, PHONES[1])]];

test('axe-core finds no violation, on a wide screen and on a phone: loaded, calculated, with an error and with the failure dialog', async () => {
  for (const [where, open] of opened) {
    const page = await open(shared.site.address);
    await page.evaluate(AXE);
    const audit = async (state) => {
      const { violations } = await page.evaluate((tags) => axe.run(document, { runOnly: { type: 'tag', values: tags } }), RULES);
      assert.deepEqual(violations.map((v) => `${v.id}: ${v.nodes.map((node) => node.target.join(' ')).join(', ')}`), [], `${where}, ${state}`);
    };
    await audit('loaded');
    await typeFields(page, ['12', '104', '36', '29', '26']);
    await page.click(control(5000));
    await audit('calculated');
    await typeFields(page, ['12', '104', '36', '29', '99']);
    await page.click(control(5000));
    await audit('with an error');
    await page.setInputFiles('#file-input', { name: 'photo.jpg', mimeType: 'image/jpeg', buffer: PHOTO });
    await page.waitForSelector('#failure[open]');
    await audit('with the failure dialog');
    await page.close();
  }
});

// The contrast ratio of two CSS colours "rgb(r, g, b)".
function contrast(a, b) {
  const luminance = (colour) => {
    const [r, g, b] = colour.match(/[\d.]+/g).slice(0, 3).map((v) => v / 255)
      .map((v) => (v <= 0.03928 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4));
    return 0.2126 * r + 0.7152 * g + 0.0722 * b;
  };
  const [light, dark] = [luminance(a), luminance(b)].sort((x, y) => y - x);
  return (light + 0.05) / (dark + 0.05);
}

test('a main landmark, the title as the heading, the frames as groups, one live region for the lines, a focus ring that shows', async () => {
  for (const [where, open] of opened) {
    const page = await open(shared.site.address);
    assert.equal(await page.locator('main').count(), 1, where);
    assert.equal(await page.getByRole('heading', { level: 1 }).textContent(), await page.title(), where);
    for (const [caption, numbers] of Object.entries(FRAMES)) {
      const held = await page.getByRole('group', { name: caption }).locator('[data-number]').evaluateAll((all) => all.map((e) => Number(e.dataset.number)));
      assert.deepEqual(held.sort(), [...numbers].sort(), `${where}: ${caption}`);
    }
    // The seven lines are announced together, and the box, which repeats them, is not.
    const live = await page.$$eval('#form [aria-live]', (regions) => regions.map((region) =>
      [...region.querySelectorAll('[data-number]')].map((e) => Number(e.dataset.number))));
    assert.deepEqual(live, [[1005, 1006, 1007, 1008, 1011, 1009, 1010]], where);

    // Every stop of the Tab key, and the background its ring is drawn on.
    const rings = [];
    for (let step = 0; step < 11; ++step) {
      await page.keyboard.press('Tab');
      rings.push(await page.evaluate(() => {
        const focused = document.activeElement;
        let behind = focused.parentElement;
        while (getComputedStyle(behind).backgroundColor.endsWith(', 0)') && behind.parentElement) behind = behind.parentElement;
        return [focused.id || focused.dataset.number, getComputedStyle(focused).outlineColor, getComputedStyle(behind).backgroundColor];
      }));
    }
    for (const [what, ring, background] of rings) {
      assert.ok(contrast(ring, background) >= 3, `${where}: the ring of ${what}, ${ring} on ${background}`);
    }
    await page.close();
  }
});
