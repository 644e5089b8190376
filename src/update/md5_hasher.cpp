#include "update/md5_hasher.h"

#include <cstring>
#include <string>

#include "runtime/commands.h"
#include "runtime/declared_functions.h"
#include "runtime/rt_heap.h"

namespace vlmr::update {
namespace {

// Copies the context's fields in declaration order: bit count, chaining
// words, partial input block, digest.
void CopyContextFields(Md5Context& to, const Md5Context& from) {
  std::memcpy(to.count, from.count, sizeof to.count);
  std::memcpy(to.state, from.state, sizeof to.state);
  std::memcpy(to.input, from.input, sizeof to.input);
  std::memcpy(to.digest, from.digest, sizeof to.digest);
}

// Calls an MD5 primitive with the context passed as a structure: a temporary
// block holding a copy of the fields, copied back after the call.
template <typename... Extra>
void CallWithContext(int32_t declaredIndex, Md5Context& context, Extra... extra) {
  auto* block = static_cast<Md5Context*>(rt::rt_alloc(sizeof(Md5Context)));
  CopyContextFields(*block, context);
  rt::call_declared<void>(declaredIndex, block, extra...);
  CopyContextFields(context, *block);
  rt::rt_free(block);
}

// One digest byte as two lower-case hex digits: hex text, lower case, a "0"
// in front and the rightmost two characters kept.
std::string TwoHexDigits(uint8_t byte) {
  const rt::Text hex = rt::cmd::ToHexText(byte);
  const rt::Text lower = rt::cmd::ToLower(hex.get());
  const rt::Text padded(rt::join_texts({"0", lower.get()}));
  return std::string(rt::cmd::RightText(padded.get(), 2).view());
}

}  // namespace

void Md5Hasher::Destroy() {
  context_ = Md5Context{};
  result_ = rt::Text();
}

Md5Hasher Md5Hasher::Copy() const {
  Md5Hasher copy;
  CopyContextFields(copy.context_, context_);
  copy.result_ = Result();
  return copy;
}

void Md5Hasher::Begin() {
  CallWithContext(rt::kDeclMD5Init, context_);
  result_ = rt::Text();
}

void Md5Hasher::AddData(const void* address, int32_t length) {
  if (address == nullptr || length <= 0) return;
  CallWithContext(rt::kDeclMD5Update, context_, address, static_cast<uint32_t>(length));
}

void Md5Hasher::AddBytes(const void* byteArray) {
  const int32_t length = rt::ByteArrayLength(byteArray);
  if (length <= 0) return;
  CallWithContext(rt::kDeclMD5Update2, context_, static_cast<const void*>(rt::ByteArrayData(byteArray)),
                  static_cast<uint32_t>(length));
}

void Md5Hasher::Finish() {
  CallWithContext(rt::kDeclMD5Final, context_);
  std::string hex;
  for (uint8_t byte : context_.digest) hex += TwoHexDigits(byte);
  result_ = rt::Text(rt::NewText(hex));
}

rt::Text Md5Hasher::Result() const { return rt::Text(rt::NewText(result_.view())); }

}  // namespace vlmr::update
