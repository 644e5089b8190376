#include "platform/http.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "support/http_test_server.h"
#include "support/test_data.h"

namespace vlmr::platform {
namespace {

using test::HttpFault;
using test::HttpTestServer;

HttpRequest Get(const std::string& url) {
  HttpRequest r;
  r.url = url;
  return r;
}

// Reads the body in blocks of `block` bytes; *failed tells whether it ended in -1.
std::string ReadAll(HttpTransfer& t, size_t block, bool* failed = nullptr) {
  std::string body;
  std::string buffer(block, '\0');
  for (;;) {
    int64_t n = t.Read(buffer.data(), block);
    if (n <= 0) {
      if (failed) *failed = n < 0;
      return body;
    }
    body.append(buffer.data(), static_cast<size_t>(n));
  }
}

TEST(HttpTransfer, ReturnsStatusHeadersAndTheWholeBodyInFullBlocks) {
  HttpTestServer server;
  std::string content = test::TestBytes(100000);
  server.Serve("/data.bin", content);
  auto t = HttpTransfer::Open(Get(server.Url("/data.bin")));
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->Status(), 200);
  EXPECT_EQ(t->Header("content-length"), "100000");
  EXPECT_EQ(t->Header("X-Missing"), std::nullopt);

  std::string buffer(36864, '\0');
  EXPECT_EQ(t->Read(buffer.data(), buffer.size()), 36864);  // a full block, not what happened to arrive
  std::string rest = ReadAll(*t, 36864);
  EXPECT_EQ(buffer + rest, content);
  EXPECT_EQ(t->Read(buffer.data(), buffer.size()), 0);  // the end stays the end
}

TEST(HttpTransfer, ReadsBlocksLargerThanItsOwnBufferWithoutStalling) {
  HttpTestServer server;
  std::string content = test::TestBytes(5 * 1024 * 1024 + 17);
  server.Serve("/big", content);
  auto t = HttpTransfer::Open(Get(server.Url("/big")));
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(ReadAll(*t, 2 * 1024 * 1024), content);
}

TEST(HttpTransfer, SendsAgentExtraHeadersAndHttp10) {
  HttpTestServer server;
  server.Serve("/x", "x");
  HttpRequest r = Get(server.Url("/x"));
  r.userAgent = "Agent12345";
  r.http10 = true;
  r.headers = {"Range:bytes=0-", "Accept: text/plain", "Accept: */*"};
  auto t = HttpTransfer::Open(r);
  ASSERT_NE(t, nullptr);
  ReadAll(*t, 100);
  auto requests = server.RequestsFor("/x");
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].version, "HTTP/1.0");
  EXPECT_EQ(requests[0].Header("User-Agent"), "Agent12345");
  EXPECT_EQ(requests[0].Header("Range"), "bytes=0-");
  EXPECT_EQ(requests[0].headers.count("Accept"), 1u);  // the later line replaced the earlier
  EXPECT_EQ(requests[0].Header("Accept"), "*/*");
}

TEST(HttpTransfer, ErrorStatusesAreResponsesWithTheirBody) {
  HttpTestServer server;
  server.QueueFault("/gone", HttpFault::Status(404, "<h1>missing</h1>"));
  auto t = HttpTransfer::Open(Get(server.Url("/gone")));
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->Status(), 404);
  EXPECT_EQ(ReadAll(*t, 10), "<h1>missing</h1>");
}

TEST(HttpTransfer, BodiesWithoutContentLengthEndCleanly) {
  HttpTestServer server;
  std::string content = test::TestBytes(200000);
  server.Serve("/f", content);
  server.QueueFault("/f", HttpFault::Chunked());
  server.QueueFault("/f", HttpFault::CloseDelimited());
  for (const char* how : {"chunked", "close-delimited"}) {
    auto t = HttpTransfer::Open(Get(server.Url("/f")));
    ASSERT_NE(t, nullptr) << how;
    EXPECT_EQ(t->Header("Content-Length"), std::nullopt) << how;
    bool failed = true;
    EXPECT_EQ(ReadAll(*t, 36864, &failed), content) << how;
    EXPECT_FALSE(failed) << how;
  }
}

