// The question a check that cannot follow its character's unit asks before
// it is kept: another unit of the same character (個体), or a mistyped
// check, which is not kept, and whose fields stay for correcting it. The
// dialog does not hold the page: the player may also just correct the
// fields and calculate again, which leaves the question unanswered and the
// check unkept.
'use strict';

const unitQuestion = (() => {
  const { byId } = pageElements;
  let pending = null;  // the answer's resolver while the question is open

  function answer(value) {
    const dialog = byId('unit-question');
    if (dialog.open) dialog.close();
    if (pending) pending(value);
    pending = null;
  }

  return Object.freeze({
    // Asks about `made` ({ rarity, name }), which cannot follow unit `unit`
    // for `conflict` (unit_rules.js); resolves to 'new-unit', 'fix', or
    // 'superseded' where another check came first.
    ask(made, conflict, unit) {
      answer('superseded');
      const dialog = byId('unit-question');
      byId('unit-question-text').textContent =
        `${coreFacts.rarityNames[made.rarity]} ${made.name} の記録（個体${unit}）と合いません: ${unitRules.reason(conflict)}。` +
        '同じキャラクターの別の個体ですか？ 入力の間違いなら、直してからもう一度計算してください。';
      dialog.show();
      return new Promise((resolve) => { pending = resolve; });
    },
    // Another check was made: the open question is left unanswered.
    dismiss: () => answer('superseded'),
    start() {
      const dialog = byId('unit-question');
      for (const button of dialog.querySelectorAll('[data-action]')) {
        button.addEventListener('click', () => answer(button.dataset.action));
      }
      dialog.addEventListener('keydown', (event) => { if (event.key === 'Escape') answer('fix'); });
    },
  });
})();
