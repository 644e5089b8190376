// The one seam between the runtime frame and the window system. The skinned
// launcher window implements it; tests and headless runs use the recorder.
#pragma once

#include <cstdint>
#include <string>

namespace vlmr::rt {

// Message-box results of the message box command.
enum MessageBoxResult : int32_t {
  kBoxOk = 0, kBoxCancel = 1, kBoxAbort = 2, kBoxRetry = 3, kBoxIgnore = 4, kBoxYes = 5, kBoxNo = 6,
};
// The platform's message-box flags the launcher uses.
inline constexpr int32_t kMbOk = 0x0;
inline constexpr int32_t kMbOkCancel = 0x1;
inline constexpr int32_t kMbAbortRetryIgnore = 0x2;
inline constexpr int32_t kMbYesNoCancel = 0x3;
inline constexpr int32_t kMbYesNo = 0x4;
inline constexpr int32_t kMbRetryCancel = 0x5;
inline constexpr int32_t kMbIconError = 0x10;
inline constexpr int32_t kMbIconQuestion = 0x20;
inline constexpr int32_t kMbIconWarning = 0x30;
inline constexpr int32_t kMbIconInformation = 0x40;
inline constexpr int32_t kMbSystemModal = 0x1000;
inline constexpr int32_t kMbTaskModal = 0x2000;

// Window messages the launcher sends.
inline constexpr uint32_t kWmClose = 0x0010;
inline constexpr uint32_t kWmSysCommand = 0x0112;
inline constexpr uint32_t kScMinimize = 0xF020;

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // Creates the window and its controls, raises its creation event, shows it.
  // False when it cannot be loaded.
  virtual bool LoadWindow(uint32_t windowId) = 0;
  virtual bool IsWindowLoaded(uint32_t windowId) = 0;
  virtual bool HasControl(uint32_t windowId, uint32_t controlId) = 0;
  // GBK names from the window description, for the fatal report.
  virtual std::string WindowName(uint32_t windowId) = 0;
  virtual std::string ControlName(uint32_t windowId, uint32_t controlId) = 0;

  // Property access on a loaded window's control (the frame has checked both
  // exist). A text property read returns a new heap text as the pointer value.
  virtual uint64_t GetProperty(uint32_t windowId, uint32_t controlId, int32_t index,
                               int32_t element) = 0;
  virtual void SetProperty(uint32_t windowId, uint32_t controlId, int32_t index,
                           int32_t element, uint32_t low, uint32_t high) = 0;

  // Shows a message box (GBK texts) and returns the button pressed. Safe from
  // any thread; a call from a worker blocks only that worker.
  virtual int32_t ShowMessageBox(const char* text, int32_t flags, const char* caption) = 0;
  // Sends a message to a window and waits until it is handled.
  virtual int32_t SendWindowMessage(uint32_t windowId, uint32_t message, int64_t wparam,
                                    int64_t lparam) = 0;
  // Dispatches what waits in the calling thread's queue.
  virtual void ProcessPendingMessages() = 0;
  // Pumps messages until the last window is gone; returns at once when no
  // window is loaded.
  virtual void RunMessageLoop() = 0;
};

// The window system in use; the recorder until another is installed.
WindowSystem& CurrentWindowSystem();
void InstallWindowSystem(WindowSystem* system);  // null restores the recorder

}  // namespace vlmr::rt
