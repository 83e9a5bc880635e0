// The page's script graph: one list (page_scripts.txt) that the build, the
// prerender and these tests read, and every global a script uses defined
// by a script before it, where the page (or the prerender) runs it.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import globals from 'globals';

import { freeNames, SCRIPTS, sourceOf } from './scripts.mjs';

// What the browser and the language give every script, and the core as
// Emscripten builds it (growth_core.js, loaded before page.js).
const GIVEN = new Set([...Object.keys(globals.browser), ...Object.keys(globals.builtin), 'createGrowthCore']);

// The faults of a list of scripts, each { path, global, page, prerender,
// uses }: a global used before the script that defines it, where the page
// or the prerender runs them, or defined by no script.
function orderFaults(scripts) {
  const faults = [];
  const definer = new Map(scripts.map((script) => [script.global, script]));
  for (const [at, script] of scripts.entries()) {
    for (const name of script.uses) {
      if (name === script.global || GIVEN.has(name)) continue;
      const defined = definer.get(name);
      if (!defined) {
        faults.push(`${script.path} uses ${name}, which no script defines`);
        continue;
      }
      if (scripts.indexOf(defined) > at) faults.push(`${script.path} uses ${name} before ${defined.path} defines it`);
      // page.js runs first, later.js after it; the prerender runs its own.
      const runs = { page: ['page'], later: ['page', 'later'], prerender: ['prerender'] };
      for (const [where, seen] of Object.entries(runs)) {
        if (script[where] && !seen.some((bundle) => defined[bundle])) faults.push(`${script.path} uses ${name}, which the ${where} does not run`);
      }
    }
  }
  return faults;
}

test('every global a script uses is defined by a script before it in the list, where it runs', () => {
  const listed = SCRIPTS.map((script) => ({ ...script, uses: script.generated ? [] : [...freeNames(sourceOf(script.path))] }));
  assert.deepEqual(orderFaults(listed), []);
});

test('the check finds a global used before it is defined, one defined by none, and one page.js does not run', () => {
  const script = (path, uses, runs = { page: true }) => ({ path, global: path.replace('.js', ''), uses, ...runs });
  assert.deepEqual(orderFaults([script('a.js', ['b', 'document']), script('b.js', ['c', 'Intl']),
                                script('m.js', [], { prerender: true }), script('d.js', ['m']), script('l.js', ['a'], { later: true }),
                                script('e.js', ['l'])]),
                   ['a.js uses b before b.js defines it', 'b.js uses c, which no script defines',
                    'd.js uses m, which the page does not run', 'e.js uses l, which the page does not run']);
});

test('each listed script defines one global, named after its file, and uses no other script\'s under a new name', () => {
  for (const { path, global, generated } of SCRIPTS) {
    if (generated) continue;
    const source = sourceOf(path);
    assert.deepEqual([...source.matchAll(/^const (\w+) = /gm)].map(([, name]) => name), [global], path);
    const renamed = [...source.matchAll(/\b(\w+): (\w+)\b[^}\n]*\}\s*=\s*(\w+)\b/g)]
      .filter(([, , , room]) => SCRIPTS.some((other) => other.global === room));
    assert.deepEqual(renamed.map(([match]) => match), [], `${path} renames another script's names`);
  }
});
