// What every HttpTestServer shares, whoever runs the server: reading the
// recorded requests, and trusting a server's certificate.
#include "support/http_test_server.h"

#include <algorithm>
#include <cstdlib>

#include "support/environment.h"

namespace vlmr::test {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

std::string RecordedRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : headers)
    if (SameName(key, name)) return value;
  return {};
}

bool RecordedRequest::HasHeader(std::string_view name) const {
  return std::any_of(headers.begin(), headers.end(),
                     [&](const auto& kv) { return SameName(kv.first, name); });
}

std::vector<RecordedRequest> HttpTestServer::RequestsFor(std::string_view target) const {
  std::vector<RecordedRequest> matching;
  for (RecordedRequest& r : Requests())
    if (r.target == target) matching.push_back(std::move(r));
  return matching;
}

TrustedCertificates::TrustedCertificates(const std::string& pemFile) {
  if (const char* value = std::getenv("SSL_CERT_FILE")) previous_ = value;
  test::SetEnvironment("SSL_CERT_FILE", pemFile.c_str());
}

TrustedCertificates::~TrustedCertificates() {
  if (previous_) test::SetEnvironment("SSL_CERT_FILE", previous_->c_str());
  else test::UnsetEnvironment("SSL_CERT_FILE");
}

}  // namespace vlmr::test
