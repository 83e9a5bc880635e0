// The page's scripts as web/page_scripts.txt lists them, for the build's
// prerender and the unit tests (CMake reads the same file for page.js).

import { readFileSync } from 'node:fs';
import { basename } from 'node:path';

export const webFolder = new URL('../', import.meta.url);

// A script's global, named after its file: share_link.js defines shareLink.
export const globalOf = (path) => basename(path, '.js').replace(/_(\w)/g, (_, letter) => letter.toUpperCase());

// Every script in order: { path (under web/), global, page, later, prerender, generated }.
export function pageScripts() {
  return readFileSync(new URL('page_scripts.txt', webFolder), 'utf8').split('\n')
    .map((line) => line.replace(/#.*/, '').trim()).filter(Boolean)
    .map((line) => {
      const [path, ...uses] = line.split(/\s+/);
      return { path, global: globalOf(path), page: uses.includes('page'), later: uses.includes('later'), prerender: uses.includes('prerender'),
               generated: path.startsWith('generated/') };
    });
}
