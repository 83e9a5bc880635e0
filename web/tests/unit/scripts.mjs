// The page's scripts in node, as page_scripts.txt lists them: the globals
// each one uses, found by its scopes, and the pure ones loaded as the page
// loads them: classic scripts, one after another, in one global scope.

import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import vm from 'node:vm';
import { parse } from 'acorn';
import { analyze } from 'eslint-scope';

import { pageScripts, webFolder } from '../../app/script_list.mjs';

export const SCRIPTS = pageScripts();
export const sourceOf = (path) => readFileSync(new URL(path, webFolder), 'utf8');

// The names a script's source uses without declaring them: globals of other
// scripts, of the browser or of the language.
export function freeNames(source) {
  const ast = parse(source, { ecmaVersion: 'latest', sourceType: 'script', ranges: true });
  const scope = analyze(ast, { ecmaVersion: 2022, sourceType: 'script' }).globalScope;
  return new Set(scope.through.map((reference) => reference.identifier.name));
}

// The scripts the build generates (web/form/prerender.mjs), as the web
// preset's build wrote them.
const GENERATED = new URL('../../../build/emscripten/web/', import.meta.url);
// The compiled core, as the page loads it (growth_core.js).
export const createGrowthCore = createRequire(import.meta.url)('../../../build/web/growth_core.js');

// Loads `paths` (under web/) with the listed scripts they use, in the
// list's order, into a fresh context, with the globals `given` (an object
// after the paths) as the browser would give them; returns a function that
// evaluates an expression there, such as the name of a script's global.
export function loadScripts(...paths) {
  const given = typeof paths.at(-1) === 'object' ? paths.pop() : {};
  const byGlobal = new Map(SCRIPTS.map((script) => [script.global, script]));
  const needed = new Set();
  const need = (path) => {
    if (needed.has(path)) return;
    needed.add(path);
    const script = SCRIPTS.find((listed) => listed.path === path);
    if (!script) throw new Error(`${path} is not in page_scripts.txt`);
    if (script.generated) return;
    for (const name of freeNames(sourceOf(path))) if (byGlobal.has(name)) need(byGlobal.get(name).path);
  };
  paths.forEach(need);
  const context = vm.createContext({ TextDecoder, TextEncoder, URL, URLSearchParams, ...given });
  for (const { path, generated } of SCRIPTS) {
    if (!needed.has(path)) continue;
    const source = generated ? readFileSync(new URL(path, GENERATED), 'utf8') : sourceOf(path);
    vm.runInContext(source, context, { filename: path });
  }
  return (expression) => vm.runInContext(expression, context);
}
