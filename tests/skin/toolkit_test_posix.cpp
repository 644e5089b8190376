// The toolkit interface: create from stored data, own-property access by
// number, get-all, and the host's event rules.
#include "skin/toolkit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "runtime/launcher_ids.h"
#include "runtime/rt_blocks.h"
#include "runtime/rt_heap.h"
#include "skin/host_window.h"
#include "skin/property_data.h"
#include "skin_test_support.h"
#include "support/environment.h"

namespace vlmr::skin {
namespace {

using namespace rt::literals;

uint64_t Word(const void* p) { return reinterpret_cast<uintptr_t>(p); }

class Toolkit : public testing::Test {
 protected:
  void SetUp() override {
    test::UseOffscreenVideo();
    ASSERT_TRUE(OpenToolkitCore());
  }
  Control* Make(Kind kind, const PropertySet& data) {
    std::vector<uint8_t> block = data.Encode();
    return CreateControl(kind, block, {nullptr, nullptr, 0x16010001, {1, 2, 3, 4}, 0}, nullptr,
                         nullptr);
  }
};

TEST_F(Toolkit, CreatesFromStoredDataAndReadsEachSlotType) {
  PropertySet data(Kind::LabelEx);
  data.SetBytes(own::kLabelText, "\xc4\xe3\xba\xc3");  // GBK "你好"
  data.SetNumber(own::kLabelAlign, 2);
  data.SetBytes(own::kSkin, "blob");
  Control* label = Make(Kind::LabelEx, data);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(ControlGetLeft(label), 1);
  EXPECT_EQ(ControlGetHeight(label), 4);
  EXPECT_EQ(ControlSendMessage(label, kMessageGetProperty, own::kVisible, 0), 1u);
  EXPECT_EQ(ControlSendMessage(label, kMessageGetProperty, own::kLabelAlign, 0), 2u);
  rt::Text text(reinterpret_cast<char*>(ControlSendMessage(label, kMessageGetProperty,
                                                           own::kLabelText, 0)));
  EXPECT_EQ(text.view(), "\xc4\xe3\xba\xc3");
  rt::Bytes blob(reinterpret_cast<uint8_t*>(ControlSendMessage(label, kMessageGetProperty,
                                                               own::kSkin, 0)));
  EXPECT_EQ(blob.view(), "blob");
  ControlDestroy(label);
}

TEST_F(Toolkit, WritesCopyTheirValueAndGetAllAppliesThem) {
  PropertySet data(Kind::ButtonEx);
  data.SetBytes(own::kSkin, "picture");
  Control* button = Make(Kind::ButtonEx, data);
  ASSERT_NE(button, nullptr);
  std::string caption = "caption";
  ControlSendMessage(button, kMessageSetProperty, own::kButtonCaption, Word(caption.c_str()));
  caption[0] = 'X';  // the control kept its own copy
  ControlSendMessage(button, kMessageSetProperty, own::kDisabled, 1);
  rt::Bytes blob(rt::NewByteArray("new", 3));
  ControlSendMessage(button, kMessageSetProperty, own::kButtonHoverSkin, Word(blob.get()));
  ControlSendMessage(button, kMessageSetProperty, 99, 5);  // no such slot: ignored

  rt::Bytes all(reinterpret_cast<uint8_t*>(ControlSendMessage(button, kMessageGetAllData, 0, 0)));
  auto back = PropertySet::Decode({all.data(), static_cast<size_t>(all.size())}, nullptr);
  ASSERT_TRUE(back);
  PropertySet expected = data;
  expected.SetBytes(own::kButtonCaption, "caption");
  expected.SetNumber(own::kDisabled, 1);
  expected.SetBytes(own::kButtonHoverSkin, "new");
  EXPECT_EQ(back->Encode(), expected.Encode());
  EXPECT_EQ(ControlSendMessage(button, kMessageGetProperty, 99, 0), 0u);
  ControlDestroy(button);
}

TEST_F(Toolkit, RefusesMalformedDataOrDataOfAnotherKind) {
  PropertySet label(Kind::LabelEx);
  EXPECT_EQ(Make(Kind::ButtonEx, label), nullptr);
  std::vector<uint8_t> junk = {1, 2, 3};
  EXPECT_EQ(CreateControl(Kind::LabelEx, junk, {}, nullptr, nullptr), nullptr);
}

TEST_F(Toolkit, HostIgnoresNoticesAndNumbersEventsFromTheClick) {
  std::vector<std::pair<uint32_t, int32_t>> seen;
  EventDispatch dispatch = [&](uint32_t control, int32_t event, const EventArgs& args) {
    seen.push_back({control, event});
    return args[0] + 1;
  };
  ControlDescription description{"b", rt::ids::kStartButton, Kind::ButtonEx, 0, 0, 10, 10, 0, {}};
  Host host(description, &dispatch);
  EXPECT_EQ(Host::OnToolkitEvent(&host, kEventClick, 41, 0, 0, 0), 42);
  EXPECT_EQ(Host::OnToolkitEvent(&host, 661, 0, 0, 0, 0), 1);
  EXPECT_EQ(Host::OnToolkitEvent(&host, 700, 5, 0, 0, 0), 0);
  EXPECT_EQ(Host::OnToolkitEvent(&host, 12345, 5, 0, 0, 0), 0);
  EXPECT_EQ(seen, (std::vector<std::pair<uint32_t, int32_t>>{{rt::ids::kStartButton, 0}, {rt::ids::kStartButton, 1}}));
}

// Without its drawing core the toolkit creates nothing and says which file is
// missing, once for each kind.
TEST(ToolkitWithoutCore, ShowsTheMissingCoreMessageOncePerKind) {
  EXPECT_EXIT(
      {
        test::SetEnvironment("SDL_VIDEODRIVER", "no-such-driver");
        std::vector<uint8_t> button = PropertySet(Kind::ButtonEx).Encode();
        std::vector<uint8_t> label = PropertySet(Kind::LabelEx).Encode();
        bool none = !CreateControl(Kind::ButtonEx, button, {}, nullptr, nullptr) &&
                    !CreateControl(Kind::ButtonEx, button, {}, nullptr, nullptr) &&
                    !CreateControl(Kind::LabelEx, label, {}, nullptr, nullptr);
        std::exit(none ? 0 : 1);
      },
      testing::ExitedWithCode(0),
      "警告: 程序缺少界面运行库必须依赖的核心文件 LumoVostr_Win32.lib 文件,请在软件发布时携带此文件\n"
      "警告: 程序缺少界面运行库必须依赖的核心文件 LumoVostr_Win32.lib 文件,请在软件发布时携带此文件\n$");
}

}  // namespace
}  // namespace vlmr::skin
