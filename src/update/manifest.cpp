#include "update/manifest.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <optional>

#include "runtime/commands.h"
#include "runtime/rt_heap.h"
#include "runtime/runtime_frame.h"
#include "update/file_md5.h"
#include "update/whole_body_fetch.h"

namespace vlmr::update {
namespace {

using namespace rt::literals;

constexpr size_t kFirstOutputBytes = 64 * 1024;
constexpr int32_t kFieldsPerEntry = 3;

uint32_t LittleEndianWord(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// Inflates one zlib stream that must end within `limit` output bytes. The
// output buffer grows with what is produced; one byte beyond the limit is
// room enough to tell that the stream wants more.
std::optional<std::vector<uint8_t>> InflateBounded(const uint8_t* data, size_t size, size_t limit) {
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) return std::nullopt;
  zs.next_in = const_cast<Bytef*>(data);
  zs.avail_in = static_cast<uInt>(size);
  std::vector<uint8_t> out;
  int rc = Z_OK;
  while (rc == Z_OK) {
    if (zs.total_out == out.size()) {
      if (out.size() > limit) break;
      out.resize(std::min(limit + 1, std::max(out.size() * 2, kFirstOutputBytes)));
    }
    zs.next_out = out.data() + zs.total_out;
    zs.avail_out = static_cast<uInt>(out.size() - zs.total_out);
    rc = inflate(&zs, Z_NO_FLUSH);
  }
  size_t produced = zs.total_out;
  inflateEnd(&zs);
  if (rc != Z_STREAM_END || produced > limit) return std::nullopt;
  out.resize(produced);
  return out;
}

std::vector<uint8_t> DecodeContainer(const void* body) {
  int32_t size = rt::ByteArrayLength(body);
  const uint8_t* bytes = rt::ByteArrayData(body);
  if (size < 8 || LittleEndianWord(bytes) != kManifestMagic) return {};
  int32_t doubled = static_cast<int32_t>(LittleEndianWord(bytes + 4) * 2u);
  if (doubled <= 0) return {};
  return InflateBounded(bytes + 8, static_cast<size_t>(size - 8), static_cast<size_t>(doubled))
      .value_or(std::vector<uint8_t>{});
}

}  // namespace

void DecodeManifestContainerCommand(rt::RtValue* result, int32_t count, rt::RtValue* args) {
  const void* body = count >= 1 ? args[0].AsPointer<const void>() : nullptr;
  std::vector<uint8_t> text = DecodeContainer(body);
  *result = rt::RtValue::Bytes(rt::NewByteArray(text.data(), static_cast<int64_t>(text.size())));
}

rt::Bytes DecodeManifestContainer(const void* body) {
  rt::RtValue arg = rt::RtValue::Bytes(body);
  rt::RtValue r = rt::call_library_command(kUpdateLibrary, &DecodeManifestContainerCommand, 1, &arg);
  return rt::Bytes(r.AsPointer<uint8_t>());
}

std::vector<ManifestEntry> DecodeManifest(const void* body) {
  rt::Bytes decompressed = DecodeManifestContainer(body);
  rt::Text text = rt::cmd::ToTextFromBytes(decompressed.get());
  rt::TextArray lines = rt::cmd::SplitText(text.get(), "\r\n"_t);
  std::vector<ManifestEntry> entries;
  for (int32_t i = 0; i < lines.size(); ++i) {
    std::string line(lines[i]);
    rt::TextArray fields = rt::cmd::SplitText(line.c_str(), "\t"_t);
    if (fields.size() < kFieldsPerEntry) {
      std::fprintf(stderr, "update: manifest line %d skipped: it has %d of the 3 fields (path, MD5, URL)\n",
                   i + 1, fields.size());
      continue;
    }
    entries.push_back({rt::Text(rt::NewText(fields[0])), rt::Text(rt::NewText(fields[1])),
                       rt::Text(rt::NewText(fields[2]))});
  }
  return entries;
}

bool IsOutOfDate(const ManifestEntry& entry, const char* programDirectory) {
  rt::Text localPath(rt::join_texts({programDirectory, "\\"_t, entry.RelativePath.get()}));
  rt::Text digest = FileMd5(localPath.get());
  return rt::compare_texts(digest.get(), entry.Md5.get()) != 0;
}

}  // namespace vlmr::update
