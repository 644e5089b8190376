// The window system of the launcher on SDL2: loads windows from their form
// data, one native window each with a host per skinned control, runs the
// message loop on the UI thread, routes clicks to the event dispatch, shows
// message boxes as dialogs modal to its windows, and takes property access
// from any thread.
//
// Property writes from a worker thread go straight into the thread-safe
// toolkit controls and only post a coalesced redraw event; message boxes and
// window messages from a worker are posted to the UI thread and block only
// the worker until answered.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <shared_mutex>
#include <string>
#include <vector>

#include "runtime/window_system.h"
#include "skin/message_box_owner.h"
#include "skin/picture_codec.h"
#include "skin/ui_bridge.h"
#include "skin/window_catalogue.h"
#include "skin/window_description.h"

namespace vlmr::skin {

class SdlWindowSystem final : public CataloguedWindowSystem, public BoxOwner {
 public:
  // The constructing thread becomes the UI thread.
  SdlWindowSystem();
  SdlWindowSystem(const SdlWindowSystem&) = delete;
  SdlWindowSystem& operator=(const SdlWindowSystem&) = delete;
  ~SdlWindowSystem() override;

  bool LoadWindow(uint32_t windowId) override;
  uint64_t GetProperty(uint32_t windowId, uint32_t controlId, int32_t index,
                       int32_t element) override;
  void SetProperty(uint32_t windowId, uint32_t controlId, int32_t index, int32_t element,
                   uint32_t low, uint32_t high) override;
  int32_t ShowMessageBox(const char* text, int32_t flags, const char* caption) override;
  int32_t SendWindowMessage(uint32_t windowId, uint32_t message, int64_t wparam,
                            int64_t lparam) override;
  void ProcessPendingMessages() override;
  void RunMessageLoop() override;

  // ---- the owner of the message boxes it shows (UI thread) ----
  // The first shown window that is not minimised: a box kept over a
  // minimised parent would be hidden with it.
  SDL_Window* ParentForBox() override;
  // Handled as in the message loop, except that input and the close button
  // of the windows go nowhere: the box is modal.
  void HandleEventUnderBox(const SDL_Event& event) override;
  int RedrawUnderBox() override;

  // ---- state of a window, for tests and the window-picture tool (UI thread) ----
  bool IsOpen(uint32_t windowId);
  bool IsMinimised(uint32_t windowId);
  // The SDL id of the window's native window, to address input at it; 0 when closed.
  uint32_t NativeWindowId(uint32_t windowId);
  // Draws the window now and returns what it shows; nullopt when it is not open.
  std::optional<Picture> Capture(uint32_t windowId);

 private:
  class OpenWindow;

  OpenWindow* FindOpen(uint32_t windowId);  // UI thread, or under windowsMutex_
  OpenWindow* FindByNative(uint32_t nativeId);
  int32_t HandleWindowMessage(uint32_t windowId, uint32_t message, int64_t wparam);
  void RequestClose(uint32_t windowId);
  void CloseWindow(uint32_t windowId);
  void FlushPendingCloses();
  void HandleEvent(const SDL_Event& event);
  void HandleWindowEvent(const SDL_WindowEvent& event);
  void PumpAndRender();
  void RenderDue();
  void Render(OpenWindow& window);
  int MsUntilAnimationDue();

  UiBridge bridge_;

  // Open windows: changed only on the UI thread under the exclusive lock;
  // other threads read them under the shared lock.
  std::shared_mutex windowsMutex_;
  std::map<uint32_t, std::unique_ptr<OpenWindow>> open_;

  int dispatchDepth_ = 0;                // events being handled on the UI thread
  std::vector<uint32_t> pendingCloses_;  // closes asked for inside a handler
  bool loopRunning_ = false;
  bool quit_ = false;
};

}  // namespace vlmr::skin
