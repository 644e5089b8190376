#include "app/open_web_page.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/runtime/rt_blocks.h"
#include "app/runtime/runtime_frame.h"
#include "platform/codepage.h"

extern char** environ;

namespace vlmr::app {
namespace {

// The library number the frame carries for this command; unused by the frame.
constexpr int32_t kShellLibrary = 2;

// Starts the opener with the address as its one argument. A detached thread
// reaps it whenever it ends, so no zombie is left behind and nobody waits.
void SpawnOpener(const std::string& utf8Address) {
  std::string program = UrlOpenerProgram();
  std::string address = utf8Address;
  char* argv[] = {program.data(), address.data(), nullptr};
  pid_t child;
  if (posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv, environ) != 0) return;
  std::thread([child] {
    int status;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

}  // namespace

const char* UrlOpenerProgram() {
  const char* custom = std::getenv("VLMR_URL_OPENER");
  return custom && *custom ? custom : "xdg-open";
}

void OpenWebPageCommand(rt::RtValue* /*result*/, int32_t count, rt::RtValue* args) {
  std::string address = "http://" VLMR_WEB_HOST "/";
  if (count >= 1 && args[0].Type() == rt::RtType::Text) {
    address = platform::GbkToUtf8(rt::TextView(args[0].AsPointer<const char>()));
  }
  SpawnOpener(address);
}

void OpenWebPage(const char* gbkAddress) {
  rt::RtValue record = rt::RtValue::Text(gbkAddress);
  rt::call_library_command(kShellLibrary, &OpenWebPageCommand, 1, &record);
}

}  // namespace vlmr::app
