// http_test_service: makes HttpTestServers on request, for test programs that
// cannot host one themselves (the Windows suites under Wine). It prints its
// control port on the first line of standard output and then answers, on
// 127.0.0.1:
//   POST /servers                      -> "ID PORT" of a new server
//   POST /servers/ID/serve?path=P      the request body is served at P
//   POST /servers/ID/generate?path=P&size=N&seed=S
//   POST /servers/ID/fault?path=P&kind=K&value=V&times=T&retryAfter=R   (body: the fault's page)
//   GET  /servers/ID/requests          the requests so far (see SerializeRequests)
//   POST /servers/ID/stop              stops listening
//   DELETE /servers/ID                 forgets it
// It ends when its standard input closes or it is killed.
#include <httplib.h>

#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "support/http_test_server.h"
#include "support/http_test_wire.h"

namespace {

using vlmr::test::HttpFault;
using vlmr::test::HttpTestServer;

std::mutex g_mutex;
std::map<int, std::unique_ptr<HttpTestServer>> g_servers;
int g_nextId = 1;

HttpTestServer* Find(const httplib::Request& request) {
  std::lock_guard lock(g_mutex);
  const auto it = g_servers.find(std::stoi(request.matches[1]));
  return it == g_servers.end() ? nullptr : it->second.get();
}

int64_t Number(const httplib::Request& request, const char* name, int64_t otherwise = 0) {
  return request.has_param(name) ? std::stoll(request.get_param_value(name)) : otherwise;
}

// Runs `action` on the server the path names; 404 when there is none.
template <typename Action>
void OnServer(const httplib::Request& request, httplib::Response& response, Action action) {
  HttpTestServer* server = Find(request);
  if (!server) {
    response.status = 404;
    return;
  }
  action(*server);
}

void Routes(httplib::Server& control) {
  control.Post("/servers", [](const httplib::Request&, httplib::Response& response) {
    auto server = std::make_unique<HttpTestServer>();
    const int port = server->Port();
    std::lock_guard lock(g_mutex);
    const int id = g_nextId++;
    g_servers[id] = std::move(server);
    response.set_content(std::to_string(id) + " " + std::to_string(port), "text/plain");
  });
  control.Post(R"(/servers/(\d+)/serve)", [](const httplib::Request& request, httplib::Response& response) {
    OnServer(request, response, [&](HttpTestServer& s) { s.Serve(request.get_param_value("path"), request.body); });
  });
  control.Post(R"(/servers/(\d+)/generate)", [](const httplib::Request& request, httplib::Response& response) {
    OnServer(request, response, [&](HttpTestServer& s) {
      s.ServeGenerated(request.get_param_value("path"), Number(request, "size"),
                       static_cast<uint8_t>(Number(request, "seed")));
    });
  });
  control.Post(R"(/servers/(\d+)/fault)", [](const httplib::Request& request, httplib::Response& response) {
    OnServer(request, response, [&](HttpTestServer& s) {
      HttpFault fault{static_cast<HttpFault::Kind>(Number(request, "kind")), Number(request, "value"),
                      request.body, Number(request, "retryAfter", -1)};
      s.QueueFault(request.get_param_value("path"), fault, static_cast<int>(Number(request, "times", 1)));
    });
  });
  control.Get(R"(/servers/(\d+)/requests)", [](const httplib::Request& request, httplib::Response& response) {
    OnServer(request, response, [&](HttpTestServer& s) {
      response.set_content(vlmr::test::SerializeRequests(s.Requests()), "application/octet-stream");
    });
  });
  control.Post(R"(/servers/(\d+)/stop)", [](const httplib::Request& request, httplib::Response& response) {
    OnServer(request, response, [](HttpTestServer& s) { s.Stop(); });
  });
  control.Delete(R"(/servers/(\d+))", [](const httplib::Request& request, httplib::Response&) {
    std::unique_ptr<HttpTestServer> gone;
    std::lock_guard lock(g_mutex);
    const auto it = g_servers.find(std::stoi(request.matches[1]));
    if (it != g_servers.end()) {
      gone = std::move(it->second);
      g_servers.erase(it);
    }
  });
}

}  // namespace

int main() {
  httplib::Server control;
  Routes(control);
  const int port = control.bind_to_any_port("127.0.0.1");
  if (port <= 0) return 1;
  std::printf("%d\n", port);
  std::fflush(stdout);
  control.listen_after_bind();
}
