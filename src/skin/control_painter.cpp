#include "skin/control_painter.h"

#include <algorithm>

#include "platform/codepage.h"
#include "skin/paint_choices.h"

namespace vlmr::skin {
namespace {

constexpr int kCaptionGap = 5;  // between a choice box's tick and its caption

SDL_Texture* UploadPicture(SDL_Renderer* renderer, const Picture& picture) {
  SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGBA32,
                                           SDL_TEXTUREACCESS_STATIC, picture.width,
                                           picture.height);
  if (!texture) return nullptr;
  SDL_UpdateTexture(texture, nullptr, picture.rgba.data(), picture.width * 4);
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  return texture;
}

SDL_Color ColourOf(int32_t argb) {
  auto v = static_cast<uint32_t>(argb);
  uint8_t alpha = static_cast<uint8_t>(v >> 24);
  return {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v),
          alpha == 0 ? uint8_t{255} : alpha};
}

SDL_Color Brighter(SDL_Color c) {
  auto lift = [](uint8_t v) { return static_cast<uint8_t>(v + (255 - v) * 2 / 5); };
  return {lift(c.r), lift(c.g), lift(c.b), c.a};
}

}  // namespace

ControlPainter::ControlPainter(SDL_Renderer* renderer) : renderer_(renderer) {}

ControlPainter::~ControlPainter() {
  for (auto& [control, cache] : caches_) {
    for (auto& [own, picture] : cache.pictures) FreePicture(picture);
    if (cache.text.texture) SDL_DestroyTexture(cache.text.texture);
  }
}

void ControlPainter::FreePicture(CachedPicture& picture) {
  for (SDL_Texture* texture : picture.textures) {
    if (texture) SDL_DestroyTexture(texture);
  }
  picture.textures.clear();
}

void ControlPainter::Paint(const std::vector<Control*>& roots, int windowWidth, int windowHeight,
                           int64_t nowMs) {
  nextFrameMs_ = -1;
  SDL_Rect window{0, 0, windowWidth, windowHeight};
  for (auto it = roots.rbegin(); it != roots.rend(); ++it) PaintTree(**it, window, nowMs);
}

void ControlPainter::PaintTree(Control& control, SDL_Rect parentArea, int64_t nowMs) {
  PropertySet properties = control.Properties();
  if (!control.HostShown() || properties.Number(own::kVisible) == 0) return;
  Rect r = control.rect();
  SDL_Rect area{parentArea.x + r.x, parentArea.y + r.y, r.w, r.h};
  PaintControl(control, properties, area, parentArea, nowMs);
  const auto& children = control.children();
  for (auto it = children.rbegin(); it != children.rend(); ++it) PaintTree(**it, area, nowMs);
}

void ControlPainter::PaintControl(Control& control, const PropertySet& properties, SDL_Rect area,
                                  SDL_Rect parentArea, int64_t nowMs) {
  auto alpha = static_cast<uint8_t>(Opacity(properties));
  switch (control.kind()) {
    case Kind::WindowEx: {
      Sprite skin = PictureFrame(control, properties, own::kSkin, nowMs);
      if (properties.Number(own::kWindowFillParent) != 0) {
        DrawSprite(skin, {parentArea.x, parentArea.y, skin.width, skin.height}, alpha);
      } else {
        DrawSprite(skin, area, alpha);
      }
      break;
    }
    case Kind::PictureBoxEx: {
      int64_t clock = properties.Number(own::kPictureAnimate) != 0 ? nowMs : kStillClock;
      DrawSprite(PictureFrame(control, properties, PictureBoxSlot(properties), clock), area, alpha);
      break;
    }
    case Kind::LabelEx:
      DrawSprite(PictureFrame(control, properties, own::kSkin, nowMs), area, alpha);
      PaintCaption(control, properties, own::kLabelText, own::kLabelColour, area,
                   properties.Number(own::kLabelAlign), false);
      break;
    case Kind::ButtonEx:
      PaintButton(control, properties, area, nowMs);
      break;
    case Kind::ChoiceboxEx:
      PaintChoicebox(control, properties, area, nowMs);
      break;
    case Kind::ProgressbarEx:
      PaintProgressbar(control, properties, area, nowMs);
      break;
  }
}

void ControlPainter::PaintButton(Control& control, const PropertySet& properties, SDL_Rect area,
                                 int64_t nowMs) {
  Look look = ButtonLook(control, properties);
  DrawSprite(PictureFrame(control, properties, look.slot, nowMs), area,
             static_cast<uint8_t>(look.alpha));
  PaintCaption(control, properties, own::kButtonCaption, own::kButtonColour, area, 1,
               control.hovered());
}

void ControlPainter::PaintChoicebox(Control& control, const PropertySet& properties,
                                    SDL_Rect area, int64_t nowMs) {
  Look look = ChoiceboxLook(properties);
  Sprite box = PictureFrame(control, properties, look.slot, nowMs);
  SDL_Rect boxArea{area.x, area.y + (area.h - box.height) / 2, box.width, box.height};
  DrawSprite(box, boxArea, static_cast<uint8_t>(look.alpha));
  int captionLeft = box.width > 0 ? box.width + kCaptionGap : 0;
  SDL_Rect captionArea{area.x + captionLeft, area.y, area.w - captionLeft, area.h};
  PaintCaption(control, properties, own::kChoiceCaption, own::kChoiceColour, captionArea, 0,
               control.hovered());
}

