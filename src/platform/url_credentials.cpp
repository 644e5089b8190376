#include "platform/url_credentials.h"

namespace vlmr::platform {
namespace {

constexpr std::string_view kSchemeEnd = "://";
constexpr std::string_view kHostPartEnds = "/?#\"' \t\r\n";

}  // namespace

std::string WithoutUrlCredentials(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (;;) {
    const size_t scheme = text.find(kSchemeEnd);
    if (scheme == std::string_view::npos) break;
    const size_t hostStart = scheme + kSchemeEnd.size();
    const std::string_view rest = text.substr(hostStart);
    const std::string_view hostPart = rest.substr(0, rest.find_first_of(kHostPartEnds));
    const size_t at = hostPart.rfind('@');
    out.append(text.substr(0, hostStart));
    text.remove_prefix(hostStart + (at == std::string_view::npos ? 0 : at + 1));
  }
  out.append(text);
  return out;
}

}  // namespace vlmr::platform
