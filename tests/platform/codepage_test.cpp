#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace vlmr::platform {
namespace {

constexpr uint32_t kErrorOnInvalidChars = 0x08;

TEST(CodePage, Cp936MapsEuroUserDefinedAreaAndChineseBothWays) {
  EXPECT_EQ(GbkToUtf8("\xD6\xD0\xCE\xC4"), "中文");
  EXPECT_EQ(Utf8ToGbk("中文"), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(GbkToUtf16("\x80"), u"\u20AC");  // Windows CP936, not plain GBK
  EXPECT_EQ(Utf8ToGbk("€"), "\x80");
  EXPECT_EQ(GbkToUtf16("\xAA\xA1\xFE\xFE"), u"\uE000\uE4C5");  // user-defined areas
  EXPECT_EQ(Utf16ToGbk(u"\uE000\uE4C5"), "\xAA\xA1\xFE\xFE");
  EXPECT_EQ(GbkToUtf16("\xFF"), u"\uF8F5");
  EXPECT_EQ(GbkToUtf16("\x95\x5C").size(), 1u);  // a trail byte 0x5C is no backslash
}

TEST(CodePage, CharactersCp936LacksTravelAsGb18030FourByteSequences) {
  for (auto [utf8, bytes] : {std::pair{"😀", "\x94\x39\xFC\x36"}, {"𠀀", "\x95\x32\x82\x36"},
                             {"ᠠ", "\x81\x34\xD6\x30"}}) {
    EXPECT_EQ(Utf8ToGbk(utf8), bytes) << utf8;
    EXPECT_EQ(GbkToUtf8(bytes), utf8) << utf8;
  }
  EXPECT_EQ(Utf8ToGbk("游戏€"), "\xD3\xCE\xCF\xB7\x80");  // code page 936 wherever it can
  EXPECT_EQ(GbkToUtf8("a\x81\x30" "b"), "a\uFFFD0b");  // no four-byte sequence
}

TEST(CodePage, OnlyBytes0x81To0xFELeadAMultiByteCharacter) {
  EXPECT_FALSE(IsGbkLeadByte(0x80));
  EXPECT_FALSE(IsGbkLeadByte(0xFF));
  EXPECT_TRUE(IsGbkLeadByte(0x81));
  EXPECT_TRUE(IsGbkLeadByte(0xFE));
  EXPECT_EQ(GbkToUtf8("\x80\\x\xFF\\"), "€\\x\uF8F5\\");  // the backslashes stay themselves
}

TEST(CodePage, InvalidGbkBecomesReplacementWithoutSwallowingAscii) {
  EXPECT_EQ(GbkToUtf16("a\x81"), u"a\uFFFD");
  EXPECT_EQ(GbkToUtf16("\x81\"x"), u"\uFFFD\"x");
  EXPECT_EQ(GbkToUtf16("\x81\x30"), u"\uFFFD0");
  EXPECT_EQ(Utf8ToGbk("\xC0\xAF"), "??");
  EXPECT_EQ(Utf16ToGbk(u"\xD800x"), "?x");
}

TEST(CodePage, RandomBytesAlwaysGiveValidUtf8) {
  std::mt19937 random(936);
  for (int round = 0; round < 200; ++round) {
    std::string bytes(static_cast<size_t>(random() % 64), '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    std::string utf8 = GbkToUtf8(bytes);
    ASSERT_TRUE(IsValidUtf8(utf8));
    const std::u16string utf16 = GbkToUtf16(bytes);
    const auto pairs = std::count_if(utf16.begin(), utf16.end(), [](char16_t u) { return u >= 0xD800 && u < 0xDC00; });
    ASSERT_EQ(utf16.size() - static_cast<size_t>(pairs), Utf8ToCodePoints(utf8).size());
  }
}

TEST(CodePage, MultiByteToWideCharCountsLikeWindows) {
  const char* text = "ab\xD6\xD0";
  EXPECT_EQ(MultiByteToWideChar(936, 0, text, -1, nullptr, 0), 4);  // terminator counted
  EXPECT_EQ(MultiByteToWideChar(936, 0, text, 2, nullptr, 0), 2);
  EXPECT_EQ(MultiByteToWideChar(0, 0, text, -1, nullptr, 0), 4);

  char16_t out[4] = {1, 1, 1, 1};
  EXPECT_EQ(MultiByteToWideChar(936, 0, text, -1, out, 3), 0);  // does not fit
  EXPECT_EQ(MultiByteToWideChar(936, 0, text, -1, out, 4), 4);
  EXPECT_EQ(std::u16string(out, 4), std::u16string(u"ab\u4E2D\0", 4));

  EXPECT_EQ(MultiByteToWideChar(936, 0, text, 0, nullptr, 0), 0);
  EXPECT_EQ(MultiByteToWideChar(936, 0, text, -2, nullptr, 0), 0);
  EXPECT_EQ(MultiByteToWideChar(936, 0, nullptr, -1, nullptr, 0), 0);
  EXPECT_EQ(MultiByteToWideChar(1252, 0, text, -1, nullptr, 0), 0);
}

TEST(CodePage, MultiByteToWideCharUtf8AndInvalidInput) {
  EXPECT_EQ(MultiByteToWideChar(kCodePageUtf8, 0, "😀", -1, nullptr, 0), 3);  // surrogate pair
  EXPECT_EQ(MultiByteToWideChar(936, 0, "a\x81", -1, nullptr, 0), 3);
  EXPECT_EQ(MultiByteToWideChar(936, kErrorOnInvalidChars, "a\x81", -1, nullptr, 0), 0);
  EXPECT_EQ(MultiByteToWideChar(kCodePageUtf8, kErrorOnInvalidChars, "\xED\xA0\x80", 3, nullptr, 0),
            0);
}

TEST(CodePage, Utf8ValidationRejectsOverlongSurrogatesAndOutOfRange) {
  EXPECT_TRUE(IsValidUtf8("plain 中文 😀"));
  EXPECT_FALSE(IsValidUtf8("\xC0\x80"));
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));
  EXPECT_FALSE(IsValidUtf8("\xE4\xB8"));
}

}  // namespace
}  // namespace vlmr::platform
