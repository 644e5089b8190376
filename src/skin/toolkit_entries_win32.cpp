#include "skin/toolkit_entries.h"

#include "platform/toolkit_binding.h"
#include "runtime/rt_heap.h"
#include "runtime/runtime_frame.h"
#include "runtime/window_system.h"
#include "skin/embedded_toolkit.h"

namespace vlmr::skin {
namespace {

using namespace rt::literals;

void TellLoadFailed() { rt::ShowMessageBox("当前系统帮过低,界面库加载失败"_t, rt::kMbOk, "警告"_t); }

template <typename Fn>
void Find(platform::ToolkitLookup lookup, void* module, const char* name, Fn& entry) {
  entry = reinterpret_cast<Fn>(lookup(module, name));
}

ToolkitEntries Bind() {
  ToolkitEntries entries;
  std::span<const uint8_t> image = EmbeddedToolkitImage();
  void* module = platform::BindToolkit(nullptr, 0, image.data(), image.size(), &TellLoadFailed);
  platform::ToolkitLookup lookup = platform::BoundToolkitLookup();
  if (!module || !lookup) return entries;
  entries.module = reinterpret_cast<uintptr_t>(module);
  for (int kind = 0; kind < kKindCount; ++kind) {
    Find(lookup, module, abi::kCreateEntries[kind], entries.create[kind]);
  }
  Find(lookup, module, "ControlSendMessage", entries.sendMessage);
  Find(lookup, module, "ControlDestroy", entries.destroy);
  Find(lookup, module, "ControlSetRect", entries.setRect);
  Find(lookup, module, "ControlGetLeft", entries.getLeft);
  Find(lookup, module, "ControlGetTop", entries.getTop);
  Find(lookup, module, "ControlGetWidth", entries.getWidth);
  Find(lookup, module, "ControlGetHeight", entries.getHeight);
  Find(lookup, module, "CallInternalFunction_Ex", entries.callInternal);
  return entries;
}

}  // namespace

bool ToolkitEntries::Complete() const {
  return sendMessage && destroy && setRect && getLeft && getTop && getWidth && getHeight &&
         callInternal;
}

const ToolkitEntries& Toolkit() {
  static const ToolkitEntries entries = Bind();
  return entries;
}

}  // namespace vlmr::skin
