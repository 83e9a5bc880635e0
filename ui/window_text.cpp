#include "ui/window_text.h"

#include <vector>

namespace {

constexpr UINT kCodePage = 932;

}  // namespace

std::wstring toUtf16(std::string_view cp932) {
  if (cp932.empty()) return {};
  const int size = static_cast<int>(cp932.size());
  // Without MB_ERR_INVALID_CHARS a broken sequence is replaced, not fatal.
  const int length = MultiByteToWideChar(kCodePage, 0, cp932.data(), size, nullptr, 0);
  std::wstring utf16(static_cast<std::size_t>(length), L'\0');
  if (length > 0) MultiByteToWideChar(kCodePage, 0, cp932.data(), size, utf16.data(), length);
  return utf16;
}

std::string toCp932(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int size = static_cast<int>(utf16.size());
  // No best fit: a character CP932 lacks is "?", never a look-alike (a
  // superscript two read as the digit 2, say).
  constexpr DWORD kFlags = WC_NO_BEST_FIT_CHARS;
  const int length = WideCharToMultiByte(kCodePage, kFlags, utf16.data(), size, nullptr, 0, nullptr, nullptr);
  std::string cp932(static_cast<std::size_t>(length), '\0');
  if (length > 0) {
    WideCharToMultiByte(kCodePage, kFlags, utf16.data(), size, cp932.data(), length, nullptr, nullptr);
  }
  return cp932;
}

std::string characterToCp932(char16_t character) {
  const auto wide = static_cast<wchar_t>(character);
  return toCp932(std::wstring_view(&wide, 1));
}

std::string windowText(HWND window, int maxChars) {
  std::vector<wchar_t> buffer(static_cast<std::size_t>(maxChars) + 1, L'\0');
  const int length = GetWindowTextW(window, buffer.data(), maxChars + 1);
  return toCp932({buffer.data(), static_cast<std::size_t>(length > 0 ? length : 0)});
}

void setWindowText(HWND window, std::string_view cp932) { SetWindowTextW(window, toUtf16(cp932).c_str()); }

HWND createWindow(DWORD exStyle, std::string_view className, std::string_view text, DWORD style,
                  int x, int y, int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance) {
  return CreateWindowExW(exStyle, toUtf16(className).c_str(), toUtf16(text).c_str(), style, x, y, width,
                         height, parent, menuOrId, instance, nullptr);
}

ATOM registerWindowClass(WNDCLASSEXW windowClass, std::string_view className) {
  const std::wstring name = toUtf16(className);
  windowClass.lpszClassName = name.c_str();
  return RegisterClassExW(&windowClass);
}

void addComboBoxString(HWND comboBox, std::string_view cp932) {
  SendMessageW(comboBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toUtf16(cp932).c_str()));
}

std::string comboBoxString(HWND comboBox, int index) {
  const LRESULT length = SendMessageW(comboBox, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(comboBox, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
  return toCp932(text);
}

HFONT createFont(int height, int weight, BYTE charSet, BYTE quality, BYTE pitchAndFamily,
                 std::string_view faceName) {
  return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, charSet, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, quality, pitchAndFamily, toUtf16(faceName).c_str());
}

bool fontHasGlyphs(HDC dc, std::string_view cp932) {
  const std::wstring text = toUtf16(cp932);
  std::vector<WORD> glyphs(text.size());
  const DWORD done = GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                                      GGI_MARK_NONEXISTING_GLYPHS);
  if (done == GDI_ERROR) return false;
  for (const WORD glyph : glyphs) {
    if (glyph == 0xFFFF) return false;
  }
  return true;
}

int showMessageBoxNow(HWND owner, std::string_view text, std::string_view caption, UINT type) {
  return MessageBoxW(owner, toUtf16(text).c_str(), toUtf16(caption).c_str(), type);
}
