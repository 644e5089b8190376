// Handing an address to the user's web browser, without waiting for it and
// without looking at the outcome: on Linux through the desktop's opener
// program, on Windows through the shell (ShellExecuteW).
#pragma once

#include <string>

namespace vlmr::platform {

void OpenInBrowser(const std::string& utf8Address);

// Linux: the opener program, $VLMR_URL_OPENER when set and not empty, else
// "xdg-open".
const char* UrlOpenerProgram();

}  // namespace vlmr::platform
