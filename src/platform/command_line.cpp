#include "platform/process.h"

#include "platform/codepage.h"

namespace vlmr::platform {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsGbkTrail(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

// Length of the unit at pos: 2 for a double-byte character, else 1.
size_t UnitLength(std::string_view text, size_t pos) {
  return IsGbkLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() &&
                 IsGbkTrail(static_cast<unsigned char>(text[pos + 1]))
             ? 2
             : 1;
}

// The program token: quotes group, nothing is escaped.
std::string TakeProgramToken(std::string_view line, size_t& pos) {
  std::string token;
  bool quoted = false;
  while (pos < line.size() && (quoted || !IsBlank(line[pos]))) {
    if (line[pos] == '"') {
      quoted = !quoted;
      ++pos;
      continue;
    }
    size_t length = UnitLength(line, pos);
    token.append(line.substr(pos, length));
    pos += length;
  }
  return token;
}

// A run of backslashes at pos: 2n before a quote give n and let the quote
// toggle; 2n+1 give n and a literal quote; otherwise all are literal.
void TakeBackslashes(std::string_view line, size_t& pos, std::string& token) {
  size_t count = 0;
  while (pos < line.size() && line[pos] == '\\') {
    ++count;
    ++pos;
  }
  if (pos < line.size() && line[pos] == '"') {
    token.append(count / 2, '\\');
    if (count % 2 == 1) {
      token.push_back('"');
      ++pos;
    }
  } else {
    token.append(count, '\\');
  }
}

std::string TakeArgumentToken(std::string_view line, size_t& pos) {
  std::string token;
  bool quoted = false;
  while (pos < line.size() && (quoted || !IsBlank(line[pos]))) {
    if (line[pos] == '\\') {
      TakeBackslashes(line, pos, token);
    } else if (line[pos] == '"') {
      quoted = !quoted;
      ++pos;
    } else {
      size_t length = UnitLength(line, pos);
      token.append(line.substr(pos, length));
      pos += length;
    }
  }
  return token;
}

void SkipBlanks(std::string_view line, size_t& pos) {
  while (pos < line.size() && IsBlank(line[pos])) ++pos;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
  std::vector<std::string> tokens;
  size_t pos = 0;
  SkipBlanks(commandLine, pos);
  if (pos >= commandLine.size()) return tokens;
  tokens.push_back(TakeProgramToken(commandLine, pos));
  for (SkipBlanks(commandLine, pos); pos < commandLine.size(); SkipBlanks(commandLine, pos)) {
    tokens.push_back(TakeArgumentToken(commandLine, pos));
  }
  return tokens;
}

}  // namespace vlmr::platform
