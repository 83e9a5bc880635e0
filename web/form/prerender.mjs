// Writes the page (index.html) into the page's folder with the form's
// markup in it, made from the form design by the page's own core and
// scripts (form_markup.js), so that the browser draws the form before any
// script has run. Run by the build after the core is compiled:
//   node prerender.mjs <template index.html> <page folder> <growth_core.js> <core.js> <control_ids.js> <stats.js>
//                      <form_controls.js> <form_markup.js>

import { readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join } from 'node:path';
import vm from 'node:vm';

const [template, page, coreBuilt, ...scripts] = process.argv.slice(2);
const context = vm.createContext({ TextDecoder, createGrowthCore: createRequire(import.meta.url)(coreBuilt) });
for (const script of scripts) vm.runInContext(readFileSync(script, 'utf8'), context, { filename: script });
const markup = await vm.runInContext(`(async () => {
  await core.start();
  core.useSampleData();
  const rarity = core.startRarity();
  return formMarkup.form(core.formDesign(), { rarityNames: core.rarityNames(), rarity, names: core.names(rarity),
                                              baseStatsText: core.baseStatsText(rarity, 0), base: core.baseStats(rarity, 0) });
})()`, context);
const html = readFileSync(template, 'utf8');
if (!html.includes('<div id="form"></div>')) throw new Error(`${template} has no <div id="form"></div> for the form`);
writeFileSync(join(page, 'index.html'), html.replace('<div id="form"></div>', `<div id="form">\n${markup}\n</div>`));
