#include "skin/toolkit_dll/scene_painter.h"

#include <algorithm>

#include "skin/paint_choices.h"
#include "skin/property_data.h"
#include "skin/toolkit_dll/caption_font.h"

namespace vlmr::skin::toolkit {
namespace {

constexpr int kCaptionGap = 5;  // between a choice box's tick and its caption

// The caption's colour (0xAARRGGBB), at the given opacity, lifted towards
// white under the pointer.
Gdiplus::Color ColourOf(int32_t argb, int alpha, bool brighten) {
  auto v = static_cast<uint32_t>(argb);
  auto channel = [brighten](uint32_t c) {
    c &= 0xFF;
    return static_cast<BYTE>(brighten ? c + (255 - c) * 2 / 5 : c);
  };
  return Gdiplus::Color(static_cast<BYTE>(alpha), channel(v >> 16), channel(v >> 8), channel(v));
}

}  // namespace

void ScenePainter::Paint(Gdiplus::Graphics& graphics, const std::vector<Control*>& roots,
                         int width, int height, int64_t nowMs) {
  graphics_ = &graphics;
  nowMs_ = nowMs;
  nextFrameMs_ = -1;
  Area window(0, 0, width, height);
  for (auto it = roots.rbegin(); it != roots.rend(); ++it) PaintTree(**it, window);
  graphics_ = nullptr;
}

void ScenePainter::PaintTree(Control& control, Area parentArea) {
  PropertySet properties = control.Properties();
  if (!control.HostShown() || properties.Number(own::kVisible) == 0) return;
  Rect r = control.rect();
  Area area(parentArea.X + r.x, parentArea.Y + r.y, r.w, r.h);
  PaintControl(control, properties, area, parentArea);
  const auto& children = control.children();
  for (auto it = children.rbegin(); it != children.rend(); ++it) PaintTree(**it, area);
}

void ScenePainter::PaintControl(Control& control, const PropertySet& properties, Area area,
                                Area parentArea) {
  int alpha = Opacity(properties);
  switch (control.kind()) {
    case Kind::WindowEx: {
      Sprite skin = PictureFrame(control, properties, own::kSkin);
      if (properties.Number(own::kWindowFillParent) != 0) {
        DrawSprite(skin, Area(parentArea.X, parentArea.Y, skin.width, skin.height), alpha);
      } else {
        DrawSprite(skin, area, alpha);
      }
      break;
    }
    case Kind::PictureBoxEx: {
      int64_t now = nowMs_;
      if (properties.Number(own::kPictureAnimate) == 0) nowMs_ = kStillClock;
      DrawSprite(PictureFrame(control, properties, PictureBoxSlot(properties)), area, alpha);
      nowMs_ = now;
      break;
    }
    case Kind::LabelEx:
      DrawSprite(PictureFrame(control, properties, own::kSkin), area, alpha);
      PaintCaption(properties, own::kLabelText, own::kLabelColour, area,
                   properties.Number(own::kLabelAlign), false);
      break;
    case Kind::ButtonEx: PaintButton(control, properties, area); break;
    case Kind::ChoiceboxEx: PaintChoicebox(control, properties, area); break;
    case Kind::ProgressbarEx: PaintProgressbar(control, properties, area); break;
  }
}

void ScenePainter::PaintButton(Control& control, const PropertySet& properties, Area area) {
  Look look = ButtonLook(control, properties);
  DrawSprite(PictureFrame(control, properties, look.slot), area, look.alpha);
  PaintCaption(properties, own::kButtonCaption, own::kButtonColour, area, 1, control.hovered());
}

void ScenePainter::PaintChoicebox(Control& control, const PropertySet& properties, Area area) {
  Look look = ChoiceboxLook(properties);
  Sprite box = PictureFrame(control, properties, look.slot);
  DrawSprite(box, Area(area.X, area.Y + (area.Height - box.height) / 2, box.width, box.height),
             look.alpha);
  int captionLeft = box.width > 0 ? box.width + kCaptionGap : 0;
  PaintCaption(properties, own::kChoiceCaption, own::kChoiceColour,
               Area(area.X + captionLeft, area.Y, area.Width - captionLeft, area.Height), 0,
               control.hovered());
}

void ScenePainter::PaintProgressbar(Control& control, const PropertySet& properties, Area area) {
  int alpha = Opacity(properties);
  DrawSprite(PictureFrame(control, properties, own::kTrackSkin), area, alpha);
  std::optional<double> fraction = ProgressFraction(properties);
  if (!fraction) return;
  Sprite fill = PictureFrame(control, properties, own::kFillSkin);
  int shownWidth = static_cast<int>(area.Width * *fraction + 0.5);
  if (shownWidth <= 0 || !fill.bitmap) return;
  Area source(0, 0, std::max(1, static_cast<int>(fill.width * *fraction + 0.5)), fill.height);
  DrawSprite(fill, Area(area.X, area.Y, shownWidth, area.Height), alpha, &source);
}

void ScenePainter::PaintCaption(const PropertySet& properties, int textSlot, int colourSlot,
                                Area box, int align, bool brighten) {
  std::wstring text = CaptionText(properties.Bytes(textSlot));
  if (text.empty()) return;
  CaptionFont caption = DecodeCaptionFont(properties.Bytes(own::kFont));
  Gdiplus::Font font(CaptionFamily(),
                     static_cast<Gdiplus::REAL>(caption.pixelSize),
                     caption.bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular,
                     Gdiplus::UnitPixel);
  Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap);
  format.SetAlignment(align == 1   ? Gdiplus::StringAlignmentCenter
                      : align == 2 ? Gdiplus::StringAlignmentFar
                                   : Gdiplus::StringAlignmentNear);
  format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
  int colour = properties.Number(colourSlot);
  int alpha = CaptionAlpha(properties, static_cast<int>(static_cast<uint32_t>(colour) >> 24));
  auto layout = [&](int dx, int dy) {
    return Gdiplus::RectF(static_cast<Gdiplus::REAL>(box.X + dx), static_cast<Gdiplus::REAL>(box.Y + dy),
                          static_cast<Gdiplus::REAL>(box.Width), static_cast<Gdiplus::REAL>(box.Height));
  };
  if (caption.shadow) {
    Gdiplus::SolidBrush shadow(Gdiplus::Color(static_cast<BYTE>(alpha * 3 / 4), 0, 0, 0));
    graphics_->DrawString(text.c_str(), static_cast<INT>(text.size()), &font, layout(1, 1),
                          &format, &shadow);
  }
  Gdiplus::SolidBrush brush(ColourOf(colour, alpha, brighten));
  graphics_->DrawString(text.c_str(), static_cast<INT>(text.size()), &font, layout(0, 0), &format,
                        &brush);
}

