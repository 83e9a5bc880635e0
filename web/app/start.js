// The page's start: the core started (or its failure said), the form, and
// the roster in use, in a few short tasks; then later.js, the rest of the
// page (the notebook, sharing, the screens: later_start.js), loaded once
// the form works, which hears what the form does through hear().
'use strict';

const start = (() => {
  const { byId, nextTask } = pageElements;  // the start is a few short tasks, never one long one that holds a tap
  // What the rest of the page hears of the form, once it has loaded.
  let heard = { passed() {}, failed() {}, removeAdded() {} };

  // Where the core cannot start (a browser without WebAssembly, its script
  // blocked), the form written into the page would stay dead: say so.
  function failed(error) {
    byId('failure-caption').textContent = '起動できませんでした';
    byId('failure-text').textContent = 'このブラウザでは計算の部品（WebAssembly）を動かせませんでした。' +
      '新しい版のブラウザで開くか、ページを読み込み直してください。';
    byId('failure').showModal();
    probe.startFailed(error);
  }

  // A script of the page, loaded as a task of its own.
  const loadScript = (source) => new Promise((resolve, reject) => {
    const script = Object.assign(document.createElement('script'), { src: source });
    script.addEventListener('load', resolve);
    script.addEventListener('error', reject);
    document.body.append(script);
  });

  async function run() {
    try {
      await nextTask();  // the core's start apart from the evaluation of the page's scripts
      await core.start();
    } catch (error) {
      failed(error);
      return;
    }
    await nextTask();
    formScreen.start({
      passed: (report, made) => heard.passed(report, made),
      failed: (report) => heard.failed(report),
      removeAdded: (rarity, index) => heard.removeAdded(rarity, index),
    });
    await nextTask();
    // The rarity list on 戦士 and its first character, from the roster kept
    // from the last visit or the sample.
    await rosterInUse.start(formScreen.showRoster);
    await nextTask();
    try {
      await loadScript('later.js');
    } catch (error) {
      failed(error);
    }
  }

  return Object.freeze({
    // The start, once the page's scripts have all run (page.js is deferred).
    started: run(),
    // Lets the rest of the page hear what the form does: { passed(report,
    // made), failed(report), removeAdded(rarity, index) }.
    hear(hearers) {
      heard = hearers;
    },
  });
})();
