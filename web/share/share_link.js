// A check as a link to this page: everything that makes it rides after the
// '#', so that nothing of it reaches a server, and the page that opens the
// link computes the same lines from it with the same core. The link holds
// the rarity, the character's name and base stats, and the five numbers,
// a checksum of them, so that a link edited or damaged is known for one,
// and its end, so that a link cut short in a chat is:
//   #check&v=2&r=2&b=80,30,26,22&t=12,104,36,29,26&n=<the name, percent-encoded>&c=<checksum>&end
// Links of version 1, made before the checksum, still open.
'use strict';

const shareLink = (() => {
  const MARK = 'check';
  const VERSION = '2';
  const UNCHECKED_VERSION = '1';
  // FNV-1a of the fields as the link spells them, in base 36.
  const checksum = (text) => {
    let hash = 0x811c9dc5;
    for (const unit of new TextEncoder().encode(text)) hash = Math.imul(hash ^ unit, 0x01000193) >>> 0;
    return hash.toString(36);
  };
  const fieldsText = ({ rarity, name, base, typed }) => `r=${rarity}&b=${base.join(',')}&t=${typed.join(',')}&n=${encodeURIComponent(name)}`;
  const LONGEST_NAME = 200;  // characters; a roster's name holds 98 CP932 bytes at most
  const int32s = (text, count) => {
    const numbers = (text ?? '').split(',').map((n) => (/^-?\d{1,10}$/.test(n) ? Number(n) : NaN));
    return numbers.length === count && numbers.every((n) => (n | 0) === n) ? numbers : null;
  };

  return {
    // The link to `page` (its address) for a check: { rarity, name, base, typed }.
    linkOf(page, { rarity, name, base, typed }) {
      const address = String(page).split('#')[0];
      const fields = fieldsText({ rarity, name, base, typed });
      return `${address}#${MARK}&v=${VERSION}&${fields}&c=${checksum(fields)}&end`;
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
      const version = fields.get('v');
      if (!fields.has('end') || (version !== VERSION && version !== UNCHECKED_VERSION) || !rarityKnown || !base || !typed ||
          name === null || name.length > LONGEST_NAME || /[\n\t]/.test(name)) return null;
      const check = { rarity, name, base, typed };
      if (version === VERSION && fields.get('c') !== checksum(fieldsText(check))) return null;
      return check;
    },
  };
})();
