// The page's code in its rooms: one bridge to the core, one writer of what
// the tests read, short files, every script in the list.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';

import { SCRIPTS } from './scripts.mjs';

const web = fileURLToPath(new URL('../../', import.meta.url));
const scripts = ['core', 'form', 'notebook', 'share', 'app', 'shared'].flatMap((folder) =>
  readdirSync(join(web, folder)).filter((file) => file.endsWith('.js')).map((file) => `${folder}/${file}`));

test('every script of the rooms is in page_scripts.txt, which names no file that is not there', () => {
  const listed = SCRIPTS.filter(({ generated }) => !generated).map(({ path }) => path);
  assert.deepEqual([...scripts].sort(), [...listed].sort());
});

test('only core/ reaches into the core, only app/probe.js writes the body\'s data, no script is over 350 lines', () => {
  for (const script of scripts) {
    const text = readFileSync(join(web, script), 'utf8');
    if (!script.startsWith('core/')) assert.doesNotMatch(text, /HEAPU8|\._[a-zA-Z]+\(/, `${script} calls the core itself`);
    if (script !== 'app/probe.js') assert.doesNotMatch(text, /body\.dataset/, `${script} writes the body's data`);
    assert.ok(text.split('\n').length <= 350, `${script} has ${text.split('\n').length} lines`);
  }
});
