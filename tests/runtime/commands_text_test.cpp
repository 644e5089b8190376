// Text, number and byte-array commands through the typed face and, for
// omitted and mistyped arguments, through the command call itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/command_routines.h"
#include "runtime/commands.h"
#include "runtime/rt_heap.h"
#include "runtime/runtime_frame.h"

namespace vlmr::rt {
namespace {

using namespace literals;

std::vector<std::string> Pieces(const TextArray& array) {
  std::vector<std::string> out;
  for (int32_t i = 0; i < array.size(); ++i) out.emplace_back(array[i]);
  return out;
}

using Strings = std::vector<std::string>;

TEST(TextCommands, NullTextBehavesAsEmptyAndEmptyResultsAreNull) {
  EXPECT_EQ(cmd::TextLength(nullptr), 0);
  EXPECT_EQ(cmd::TextLength("abc"), 3);
  EXPECT_EQ(cmd::LeftText(nullptr, 3).get(), nullptr);
  EXPECT_EQ(cmd::ToUpper(nullptr).get(), nullptr);
  EXPECT_EQ(cmd::FindTextFromEnd(nullptr, "a"), -1);
  EXPECT_EQ(cmd::SplitText(nullptr).size(), 0);
  EXPECT_EQ(cmd::ToByteArray(nullptr).get(), nullptr);
  EXPECT_EQ(cmd::LeftText("abc", 0).get(), nullptr);  // empty text is null, never an empty block
  EXPECT_EQ(cmd::ToTextFromBytes(nullptr).get(), nullptr);
}

TEST(TextCommands, LeftAndRightPartsClampTheirCount) {
  EXPECT_EQ(cmd::LeftText("abcdef", 2).view(), "ab");
  EXPECT_EQ(cmd::LeftText("abc", 99).view(), "abc");
  EXPECT_TRUE(cmd::LeftText("abc", -1).empty());
  EXPECT_EQ(cmd::RightText("abcdef", 2).view(), "ef");
  EXPECT_EQ(cmd::RightText("abc", 99).view(), "abc");
  EXPECT_TRUE(cmd::RightText("abc", -4).empty());
}

TEST(TextCommands, FindFromEndNeverMatchesOnATrailByte) {
  // 乤 is 0x81 0x61: its trail byte is the letter a.
  const std::string text = std::string("a") + "乤"_t;
  EXPECT_EQ(cmd::FindTextFromEnd(text.c_str(), "a"), 1);
  // 0x81 0x81 is one character, so the following a is real.
  EXPECT_EQ(cmd::FindTextFromEnd("\x81\x81" "a", "a"), 3);
  // 乗 is 0x81 0x5C: no backslash inside it.
  const std::string path = std::string("d\\") + "乗"_t + "x";
  EXPECT_EQ(cmd::FindTextFromEnd(path.c_str(), "\\"), 2);
}

TEST(TextCommands, FindFromEndHonoursStartAndIgnoreCase) {
  EXPECT_EQ(cmd::FindTextFromEnd("abcabc", "bc"), 5);
  EXPECT_EQ(cmd::FindTextFromEnd("abcabc", "bc", 4), 2);
  EXPECT_EQ(cmd::FindTextFromEnd("abcabc", "bc", 0), -1);
  EXPECT_EQ(cmd::FindTextFromEnd("aBC", "bc"), -1);
  EXPECT_EQ(cmd::FindTextFromEnd("aBC", "bc", std::nullopt, true), 2);
  EXPECT_EQ(cmd::FindTextFromEnd("abc", ""), -1);
}

TEST(TextCommands, CaseChangesOnlyAsciiLettersAndKeepsDoubleByteCharacters) {
  const std::string mixed = std::string("aZ") + "乤"_t + "q1";
  EXPECT_EQ(cmd::ToUpper(mixed.c_str()).view(), std::string("AZ") + "乤"_t + "Q1");
  EXPECT_EQ(cmd::ToLower(mixed.c_str()).view(), std::string("az") + "乤"_t + "q1");
}

TEST(SplitText, KeepsInnerEmptyPiecesAndDropsATrailingEmptyOne) {
  EXPECT_EQ(Pieces(cmd::SplitText("a,,b,")), (Strings{"a", "", "b"}));  // default ","
  EXPECT_EQ(Pieces(cmd::SplitText(",a", ",")), (Strings{"", "a"}));
  EXPECT_EQ(Pieces(cmd::SplitText("a\r\n\r\nc\r\n", "\r\n")), (Strings{"a", "", "c"}));
  EXPECT_EQ(cmd::SplitText("").size(), 0);
}

TEST(SplitText, EmptyDelimiterMaximumCountAndDoubleByteUnits) {
  EXPECT_EQ(Pieces(cmd::SplitText("a,b", "")), (Strings{"a,b"}));
  EXPECT_EQ(Pieces(cmd::SplitText("a,b,c,d", ",", 2)), (Strings{"a", "b"}));
  EXPECT_EQ(Pieces(cmd::SplitText("a,b", ",", 5)), (Strings{"a", "b"}));
  EXPECT_EQ(cmd::SplitText("a,b", ",", 0).size(), 0);
  EXPECT_EQ(cmd::SplitText("a,b", ",", -3).size(), 0);
  const std::string text = std::string("a\\") + "乗"_t + "\\b";
  EXPECT_EQ(Pieces(cmd::SplitText(text.c_str(), "\\")), (Strings{"a", "乗"_t, "b"}));
}

TEST(NumberCommands, RoundToDecimalsHalfAwayFromZeroWithTheNudge) {
  EXPECT_EQ(cmd::RoundToDecimals(2.5), 3.0);  // decimals omitted: 0
  EXPECT_EQ(cmd::RoundToDecimals(-2.5), -3.0);
  EXPECT_EQ(cmd::RoundToDecimals(2.4999), 2.0);
  EXPECT_EQ(cmd::RoundToDecimals(1.005, 2), 1.01);  // 1.00499999... nudged over the half
  EXPECT_EQ(cmd::RoundToDecimals(0.4999999999995), 1.0);  // within 1e-12 of the half
  EXPECT_EQ(cmd::RoundToDecimals(0.49999999999), 0.0);
  EXPECT_EQ(cmd::RoundToDecimals(1250, -2), 1300.0);
  EXPECT_EQ(cmd::RoundToDecimals(-1249, -2), -1200.0);
  EXPECT_EQ(cmd::RoundToDecimals(1e300, 400), 1e300);
  EXPECT_EQ(cmd::RoundToDecimals(123.0, -400), 0.0);
}

TEST(NumberCommands, TextsOfNumbers) {
  EXPECT_EQ(cmd::ToText(-42).view(), "-42");
  EXPECT_EQ(cmd::ToText(0.1 + 0.2).view(), "0.3");
  EXPECT_EQ(cmd::ToText(2.5).view(), "2.5");
  EXPECT_EQ(cmd::ToText(123456789012345.0).view(), "1.234567890123e+14");
  EXPECT_EQ(cmd::ToText(1.0 / 3).view(), "0.3333333333333");
  EXPECT_EQ(cmd::ToHexText(255).view(), "FF");
  EXPECT_EQ(cmd::ToHexText(0).view(), "0");
  EXPECT_EQ(cmd::ToHexText(-1).view(), "FFFFFFFF");
  const Bytes bytes(NewByteArray("ab\0cd", 5));
  EXPECT_EQ(cmd::ToTextFromBytes(bytes.get()).view(), "ab");
}

TEST(NumberCommands, ToNumberParsesTheLeadingDecimalNumber) {
  EXPECT_EQ(cmd::ToNumber("1024"), 1024.0);
  EXPECT_EQ(cmd::ToNumber("  -12.5e1xyz"), -125.0);
  EXPECT_EQ(cmd::ToNumber(".5"), 0.5);
  EXPECT_EQ(cmd::ToNumber("abc"), 0.0);
  EXPECT_EQ(cmd::ToNumber(nullptr), 0.0);
  EXPECT_EQ(cmd::ToNumber(RtValue::Int(7)), 7.0);
}

TEST(NumberCommands, BitwiseAndOfAllValues) {
  EXPECT_EQ(cmd::BitAnd({0x0FFF, 0x00FF, 0x0FF0}), 0x00F0);
  EXPECT_EQ(cmd::BitAnd({-1, 0x1234}), 0x1234);
}

TEST(ByteArrayCommands, CountsAreClampedAndHugeRequestsGiveTheEmptyArray) {
  const Bytes abc = cmd::ToByteArray("abc");
  EXPECT_EQ(abc.view(), "abc");
  EXPECT_EQ(cmd::ByteArrayLength(abc.get()), 3);
  EXPECT_EQ(cmd::ByteArrayLength(nullptr), 0);
  EXPECT_EQ(cmd::LeftBytes(abc.get(), 2).view(), "ab");
  EXPECT_EQ(cmd::LeftBytes(abc.get(), 100).view(), "abc");
  EXPECT_EQ(cmd::LeftBytes(abc.get(), -1).get(), nullptr);
  EXPECT_EQ(cmd::BlankBytes(4).view(), std::string(4, '\0'));
  EXPECT_EQ(cmd::BlankBytes(0).get(), nullptr);
  EXPECT_EQ(cmd::BlankBytes(-5).get(), nullptr);
  EXPECT_EQ(cmd::BlankBytes(INT32_MAX).get(), nullptr);
  const char memory[] = "xyz";
  EXPECT_EQ(cmd::BytesFromMemory(memory, 2).view(), "xy");
  EXPECT_EQ(cmd::BytesFromMemory(memory, -1).get(), nullptr);
}

TEST(CommandCall, OmittedAndMissingArgumentsTakeTheDefaults) {
  // Records with tag 0 and records beyond the count both mean "omitted".
  RtValue split[] = {RtValue::Text("a,b;c"), RtValue::Omitted(), RtValue::Omitted()};
  const TextArray pieces(call_core_command(&routines::SplitText, 3, split).AsPointer<void>());
  EXPECT_EQ(Pieces(pieces), (Strings{"a", "b;c"}));

  RtValue round[] = {RtValue::Double(7.5)};
  EXPECT_EQ(call_core_command(&routines::RoundToDecimals, 1, round).AsDouble(), 8.0);

  // A mistyped argument is read as empty, not dereferenced.
  RtValue wrong[] = {RtValue::Int(12345), RtValue::Int(2)};
  EXPECT_EQ(call_core_command(&routines::LeftPartOfText, 2, wrong).payload, 0u);
}

}  // namespace
}  // namespace vlmr::rt
