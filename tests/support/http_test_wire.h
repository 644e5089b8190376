// The recorded requests of an HttpTestServer as the http_test_service sends
// them to its clients: per request a line "METHOD TARGET VERSION", then one
// line "Name: value" per header, then an empty line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/http_test_server.h"

namespace vlmr::test {

std::string SerializeRequests(const std::vector<RecordedRequest>& requests);
std::vector<RecordedRequest> ParseRequests(std::string_view text);

}  // namespace vlmr::test
