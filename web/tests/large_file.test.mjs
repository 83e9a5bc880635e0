// A 400 MB data file with one long line, read in bounded memory: made in a
// temporary folder for the test, never kept.

import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { closeSync, mkdtempSync, openSync, readdirSync, readFileSync, rmSync, writeFileSync, writeSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

import { control, formReady, launchProfile, results, servePage, typeFields } from './page.mjs';

const temporary = mkdtempSync(join(tmpdir(), 'growth-large-'));
const MB = 1024 * 1024;
let site;
before(async () => { site = await servePage(); });
after(() => {
  site?.server.close();
  rmSync(temporary, { recursive: true, force: true });
});

// 戦士 (CP932), a space, then 400 MiB of A, and one more character after it.
function largeFile() {
  const path = join(temporary, 'chardata.txt');
  const file = openSync(path, 'w');
  writeSync(file, Buffer.from([0x90, 0xed, 0x8e, 0x6d, 0x20]));
  const block = Buffer.alloc(4 * MB, 'A');
  for (let i = 0; i < 100; ++i) writeSync(file, block);
  writeSync(file, Buffer.from(' 100 20 20 20\r\n\x90\xed\x8e\x6d after 100 20 20 20\r\n', 'latin1'));
  closeSync(file);
  return path;
}

// The browser's renderer processes: those below the browser started with `profile`.
function renderers(profile) {
  const processes = readdirSync('/proc').filter((name) => /^\d+$/.test(name)).map((pid) => {
    try {
      const stat = readFileSync(`/proc/${pid}/stat`, 'utf8');
      return { pid, parent: stat.slice(stat.lastIndexOf(')') + 2).split(' ')[1], command: readFileSync(`/proc/${pid}/cmdline`, 'utf8') };
    } catch {
      return null;
    }
  }).filter(Boolean);
  const ours = new Set(processes.filter((p) => p.command.includes(profile) && !p.command.includes('--type=')).map((p) => p.pid));
  for (let grown = true; grown;) {
    grown = false;
    for (const p of processes) if (!ours.has(p.pid) && ours.has(p.parent)) { ours.add(p.pid); grown = true; }
  }
  return processes.filter((p) => ours.has(p.pid) && p.command.includes('--type=renderer')).map((p) => p.pid);
}
const memoryKb = (pid, field) => Number(readFileSync(`/proc/${pid}/status`, 'utf8').match(new RegExp(`${field}:\\s+(\\d+)`))[1]);

test('a 400 MB file is read in bounded memory, with progress, and the form answers afterwards', async (t) => {
  const path = largeFile();
  const profile = join(temporary, 'profile');
  const context = await launchProfile(profile);
  try {
    const page = context.pages()[0] || await context.newPage();
    await page.goto(site.address);
    await formReady(page);
    // Each renderer's peak is set back to what it holds now (clear_refs 5), so the peak read after is the reading's.
    const pids = renderers(profile);
    assert.ok(pids.length > 0, 'the renderers are found');
    const before = new Map(pids.map((pid) => {
      writeFileSync(`/proc/${pid}/clear_refs`, '5');
      return [pid, memoryKb(pid, 'VmRSS')];
    }));
    const wasmBefore = await page.evaluate(() => document.body.dataset.wasmBytes);

    await page.setInputFiles('#file-input', path);
    await page.waitForSelector('#reading:not([hidden])', { timeout: 60000 });
    await page.waitForFunction(() => document.body.dataset.loads === '1', null, { timeout: 120000 });

    const growthMb = Math.max(...pids.map((pid) => memoryKb(pid, 'VmHWM') - before.get(pid))) / 1024;
    t.diagnostic(`renderer peak growth ${growthMb.toFixed(1)} MB, read in ${await page.getAttribute('body', 'data-listed-in')} ms`);
    assert.ok(growthMb <= 64, `the renderer's peak grew by ${growthMb.toFixed(1)} MB`);
    assert.equal(await page.evaluate(() => document.body.dataset.wasmBytes), wasmBefore, 'the WebAssembly memory did not grow');
    assert.equal(await page.getAttribute('#roster-in-use', 'data-keeping'), 'too-large');
    assert.equal(await page.$eval(control(4001), (list) => list.options[1].text), 'after');
    await typeFields(page, ['10', '120', '25', '22', '21']);
    await page.click(control(5000));
    assert.equal((await results(page)).lines[0], '壁進捗率: 28 ％, グラフ 0.28 目盛');
  } finally {
    await context.close();
  }
});