ScenePainter::Sprite ScenePainter::PictureFrame(Control& control, const PropertySet& properties,
                                                int own) {
  auto source = properties.SharedBytes(own);
  if (!source) return {};
  ControlCache& cache = caches_[&control];
  CachedPicture& picture = cache.pictures[own];
  if (picture.source != source) {
    picture.source = source;
    picture.frames = DecodePicture(*source);
  }
  if (!picture.frames) return {};
  if (nowMs_ == kStillClock) {
    return {picture.frames->frames.front().get(), picture.frames->width, picture.frames->height};
  }
  if (!cache.firstPaintMs) cache.firstPaintMs = nowMs_;
  int64_t elapsed = nowMs_ - *cache.firstPaintMs;
  const PictureFrames& frames = *picture.frames;
  int64_t untilNext = frames.MsUntilNextFrame(elapsed);
  if (untilNext >= 0 && (nextFrameMs_ < 0 || untilNext < nextFrameMs_)) nextFrameMs_ = untilNext;
  return {frames.frames[frames.FrameAt(elapsed)].get(), frames.width, frames.height};
}

void ScenePainter::DrawSprite(const Sprite& sprite, const Area& destination, int alpha,
                              const Area* source) {
  if (!sprite.bitmap || alpha <= 0) return;
  Area from = source ? *source : Area(0, 0, sprite.width, sprite.height);
  if (alpha >= 255) {
    graphics_->DrawImage(sprite.bitmap, destination, from.X, from.Y, from.Width, from.Height,
                         Gdiplus::UnitPixel);
    return;
  }
  Gdiplus::ColorMatrix matrix = {{{1, 0, 0, 0, 0},
                                  {0, 1, 0, 0, 0},
                                  {0, 0, 1, 0, 0},
                                  {0, 0, 0, static_cast<Gdiplus::REAL>(alpha) / 255, 0},
                                  {0, 0, 0, 0, 1}}};
  Gdiplus::ImageAttributes attributes;
  attributes.SetColorMatrix(&matrix);
  graphics_->DrawImage(sprite.bitmap, destination, from.X, from.Y, from.Width, from.Height,
                       Gdiplus::UnitPixel, &attributes);
}

}  // namespace vlmr::skin::toolkit
