#include "update/manifest.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>

#include "platform/codepage.h"
#include "platform/launcher_log.h"
#include "runtime/rt_heap.h"
#include "update/file_md5.h"

namespace vlmr::update {
namespace {

constexpr size_t kFirstOutputBytes = 64 * 1024;
constexpr size_t kFieldsPerEntry = 3;
constexpr size_t kDigestDigits = 32;

uint32_t LittleEndianWord(const char* p) {
  auto byte = [p](int i) { return uint32_t{static_cast<unsigned char>(p[i])}; };
  return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

std::nullopt_t Refuse(std::string* problem, std::string why) {
  if (problem) *problem = std::move(why);
  return std::nullopt;
}

// Inflates one zlib stream that must end within `limit` output bytes. The
// output grows with what is produced; one byte beyond the limit is room
// enough to tell that the stream wants more.
std::optional<std::string> InflateBounded(std::string_view compressed, size_t limit,
                                          std::string* problem) {
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) return Refuse(problem, "zlib could not start");
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
  zs.avail_in = static_cast<uInt>(std::min<size_t>(compressed.size(), UINT32_MAX));
  std::string out;
  int rc = Z_OK;
  while (rc == Z_OK && zs.total_out <= limit) {
    if (zs.total_out == out.size()) {
      out.resize(std::min(limit + 1, std::max(out.size() * 2, kFirstOutputBytes)));
    }
    zs.next_out = reinterpret_cast<Bytef*>(out.data() + zs.total_out);
    zs.avail_out = static_cast<uInt>(out.size() - zs.total_out);
    rc = inflate(&zs, Z_NO_FLUSH);
  }
  const size_t produced = zs.total_out;
  const std::string zlibMessage = zs.msg ? zs.msg : "the stream ends early";
  inflateEnd(&zs);
  if (produced > limit) {
    return Refuse(problem, "the text is longer than the " + std::to_string(limit) +
                               " bytes the container allows");
  }
  if (rc != Z_STREAM_END) return Refuse(problem, "the compressed text is damaged (" + zlibMessage + ")");
  out.resize(produced);
  return out;
}

// The pieces of `text` between separators, stepping over GBK double-byte
// characters; an empty piece after the last separator is dropped, so an empty
// text has none. `separator` is "\r\n" or "\t".
template <typename Visit>
void ForEachPiece(std::string_view text, std::string_view separator, Visit visit) {
  size_t start = 0;
  for (size_t i = 0; i < text.size();) {
    if (platform::IsGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
      i += 2;
    } else if (text.compare(i, separator.size(), separator) == 0) {
      visit(text.substr(start, i - start));
      i += separator.size();
      start = i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) visit(text.substr(start));
}

rt::Text OwnedText(std::string_view field) { return rt::Text(rt::NewText(field)); }

// One entry per line of three fields or more; other lines are named on
// standard error.
std::vector<ManifestEntry> EntriesOf(std::string_view text) {
  std::vector<ManifestEntry> entries;
  size_t lineNumber = 0;
  ForEachPiece(text, "\r\n", [&](std::string_view line) {
    ++lineNumber;
    std::string_view fields[kFieldsPerEntry];
    size_t count = 0;
    ForEachPiece(line, "\t", [&](std::string_view field) {
      if (count < kFieldsPerEntry) fields[count] = field;
      ++count;
    });
    if (count < kFieldsPerEntry) {
      platform::Say("update", "manifest line " + std::to_string(lineNumber) + " skipped: it has " +
                                  std::to_string(count) + " of the 3 fields (path, MD5, URL)");
      return;
    }
    entries.push_back({OwnedText(fields[0]), OwnedText(fields[1]), OwnedText(fields[2])});
  });
  return entries;
}

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::optional<std::string> DecodeManifestText(std::string_view body, std::string* problem) {
  if (body.size() < 8) return Refuse(problem, "the body is shorter than the 8-byte container header");
  if (LittleEndianWord(body.data()) != kManifestMagic) {
    return Refuse(problem, "the body is not a manifest container (no magic 0x033E0F0D; an error page?)");
  }
  const auto doubled = static_cast<int32_t>(LittleEndianWord(body.data() + 4) * 2u);
  if (doubled <= 0) return Refuse(problem, "the size word allows no text (2 x n is not positive)");
  const size_t limit = std::min(static_cast<size_t>(doubled), kMaxManifestText);
  std::optional<std::string> text = InflateBounded(body.substr(8), limit, problem);
  if (text) {
    const size_t zero = text->find('\0');
    if (zero != std::string::npos) text->resize(zero);
  }
  return text;
}

std::vector<ManifestEntry> DecodeManifest(const void* body, std::string* problem) {
  const std::string_view bytes(reinterpret_cast<const char*>(rt::ByteArrayData(body)),
                               static_cast<size_t>(rt::ByteArrayLength(body)));
  std::optional<std::string> text = DecodeManifestText(bytes, problem);
  if (!text) return {};
  std::vector<ManifestEntry> entries = EntriesOf(*text);
  if (entries.empty() && problem) {
    *problem = text->empty() ? "the text is empty" : "no line has the three fields";
  }
  return entries;
}

bool IsWellFormedDigest(std::string_view md5) {
  return md5.size() == kDigestDigits &&
         std::all_of(md5.begin(), md5.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

bool SameDigest(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return UpperAscii(x) == UpperAscii(y); });
}

rt::Text LocalPathOf(const ManifestEntry& entry, const char* programDirectory) {
  std::string relative(entry.RelativePath.view());
  std::replace(relative.begin(), relative.end(), '/', '\\');  // '/' is never a GBK trail byte
  return rt::Text(rt::join_texts({programDirectory, "\\", relative.c_str()}));
}

bool IsOutOfDate(const ManifestEntry& entry, const char* programDirectory) {
  if (!IsWellFormedDigest(entry.Md5.view())) return true;
  const rt::Text digest = FileMd5(LocalPathOf(entry, programDirectory).get());
  return !SameDigest(digest.view(), entry.Md5.view());
}

}  // namespace vlmr::update
