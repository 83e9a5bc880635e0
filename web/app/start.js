// The page's start and its shell: the core started, the form and the
// notebook screens started and switched, the roster in use (the sample
// built in, or the player's own chardata.txt, read by data_file.js and kept
// for the next visit by kept_roster.js), the failure dialog, and every good
// check kept in the notebook.
'use strict';

(async () => {
  const { fromReport } = check, { keep: keepCheckIn, whyNotKept } = keptChecks, { read: readData, cancel: cancelData } = dataFile,
        { get: keptFile, keep: keepFile, forget: forgetFile } = keptRoster, { fileListed, fileOpened, checkSettled, ready } = probe,
        { start: startForm, showRoster, show: showForm, hide: hideForm, holds, choose } = formScreen,
        { start: startNotebook, open: openNotebookScreen } = notebookScreen,
        { start: startSharing, passed: sharePassed, failed: shareFailed } = shareButtons, { start: startShared } = sharedScreen,
        { start: startCore, openFailedCaption, openFailedText, memoryBytes, rarityNames, battleLimits, useSampleData, checkMany,
          check: checkOf } = core;
  await startCore();

  const byId = (id) => document.getElementById(id);
  const failure = byId('failure');
  function showFailure(message) {
    byId('failure-caption').textContent = openFailedCaption();
    byId('failure-text').textContent = message;
    failure.showModal();
  }
  // What the dialog says of a file, by what reading it came to.
  const FAILURE_TEXTS = {
    failed: openFailedText,
    empty: (name) => `「${name}」にはキャラクターの行がありません。データは今のままです。`,
  };

  // Which roster is in use, shown in the menu bar: the sample, or the
  // file's name and whether this browser keeps it for the next visit.
  const rosterInUse = byId('roster-in-use');
  const useSample = byId('use-sample');
  const readingProgress = byId('reading');
  const openedAt = (time) => new Date(time).toLocaleString('ja-JP', { month: 'numeric', day: 'numeric', hour: 'numeric', minute: '2-digit' });
  const KEEPING = {
    kept: (kept) => `${openedAt(kept.openedAt)} に開いたもの・保存済み`,
    'too-large': () => '16 MiB を超えるため保存しません',
    refused: () => 'このブラウザには保存できません',
  };
  const canDrop = !matchMedia('(pointer: coarse)').matches;  // a touch screen has nothing to drop a file with
  const SAMPLE_ROSTER = 'サンプル';  // what the notebook says of checks made with the sample
  let rosterName = SAMPLE_ROSTER;
  function showRosterInUse(name, keeping, kept) {
    rosterName = name === null ? SAMPLE_ROSTER : name;
    rosterInUse.textContent = name === null ? `データ: サンプル${canDrop ? '（ファイルをここへドロップしても開けます）' : ''}`
                                            : `データ: ${name}（${KEEPING[keeping](kept)}）`;
    rosterInUse.title = rosterInUse.textContent;
    rosterInUse.dataset.roster = name === null ? 'sample' : 'file';
    rosterInUse.dataset.keeping = keeping || '';
    useSample.hidden = name === null;
  }

  // Reads a file into the roster. Resolves to 'read', 'failed', 'empty'
  // (not one character in it) or 'superseded' (another file or the sample
  // took its place); a file that fails or is empty leaves the roster, and
  // the kept file, as they were, and the dialog says so.
  async function readRoster(file) {
    const outcome = await readData(file, (fraction) => {
      readingProgress.hidden = false;
      readingProgress.value = fraction;
    });
    readingProgress.hidden = true;
    if (FAILURE_TEXTS[outcome]) showFailure(FAILURE_TEXTS[outcome](file.name));
    if (outcome === 'read') showRoster();
    return outcome;
  }

  async function openFile(file) {
    const started = performance.now();
    if (await readRoster(file) !== 'read') return;
    fileListed(started);
    const keeping = await keepFile(file);
    showRosterInUse(file.name, keeping, { openedAt: Date.now() });
    fileOpened(memoryBytes());
  }

  const fileInput = byId('file-input');
  byId('open-file').addEventListener('click', () => fileInput.click());
  fileInput.addEventListener('change', () => {
    if (fileInput.files.length > 0) openFile(fileInput.files[0]);
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
    if (file) openFile(file);
  });

  // Keeps each check that passes in the notebook, and says so where the
  // browser keeps nothing or has no room. Once a check is kept, the browser
  // is asked to keep the page's data for good rather than as it pleases.
  const checkNote = byId('check-note');
  let persistenceAsked = false;
  async function keepCheck(report, made) {
    const started = performance.now();
    try {
      const outcome = await keepCheckIn(fromReport(report, { at: Date.now(), roster: rosterName, ...made }));
      if (outcome === 'kept' && !persistenceAsked && navigator.storage && navigator.storage.persist) {
        persistenceAsked = true;
        navigator.storage.persist().catch(() => {});
      }
      checkNote.textContent = '';
    } catch (error) {
      checkNote.textContent = whyNotKept(error);
    }
    checkSettled(started);
  }
  startForm({
    passed(report, made) {
      keepCheck(report, made);
      sharePassed(report, made);
    },
    failed: shareFailed,
  });
  startSharing({ rarityNames: rarityNames(), battleLimits: battleLimits(), title: document.title });

  // The notebook, a screen of its own in place of the form and the chart.
  const openNotebook = byId('open-notebook');
  startNotebook({
    rarityNames: rarityNames(),
    battleLimits: battleLimits(),
    holds,
    choose,
    checkMany,
    closed: (chosen) => showForm(chosen ? null : openNotebook),
  });
  openNotebook.addEventListener('click', () => {
    hideForm();
    openNotebookScreen();
  });

  useSample.addEventListener('click', async () => {
    cancelData();
    await forgetFile();
    useSampleData();
    showRoster();
    showRosterInUse(null);
  });

  // Start-up: the roster kept from the last visit, or the sample; the
  // rarity list on 戦士, its first character.
  const kept = await keptFile();
  const outcome = kept ? await readRoster(kept.file) : 'none';
  if (outcome === 'read') {
    showRosterInUse(kept.name, 'kept', kept);
  } else if (outcome !== 'superseded') {  // else a file opened meanwhile is shown
    if (outcome === 'empty') await forgetFile();  // kept by an earlier page, which took any file
    useSampleData();
    showRoster();
    showRosterInUse(null);
  }
  // A check someone shared, when the page was opened at its link: shown
  // over the form, against the roster in use, which it leaves as it is.
  startShared({
    rarityNames: rarityNames(),
    battleLimits: battleLimits(),
    check: checkOf,
    holds,
    choose,
    opening: hideForm,
    closed: (chosen) => showForm(chosen ? null : byId('open-file')),
  });
  ready(memoryBytes());
})();
