// The form data of the windows a window system can load, and which of them
// have been loaded: what every window system answers the same way, whatever
// draws the windows. Safe from any thread.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "runtime/window_system.h"
#include "skin/window_description.h"

namespace vlmr::skin {

class WindowCatalogue {
 public:
  // Replaces an earlier registration of the same id (a window already open
  // keeps its own).
  void Register(WindowDescription description);
  std::shared_ptr<const WindowDescription> Description(uint32_t windowId);

  // A window counts as loaded from its first load to the end of the process:
  // a worker that writes a property while the closed window's process ends
  // finds its controls and the write is dropped, instead of a fatal report.
  void MarkLoaded(uint32_t windowId);
  bool EverLoaded(uint32_t windowId);

  bool HasControl(uint32_t windowId, uint32_t controlId);
  std::string WindowName(uint32_t windowId);
  std::string ControlName(uint32_t windowId, uint32_t controlId);

 private:
  std::mutex mutex_;
  std::map<uint32_t, std::shared_ptr<const WindowDescription>> descriptions_;
  std::set<uint32_t> everLoaded_;
};

// A window system that answers from its catalogue what does not depend on
// drawing: registration, whether a window was loaded, its controls' names.
class CataloguedWindowSystem : public rt::WindowSystem {
 public:
  // The form data of a window, used when it is loaded.
  void RegisterWindow(WindowDescription description) { catalogue_.Register(std::move(description)); }

  bool IsWindowLoaded(uint32_t windowId) override { return catalogue_.EverLoaded(windowId); }
  bool HasControl(uint32_t windowId, uint32_t controlId) override {
    return catalogue_.HasControl(windowId, controlId);
  }
  std::string WindowName(uint32_t windowId) override { return catalogue_.WindowName(windowId); }
  std::string ControlName(uint32_t windowId, uint32_t controlId) override {
    return catalogue_.ControlName(windowId, controlId);
  }

 protected:
  WindowCatalogue catalogue_;
};

}  // namespace vlmr::skin
