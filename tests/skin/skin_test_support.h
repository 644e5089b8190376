// Helpers of the skin tests: solid pictures, clicks and keys through the SDL
// event queue, pixels of SDL surfaces, and SDL's offscreen driver when the
// environment names none.
#pragma once

#include <SDL2/SDL.h>

#include <cstdint>
#include <string>

#include "skin/sdl_window_system.h"

namespace vlmr::test {

// Selects SDL's offscreen video driver unless SDL_VIDEODRIVER is already set.
void UseOffscreenVideo();

// A PNG file's bytes: width x height pixels of one colour (0xRRGGBBAA).
std::string SolidPng(int width, int height, uint32_t rgba);

// Pushes a left-button press and release at window coordinates (x, y) into
// SDL's event queue and lets the window system handle them.
void ClickAt(skin::SdlWindowSystem& windows, uint32_t windowId, int x, int y);

// Pushes a press of `key` at the SDL window `nativeWindowId` into SDL's event queue.
void PushKeyPress(uint32_t nativeWindowId, SDL_Keycode key);
// Pushes a click on the close button of the SDL window `nativeWindowId`.
void PushCloseButton(uint32_t nativeWindowId);

// The pixel at (x, y) of a surface of four bytes a pixel, as 0xRRGGBBAA.
uint32_t PixelRgba(SDL_Surface* surface, int x, int y);
// What the window shows at (x, y) since it was last drawn, without drawing it.
uint32_t ShownPixel(skin::SdlWindowSystem& windows, uint32_t windowId, int x, int y);

}  // namespace vlmr::test
