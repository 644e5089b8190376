#include "update/download.h"

#include <charconv>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/file_install.h"
#include "platform/launcher_log.h"
#include "platform/wininet.h"

#include "runtime/commands.h"
#include "runtime/control_properties.h"
#include "runtime/declared_functions.h"
#include "runtime/launcher_ids.h"
#include "runtime/rt_heap.h"
#include "runtime/window_system.h"
#include "update/update_log.h"

namespace vlmr::update {

int64_t ResumeOffset = 0;

namespace {

using namespace rt::literals;
using rt::call_declared;

constexpr uint32_t kConnectionProxy = 0x04;
constexpr uint32_t kOpenPreconfig = 0;
constexpr uint32_t kOpenPreconfigNoAutoproxy = 4;
// Reload from the server, write no cache, ask proxies not to answer from theirs.
constexpr uint32_t kOpenUrlFlags = 0x84000100;
constexpr uint32_t kQueryContentLength = 5;
constexpr uint32_t kQueryStatusCode = 19;
constexpr uint32_t kQueryRetryAfter = 36;
constexpr uint32_t kQueryContentRange = 53;
constexpr uint32_t kQueryAsNumber = 0x20000000;
constexpr int32_t kModeCreateTruncate = 4;
constexpr int32_t kModeWriteCreateKeep = 5;
constexpr uint32_t kFirstErrorStatus = 400;
constexpr uint32_t kElapsedWhenZero = 10;

void Tell(const char* gbkText) { rt::cmd::MessageBox(gbkText, rt::kMbTaskModal); }

void CloseInternetHandle(void* handle) {
  call_declared<int32_t>(rt::kDeclInternetCloseHandle, handle);
}

// Closes the internet handle (and with it the request below it) on every
// return once it is open; the local file is closed before it.
struct OpenHandles {
  void* internet = nullptr;
  int32_t file = 0;
  ~OpenHandles() {
    if (file) rt::cmd::CloseFile(file);
    if (internet) CloseInternetHandle(internet);
  }
};

// A decimal header value as a 64-bit count; nullopt when absent or not one.
std::optional<int64_t> ParseCount(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  std::string_view digits = *text;
  while (digits.starts_with(' ')) digits.remove_prefix(1);
  int64_t value = -1;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || value < 0 || end == digits.data()) return std::nullopt;
  return value;
}

std::optional<uint32_t> QueryNumber(void* request, uint32_t level) {
  uint32_t value = 0;
  uint32_t size = sizeof value;
  uint32_t index = 0;
  if (!call_declared<int32_t>(rt::kDeclHttpQueryInfoA, request, level | kQueryAsNumber,
                              static_cast<void*>(&value), &size, &index))
    return std::nullopt;
  return value;
}

std::optional<std::string> QueryText(void* request, uint32_t level) {
  char text[256] = {};
  uint32_t size = sizeof text;
  uint32_t index = 0;
  if (!call_declared<int32_t>(rt::kDeclHttpQueryInfoA, request, level, static_cast<void*>(text),
                              &size, &index))
    return std::nullopt;
  return std::string(text, size);
}

void* OpenUrl(void* internet, const char* url, bool resuming, int64_t offset) {
  rt::Text header = resuming ? ResumeHeader(offset) : rt::Text();
  return call_declared<void*>(rt::kDeclInternetOpenUrlA, internet, url, header.get(),
                              static_cast<uint32_t>(rt::text_length(header.get())), kOpenUrlFlags,
                              uintptr_t{0});
}

// A resumed request was answered as asked: 206 with a Content-Range that
// starts at the offset ("bytes <offset>-<last>/<size>").
bool RangeAnsweredAsAsked(void* request, std::optional<uint32_t> status, int64_t offset) {
  if (status != 206u) return false;
  std::optional<std::string> range = QueryText(request, kQueryContentRange);
  if (!range || !range->starts_with("bytes ")) return false;
  std::string_view rest = std::string_view(*range).substr(6);
  while (rest.starts_with(' ')) rest.remove_prefix(1);
  int64_t first = -1;
  auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), first);
  return error == std::errc() && end != rest.data() + rest.size() && *end == '-' && first == offset;
}

