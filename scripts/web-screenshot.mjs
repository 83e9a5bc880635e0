// Takes docs/screenshot-web.png: the web page (build/web) in headless
// Chromium after a calculation, as scripts/screenshot.sh does for Windows.
// Run: node scripts/web-screenshot.mjs (after ./scripts/web.sh or the test command has built build/web).

import { fileURLToPath } from 'node:url';

const { control, launchBrowser, openForm, servePage, typeFields } = await import(new URL('../web/tests/page.mjs', import.meta.url));
const output = fileURLToPath(new URL('../docs/screenshot-web.png', import.meta.url));

const site = await servePage();
const browser = await launchBrowser();
try {
  const page = await openForm(browser, site.address, { width: 1060, height: 610 });
  await typeFields(page, ['12', '104', '36', '29', '26']);
  await page.click(control(5000));
  await page.focus(control(2001));
  await page.screenshot({ path: output });
  console.log(`Saved ${output}`);
} finally {
  await browser.close();
  site.server.close();
}
