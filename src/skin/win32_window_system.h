// The window system of the launcher on Windows: loads windows from their form
// data, one top-level window each with a host child window per skinned
// control (the toolkit DLL, loaded from memory, draws them), runs the message
// loop on the UI thread, shows message boxes with MessageBoxW, and takes
// property access from any thread.
//
// Property writes from a worker go straight into the thread-safe toolkit
// controls, which only post a coalesced redraw; message boxes from a worker
// are sent to the UI thread and block only the worker until answered.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <shared_mutex>
#include <string>
#include <thread>

#include "runtime/window_system.h"
#include "skin/window_catalogue.h"
#include "skin/window_description.h"

namespace vlmr::skin {

class Win32WindowSystem final : public CataloguedWindowSystem {
 public:
  // The constructing thread becomes the UI thread.
  Win32WindowSystem();
  Win32WindowSystem(const Win32WindowSystem&) = delete;
  Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;
  ~Win32WindowSystem() override;


  bool LoadWindow(uint32_t windowId) override;
  uint64_t GetProperty(uint32_t windowId, uint32_t controlId, int32_t index,
                       int32_t element) override;
  void SetProperty(uint32_t windowId, uint32_t controlId, int32_t index, int32_t element,
                   uint32_t low, uint32_t high) override;
  int32_t ShowMessageBox(const char* text, int32_t flags, const char* caption) override;
  // A close is posted, so that it never happens inside the handler that asks
  // for it; a minimise is shown asynchronously. Neither waits.
  int32_t SendWindowMessage(uint32_t windowId, uint32_t message, int64_t wparam,
                            int64_t lparam) override;
  void ProcessPendingMessages() override;
  void RunMessageLoop() override;

 private:
  class OpenWindow;

  bool OnUiThread() const { return std::this_thread::get_id() == uiThread_; }
  int32_t RunOnUiThread(std::function<int32_t()> task, int32_t fallback);
  HWND ParentForBox();
  OpenWindow* FindOpen(uint32_t windowId);  // UI thread, or under windowsMutex_
  void OnWindowGone(HWND root);
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK TaskProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  const std::thread::id uiThread_;
  HWND taskWindow_ = nullptr;

  // Open windows: changed only on the UI thread under the exclusive lock;
  // other threads read them, and use their controls, under the shared lock.
  std::shared_mutex windowsMutex_;
  std::map<uint32_t, std::unique_ptr<OpenWindow>> open_;
  bool loopRunning_ = false;  // UI thread
};

}  // namespace vlmr::skin
