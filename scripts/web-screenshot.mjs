// Takes the web page's screenshots (build/web, in headless Chromium, after a
// calculation), as scripts/screenshot.sh does for Windows:
// docs/screenshot-web.png on a wide screen, docs/screenshot-web-phone.png
// on a 390 x 844 phone under mobile emulation, the whole page,
// docs/screenshot-notebook.png, a character's history after three checks,
// and docs/share-picture.png, the picture the page makes of a check to share.
// Run: node scripts/web-screenshot.mjs (after ./scripts/web.sh or the test command has built build/web).

import { copyFile } from 'node:fs/promises';
import { fileURLToPath } from 'node:url';

const { control, launchBrowser, openForm, servePage, typeFields } = await import(new URL('../web/tests/page.mjs', import.meta.url));
const docs = (name) => fileURLToPath(new URL(`../docs/${name}`, import.meta.url));

const site = await servePage();
const browser = await launchBrowser();
try {
  for (const [name, viewport, options, focus] of [
    ['screenshot-web.png', { width: 1060, height: 610 }, {}, control(2001)],
    ['screenshot-web-phone.png', { width: 390, height: 844 }, { isMobile: true, hasTouch: true, deviceScaleFactor: 2 }, null]]) {
    const page = await openForm(browser, site.address, viewport, options);
    await typeFields(page, ['12', '104', '36', '29', '26']);
    await page.click(control(5000));
    if (focus) await page.focus(focus);
    await page.screenshot({ path: docs(name), fullPage: !focus });
    console.log(`Saved ${docs(name)}`);
    await page.close();
  }

  const page = await openForm(browser, site.address, { width: 900, height: 760 });
  for (const [keeps, typed] of [['5', '90', '32', '27', '23'], ['10', '100', '36', '29', '26'], ['20', '120', '40', '32', '30']].entries()) {
    await typeFields(page, typed);
    await page.click(control(5000));
    await page.waitForFunction((keeps) => Number(document.body.dataset.keeps) === keeps + 1, keeps);
  }
  await page.click('#open-notebook');
  await page.click('[data-character] [data-action="history"]');
  await page.waitForSelector('[data-check]');
  await page.screenshot({ path: docs('screenshot-notebook.png') });
  console.log(`Saved ${docs('screenshot-notebook.png')}`);

  await page.click('#close-notebook');
  const [picture] = await Promise.all([page.waitForEvent('download'), page.click('#share-image')]);
  await copyFile(await picture.path(), docs('share-picture.png'));
  console.log(`Saved ${docs('share-picture.png')}`);
} finally {
  await browser.close();
  site.server.close();
}
