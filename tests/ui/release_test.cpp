// What a user downloads: the program's version, read back from the exe, and
// the release archive, unpacked and started as a user would.

#include "running_program.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "resources/resource_ids.h"
#include "version.h"

namespace {

// A string of the version resource's Japanese, Unicode block.
std::wstring versionString(const std::vector<char>& resource, const wchar_t* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
  if (!VerQueryValueW(resource.data(), path.c_str(), &value, &length) || length == 0) return L"<none>";
  return std::wstring(static_cast<const wchar_t*>(value), length - 1);
}

std::wstring widened(const char* ascii) { return std::wstring(ascii, ascii + std::strlen(ascii)); }

TEST(Release, TheProgramCarriesItsVersionInJapanese) {
  const std::wstring program = programPath().wstring();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(program.c_str(), &ignored);
  ASSERT_GT(size, 0u) << "a version resource";
  std::vector<char> resource(size);
  ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, size, resource.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(resource.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(GROWTH_VERSION_MINOR, GROWTH_VERSION_MAJOR)));
  EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, GROWTH_VERSION_PATCH)));
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(resource.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                             &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0411) << "Japanese";
  EXPECT_EQ(translation[1], 1200) << "Unicode";

  EXPECT_EQ(versionString(resource, L"FileVersion"), widened(GROWTH_VERSION_TEXT));
  EXPECT_EQ(versionString(resource, L"ProductVersion"), widened(GROWTH_VERSION_TEXT));
  EXPECT_EQ(versionString(resource, L"ProductName"), L"ノルヴァ 成長確認ツール");
  EXPECT_EQ(versionString(resource, L"FileDescription"), L"ノルヴァ 成長確認ツール");
  EXPECT_EQ(versionString(resource, L"OriginalFilename"), L"growth-check.exe");
  EXPECT_EQ(versionString(resource, L"LegalCopyright").rfind(L"Copyright \u00A9 2026 ", 0), 0u);
}

// Run by the release_archive test, which unpacks the archive and names the
// folder it holds in GROWTH_UNPACKED_FOLDER.
TEST(ReleaseArchive, TheUnpackedProgramStartsWithTheSampleLoaded) {
  const char* unpacked = std::getenv("GROWTH_UNPACKED_FOLDER");
  if (unpacked == nullptr) GTEST_SKIP() << "run by the release_archive test";
  const fs::path folder(unpacked);
  ASSERT_TRUE(fs::exists(folder / L"growth-check.exe"));
  ASSERT_TRUE(fs::exists(folder / L"chardata.txt")) << "beside the program";

  RunningProgram program(folder, folder / L"growth-check.exe");
  ASSERT_TRUE(program.started());
  HWND window = program.findWindow(L"HP");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(program.findWindow(L"#32770", nullptr, 1000), nullptr) << "no error box";
  EXPECT_EQ(countOf(GetDlgItem(window, 4001)), 4) << "the sample's four warriors";
  EXPECT_EQ(textOf(GetDlgItem(window, 4001)), L"アレス");
  EXPECT_EQ(textOf(GetDlgItem(window, 1004)), L"80  30　26　22");
  PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(program.exitCode(), 0u);
}

}  // namespace