// The callback's arguments are 32-bit values; a length beyond that is passed
// with this call's count divided by the same power of two, which keeps the
// ratio of the two, and so the percentage, right.
void Report(ProgressCallback callback, int64_t announced, int64_t running, uint32_t elapsed,
            int64_t thisCall) {
  while (announced > INT32_MAX || thisCall > INT32_MAX) {
    announced >>= 1;
    thisCall >>= 1;
  }
  call_declared<intptr_t>(rt::kDeclCallWindowProcA, reinterpret_cast<void*>(callback),
                          static_cast<intptr_t>(announced),
                          static_cast<intptr_t>(static_cast<int32_t>(running)),
                          static_cast<intptr_t>(elapsed), static_cast<intptr_t>(thisCall));
}

// An internet handle with a fresh agent name, through the proxy settings when
// the connection goes through a proxy. Null when none opens.
void* OpenInternet() {
  uint32_t connection = 0;
  call_declared<int32_t>(rt::kDeclInternetGetConnectedState, &connection, uint32_t{0});
  rt::Text tick = rt::cmd::ToText(static_cast<int32_t>(rt::cmd::TickCount()));
  rt::Text agent(rt::join_texts({"Agent"_t, tick.get()}));
  uint32_t access = (connection & kConnectionProxy) ? kOpenPreconfig : kOpenPreconfigNoAutoproxy;
  return call_declared<void*>(rt::kDeclInternetOpenA, agent.c_str(), access,
                              static_cast<const char*>(nullptr),
                              static_cast<const char*>(nullptr), uint32_t{0});
}

// A server that is busy or away for now: worth another try after a pause.
bool IsTransientStatus(uint32_t status) { return status >= 500 || status == 408 || status == 429; }

bool IsTransientConnectionError(uint32_t error) {
  return error == platform::win::kErrorCannotConnect || error == platform::win::kErrorConnectionReset ||
         error == platform::win::kErrorTimeout;
}

struct OpenedRequest {
  void* request = nullptr;  // null when the URL did not open or answered an error status
  bool resuming = false;    // the body continues the local file at the offset
  bool transient = false;   // what failed may work a moment later
};

// Opens the URL, asking for the bytes from `offset` on when resuming makes
// sense. A range the server did not honour as asked restarts from byte 0: with
// 200 the whole body is already coming; otherwise (416, a range starting
// elsewhere) the whole file is asked for again.
OpenedRequest OpenRequest(void* internet, const char* url, const char* localPath, int64_t offset,
                          bool resume, DownloadNotes& notes) {
  // Appending is only right when the local file holds exactly the bytes the
  // range leaves out; anything else is downloaded again from its first byte.
  bool resuming = resume && offset > 0 && platform::FileSize64(localPath) == offset;
  void* request = OpenUrl(internet, url, resuming, offset);
  std::optional<uint32_t> status = request ? QueryNumber(request, kQueryStatusCode) : std::nullopt;
  if (request && resuming && !RangeAnsweredAsAsked(request, status, offset)) {
    resuming = false;
    if (status != 200u) {
      CloseInternetHandle(request);
      request = OpenUrl(internet, url, false, 0);
      status = request ? QueryNumber(request, kQueryStatusCode) : std::nullopt;
    }
  }
  if (!request) return {nullptr, false, IsTransientConnectionError(platform::win::LastInternetError())};
  notes.status = static_cast<int32_t>(status.value_or(0));
  if (std::optional<int64_t> seconds = ParseCount(QueryText(request, kQueryRetryAfter))) {
    notes.retryAfter = std::chrono::seconds(*seconds);
  }
  if (status.value_or(0) >= kFirstErrorStatus) return {nullptr, false, IsTransientStatus(*status)};
  return {request, resuming, false};
}

