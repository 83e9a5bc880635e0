// The roster in use: the sample built in, or the player's own chardata.txt,
// opened with the button or dropped on the page, read by data_file.js and
// kept for the next visit by kept_roster.js, with the characters the
// player added to it (added_characters.js). The menu bar says which it is;
// a file that fails to read, or holds no character, changes nothing and
// the failure dialog names it.
'use strict';

const rosterInUse = (() => {
  const { byId } = pageElements;
  const SAMPLE = 'サンプル';  // what the notebook says of checks made with the sample
  const KEEPING = {
    kept: (kept) => `${openedAt(kept.openedAt)} に開いたもの・保存済み`,
    'too-large': () => '16 MiB を超えるため保存しません',
    refused: () => 'このブラウザには保存できません',
  };
  const openedAt = (time) => new Date(time).toLocaleString('ja-JP', { month: 'numeric', day: 'numeric', hour: 'numeric', minute: '2-digit' });
  const canDrop = () => !matchMedia('(pointer: coarse)').matches;  // a touch screen has nothing to drop a file with

  let name = SAMPLE;
  let file = null;        // the file in use; null for the sample
  let listed = () => {};  // lists the roster in the form again

  function showFailure(message) {
    byId('failure-caption').textContent = core.openFailedCaption();
    byId('failure-text').textContent = message;
    byId('failure').showModal();
  }
  // What the dialog says of a file, by what reading it came to.
  const FAILURE_TEXTS = {
    failed: (fileName) => core.openFailedText(fileName),
    empty: (fileName) => `「${fileName}」にはキャラクターの行がありません。データは今のままです。`,
  };

  // The menu bar's word on the roster: the sample, or the file's name and
  // whether this browser keeps it for the next visit.
  function show(fileName, keeping, kept) {
    const status = byId('roster-in-use');
    name = fileName === null ? SAMPLE : fileName;
    status.textContent = fileName === null ? `データ: サンプル${canDrop() ? '（ファイルをここへドロップしても開けます）' : ''}`
                                           : `データ: ${fileName}（${KEEPING[keeping](kept)}）`;
    status.title = status.textContent;
    status.dataset.roster = fileName === null ? 'sample' : 'file';
    status.dataset.keeping = keeping || '';
    byId('use-sample').hidden = fileName === null;
  }

  // Reads a file into the roster. Resolves to 'read', 'failed', 'empty'
  // (not one character in it) or 'superseded' (another file or the sample
  // took its place); a file that fails or is empty leaves the roster, and
  // the kept file, as they were, and the dialog says so.
  async function read(file) {
    const progress = byId('reading');
    const outcome = await dataFile.read(file, (fraction) => {
      progress.hidden = false;
      progress.value = fraction;
    });
    progress.hidden = true;
    if (FAILURE_TEXTS[outcome]) showFailure(FAILURE_TEXTS[outcome](file.name));
    return outcome;
  }

  // The roster read from `opened` (null: the sample) in use, with the
  // characters added to it, kept by `keeper`.
  function use(opened, added, keeper) {
    file = opened;
    addedCharacters.restore(added, keeper);
    listed();
  }

  async function open(opened) {
    const started = performance.now();
    if (await read(opened) !== 'read') return;
    let kept = false;  // the file kept, and so what is added to it
    use(opened, [], (added) => (kept ? keptRoster.keepAdded(added) : Promise.reject(new Error('the file is not kept'))));
    probe.fileListed(started);
    const keeping = await keptRoster.keep(opened);
    kept = keeping === 'kept';
    show(opened.name, keeping, { openedAt: Date.now() });
    probe.fileOpened(core.memoryBytes());
  }

  async function useSample() {
    await pageElements.nextTask();  // a task of its own, apart from the start's other steps
    core.useSampleData();
    use(null, await keptRoster.sampleAdded(), keptRoster.keepSampleAdded);
    show(null);
  }

  // Going back to the sample: the characters added to the file stay with
  // the sample only if the player says so.
  async function backToSample() {
    dataFile.cancel();
    const added = file ? addedCharacters.list() : [];
    if (added.length > 0 && await pageElements.confirmed(
      `このファイルに追加したキャラクター ${added.length} 人を、サンプルにも追加して残しますか？`, { yes: '残す', no: '残さない' })) {
      const sample = await keptRoster.sampleAdded();
      const same = (a, b) => a.rarity === b.rarity && a.name === b.name && a.base.join() === b.base.join();
      await keptRoster.keepSampleAdded([...sample, ...added.filter((one) => !sample.some((kept) => same(kept, one)))]).catch(() => {});
    }
    await keptRoster.forget();
    await useSample();
  }

  function wire() {
    const fileInput = byId('file-input');
    byId('open-file').addEventListener('click', () => fileInput.click());
    fileInput.addEventListener('change', () => {
      if (fileInput.files.length > 0) open(fileInput.files[0]);
      fileInput.value = '';
    });
    const windowElement = byId('window');
    document.addEventListener('dragover', (event) => {
      event.preventDefault();
      windowElement.classList.add('dropping');
    });
    document.addEventListener('dragleave', () => windowElement.classList.remove('dropping'));
    document.addEventListener('drop', (event) => {
      event.preventDefault();
      windowElement.classList.remove('dropping');
      const file = event.dataTransfer && event.dataTransfer.files[0];
      if (file) open(file);
    });
    byId('use-sample').addEventListener('click', backToSample);
  }

  return {
    // The roster's name as the notebook keeps it with a check.
    name: () => name,
    // The file in use; null for the sample.
    file: () => file,
    // Starts with the roster kept from the last visit, or the sample;
    // `listedAgain()` lists the roster in the form whenever it changes.
    async start(listedAgain) {
      listed = listedAgain;
      wire();
      const kept = await keptRoster.get();
      const outcome = kept ? await read(kept.file) : 'none';
      if (outcome === 'read') {
        use(kept.file, kept.added, keptRoster.keepAdded);
        show(kept.name, 'kept', kept);
      } else if (outcome !== 'superseded') {  // else a file opened meanwhile is shown
        if (outcome === 'empty') await keptRoster.forget();  // kept by an earlier page, which took any file
        await useSample();
      }
    },
  };
})();
