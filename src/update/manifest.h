// The update manifest: the container the update server serves (magic, size
// word, one zlib stream of GBK text), its lines of path, MD5 digest and URL,
// and the rule that decides whether a listed file must be downloaded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/rt_blocks.h"

namespace vlmr::update {

inline constexpr uint32_t kManifestMagic = 0x033E0F0D;
// The longest manifest text accepted, whatever the size word allows: far
// above any real manifest (100,000 entries take about 15 MiB), far below what
// would strain a player's memory.
inline constexpr size_t kMaxManifestText = size_t{256} << 20;

// One manifest line: owned GBK texts.
struct ManifestEntry {
  rt::Text RelativePath;  // below the program directory, "\" separated ("/" works too)
  rt::Text Md5;           // 32 hex digits
  rt::Text Url;           // where the whole file is downloaded from
};

// The text of a container body: the zlib stream inflated into at most the
// smaller of 2 x n and kMaxManifestText bytes, cut at its first zero byte.
// nullopt when the body is no valid container (shorter than 8 bytes, another
// magic, 2 x n not positive in 32 bits, a broken stream, or one that inflates
// beyond the limit); *problem then says which. Memory grows with the output
// actually produced.
std::optional<std::string> DecodeManifestText(std::string_view body, std::string* problem = nullptr);

// The entries of a manifest body (a byte array) in line order; empty for an
// invalid container. The text splits at "\r\n" into lines and at "\t" into
// fields, stepping over GBK double-byte characters; fields after the third
// are ignored. A line with fewer than three fields has no meaning: it is
// skipped and standard error names its number. When a body gives no entry,
// *problem says why.
std::vector<ManifestEntry> DecodeManifest(const void* body, std::string* problem = nullptr);

// 32 hexadecimal digits, in either letter case.
bool IsWellFormedDigest(std::string_view md5);
// Two digests written alike but for the letter case.
bool SameDigest(std::string_view a, std::string_view b);

// The entry's local path: the program directory, "\" and RelativePath, with
// "/" read as "\" as Windows does.
rt::Text LocalPathOf(const ManifestEntry& entry, const char* programDirectory);

// Whether the entry's file must be downloaded: its digest in the manifest is
// not well formed (there is nothing to compare with), or the file's FileMd5
// differs from it other than in letter case (a missing file has the empty
// digest).
bool IsOutOfDate(const ManifestEntry& entry, const char* programDirectory);

}  // namespace vlmr::update
