#include "skin/ui_bridge.h"

#include <future>
#include <memory>

namespace vlmr::skin {
namespace {

struct PostedTask {
  std::function<int32_t()> work;
  std::promise<int32_t> answer;
};

}  // namespace

UiBridge::UiBridge() : uiThread_(std::this_thread::get_id()) {
  uint32_t first = SDL_RegisterEvents(2);
  redrawEvent_ = first;
  taskEvent_ = first + 1;
}

void UiBridge::RequestRedraw() {
  if (redrawQueued_.exchange(true)) return;
  SDL_Event event{};
  event.type = redrawEvent_;
  if (SDL_PushEvent(&event) != 1) redrawQueued_ = false;
}

int32_t UiBridge::RunOnUiThread(std::function<int32_t()> task, int32_t fallback) {
  if (OnUiThread()) return task();
  auto posted = std::make_unique<PostedTask>();
  posted->work = std::move(task);
  std::future<int32_t> answer = posted->answer.get_future();
  SDL_Event event{};
  event.type = taskEvent_;
  event.user.data1 = posted.get();
  if (SDL_PushEvent(&event) != 1) return fallback;
  posted.release();  // the UI thread owns it now
  return answer.get();
}

UiBridge::Handled UiBridge::Handle(const SDL_Event& event) {
  if (event.type == redrawEvent_) {
    redrawQueued_ = false;
    return Handled::Redraw;
  }
  if (event.type == taskEvent_) {
    std::unique_ptr<PostedTask> task(static_cast<PostedTask*>(event.user.data1));
    task->answer.set_value(task->work());
    return Handled::Task;
  }
  return Handled::NotMine;
}

}  // namespace vlmr::skin
