// The Windows window system with the toolkit DLL loaded from memory, against
// a small window of every kind: real windows under Wine, mouse messages sent
// to the controls' own windows, pictures read back through the toolkit's
// paint entry.
#include "skin/win32_window_system.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <gdiplus.h>
#include <shlwapi.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "runtime/rt_blocks.h"
#include "runtime/rt_heap.h"
#include "runtime/rt_value.h"
#include "runtime/window_system.h"
#include "platform/toolkit_binding.h"
#include "skin/control_messages.h"
#include "skin/property_data.h"
#include "skin/toolkit_entries.h"

namespace vlmr::skin {
namespace {

using namespace rt::literals;
namespace ids = rt::ids;

constexpr uint32_t kWindow = 0x52019998;
constexpr uint32_t kPanel = 0x16019101, kBox = 0x16019102, kButton = 0x16019103,
                   kLabel = 0x16019104, kBar = 0x16019105, kBack = 0x16019106;
constexpr uint32_t kPanelPage = 7;
constexpr Gdiplus::ARGB kGrey = 0xFF808080, kRed = 0xFFFF0000, kBlack = 0xFF000000,
                        kWhite = 0xFFFFFFFF;

// A PNG of one colour, encoded by GDI+.
std::string SolidPng(int width, int height, Gdiplus::ARGB colour) {
  static const bool started = [] {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
  }();
  EXPECT_TRUE(started);
  Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
  Gdiplus::Graphics(&bitmap).Clear(Gdiplus::Color(colour));
  UINT count = 0, size = 0;
  Gdiplus::GetImageEncodersSize(&count, &size);
  std::vector<uint8_t> buffer(size);
  auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  Gdiplus::GetImageEncoders(count, size, encoders);
  IStream* stream = SHCreateMemStream(nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    if (std::wstring(encoders[i].MimeType) == L"image/png") bitmap.Save(stream, &encoders[i].Clsid, nullptr);
  }
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  std::string png(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
  LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  stream->Read(png.data(), static_cast<ULONG>(png.size()), &read);
  stream->Release();
  return png;
}

ControlDescription Control(uint32_t id, Kind kind, int left, int top, int width, int height,
                           uint32_t parent, const PropertySet& properties) {
  return {"c", id, kind, left, top, width, height, parent, properties.Encode()};
}

WindowDescription TestWindow(std::vector<std::pair<uint32_t, int32_t>>* events) {
  PropertySet panel(Kind::WindowEx);
  panel.SetPageId(kPanelPage);
  PropertySet box(Kind::ChoiceboxEx);
  box.SetBytes(own::kCheckedSkin, SolidPng(14, 14, kWhite));
  box.SetBytes(own::kUncheckedSkin, SolidPng(14, 14, kBlack));
  PropertySet button(Kind::ButtonEx);
  button.SetBytes(own::kSkin, SolidPng(60, 20, kWhite));
  PropertySet label(Kind::LabelEx);
  PropertySet bar(Kind::ProgressbarEx);
  bar.SetBytes(own::kTrackSkin, SolidPng(200, 10, kBlack));
  bar.SetBytes(own::kFillSkin, SolidPng(200, 10, kRed));
  PropertySet back(Kind::WindowEx);
  back.SetBytes(own::kSkin, SolidPng(320, 200, kGrey));
  back.SetNumber(own::kWindowFillParent, 1);

  WindowDescription window;
  window.id = kWindow;
  window.title = "skin test";
  window.width = 320;
  window.height = 200;
  window.controls = {
      Control(kBox, Kind::ChoiceboxEx, 10, 10, 100, 20, kPanel, box),
      Control(kButton, Kind::ButtonEx, 200, 20, 60, 20, 0, button),
      Control(kLabel, Kind::LabelEx, 10, 150, 100, 20, 0, label),
      Control(kBar, Kind::ProgressbarEx, 10, 180, 200, 10, 0, bar),
      Control(kPanel, Kind::WindowEx, 0, 40, 150, 100, 0, panel),
      Control(kBack, Kind::WindowEx, 0, 0, 8, 8, 0, back),
  };
  window.dispatch = [events](uint32_t id, int32_t event, const EventArgs&) {
    if (id != rt::kWindowUnitId) events->emplace_back(id, event);
    return 0;
  };
  return window;
}

class Win32WindowSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    windows_.RegisterWindow(TestWindow(&events_));
    rt::InstallWindowSystem(&windows_);
    ASSERT_TRUE(windows_.LoadWindow(kWindow));
    root_ = FindWindowW(L"Vellmoor.LauncherWindow", L"skin test");
    ASSERT_NE(root_, nullptr);
  }
  void TearDown() override {
    if (IsWindow(root_)) DestroyWindow(root_);
    Pump();
    rt::InstallWindowSystem(nullptr);
  }

