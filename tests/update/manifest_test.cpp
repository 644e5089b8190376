// Decoding the manifest container and the out-of-date rule, on real
// containers made with zlib and real files in a temporary folder.
#include "update/manifest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/rt_heap.h"
#include "support/temp_dir.h"
#include "update/manifest_container.h"
#include "update/repeated_letter_container.h"

namespace vlmr::update {
namespace {

// A container with size word n (default: the text's own length).
std::string Container(const std::string& text, std::optional<uint32_t> n = std::nullopt) {
  return n ? EncodeManifestContainer(text, *n) : EncodeManifestContainer(text);
}

std::vector<ManifestEntry> Decode(const std::string& body) {
  rt::Bytes bytes(rt::NewByteArray(body.data(), static_cast<int64_t>(body.size())));
  return DecodeManifest(bytes.get());
}

std::vector<std::string> Fields(const ManifestEntry& e) {
  return {std::string(e.RelativePath.view()), std::string(e.Md5.view()), std::string(e.Url.view())};
}

const std::string kMd5Empty = "D41D8CD98F00B204E9800998ECF8427E";

TEST(DecodeManifest, OneEntryPerLineAndNoExtraEntryForTheFinalLineBreak) {
  auto entries = Decode(Container("a\\x.dat\t" + kMd5Empty + "\thttp://h/x.dat\r\n"
                                  "b.dat\tMD5B\thttp://h/b.dat\textra\tfields\r\n"));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(Fields(entries[0]), (std::vector<std::string>{"a\\x.dat", kMd5Empty, "http://h/x.dat"}));
  EXPECT_EQ(Fields(entries[1]), (std::vector<std::string>{"b.dat", "MD5B", "http://h/b.dat"}));
}

TEST(DecodeManifest, FieldsKeepBlanksAndMayBeEmpty) {
  auto entries = Decode(Container(" p q \t\t http://h/p ", 100));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(Fields(entries[0]), (std::vector<std::string>{" p q ", "", " http://h/p "}));
  EXPECT_EQ(entries[0].Md5.get(), nullptr);  // the empty text
}

TEST(DecodeManifest, OnlyCarriageReturnLineFeedSeparatesLines) {
  auto entries = Decode(Container("p1\tm1\tu1\np2\tm2\tu2\n"));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(Fields(entries[0]), (std::vector<std::string>{"p1", "m1", "u1\np2"}));
}

TEST(DecodeManifest, SeparatorsAreNotFoundInsideDoubleByteCharacters) {
  // 0x81 before "\r\n" swallows the "\r": the two lines run together.
  auto entries = Decode(Container("p\tm\tu\x81\r\nq\tn\tv\r\n"));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].Url.view(), "u\x81\r\nq");
  // A GBK name whose trail byte is 0x5C ("\") stays one field.
  entries = Decode(Container("\xB5\x5C\\f\tm\tu\r\n"));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].RelativePath.view(), "\xB5\x5C\\f");
}

TEST(DecodeManifest, AZeroByteEndsTheText) {
  std::string text = "a\tm\tu\r\n";
  text += '\0';
  text += "b\tm\tu\r\n";
  EXPECT_EQ(Decode(Container(text)).size(), 1u);
}

TEST(DecodeManifest, LinesWithFewerThanThreeFieldsAreSkippedAndNamed) {
  testing::internal::CaptureStderr();
  auto entries = Decode(Container("a\tm\tu\r\n\r\nonly\ttwo\r\npath\tmd5\t\r\nb\tm\tu"));
  std::string err = testing::internal::GetCapturedStderr();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].RelativePath.view(), "a");
  EXPECT_EQ(entries[1].RelativePath.view(), "b");
  EXPECT_NE(err.find("update: manifest line 2 skipped"), std::string::npos) << err;
  EXPECT_NE(err.find("manifest line 3 skipped"), std::string::npos) << err;
  EXPECT_NE(err.find("manifest line 4 skipped"), std::string::npos) << err;  // empty URL piece dropped
}

TEST(DecodeManifest, TheSizeWordBoundsTheText) {
  std::string text = "p\tm\thttp://h/p\r\n";  // 16 bytes
  ASSERT_EQ(text.size(), 16u);
  EXPECT_EQ(Decode(Container(text, 8)).size(), 1u);  // 2 x 8 = 16: just fits
  EXPECT_EQ(Decode(Container(text, 7)).size(), 0u);  // 14 < 16
  EXPECT_EQ(Decode(Container(text + "x", 8)).size(), 0u);
}

