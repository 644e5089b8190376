// Start-up of the Windows launcher window (for the build under Wine): the
// launcher's own start-up (runtime, the toolkit loaded from memory, window
// load with its creation event, shown and painted), then the wall-clock time
// of the first painted frame as Unix nanoseconds, so that a script that noted
// the time before starting the program (Wine's own start included) can
// subtract. Also prints how long the program took from its main to that
// frame. Run in a folder beside nothing: the settings are the defaults.
#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "app/launcher_startup.h"
#include "settings/settings_store.h"

namespace {

// 100-ns intervals between 1601 and 1970.
constexpr int64_t kUnixEpochIn1601Units = 116444736000000000;

int64_t UnixNanosecondsNow() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  int64_t units = (static_cast<int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return (units - kUnixEpochIn1601Units) * 100;
}

}  // namespace

int main(int /*argc*/, char** argv) {
  const int64_t mainStarted = UnixNanosecondsNow();
  vlmr::app::InitialiseLauncher(argv[0]);
  vlmr::app::EventTable events;
  events.windowCreated = vlmr::settings::LoadSettings;
  vlmr::app::LoadLauncherWindow(std::move(events));  // shown, its first frame painted
  const int64_t firstFrame = UnixNanosecondsNow();
  std::printf("%lld %lld\n", static_cast<long long>(firstFrame),
              static_cast<long long>(firstFrame - mainStarted));
  std::fflush(stdout);
  ExitProcess(0);
}