  static void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  HWND Host(uint32_t id) const {
    HWND parent = id == kBox ? GetDlgItem(root_, static_cast<int>(kPanel)) : root_;
    return GetDlgItem(parent, static_cast<int>(id));
  }
  // The toolkit's own window inside the host.
  static HWND ControlWindow(HWND host) { return FindWindowExW(host, nullptr, L"LumoVostr.Control", nullptr); }
  void Click(uint32_t id) {
    HWND window = ControlWindow(Host(id));
    RECT area{};
    GetClientRect(window, &area);
    LPARAM at = MAKELPARAM(area.right / 2, area.bottom / 2);
    SendMessageW(window, WM_MOUSEMOVE, 0, at);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(window, WM_LBUTTONUP, 0, at);
  }
  int32_t Number(uint32_t id, int32_t slot) {
    return static_cast<int32_t>(windows_.GetProperty(kWindow, id, slot, -1));
  }
  void SetNumber(uint32_t id, int32_t slot, int32_t value) {
    windows_.SetProperty(kWindow, id, slot, -1, static_cast<uint32_t>(value), 0);
  }
  // The colour the window shows at (x, y), as 0xRRGGBB.
  uint32_t Shown(int x, int y) {
    RECT area{};
    GetClientRect(root_, &area);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, area.right, area.bottom);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    Toolkit().callInternal(abi::kInternalPaintTopLevel, reinterpret_cast<intptr_t>(root_),
                           reinterpret_cast<intptr_t>(memory));
    COLORREF pixel = GetPixel(memory, x, y);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return (GetRValue(pixel) << 16) | (GetGValue(pixel) << 8) | GetBValue(pixel);
  }

  std::vector<std::pair<uint32_t, int32_t>> events_;
  Win32WindowSystem windows_;
  HWND root_ = nullptr;
};