TEST(DecodeManifest, SizeWordsWhoseDoubleIsNotPositiveGiveNothing) {
  std::string text = "p\tm\tu\r\n";
  for (uint32_t n : {0u, 0x40000000u, 0x80000000u, 0xFFFFFFFFu, 0xC0000000u})
    EXPECT_EQ(Decode(Container(text, n)).size(), 0u) << std::hex << n;
  EXPECT_EQ(Decode(Container(text, 0x3FFFFFFFu)).size(), 1u);  // 2 x n = 0x7FFFFFFE
}

TEST(DecodeManifest, BodiesThatAreNoContainerGiveNothingAndSayWhy) {
  std::string text = "path\tmd5\turl\r\n";
  std::string good = Container(text);
  EXPECT_EQ(Decode(good).size(), 1u);
  EXPECT_EQ(Decode(good + "trailing bytes are not looked at").size(), 1u);
  std::string wrongMagic = good;
  wrongMagic[0] = 0x0E;
  std::string corrupt = good;
  corrupt[corrupt.size() - 1] ^= 0x55;  // Adler-32 trailer no longer matches
  const std::pair<std::string, const char*> cases[] = {
      {text, "not a manifest container"},  // the plain text without the header
      {"", "shorter than the 8-byte"},
      {good.substr(0, 7), "shorter than the 8-byte"},
      {good.substr(0, 8), "damaged"},  // header, no stream
      {wrongMagic, "not a manifest container"},
      {good.substr(0, good.size() - 3), "damaged"},  // stream cut short
      {corrupt, "damaged"},
      {Container(text, 0), "2 x n is not positive"},
      {Container(text, 6), "longer than the 12 bytes"},
      {Container(""), "the text is empty"},
      {Container("one\tfield\r\n"), "no line has the three fields"},
  };
  for (const auto& [body, problem] : cases) {
    std::string why;
    rt::Bytes bytes(rt::NewByteArray(body.data(), static_cast<int64_t>(body.size())));
    testing::internal::CaptureStderr();
    EXPECT_TRUE(DecodeManifest(bytes.get(), &why).empty()) << problem;
    testing::internal::GetCapturedStderr();
    EXPECT_NE(why.find(problem), std::string::npos) << why;
  }
  EXPECT_EQ(DecodeManifestText(good), text);
}


TEST(DecodeManifest, ATextUpToTheCapDecodesWhateverItsSizeWord) {
  std::string why;
  EXPECT_EQ(DecodeManifestText(RepeatedLetterContainer(3 << 20, 0x3FFFFFFFu), &why)->size(), 3u << 20);
  EXPECT_FALSE(DecodeManifestText(RepeatedLetterContainer(kMaxManifestText + 1, 0x3FFFFFFFu), &why));
  EXPECT_NE(why.find("longer than the 268435456 bytes"), std::string::npos) << why;
}

class OutOfDate : public testing::Test {
 protected:
  ManifestEntry Entry(const std::string& path, const std::string& md5) {
    return {rt::Text(rt::NewText(path)), rt::Text(rt::NewText(md5)), rt::Text()};
  }
  bool Check(const std::string& path, const std::string& md5) {
    return IsOutOfDate(Entry(path, md5), dir.LauncherPath().c_str());
  }
  test::TempDir dir;
};

TEST_F(OutOfDate, ComparesTheDigestWithoutRegardToLetterCase) {
  dir.Write("Lanternfall/DAC_VLMR/0009.new", "");
  EXPECT_FALSE(Check("Lanternfall\\DAC_VLMR\\0009.new", kMd5Empty));
  EXPECT_FALSE(Check("\\Lanternfall\\DAC_VLMR\\0009.new", kMd5Empty));  // doubled separator
  EXPECT_FALSE(Check("Lanternfall/DAC_VLMR/0009.new", kMd5Empty));            // "/" as "\"
  EXPECT_FALSE(Check("Lanternfall\\DAC_VLMR\\0009.new", "d41d8cd98f00b204e9800998ecf8427e"));
  dir.Write("Lanternfall/DAC_VLMR/0009.new", "changed");
  EXPECT_TRUE(Check("Lanternfall\\DAC_VLMR\\0009.new", kMd5Empty));
}

TEST_F(OutOfDate, MissingFilesAndDigestsThatAreNotThirtyTwoHexDigits) {
  EXPECT_TRUE(Check("missing.dat", kMd5Empty));
  dir.Write("present.dat", "");
  for (const char* digest : {"", "D41D8CD98F00B204E9800998ECF8427", "D41D8CD98F00B204E9800998ECF8427EE",
                             "D41D8CD98F00B204E9800998ECF8427G"}) {
    EXPECT_TRUE(Check("missing.dat", digest)) << digest;  // nothing to compare with: downloaded
    EXPECT_TRUE(Check("present.dat", digest)) << digest;
  }
}

}  // namespace
}  // namespace vlmr::update
