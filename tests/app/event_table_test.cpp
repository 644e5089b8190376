#include "app/event_table.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/runtime/rt_value.h"

namespace vlmr::app {
namespace {

TEST(EventDispatch, RunsTheCreationHandlerAndClicksAndNothingElse) {
  std::vector<int> ran;
  EventTable table;
  table.windowCreated = [&] { ran.push_back(0); };
  table.clicks[0x1601000E] = [&] { ran.push_back(1); };
  table.clicks[0x16010004] = nullptr;  // an entry without a routine
  skin::EventDispatch dispatch = DispatchFrom(std::move(table));

  EXPECT_EQ(dispatch(rt::kWindowUnitId, 0, {}), 0);
  EXPECT_EQ(dispatch(0x1601000E, 0, {}), 0);
  dispatch(0x1601000E, 1, {});  // another event of a control with a click handler
  dispatch(rt::kWindowUnitId, 3, {});
  dispatch(0x16010004, 0, {});
  dispatch(0x16010099, 0, {});  // a control the table does not name
  EXPECT_EQ(ran, (std::vector<int>{0, 1}));
}

}  // namespace
}  // namespace vlmr::app
