#include "update/safe_relative_path.h"

#include <gtest/gtest.h>

namespace vlmr::update {
namespace {

TEST(IsSafeRelativePath, AcceptsPlainPathsBelowTheFolder) {
  for (const char* path : {"data.pak", "Lanternfall\\DAC_VLMR\\0009.new", "a/b/c.txt",
                           "\\leading\\separator.dat", "dir.with.dots\\..hidden\\x..y",
                           "\xB5\x5C..\\f"})  // a GBK character whose trail byte is "\"
    EXPECT_TRUE(IsSafeRelativePath(path)) << path;
}

TEST(IsSafeRelativePath, RefusesWhatLeavesTheFolder) {
  for (const char* path : {"", "\\", "..\\launcher.exe", "a\\..\\..\\b", "a/../b", "..",
                           "a\\...\\b", "a\\.. \\b", "C:\\Windows\\x.dll", "C:x.dll",
                           "\\\\server\\share\\x", "//server/share/x", "a\\b:stream"})
    EXPECT_FALSE(IsSafeRelativePath(path)) << path;
}

}  // namespace
}  // namespace vlmr::update
