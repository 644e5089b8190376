#include "skin/toolkit_dll/scene.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

namespace vlmr::skin::toolkit {
namespace {

std::mutex scenesMutex;
// Scenes live as long as the process: a redraw posted from a worker may
// still be on its way when a window closes.
std::map<HWND, std::unique_ptr<Scene>> scenes;

LRESULT CALLBACK MessageWindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kRedrawMessage) {
    reinterpret_cast<Scene*>(lparam)->OnRedraw();
    return 0;
  }
  if (message == WM_TIMER) {
    KillTimer(window, wparam);
    reinterpret_cast<Scene*>(wparam)->OnRedraw();
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

int64_t NowMs() { return static_cast<int64_t>(GetTickCount64()); }

}  // namespace

HWND ToolkitMessageWindow() {
  static const HWND window = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &MessageWindowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"LumoVostr.Messages";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, windowClass.lpszClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE,
                           nullptr, windowClass.hInstance, nullptr);
  }();
  return window;
}

Scene& SceneFor(HWND root) {
  std::lock_guard lock(scenesMutex);
  auto& scene = scenes[root];
  if (!scene) scene = std::make_unique<Scene>(root, ToolkitMessageWindow());
  return *scene;
}

Scene* FindScene(HWND root) {
  std::lock_guard lock(scenesMutex);
  auto it = scenes.find(root);
  return it == scenes.end() ? nullptr : it->second.get();
}

Scene::~Scene() {
  if (memory_) {
    SelectObject(memory_, previousBitmap_);
    DeleteDC(memory_);
  }
  if (bitmap_) DeleteObject(bitmap_);
}

void Scene::RequestRedraw() {
  dirty_ = true;
  if (queued_.exchange(true)) return;
  // A redraw that could not be posted must not block every later one.
  if (!PostMessageW(messageWindow_, kRedrawMessage, 0, reinterpret_cast<LPARAM>(this))) queued_ = false;
}

void Scene::AddRoot(Control* control) {
  auto at = std::upper_bound(roots_.begin(), roots_.end(), control,
                             [](Control* a, Control* b) { return a->zOrder() < b->zOrder(); });
  roots_.insert(at, control);
}

void Scene::Forget(Control* control) {
  std::erase(roots_, control);
  pointer_.Forget(control);
  painter_.Forget(control);
  RequestRedraw();
}

void Scene::OnRedraw() {
  queued_ = false;
  dirty_ = true;
  if (IsWindow(root_)) RedrawWindow(root_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

bool Scene::EnsureBackBuffer(int width, int height) {
  if (bitmap_ && width == width_ && height == height_) return true;
  if (!memory_) {
    memory_ = CreateCompatibleDC(nullptr);
    if (!memory_) return false;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return false;
  HGDIOBJ previous = SelectObject(memory_, bitmap);
  if (bitmap_) {
    DeleteObject(bitmap_);
  } else {
    previousBitmap_ = previous;
  }
  bitmap_ = bitmap;
  bits_ = bits;
  width_ = width;
  height_ = height;
  return true;
}

void Scene::Render() {
  RECT client{};
  GetClientRect(root_, &client);
  int width = std::max<int>(1, client.right);
  int height = std::max<int>(1, client.bottom);
  if (!EnsureBackBuffer(width, height)) return;
  GdiFlush();  // GDI may still be reading the bits for a blit it batched
  dirty_ = false;
  Gdiplus::Bitmap target(width, height, width * 4, PixelFormat32bppPARGB,
                         static_cast<BYTE*>(bits_));
  Gdiplus::Graphics graphics(&target);
  graphics.Clear(Gdiplus::Color(255, 0, 0, 0));
  graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
  painter_.Paint(graphics, roots_, width, height, NowMs());
  int64_t untilNext = painter_.MsUntilNextFrame();
  if (untilNext >= 0) {
    SetTimer(messageWindow_, reinterpret_cast<UINT_PTR>(this),
             static_cast<UINT>(std::max<int64_t>(untilNext, USER_TIMER_MINIMUM)), nullptr);
  }
}

bool Scene::PaintInto(HWND window, HDC dc) {
  if (dirty_ || !bitmap_) Render();
  if (!bitmap_) return false;
  RECT area{};
  GetClientRect(window, &area);
  POINT origin = ToRoot(window, 0, 0);
  return BitBlt(dc, 0, 0, area.right, area.bottom, memory_, origin.x, origin.y, SRCCOPY) != FALSE;
}

POINT Scene::ToRoot(HWND window, int x, int y) const {
  POINT point{x, y};
  MapWindowPoints(window, root_, &point, 1);
  return point;
}

void Scene::PointerMoved(HWND window, int x, int y) {
  POINT at = ToRoot(window, x, y);
  pointer_.Move(roots_, at.x, at.y);
}

void Scene::PointerPressed(HWND window, int x, int y) {
  POINT at = ToRoot(window, x, y);
  pointer_.Press(roots_, at.x, at.y);
}

void Scene::PointerReleased(HWND window, int x, int y) {
  POINT at = ToRoot(window, x, y);
  pointer_.Release(roots_, at.x, at.y);
}

void Scene::PointerPressCancelled() { pointer_.CancelPress(); }

void Scene::PointerLeft() { pointer_.Leave(); }

}  // namespace vlmr::skin::toolkit
