#pragma once
// The real program started as a process, as a user starts it, and what the
// tests read of its windows from outside.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

inline fs::path programPath() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path().parent_path() / L"growth-check.exe";  // build\windows
}

inline fs::path freshFolder(const std::wstring& name) {
  const fs::path folder = fs::temp_directory_path() / name;
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  fs::create_directories(folder);
  return folder;
}

inline void writeFile(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

// A started copy of growth-check.exe, ended when the test ends.
class RunningProgram {
 public:
  // `program` started in `folder`, as a double click on it there would.
  explicit RunningProgram(const fs::path& folder, const fs::path& program = programPath()) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    started_ = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              folder.c_str(), &startup, &process_);
  }
  ~RunningProgram() {
    if (!started_) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  bool started() const { return started_ != FALSE; }

  // A visible top-level window of the program with this class, waited for
  // up to `waitMs` (ten seconds unless a test expects none).
  HWND findWindow(const wchar_t* className, const wchar_t* title = nullptr, DWORD waitMs = 10000) const {
    for (DWORD waited = 0;; waited += 50) {
      Search search{process_.dwProcessId, className, title, nullptr};
      EnumWindows(&matchWindow, reinterpret_cast<LPARAM>(&search));
      if (search.found || waited >= waitMs) return search.found;
      Sleep(50);
    }
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

inline std::wstring textOf(HWND window) {
  wchar_t text[512] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
  return text;
}

inline LRESULT countOf(HWND list) {
  DWORD_PTR count = 0;
  SendMessageTimeoutW(list, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
  return static_cast<LRESULT>(count);
}
