#include "settings/settings_file.h"

#include <array>

#include "runtime/commands.h"
#include "runtime/rt_heap.h"
#include "settings/settings_number.h"

namespace vlmr::settings {
namespace {

using namespace rt::literals;

struct StoredField {
  const char* section;
  const char* key;
  std::atomic<int32_t> SettingsRecord::*field;
};

// The fields in the order they are read and written.
const std::array<StoredField, 8>& StoredFields() {
  static const std::array<StoredField, 8> fields = {{
      {"Frame"_t, "Model"_t, &SettingsRecord::Model},
      {"Frame"_t, "ResolvingPower"_t, &SettingsRecord::ResolvingPower},
      {"Frame"_t, "Senior"_t, &SettingsRecord::Senior},
      {"Frame"_t, "Frequency"_t, &SettingsRecord::Frequency},
      {"Sound"_t, "Music"_t, &SettingsRecord::Music},
      {"Sound"_t, "SoundEffects"_t, &SettingsRecord::SoundEffects},
      {"Sound"_t, "AudioSettings"_t, &SettingsRecord::AudioSettings},
      {"Font"_t, "AttackFontType"_t, &SettingsRecord::AttackFontType},
  }};
  return fields;
}

}  // namespace

rt::Text SettingsFilePath() {
  const rt::Text directory = rt::cmd::ProgramDirectory();
  return rt::Text(rt::join_texts({directory.get(), "\\\\LoginConfig.ini"_t}));
}

void ReadSettingsFile(SettingsRecord& record) {
  for (const StoredField& stored : StoredFields()) {
    const rt::Text path = SettingsFilePath();
    const rt::Text value = rt::cmd::ReadIniItem(path.get(), stored.section, stored.key, "1"_t);
    (record.*stored.field).store(SettingsNumber(value.get()));
  }
}

bool WriteSettingsFile(const SettingsRecord& record) {
  bool allWritten = true;
  for (const StoredField& stored : StoredFields()) {
    const rt::Text path = SettingsFilePath();
    const rt::Text value = rt::cmd::ToText((record.*stored.field).load());
    allWritten &= rt::cmd::WriteIniItem(path.get(), stored.section, stored.key, value.c_str());
  }
  return allWritten;
}

}  // namespace vlmr::settings
