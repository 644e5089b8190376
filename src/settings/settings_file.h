// LoginConfig.ini beside the launcher: the eight keys of the settings record
// in their sections, read and written through the runtime's INI commands.
#pragma once

#include "runtime/rt_blocks.h"
#include "settings/settings_store.h"

namespace vlmr::settings {

// The program directory followed by "\\LoginConfig.ini" (the doubled
// separator names the same file), built afresh for every read and write.
rt::Text SettingsFilePath();

// Reads every field in the order Frame, Sound, Font, each with the default
// "1" for a missing file, section or key.
void ReadSettingsFile(SettingsRecord& record);

// Writes every field as its decimal text in the same order (a new file gets
// its sections and keys in that order). Every write is attempted; false when
// any of them failed.
bool WriteSettingsFile(const SettingsRecord& record);

}  // namespace vlmr::settings
