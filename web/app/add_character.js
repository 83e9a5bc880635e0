// キャラクターを追加: the dialog (a sheet on a phone) that adds a character
// to the roster in use: a rarity, a name and four base stats, refused with
// the reason where chardata.txt could not hold them, and a warning where
// the rarity already has that name (which the file allows).
'use strict';

const addCharacter = (() => {
  const { byId } = pageElements, { NAMES } = statNames;
  const STATS = ['add-hp', 'add-attack', 'add-defence', 'add-speed'];
  let shown = () => {};  // shows an added character in the form: (rarity, index)

  // What a refusal says, by the core's problem.
  const REFUSALS = {
    noRarity: () => 'レアリティを選んでください。',
    emptyName: () => '名前を入力してください。',
    whiteSpace: () => '名前に半角の空白やタブは使えません。chardata.txt では名前の終わりになります（全角の空白なら使えます）。',
    notCp932: (at, name) => `「${String.fromCodePoint(name.codePointAt(at))}」は chardata.txt に書けません。`,
    tooLong: (at) => `名前が長すぎます（chardata.txt で ${at} バイト。98 バイトまでです）。`,
    baseOutOfRange: (at) => `${NAMES[at]}は 1 から 1,073,741,823 までの数にしてください（その 2 倍が 32 ビットの数に収まる範囲です）。`,
    rarityFull: (at, name, rarity) => `${coreFacts.rarityNames[rarity]}にはもう 9999 人いるため、追加できません。`,
    readOtherwise: () => '名前に chardata.txt の行や文章を終わらせてしまう文字（制御文字）が入っています。',
  };

  // A field's number: digits only, full-width ones as ASCII; NaN otherwise.
  const numberIn = (id) => {
    const typed = byId(id).value.trim().replace(/[０-９]/g, (c) => String.fromCharCode(c.charCodeAt(0) - 0xFEE0));
    return /^\d{1,10}$/.test(typed) ? Number(typed) : NaN;
  };
  const refuse = (text) => { byId('add-refusal').textContent = text; };

  // The warning of a name the rarity already has, as the list shows names.
  function warnOfTwins() {
    const rarity = byId('add-rarity').selectedIndex;
    const name = byId('add-name').value;
    byId('add-warning').textContent = name && core.names(rarity).includes(name)
      ? `${coreFacts.rarityNames[rarity]}にはもう「${name}」がいます。追加すると同じ名前が 2 人になります（chardata.txt でも許されます）。` : '';
  }

  async function add(event) {
    event.preventDefault();
    const rarity = byId('add-rarity').selectedIndex;
    const name = byId('add-name').value;
    const base = STATS.map((id) => numberIn(id) || 0);  // what does not read is out of range, after the name's checks
    const added = await addedCharacters.add({ rarity, name, base });
    if (added.problem !== 'none') {
      refuse(REFUSALS[added.problem](added.at, name, rarity));
      return;
    }
    byId('add-dialog').close();
    shown(rarity, added.index);
    byId('check-note').textContent = `「${name}」を追加しました${added.duplicate ? '（同じ名前がほかにもいます）' : ''}` +
      `${added.kept ? '' : '。このブラウザには保存されないため、次に開いたときにはいません'}。`;
  }

  return Object.freeze({
    // Wires the menu bar's button and the dialog; `showAdded(rarity,
    // index)` shows an added character in the form.
    start(showAdded) {
      shown = showAdded;
      byId('add-rarity').replaceChildren(...coreFacts.rarityNames.map((name) => new Option(name)));
      byId('add-character').addEventListener('click', () => {
        byId('add-form').reset();
        byId('add-rarity').selectedIndex = core.startRarity();
        refuse('');
        byId('add-warning').textContent = '';
        byId('add-dialog').showModal();
      });
      byId('add-form').addEventListener('submit', add);
      byId('add-dialog').querySelector('[data-action="cancel"]').addEventListener('click', () => byId('add-dialog').close());
      for (const id of ['add-rarity', 'add-name']) byId(id).addEventListener('input', warnOfTwins);
    },
  });
})();
