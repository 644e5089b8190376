// The skin toolkit's interface: create a control of one of the six kinds from
// its stored property data, read and write its own properties by number, get
// all of its property data back, move it and destroy it. Events reach the
// creator through the event sink given at creation.
#pragma once

#include <cstdint>
#include <span>

#include "skin/control.h"
#include "skin/control_messages.h"
#include "skin/control_kind.h"

namespace vlmr::skin {

// Brings up the toolkit's drawing core (SDL video and SDL_ttf) once per
// process; false when it is unavailable.
bool OpenToolkitCore();

// Creates a control from its stored property data. Null when the core is
// unavailable (the first such creation of each kind shows the missing-core
// message) or when the property data is malformed or of another kind (the
// reason goes to standard error).
Control* CreateControl(Kind kind, std::span<const uint8_t> propertyData,
                       const ControlPlacement& placement, EventSink sink, void* userData);

// Property access, safe from any thread (see control_messages.h).
uint64_t ControlSendMessage(Control* control, uint32_t message, int32_t number, uint64_t value);

// UI thread; children of a destroyed control become top-level.
void ControlDestroy(Control* control);

// Position and size relative to the parent's area; safe from any thread.
void ControlSetRect(Control* control, int x, int y, int width, int height);
int ControlGetLeft(const Control* control);
int ControlGetTop(const Control* control);
int ControlGetWidth(const Control* control);
int ControlGetHeight(const Control* control);

}  // namespace vlmr::skin
