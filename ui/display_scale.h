#pragma once
// Display scale. The form is laid out in pixels at 96 DPI; at any other DPI
// every position, size and font height is scaled where it is used.

#include <windows.h>

#include "form/form_design.h"

// A length of the 96-DPI design at `dpi`.
inline int scaleToDpi(int designPixels, int dpi) { return MulDiv(designPixels, dpi, kDesignDpi); }

// The system's DPI (the primary monitor's at sign-in), where new top-level
// windows are placed.
int systemDpi();

// The DPI that `window` is drawn at.
int windowDpi(HWND window);
