// The resumable download of one game file: an HTTP GET through the system's
// internet functions (reached through the declared-function table), optionally
// continuing a partial file with a byte-range request, written block by block
// with a progress callback after every block.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "platform/calling_convention.h"
#include "runtime/rt_blocks.h"

namespace vlmr::update {

// Bytes already written of the file being downloaded, the offset included.
// Set after every block; the update run sets it before each file and resumes
// from it after a read failure. 64-bit: game files may be 4 GiB or more. Used
// by the update worker only.
extern int64_t ResumeOffset;

inline constexpr int32_t kDownloadBlockBytes = 36864;

// Results of DownloadFile.
inline constexpr int32_t kDownloadDone = 0;
inline constexpr int32_t kDownloadFailed = -1;      // a message box was shown
inline constexpr int32_t kDownloadReadFailed = -2;  // retry, resuming from ResumeOffset
// The server is busy or away for now (a 5xx, 408 or 429 answer, or a
// connection refused, reset or timed out before any answer): retry after a
// pause. No message box.
inline constexpr int32_t kDownloadServerBusy = -3;
// The local file refused a block (a full disk): the attempt is over and
// standard error says why. No message box.
inline constexpr int32_t kDownloadWriteFailed = -4;

// What an attempt tells its caller beyond the result.
struct DownloadNotes {
  int32_t status = 0;  // HTTP status of the response; 0 when none arrived
  std::optional<std::chrono::seconds> retryAfter;  // the server's Retry-After in seconds
};

// Called through CallWindowProcA after every block with: the announced length
// (unsigned, 0 when none), the running byte count (low 32 bits, offset
// included), the milliseconds since the first read (10 when 0), and the bytes
// received by this call. Each argument carries a 32-bit value: when a file
// is too large for that, the announced length and this call's bytes are both
// divided by the same power of two, so their ratio (the percentage) holds.
using ProgressCallback = intptr_t(VLMR_WINAPI*)(intptr_t announced, intptr_t received, intptr_t elapsed,
                                      intptr_t receivedThisCall);

// The extra request header of a resumed download: "\r\nRange:bytes=" offset "-".
rt::Text ResumeHeader(int64_t offset);

// Downloads `url` into `localPath`. With `resume`, asks for the bytes from
// `offset` on and appends them, provided the local file holds exactly `offset`
// bytes; otherwise, and whenever the server does not answer the range as asked
// (200, 416, or a Content-Range starting elsewhere), the file is downloaded
// again from its first byte. Returns 0 when the body arrived whole; -1 after a
// message box when no internet handle opens ("Internet连接错误!"), the URL does
// not open or answers with another HTTP error status ("不能打开该URL!"), or the
// local file cannot be opened ("不能打开本地的文件!"); -2 when a read fails or
// the body ends before its announced length; -3 when the server is busy for
// now; -4 when a block cannot be written. The local file is not touched
// before a response with a success status arrived. `notes`, when given, gets
// the status and Retry-After of the response.
int32_t DownloadFile(const char* url, const char* localPath, ProgressCallback callback,
                     int64_t offset, bool resume, DownloadNotes* notes = nullptr);

// The launcher's progress callback: "正在更新文件," + percent + "%" in the
// status label, percent = receivedThisCall / announced x 100 truncated (0 when
// nothing was announced).
intptr_t VLMR_WINAPI ShowUpdateProgress(intptr_t announced, intptr_t received, intptr_t elapsed,
                            intptr_t receivedThisCall);

}  // namespace vlmr::update
