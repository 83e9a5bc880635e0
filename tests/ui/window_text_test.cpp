// The window boundary: CP932 to UTF-16 and back with code page 932, whatever
// the system code page is.

#include <windows.h>

#include <gtest/gtest.h>

#include "roster/rarity.h"
#include "ui/window_text.h"

namespace {

TEST(WindowText, ConvertsWithCodePage932BothWays) {
  struct Case {
    const char* cp932;
    const wchar_t* utf16;
  };
  const Case cases[] = {
      {"\x95\x5C\x8E\xA6", L"表示"},                 // 表 ends in a backslash byte
      {"\x97\x5C\x91\x7A", L"予想"},                 // and so does 予
      {"\x81\x93\x81\x40", L"％　"},                 // full-width percent and space
      {"\x81\x60", L"\uFF5E"},                       // CP932's own mapping of 0x8160
      {"\xB1\xB2\xB3", L"ｱｲｳ"},                      // half-width katakana, one byte each
      {"HP+20(+20.0\x81\x93)", L"HP+20(+20.0％)"},
      {"", L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(toUtf16(c.cp932), c.utf16) << c.cp932;
    EXPECT_EQ(toCp932(c.utf16), c.cp932) << c.cp932;
  }
  const wchar_t* const names[] = {L"兵士", L"上兵", L"戦士", L"将軍", L"王者", L"皇帝"};
  for (int code = 0; code < kRarityCount; ++code) EXPECT_EQ(toUtf16(rarityName(code)), names[code]);
}

TEST(WindowText, BrokenBytesAreReplacedRatherThanEmptyingTheText) {
  const std::wstring shown = toUtf16("ab\x81");  // a lead byte without its second byte
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown.substr(0, 2), L"ab");
  EXPECT_NE(shown[2], L'\0');
  // A character CP932 lacks comes back as a question mark.
  EXPECT_EQ(toCp932(L"x\uD55Cy"), "x?y");
}

TEST(WindowText, ReadsAndWritesAWindowsTextAsCp932) {
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(edit, nullptr);
  setWindowText(edit, "\x95\x5C\x8E\xA6 ok");
  wchar_t wide[32] = {};
  GetWindowTextW(edit, wide, 32);
  EXPECT_STREQ(wide, L"表示 ok");
  EXPECT_EQ(windowText(edit, 99), "\x95\x5C\x8E\xA6 ok");
  EXPECT_EQ(windowText(edit, 2), "\x95\x5C\x8E\xA6") << "at most maxChars characters";
  DestroyWindow(edit);
}

}  // namespace
