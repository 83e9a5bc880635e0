// The four stats, in the core's order (HP, attack, defence, speed), as the
// page names them: the keys of a check's figures (the core's own), the
// short captions of the result lines, charts and tables (HP 攻 防 早), and
// the fields' own names.
'use strict';

const statNames = Object.freeze({
  KEYS: coreFacts.statKeys,
  CAPTIONS: Object.freeze(['HP', '攻', '防', '早']),
  NAMES: Object.freeze(['HP', '攻撃', '防御', '素早さ']),
});
