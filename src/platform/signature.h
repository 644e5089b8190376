// Ed25519 signatures (RFC 8032) through libgcrypt: key pairs, signing and
// verifying short messages, and the SHA-512 digest by which a signed message
// binds data too large to sign directly. Keys are 32-byte values, written as
// 64 hex digits. The launcher only verifies; the operator tools sign.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vlmr::platform {

using KeyBytes = std::array<uint8_t, 32>;

// The 32-byte seed RFC 8032 calls the private key.
struct Ed25519SecretKey {
  KeyBytes seed;
};
// The encoded curve point RFC 8032 calls the public key.
struct Ed25519PublicKey {
  KeyBytes point;
  bool operator==(const Ed25519PublicKey&) const = default;
};
using Ed25519Signature = std::array<uint8_t, 64>;
using Sha512Digest = std::array<uint8_t, 64>;

// The longest message SignEd25519 and VerifyEd25519 take. libgcrypt keeps a
// datum of its S-expressions in 16 bits and copies the message into larger
// ones while it signs, so messages near 64 KiB break it; larger data is
// signed through its SHA-512 digest.
inline constexpr size_t kMaxSignedMessage = 16384;

// A new secret key from the system's strongest random source.
Ed25519SecretKey NewEd25519SecretKey();
// nullopt only when libgcrypt cannot be used.
std::optional<Ed25519PublicKey> Ed25519PublicKeyOf(const Ed25519SecretKey& secret);

// nullopt when the message is longer than kMaxSignedMessage or libgcrypt
// cannot be used.
std::optional<Ed25519Signature> SignEd25519(const Ed25519SecretKey& secret, std::string_view message);
// True only for a signature of exactly this message by the key's owner.
bool VerifyEd25519(const Ed25519PublicKey& key, std::string_view message,
                   const Ed25519Signature& signature);

Sha512Digest Sha512(std::string_view bytes);

// Lower-case hex digits, two per byte.
std::string HexOf(std::span<const uint8_t> bytes);
// Exactly 64 hex digits in either letter case; nullopt for anything else.
std::optional<KeyBytes> KeyBytesFromHex(std::string_view hex);

}  // namespace vlmr::platform
