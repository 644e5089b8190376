#include "runtime/rt_blocks.h"

#include <cfenv>
#include <cmath>
#include <cstring>
#include <climits>

#include "runtime/rt_heap.h"
#include "runtime/runtime_frame.h"

namespace vlmr::rt {
namespace {

constexpr int32_t kTextArrayIndexBelowOne = 4;
constexpr int32_t kTextArrayIndexBeyondCount = 1;

struct ArrayHeader {
  int32_t dimensions;
  int32_t extent;  // one-dimensional arrays only
};

}  // namespace

// ---- texts ----

char* NewText(std::string_view bytes) {
  if (bytes.empty()) return nullptr;
  auto* text = static_cast<char*>(rt_alloc(static_cast<int64_t>(bytes.size()) + 1));
  std::memcpy(text, bytes.data(), bytes.size());
  text[bytes.size()] = '\0';
  return text;
}

const char* EmptyText() {
  static const char* const empty = PoolText("");
  return empty;
}

std::string_view TextView(const char* t) { return t ? std::string_view(t) : std::string_view(); }

// ---- byte arrays ----

uint8_t* NewByteArray(const void* data, int64_t n) {
  if (n <= 0 || n > INT32_MAX) return nullptr;
  auto* block = static_cast<uint8_t*>(rt_alloc(8 + n));
  const int32_t header[2] = {1, static_cast<int32_t>(n)};
  std::memcpy(block, header, sizeof header);
  if (data != nullptr) {
    std::memcpy(block + 8, data, static_cast<size_t>(n));
  } else {
    std::memset(block + 8, 0, static_cast<size_t>(n));
  }
  return block;
}

int32_t ByteArrayLength(const void* byteArray) {
  if (byteArray == nullptr) return 0;
  int32_t length;
  std::memcpy(&length, static_cast<const uint8_t*>(byteArray) + 4, sizeof length);
  return length;
}

uint8_t* ByteArrayData(void* byteArray) {
  return byteArray ? static_cast<uint8_t*>(byteArray) + 8 : nullptr;
}

const uint8_t* ByteArrayData(const void* byteArray) {
  return byteArray ? static_cast<const uint8_t*>(byteArray) + 8 : nullptr;
}

// ---- arrays ----

void* NewArray(int32_t count, size_t elementSize) {
  if (count < 0) count = 0;
  size_t bytes = sizeof(ArrayHeader) + elementSize * static_cast<size_t>(count);
  void* block = rt_alloc(static_cast<int64_t>(bytes));
  std::memset(block, 0, bytes);
  ArrayHeader header{1, count};
  std::memcpy(block, &header, sizeof header);
  return block;
}

void* NewTextArray(const std::vector<std::string_view>& pieces) {
  void* array = NewArray(static_cast<int32_t>(pieces.size()), sizeof(char*));
  auto** elements = static_cast<char**>(array_data(array));
  for (size_t i = 0; i < pieces.size(); ++i) elements[i] = NewText(pieces[i]);
  return array;
}

void FreeTextArray(void* array) {
  if (array == nullptr) return;
  auto** elements = static_cast<char**>(array_data(array));
  for (int32_t i = 0, n = array_count(array); i < n; ++i) rt_free(elements[i]);
  rt_free(array);
}

char* TextArrayAt(const void* array, int32_t index) {
  return static_cast<char* const*>(array_data(array))[index];
}

// ---- support routines ----

int32_t text_length(const char* text) {
  return text ? static_cast<int32_t>(std::strlen(text)) : 0;
}

char* join_texts(std::initializer_list<const char*> texts) {
  size_t total = 0;
  for (const char* t : texts) total += t ? std::strlen(t) : 0;
  auto* joined = static_cast<char*>(rt_alloc(static_cast<int64_t>(total) + 1));
  char* out = joined;
  for (const char* t : texts) {
    if (t == nullptr) continue;
    size_t n = std::strlen(t);
    std::memcpy(out, t, n);
    out += n;
  }
  *out = '\0';
  return joined;
}

int compare_texts(const char* a, const char* b) {
  return std::strcmp(TextOrEmpty(a), TextOrEmpty(b));
}

int compare_bytes(const void* a, const void* b, int32_t n) {
  return n <= 0 ? 0 : std::memcmp(a, b, static_cast<size_t>(n));
}

int32_t array_count(const void* array) {
  if (array == nullptr) return 0;
  int32_t dimensions;
  std::memcpy(&dimensions, array, sizeof dimensions);
  if (dimensions <= 0) return 0;
  int64_t count = 1;
  for (int32_t d = 0; d < dimensions; ++d) {
    int32_t extent;
    std::memcpy(&extent, static_cast<const uint8_t*>(array) + 4 + 4 * d, sizeof extent);
    count *= extent;
  }
  return static_cast<int32_t>(count);
}

const void* array_data(const void* array) {
  if (array == nullptr) return nullptr;
  int32_t dimensions;
  std::memcpy(&dimensions, array, sizeof dimensions);
  return static_cast<const uint8_t*>(array) + 4 + 4 * static_cast<size_t>(std::max(dimensions, 0));
}

void* array_data(void* array) {
  return const_cast<void*>(array_data(static_cast<const void*>(array)));
}

int64_t to_int64(double value) {
  // Out of range (and NaN) gives the processor's "integer indefinite" value,
  // as the hardware conversion does, instead of undefined behaviour.
  constexpr double kLimit = 9223372036854775808.0;  // 2^63
  if (!(value > -kLimit - 1024.0 && value < kLimit)) return INT64_MIN;
  // Truncation toward zero with the rounding mode switched for the conversion.
  const int saved = std::fegetround();
  std::fesetround(FE_TOWARDZERO);
  auto result = static_cast<int64_t>(std::nearbyint(value));
  std::fesetround(saved);
  return result;
}

// ---- owning handles ----

Text& Text::operator=(Text&& o) noexcept {
  if (this != &o) {
    rt_free(p_);
    p_ = std::exchange(o.p_, nullptr);
  }
  return *this;
}
Text::~Text() { rt_free(p_); }

Bytes& Bytes::operator=(Bytes&& o) noexcept {
  if (this != &o) {
    rt_free(p_);
    p_ = std::exchange(o.p_, nullptr);
  }
  return *this;
}
Bytes::~Bytes() { rt_free(p_); }

TextArray& TextArray::operator=(TextArray&& o) noexcept {
  if (this != &o) {
    FreeTextArray(p_);
    p_ = std::exchange(o.p_, nullptr);
  }
  return *this;
}
TextArray::~TextArray() { FreeTextArray(p_); }

const char* TextArray::At(int32_t oneBased, uint32_t loc1, uint32_t loc2) const {
  if (oneBased < 1) fatal_error(kTextArrayIndexBelowOne, loc1, loc2);
  if (oneBased > size()) fatal_error(kTextArrayIndexBeyondCount, loc1, loc2);
  return TextOrEmpty(TextArrayAt(p_, oneBased - 1));
}

}  // namespace vlmr::rt
