#include "skin/toolkit_events.h"

#include <array>
#include <atomic>

#include "runtime/rt_heap.h"
#include "runtime/runtime_frame.h"
#include "runtime/window_system.h"

namespace vlmr::skin {

using namespace rt::literals;

int32_t ForwardToolkitEvent(const EventDispatch& dispatch, Kind kind, uint32_t id, int32_t code,
                            const EventArgs& args) {
  if (code >= kFirstIgnoredEventCode || !dispatch) return 0;
  return dispatch(id, EventBase(kind) + (code - kEventClick), args);
}

void ShowMissingCoreOnce(Kind kind) {
  static std::array<std::atomic<bool>, kKindCount> shown{};
  if (shown[static_cast<size_t>(kind)].exchange(true)) return;
  rt::ShowMessageBox(
      "程序缺少界面运行库必须依赖的核心文件 LumoVostr_Win32.lib 文件,请在软件发布时携带此文件"_t,
      rt::kMbOk, "警告"_t);
}

}  // namespace vlmr::skin
