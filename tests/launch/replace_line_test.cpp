#include <gtest/gtest.h>

#include "launch/replace_line.h"

namespace vlmr::launch {
namespace {

TEST(ReplaceLine, ReplacesOneLineAndDropsTheTrailingBreak) {
  EXPECT_EQ(ReplaceLine("a\r\n\r\nc\r\n", 2, "b").view(), "a\r\nb\r\nc");
  EXPECT_EQ(ReplaceLine("a\r\n\r\nc\r\n", 1, "z").view(), "z\r\n\r\nc");
  EXPECT_EQ(ReplaceLine("[x]\r\nSCREEN_WIDTH\t800\r\nSCREEN_HEIGHT\t600", 3,
                        "SCREEN_HEIGHT\t1080").view(),
            "[x]\r\nSCREEN_WIDTH\t800\r\nSCREEN_HEIGHT\t1080");
}

TEST(ReplaceLine, LineNumbersOutsideTheTextGiveTheEmptyText) {
  EXPECT_TRUE(ReplaceLine("a\r\n\r\nc\r\n", 4, "b").empty());
  EXPECT_TRUE(ReplaceLine("a\r\nb", 0, "x").empty());
  EXPECT_TRUE(ReplaceLine(nullptr, 1, "x").empty());
  EXPECT_TRUE(ReplaceLine("only", 1, nullptr).empty());  // the one line replaced by nothing
}

}  // namespace
}  // namespace vlmr::launch
