// Number and conversion commands: bitwise and, round to decimals, to number,
// to text, to hex text.
#include <cmath>
#include <cstdio>

#include "runtime/command_routines.h"
#include "runtime/commands_args.h"

namespace vlmr::rt::routines {
namespace {

// Beyond 2^52 every double is an integer, so rounding changes nothing.
constexpr double kAllIntegral = 4503599627370496.0;
// Added to the scaled magnitude so that values such as 1.005 (stored as
// 1.00499999...) round the way they are written.
constexpr double kRoundingNudge = 1e-12;

double RoundHalfAwayFromZero(double value, int32_t decimals) {
  if (!std::isfinite(value)) return value;
  // Scale by multiplying for places after the point and by dividing for tens,
  // hundreds ..., so that both directions use an exact power of ten.
  const double power = std::pow(10.0, std::abs(static_cast<double>(decimals)));
  if (!std::isfinite(power)) return decimals >= 0 ? value : std::copysign(0.0, value);
  const double magnitude = std::fabs(value);
  const double scaled = decimals >= 0 ? magnitude * power : magnitude / power;
  if (!std::isfinite(scaled) || scaled >= kAllIntegral) return value;
  const double nudged = scaled + kRoundingNudge;
  double whole = std::floor(nudged);
  if (nudged - whole >= 0.5) whole += 1.0;
  const double rounded = decimals >= 0 ? whole / power : whole * power;
  return std::copysign(rounded, value);
}

}  // namespace

void BitwiseAnd(RtValue* result, int32_t count, RtValue* args) {
  if (count <= 0) return result::Int(result, 0);
  int32_t value = args::Int(count, args, 0);
  for (int32_t i = 1; i < count; ++i) value &= args::Int(count, args, i);
  result::Int(result, value);
}

void RoundToDecimals(RtValue* result, int32_t count, RtValue* args) {
  result::Double(result, RoundHalfAwayFromZero(args::Double(count, args, 0),
                                               args::Int(count, args, 1, 0)));
}

void ToNumber(RtValue* result, int32_t count, RtValue* args) {
  result::Double(result, args::ValueToNumber(args::At(count, args, 0)));
}

void ToText(RtValue* result, int32_t count, RtValue* args) {
  result::Text(result, args::ValueToText(args::At(count, args, 0)));
}

void ToHexText(RtValue* result, int32_t count, RtValue* args) {
  char buffer[16];
  const int n = std::snprintf(buffer, sizeof buffer, "%X",
                              static_cast<uint32_t>(args::Int(count, args, 0)));
  result::Text(result, std::string_view(buffer, static_cast<size_t>(n)));
}

}  // namespace vlmr::rt::routines