// The local file positioned for the body: appended to when resuming, emptied
// otherwise. 0 when it cannot be opened.
int32_t OpenLocalFile(const char* localPath, bool resuming) {
  int32_t file = rt::cmd::OpenFile(
      localPath, resuming ? kModeWriteCreateKeep : kModeCreateTruncate, rt::cmd::kShareNoneDenied);
  if (file && resuming) rt::cmd::SeekToEnd(file);
  return file;
}

// Reads the body block by block into the file, reporting progress after each
// block. `offset` is the number of bytes the file already held.
int32_t CopyBody(void* request, int32_t file, const char* localPath, ProgressCallback callback,
                 int64_t offset) {
  int64_t running = offset;
  int64_t announced = ParseCount(QueryText(request, kQueryContentLength)).value_or(0);
  uint32_t start = rt::cmd::TickCount();
  std::vector<uint8_t> buffer(kDownloadBlockBytes);
  ProgressLog progress(LogNameOf(localPath), offset, announced > 0 ? offset + announced : 0);

  for (;;) {
    uint32_t read = 0;
    if (!call_declared<int32_t>(rt::kDeclInternetReadFile, request, static_cast<void*>(buffer.data()),
                                static_cast<uint32_t>(buffer.size()), &read)) {
      rt::cmd::ProcessPendingMessages();
      return kDownloadReadFailed;
    }
    if (read == 0) {
      bool whole = announced == 0 || running - offset == announced;
      return whole ? kDownloadDone : kDownloadReadFailed;  // ended early: resume the rest
    }
    rt::Bytes block = rt::cmd::BytesFromMemory(buffer.data(), static_cast<int32_t>(read));
    if (!rt::cmd::WriteToFile(file, {block.get()})) {
      platform::Say("update", "writing " + platform::GbkToUtf8(localPath) + " failed: " +
                                  platform::LastSystemError());
      return kDownloadWriteFailed;
    }
    running += read;
    uint32_t elapsed = rt::cmd::TickCount() - start;
    rt::cmd::ProcessPendingMessages();
    ResumeOffset = running;
    progress.Reached(running);
    Report(callback, announced, running, elapsed ? elapsed : kElapsedWhenZero, running - offset);
  }
}

}  // namespace

rt::Text ResumeHeader(int64_t offset) {
  return rt::Text(rt::join_texts({"\r\nRange:bytes="_t, std::to_string(offset).c_str(), "-"_t}));
}

int32_t DownloadFile(const char* url, const char* localPath, ProgressCallback callback,
                     int64_t offset, bool resume, DownloadNotes* notes) {
  DownloadNotes ignored;
  DownloadNotes& told = notes ? *notes : ignored;
  told = {};
  OpenHandles open;
  open.internet = OpenInternet();
  if (!open.internet) {
    Tell("Internet连接错误!"_t);
    return kDownloadFailed;
  }
  const OpenedRequest opened = OpenRequest(open.internet, url, localPath, offset, resume, told);
  LogDownloadAnswer(platform::GbkToUtf8(url), opened.resuming ? offset : 0, told.status);
  if (opened.transient) return kDownloadServerBusy;
  if (!opened.request) {
    Tell("不能打开该URL!"_t);
    return kDownloadFailed;
  }
  open.file = OpenLocalFile(localPath, opened.resuming);
  if (!open.file) {
    Tell("不能打开本地的文件!"_t);
    return kDownloadFailed;
  }
  return CopyBody(opened.request, open.file, localPath, callback, opened.resuming ? offset : 0);
}

intptr_t VLMR_WINAPI ShowUpdateProgress(intptr_t announced, intptr_t, intptr_t, intptr_t receivedThisCall) {
  auto length = static_cast<uint32_t>(announced);
  auto received = static_cast<uint32_t>(receivedThisCall);
  int32_t percent =
      length == 0 ? 0 : static_cast<int32_t>(rt::to_int64(double(received) / double(length) * 100.0));
  rt::Text number = rt::cmd::ToText(percent);
  rt::Text text(rt::join_texts({"正在更新文件,"_t, number.get(), "%"_t}));
  rt::SetControlText(rt::ids::kLauncherWindow, rt::ids::kStatusLabel, rt::ids::kSlotText, text.get());
  return 0;
}

}  // namespace vlmr::update
