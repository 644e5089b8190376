// The road from other threads to the UI thread: a coalesced redraw request
// that never blocks its caller, and tasks that run on the UI thread while the
// posting thread waits for their answer. Both travel as SDL user events, so
// no other thread touches SDL video.
#pragma once

#include <SDL2/SDL.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

namespace vlmr::skin {

class UiBridge {
 public:
  // The constructing thread is the UI thread.
  UiBridge();

  bool OnUiThread() const { return std::this_thread::get_id() == uiThread_; }

  // Any thread, never waits: at most one redraw event is queued at a time.
  void RequestRedraw();
  // Runs `task` on the UI thread and returns its answer: at once on the UI
  // thread; from another thread it is posted and only the caller waits until
  // the UI thread has run it. `fallback` answers when it cannot be posted.
  int32_t RunOnUiThread(std::function<int32_t()> task, int32_t fallback);

  enum class Handled { NotMine, Redraw, Task };
  // UI thread: consumes the bridge's own events (running a posted task).
  Handled Handle(const SDL_Event& event);

 private:
  std::thread::id uiThread_;
  uint32_t redrawEvent_;
  uint32_t taskEvent_;
  std::atomic<bool> redrawQueued_{false};
};

}  // namespace vlmr::skin
