// The page's code in its rooms: one bridge to the core, one writer of what
// the tests read, short files, each global named after its file.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readdirSync, readFileSync } from 'node:fs';
import { basename, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const web = fileURLToPath(new URL('../../', import.meta.url));
const scripts = ['core', 'form', 'notebook', 'share', 'app', 'shared'].flatMap((folder) =>
  readdirSync(join(web, folder)).filter((file) => file.endsWith('.js')).map((file) => `${folder}/${file}`));

test('only core/ reaches into the core, only app/probe.js writes the body\'s data, no script is over 350 lines', () => {
  for (const script of scripts) {
    const text = readFileSync(join(web, script), 'utf8');
    if (!script.startsWith('core/')) assert.doesNotMatch(text, /HEAPU8|\._[a-zA-Z]+\(/, `${script} calls the core itself`);
    if (script !== 'app/probe.js') assert.doesNotMatch(text, /body\.dataset/, `${script} writes the body's data`);
    assert.ok(text.split('\n').length <= 350, `${script} has ${text.split('\n').length} lines`);
    const global = text.match(/^const (\w+) = /m);
    const named = basename(script, '.js').replace(/_(\w)/g, (_, letter) => letter.toUpperCase());
    if (global) assert.equal(global[1], named, `${script} defines ${global[1]}`);
  }
});
