#include "platform/codepage.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/codepage_tables.h"
#include "platform/gb18030_ranges.h"

namespace vlmr::platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr uint32_t kErrorOnInvalidChars = 0x08;  // MB_ERR_INVALID_CHARS
constexpr uint32_t kCodePageActive = 0;
constexpr uint32_t kCodePageAscii = 20127;

bool IsGbkTrail(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }
bool IsDigit(unsigned char c) { return c >= 0x30 && c <= 0x39; }

// Lead, digit, lead, digit: a GB18030 four-byte sequence at text[pos].
bool IsFourByteSequence(std::string_view text, size_t pos) {
  if (pos + 3 >= text.size()) return false;
  auto at = [&](size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  return IsGbkLeadByte(at(0)) && IsDigit(at(1)) && IsGbkLeadByte(at(2)) && IsDigit(at(3));
}

// GB18030's four-byte codes in their linear order: the Basic Multilingual
// Plane's by the runs of gb18030_ranges.h, the other planes from index 189000 on.
constexpr uint32_t kFirstSupplementaryLinear = 189000;

uint32_t LinearIndex(std::string_view four) {
  auto at = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(four[i])); };
  return ((at(0) - 0x81) * 10 + (at(1) - 0x30)) * 1260 + (at(2) - 0x81) * 10 + (at(3) - 0x30);
}

std::optional<char32_t> DecodeFourByte(std::string_view four) {
  const uint32_t linear = LinearIndex(four);
  if (linear >= kFirstSupplementaryLinear) {
    const uint32_t c = 0x10000 + (linear - kFirstSupplementaryLinear);
    return c <= 0x10FFFF ? std::optional<char32_t>(c) : std::nullopt;
  }
  const auto& runs = gb18030::kBmpRuns;
  auto run = std::upper_bound(runs.begin(), runs.end(), linear,
                              [](uint32_t value, const gb18030::Run& r) { return value < r.firstLinear; });
  if (run == runs.begin() || linear >= std::prev(run)->firstLinear + std::prev(run)->length) return std::nullopt;
  --run;
  return static_cast<char32_t>(run->firstCharacter + (linear - run->firstLinear));
}

std::optional<std::string> EncodeFourByte(char32_t c) {
  uint32_t linear;
  if (c >= 0x10000) {
    linear = kFirstSupplementaryLinear + (c - 0x10000);
  } else {
    const auto& runs = gb18030::kBmpRuns;
    auto run = std::upper_bound(runs.begin(), runs.end(), static_cast<uint32_t>(c),
                                [](uint32_t value, const gb18030::Run& r) { return value < r.firstCharacter; });
    if (run == runs.begin() || c >= std::prev(run)->firstCharacter + std::prev(run)->length) return std::nullopt;
    --run;
    linear = run->firstLinear + (c - run->firstCharacter);
  }
  std::string bytes(4, '\0');
  bytes[3] = static_cast<char>(0x30 + linear % 10);
  linear /= 10;
  bytes[2] = static_cast<char>(0x81 + linear % 126);
  linear /= 126;
  bytes[1] = static_cast<char>(0x30 + linear % 10);
  bytes[0] = static_cast<char>(0x81 + linear / 10);
  return bytes;
}

// Decodes the character at text[pos] into `out`; returns the bytes it used.
// 0x80 is the euro sign and 0xFF a private-use character, as Windows reads
// them; a two-byte code the code page 936 table lacks (the user-defined
// areas, GB18030's few two-byte additions) comes from GB18030.
size_t DecodeOne(std::string_view text, size_t pos, std::u32string& out, bool& invalid) {
  auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) {
    out.push_back(lead);
    return 1;
  }
  if (lead == 0x80 || lead == 0xFF) {
    out.push_back(lead == 0x80 ? 0x20AC : 0xF8F5);
    return 1;
  }
  if (IsFourByteSequence(text, pos)) {
    std::optional<char32_t> c = DecodeFourByte(text.substr(pos, 4));
    invalid |= !c;
    out.push_back(c.value_or(kReplacement));
    return 4;
  }
  if (pos + 1 < text.size() && IsGbkTrail(static_cast<unsigned char>(text[pos + 1]))) {
    const std::string_view pair = text.substr(pos, 2);
    std::optional<char32_t> c = tables::DecodeCp936(pair);
    if (!c) c = tables::DecodeGb18030TwoByte(pair);
    invalid |= !c;
    out.push_back(c.value_or(kReplacement));
    return 2;
  }
  // A lead byte without a valid trail: the next byte is read on its own, so an
  // ASCII character (a quote, a separator, the terminator) is never swallowed.
  invalid = true;
  out.push_back(kReplacement);
  return 1;
}

std::u32string DecodeGbk(std::string_view gbk, bool& invalid) {
  std::u32string out;
  out.reserve(gbk.size());
  for (size_t pos = 0; pos < gbk.size();) pos += DecodeOne(gbk, pos, out, invalid);
  return out;
}

// Appends the bytes of one character: code page 936 where it has one, the
// single byte 0xFF for its private-use character, GB18030's two-byte code
// where it has one, its four-byte code for the rest, and '?' for what is no
// character (a lone surrogate, a replacement).
void EncodeOne(char32_t c, std::string& out) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c == 0xF8F5) {
    out.push_back(static_cast<char>(0xFF));
  } else if (c == kReplacement || (c >= 0xD800 && c <= 0xDFFF)) {
    out.push_back('?');
  } else if (std::optional<std::string> bytes = tables::EncodeCp936(c)) {
    out += *bytes;
  } else if (std::optional<std::string> pair = tables::EncodeGb18030TwoByte(c)) {
    out += *pair;
  } else if (std::optional<std::string> four = EncodeFourByte(c)) {
    out += *four;
  } else {
    out.push_back('?');
  }
}

