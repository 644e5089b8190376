// The whole-body fetch against a real server on 127.0.0.1.
#include "update/whole_body_fetch.h"

#include <gtest/gtest.h>

#include <string>

#include "support/http_test_server.h"
#include "support/test_data.h"

namespace vlmr::update {
namespace {

using test::HttpFault;
using test::HttpTestServer;

std::string Fetch(const std::string& url) { return std::string(FetchWholeBody(url.c_str()).view()); }

TEST(WholeBodyFetch, GetsTheBodyWithHttp10AndTheAgentAndOneAcceptHeader) {
  HttpTestServer server;
  std::string manifest = test::TestBytes(300000);
  server.Serve("/Updateini2.ini", manifest);
  EXPECT_EQ(Fetch(server.Url("/Updateini2.ini")), manifest);
  auto requests = server.RequestsFor("/Updateini2.ini");
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].version, "HTTP/1.0");
  EXPECT_EQ(requests[0].Header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
  EXPECT_EQ(requests[0].headers.count("Accept"), 1u);
  EXPECT_EQ(requests[0].Header("Accept"), "*/*");
}

TEST(WholeBodyFetch, FetchesThePathWithoutItsFragment) {
  HttpTestServer server;
  server.Serve("/m.ini", "manifest");
  EXPECT_EQ(Fetch(server.Url("/m.ini?v=1#part")), "manifest");
  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].target, "/m.ini?v=1");
}

TEST(WholeBodyFetch, AnErrorPageIsABodyLikeAnyOther) {
  HttpTestServer server;
  EXPECT_EQ(Fetch(server.Url("/nothing-here")), "not found");
  server.QueueFault("/m.ini", HttpFault::Status(500, "<b>oops</b>"));
  EXPECT_EQ(Fetch(server.Url("/m.ini")), "<b>oops</b>");
}

TEST(WholeBodyFetch, BodiesWithoutContentLengthAndCutBodies) {
  HttpTestServer server;
  std::string body = test::TestBytes(50000);
  server.Serve("/m", body);
  server.QueueFault("/m", HttpFault::Chunked());
  EXPECT_EQ(Fetch(server.Url("/m")), body);
  server.QueueFault("/m", HttpFault::CloseDelimited());
  EXPECT_EQ(Fetch(server.Url("/m")), body);
  server.QueueFault("/m", HttpFault::CutAfter(30000));  // what arrived is returned
  EXPECT_EQ(Fetch(server.Url("/m")), body.substr(0, 30000));
}

TEST(WholeBodyFetch, EveryFailureIsTheEmptyByteArray) {
  HttpTestServer server;
  server.Serve("/empty", "");
  EXPECT_TRUE(FetchWholeBody(server.Url("/empty").c_str()).empty());
  EXPECT_EQ(FetchWholeBody(nullptr).get(), nullptr);
  EXPECT_EQ(FetchWholeBody("").get(), nullptr);
  EXPECT_EQ(FetchWholeBody("no url at all").get(), nullptr);
  EXPECT_EQ(FetchWholeBody("ftp://127.0.0.1/x").get(), nullptr);
  std::string url = server.Url("/empty");
  server.Stop();
  EXPECT_EQ(FetchWholeBody(url.c_str()).get(), nullptr);
}

TEST(WholeBodyFetch, ABodyThatNeverEndsFailsPastTheCap) {
  HttpTestServer server;
  server.QueueFault("/m", HttpFault::Endless());
  EXPECT_EQ(FetchWholeBody(server.Url("/m").c_str()).get(), nullptr);
  server.Serve("/big", std::string(static_cast<size_t>(kMaxWholeBody) + 1, 'b'));
  EXPECT_EQ(FetchWholeBody(server.Url("/big").c_str()).get(), nullptr);
}

TEST(FetchChunkSize, FollowsContentLength) {
  EXPECT_EQ(FetchChunkSize(std::nullopt), 10240);
  EXPECT_EQ(FetchChunkSize("500"), 501);
  EXPECT_EQ(FetchChunkSize("1000000"), 102400);
  EXPECT_EQ(FetchChunkSize("102399"), 102400);
  EXPECT_EQ(FetchChunkSize("102398"), 102399);
  EXPECT_EQ(FetchChunkSize("0"), 10240);
  EXPECT_EQ(FetchChunkSize("-5"), 10240);
  EXPECT_EQ(FetchChunkSize("lots"), 10240);
}

}  // namespace
}  // namespace vlmr::update
