// Which routine each event of the launcher window runs. The window takes the
// table as data, so tests can load the real window with handlers of their own.
#pragma once

#include <cstdint>
#include <functional>
#include <map>

#include "skin/window_description.h"

namespace vlmr::app {

using Handler = std::function<void()>;

struct EventTable {
  Handler windowCreated;               // the window's event 0, before it is shown
  std::map<uint32_t, Handler> clicks;  // a control's event 0, by control id
};

// The launcher's own table: load settings on creation; start game, minimise,
// close, the settings panel's buttons and boxes, and the three link buttons.
EventTable LauncherEventTable();

// The window's event dispatch over a table: every event other than the
// creation event and the controls' clicks has no handler and answers 0.
skin::EventDispatch DispatchFrom(EventTable table);

}  // namespace vlmr::app
