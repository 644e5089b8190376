#include "platform/md5.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace vlmr::platform {
namespace {

std::string Hex(const uint8_t* digest) {
  std::string text;
  char pair[3];
  for (int i = 0; i < 16; ++i) {
    std::snprintf(pair, sizeof pair, "%02x", digest[i]);
    text += pair;
  }
  return text;
}

struct Vector {
  std::string input;
  const char* digest;
};

const Vector kVectors[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
    {std::string(1000000, 'a'), "7707d6ae4e027c70eea2a935c2296f21"},
};

TEST(Md5, StreamMatchesKnownDigests) {
  for (const Vector& vector : kVectors) {
    Md5Stream stream;
    stream.Update(vector.input.data(), vector.input.size());
    uint8_t digest[16];
    stream.Final(digest);
    EXPECT_EQ(Hex(digest), vector.digest) << vector.input.size();
  }
}

// The Cryptdll functions give the same digest however the input is split,
// including splits that end exactly on and just past a block.
TEST(Md5, CryptdllContextMatchesTheStreamForEverySplit) {
  for (const Vector& vector : kVectors) {
    Md5Stream stream;
    stream.Update(vector.input.data(), vector.input.size());
    uint8_t expected[16];
    stream.Final(expected);
    for (uint32_t split : {1u, 7u, 63u, 64u, 65u, 4096u}) {
      Md5Context context;
      MD5Init(&context);
      for (size_t pos = 0; pos < vector.input.size(); pos += split) {
        uint32_t length = static_cast<uint32_t>(std::min<size_t>(split, vector.input.size() - pos));
        MD5Update(&context, vector.input.data() + pos, length);
      }
      MD5Final(&context);
      EXPECT_EQ(Hex(context.digest), Hex(expected)) << vector.input.size() << "/" << split;
    }
  }
}

TEST(Md5, ContextKeepsTheCryptdllLayout) {
  Md5Context context;
  MD5Init(&context);
  EXPECT_EQ(context.state[0], 0x67452301u);
  EXPECT_EQ(context.state[3], 0x10325476u);
  EXPECT_EQ(context.count[0], 0u);
  MD5Update(&context, "abc", 3);
  EXPECT_EQ(context.count[0], 24u);  // bits, low word first
  EXPECT_EQ(context.count[1], 0u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(context.input), 3), "abc");
  Md5Context copy = context;  // the context carries everything between calls
  MD5Final(&copy);
  EXPECT_EQ(Hex(copy.digest), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(copy.state[0], 0x98500190u);  // the chaining words hold the digest
}

}  // namespace
}  // namespace vlmr::platform
