#include "app/launcher_form.h"

#include <string>
#include <string_view>

#include "app/embedded_assets.h"
#include "platform/codepage.h"
#include "runtime/launcher_ids.h"
#include "skin/property_data.h"

namespace vlmr::app {
namespace {

namespace ids = rt::ids;
namespace own = skin::own;
using skin::Kind;
using skin::PropertySet;

constexpr int32_t kCaptionColour = static_cast<int32_t>(0xFFEADBB8);  // parchment
constexpr int32_t kStatusColour = static_cast<int32_t>(0xFFF3E3B0);
constexpr int32_t kPercentColour = static_cast<int32_t>(0xFFFFD66E);  // gold

void Picture(PropertySet& properties, int slot, std::string_view asset) {
  properties.SetBytes(slot, EmbeddedAsset(asset));
}

void Font(PropertySet& properties, int pixelSize, bool bold) {
  properties.SetBytes(own::kFont, skin::EncodeCaptionFont({pixelSize, bold, true}));
}

std::vector<uint8_t> ChoiceBox(std::string_view utf8Caption) {
  PropertySet p(Kind::ChoiceboxEx);
  Picture(p, own::kCheckedSkin, "box_ticked.png");
  Picture(p, own::kUncheckedSkin, "box_unticked.png");
  p.SetNumber(own::kChoiceColour, kCaptionColour);
  p.SetBytes(own::kChoiceCaption, platform::Utf8ToGbk(utf8Caption));
  Font(p, 12, false);
  return p.Encode();
}

// A picture button from button_<name>.png and its _hover and _down variants.
std::vector<uint8_t> Button(std::string_view name, bool withDisabled = false) {
  PropertySet p(Kind::ButtonEx);
  std::string base = "button_" + std::string(name);
  Picture(p, own::kSkin, base + ".png");
  Picture(p, own::kButtonHoverSkin, base + "_hover.png");
  Picture(p, own::kButtonPressedSkin, base + "_down.png");
  if (withDisabled) Picture(p, own::kButtonDisabledSkin, base + "_disabled.png");
  return p.Encode();
}

std::vector<uint8_t> Label(std::string_view utf8Text, int32_t colour, int pixelSize, bool bold) {
  PropertySet p(Kind::LabelEx);
  p.SetNumber(own::kLabelColour, colour);
  p.SetNumber(own::kLabelAlign, 1);
  p.SetBytes(own::kLabelText, platform::Utf8ToGbk(utf8Text));
  Font(p, pixelSize, bold);
  return p.Encode();
}

std::vector<uint8_t> SettingsPanel() {
  PropertySet p(Kind::WindowEx);
  Picture(p, own::kSkin, "settings_panel.png");
  p.SetNumber(own::kVisible, 0);  // hidden at load
  return p.Encode();
}

// A small container whose picture is the whole window's background.
std::vector<uint8_t> Background() {
  PropertySet p(Kind::WindowEx);
  Picture(p, own::kSkin, "background.png");
  p.SetNumber(own::kWindowFillParent, 1);
  return p.Encode();
}

std::vector<uint8_t> AnimatedEmblem() {
  PropertySet p(Kind::PictureBoxEx);
  Picture(p, own::kPicture, "emblem.gif");
  return p.Encode();
}

std::vector<uint8_t> ProgressBar() {
  PropertySet p(Kind::ProgressbarEx);
  Picture(p, own::kTrackSkin, "progress_track.png");
  Picture(p, own::kFillSkin, "progress_fill.png");
  return p.Encode();
}

skin::ControlDescription Control(std::string_view utf8Name, uint32_t id, Kind kind, int left,
                                 int top, int width, int height, uint32_t parentId,
                                 std::vector<uint8_t> data) {
  return {platform::Utf8ToGbk(utf8Name), id, kind, left, top, width, height, parentId,
          std::move(data)};
}

}  // namespace

skin::WindowDescription LauncherWindowDescription(EventTable events) {
  constexpr uint32_t panel = ids::kSettingsPanel;
  constexpr Kind box = Kind::ChoiceboxEx;
  constexpr Kind button = Kind::ButtonEx;
  skin::WindowDescription window;
  window.id = ids::kLauncherWindow;
  window.name = platform::Utf8ToGbk("启动窗口");
  window.title = platform::Utf8ToGbk("Vellmoor登录器");
  window.width = kLauncherWidth;
  window.height = kLauncherHeight;
  window.controls = {
      Control("选择框_旧版", ids::kBoxOldStyle, box, 200, 228, 114, 20, panel, ChoiceBox("旧版")),
      Control("选择框_新版", ids::kBoxNewStyle, box, 200, 250, 74, 20, panel, ChoiceBox("新版")),
      Control("按钮EX10", ids::kButtonReset, button, 112, 340, 70, 22, panel, Button("reset")),
      Control("按钮EX9", ids::kButtonConfirm, button, 35, 340, 70, 22, panel, Button("confirm")),
      Control("选择框EX20", ids::kBoxFourSpeakers, box, 372, 311, 120, 20, panel,
              ChoiceBox("4扬声器")),
      Control("选择框EX21", ids::kBoxSurround, box, 372, 290, 120, 20, panel,
              ChoiceBox("环绕音")),
      Control("选择框EX18", ids::kBoxTwoSpeakers, box, 372, 248, 120, 20, panel,
              ChoiceBox("2扬声器")),
      Control("选择框EX19", ids::kBoxTopSound, box, 372, 269, 120, 20, panel, ChoiceBox("顶音")),
      Control("选择框EX16", ids::kBoxEffectsOn, box, 372, 168, 120, 20, panel, ChoiceBox("打开")),
      Control("选择框EX17", ids::kBoxEffectsOff, box, 372, 189, 120, 20, panel,
              ChoiceBox("关闭")),
      Control("选择框EX14", ids::kBoxMusicOn, box, 372, 88, 120, 20, panel, ChoiceBox("打开")),
      Control("选择框EX15", ids::kBoxMusicOff, box, 372, 109, 120, 20, panel, ChoiceBox("关闭")),
      Control("选择框EX9", ids::kBox56Hz, box, 200, 88, 120, 20, panel, ChoiceBox("56Hz")),
      Control("选择框EX10", ids::kBox60Hz, box, 200, 109, 120, 20, panel, ChoiceBox("60Hz")),
      Control("选择框EX11", ids::kBox70Hz, box, 200, 130, 120, 20, panel, ChoiceBox("70Hz")),
      Control("选择框EX12", ids::kBox72Hz, box, 200, 151, 120, 20, panel, ChoiceBox("72Hz")),
      Control("选择框EX13", ids::kBox75Hz, box, 200, 172, 120, 20, panel, ChoiceBox("75Hz")),
      Control("选择框EX8", ids::kBoxFiltering, box, 35, 296, 239, 20, panel,
              ChoiceBox("使用纹理过滤 (textue filtering)")),
      Control("选择框EX7", ids::kBox1920x1080, box, 35, 248, 120, 20, panel,
              ChoiceBox("1920*1080")),
      Control("选择框EX6", ids::kBox1600x900, box, 35, 227, 120, 20, panel,
              ChoiceBox("1600*900")),
      Control("选择框EX5", ids::kBox1366x768, box, 35, 206, 120, 20, panel,
              ChoiceBox("1366*768")),
      Control("选择框EX4", ids::kBox1024x768, box, 35, 185, 120, 20, panel,
              ChoiceBox("1024*768")),
      Control("选择框EX3", ids::kBox800x600, box, 35, 164, 120, 20, panel, ChoiceBox("800*600")),
      Control("选择框EX1", ids::kBoxWindowed, box, 35, 88, 120, 20, panel, ChoiceBox("窗口模式")),
      Control("选择框EX2", ids::kBoxFullScreen, box, 35, 109, 120, 20, panel,
              ChoiceBox("全屏模式")),
      Control("窗口EX2", panel, Kind::WindowEx, -10, 21, 700, 400, 0, SettingsPanel()),
      Control("图片框EX1", ids::kAnimatedPicture, Kind::PictureBoxEx, 68, 414, 54, 50, 0,
              AnimatedEmblem()),
      Control("标签EX2", ids::kStatusLabel, Kind::LabelEx, 1, 455, 114, 26, 0,
              Label("请点击游戏开始", kStatusColour, 12, false)),
      Control("进度条EX1", ids::kProgressBar, Kind::ProgressbarEx, 120, 456, 480, 14, 0,
              ProgressBar()),
      Control("标签EX1", ids::kPercentLabel, Kind::LabelEx, 5, 423, 63, 33, 0,
              Label("0%", kPercentColour, 15, true)),
      Control("按钮_游戏开始", ids::kStartButton, button, 604, 428, 71, 45, 0,
              Button("start", true)),
      Control("按钮EX7", ids::kShopButton, button, 432, 430, 69, 20, 0, Button("shop")),
      Control("按钮EX6", ids::kForumButton, button, 516, 430, 69, 20, 0, Button("forum")),
      Control("按钮EX5", ids::kRegisterButton, button, 348, 430, 69, 20, 0, Button("register")),
      Control("按钮EX4", ids::kSettingsButton, button, 264, 430, 69, 20, 0, Button("settings")),
      Control("按钮EX2", ids::kCloseButton, button, 652, 6, 14, 14, 0, Button("close")),
      Control("按钮EX1", ids::kMinimiseButton, button, 629, 6, 14, 14, 0, Button("minimise")),
      Control("窗口EX1", ids::kBackground, Kind::WindowEx, -4, 4, 24, 24, 0, Background()),
  };
  window.dispatch = DispatchFrom(std::move(events));
  return window;
}

}  // namespace vlmr::app
