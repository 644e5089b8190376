// The Cryptdll functions use OpenSSL's low-level MD5 (deprecated in OpenSSL 3
// but kept) because its context exposes the chaining words and bit count that
// Cryptdll's 104-byte layout carries between calls.
#define OPENSSL_SUPPRESS_DEPRECATED

#include "platform/md5.h"

#include <openssl/evp.h>
#include <openssl/md5.h>

#include <cstring>

namespace vlmr::platform {
namespace {

MD5_CTX ToOpenSsl(const Md5Context& context) {
  MD5_CTX ctx{};
  ctx.A = context.state[0];
  ctx.B = context.state[1];
  ctx.C = context.state[2];
  ctx.D = context.state[3];
  ctx.Nl = context.count[0];
  ctx.Nh = context.count[1];
  static_assert(sizeof ctx.data == sizeof context.input);
  std::memcpy(ctx.data, context.input, sizeof context.input);
  ctx.num = (context.count[0] >> 3) & 63;  // bytes waiting in the partial block
  return ctx;
}

void FromOpenSsl(const MD5_CTX& ctx, Md5Context& context) {
  context.state[0] = ctx.A;
  context.state[1] = ctx.B;
  context.state[2] = ctx.C;
  context.state[3] = ctx.D;
  context.count[0] = ctx.Nl;
  context.count[1] = ctx.Nh;
  std::memcpy(context.input, ctx.data, sizeof context.input);
}

void StoreLittleEndian(uint32_t value, uint8_t* out) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

void MD5Init(Md5Context* context) {
  if (context == nullptr) return;
  MD5_CTX ctx;
  MD5_Init(&ctx);
  std::memset(context, 0, sizeof *context);
  FromOpenSsl(ctx, *context);
}

void MD5Update(Md5Context* context, const void* data, uint32_t length) {
  if (context == nullptr || (data == nullptr && length > 0)) return;
  MD5_CTX ctx = ToOpenSsl(*context);
  MD5_Update(&ctx, data, length);
  FromOpenSsl(ctx, *context);
}

// Pads as MD5 prescribes (0x80, zeros up to 56 bytes mod 64, the bit count in
// little-endian order) so that the context ends as Cryptdll leaves it: the
// chaining words hold the digest, which is also stored in the digest field.
void MD5Final(Md5Context* context) {
  if (context == nullptr) return;
  uint8_t length[8];
  StoreLittleEndian(context->count[0], length);
  StoreLittleEndian(context->count[1], length + 4);
  uint32_t used = (context->count[0] >> 3) & 63;
  uint32_t padding = used < 56 ? 56 - used : 120 - used;
  uint8_t pad[64] = {0x80};
  MD5Update(context, pad, padding);
  MD5Update(context, length, sizeof length);
  for (int i = 0; i < 4; ++i) StoreLittleEndian(context->state[i], context->digest + 4 * i);
}

Md5Stream::Md5Stream() : ctx_(EVP_MD_CTX_new()) {
  EVP_DigestInit_ex(static_cast<EVP_MD_CTX*>(ctx_), EVP_md5(), nullptr);
}

Md5Stream::~Md5Stream() { EVP_MD_CTX_free(static_cast<EVP_MD_CTX*>(ctx_)); }

void Md5Stream::Update(const void* data, size_t length) {
  EVP_DigestUpdate(static_cast<EVP_MD_CTX*>(ctx_), data, length);
}

void Md5Stream::Final(uint8_t digest[16]) {
  unsigned int size = 16;
  EVP_DigestFinal_ex(static_cast<EVP_MD_CTX*>(ctx_), digest, &size);
}

}  // namespace vlmr::platform