TEST_F(Win32WindowSystemTest, HostWindowsKeepTheHostContractAndTheToolkitIsNoFile) {
  RECT client{};
  GetClientRect(root_, &client);
  EXPECT_EQ(client.right, 320);
  EXPECT_EQ(client.bottom, 200);
  for (uint32_t id : {kBox, kButton, kLabel, kBar, kPanel, kBack}) {
    HWND host = Host(id);
    ASSERT_NE(host, nullptr) << std::hex << id;
    wchar_t name[64];
    GetClassNameW(host, name, 64);
    std::wstring className(name);
    EXPECT_EQ(className.rfind(L"Lumo.", 0), 0u) << std::hex << id;
    EXPECT_EQ(GetClassLongW(host, GCL_STYLE), 11u);
    // Asked for with WS_EX_TOPMOST too, which the system keeps for top-level
    // windows only.
    EXPECT_NE(GetWindowLongW(host, GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);
    EXPECT_NE(GetWindowLongW(host, GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(static_cast<uint32_t>(GetDlgCtrlID(host)), id);
    EXPECT_NE(GetPropW(host, L"hUnit"), nullptr);
    EXPECT_NE(GetPropW(host, L"Tab_Control"), nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(GetPropW(host, L"PageId_F")), id == kPanel ? kPanelPage : 0u);
  }
  wchar_t name[64];
  GetClassNameW(Host(kButton), name, 64);
  EXPECT_NE(std::wstring(name).find(L".ButtonEx"), std::wstring::npos);
  // Loaded from memory: the system loader knows no such module.
  EXPECT_EQ(GetModuleHandleW(L"LumoVostr_Win32.dll"), nullptr);
}

TEST_F(Win32WindowSystemTest, TheToolkitExportsItsEntriesByNameWithKindChecksAndImages) {
  platform::ToolkitLookup lookup = platform::BoundToolkitLookup();
  ASSERT_NE(lookup, nullptr);
  auto* module = reinterpret_cast<void*>(Toolkit().module);
  for (const char* name :
       {"CreateControl_WindowEx", "CreateControl_PictureBoxEx", "CreateControl_LabelEx",
        "CreateControl_ButtonEx", "CreateControl_ChoiceboxEx", "CreateControl_ProgressbarEx",
        "ControlSendMessage", "SetAttribute_ButtonEx", "GetAttribute_ProgressbarEx",
        "ControlDestroy", "ControlIsCreate", "ControlSetRect", "ControlGetLeft", "ControlGetTop",
        "ControlGetWidth", "ControlGetHeight", "LoadImageEx", "DestroyImageEx",
        "GetImageAttributeEx", "GetImageData", "CallInternalFunction_Ex"}) {
    EXPECT_NE(lookup(module, name), nullptr) << name;
  }
  EXPECT_EQ(lookup(module, "controlsendmessage"), nullptr);

  // The per-kind setters touch controls of their own kind only.
  using SetAttribute = void(VLMR_WINAPI*)(void*, int32_t, uint64_t);
  using IsCreate = int32_t(VLMR_WINAPI*)(void*);
  auto setButton = reinterpret_cast<SetAttribute>(lookup(module, "SetAttribute_ButtonEx"));
  auto setBox = reinterpret_cast<SetAttribute>(lookup(module, "SetAttribute_ChoiceboxEx"));
  auto isCreate = reinterpret_cast<IsCreate>(lookup(module, "ControlIsCreate"));
  void* box = GetPropW(Host(kBox), L"Tab_Control");
  EXPECT_EQ(isCreate(box), 1);
  setButton(box, own::kChecked, 1);
  EXPECT_EQ(Number(kBox, ids::kSlotChecked), 0);
  setBox(box, own::kChecked, 1);
  EXPECT_EQ(Number(kBox, ids::kSlotChecked), 1);

  using LoadImage = void*(VLMR_WINAPI*)(const uint8_t*, int32_t);
  using ImageAttribute = int32_t(VLMR_WINAPI*)(void*, int32_t);
  using ImageData = void*(VLMR_WINAPI*)(void*);
  using DestroyImage = void(VLMR_WINAPI*)(void*);
  auto load = reinterpret_cast<LoadImage>(lookup(module, "LoadImageEx"));
  auto attribute = reinterpret_cast<ImageAttribute>(lookup(module, "GetImageAttributeEx"));
  auto data = reinterpret_cast<ImageData>(lookup(module, "GetImageData"));
  auto destroy = reinterpret_cast<DestroyImage>(lookup(module, "DestroyImageEx"));
  std::string png = SolidPng(21, 13, kRed);
  void* image = load(reinterpret_cast<const uint8_t*>(png.data()), static_cast<int32_t>(png.size()));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(attribute(image, 0), 21);
  EXPECT_EQ(attribute(image, 1), 13);
  EXPECT_EQ(attribute(image, 2), 1);
  void* bytes = data(image);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(rt::ByteArrayData(bytes)),
                        static_cast<size_t>(rt::ByteArrayLength(bytes))), png);
  rt::rt_free(bytes);
  destroy(image);
  const uint8_t garbage[] = {'G', 'I', 'F', '8', '9', 'a', 0, 0};
  EXPECT_EQ(load(garbage, sizeof garbage), nullptr);
}

TEST_F(Win32WindowSystemTest, ClicksRaiseEventZeroAsTheStateSlotsAllow) {
  Click(kBox);
  EXPECT_EQ(Number(kBox, ids::kSlotChecked), 1);  // toggled before the handler ran
  SetNumber(kBox, ids::kSlotChecked, 1);          // writing raises nothing
  Click(kButton);
  EXPECT_EQ(events_, (std::vector<std::pair<uint32_t, int32_t>>{{kBox, 0}, {kButton, 0}}));

  SetNumber(kButton, ids::kSlotDisabled, 1);
  SetNumber(kPanel, ids::kSlotVisible, 0);
  Click(kButton);
  Click(kBox);
  EXPECT_EQ(events_.size(), 2u);
  EXPECT_EQ(Number(kBox, ids::kSlotChecked), 1);

  SetNumber(kButton, ids::kSlotDisabled, 0);
  SetNumber(kPanel, ids::kSlotVisible, 1);
  Click(kBox);
  EXPECT_EQ(Number(kBox, ids::kSlotChecked), 0);
  EXPECT_EQ(events_.size(), 3u);

  // A press whose mouse capture another window takes is abandoned: a later
  // release over the button clicks nothing.
  HWND button = ControlWindow(Host(kButton));
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ReleaseCapture();
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(events_.size(), 3u);
}

TEST_F(Win32WindowSystemTest, AWorkerWritesAndReadsWithoutWaitingForTheUiThread) {
  // The UI thread does not pump while the worker runs.
  auto worker = std::async(std::launch::async, [this] {
    for (int i = 0; i <= 100; ++i) {
      SetNumber(kBar, ids::kSlotPosition, i);
      auto text = static_cast<uint64_t>(reinterpret_cast<uintptr_t>("正在更新文件"_t));
      windows_.SetProperty(kWindow, kLabel, ids::kSlotText, -1, static_cast<uint32_t>(text),
                           static_cast<uint32_t>(text >> 32));
      Number(kBox, ids::kSlotChecked);
    }
  });
  ASSERT_EQ(worker.wait_for(std::chrono::seconds(20)), std::future_status::ready);
  Pump();
  EXPECT_EQ(Number(kBar, ids::kSlotPosition), 100);
  rt::Text text(reinterpret_cast<char*>(windows_.GetProperty(kWindow, kLabel, ids::kSlotText, -1)));
  EXPECT_EQ(text.view(), rt::TextView("正在更新文件"_t));
}

TEST_F(Win32WindowSystemTest, AWorkersBoxIsShownByTheUiThreadOverTheWindowAndAnswersTheWorker) {
  auto worker = std::async(std::launch::async, [this] {
    return windows_.ShowMessageBox("继续吗"_t, rt::kMbYesNo, "提示"_t);
  });
  // The player: finds the box and presses Yes.
  auto player = std::async(std::launch::async, [] {
    for (int i = 0; i < 400; ++i) {
      if (HWND box = FindWindowW(L"#32770", L"提示")) {
        HWND owner = GetWindow(box, GW_OWNER);
        PostMessageW(box, WM_COMMAND, IDYES, 0);
        return owner;
      }
      Sleep(25);
    }
    return HWND{};
  });
  while (worker.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) Pump();
  EXPECT_EQ(worker.get(), rt::kBoxYes);
  EXPECT_EQ(player.get(), root_);
}

TEST_F(Win32WindowSystemTest, TheTreeIsPaintedBottomUpAndFollowsItsProperties) {
  EXPECT_EQ(Shown(300, 100), 0x808080u);  // the background covers the window
  EXPECT_EQ(Shown(205, 185), 0x000000u);  // the progress track
  SetNumber(kBar, ids::kSlotPosition, 100);
  Pump();
  EXPECT_EQ(Shown(205, 185), 0xFF0000u);  // filled
  EXPECT_EQ(Shown(15, 60), 0x000000u);    // the box inside the panel, unticked
  SetNumber(kPanel, ids::kSlotVisible, 0);
  Pump();
  EXPECT_EQ(Shown(15, 60), 0x808080u);    // hidden with its container
}

TEST_F(Win32WindowSystemTest, AMovedHostTakesItsControlAlongAndClosingDestroysEveryControl) {
  windows_.SetProperty(kWindow, kButton, 0, -1, 120, 0);  // left
  windows_.SetProperty(kWindow, kButton, 2, -1, 80, 0);   // width
  Pump();
  void* control = GetPropW(Host(kButton), L"Tab_Control");
  EXPECT_EQ(Toolkit().getLeft(control), 120);
  EXPECT_EQ(Toolkit().getTop(control), 20);
  EXPECT_EQ(Toolkit().getWidth(control), 80);
  RECT area{};
  GetClientRect(ControlWindow(Host(kButton)), &area);
  EXPECT_EQ(area.right, 80);

  windows_.SendWindowMessage(kWindow, rt::kWmClose, 0, 0);
  windows_.RunMessageLoop();  // returns once the last window is gone
  EXPECT_FALSE(IsWindow(root_));
  EXPECT_TRUE(windows_.IsWindowLoaded(kWindow));
  EXPECT_EQ(Number(kBox, ids::kSlotChecked), 0);  // no control answers any more
}

}  // namespace
}  // namespace vlmr::skin
