#include "runtime/runtime_frame.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "platform/codepage.h"
#include "platform/launcher_log.h"
#include "platform/native_path.h"
#include "platform/process.h"
#include "platform/system_info.h"
#include "platform/win_api.h"
#include "runtime/declared_functions.h"
#include "runtime/rt_blocks.h"
#include "runtime/rt_heap.h"
#include "runtime/window_system.h"

namespace vlmr::rt {
namespace {

std::mutex g_directoryMutex;
std::string g_programDirectory;

// Splits a launcher path at its last backslash, stepping over GBK
// double-byte characters so that a trail byte 0x5C is never taken for one.
std::string::size_type LastBackslash(const std::string& path) {
  std::string::size_type last = std::string::npos;
  for (std::string::size_type i = 0; i < path.size(); ++i) {
    auto c = static_cast<unsigned char>(path[i]);
    if (platform::IsGbkLeadByte(c) && i + 1 < path.size()) {
      ++i;
    } else if (c == '\\') {
      last = i;
    }
  }
  return last;
}

// One line on standard error and in the log: line breaks inside the texts
// become blanks.
void EchoBox(const char* gbkText, const char* gbkCaption) {
  std::string line = platform::GbkToUtf8(TextView(gbkCaption)) + ": " +
                     platform::GbkToUtf8(TextView(gbkText));
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  platform::Log("message box " + line);
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

void RequireLoadedControl(uint32_t windowId, uint32_t controlId) {
  WindowSystem& windows = CurrentWindowSystem();
  if (!windows.IsWindowLoaded(windowId)) {
    fatal_message(PoolText("未载入欲访问窗口组件所在的窗口"), windowId, controlId);
  }
  if (!windows.HasControl(windowId, controlId)) {
    fatal_message(PoolText("读取组件属性时发现指定窗口尚未载入"), windowId, controlId);
  }
}

}  // namespace

RtValue call_core_command(CommandFn command, int32_t count, RtValue* args) {
  RtValue result{};
  command(&result, count, args);
  return result;
}

RtValue call_library_command(int32_t /*library*/, CommandFn command, int32_t count,
                             RtValue* args) {
  return call_core_command(command, count, args);
}

int64_t runtime_service(int32_t number, intptr_t a, intptr_t b) {
  switch (number) {
    case kServiceMakeArrayWritable:
      MakeArrayWritable(static_cast<int32_t>(a), reinterpret_cast<void**>(b));
      return 0;
    case kServiceRegisterEndRoutine:
      RegisterEndRoutine(reinterpret_cast<void (*)()>(a));
      return 0;
    case kServiceInitialise:
      InitialiseRuntime(reinterpret_cast<const char*>(a));
      return 0;
    default:
      return 0;  // file enumeration and service-call properties are not used
  }
}

void MakeArrayWritable(int32_t elementSize, void** arrayPointer) {
  void* array = *arrayPointer;
  if (array == nullptr || !InConstantPool(array)) return;
  int32_t dimensions;
  std::memcpy(&dimensions, array, sizeof dimensions);
  int64_t bytes = (int64_t{dimensions} + 1) * 4 + int64_t{elementSize} * array_count(array);
  void* copy = rt_alloc(bytes);
  std::memcpy(copy, array, static_cast<size_t>(bytes));
  *arrayPointer = copy;
}

void InitialiseRuntime(const char* /*argv0*/, std::span<const LibraryNotifyFn> libraries) {
  platform::win::CoInitialize(nullptr);
  SetProgramDirectory(ProgramDirectoryOf(platform::ToLauncherPath(platform::ExecutablePath())));
  platform::SetCurrentDirectoryNative(platform::ToNativePath(ProgramDirectory()));
  PrepareDeclaredFunctions();
  NotifyRuntimeLibraries(libraries);
}

std::string ProgramDirectoryOf(const std::string& gbkExecutablePath) {
  auto slash = LastBackslash(gbkExecutablePath);
  return slash == std::string::npos ? std::string() : gbkExecutablePath.substr(0, slash);
}

std::string ProgramDirectory() {
  std::lock_guard lock(g_directoryMutex);
  return g_programDirectory;
}

void SetProgramDirectory(const std::string& gbkDirectory) {
  std::lock_guard lock(g_directoryMutex);
  g_programDirectory = gbkDirectory;
  platform::SetProgramDirectoryForLookup(platform::ToNativePath(gbkDirectory));
}

void load_window(uint32_t windowId) {
  if (!CurrentWindowSystem().LoadWindow(windowId)) {
    fatal_message(PoolText("载入启动窗口失败"));
  }
}

int32_t run_message_loop() {
  CurrentWindowSystem().RunMessageLoop();
  return 0;
}

uint64_t get_property(uint32_t windowId, uint32_t controlId, int32_t index, int32_t element) {
  RequireLoadedControl(windowId, controlId);
  return CurrentWindowSystem().GetProperty(windowId, controlId, index, element);
}

void set_property(uint32_t windowId, uint32_t controlId, int32_t index, int32_t element,
                  uint32_t low, uint32_t high) {
  RequireLoadedControl(windowId, controlId);
  CurrentWindowSystem().SetProperty(windowId, controlId, index, element, low, high);
}

int32_t ShowMessageBox(const char* gbkText, int32_t flags, const char* gbkCaption) {
  EchoBox(gbkText, gbkCaption);
  return CurrentWindowSystem().ShowMessageBox(TextOrEmpty(gbkText), flags,
                                              TextOrEmpty(gbkCaption));
}

}  // namespace vlmr::rt
