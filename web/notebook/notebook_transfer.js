// The notebook in and out of the browser: every check exported as CSV (to
// a phone's share sheet, or downloaded), a CSV read back in (as exported,
// or as a spreadsheet saved it again) with its figures computed anew by
// the core, and what the notebook says of how safely the browser keeps it.
'use strict';

const notebookTransfer = (() => {
  const LARGEST_ERRORS_LISTED = 20;
  // The largest CSV read: 100,000 checks make about 18 MB. A bigger file,
  // chosen by mistake, is refused before a byte of it is read.
  const LARGEST_IMPORT_BYTES = 64 * 1024 * 1024;

  // What an import says of the rows it could not take, by line.
  function faultsText(errors) {
    const faults = errors.slice(0, LARGEST_ERRORS_LISTED).map(({ line, heading, message }) => {
      if (message) return `${line} 行目（${message}）`;
      return heading ? `${line} 行目（「${heading}」が読めません）` : `${line} 行目（列の数が違います）`;
    });
    if (errors.length > faults.length) faults.push(`ほか ${errors.length - faults.length} 行`);
    return faults.length ? `読めなかった行: ${faults.join('、')}。` : '';
  }

  return {
    // Exports every check, oldest first; resolves to what the notebook says.
    async exportChecks() {
      const started = performance.now();
      let checks;
      try {
        checks = await keptChecks.all();
      } catch (error) {
        return notebookWords.trouble(error);
      }
      // In the order of their times as written (to the second), ties in a fixed order, so that an export
      // read back and exported again is the same file.
      const second = (check) => Math.floor(check.at / 1000);
      checks.sort((a, b) => second(a) - second(b) || (a.character < b.character ? -1 : a.character > b.character ? 1 : 0) ||
                            a.unit - b.unit || a.at - b.at);
      const day = new Date().toLocaleDateString('sv-SE');  // YYYY-MM-DD
      const file = new File([checksCsv.write(checks, coreFacts.rarityNames)], `成長確認の記録-${day}.csv`, { type: 'text/csv' });
      if (await fileOut.give(file, '成長確認の記録') === 'cancelled') return '書き出しをやめました。';
      keptChecks.exported();
      probe.exported(started);
      return `${checks.length} 件の記録を書き出しました。`;
    },

    // Reads a CSV file into the notebook, all of it or, where the browser
    // cannot finish, none; the core computes its checks again. Resolves to
    // what the notebook says.
    async importChecks(file) {
      const started = performance.now();
      if (file.size > LARGEST_IMPORT_BYTES) {
        return `「${file.name}」は ${(file.size / 1024 / 1024).toFixed(0)} MB あり、記録の書き出しにしては大きすぎるため読み込みません` +
               `（${LARGEST_IMPORT_BYTES / 1024 / 1024} MB まで）。何も変えていません。`;
      }
      let bytes;
      try {
        bytes = new Uint8Array(await file.arrayBuffer());
      } catch {
        return `「${file.name}」を読めませんでした。何も変えていません。`;
      }
      const read = checksCsv.read(checksCsv.decode(bytes), coreFacts.rarityNames);
      if (!read) return `「${file.name}」は記録の書き出し（CSV）ではありません。何も変えていません。`;
      const errors = [...read.errors];
      const checks = [];
      core.checkMany(read.rows).forEach((result, i) => {
        const row = read.rows[i];
        if (result.failed) errors.push({ line: row.line, message: result.message });
        else checks.push({ ...checkRecord.fromReport(result, { at: row.at, roster: row.roster, rarity: row.rarity, name: row.name, base: row.base, typed: row.typed }), unit: row.unit });
      });
      errors.sort((a, b) => a.line - b.line);
      let added;
      try {
        added = await keptChecks.merge(checks);
      } catch (error) {
        return error && error.name === 'QuotaExceededError'
          ? `空き容量がないため「${file.name}」を読み込めませんでした。記録は読み込む前のままです。` : notebookWords.trouble(error);
      }
      probe.imported(started);
      const already = checks.length - added.added - added.corrected;
      const notes = [...(already > 0 ? [`うち ${already} 件は記録済み`] : []),
                     ...(added.corrected > 0 ? [`${added.corrected} 件は同じ日時と戦歴の記録を直したもの`] : [])];
      return `「${file.name}」から ${checks.length} 件の記録を読み込みました` +
             `${notes.length > 0 ? `（${notes.join('、')}）` : ''}。${faultsText(errors)}`;
    },

    // Shows in `element` whether the browser has promised to keep the
    // records, what keeps them safe where it has not, and when they were
    // last exported.
    async showSafety(element) {
      const persisted = navigator.storage && navigator.storage.persisted ? await navigator.storage.persisted().catch(() => false) : false;
      const { at, keptSince } = keptChecks.exportRecord();
      element.textContent = (persisted
        ? 'このブラウザは記録を消さずに残すと約束しています。'
        : 'このブラウザは、空き容量が少ないときや長く使わないときに記録を消すことがあります。' +
          'アプリとしてインストールする（ホーム画面に追加）か、CSV に書き出しておくと安心です。') +
        (at === null ? 'まだ CSV に書き出していません。' : `最後の書き出し: ${localTime.shown(at)}、その後の記録 ${keptSince} 件。`);
      Object.assign(element.dataset, { persisted, exportedAt: at ?? '', keptSince });
    },
  };
})();
