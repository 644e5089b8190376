#include "launch/replace_line.h"

#include <string>

#include "runtime/commands.h"

namespace vlmr::launch {
namespace {

constexpr const char* kLineBreak = "\r\n";

}  // namespace

rt::Text ReplaceLine(const char* text, int32_t n, const char* newLine) {
  const rt::TextArray lines = rt::cmd::SplitText(text, kLineBreak);
  if (n < 1 || n > lines.size()) return {};
  std::string joined;
  for (int32_t i = 0; i < lines.size(); ++i) {
    if (i > 0) joined += kLineBreak;
    joined += (i == n - 1) ? rt::TextView(newLine) : lines[i];
  }
  return rt::Text(rt::NewText(joined));
}

}  // namespace vlmr::launch
