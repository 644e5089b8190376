// Ids of the launcher window and its controls as the window description holds
// them, and the property slots the launcher logic reads and writes. Every part
// of the launcher that addresses a control through the call frame uses these.
#pragma once

#include <cstdint>

namespace vlmr::rt::ids {

inline constexpr uint32_t kLauncherWindow = 0x52010001;

// Settings panel and its children.
inline constexpr uint32_t kBoxOldStyle = 0x16018D7A;     // 选择框_旧版
inline constexpr uint32_t kBoxNewStyle = 0x16018D7B;     // 选择框_新版
inline constexpr uint32_t kButtonReset = 0x1601012C;     // 按钮EX10
inline constexpr uint32_t kButtonConfirm = 0x1601012B;   // 按钮EX9
inline constexpr uint32_t kBoxFourSpeakers = 0x16010068; // 选择框EX20 "4扬声器"
inline constexpr uint32_t kBoxSurround = 0x16010069;     // 选择框EX21 "环绕音"
inline constexpr uint32_t kBoxTwoSpeakers = 0x16010064;  // 选择框EX18 "2扬声器"
inline constexpr uint32_t kBoxTopSound = 0x16010065;     // 选择框EX19 "顶音"
inline constexpr uint32_t kBoxEffectsOn = 0x16010060;    // 选择框EX16 "打开"
inline constexpr uint32_t kBoxEffectsOff = 0x16010061;   // 选择框EX17 "关闭"
inline constexpr uint32_t kBoxMusicOn = 0x1601005E;      // 选择框EX14 "打开"
inline constexpr uint32_t kBoxMusicOff = 0x1601005F;     // 选择框EX15 "关闭"
inline constexpr uint32_t kBox56Hz = 0x16010059;         // 选择框EX9
inline constexpr uint32_t kBox60Hz = 0x1601005A;         // 选择框EX10
inline constexpr uint32_t kBox70Hz = 0x1601005B;         // 选择框EX11
inline constexpr uint32_t kBox72Hz = 0x1601005C;         // 选择框EX12
inline constexpr uint32_t kBox75Hz = 0x1601005D;         // 选择框EX13
inline constexpr uint32_t kBoxFiltering = 0x16010058;    // 选择框EX8
inline constexpr uint32_t kBox1920x1080 = 0x16010057;    // 选择框EX7
inline constexpr uint32_t kBox1600x900 = 0x16010055;     // 选择框EX6
inline constexpr uint32_t kBox1366x768 = 0x16010056;     // 选择框EX5
inline constexpr uint32_t kBox1024x768 = 0x16010051;     // 选择框EX4
inline constexpr uint32_t kBox800x600 = 0x16010052;      // 选择框EX3
inline constexpr uint32_t kBoxWindowed = 0x1601004C;     // 选择框EX1 "窗口模式"
inline constexpr uint32_t kBoxFullScreen = 0x1601004D;   // 选择框EX2 "全屏模式"
inline constexpr uint32_t kSettingsPanel = 0x16010046;   // 窗口EX2

// Main window controls.
inline constexpr uint32_t kAnimatedPicture = 0x16010019; // 图片框EX1
inline constexpr uint32_t kStatusLabel = 0x16010011;     // 标签EX2
inline constexpr uint32_t kProgressBar = 0x16010010;     // 进度条EX1
inline constexpr uint32_t kPercentLabel = 0x1601000F;    // 标签EX1
inline constexpr uint32_t kStartButton = 0x1601000E;     // 按钮_游戏开始
inline constexpr uint32_t kShopButton = 0x1601000C;      // 按钮EX7
inline constexpr uint32_t kForumButton = 0x1601000B;     // 按钮EX6
inline constexpr uint32_t kRegisterButton = 0x1601000A;  // 按钮EX5
inline constexpr uint32_t kSettingsButton = 0x16010009;  // 按钮EX4
inline constexpr uint32_t kCloseButton = 0x16010005;     // 按钮EX2
inline constexpr uint32_t kMinimiseButton = 0x16010004;  // 按钮EX1
inline constexpr uint32_t kBackground = 0x16010002;      // 窗口EX1

// Property slots (8 and above are the control kind's own properties; the
// skin toolkit numbers those from 0 and derives its numbers from these).
inline constexpr int32_t kFirstOwnSlot = 8;
inline constexpr int32_t kSlotVisible = 8;
inline constexpr int32_t kSlotDisabled = 9;
inline constexpr int32_t kSlotChecked = 16;   // choice box
inline constexpr int32_t kSlotPosition = 16;  // progress bar
inline constexpr int32_t kSlotText = 20;      // label
inline constexpr int32_t kPlainProperty = -1; // element index of a non-array property

}  // namespace vlmr::rt::ids
