// A check's link read back without a browser: what it holds, and every way
// a link can arrive broken.

import { test } from 'node:test';
import assert from 'node:assert/strict';

import { loadScripts } from './scripts.mjs';

const shareLink = loadScripts('share/share_link.js')('shareLink');
const plain = (value) => JSON.parse(JSON.stringify(value));

test('a link gives back its check, whatever the name holds; a broken or edited one reads as none, an address without one as no link', () => {
  const check = { rarity: 5, name: 'a#b&c=d?e%f/g+h ＃あ\u{20BB7}', base: [-5, 2147483647, 0, 9], typed: [40, -2147483648, 1, 2, 3] };
  const link = shareLink.linkOf('https://example.net/tool/index.html?x=1#old', check);
  assert.ok(link.startsWith('https://example.net/tool/index.html?x=1#check&v=2&r=5&'), link);
  assert.deepEqual(plain(shareLink.checkIn(new URL(link).hash)), check);
  const hash = link.slice(link.indexOf('#'));
  // Edited (a number, the name), damaged (the checksum), or of a version to come.
  for (const broken of [hash.replace('t=40,', 't=39,'), hash.replace('n=a', 'n=b'), hash.replace(/&c=\w/, '&c=!'), hash.replace(/&c=\w+/, ''),
                        hash.slice(0, -4), hash.replace('v=2', 'v=3'), hash.replace('r=5', 'r=6'), hash.replace('b=-5,', 'b='),
                        hash.replace('2147483647', '2147483648'), hash.replace('t=40', 't=4.5'), hash.replace(/&n=[^&]*/, ''),
                        '#check', '#check&%%%', `#check&v=1&r=2&b=1,1,1,1&t=1,1,1,1,1&n=${'x'.repeat(201)}&end`]) {
    assert.equal(shareLink.checkIn(broken), null, broken);
  }
  for (const other of ['', '#', '#notebook', '#checked&v=1']) assert.equal(shareLink.checkIn(other), undefined, other);
  // A link made before the checksum still opens.
  assert.deepEqual(plain(shareLink.checkIn('#check&v=1&r=2&b=80,30,26,22&t=12,104,36,29,26&n=%E3%82%A2%E3%83%AC%E3%82%B9&end')),
                   { rarity: 2, name: 'アレス', base: [80, 30, 26, 22], typed: [12, 104, 36, 29, 26] });
});
