#include "runtime/window_system.h"

#include <atomic>

#include "runtime/recording_window_system.h"

namespace vlmr::rt {
namespace {

std::atomic<WindowSystem*> g_installed{nullptr};

WindowSystem& Recorder() {
  static auto* recorder = new RecordingWindowSystem();
  return *recorder;
}

}  // namespace

WindowSystem& CurrentWindowSystem() {
  WindowSystem* installed = g_installed.load(std::memory_order_acquire);
  return installed ? *installed : Recorder();
}

void InstallWindowSystem(WindowSystem* system) {
  g_installed.store(system, std::memory_order_release);
}

}  // namespace vlmr::rt
