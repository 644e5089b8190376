// The entry points of the skinned-control toolkit as a module of its own (the
// Windows toolkit DLL), looked up by name by the window system that hosts its
// controls. Handles travel as pointers: `parent` is the host window, a
// control is the toolkit's own record.
#pragma once

#include <cstdint>

#include "platform/calling_convention.h"
#include "skin/control.h"

namespace vlmr::skin::abi {

// Creates a control from its stored property data as a child of the host
// window `parent`, at (x, y) of the host's parent with the given size; null
// when the data is malformed or of another kind.
using CreateControlFn = void*(VLMR_WINAPI*)(const uint8_t* data, int32_t size, uint32_t style,
                                            void* parent, uint32_t id, int32_t x, int32_t y,
                                            int32_t width, int32_t height, EventSink sink,
                                            void* userData);
// Property access by message (control_messages.h).
using ControlSendMessageFn = uint64_t(VLMR_WINAPI*)(void* control, uint32_t message,
                                                    int32_t number, uint64_t value);
using ControlDestroyFn = void(VLMR_WINAPI*)(void* control);
using ControlSetRectFn = void(VLMR_WINAPI*)(void* control, int32_t x, int32_t y, int32_t width,
                                            int32_t height);
using ControlGetFn = int32_t(VLMR_WINAPI*)(void* control);
// The general command entry: a function number and two arguments.
using CallInternalFunctionFn = intptr_t(VLMR_WINAPI*)(int32_t function, intptr_t a, intptr_t b);

// CallInternalFunction_Ex functions.
// Paints what the toolkit's controls show over the whole client area of the
// top-level window `a` into its device context `b`; 1 when it painted.
inline constexpr int32_t kInternalPaintTopLevel = 1;

// The create entry of each kind, in Kind order.
inline constexpr const char* kCreateEntries[] = {
    "CreateControl_WindowEx",   "CreateControl_PictureBoxEx", "CreateControl_LabelEx",
    "CreateControl_ButtonEx",   "CreateControl_ChoiceboxEx",  "CreateControl_ProgressbarEx",
};
// The English kind names, in Kind order.
inline constexpr const char* kKindNames[] = {
    "WindowEx", "PictureBoxEx", "LabelEx", "ButtonEx", "ChoiceboxEx", "ProgressbarEx",
};

}  // namespace vlmr::skin::abi
