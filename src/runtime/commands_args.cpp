#include "runtime/commands_args.h"

#include <charconv>
#include <cstdio>

#include "runtime/rt_blocks.h"

namespace vlmr::rt::args {
namespace {

bool IsIntegerTag(RtType t) {
  return t == RtType::Byte || t == RtType::Short || t == RtType::Int || t == RtType::Int64;
}

int64_t IntegerPayload(const RtValue& v) {
  switch (v.Type()) {
    case RtType::Byte: return static_cast<uint8_t>(v.Low());
    case RtType::Short: return static_cast<int16_t>(v.Low());
    case RtType::Int: return v.AsInt();
    default: return v.AsInt64();
  }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

size_t SkipDigits(std::string_view s, size_t i) {
  while (i < s.size() && IsDigit(s[i])) ++i;
  return i;
}

// The leading decimal number of a text ("  -12.5e3xyz" -> -12500); 0 when the
// text does not start with one.
double ParseLeadingDecimal(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  const size_t begin = i;
  size_t end = SkipDigits(s, i);
  bool digits = end > begin;
  if (end < s.size() && s[end] == '.') {
    const size_t fractionEnd = SkipDigits(s, end + 1);
    digits = digits || fractionEnd > end + 1;
    end = fractionEnd;
  }
  if (!digits) return 0.0;
  if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
    size_t e = end + 1;
    if (e < s.size() && (s[e] == '+' || s[e] == '-')) ++e;
    const size_t exponentEnd = SkipDigits(s, e);
    if (exponentEnd > e) end = exponentEnd;
  }
  double value = 0.0;
  std::from_chars(s.data() + begin, s.data() + end, value);
  return negative ? -value : value;
}

}  // namespace

std::string_view Text(int32_t count, const RtValue* args, int32_t i) {
  const RtValue v = At(count, args, i);
  if (v.Type() != RtType::Text) return {};
  return TextView(v.AsPointer<const char>());
}

std::string_view ByteArray(int32_t count, const RtValue* args, int32_t i) {
  const RtValue v = At(count, args, i);
  if (v.Type() != RtType::ByteArray) return {};
  const void* block = v.AsPointer<const void>();
  if (block == nullptr) return {};
  return {reinterpret_cast<const char*>(ByteArrayData(block)),
          static_cast<size_t>(rt::ByteArrayLength(block))};
}

int32_t Int(int32_t count, const RtValue* args, int32_t i, int32_t fallback) {
  const RtValue v = At(count, args, i);
  if (v.IsOmitted()) return fallback;
  if (IsIntegerTag(v.Type())) return static_cast<int32_t>(IntegerPayload(v));
  // Floating values truncate toward zero; a bool is 0 or 1, a text its number.
  return static_cast<int32_t>(to_int64(ValueToNumber(v)));
}

bool Bool(int32_t count, const RtValue* args, int32_t i, bool fallback) {
  const RtValue v = At(count, args, i);
  if (v.IsOmitted()) return fallback;
  if (v.Type() == RtType::Double || v.Type() == RtType::Float) return ValueToNumber(v) != 0.0;
  return v.payload != 0;
}

double Double(int32_t count, const RtValue* args, int32_t i, double fallback) {
  const RtValue v = At(count, args, i);
  return v.IsOmitted() ? fallback : ValueToNumber(v);
}

std::string ValueToText(const RtValue& value) {
  const RtType t = value.Type();
  if (IsIntegerTag(t)) return std::to_string(IntegerPayload(value));
  if (t == RtType::Double || t == RtType::Float) {
    char buffer[40];
    const int n = std::snprintf(buffer, sizeof buffer, "%.13g", ValueToNumber(value));
    return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
  }
  if (t == RtType::Text) return std::string(TextView(value.AsPointer<const char>()));
  if (t == RtType::ByteArray) {
    const RtValue one[1] = {value};
    const std::string_view bytes = ByteArray(1, one, 0);
    return std::string(bytes.substr(0, bytes.find('\0')));
  }
  return {};
}

double ValueToNumber(const RtValue& value) {
  const RtType t = value.Type();
  if (IsIntegerTag(t)) return static_cast<double>(IntegerPayload(value));
  if (t == RtType::Double) return value.AsDouble();
  if (t == RtType::Float) return value.AsFloat();
  if (t == RtType::Bool) return value.AsBool() ? 1.0 : 0.0;
  if (t == RtType::Text) return ParseLeadingDecimal(TextView(value.AsPointer<const char>()));
  return 0.0;
}

}  // namespace vlmr::rt::args

namespace vlmr::rt::result {

void Text(RtValue* r, std::string_view bytes) { *r = RtValue::Text(NewText(bytes)); }

void ByteArray(RtValue* r, std::string_view bytes) {
  *r = RtValue::Bytes(NewByteArray(bytes.data(), static_cast<int64_t>(bytes.size())));
}

}  // namespace vlmr::rt::result
