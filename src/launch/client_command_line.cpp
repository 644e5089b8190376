#include "launch/client_command_line.h"

#include "runtime/commands.h"
#include "runtime/rt_heap.h"

namespace vlmr::launch {
namespace {

using namespace rt::literals;

// " /REFRESHRATE n" by Frequency 1-5; nothing for any other value.
const char* RefreshRateSwitch(int32_t frequency) {
  switch (frequency) {
    case 1: return " /REFRESHRATE 56"_t;
    case 2: return " /REFRESHRATE 60"_t;
    case 3: return " /REFRESHRATE 70"_t;
    case 4: return " /REFRESHRATE 72"_t;
    case 5: return " /REFRESHRATE 75"_t;
    default: return nullptr;
  }
}

void Append(std::string& line, const char* gbk) { line += rt::TextView(gbk); }

}  // namespace

ClientOptions TakeClientOptions(const settings::SettingsRecord& record) {
  return {record.Model,     record.ResolvingPower, record.Senior,
          record.Frequency, record.Music,          record.SoundEffects};
}

ScreenSize ScreenSizeOf(int32_t resolvingPower) {
  switch (resolvingPower) {
    case 1: return {800, 600};
    case 2: return {1024, 768};
    case 3: return {1366, 768};
    case 4: return {1600, 900};
    case 5: return {1920, 1080};
    default: return {0, 0};
  }
}

std::string ClientCommandLine(const ClientOptions& options) {
  std::string line = "CorvaneQXT.EXE  /USE_SERVER 1 /ADDR 61 /PORT 0"_t;
  if (options.Model != 1) Append(line, " /FULLSCREEN"_t);
  const ScreenSize size = ScreenSizeOf(options.ResolvingPower);
  Append(line, " "_t);
  Append(line, rt::cmd::ToText(size.width).get());
  Append(line, rt::cmd::ToText(size.height).get());
  Append(line, " 1"_t);
  if (options.Senior != 1) Append(line, " /UseBlinearFiltering 1"_t);
  Append(line, RefreshRateSwitch(options.Frequency));
  if (options.Music != 1) Append(line, " /BGMOFF 1"_t);
  if (options.SoundEffects != 1) Append(line, " /SEOFF 1"_t);
  return line;
}

}  // namespace vlmr::launch
