// The settings record and the settings file LoginConfig.ini beside the
// launcher: load settings (the launcher window's creation event) and save
// settings (the settings panel's confirm button).
#pragma once

#include <atomic>
#include <cstdint>

namespace vlmr::settings {

// The user's game-client options, one process-wide instance, zero until load
// settings has run. The UI thread writes the fields; the update worker reads
// them without a lock, so each field is a single atomic 32-bit store and load.
struct SettingsRecord {
  std::atomic<int32_t> Model{0};           // [Frame] 1 window mode, else full screen
  std::atomic<int32_t> ResolvingPower{0};  // [Frame] 1-5: 800*600 ... 1920*1080
  std::atomic<int32_t> Senior{0};          // [Frame] 1 texture filtering on
  std::atomic<int32_t> Frequency{0};       // [Frame] 1-5: 56, 60, 70, 72, 75 Hz
  std::atomic<int32_t> Music{0};           // [Sound] 1 background music on
  std::atomic<int32_t> SoundEffects{0};    // [Sound] 1 sound effects on
  std::atomic<int32_t> AudioSettings{0};   // [Sound] 1-4: 2 speakers, top, surround, 4 speakers
  std::atomic<int32_t> AttackFontType{0};  // [Font] 1 new damage-number style, else old
};

// The process-wide settings record.
SettingsRecord& Settings();

// Reads LoginConfig.ini into the record (every key defaults to "1"), then
// ticks the settings panel's boxes from the record.
void LoadSettings();
// Hides the settings panel, takes the record from the boxes and writes it to
// LoginConfig.ini. A file that cannot be written leaves the record as
// confirmed for the rest of the run and is reported on standard error.
void SaveSettings();

}  // namespace vlmr::settings
