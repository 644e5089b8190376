// The MD5 hasher and FileMd5, checked against the system's md5sum.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/md5.h"
#include "support/temp_dir.h"
#include "update/file_md5.h"
#include "update/md5_hasher.h"

namespace vlmr::update {
namespace {

TEST(Md5Hasher, ResultIsLowerCaseWithTwoDigitsPerByte) {
  Md5Hasher hasher;
  hasher.Begin();
  hasher.Finish();
  // d4 1d 8c d9 8f 00 b2 04 ...: the bytes 00, 04 and 09 keep their zero.
  EXPECT_EQ(hasher.Result().view(), "d41d8cd98f00b204e9800998ecf8427e");
}

TEST(Md5Hasher, DataAndByteArraysFeedTheSameDigestAndCopiesAreIndependent) {
  Md5Hasher hasher;
  hasher.Begin();
  hasher.AddData("a", 1);
  hasher.AddData("ignored", -3);
  Md5Hasher copy = hasher.Copy();
  const rt::Bytes bc(rt::NewByteArray("bc", 2));
  hasher.AddBytes(bc.get());
  hasher.Finish();
  EXPECT_EQ(hasher.Result().view(), "900150983cd24fb0d6963f7d28e17f72");  // "abc"

  copy.Finish();
  EXPECT_EQ(copy.Result().view(), "0cc175b9c0f1b6a831c399e269772661");  // "a"
  hasher.Begin();
  EXPECT_TRUE(hasher.Result().empty());
}

TEST(FileMd5, EmptyFileMissingFileAndUpperCase) {
  test::TempDir dir;
  dir.Write("empty", "");
  EXPECT_EQ(FileMd5((dir.LauncherPath() + "\\empty").c_str()).view(),
            "D41D8CD98F00B204E9800998ECF8427E");
  EXPECT_TRUE(FileMd5((dir.LauncherPath() + "\\missing").c_str()).empty());
  EXPECT_TRUE(FileMd5(nullptr).empty());
}

TEST(FileMd5, LargeFileAcrossSeveralBlocksMatchesTheDigestOfItsBytes) {
  test::TempDir dir;
  std::string content(2 * kFileMd5BlockBytes + 12345, '\0');
  std::mt19937 random(20240601);
  for (char& c : content) c = static_cast<char>(random());
  dir.Write("big.bin", content);
  // The bulk digest of the platform layer, not the runtime's Cryptdll path.
  EXPECT_EQ(FileMd5((dir.LauncherPath() + "\\big.bin").c_str()).view(), platform::Md5UpperHex(content));
}

}  // namespace
}  // namespace vlmr::update