TEST(HttpTransfer, ABodyCutShortHandsOverWhatArrivedThenFails) {
  HttpTestServer server;
  std::string content = test::TestBytes(100000);
  server.Serve("/cut", content);
  server.QueueFault("/cut", HttpFault::CutAfter(40000));
  auto t = HttpTransfer::Open(Get(server.Url("/cut")));
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->Header("Content-Length"), "100000");
  bool failed = false;
  EXPECT_EQ(ReadAll(*t, 36864, &failed), content.substr(0, 40000));
  EXPECT_TRUE(failed);
  EXPECT_FALSE(t->LastError().empty());
}

TEST(HttpTransfer, ALengthAnnouncedLargerThanTheBodyFails) {
  HttpTestServer server;
  server.Serve("/short", "twelve bytes");
  server.QueueFault("/short", HttpFault::AnnounceLength(5000));
  auto t = HttpTransfer::Open(Get(server.Url("/short")));
  ASSERT_NE(t, nullptr);
  bool failed = false;
  EXPECT_EQ(ReadAll(*t, 1000, &failed), "twelve bytes");
  EXPECT_TRUE(failed);
}

TEST(HttpTransfer, AServerThatStallsFailsAfterTheStallTimeout) {
  HttpTestServer server;
  server.Serve("/slow", test::TestBytes(1000));
  server.QueueFault("/slow", HttpFault::Stall());
  HttpRequest r = Get(server.Url("/slow"));
  r.stallTimeout = std::chrono::milliseconds(1000);
  auto t = HttpTransfer::Open(r);
  ASSERT_NE(t, nullptr);
  bool failed = false;
  EXPECT_EQ(ReadAll(*t, 100, &failed), "");
  EXPECT_TRUE(failed);
}

TEST(HttpTransfer, NoServerNoTransfer) {
  int port;
  {
    HttpTestServer server;
    port = server.Port();
  }
  std::string error;
  auto t = HttpTransfer::Open(Get("http://127.0.0.1:" + std::to_string(port) + "/x"), &error);
  EXPECT_EQ(t, nullptr);
  EXPECT_FALSE(error.empty());
}

TEST(HttpTransfer, UrlsWithBlanksAndGbkNamesAreSentPercentEncoded) {
  HttpTestServer server;
  const std::string name = "/\xB8\xFC\xD0\xC2 data.bin";  // GBK for 更新, a blank
  server.Serve(name, "gbk named");
  auto t = HttpTransfer::Open(Get(server.Url(name)));
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->Status(), 200);
  EXPECT_EQ(ReadAll(*t, 100), "gbk named");
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0].target, "/%B8%FC%D0%C2%20data.bin");
}

TEST(HttpTransfer, HttpsServersAreVerifiedAgainstTheTrustedCertificates) {
  HttpTestServer server({}, HttpTestServer::Transport::Https);
  server.Serve("/s", "over tls");
  {
    test::TrustedCertificates trust(server.CertificateFile());
    auto t = HttpTransfer::Open(Get(server.Url("/s")));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(ReadAll(*t, 100), "over tls");
  }
  test::TrustedCertificates systemStore("/etc/ssl/certs/ca-certificates.crt");
  std::string error;
  EXPECT_EQ(HttpTransfer::Open(Get(server.Url("/s")), &error), nullptr);  // self-signed
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(server.Requests().size(), 1u);
}

TEST(HttpTransfer, OnlyHttpAndHttpsAreSpoken) {
  std::string error;
  EXPECT_EQ(HttpTransfer::Open(Get("file:///etc/hostname"), &error), nullptr);
  EXPECT_EQ(HttpTransfer::Open(Get("not a url"), &error), nullptr);
}

}  // namespace
}  // namespace vlmr::platform
