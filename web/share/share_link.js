// A check as a link to this page: everything that makes it rides after the
// '#', so that nothing of it reaches a server, and the page that opens the
// link computes the same lines from it with the same core. The link holds
// the rarity, the character's name and base stats, and the five numbers:
//   #check&v=1&r=2&b=80,30,26,22&t=12,104,36,29,26&n=<the name, percent-encoded>&end
// and its end, so that a link cut short in a chat is known for one.
'use strict';

const shareLink = (() => {
  const MARK = 'check';
  const VERSION = '1';
  const LONGEST_NAME = 200;  // characters; a roster's name holds 98 CP932 bytes at most
  const int32s = (text, count) => {
    const numbers = (text ?? '').split(',').map((n) => (/^-?\d{1,10}$/.test(n) ? Number(n) : NaN));
    return numbers.length === count && numbers.every((n) => (n | 0) === n) ? numbers : null;
  };

  return {
    // The link to `page` (its address) for a check: { rarity, name, base, typed }.
    linkOf(page, { rarity, name, base, typed }) {
      const address = String(page).split('#')[0];
      return `${address}#${MARK}&v=${VERSION}&r=${rarity}&b=${base.join(',')}&t=${typed.join(',')}&n=${encodeURIComponent(name)}&end`;
    },
    // The check a link's part after '#' holds: { rarity, name, base, typed };
    // null for a link of this kind that cannot be read (cut short, edited,
    // made up), undefined for one that holds no check.
    checkIn(hash) {
      const text = String(hash).replace(/^#/, '');
      if (text !== MARK && !text.startsWith(`${MARK}&`)) return undefined;
      const fields = new URLSearchParams(text.slice(MARK.length + 1));  // reads any text, taking what does not decode as it is
      const rarity = Number(fields.get('r'));
      const [base, typed, name] = [int32s(fields.get('b'), 4), int32s(fields.get('t'), 5), fields.get('n')];
      const rarityKnown = /^\d$/.test(fields.get('r') ?? '') && rarity < coreFacts.rarityNames.length;
      if (!fields.has('end') || fields.get('v') !== VERSION || !rarityKnown || !base || !typed || name === null ||
          name.length > LONGEST_NAME || /[\n\t]/.test(name)) return null;
      return { rarity, name, base, typed };
    },
  };
})();
