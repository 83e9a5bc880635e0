#pragma once
// What the form does: listing a rarity's characters, showing one, stepping
// the HP field by two, and running the growth check into the result lines.

#include <windows.h>

class CharacterRoster;

// The roster the form reads (the process's one roster).
CharacterRoster& formRoster();

// Start-up, after the roster is loaded: rarity 2, the rarity list's own
// selection, and its first character.
void showStartRarity();

// Refills the name list with rarity `rarity` in roster order, selects its
// first name and shows that character.
void showRarity(int rarity);

// Shows the selected character's base stats, and fills the four stat fields
// with them while the battle field reads 0.
void showCharacter();

// The HP arrows: moves the HP field two up or down by the sign of `delta`.
void stepHp(int delta);

// The calculate button.
void calculate();

// WM_COMMAND from the form's controls; true when handled.
bool handleFormCommand(int controlNumber, int notification);

// WM_NOTIFY; true (answer 1) when handled.
bool handleFormNotify(const NMHDR& header);
