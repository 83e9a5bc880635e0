// What the page says of the notebook's storage when it fails: a full disk,
// records a newer page wrote, a browser that keeps nothing, or another
// failure, named as the browser names it.
'use strict';

const notebookWords = (() => {
  const BY_ERROR = {
    QuotaExceededError: () => '空き容量がないため、記録を残せませんでした。これまでの記録はそのままです。',
    [checkRecord.NEWER_RECORD]: () => 'この記録は、このページより新しい版のページで書かれています。ページを読み込み直してください。',
    // IndexedDB refused or missing: some private windows, some settings.
    SecurityError: () => 'このブラウザには記録を残せません（プライベートウィンドウなど）。計算はこれまでどおり使えます。',
    InvalidStateError: () => BY_ERROR.SecurityError(),
  };

  return Object.freeze({
    // What to say of a storage error.
    trouble(error) {
      const said = error && BY_ERROR[error.name];
      if (said) return said();
      if (typeof indexedDB === 'undefined') return BY_ERROR.SecurityError();
      return `記録を読み書きできませんでした（${(error && error.name) || '不明なエラー'}）。もう一度試してください。`;
    },
    // What the notebook says of records it could not read (`unread` their errors).
    unread: (unread) => `${unread.length} 件の記録を読めませんでした: ${notebookWords.trouble(unread[0])}`,
    // A row acted on after another tab deleted it.
    GONE: 'この記録はほかのタブで削除されています。何も変えていません。',
  });
})();
