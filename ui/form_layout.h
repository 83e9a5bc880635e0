#pragma once
// The form: every control at its fixed place, built once in WM_CREATE, and
// the colours of its labels and frames on the black window.

#include <windows.h>

#include <array>

// The control handles, one table per kind, each slot indexed by the control
// number minus its kind's base number. Slots of controls that do not exist
// stay empty.
struct FormControls {
  std::array<HWND, 30> labels{};   // STATIC, from 1000
  std::array<HWND, 30> fields{};   // EDIT, from 2000
  std::array<HWND, 30> arrows{};   // msctls_updown32, from 3000
  std::array<HWND, 30> lists{};    // COMBOBOX, from 4000
  std::array<HWND, 30> buttons{};  // BUTTON, from 5000
  std::array<HWND, 10> frames{};   // BUTTON group boxes, from 900
  HWND resultBox = nullptr;        // 7000
};

extern FormControls g_formControls;

// The handle of control `number`, or nullptr for a number the form lacks.
HWND formControl(int number);

// Builds every control as a child of `window` (WM_CREATE), placed and
// given fonts for the window's DPI.
void buildForm(HWND window, HINSTANCE instance);

// Lays the built form out again for `dpi` (WM_DPICHANGED): every control's
// place and size, and fonts made for that DPI.
void scaleForm(HWND window, int dpi);

// The DPI the form is laid out for.
int formDpi();

// WM_CTLCOLORSTATIC: light red for the result lines, white for the other
// labels and the frames, on a transparent background with the black brush;
// 0 (the platform's colours) for anything else, the result box among them.
LRESULT colourStaticControl(HDC dc, HWND control);

// The rarity list's and the result box's fonts, and the font of the other
// text controls, which is none while they can keep the system font (a
// Japanese system at 96 DPI).
HFONT rarityListFont();
HFONT resultBoxFont();
HFONT formTextFont();
