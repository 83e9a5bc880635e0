// Reading a data file costs a fixed amount of memory beyond the roster,
// whatever the length of a line, a name, a run of blanks or of digits.
// A counting allocator for this test program watches every allocation.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>
#include <string>

#include "roster/chardata_loader.h"
#include "roster/platform_services.h"

namespace {

std::atomic<std::size_t> g_allocatedBytes{0};
std::atomic<std::size_t> g_peakBytes{0};

// Room before each block for its size, keeping the block's alignment.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* countedAllocation(std::size_t size) {
  void* block = std::malloc(size + kHeader);
  if (block == nullptr) throw std::bad_alloc();
  *static_cast<std::size_t*>(block) = size;
  const std::size_t now = g_allocatedBytes += size;
  for (std::size_t peak = g_peakBytes; now > peak && !g_peakBytes.compare_exchange_weak(peak, now);) {
  }
  return static_cast<char*>(block) + kHeader;
}

void countedRelease(void* pointer) noexcept {
  if (pointer == nullptr) return;
  void* block = static_cast<char*>(pointer) - kHeader;
  g_allocatedBytes -= *static_cast<std::size_t*>(block);
  std::free(block);
}

}  // namespace

void* operator new(std::size_t size) { return countedAllocation(size); }
void* operator new[](std::size_t size) { return countedAllocation(size); }
void operator delete(void* pointer) noexcept { countedRelease(pointer); }
void operator delete[](void* pointer) noexcept { countedRelease(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { countedRelease(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { countedRelease(pointer); }

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLongRun = 64u << 20;  // 64 MiB
constexpr std::size_t kAllowedBytes = 1u << 20;

// Writes `count` copies of `text`, a megabyte at a time.
void writeRepeated(std::FILE* file, std::string_view text, std::size_t count) {
  std::string block;
  while (block.size() < (1u << 20) && count > 0) {
    block += text;
    --count;
  }
  const std::size_t perBlock = block.size() / text.size();
  for (std::size_t left = count + perBlock; left > 0;) {
    const std::size_t copies = std::min(left, perBlock);
    std::fwrite(block.data(), 1, copies * text.size(), file);
    left -= copies;
  }
}

class LongLines : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = platformServices();
    platformServices().writeDebugTrace = [](std::string_view) {};
    directory_ = fs::temp_directory_path() / "growth-check-long-lines";
    fs::create_directories(directory_);
  }
  void TearDown() override {
    platformServices() = saved_;
    std::error_code ignored;
    fs::remove_all(directory_, ignored);
  }

  std::FILE* createDataFile() {
    return std::fopen((directory_ / "chardata.txt").string().c_str(), "wb");
  }

  // Loads the file into a roster made beforehand, and returns the most that
  // the load had allocated at once beyond what was allocated before it.
  std::size_t loadAndMeasure(CharacterRoster& roster) {
    const std::string text = directory_.string();
    const SystemPath path = directory_.native();
    const std::size_t before = g_allocatedBytes;
    g_peakBytes = before;
    EXPECT_FALSE(loadCharacterData(roster, text, path));
    return g_peakBytes - before;
  }

  fs::path directory_;

 private:
  PlatformServices saved_;
};

TEST_F(LongLines, ALongNameBlankRunAndDigitRunLoadInBoundedMemory) {
  std::FILE* file = createDataFile();
  ASSERT_NE(file, nullptr);
  std::fputs("戦士 ", file);  // a 64 MiB name
  writeRepeated(file, "名", kLongRun / 2);
  std::fputs(" 1 2 3 4\r\n皇帝 blanks", file);  // 64 MiB of blanks before the numbers
  writeRepeated(file, " \t", kLongRun / 2);
  std::fputs("5 6 7 8\n将軍 digits 12 ", file);  // a number of 64 MiB of digits
  writeRepeated(file, "9", kLongRun);
  std::fputs(" -3 4\n兵士 last 9 10 11 12", file);
  std::fclose(file);

  const auto roster = std::make_unique<CharacterRoster>();
  const std::size_t peak = loadAndMeasure(*roster);
  EXPECT_LE(peak, kAllowedBytes);
  std::printf("at most %zu bytes allocated at once while reading %zu MiB\n", peak, 3 * kLongRun >> 20);

  ASSERT_EQ(roster->count(2), 1);
  std::string name;
  for (int i = 0; i < 49; ++i) name += "名";
  EXPECT_EQ(roster->record(2, 0)->name, name) << "98 bytes of the name";
  EXPECT_EQ(roster->record(2, 0)->speed, 4);
  ASSERT_EQ(roster->count(5), 1);
  EXPECT_EQ(roster->record(5, 0)->name, "blanks");
  EXPECT_EQ(roster->record(5, 0)->hp, 5);
  EXPECT_EQ(roster->record(5, 0)->speed, 8);
  ASSERT_EQ(roster->count(3), 1);
  EXPECT_EQ(roster->record(3, 0)->attack, 2147483647) << "clamped to the 32-bit range";
  EXPECT_EQ(roster->record(3, 0)->defence, -3);
  ASSERT_EQ(roster->count(0), 1);
  EXPECT_EQ(roster->record(0, 0)->speed, 12);
}

TEST_F(LongLines, ALongUtf8LineLoadsInBoundedMemory) {
  std::FILE* file = createDataFile();
  ASSERT_NE(file, nullptr);
  std::fputs("\xEF\xBB\xBF\xE6\x88\xA6\xE5\xA3\xAB ", file);  // a mark, then 戦士 in UTF-8
  writeRepeated(file, "\xE3\x82\xA2", kLongRun / 3);             // ア
  std::fputs(" 1 2 3 4\n", file);
  std::fclose(file);

  const auto roster = std::make_unique<CharacterRoster>();
  const std::size_t peak = loadAndMeasure(*roster);
  EXPECT_LE(peak, kAllowedBytes);
  std::printf("at most %zu bytes allocated at once while reading %zu MiB of UTF-8\n", peak, kLongRun >> 20);
  ASSERT_EQ(roster->count(2), 1);
  EXPECT_EQ(roster->record(2, 0)->name.size(), 98u);
  EXPECT_EQ(roster->record(2, 0)->name.substr(0, 2), "ア");
  EXPECT_EQ(roster->record(2, 0)->speed, 4);
}

}  // namespace
