#include "support/http_test_wire.h"

namespace vlmr::test {
namespace {

// The next line of `text` (without its "\n"); `text` moves past it.
std::string_view NextLine(std::string_view& text) {
  const size_t end = text.find('\n');
  const std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  return line;
}

}  // namespace

std::string SerializeRequests(const std::vector<RecordedRequest>& requests) {
  std::string text;
  for (const RecordedRequest& r : requests) {
    text += r.method + " " + r.target + " " + r.version + "\n";
    for (const auto& [name, value] : r.headers) text += name + ": " + value + "\n";
    text += "\n";
  }
  return text;
}

std::vector<RecordedRequest> ParseRequests(std::string_view text) {
  std::vector<RecordedRequest> requests;
  while (!text.empty()) {
    const std::string_view first = NextLine(text);
    const size_t a = first.find(' '), b = first.rfind(' ');
    RecordedRequest r{std::string(first.substr(0, a)), std::string(first.substr(a + 1, b - a - 1)),
                      std::string(first.substr(b + 1)), {}};
    for (std::string_view line = NextLine(text); !line.empty(); line = NextLine(text)) {
      const size_t colon = line.find(": ");
      r.headers.emplace(std::string(line.substr(0, colon)), std::string(line.substr(colon + 2)));
    }
    requests.push_back(std::move(r));
  }
  return requests;
}

}  // namespace vlmr::test
