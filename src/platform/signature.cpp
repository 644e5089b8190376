// Ed25519 and SHA-512 over libgcrypt. Keys and signatures cross into it as
// S-expressions: "(d %b)" the seed, "(q %b)" the public point, "(r %b)(s %b)"
// the two halves of a signature.
#include "platform/signature.h"

#include <gcrypt.h>

#include <cstring>
#include <memory>
#include <type_traits>

#include "platform/libgcrypt_start.h"

namespace vlmr::platform {
namespace {

struct SexpRelease {
  void operator()(gcry_sexp_t sexp) const { gcry_sexp_release(sexp); }
};
using Sexp = std::unique_ptr<std::remove_pointer_t<gcry_sexp_t>, SexpRelease>;

struct ContextRelease {
  void operator()(gcry_ctx_t context) const { gcry_ctx_release(context); }
};
using Context = std::unique_ptr<std::remove_pointer_t<gcry_ctx_t>, ContextRelease>;

struct MpiRelease {
  void operator()(gcry_mpi_t mpi) const { gcry_mpi_release(mpi); }
};
using Mpi = std::unique_ptr<std::remove_pointer_t<gcry_mpi_t>, MpiRelease>;

constexpr int kKeyLength = 32;
constexpr int kHalfSignature = 32;

Sexp SecretKeySexp(const Ed25519SecretKey& secret) {
  gcry_sexp_t sexp = nullptr;
  gcry_error_t error = gcry_sexp_build(&sexp, nullptr, "(private-key (ecc (curve Ed25519) (flags eddsa) (d %b)))",
                                       kKeyLength, secret.seed.data());
  return Sexp(error ? nullptr : sexp);
}

Sexp PublicKeySexp(const Ed25519PublicKey& key) {
  gcry_sexp_t sexp = nullptr;
  gcry_error_t error = gcry_sexp_build(&sexp, nullptr, "(public-key (ecc (curve Ed25519) (flags eddsa) (q %b)))",
                                       kKeyLength, key.point.data());
  return Sexp(error ? nullptr : sexp);
}

Sexp MessageSexp(std::string_view message) {
  gcry_sexp_t sexp = nullptr;
  gcry_error_t error = gcry_sexp_build(&sexp, nullptr, "(data (flags eddsa) (hash-algo sha512) (value %b))",
                                       static_cast<int>(message.size()), message.data());
  return Sexp(error ? nullptr : sexp);
}

Sexp SignatureSexp(const Ed25519Signature& signature) {
  gcry_sexp_t sexp = nullptr;
  gcry_error_t error = gcry_sexp_build(&sexp, nullptr, "(sig-val (eddsa (r %b) (s %b)))", kHalfSignature,
                                       signature.data(), kHalfSignature, signature.data() + kHalfSignature);
  return Sexp(error ? nullptr : sexp);
}

// Copies the datum after `token` (e.g. "r" in "(r ...)"), which must be
// exactly `length` bytes, to `out`.
bool CopyToken(gcry_sexp_t sexp, const char* token, uint8_t* out, size_t length) {
  Sexp found(gcry_sexp_find_token(sexp, token, 0));
  if (!found) return false;
  size_t size = 0;
  const char* data = gcry_sexp_nth_data(found.get(), 1, &size);
  if (data == nullptr || size != length) return false;
  std::memcpy(out, data, length);
  return true;
}

}  // namespace

Ed25519SecretKey NewEd25519SecretKey() {
  LibgcryptReady();
  Ed25519SecretKey secret;
  gcry_randomize(secret.seed.data(), secret.seed.size(), GCRY_VERY_STRONG_RANDOM);
  return secret;
}

std::optional<Ed25519PublicKey> Ed25519PublicKeyOf(const Ed25519SecretKey& secret) {
  if (!LibgcryptReady()) return std::nullopt;
  Sexp key = SecretKeySexp(secret);
  gcry_ctx_t raw = nullptr;
  if (!key || gcry_mpi_ec_new(&raw, key.get(), nullptr)) return std::nullopt;
  Context context(raw);
  // The point in RFC 8032's 32-byte encoding, computed from the seed.
  Mpi point(gcry_mpi_ec_get_mpi("q@eddsa", context.get(), 1));
  unsigned int bits = 0;
  const void* bytes = point ? gcry_mpi_get_opaque(point.get(), &bits) : nullptr;
  if (bytes == nullptr || bits != 8 * kKeyLength) return std::nullopt;
  Ed25519PublicKey publicKey;
  std::memcpy(publicKey.point.data(), bytes, kKeyLength);
  return publicKey;
}

std::optional<Ed25519Signature> SignEd25519(const Ed25519SecretKey& secret, std::string_view message) {
  if (message.size() > kMaxSignedMessage || !LibgcryptReady()) return std::nullopt;
  Sexp key = SecretKeySexp(secret);
  Sexp data = MessageSexp(message);
  gcry_sexp_t raw = nullptr;
  if (!key || !data || gcry_pk_sign(&raw, data.get(), key.get())) return std::nullopt;
  Sexp result(raw);
  Ed25519Signature signature;
  if (!CopyToken(result.get(), "r", signature.data(), kHalfSignature) ||
      !CopyToken(result.get(), "s", signature.data() + kHalfSignature, kHalfSignature))
    return std::nullopt;
  return signature;
}

bool VerifyEd25519(const Ed25519PublicKey& key, std::string_view message, const Ed25519Signature& signature) {
  if (message.size() > kMaxSignedMessage || !LibgcryptReady()) return false;
  Sexp publicKey = PublicKeySexp(key);
  Sexp data = MessageSexp(message);
  Sexp value = SignatureSexp(signature);
  return publicKey && data && value && gcry_pk_verify(value.get(), data.get(), publicKey.get()) == 0;
}

Sha512Digest Sha512(std::string_view bytes) {
  LibgcryptReady();
  Sha512Digest digest;
  gcry_md_hash_buffer(GCRY_MD_SHA512, digest.data(), bytes.data(), bytes.size());
  return digest;
}

std::string HexOf(std::span<const uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(2 * bytes.size());
  for (uint8_t byte : bytes) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex;
}

std::optional<KeyBytes> KeyBytesFromHex(std::string_view hex) {
  auto value = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  KeyBytes bytes;
  if (hex.size() != 2 * bytes.size()) return std::nullopt;
  for (size_t i = 0; i < bytes.size(); ++i) {
    int high = value(hex[2 * i]);
    int low = value(hex[2 * i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes[i] = static_cast<uint8_t>(high << 4 | low);
  }
  return bytes;
}

}  // namespace vlmr::platform
