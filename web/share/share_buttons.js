// Sharing the last good check from the form: as a link (to a phone's share
// sheet, else copied), shown in #share-link with a word of what became of
// it, and as a picture (to the share sheet, else downloaded). Both wait for
// a check that passes, and wait again after one that fails.
'use strict';

const shareButtons = (() => {
  const { byId } = pageElements;
  let page;  // what the app gives: { title }
  let last = null;  // the last good check: { report, made }

  const characterText = ({ rarity, name }) => `${coreFacts.rarityNames[rarity]} ${name}`;

  // Says what became of a link (shown after the word) or of a picture (`link` null).
  function note(link, word) {
    const anchor = byId('share-link');
    anchor.hidden = link === null;
    if (link === null) anchor.removeAttribute('href');
    else Object.assign(anchor, { href: link, textContent: link });
    byId('share-said').textContent = word;
    byId('share-note').hidden = false;
  }

  async function shareCheck() {
    if (!last) return;
    const { report, made } = last;
    const link = shareLink.linkOf(location.href, made);
    if (fileOut.hasShareSheet()) {
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

  // The picture, to the share sheet or downloaded; what became of it is
  // said where the link's word goes, in place of the last link's.
  async function shareImage() {
    if (!last) return;
    const { report, made } = last;
    try {
      const [battles, ...stats] = made.typed;
      const blob = await checkPicture.draw({
        title: page.title, character: characterText(made), report,
        lines: [`初期値　${statNames.NAMES.map((name, i) => `${name} ${made.base[i]}`).join('　')}`,
                `戦歴 ${battles}/${coreFacts.battleLimits[made.rarity]}　${statNames.NAMES.map((name, i) => `${name} ${stats[i]}`).join('　')}`],
      });
      const file = new File([blob], `成長確認-${made.name || 'キャラクター'}.png`, { type: 'image/png' });
      const given = await fileOut.give(file, page.title);
      note(null, { shared: '画像を共有しました。', cancelled: '画像の共有をやめました。', downloaded: '画像を保存しました。' }[given]);
    } catch {
      note(null, '画像を作れませんでした。リンクで共有してください。');
    }
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
