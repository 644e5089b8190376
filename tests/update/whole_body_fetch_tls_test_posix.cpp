// The whole-body fetch over TLS, against a real server on 127.0.0.1 with a
// certificate the test makes and trusts (the Linux HTTP stack reads the
// trusted certificates from SSL_CERT_FILE).
#include <gtest/gtest.h>

#include <string>

#include "support/http_test_server.h"
#include "update/whole_body_fetch.h"

namespace vlmr::update {
namespace {

using test::HttpTestServer;

TEST(WholeBodyFetch, AnHttpsUrlIsFetchedOverTls) {
  HttpTestServer server({}, HttpTestServer::Transport::Https);
  server.Serve("/Updateini2.ini", "tls manifest");
  test::TrustedCertificates trust(server.CertificateFile());
  ASSERT_TRUE(server.Url("/").starts_with("https://"));
  EXPECT_EQ(FetchWholeBody(server.Url("/Updateini2.ini").c_str()).view(), "tls manifest");
}

}  // namespace
}  // namespace vlmr::update
