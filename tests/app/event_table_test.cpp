#include "app/event_table.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "runtime/launcher_ids.h"
#include "runtime/rt_value.h"

namespace vlmr::app {
namespace {

namespace ids = rt::ids;

TEST(EventDispatch, RunsTheCreationHandlerAndClicksAndNothingElse) {
  std::vector<int> ran;
  EventTable table;
  table.windowCreated = [&] { ran.push_back(0); };
  table.clicks[ids::kStartButton] = [&] { ran.push_back(1); };
  table.clicks[ids::kMinimiseButton] = nullptr;  // an entry without a routine
  skin::EventDispatch dispatch = DispatchFrom(std::move(table));

  EXPECT_EQ(dispatch(rt::kWindowUnitId, 0, {}), 0);
  EXPECT_EQ(dispatch(ids::kStartButton, 0, {}), 0);
  dispatch(ids::kStartButton, 1, {});  // another event of a control with a click handler
  dispatch(rt::kWindowUnitId, 3, {});
  dispatch(ids::kMinimiseButton, 0, {});
  dispatch(0x16010099, 0, {});  // a control the table does not name
  EXPECT_EQ(ran, (std::vector<int>{0, 1}));
}

namespace ids = rt::ids;

TEST(LauncherEventTable, WiresTheCreationEventAndTheClicksOfItsThirtyOneControls) {
  EventTable table = LauncherEventTable();
  EXPECT_TRUE(table.windowCreated);
  std::set<uint32_t> expected = {
      ids::kStartButton,    ids::kMinimiseButton, ids::kCloseButton,    ids::kSettingsButton,
      ids::kRegisterButton, ids::kForumButton,    ids::kShopButton,     ids::kButtonConfirm,
      ids::kButtonReset,    ids::kBoxOldStyle,    ids::kBoxNewStyle,    ids::kBoxFourSpeakers,
      ids::kBoxSurround,    ids::kBoxTwoSpeakers, ids::kBoxTopSound,    ids::kBoxEffectsOn,
      ids::kBoxEffectsOff,  ids::kBoxMusicOn,     ids::kBoxMusicOff,    ids::kBox56Hz,
      ids::kBox60Hz,        ids::kBox70Hz,        ids::kBox72Hz,        ids::kBox75Hz,
      ids::kBox1920x1080,   ids::kBox1600x900,    ids::kBox1366x768,    ids::kBox1024x768,
      ids::kBox800x600,     ids::kBoxWindowed,    ids::kBoxFullScreen,
  };
  std::set<uint32_t> wired;
  for (const auto& [id, handler] : table.clicks) {
    if (handler) wired.insert(id);
  }
  EXPECT_EQ(wired, expected);  // the texture-filtering box toggles on its own
}

}  // namespace
}  // namespace vlmr::app