void ControlPainter::PaintProgressbar(Control& control, const PropertySet& properties,
                                      SDL_Rect area, int64_t nowMs) {
  auto alpha = static_cast<uint8_t>(Opacity(properties));
  DrawSprite(PictureFrame(control, properties, own::kTrackSkin, nowMs), area, alpha);
  std::optional<double> fraction = ProgressFraction(properties);
  if (!fraction) return;
  Sprite fill = PictureFrame(control, properties, own::kFillSkin, nowMs);
  int shownWidth = static_cast<int>(area.w * *fraction + 0.5);
  if (shownWidth <= 0 || !fill.texture) return;
  SDL_Rect source{0, 0, std::max(1, static_cast<int>(fill.width * *fraction + 0.5)), fill.height};
  DrawSprite(fill, {area.x, area.y, shownWidth, area.h}, alpha, &source);
}

void ControlPainter::PaintCaption(Control& control, const PropertySet& properties, int textSlot,
                                  int colourSlot, SDL_Rect box, int align, bool brighten) {
  CachedText& cached = caches_[&control].text;
  std::string utf8 = platform::GbkToUtf8(properties.Bytes(textSlot));
  CaptionFont font = DecodeCaptionFont(properties.Bytes(own::kFont));
  if (utf8 != cached.utf8 || font.pixelSize != cached.pixelSize || font.bold != cached.bold) {
    if (cached.texture) SDL_DestroyTexture(cached.texture);
    cached = CachedText{utf8, font.pixelSize, font.bold};
    if (SDL_Surface* surface = text_.RenderWhite(utf8, font)) {
      cached.texture = SDL_CreateTextureFromSurface(renderer_, surface);
      cached.width = surface->w;
      cached.height = surface->h;
      SDL_FreeSurface(surface);
    }
  }
  if (!cached.texture) return;
  int x = box.x;
  if (align == 1) x = box.x + (box.w - cached.width) / 2;
  if (align == 2) x = box.x + box.w - cached.width;
  SDL_Rect where{x, box.y + (box.h - cached.height) / 2, cached.width, cached.height};
  SDL_Color colour = ColourOf(properties.Number(colourSlot));
  if (brighten) colour = Brighter(colour);
  auto alpha = static_cast<uint8_t>(CaptionAlpha(properties, colour.a));
  if (font.shadow) {
    SDL_Rect shadow{where.x + 1, where.y + 1, where.w, where.h};
    SDL_SetTextureColorMod(cached.texture, 0, 0, 0);
    SDL_SetTextureAlphaMod(cached.texture, static_cast<uint8_t>(alpha * 3 / 4));
    SDL_RenderCopy(renderer_, cached.texture, nullptr, &shadow);
  }
  SDL_SetTextureColorMod(cached.texture, colour.r, colour.g, colour.b);
  SDL_SetTextureAlphaMod(cached.texture, alpha);
  SDL_RenderCopy(renderer_, cached.texture, nullptr, &where);
}

ControlPainter::Sprite ControlPainter::PictureFrame(Control& control,
                                                    const PropertySet& properties, int own,
                                                    int64_t nowMs) {
  auto source = properties.SharedBytes(own);
  if (!source) return {};
  ControlCache& cache = caches_[&control];
  CachedPicture& picture = cache.pictures[own];
  if (picture.source != source) {
    FreePicture(picture);
    picture.source = source;
    picture.animation = DecodeAnyPicture(*source);
    if (picture.animation) {
      for (const auto& frame : picture.animation->frames) {
        picture.textures.push_back(UploadPicture(renderer_, frame.picture));
      }
    }
  }
  if (!picture.animation) return {};
  const Animation& animation = *picture.animation;
  if (nowMs == kStillClock) {
    const Picture& first = animation.frames.front().picture;
    return {picture.textures.front(), first.width, first.height};
  }
  if (!cache.firstPaintMs) cache.firstPaintMs = nowMs;
  int64_t elapsed = nowMs - *cache.firstPaintMs;
  size_t index = animation.FrameIndexAt(elapsed);
  const Picture& frame = animation.frames[index].picture;
  int64_t untilNext = animation.MsUntilNextFrame(elapsed);
  if (untilNext >= 0 && (nextFrameMs_ < 0 || untilNext < nextFrameMs_)) nextFrameMs_ = untilNext;
  return {picture.textures[index], frame.width, frame.height};
}

void ControlPainter::DrawSprite(const Sprite& sprite, const SDL_Rect& destination, uint8_t alpha,
                                const SDL_Rect* source) {
  if (!sprite.texture || alpha == 0) return;
  SDL_SetTextureAlphaMod(sprite.texture, alpha);
  SDL_RenderCopy(renderer_, sprite.texture, source, &destination);
}

}  // namespace vlmr::skin
