// The bridge to the compiled core (core.js), in node: its memory, which a
// call into the core may grow.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';

import { createGrowthCore, loadScripts } from './scripts.mjs';

const [example] = JSON.parse(readFileSync(new URL('../../../tests/fixtures/worked_examples.json', import.meta.url), 'utf8'));

test('checks computed many at once are read from the core\'s memory after it grew for them', async () => {
  // The core's room for the checks' numbers made so large, just before
  // their place is given, that the memory grows and its buffer is replaced.
  const growing = async () => {
    const wasm = await createGrowthCore();
    const room = wasm._checksInput;
    wasm._checksInput = (count) => {
      room(1 << 21);
      return room(count);
    };
    return wasm;
  };
  const core = loadScripts('core/core.js', { createGrowthCore: growing })('core');
  await core.start();
  const before = core.memoryBytes();
  const [checked] = core.checkMany([{ rarity: example.rarity, base: example.base, typed: example.typed }]);
  assert.ok(core.memoryBytes() > before, `the memory grew from ${before} bytes`);
  assert.equal(checked.failed, false);
  assert.equal(checked.figures.sum, example.lines[6].match(/[\d.]+$/)[0]);
});
