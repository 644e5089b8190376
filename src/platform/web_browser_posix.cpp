#include "platform/web_browser.h"

#include <cstdlib>

#include "platform/process.h"

namespace vlmr::platform {

const char* UrlOpenerProgram() {
  const char* custom = std::getenv("VLMR_URL_OPENER");
  return custom && *custom ? custom : "xdg-open";
}

void OpenInBrowser(const std::string& utf8Address) {
  // Handed over and not checked: a missing opener changes nothing for the player.
  StartDetached({UrlOpenerProgram(), utf8Address});
}

}  // namespace vlmr::platform
