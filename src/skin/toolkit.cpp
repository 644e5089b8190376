#include "skin/toolkit.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

#include <cstdio>
#include <string>

#include "skin/toolkit_events.h"

namespace vlmr::skin {
namespace {

bool StartCore() {
  // The software renderer draws straight into the window surface; without
  // this hint SDL would first try to bring up OpenGL for that surface, which
  // costs a tenth of a second at start-up and gains nothing for a skinned UI.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // Interrupt and terminate signals keep ending the process as usual, instead
  // of becoming a quit event that the launcher window has no use for.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "skin: no video: %s\n", SDL_GetError());
    return false;
  }
  if (TTF_Init() != 0) {
    std::fprintf(stderr, "skin: no font engine: %s\n", TTF_GetError());
    return false;
  }
  return true;
}


}  // namespace

bool OpenToolkitCore() {
  static const bool available = StartCore();
  return available;
}

Control* CreateControl(Kind kind, std::span<const uint8_t> propertyData,
                       const ControlPlacement& placement, EventSink sink, void* userData) {
  if (!OpenToolkitCore()) {
    ShowMissingCoreOnce(kind);
    return nullptr;
  }
  std::string error;
  auto properties = PropertySet::Decode(propertyData, &error);
  if (!properties || properties->kind() != kind) {
    std::fprintf(stderr, "skin: control %#x not created: %s\n", placement.id,
                 properties ? "property data of another kind" : error.c_str());
    return nullptr;
  }
  return new Control(std::move(*properties), placement, sink, userData);
}

uint64_t ControlSendMessage(Control* control, uint32_t message, int32_t number, uint64_t value) {
  return control ? SendControlMessage(*control, message, number, value) : 0;
}

void ControlDestroy(Control* control) { delete control; }

void ControlSetRect(Control* control, int x, int y, int width, int height) {
  control->SetRect({x, y, width, height});
}

int ControlGetLeft(const Control* control) { return control->rect().x; }
int ControlGetTop(const Control* control) { return control->rect().y; }
int ControlGetWidth(const Control* control) { return control->rect().w; }
int ControlGetHeight(const Control* control) { return control->rect().h; }

}  // namespace vlmr::skin
