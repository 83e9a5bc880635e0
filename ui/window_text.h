#pragma once
// The window boundary. Every text of the program is CP932 bytes; the window
// system works in UTF-16. All conversion between the two happens here, with
// code page 932 named explicitly, so the text is right whatever the system
// code page is. Everything in the program that hands text to a window, or
// reads it back, goes through these functions.

#include <windows.h>

#include <string>
#include <string_view>

// CP932 to UTF-16. A byte sequence that is not CP932 (a lead byte without
// its second byte, say) becomes the code page's default character rather
// than emptying the whole text.
std::wstring toUtf16(std::string_view cp932);

// UTF-16 to CP932. A character that CP932 lacks becomes "?", with no
// best-fit look-alike.
std::string toCp932(std::wstring_view utf16);

// One BMP character in CP932 as toCp932 converts it: the core's seam for
// names read from a UTF-8 or UTF-16 data file.
std::string characterToCp932(char16_t character);

// The window's text, at most `maxChars` characters of it, as CP932.
std::string windowText(HWND window, int maxChars);
void setWindowText(HWND window, std::string_view cp932);

HWND createWindow(DWORD exStyle, std::string_view className, std::string_view text, DWORD style,
                  int x, int y, int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance);

ATOM registerWindowClass(WNDCLASSEXW windowClass, std::string_view className);

// CB_ADDSTRING of one CP932 text.
void addComboBoxString(HWND comboBox, std::string_view cp932);
// The text of item `index` of a combo box list, as CP932.
std::string comboBoxString(HWND comboBox, int index);

HFONT createFont(int height, int weight, BYTE charSet, BYTE quality, BYTE pitchAndFamily,
                 std::string_view faceName);

// Whether the font selected into `dc` has a glyph for every character of
// the CP932 text.
bool fontHasGlyphs(HDC dc, std::string_view cp932);

// MessageBoxW through the handler in message_box.h.
int showMessageBoxNow(HWND owner, std::string_view text, std::string_view caption, UINT type);
