// The real program, started as a process in a folder of its own, as a user
// would start it; and the start-up load from directories that a 261-byte
// CP932 buffer could not hold.

#include "running_program.h"

#include <vector>

#include "roster/character_roster.h"
#include "roster/platform_services.h"
#include "ui/form.h"
#include "ui/main_window.h"

namespace {

const std::string kSampleData =
    "# test roster\r\n戦士 アレス 80 30 26 22\r\n戦士 カイン 72 34 20 28\r\n皇帝 ノルヴァ 180 64 60 52\r\n";

TEST(Program, StartsWithTheDataOfItsFolderAndTheCloseBoxEndsItWithCodeZero) {
  const fs::path folder = freshFolder(L"growth-check-start");
  writeFile(folder / L"chardata.txt", kSampleData);
  RunningProgram program(folder);
  ASSERT_TRUE(program.started());
  HWND window = program.findWindow(L"HP");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(textOf(window), L"ノルヴァ 成長確認ツール");
  EXPECT_EQ(countOf(GetDlgItem(window, 4001)), 2) << "the two warriors are listed";
  EXPECT_EQ(textOf(GetDlgItem(window, 4001)), L"アレス");
  EXPECT_EQ(textOf(GetDlgItem(window, 1004)), L"80  30　26　22");
  EXPECT_EQ(textOf(GetDlgItem(window, 2001)), L"80");

  PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(program.exitCode(), 0u);
}

// The sample saved by editors that write Unicode: the same characters.
TEST(Program, ListsTheSameCharactersFromAUtf8OrUtf16File) {
  const std::u8string utf8 =
      u8"# test roster\r\n戦士 アレス 80 30 26 22\r\n戦士 カイン 72 34 20 28\r\n皇帝 ノルヴァ 180 64 60 52\r\n";
  const std::u16string utf16 =
      u"# test roster\r\n戦士 アレス 80 30 26 22\r\n戦士 カイン 72 34 20 28\r\n皇帝 ノルヴァ 180 64 60 52\r\n";
  std::string utf16le = "\xFF\xFE";
  for (const char16_t unit : utf16) {
    utf16le += static_cast<char>(unit & 0xFF);
    utf16le += static_cast<char>(unit >> 8);
  }
  const struct {
    const wchar_t* folder;
    std::string bytes;
  } files[] = {{L"growth-check-utf8", std::string(utf8.begin(), utf8.end())},
               {L"growth-check-utf16", utf16le}};
  for (const auto& file : files) {
    SCOPED_TRACE(testing::Message() << fs::path(file.folder).string());
    const fs::path folder = freshFolder(file.folder);
    writeFile(folder / L"chardata.txt", file.bytes);
    RunningProgram program(folder);
    ASSERT_TRUE(program.started());
    HWND window = program.findWindow(L"HP");
    ASSERT_NE(window, nullptr);
    HWND names = GetDlgItem(window, 4001);
    EXPECT_EQ(countOf(names), 2);
    EXPECT_EQ(textOf(names), L"アレス");
    EXPECT_EQ(textOf(GetDlgItem(window, 1004)), L"80  30　26　22");
    SendMessageTimeoutW(names, CB_SETCURSEL, 1, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    EXPECT_EQ(textOf(names), L"カイン");
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.exitCode(), 0u);
  }
}

TEST(Program, WithoutTheDataFileShowsOneBoxThenWorksWithEmptyLists) {
  const fs::path folder = freshFolder(L"growth-check-missing");
  RunningProgram program(folder);
  ASSERT_TRUE(program.started());
  HWND box = program.findWindow(L"#32770", L"error!!");
  ASSERT_NE(box, nullptr) << "the failure box";
  EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr) << "the box has no owner";
  std::vector<std::wstring> texts;
  int buttons = 0;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[32] = {};
    GetClassNameW(child, name, 32);
    if (_wcsicmp(name, L"Button") == 0 && IsWindowVisible(child)) ++buttons;
    texts.push_back(textOf(child));
  }
  EXPECT_EQ(buttons, 1) << "OK alone";
  EXPECT_NE(std::find(texts.begin(), texts.end(), L"file:chardata.txt 読み込み失敗"), texts.end());

  // The main window is up and enabled behind the box.
  HWND window = program.findWindow(L"HP");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowEnabled(window));

  PostMessageW(box, WM_COMMAND, IDOK, 0);
  for (int wait = 0; wait < 100 && IsWindow(box); ++wait) Sleep(50);
  EXPECT_FALSE(IsWindow(box));
  EXPECT_EQ(program.findWindow(L"#32770", L"error!!", 1000), nullptr) << "shown once";
  EXPECT_EQ(countOf(GetDlgItem(window, 4001)), 0);
  EXPECT_EQ(countOf(GetDlgItem(window, 4000)), 6);
  EXPECT_EQ(textOf(GetDlgItem(window, 1004)), L"");

  PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(program.exitCode(), 0u);
}

// Loads from the current directory as the program does at start-up, with
// the trace watched.
class StartupLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = platformServices();
    platformServices().writeDebugTrace = [this](std::string_view text) { traces.emplace_back(text); };
    platformServices().showMessageBox = [this](std::string_view, std::string_view) { ++boxes; };
    wchar_t previous[4096] = {};
    GetCurrentDirectoryW(4096, previous);
    previous_ = previous;
    formRoster().clear();
  }
  void TearDown() override {
    SetCurrentDirectoryW(previous_.c_str());
    platformServices() = saved_;
    formRoster().clear();
  }
  std::vector<std::string> traces;
  int boxes = 0;

 private:
  PlatformServices saved_;
  std::wstring previous_;
};

TEST_F(StartupLoad, FindsTheFileInADirectoryThatCp932CannotSpell) {
  // Hangul and é have no CP932 form.
  const fs::path folder = freshFolder(L"growth-check-한국어-été");
  writeFile(folder / L"chardata.txt", kSampleData);
  ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));
  EXPECT_EQ(currentDirectory(), folder.native());
  EXPECT_FALSE(loadRosterFrom(currentDirectory()));
  EXPECT_EQ(boxes, 0);
  EXPECT_EQ(formRoster().count(2), 2);
  EXPECT_EQ(formRoster().count(5), 1);
  ASSERT_FALSE(traces.empty());
  EXPECT_TRUE(traces[0].ends_with("\\chardata.txt\n")) << traces[0];
}

TEST_F(StartupLoad, FindsTheFileInADirectoryLongerThan261Bytes) {
  fs::path folder = fs::temp_directory_path() / L"growth-check-long";
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  while (folder.native().size() < 320) folder /= L"成長確認ツールのとても長いフォルダー名";
  fs::create_directories(folder, ignored);
  ASSERT_TRUE(fs::is_directory(folder));
  writeFile(folder / L"chardata.txt", kSampleData);
  if (!SetCurrentDirectoryW(folder.c_str())) {
    GTEST_SKIP() << "this system keeps the current directory within MAX_PATH";
  }
  const std::wstring current = currentDirectory();
  EXPECT_EQ(current, folder.native());
  EXPECT_GT(current.size(), 261u);
  EXPECT_FALSE(loadRosterFrom(current));
  EXPECT_EQ(boxes, 0);
  EXPECT_EQ(formRoster().count(2), 2);
}

}  // namespace
