#include "settings/settings_number.h"

#include "runtime/commands.h"
#include "runtime/rt_blocks.h"

namespace vlmr::settings {
namespace {

constexpr unsigned char kFullWidthLead = 0xA3;  // row of the full-width ASCII forms
constexpr unsigned char kSymbolLead = 0xA1;     // row holding the full-width space
constexpr unsigned char kFullWidthSpaceTrail = 0xA1;
constexpr unsigned char kFirstFullWidthTrail = 0xA1;  // 0xA3A1 is '!' (0x21)
constexpr unsigned char kLastFullWidthTrail = 0xFE;   // 0xA3FE is '~' (0x7E)
constexpr unsigned char kTrailToAscii = 0x80;

}  // namespace

std::string FullWidthToAscii(std::string_view gbk) {
  std::string out;
  out.reserve(gbk.size());
  for (size_t i = 0; i < gbk.size(); ++i) {
    const auto lead = static_cast<unsigned char>(gbk[i]);
    if (lead < 0x80 || i + 1 == gbk.size()) {
      out.push_back(gbk[i]);
      continue;
    }
    const auto trail = static_cast<unsigned char>(gbk[i + 1]);
    if (lead == kFullWidthLead && trail >= kFirstFullWidthTrail && trail <= kLastFullWidthTrail) {
      out.push_back(static_cast<char>(trail - kTrailToAscii));
    } else if (lead == kSymbolLead && trail == kFullWidthSpaceTrail) {
      out.push_back(' ');
    } else {
      out.append(gbk.substr(i, 2));
    }
    ++i;
  }
  return out;
}

int32_t SettingsNumber(const char* gbkText) {
  const std::string ascii = FullWidthToAscii(rt::TextView(gbkText));
  const double value = rt::cmd::ToNumber(ascii.c_str());
  return static_cast<int32_t>(static_cast<uint32_t>(rt::to_int64(value)));
}

}  // namespace vlmr::settings
