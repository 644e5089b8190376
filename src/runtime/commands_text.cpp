// Text commands: text length, left and right part of text, find text from the
// end, to upper case, to lower case.
#include <algorithm>
#include <string>

#include "runtime/command_routines.h"
#include "runtime/commands_args.h"

namespace vlmr::rt::routines {
namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool MatchesAt(std::string_view text, size_t at, std::string_view sought, bool ignoreCase) {
  if (at + sought.size() > text.size()) return false;
  for (size_t i = 0; i < sought.size(); ++i) {
    const char a = text[at + i];
    const char b = sought[i];
    if (ignoreCase ? FoldAscii(a) != FoldAscii(b) : a != b) return false;
  }
  return true;
}

// Changes ASCII letters only; a double-byte character (whose trail byte may
// look like a letter) is copied as one unit.
std::string MapAsciiLetters(std::string_view text, char from, char to, int delta) {
  std::string out(text);
  for (size_t i = 0; i < out.size(); i += args::GbkUnitLength(out, i)) {
    if (out[i] >= from && out[i] <= to) out[i] = static_cast<char>(out[i] + delta);
  }
  return out;
}

}  // namespace

void TextLength(RtValue* result, int32_t count, RtValue* args) {
  result::Int(result, static_cast<int32_t>(args::Text(count, args, 0).size()));
}

void LeftPartOfText(RtValue* result, int32_t count, RtValue* args) {
  const std::string_view text = args::Text(count, args, 0);
  const int32_t n = args::Int(count, args, 1);
  result::Text(result, n <= 0 ? std::string_view() : text.substr(0, static_cast<size_t>(n)));
}

void RightPartOfText(RtValue* result, int32_t count, RtValue* args) {
  const std::string_view text = args::Text(count, args, 0);
  const int32_t n = args::Int(count, args, 1);
  if (n <= 0) return result::Text(result, {});
  const size_t take = std::min(text.size(), static_cast<size_t>(n));
  result::Text(result, text.substr(text.size() - take));
}

// Arguments: text; sought text; start (1-based position a match may begin at
// the latest; omitted: anywhere); ignore case (omitted: false).
void FindTextFromEnd(RtValue* result, int32_t count, RtValue* args) {
  const std::string_view text = args::Text(count, args, 0);
  const std::string_view sought = args::Text(count, args, 1);
  const int64_t start = args::Int(count, args, 2, static_cast<int32_t>(text.size()));
  const bool ignoreCase = args::Bool(count, args, 3, false);
  int32_t found = -1;
  if (!sought.empty()) {
    // Walk forward by characters so that only real character starts are tried.
    for (size_t i = 0; i < text.size() && static_cast<int64_t>(i) < start;
         i += args::GbkUnitLength(text, i)) {
      if (MatchesAt(text, i, sought, ignoreCase)) found = static_cast<int32_t>(i + 1);
    }
  }
  result::Int(result, found);
}

void ToUpperCase(RtValue* result, int32_t count, RtValue* args) {
  result::Text(result, MapAsciiLetters(args::Text(count, args, 0), 'a', 'z', -32));
}

void ToLowerCase(RtValue* result, int32_t count, RtValue* args) {
  result::Text(result, MapAsciiLetters(args::Text(count, args, 0), 'A', 'Z', 32));
}

}  // namespace vlmr::rt::routines
