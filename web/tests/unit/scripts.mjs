// The page's pure scripts in node, loaded as the page loads them: classic
// scripts, one after another, in one global scope of their own.

import { readFileSync } from 'node:fs';
import vm from 'node:vm';

// Runs `files` (paths under web/) in a fresh context; returns a function
// that evaluates an expression there, such as the name of a script's global.
export function loadScripts(...files) {
  const context = vm.createContext({ TextDecoder, URL, URLSearchParams });
  for (const file of files) {
    vm.runInContext(readFileSync(new URL(`../../${file}`, import.meta.url), 'utf8'), context, { filename: file });
  }
  return (expression) => vm.runInContext(expression, context);
}
