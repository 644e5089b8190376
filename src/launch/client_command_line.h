// The game client's command line and screen size, from the settings the
// launch takes out of the settings record.
#pragma once

#include <cstdint>
#include <string>

#include "settings/settings_store.h"

namespace vlmr::launch {

// The fields of the settings record the launch uses, each read once.
struct ClientOptions {
  int32_t Model;
  int32_t ResolvingPower;
  int32_t Senior;
  int32_t Frequency;
  int32_t Music;
  int32_t SoundEffects;
};
ClientOptions TakeClientOptions(const settings::SettingsRecord& record);

struct ScreenSize {
  int32_t width;
  int32_t height;
};
// By ResolvingPower 1-5 (800*600 ... 1920*1080); any other value gives 0 by 0.
ScreenSize ScreenSizeOf(int32_t resolvingPower);

// GBK command line: "CorvaneQXT.EXE  /USE_SERVER 1 /ADDR 61 /PORT 0", then in
// this order " /FULLSCREEN" (Model not 1), the size group (a blank, width and
// height digits with no blank between, " 1"), " /UseBlinearFiltering 1"
// (Senior not 1), " /REFRESHRATE n" (Frequency 1-5), " /BGMOFF 1" (Music not
// 1), " /SEOFF 1" (SoundEffects not 1).
std::string ClientCommandLine(const ClientOptions& options);

}  // namespace vlmr::launch
