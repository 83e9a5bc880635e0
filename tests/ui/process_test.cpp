// The real program, started as a process in a folder of its own, as a user
// would start it; and the start-up load from directories that a 261-byte
// CP932 buffer could not hold.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "roster/character_roster.h"
#include "roster/platform_services.h"
#include "ui/form.h"
#include "ui/main_window.h"

namespace {

namespace fs = std::filesystem;

fs::path programPath() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path().parent_path() / L"growth-check.exe";  // build\windows
}

fs::path freshFolder(const std::wstring& name) {
  const fs::path folder = fs::temp_directory_path() / name;
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  fs::create_directories(folder);
  return folder;
}

void writeFile(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

const std::string kSampleData =
    "# test roster\r\n戦士 アレス 80 30 26 22\r\n戦士 カイン 72 34 20 28\r\n皇帝 ノルヴァ 180 64 60 52\r\n";

// A started copy of growth-check.exe, ended when the test ends.
class RunningProgram {
 public:
  explicit RunningProgram(const fs::path& folder) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + programPath().wstring() + L"\"";
    started_ = CreateProcessW(programPath().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                              nullptr, folder.c_str(), &startup, &process_);
  }
  ~RunningProgram() {
    if (!started_) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  bool started() const { return started_ != FALSE; }

  // A visible top-level window of the program with this class, waited for.
  HWND findWindow(const wchar_t* className, const wchar_t* title = nullptr) const {
    for (int attempt = 0; attempt < 200; ++attempt) {
      Search search{process_.dwProcessId, className, title, nullptr};
      EnumWindows(&matchWindow, reinterpret_cast<LPARAM>(&search));
      if (search.found) return search.found;
      Sleep(50);
    }
    return nullptr;
  }

  // The exit code, once the program has ended (or STILL_ACTIVE after 10 s).
  DWORD exitCode() const {
    WaitForSingleObject(process_.hProcess, 10000);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

 private:
  struct Search {
    DWORD processId;
    const wchar_t* className;
    const wchar_t* title;
    HWND found;
  };
  static BOOL CALLBACK matchWindow(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {}, title[128] = {};
    GetClassNameW(window, name, 64);
    GetWindowTextW(window, title, 128);
    if (owner == search.processId && IsWindowVisible(window) && wcscmp(name, search.className) == 0 &&
        (!search.title || wcscmp(title, search.title) == 0)) {
      search.found = window;
      return FALSE;
    }
    return TRUE;
  }

  PROCESS_INFORMATION process_ = {};
  BOOL started_ = FALSE;
};

std::wstring textOf(HWND window) {
  wchar_t text[512] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
  return text;
}

LRESULT countOf(HWND list) {
  DWORD_PTR count = 0;
  SendMessageTimeoutW(list, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
  return static_cast<LRESULT>(count);
}

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
  EXPECT_EQ(program.findWindow(L"#32770", L"error!!"), nullptr) << "shown once";
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
