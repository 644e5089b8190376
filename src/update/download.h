// The resumable download of one game file: an HTTP GET through the system's
// internet functions (reached through the declared-function table), optionally
// continuing a partial file with a byte-range request, written block by block
// with a progress callback after every block.
#pragma once

#include <cstdint>

#include "runtime/rt_blocks.h"

namespace vlmr::update {

// Bytes already written of the file being downloaded (low 32 bits, the offset
// included). Set after every block; the update run resets it to 0 before each
// file and resumes from it after a read failure. Used by the update worker only.
extern int32_t ResumeOffset;

inline constexpr int32_t kDownloadBlockBytes = 36864;

// Results of DownloadFile.
inline constexpr int32_t kDownloadDone = 0;
inline constexpr int32_t kDownloadFailed = -1;      // a message box was shown
inline constexpr int32_t kDownloadReadFailed = -2;  // retry, resuming from ResumeOffset

// Called through CallWindowProcA after every block with: the announced length
// (unsigned, 0 when none), the running byte count (low 32 bits, offset
// included), the milliseconds since the first read (10 when 0), and the bytes
// received by this call. Each argument carries a 32-bit value.
using ProgressCallback = intptr_t (*)(intptr_t announced, intptr_t received, intptr_t elapsed,
                                      intptr_t receivedThisCall);

// The extra request header of a resumed download: "\r\nRange:bytes=" offset "-".
rt::Text ResumeHeader(int32_t offset);

// Downloads `url` into `localPath`. With `resume`, asks for the bytes from
// `offset` on and appends them, provided the local file holds exactly `offset`
// bytes; otherwise, and whenever the server does not answer the range as asked
// (200, 416, or a Content-Range starting elsewhere), the file is downloaded
// again from its first byte. Returns 0 when the body arrived whole; -1 after a
// message box when no internet handle opens ("Internet连接错误!"), the URL does
// not open or answers with an HTTP error status ("不能打开该URL!", the local
// file untouched), or the local file cannot be opened or written ("不能打开本地
// 的文件!"); -2 when a read fails or the body ends before its announced length.
int32_t DownloadFile(const char* url, const char* localPath, ProgressCallback callback,
                     int32_t offset, bool resume);

// The launcher's progress callback: "正在更新文件," + percent + "%" in the
// status label, percent = receivedThisCall / announced x 100 truncated (0 when
// nothing was announced).
intptr_t ShowUpdateProgress(intptr_t announced, intptr_t received, intptr_t elapsed,
                            intptr_t receivedThisCall);

}  // namespace vlmr::update
