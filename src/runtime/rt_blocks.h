// Text, byte-array and array blocks on the runtime heap, the support routines
// of the launcher logic, and small owning handles for the typed C++ face.
//
// Text: GBK bytes plus NUL; the empty text is a null pointer.
// Byte array: int32 1, int32 length n, then n bytes; the empty array is null.
// Array: int32 dimension count d, d int32 extents, then the elements
// (pointer-sized for text arrays).
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vlmr::rt {

// ---- texts ----
// A new heap text holding `bytes`; null when empty.
char* NewText(std::string_view bytes);
// The address of a constant empty text, for operations that need a real string.
const char* EmptyText();
// Non-null view of a possibly-null text.
inline const char* TextOrEmpty(const char* t) { return t ? t : EmptyText(); }
std::string_view TextView(const char* t);

// ---- byte arrays ----
// A new byte array holding a copy of `n` bytes at `data` (zero-filled when data
// is null); null for n <= 0.
uint8_t* NewByteArray(const void* data, int64_t n);
int32_t ByteArrayLength(const void* byteArray);
uint8_t* ByteArrayData(void* byteArray);
const uint8_t* ByteArrayData(const void* byteArray);

// ---- arrays ----
// A new one-dimensional array block of `count` elements of `elementSize` bytes,
// zero-filled.
void* NewArray(int32_t count, size_t elementSize);
// A one-dimensional text array owning heap copies of the pieces.
void* NewTextArray(const std::vector<std::string_view>& pieces);
// Frees a text array and every text it holds.
void FreeTextArray(void* array);
// Element i (0-based) of a text array.
char* TextArrayAt(const void* array, int32_t index);

// ---- support routines ----
int32_t text_length(const char* text);
// Concatenates the texts (null counts as empty) into a new heap text; always
// allocates, even for an empty result.
char* join_texts(std::initializer_list<const char*> texts);
int compare_texts(const char* a, const char* b);
int compare_bytes(const void* a, const void* b, int32_t n);
int32_t array_count(const void* array);
void* array_data(void* array);
const void* array_data(const void* array);
int64_t to_int64(double value);

// ---- owning handles used by the typed face ----
// Owns a heap text (possibly null) and frees it with rt_free.
class Text {
 public:
  Text() = default;
  explicit Text(char* owned) : p_(owned) {}
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  Text(Text&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  Text& operator=(Text&& o) noexcept;
  ~Text();

  // A real string: the constant empty text when null.
  const char* c_str() const { return TextOrEmpty(p_); }
  // The raw pointer, null for the empty text (what the frame passes).
  const char* get() const { return p_; }
  std::string_view view() const { return TextView(p_); }
  bool empty() const { return p_ == nullptr || *p_ == '\0'; }
  char* release() { return std::exchange(p_, nullptr); }

 private:
  char* p_ = nullptr;
};

// Owns a heap byte array (possibly null).
class Bytes {
 public:
  Bytes() = default;
  explicit Bytes(uint8_t* owned) : p_(owned) {}
  Bytes(const Bytes&) = delete;
  Bytes& operator=(const Bytes&) = delete;
  Bytes(Bytes&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  Bytes& operator=(Bytes&& o) noexcept;
  ~Bytes();

  const uint8_t* get() const { return p_; }
  const uint8_t* data() const { return ByteArrayData(p_); }
  int32_t size() const { return ByteArrayLength(p_); }
  bool empty() const { return size() == 0; }
  std::string_view view() const {
    return {reinterpret_cast<const char*>(data()), static_cast<size_t>(size())};
  }
  uint8_t* release() { return std::exchange(p_, nullptr); }

 private:
  uint8_t* p_ = nullptr;
};

// Owns a heap text array and the texts in it.
class TextArray {
 public:
  TextArray() = default;
  explicit TextArray(void* owned) : p_(owned) {}
  TextArray(const TextArray&) = delete;
  TextArray& operator=(const TextArray&) = delete;
  TextArray(TextArray&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  TextArray& operator=(TextArray&& o) noexcept;
  ~TextArray();

  int32_t size() const { return array_count(p_); }
  // 1-based element access as the launcher logic indexes: index 0 is fatal
  // error 4, an index beyond the count fatal error 1, with the location words.
  const char* At(int32_t oneBased, uint32_t loc1, uint32_t loc2) const;
  // 0-based, unchecked view for code that iterates within size().
  std::string_view operator[](int32_t i) const { return TextView(TextArrayAt(p_, i)); }
  const void* get() const { return p_; }

 private:
  void* p_ = nullptr;
};

}  // namespace vlmr::rt