std::string EncodeGbk(const std::u32string& text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char32_t c : text) EncodeOne(c, out);
  return out;
}

// Length of the UTF-8 sequence a lead byte starts, 0 when it starts none.
int Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Allowed range of the second byte, which rules out overlong forms,
// surrogates and code points above U+10FFFF.
bool ValidSecondByte(unsigned char lead, unsigned char second) {
  if (lead == 0xE0) return second >= 0xA0 && second <= 0xBF;
  if (lead == 0xED) return second >= 0x80 && second <= 0x9F;
  if (lead == 0xF0) return second >= 0x90 && second <= 0xBF;
  if (lead == 0xF4) return second >= 0x80 && second <= 0x8F;
  return second >= 0x80 && second <= 0xBF;
}

// Each maximal invalid subsequence becomes one U+FFFD.
std::u32string DecodeUtf8(std::string_view utf8, bool& invalid) {
  std::u32string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    auto lead = static_cast<unsigned char>(utf8[pos]);
    int length = Utf8SequenceLength(lead);
    if (length == 1) {
      out.push_back(lead);
      ++pos;
      continue;
    }
    char32_t c = length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
    int used = 1;
    while (length > 0 && used < length && pos + used < utf8.size()) {
      auto next = static_cast<unsigned char>(utf8[pos + used]);
      bool ok = used == 1 ? ValidSecondByte(lead, next) : (next & 0xC0) == 0x80;
      if (!ok) break;
      c = (c << 6) | (next & 0x3F);
      ++used;
    }
    if (length == 0 || used < length) {
      invalid = true;
      out.push_back(kReplacement);
    } else {
      out.push_back(c);
    }
    pos += static_cast<size_t>(used);
  }
  return out;
}

std::u32string DecodeUtf16(std::u16string_view utf16) {
  std::u32string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    char16_t unit = utf16[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      out.push_back(0x10000 + ((char32_t{unit} - 0xD800) << 10) + (utf16[i + 1] - 0xDC00));
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      out.push_back(kReplacement);
    } else {
      out.push_back(unit);
    }
  }
  return out;
}

std::u32string DecodeAscii(std::string_view text, bool& invalid) {
  std::u32string out;
  out.reserve(text.size());
  for (char byte : text) {
    auto c = static_cast<unsigned char>(byte);
    invalid |= c >= 0x80;
    out.push_back(c < 0x80 ? c : kReplacement);
  }
  return out;
}

std::u16string EncodeUtf16(const std::u32string& text) {
  std::u16string out;
  out.reserve(text.size());
  for (char32_t c : text) {
    if (c >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

std::string EncodeUtf8(const std::u32string& text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (char32_t c : text) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

}  // namespace

int MultiByteToWideChar(uint32_t codePage, uint32_t flags, const char* text, int length,
                        char16_t* out, int outCapacity) {
  if (text == nullptr || length == 0 || length < -1 || outCapacity < 0) return 0;
  if (outCapacity > 0 && out == nullptr) return 0;
  // With -1 the terminator is converted too, so it is part of the count.
  size_t bytes = length == -1 ? std::strlen(text) + 1 : static_cast<size_t>(length);
  std::string_view input(text, bytes);
  bool invalid = false;
  std::u32string decoded;
  if (codePage == kCodePageGbk || codePage == kCodePageActive) {
    decoded = DecodeGbk(input, invalid);
  } else if (codePage == kCodePageUtf8) {
    decoded = DecodeUtf8(input, invalid);
  } else if (codePage == kCodePageAscii) {
    decoded = DecodeAscii(input, invalid);
  } else {
    return 0;
  }
  if (invalid && (flags & kErrorOnInvalidChars) != 0) return 0;
  std::u16string wide = EncodeUtf16(decoded);
  if (wide.size() > static_cast<size_t>(INT32_MAX)) return 0;
  int needed = static_cast<int>(wide.size());
  if (outCapacity == 0) return needed;
  if (needed > outCapacity) return 0;
  std::memcpy(out, wide.data(), wide.size() * sizeof(char16_t));
  return needed;
}

std::u16string GbkToUtf16(std::string_view gbk) {
  bool invalid = false;
  return EncodeUtf16(DecodeGbk(gbk, invalid));
}

std::string Utf16ToGbk(std::u16string_view utf16) { return EncodeGbk(DecodeUtf16(utf16)); }

std::string GbkToUtf8(std::string_view gbk) {
  bool invalid = false;
  return EncodeUtf8(DecodeGbk(gbk, invalid));
}

std::string Utf8ToGbk(std::string_view utf8) {
  bool invalid = false;
  return EncodeGbk(DecodeUtf8(utf8, invalid));
}

std::u32string Utf8ToCodePoints(std::string_view utf8, bool* invalid) {
  bool found = false;
  std::u32string decoded = DecodeUtf8(utf8, found);
  if (invalid != nullptr) *invalid = found;
  return decoded;
}

bool IsValidUtf8(std::string_view bytes) {
  bool invalid = false;
  DecodeUtf8(bytes, invalid);
  return !invalid;
}

}  // namespace vlmr::platform
