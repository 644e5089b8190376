// The open-web-page command: hands an address to the user's web browser
// (platform/web_browser.h), without waiting for it and without looking at
// the outcome.
#pragma once

#include <cstdint>

#include "runtime/rt_value.h"

namespace vlmr::app {

// The library command routine. Argument: the address (text; omitted: the web
// server's home page). No result.
void OpenWebPageCommand(rt::RtValue* result, int32_t count, rt::RtValue* args);

// The typed face: calls the routine through the frame's library-command call.
void OpenWebPage(const char* gbkAddress);

}  // namespace vlmr::app
