#include "update/download.h"

#include <charconv>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "runtime/commands.h"
#include "runtime/control_properties.h"
#include "runtime/declared_functions.h"
#include "runtime/launcher_ids.h"
#include "runtime/rt_heap.h"
#include "runtime/window_system.h"

namespace vlmr::update {

int32_t ResumeOffset = 0;

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

void* OpenUrl(void* internet, const char* url, bool resuming, int32_t offset) {
  rt::Text header = resuming ? ResumeHeader(offset) : rt::Text();
  return call_declared<void*>(rt::kDeclInternetOpenUrlA, internet, url, header.get(),
                              static_cast<uint32_t>(rt::text_length(header.get())), kOpenUrlFlags,
                              uintptr_t{0});
}

// A resumed request was answered as asked: 206 with a Content-Range that
// starts at the offset ("bytes <offset>-<last>/<size>").
bool RangeAnsweredAsAsked(void* request, std::optional<uint32_t> status, int32_t offset) {
  if (status != 206u) return false;
  std::optional<std::string> range = QueryText(request, kQueryContentRange);
  if (!range || !range->starts_with("bytes ")) return false;
  std::string_view rest = std::string_view(*range).substr(6);
  while (rest.starts_with(' ')) rest.remove_prefix(1);
  int64_t first = -1;
  auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), first);
  return error == std::errc() && end != rest.data() + rest.size() && *end == '-' && first == offset;
}

void Report(ProgressCallback callback, uint32_t announced, int64_t running, uint32_t elapsed,
            int64_t thisCall) {
  call_declared<intptr_t>(rt::kDeclCallWindowProcA, reinterpret_cast<void*>(callback),
                          static_cast<intptr_t>(announced),
                          static_cast<intptr_t>(static_cast<int32_t>(running)),
                          static_cast<intptr_t>(elapsed),
                          static_cast<intptr_t>(static_cast<int32_t>(thisCall)));
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

struct OpenedRequest {
  void* request = nullptr;  // null when the URL did not open or answered an error status
  bool resuming = false;    // the body continues the local file at the offset
};

// Opens the URL, asking for the bytes from `offset` on when resuming makes
// sense. A range the server did not honour as asked restarts from byte 0: with
// 200 the whole body is already coming; otherwise (416, a range starting
// elsewhere) the whole file is asked for again.
OpenedRequest OpenRequest(void* internet, const char* url, const char* localPath, int32_t offset,
                          bool resume) {
  // Appending is only right when the local file holds exactly the bytes the
  // range leaves out; anything else is downloaded again from its first byte.
  bool resuming = resume && offset > 0 && rt::cmd::FileSize(localPath) == offset;
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
  if (!request || status.value_or(0) >= kFirstErrorStatus) return {};
  return {request, resuming};
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
int32_t CopyBody(void* request, int32_t file, ProgressCallback callback, int32_t offset) {
  int64_t running = offset;
  uint32_t announced = QueryNumber(request, kQueryContentLength).value_or(0);
  uint32_t start = rt::cmd::TickCount();
  std::vector<uint8_t> buffer(kDownloadBlockBytes);

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
      Tell("不能打开本地的文件!"_t);
      return kDownloadFailed;
    }
    running += read;
    uint32_t elapsed = rt::cmd::TickCount() - start;
    rt::cmd::ProcessPendingMessages();
    ResumeOffset = static_cast<int32_t>(running);
    Report(callback, announced, running, elapsed ? elapsed : kElapsedWhenZero, running - offset);
  }
}

}  // namespace

rt::Text ResumeHeader(int32_t offset) {
  rt::Text number = rt::cmd::ToText(offset);
  return rt::Text(rt::join_texts({"\r\nRange:bytes="_t, number.get(), "-"_t}));
}

int32_t DownloadFile(const char* url, const char* localPath, ProgressCallback callback,
                     int32_t offset, bool resume) {
  OpenHandles open;
  open.internet = OpenInternet();
  if (!open.internet) {
    Tell("Internet连接错误!"_t);
    return kDownloadFailed;
  }
  const OpenedRequest opened = OpenRequest(open.internet, url, localPath, offset, resume);
  if (!opened.request) {
    Tell("不能打开该URL!"_t);
    return kDownloadFailed;
  }
  open.file = OpenLocalFile(localPath, opened.resuming);
  if (!open.file) {
    Tell("不能打开本地的文件!"_t);
    return kDownloadFailed;
  }
  return CopyBody(opened.request, open.file, callback, opened.resuming ? offset : 0);
}

intptr_t ShowUpdateProgress(intptr_t announced, intptr_t, intptr_t, intptr_t receivedThisCall) {
  auto length = static_cast<uint32_t>(announced);
  auto received = static_cast<int32_t>(receivedThisCall);
  int32_t percent =
      length == 0 ? 0 : static_cast<int32_t>(rt::to_int64(double(received) / double(length) * 100.0));
  rt::Text number = rt::cmd::ToText(percent);
  rt::Text text(rt::join_texts({"正在更新文件,"_t, number.get(), "%"_t}));
  rt::SetControlText(rt::ids::kLauncherWindow, rt::ids::kStatusLabel, rt::ids::kSlotText, text.get());
  return 0;
}

}  // namespace vlmr::update
