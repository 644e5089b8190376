// The skinned-control toolkit's entry points as the Windows window system
// uses them: the toolkit DLL carried in the program's read-only data, bound
// once per process through the toolkit registry and loaded from memory, each
// entry found by name through the registry's lookup function.
#pragma once

#include <cstdint>

#include "skin/control_kind.h"
#include "skin/toolkit_abi.h"

namespace vlmr::skin {

struct ToolkitEntries {
  abi::CreateControlFn create[kKindCount] = {};  // by Kind
  abi::ControlSendMessageFn sendMessage = nullptr;
  abi::ControlDestroyFn destroy = nullptr;
  abi::ControlSetRectFn setRect = nullptr;
  abi::ControlGetFn getLeft = nullptr, getTop = nullptr, getWidth = nullptr, getHeight = nullptr;
  abi::CallInternalFunctionFn callInternal = nullptr;
  uintptr_t module = 0;  // the toolkit's handle; 0 when it could not be loaded

  // Every entry but the create entries, which are checked per kind.
  bool Complete() const;
};

// Binds the toolkit on first use (UI thread). When the in-memory load fails,
// the player is told "当前系统帮过低,界面库加载失败" under "警告"; the
// entries are then null.
const ToolkitEntries& Toolkit();

}  // namespace vlmr::skin
