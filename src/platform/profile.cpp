#include "platform/profile.h"

#include <mutex>
#include <optional>
#include <vector>

#include "platform/native_file.h"
#include "platform/native_path.h"

namespace vlmr::platform {
namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";
constexpr std::string_view kNewLine = "\r\n";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Writers in this process take turns, so two concurrent updates of the same
// file cannot lose one another's change between reading and renaming.
std::mutex g_writeMutex;

std::string_view Trim(std::string_view text) {
  size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// ASCII letters match in either case; GBK double-byte characters match only
// exactly, since their second byte may look like an ASCII letter.
bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lead = static_cast<unsigned char>(a[i]);
    if (lead >= 0x81 && lead <= 0xFE && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
      return false;
    }
  }
  return true;
}

enum class LineKind { Blank, Comment, Section, Key };

// One line of the file as read; text and ending together are its exact bytes.
struct IniLine {
  std::string text;
  std::string ending;  // "\r\n", "\n" or "" for a last line without one
  LineKind kind = LineKind::Blank;
  std::string name;    // section or key name, trimmed
  std::string value;   // the raw text after '=' (keys only)
};

IniLine ClassifyLine(std::string text, std::string ending, bool firstLine) {
  IniLine line;
  line.text = std::move(text);
  line.ending = std::move(ending);
  std::string_view body = line.text;
  if (firstLine && body.starts_with(kUtf8Bom)) body.remove_prefix(kUtf8Bom.size());
  body = Trim(body);
  if (body.empty()) return line;
  if (body.front() == ';') {
    line.kind = LineKind::Comment;
  } else if (body.front() == '[') {
    line.kind = LineKind::Section;
    body.remove_prefix(1);
    line.name = Trim(body.substr(0, body.find(']')));
  } else {
    // A line without '=' is a key with an empty value, as Windows reads it.
    line.kind = LineKind::Key;
    size_t equals = body.find('=');
    line.name = Trim(body.substr(0, equals));
    if (equals != std::string_view::npos) line.value = body.substr(equals + 1);
  }
  return line;
}

std::vector<IniLine> ParseLines(std::string_view content) {
  std::vector<IniLine> lines;
  size_t pos = 0;
  while (pos < content.size()) {
    size_t newline = content.find('\n', pos);
    size_t end = newline == std::string_view::npos ? content.size() : newline;
    size_t textEnd = end > pos && content[end - 1] == '\r' ? end - 1 : end;
    size_t next = newline == std::string_view::npos ? content.size() : newline + 1;
    lines.push_back(ClassifyLine(std::string(content.substr(pos, textEnd - pos)),
                                 std::string(content.substr(textEnd, next - textEnd)),
                                 lines.empty()));
    pos = next;
  }
  return lines;
}

// Lines [header, end) of the first section with the given name.
struct SectionRange {
  size_t header;
  size_t end;
};

std::optional<SectionRange> FindSection(const std::vector<IniLine>& lines,
                                        std::string_view section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind != LineKind::Section || !EqualIgnoringCase(lines[i].name, section)) continue;
    size_t end = i + 1;
    while (end < lines.size() && lines[end].kind != LineKind::Section) ++end;
    return SectionRange{i, end};
  }
  return std::nullopt;
}

std::optional<size_t> FindKey(const std::vector<IniLine>& lines, SectionRange range,
                              std::string_view key) {
  for (size_t i = range.header + 1; i < range.end; ++i) {
    if (lines[i].kind == LineKind::Key && EqualIgnoringCase(lines[i].name, key)) return i;
  }
  return std::nullopt;
}

std::string_view SkipLeadingControls(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20) text.remove_prefix(1);
  return text;
}

// The value as GetPrivateProfileString returns it: blanks and one pair of
// matching quotes removed, cut to the result limit without splitting a
// double-byte character.
std::string ResultValue(std::string_view raw) {
  std::string_view value = Trim(raw);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  if (value.size() < kProfileResultLimit) return std::string(value);
  size_t cut = 0;
  while (cut < kProfileResultLimit - 1) {
    auto c = static_cast<unsigned char>(value[cut]);
    size_t width = c >= 0x81 && c <= 0xFE ? 2 : 1;
    if (cut + width > kProfileResultLimit - 1) break;
    cut += width;
  }
  return std::string(value.substr(0, cut));
}

std::string DefaultResult(std::string_view defaultValue) {
  size_t last = defaultValue.find_last_not_of(" \t");
  return ResultValue(last == std::string_view::npos ? std::string_view()
                                                    : defaultValue.substr(0, last + 1));
}

