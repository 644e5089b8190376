// The whole-body HTTP fetch: a GET of an http or https URL whose complete body
// comes back as one byte array, the empty byte array on every failure. The
// update run fetches the manifest with it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "runtime/rt_blocks.h"
#include "runtime/rt_value.h"

namespace vlmr::update {

// The library number carried by calls of the update library's commands; the
// call frame does not use it.
inline constexpr int32_t kUpdateLibrary = 3;

inline constexpr const char* kFetchAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
inline constexpr int32_t kDefaultFetchChunk = 10240;
inline constexpr int32_t kMaxFetchChunk = 102400;
// No manifest comes near this; a body that grows beyond it (a server that never
// stops sending) is a failed fetch rather than exhausted memory.
inline constexpr int64_t kMaxWholeBody = int64_t{64} << 20;

// Read size for a response whose Content-Length header is `contentLength`
// (nullopt: no such header): the length plus one, at most kMaxFetchChunk;
// kDefaultFetchChunk when absent, not a number, zero or negative.
int32_t FetchChunkSize(std::optional<std::string_view> contentLength);

// Command routine: args[0] the URL text; the result a byte array.
void WholeBodyFetchCommand(rt::RtValue* result, int32_t count, rt::RtValue* args);

// Typed face over the command, through the call frame.
rt::Bytes FetchWholeBody(const char* url);

}  // namespace vlmr::update
