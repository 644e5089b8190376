#include "platform/signature.h"

#include <gtest/gtest.h>

#include <string>

namespace vlmr::platform {
namespace {

KeyBytes Key(std::string_view hex) { return KeyBytesFromHex(hex).value(); }

std::string MessageOf(std::string_view hex) {
  std::string bytes;
  for (size_t i = 0; i < hex.size(); i += 2) {
    bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
  }
  return bytes;
}

struct KnownAnswer {
  const char* secret;
  const char* publicKey;
  const char* message;
  const char* signature;
};

// RFC 8032, section 7.1, tests 1 and 3.
const KnownAnswer kRfc8032[] = {
    {"9d61b19deffd5a60ba844af492ec2cc44449c5697b326919703bac031cae7f60",
     "d75a980182b10ab7d54bfed3c964073a0ee172f3daa62325af021a68f707511a", "",
     "e5564300c360ac729086e2cc806e828a84877f1eb8e5d974d873e065224901555fb8821590a33bacc61e39701cf9b46bd25bf5f0595bbe24655141438e7a100b"},
    {"c5aa8df43f9f837bedb7442f31dcb7b166d38535076f094b85ce3a2e0b4458f7",
     "fc51cd8e6218a1a38da47ed00230f0580816ed13ba3303ac5deb911548908025", "af82",
     "6291d657deec24024827e69c3abe01a30ce548a284743a445e3680d7db5ac3ac18ff9b538d16f290ae67f760984dc6594a7c15e9716ed28dc027beceea1ec40a"},
};

TEST(Ed25519, MatchesTheKnownAnswersOfRfc8032) {
  for (const KnownAnswer& answer : kRfc8032) {
    const Ed25519SecretKey secret{Key(answer.secret)};
    const std::optional<Ed25519PublicKey> publicKey = Ed25519PublicKeyOf(secret);
    ASSERT_TRUE(publicKey);
    EXPECT_EQ(HexOf(publicKey->point), answer.publicKey);
    const std::optional<Ed25519Signature> signature = SignEd25519(secret, MessageOf(answer.message));
    ASSERT_TRUE(signature);
    EXPECT_EQ(HexOf(*signature), answer.signature);
    EXPECT_TRUE(VerifyEd25519(*publicKey, MessageOf(answer.message), *signature));
  }
}

TEST(Ed25519, RefusesAnotherMessageAnotherKeyAndAnAlteredSignature) {
  const Ed25519SecretKey secret = NewEd25519SecretKey();
  const Ed25519PublicKey publicKey = Ed25519PublicKeyOf(secret).value();
  const Ed25519PublicKey otherKey = Ed25519PublicKeyOf(NewEd25519SecretKey()).value();
  ASSERT_NE(publicKey, otherKey);
  const std::string message = "the manifest's digest and version";
  const Ed25519Signature signature = SignEd25519(secret, message).value();
  ASSERT_TRUE(VerifyEd25519(publicKey, message, signature));

  std::string alteredMessage = message;
  alteredMessage[4] ^= 1;
  Ed25519Signature alteredSignature = signature;
  alteredSignature[40] ^= 1;
  EXPECT_FALSE(VerifyEd25519(publicKey, alteredMessage, signature));
  EXPECT_FALSE(VerifyEd25519(otherKey, message, signature));
  EXPECT_FALSE(VerifyEd25519(publicKey, message, alteredSignature));

  const std::string tooLong(kMaxSignedMessage + 1, 'x');
  EXPECT_FALSE(SignEd25519(secret, tooLong));
  EXPECT_FALSE(VerifyEd25519(publicKey, tooLong, signature));
}

TEST(Ed25519, KeysAreExactlySixtyFourHexDigits) {
  const std::string hex = kRfc8032[0].publicKey;
  EXPECT_EQ(HexOf(Key(hex)), hex);
  std::string upper = hex;
  for (char& c : upper) c = static_cast<char>(std::toupper(c));
  EXPECT_EQ(KeyBytesFromHex(upper), KeyBytesFromHex(hex));
  for (const std::string& bad :
       {hex.substr(1), hex + "0", "g" + hex.substr(1), " " + hex.substr(1), std::string()}) {
    EXPECT_FALSE(KeyBytesFromHex(bad)) << bad;
  }
}

TEST(Sha512, MatchesTheKnownDigestOfAbc) {
  EXPECT_EQ(HexOf(Sha512("abc")),
            "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a"
            "2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f");
}

}  // namespace
}  // namespace vlmr::platform
