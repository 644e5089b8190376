#include "platform/wininet.h"

#include <algorithm>
#include <cstdlib>

namespace vlmr::platform::win {
namespace {

bool SameLetters(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

std::optional<UrlParts> CrackUrl(std::string_view url) {
  size_t schemeEnd = url.find("://");
  if (schemeEnd == std::string_view::npos || schemeEnd == 0) return std::nullopt;
  std::string_view scheme = url.substr(0, schemeEnd);
  std::string_view rest = url.substr(schemeEnd + 3);
  size_t authorityEnd = rest.find_first_of("/?#");
  std::string_view authority = rest.substr(0, authorityEnd);
  UrlParts parts{-1, {}, 0, {}, {}, std::string(rest.substr(std::min(authorityEnd, rest.size())))};
  if (SameLetters(scheme, "http")) parts.scheme = kSchemeHttp;
  if (SameLetters(scheme, "https")) parts.scheme = kSchemeHttps;
  parts.port = parts.scheme == kSchemeHttp ? 80 : parts.scheme == kSchemeHttps ? 443 : 0;

  size_t at = authority.rfind('@');
  if (at != std::string_view::npos) {
    std::string_view userInfo = authority.substr(0, at);
    size_t colon = userInfo.find(':');
    parts.user = userInfo.substr(0, colon);
    if (colon != std::string_view::npos) parts.password = userInfo.substr(colon + 1);
    authority.remove_prefix(at + 1);
  }
  std::string_view portText;
  if (authority.starts_with("[")) {
    size_t close = authority.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    parts.host = authority.substr(1, close - 1);
    std::string_view after = authority.substr(close + 1);
    if (!after.empty() && after.front() != ':') return std::nullopt;
    if (!after.empty()) portText = after.substr(1);
  } else {
    size_t colon = authority.rfind(':');
    parts.host = authority.substr(0, colon);
    if (colon != std::string_view::npos) portText = authority.substr(colon + 1);
  }
  if (parts.host.empty()) return std::nullopt;
  if (!portText.empty()) {
    if (portText.size() > 5 || portText.find_first_not_of("0123456789") != std::string_view::npos)
      return std::nullopt;
    int port = std::atoi(std::string(portText).c_str());
    if (port < 1 || port > 65535) return std::nullopt;
    parts.port = static_cast<uint16_t>(port);
  }
  return parts;
}

}  // namespace vlmr::platform::win
