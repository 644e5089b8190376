// The update manifest: the container the update server serves (magic, size
// word, one zlib stream of GBK text), its lines of path, MD5 digest and URL,
// and the rule that decides whether a listed file must be downloaded.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/rt_blocks.h"
#include "runtime/rt_value.h"

namespace vlmr::update {

inline constexpr uint32_t kManifestMagic = 0x033E0F0D;

// One manifest line: owned GBK texts.
struct ManifestEntry {
  rt::Text RelativePath;  // below the program directory, "\" separated
  rt::Text Md5;           // 32 upper-case hex digits
  rt::Text Url;           // where the whole file is downloaded from
};

// Command routine "manifest-container decoding": args[0] the body (a byte
// array); the result the decompressed text as a byte array, empty when the
// body is no valid container: shorter than 8 bytes, another magic, 2 x n not
// positive in 32 bits, a broken zlib stream, or one that inflates to more than
// 2 x n bytes. Memory grows with the output actually produced, never to 2 x n
// up front.
void DecodeManifestContainerCommand(rt::RtValue* result, int32_t count, rt::RtValue* args);
// Typed face over the command, through the call frame.
rt::Bytes DecodeManifestContainer(const void* body);

// The entries of a manifest body in line order; empty for an invalid
// container. The text ends at its first zero byte and splits at "\r\n" into
// lines and at "\t" into fields, stepping over GBK double-byte characters.
// Fields after the third are ignored. A line with fewer than three fields has
// no meaning: it is skipped and standard error names its number.
std::vector<ManifestEntry> DecodeManifest(const void* body);

// Whether the entry's file (program directory, "\", RelativePath) must be
// downloaded: its FileMd5 differs from Md5 in any byte (a missing file has
// the empty digest).
bool IsOutOfDate(const ManifestEntry& entry, const char* programDirectory);

}  // namespace vlmr::update
