// A launcher placed in a temporary folder, its window held by the recording
// window system (boxes are plain properties there). Used by the settings tests
// that need no pixels.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "runtime/launcher_ids.h"
#include "runtime/recording_window_system.h"
#include "runtime/runtime_frame.h"
#include "settings/settings_boxes.h"
#include "support/settings_panel_state.h"
#include "support/temp_dir.h"

namespace vlmr::settings {

using test::PanelVisible;
using test::RecordValues;
using test::TickedOf;

inline std::vector<uint32_t> AllSettingsControls() {
  std::vector<uint32_t> controls = {ids::kSettingsPanel, ids::kBoxFiltering, ids::kButtonConfirm,
                                    ids::kButtonReset, ids::kSettingsButton};
  for (auto group : kRadioGroups) controls.insert(controls.end(), group.begin(), group.end());
  return controls;
}

class RecordedLauncher : public testing::Test {
 protected:
  RecordedLauncher() {
    previousDirectory_ = rt::ProgramDirectory();
    rt::SetProgramDirectory(dir_.LauncherPath());
    window_.AddWindow(ids::kLauncherWindow, AllSettingsControls());
    rt::InstallWindowSystem(&window_);
  }
  ~RecordedLauncher() override {
    rt::InstallWindowSystem(nullptr);
    rt::SetProgramDirectory(previousDirectory_);
  }

  std::string SettingsFile() const { return test::SettingsFile(dir_); }
  void WriteSettingsFile(std::string_view content) const { test::WriteSettingsFile(dir_, content); }

  // What the toolkit does on a click of a choice box: the box toggles itself,
  // then its Click event runs the handler.
  template <typename Handler>
  void ClickBox(uint32_t box, Handler handler) {
    SetTicked(box, !IsTicked(box));
    handler(box);
  }

  test::TempDir dir_;
  rt::RecordingWindowSystem window_;
  std::string previousDirectory_;
};

}  // namespace vlmr::settings