// Names and values that would change the file's structure cannot be written:
// they could not be read back as written.
bool WritableNames(const char* section, const char* key, const char* value) {
  auto has = [](const char* text, std::string_view bytes) {
    return std::string_view(text).find_first_of(bytes) != std::string_view::npos;
  };
  if (Trim(section).empty() || has(section, "]\r\n")) return false;
  if (key != nullptr && (Trim(key).empty() || has(key, "=\r\n"))) return false;
  return value == nullptr || !has(value, "\r\n");
}

IniLine NewLine(std::string text) {
  return ClassifyLine(std::move(text), std::string(kNewLine), false);
}

void EnsureLineEnds(IniLine& line) {
  if (line.ending.empty()) line.ending = kNewLine;
}

void AppendSection(std::vector<IniLine>& lines, const char* section, const char* key,
                   const char* value) {
  if (!lines.empty()) {
    EnsureLineEnds(lines.back());
    // A blank line separates the new section from the text before it.
    if (lines.back().kind != LineKind::Blank) lines.push_back(NewLine(""));
  }
  std::string header = "[";  // built stepwise: GCC 12 warns falsely on "[" + s + "]"
  header.append(section).append("]");
  lines.push_back(NewLine(std::move(header)));
  lines.push_back(NewLine(std::string(key) + "=" + value));
}

void AddKeyToSection(std::vector<IniLine>& lines, SectionRange range, const char* key,
                     const char* value) {
  size_t after = range.header;
  for (size_t i = range.header + 1; i < range.end; ++i) {
    if (lines[i].kind == LineKind::Key) after = i;
  }
  EnsureLineEnds(lines[after]);
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after + 1),
               NewLine(std::string(key) + "=" + value));
}

// Applies one write to the lines; false when nothing changes.
bool ApplyWrite(std::vector<IniLine>& lines, const char* section, const char* key,
                const char* value) {
  std::optional<SectionRange> range = FindSection(lines, Trim(section));
  if (key == nullptr) {
    if (!range) return false;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(range->header),
                lines.begin() + static_cast<std::ptrdiff_t>(range->end));
    return true;
  }
  std::optional<size_t> found = range ? FindKey(lines, *range, Trim(key)) : std::nullopt;
  if (value == nullptr) {
    if (!found) return false;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*found));
    return true;
  }
  if (found) {
    IniLine& line = lines[*found];
    line.text = line.name + "=" + value;
    line.value = value;
  } else if (range) {
    AddKeyToSection(lines, *range, key, value);
  } else {
    AppendSection(lines, section, key, value);
  }
  return true;
}

bool ReplaceFile(const std::string& nativePath, const std::vector<IniLine>& lines) {
  std::string content;
  for (const IniLine& line : lines) content += line.text + line.ending;
  AtomicReplacement replacement(nativePath);
  return replacement.IsOpen() && replacement.Write(content.data(), content.size()) &&
         replacement.Commit();
}

}  // namespace

std::string ReadProfileString(std::string_view gbkFile, std::string_view section,
                              std::string_view key, std::string_view defaultValue) {
  gbkFile = SkipLeadingControls(gbkFile);
  section = Trim(SkipLeadingControls(section));
  key = Trim(SkipLeadingControls(key));
  if (gbkFile.empty() || section.empty() || key.empty()) return {};
  std::string native = ToNativePath(gbkFile);
  std::optional<std::string> content = native.empty() ? std::nullopt : ReadNativeFile(native);
  if (!content) return DefaultResult(defaultValue);
  std::vector<IniLine> lines = ParseLines(*content);
  std::optional<SectionRange> range = FindSection(lines, section);
  std::optional<size_t> found = range ? FindKey(lines, *range, key) : std::nullopt;
  if (!found) return DefaultResult(defaultValue);
  return ResultValue(lines[*found].value);
}

bool WriteProfileString(std::string_view gbkFile, const char* section, const char* key,
                        const char* value) {
  if (section == nullptr || !WritableNames(section, key, value)) return false;
  std::string native = ToNativePath(gbkFile);
  if (native.empty()) return false;
  std::lock_guard lock(g_writeMutex);
  const NativeFileState state = StateOfNativeFile(native);
  if (state.exists && (!state.regular || state.readOnly)) return false;
  std::optional<std::string> content = state.exists ? ReadNativeFile(native) : std::string();
  if (!content) return false;
  std::vector<IniLine> lines = ParseLines(*content);
  if (!ApplyWrite(lines, section, key, value)) return true;  // nothing to delete
  return ReplaceFile(native, lines);
}

}  // namespace vlmr::platform
