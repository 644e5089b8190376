#include <gtest/gtest.h>

#include "platform/process.h"

namespace vlmr::platform {
namespace {

using Tokens = std::vector<std::string>;

TEST(SplitCommandLine, WindowsQuotingAndBackslashRules) {
  EXPECT_EQ(SplitCommandLine("CorvaneQXT.EXE  /USE_SERVER 1 /ADDR 61"),
            (Tokens{"CorvaneQXT.EXE", "/USE_SERVER", "1", "/ADDR", "61"}));
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\a.exe\"\tx"),
            (Tokens{"C:\\Program Files\\a.exe", "x"}));
  EXPECT_EQ(SplitCommandLine("p\\\\\" q\" a\\\\\\b d\"e f\"g h"),
            (Tokens{"p\\\\ q", "a\\\\\\b", "de fg", "h"}));  // the program takes no escapes
  EXPECT_EQ(SplitCommandLine("p a\\\\\\\"b c"), (Tokens{"p", "a\\\"b", "c"}));
  EXPECT_EQ(SplitCommandLine("p a\\\\\\\\\"b c\" d"), (Tokens{"p", "a\\\\b c", "d"}));
  EXPECT_EQ(SplitCommandLine("p \"\" \"\x95\\\" x"), (Tokens{"p", "", "\x95\\", "x"}));
  EXPECT_EQ(SplitCommandLine("  \t "), Tokens{});
}

}  // namespace
}  // namespace vlmr::platform
