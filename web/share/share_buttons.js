// Sharing the last good check from the form: as a link (to a phone's share
// sheet, else copied), shown in #share-link with a word of what became of
// it, and as a picture (to the share sheet, else downloaded). Both wait for
// a check that passes, and wait again after one that fails.
'use strict';

const shareButtons = (() => {
  const { linkOf } = shareLink, { draw } = checkPicture, { give } = fileOut;
  const byId = (id) => document.getElementById(id);
  let page;  // what the app gives: { rarityNames, battleLimits, title }
  let last = null;  // the last good check: { report, made }

  const characterText = ({ rarity, name }) => `${page.rarityNames[rarity]} ${name}`;

  function note(link, word) {
    const anchor = byId('share-link');
    Object.assign(anchor, { href: link, textContent: link });
    byId('share-said').textContent = word;
    byId('share-note').hidden = false;
  }

  async function shareCheck() {
    if (!last) return;
    const { report, made } = last;
    const link = linkOf(location.href, made);
    if (navigator.share) {
      try {
        await navigator.share({ url: link, text: `${characterText(made)}: ${report.lines[0]}`, title: page.title });
        note(link, '共有しました。');
        return;
      } catch (error) {
        if (error.name === 'AbortError') return note(link, '共有をやめました。このリンクを送ることもできます。');
      }
    }
    try {
      await navigator.clipboard.writeText(link);
      note(link, 'リンクをコピーしました。');
    } catch {
      note(link, 'このリンクをコピーして送ってください。');
    }
  }

  async function shareImage() {
    if (!last) return;
    const { report, made } = last;
    const blob = await draw({ title: page.title, character: `${characterText(made)}（初期値 ${made.base.join(' ')}）`,
                              battles: `戦歴 ${made.typed[0]}/${page.battleLimits[made.rarity]}`, report });
    const file = new File([blob], `成長確認-${made.name || 'キャラクター'}.png`, { type: 'image/png' });
    await give(file, page.title);
  }

  const enable = (on) => { for (const id of ['share-check', 'share-image']) byId(id).disabled = !on; };

  return {
    start(pageParts) {
      page = pageParts;
      byId('share-check').addEventListener('click', shareCheck);
      byId('share-image').addEventListener('click', shareImage);
    },
    // A check that passed, its report and what was checked: { rarity, name, base, typed }.
    passed(report, made) {
      last = { report, made };
      enable(true);
      byId('share-note').hidden = true;  // the link of the check before
    },
    // A check that failed: there is nothing to share until one passes.
    failed() {
      last = null;
      enable(false);
      byId('share-note').hidden = true;
    },
  };
})();
