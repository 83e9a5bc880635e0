// The chardata.txt that the web page writes back, with characters added in
// it, opened by the real program. Run by the page's tests, which name in
// GROWTH_WRITTEN_ROSTER a folder holding the file and expected.txt: what
// the page showed of each added character, in UTF-8, eleven lines each:
// its rarity code, its name as the list shows it, its base stats as label
// 1004 shows them, the five numbers typed (tab-separated), and the seven
// result lines top to bottom. Skipped without it.

#include "running_program.h"

#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

std::wstring wide(const std::string& utf8) {
  std::wstring text(utf8.size(), L'\0');
  text.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), static_cast<int>(text.size()))));
  return text;
}

void send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, nullptr);
}

// Chooses in a list as a person does: the item, then the notification.
void choose(HWND window, int list, int position) {
  HWND control = GetDlgItem(window, list);
  send(control, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
  send(window, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
}

TEST(WrittenByThePage, ListsEachAddedCharacterAndGivesThePagesLines) {
  const char* folder = std::getenv("GROWTH_WRITTEN_ROSTER");
  if (!folder) GTEST_SKIP() << "run by the web page's tests";
  std::ifstream expected(fs::path(folder) / "expected.txt", std::ios::binary);
  std::vector<std::wstring> lines;
  for (std::string line; std::getline(expected, line);) lines.push_back(wide(line));
  ASSERT_EQ(lines.size() % 11, 0u);

  RunningProgram program{fs::path(folder)};
  ASSERT_TRUE(program.started());
  HWND window = program.findWindow(L"HP");
  ASSERT_NE(window, nullptr);
  for (std::size_t at = 0; at < lines.size(); at += 11) {
    const std::wstring& name = lines[at + 1];
    SCOPED_TRACE(testing::Message() << "character " << at / 11);
    choose(window, 4000, std::stoi(lines[at]));
    HWND names = GetDlgItem(window, 4001);
    int position = static_cast<int>(countOf(names)) - 1;  // added characters come last: the last of the name
    for (; position >= 0; --position) {
      send(names, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
      if (textOf(names) == name) break;
    }
    ASSERT_GE(position, 0) << "the added character is listed";
    choose(window, 4001, position);
    EXPECT_EQ(textOf(GetDlgItem(window, 1004)), lines[at + 2]) << "its base stats";
    std::wistringstream typed(lines[at + 3]);
    std::wstring number;
    for (int field = 2000; std::getline(typed, number, L'\t'); ++field) {
      send(GetDlgItem(window, field), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(number.c_str()));
    }
    send(window, WM_COMMAND, MAKEWPARAM(5000, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, 5000)));
    const int shown[] = {1005, 1006, 1007, 1008, 1011, 1009, 1010};
    for (std::size_t line = 0; line < 7; ++line) {
      EXPECT_EQ(textOf(GetDlgItem(window, shown[line])), lines[at + 4 + line]) << "line " << line + 1;
    }
  }
  PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(program.exitCode(), 0u);
}

}  // namespace
