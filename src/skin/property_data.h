// A control's property values and the stored property data that carries them:
// the byte block the window description holds for each control, which create
// accepts and get-all hands back.
//
// Block layout (all words little-endian uint32):
//   magic "VLSK", page id, kind, slot count n,
//   then n slots in own-number order, each: type, byte length, bytes.
// Bool and int slots hold 4 bytes; a text slot holds its GBK bytes without a
// NUL; a blob slot holds its bytes (pictures as PNG or GIF files, fonts as an
// encoded CaptionFont). Slots missing at the end keep their defaults.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "skin/control_kind.h"

namespace vlmr::skin {

inline constexpr uint32_t kPropertyDataMagic = 0x4B534C56;  // "VLSK"

// The font blob: pixel size and style of a control's caption.
struct CaptionFont {
  int32_t pixelSize = 12;
  bool bold = false;
  bool shadow = false;  // a dark copy one pixel down and right
};
std::string EncodeCaptionFont(const CaptionFont& font);
// Defaults for an empty or malformed blob.
CaptionFont DecodeCaptionFont(std::string_view blob);

class PropertySet {
 public:
  // Every slot at its default: visible, opaque, a 0-100 range, animation on.
  explicit PropertySet(Kind kind);

  // Nullopt, with the reason in *error, when the block is malformed.
  static std::optional<PropertySet> Decode(std::span<const uint8_t> block, std::string* error);
  std::vector<uint8_t> Encode() const;

  Kind kind() const { return kind_; }
  uint32_t pageId() const { return pageId_; }
  void SetPageId(uint32_t pageId) { pageId_ = pageId; }

  bool Valid(int own) const { return own >= 0 && own < static_cast<int>(values_.size()); }
  SlotType Type(int own) const { return OwnSlotTypes(kind_)[static_cast<size_t>(own)]; }

  // Int and bool slots; 0 for an invalid number or a text/blob slot.
  int32_t Number(int own) const;
  // Text and blob slots; empty for an invalid number or a number slot.
  std::string_view Bytes(int own) const;
  // The same bytes as a shared block whose address changes with every write,
  // so decoded pictures can be cached by it. Null when empty.
  std::shared_ptr<const std::string> SharedBytes(int own) const;

  // False when the number is invalid or the slot has the other form. Bool
  // slots store 0 or 1.
  bool SetNumber(int own, int32_t value);
  bool SetBytes(int own, std::string_view bytes);

 private:
  struct Value {
    int32_t number = 0;
    std::shared_ptr<const std::string> bytes;
  };
  bool IsNumberSlot(int own) const;

  Kind kind_;
  uint32_t pageId_ = 0;
  std::vector<Value> values_;
};

}  // namespace vlmr::skin
