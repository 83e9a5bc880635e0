#pragma once
// Every message box of the program goes through one handler, so that tests
// can answer the boxes instead of a person.

#include <windows.h>

#include <functional>
#include <string_view>

using MessageBoxHandler =
    std::function<int(HWND owner, std::string_view text, std::string_view caption, UINT type)>;

// The handler in use; it shows a real box until something replaces it.
MessageBoxHandler& messageBoxHandler();

// Shows a box (CP932 texts) and returns the button chosen (IDOK, IDYES, ...).
int showMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type);

// Points the core's platform services at Windows: the data file's failure box
// (no owner, MB_OK alone) through the handler above, the debug trace to
// OutputDebugStringA, and characters to CP932 by the window boundary's
// conversion.
void installWindowsPlatformServices();
