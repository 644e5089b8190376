// The toolkit DLL's exported entry points: create a control of each kind,
// property access by message and per kind, destroy, position and size, the
// image services and the general command entry.
#include <windows.h>
#include <gdiplus.h>

#include <cstdio>
#include <span>
#include <string>

#include "runtime/rt_blocks.h"
#include "skin/control_messages.h"
#include "skin/toolkit_abi.h"
#include "skin/toolkit_dll/pictures.h"
#include "skin/toolkit_dll/scene.h"
#include "skin/toolkit_dll/skinned_control.h"

using vlmr::skin::Kind;
using vlmr::skin::toolkit::SkinnedControl;

namespace {

// GDI+ is started on the first creation (never inside DllMain) and kept for
// the process's life.
bool StartGdiplus() {
  static const bool started = [] {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
  }();
  return started;
}

void* Create(Kind kind, const uint8_t* data, int32_t size, void* parent, uint32_t id, int32_t x,
             int32_t y, int32_t width, int32_t height, vlmr::skin::EventSink sink,
             void* userData) {
  if (!StartGdiplus()) {
    std::fprintf(stderr, "skin: GDI+ could not be started\n");
    return nullptr;
  }
  std::string error;
  auto properties = vlmr::skin::PropertySet::Decode(
      std::span<const uint8_t>(data, size > 0 ? static_cast<size_t>(size) : 0), &error);
  if (!properties || properties->kind() != kind) {
    std::fprintf(stderr, "skin: control %#x not created: %s\n", id,
                 properties ? "property data of another kind" : error.c_str());
    return nullptr;
  }
  return SkinnedControl::Create(std::move(*properties), static_cast<HWND>(parent), id,
                                {x, y, width, height}, sink, userData);
}

SkinnedControl* Skinned(void* control) { return static_cast<SkinnedControl*>(control); }

uint64_t SendOfKind(Kind kind, void* control, uint32_t message, int32_t number, uint64_t value) {
  if (!control || Skinned(control)->control().kind() != kind) return 0;
  return vlmr::skin::SendControlMessage(Skinned(control)->control(), message, number, value);
}

// An image loaded through the image services: its frames and its bytes.
struct LoadedImage {
  vlmr::skin::toolkit::PictureFrames frames;
  std::string bytes;
};

}  // namespace

#define VLMR_TOOLKIT_EXPORT extern "C" __declspec(dllexport)

#define VLMR_KIND_ENTRIES(KIND)                                                                 \
  VLMR_TOOLKIT_EXPORT void* VLMR_WINAPI CreateControl_##KIND(                                   \
      const uint8_t* data, int32_t size, uint32_t /*style*/, void* parent, uint32_t id,         \
      int32_t x, int32_t y, int32_t width, int32_t height, vlmr::skin::EventSink sink,          \
      void* userData) {                                                                         \
    return Create(Kind::KIND, data, size, parent, id, x, y, width, height, sink, userData);     \
  }                                                                                             \
  VLMR_TOOLKIT_EXPORT void VLMR_WINAPI SetAttribute_##KIND(void* control, int32_t number,       \
                                                           uint64_t value) {                    \
    SendOfKind(Kind::KIND, control, vlmr::skin::kMessageSetProperty, number, value);            \
  }                                                                                             \
  VLMR_TOOLKIT_EXPORT uint64_t VLMR_WINAPI GetAttribute_##KIND(void* control, int32_t number) { \
    return SendOfKind(Kind::KIND, control, vlmr::skin::kMessageGetProperty, number, 0);         \
  }

VLMR_KIND_ENTRIES(WindowEx)
VLMR_KIND_ENTRIES(PictureBoxEx)
VLMR_KIND_ENTRIES(LabelEx)
VLMR_KIND_ENTRIES(ButtonEx)
VLMR_KIND_ENTRIES(ChoiceboxEx)
VLMR_KIND_ENTRIES(ProgressbarEx)

VLMR_TOOLKIT_EXPORT uint64_t VLMR_WINAPI ControlSendMessage(void* control, uint32_t message,
                                                            int32_t number, uint64_t value) {
  if (!control) return 0;
  return vlmr::skin::SendControlMessage(Skinned(control)->control(), message, number, value);
}

VLMR_TOOLKIT_EXPORT void VLMR_WINAPI ControlDestroy(void* control) { delete Skinned(control); }

VLMR_TOOLKIT_EXPORT int32_t VLMR_WINAPI ControlIsCreate(void* control) {
  return control && Skinned(control)->HasWindow() ? 1 : 0;
}

VLMR_TOOLKIT_EXPORT void VLMR_WINAPI ControlSetRect(void* control, int32_t x, int32_t y,
                                                    int32_t width, int32_t height) {
  if (control) Skinned(control)->SetRect({x, y, width, height});
}

VLMR_TOOLKIT_EXPORT int32_t VLMR_WINAPI ControlGetLeft(void* control) {
  return control ? Skinned(control)->control().rect().x : 0;
}
VLMR_TOOLKIT_EXPORT int32_t VLMR_WINAPI ControlGetTop(void* control) {
  return control ? Skinned(control)->control().rect().y : 0;
}
VLMR_TOOLKIT_EXPORT int32_t VLMR_WINAPI ControlGetWidth(void* control) {
  return control ? Skinned(control)->control().rect().w : 0;
}
VLMR_TOOLKIT_EXPORT int32_t VLMR_WINAPI ControlGetHeight(void* control) {
  return control ? Skinned(control)->control().rect().h : 0;
}

// Decodes a PNG or GIF; null when it is none.
VLMR_TOOLKIT_EXPORT void* VLMR_WINAPI LoadImageEx(const uint8_t* data, int32_t size) {
  if (!data || size <= 0 || !StartGdiplus()) return nullptr;
  std::string bytes(reinterpret_cast<const char*>(data), static_cast<size_t>(size));
  auto frames = vlmr::skin::toolkit::DecodePicture(bytes);
  if (!frames) return nullptr;
  return new LoadedImage{std::move(*frames), std::move(bytes)};
}

VLMR_TOOLKIT_EXPORT void VLMR_WINAPI DestroyImageEx(void* image) {
  delete static_cast<LoadedImage*>(image);
}

// Attribute 0: width, 1: height, 2: frame count; 0 for anything else.
VLMR_TOOLKIT_EXPORT int32_t VLMR_WINAPI GetImageAttributeEx(void* image, int32_t attribute) {
  if (!image) return 0;
  const auto& frames = static_cast<LoadedImage*>(image)->frames;
  switch (attribute) {
    case 0: return frames.width;
    case 1: return frames.height;
    case 2: return static_cast<int32_t>(frames.frames.size());
    default: return 0;
  }
}

// The image's file bytes as a new runtime byte array.
VLMR_TOOLKIT_EXPORT void* VLMR_WINAPI GetImageData(void* image) {
  if (!image) return nullptr;
  const std::string& bytes = static_cast<LoadedImage*>(image)->bytes;
  return vlmr::rt::NewByteArray(bytes.data(), static_cast<int64_t>(bytes.size()));
}

VLMR_TOOLKIT_EXPORT intptr_t VLMR_WINAPI CallInternalFunction_Ex(int32_t function, intptr_t a,
                                                                 intptr_t b) {
  if (function == vlmr::skin::abi::kInternalPaintTopLevel) {
    auto* scene = vlmr::skin::toolkit::FindScene(reinterpret_cast<HWND>(a));
    if (!scene) return 0;
    return scene->PaintInto(reinterpret_cast<HWND>(a), reinterpret_cast<HDC>(b)) ? 1 : 0;
  }
  return 0;
}
