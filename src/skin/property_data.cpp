#include "skin/property_data.h"

#include <cstring>

namespace vlmr::skin {
namespace {

void PutWord(std::vector<uint8_t>& out, uint32_t word) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(word >> (8 * i)));
}

// Reads little-endian words and byte runs from a block, never past its end.
class BlockReader {
 public:
  explicit BlockReader(std::span<const uint8_t> block) : block_(block) {}
  bool Word(uint32_t* word) {
    if (block_.size() - pos_ < 4) return false;
    *word = 0;
    for (int i = 0; i < 4; ++i) *word |= uint32_t{block_[pos_ + i]} << (8 * i);
    pos_ += 4;
    return true;
  }
  bool Run(uint32_t length, std::string_view* run) {
    if (block_.size() - pos_ < length) return false;
    *run = {reinterpret_cast<const char*>(block_.data() + pos_), length};
    pos_ += length;
    return true;
  }

 private:
  std::span<const uint8_t> block_;
  size_t pos_ = 0;
};

bool Fail(std::string* error, std::string reason) {
  if (error) *error = std::move(reason);
  return false;
}

}  // namespace

std::string EncodeCaptionFont(const CaptionFont& font) {
  std::vector<uint8_t> out;
  PutWord(out, static_cast<uint32_t>(font.pixelSize));
  PutWord(out, (font.bold ? 1u : 0u) | (font.shadow ? 2u : 0u));
  return {out.begin(), out.end()};
}

CaptionFont DecodeCaptionFont(std::string_view blob) {
  CaptionFont font;
  BlockReader reader({reinterpret_cast<const uint8_t*>(blob.data()), blob.size()});
  uint32_t size, style;
  if (reader.Word(&size) && reader.Word(&style) && size >= 6 && size <= 96) {
    font.pixelSize = static_cast<int32_t>(size);
    font.bold = (style & 1) != 0;
    font.shadow = (style & 2) != 0;
  }
  return font;
}

PropertySet::PropertySet(Kind kind) : kind_(kind), values_(OwnSlotTypes(kind).size()) {
  values_[own::kVisible].number = 1;
  values_[own::kAlpha].number = 255;
  if (kind == Kind::ProgressbarEx) values_[own::kMaximum].number = 100;
  if (kind == Kind::PictureBoxEx) values_[own::kPictureAnimate].number = 1;
}

std::optional<PropertySet> PropertySet::Decode(std::span<const uint8_t> block,
                                               std::string* error) {
  BlockReader reader(block);
  uint32_t magic, pageId, kindWord, count;
  if (!reader.Word(&magic) || !reader.Word(&pageId) || !reader.Word(&kindWord) ||
      !reader.Word(&count)) {
    Fail(error, "property data shorter than its header");
    return std::nullopt;
  }
  if (magic != kPropertyDataMagic) {
    Fail(error, "property data without the VLSK mark");
    return std::nullopt;
  }
  if (kindWord >= static_cast<uint32_t>(kKindCount)) {
    Fail(error, "property data of an unknown control kind " + std::to_string(kindWord));
    return std::nullopt;
  }
  PropertySet set(static_cast<Kind>(kindWord));
  set.pageId_ = pageId;
  if (count > set.values_.size()) {
    Fail(error, "property data with " + std::to_string(count) + " slots, more than the kind has");
    return std::nullopt;
  }
  for (uint32_t own = 0; own < count; ++own) {
    uint32_t type, length;
    std::string_view run;
    if (!reader.Word(&type) || !reader.Word(&length) || !reader.Run(length, &run)) {
      Fail(error, "property data cut short in slot " + std::to_string(own + 8));
      return std::nullopt;
    }
    int index = static_cast<int>(own);
    if (type != static_cast<uint32_t>(set.Type(index))) {
      Fail(error, "property data with the wrong type in slot " + std::to_string(own + 8));
      return std::nullopt;
    }
    if (set.IsNumberSlot(index)) {
      if (length != 4) {
        Fail(error, "property data with a number of " + std::to_string(length) + " bytes");
        return std::nullopt;
      }
      int32_t number;
      std::memcpy(&number, run.data(), 4);  // the block is little-endian, as this host
      set.SetNumber(index, number);
    } else {
      set.SetBytes(index, run);
    }
  }
  return set;
}

std::vector<uint8_t> PropertySet::Encode() const {
  std::vector<uint8_t> out;
  PutWord(out, kPropertyDataMagic);
  PutWord(out, pageId_);
  PutWord(out, static_cast<uint32_t>(kind_));
  PutWord(out, static_cast<uint32_t>(values_.size()));
  for (int own = 0; own < static_cast<int>(values_.size()); ++own) {
    PutWord(out, static_cast<uint32_t>(Type(own)));
    if (IsNumberSlot(own)) {
      PutWord(out, 4);
      PutWord(out, static_cast<uint32_t>(values_[own].number));
    } else {
      std::string_view bytes = Bytes(own);
      PutWord(out, static_cast<uint32_t>(bytes.size()));
      out.insert(out.end(), bytes.begin(), bytes.end());
    }
  }
  return out;
}

bool PropertySet::IsNumberSlot(int own) const {
  SlotType type = Type(own);
  return type == SlotType::Bool || type == SlotType::Int;
}

int32_t PropertySet::Number(int own) const {
  return Valid(own) && IsNumberSlot(own) ? values_[own].number : 0;
}

std::string_view PropertySet::Bytes(int own) const {
  if (!Valid(own) || IsNumberSlot(own) || !values_[own].bytes) return {};
  return *values_[own].bytes;
}

std::shared_ptr<const std::string> PropertySet::SharedBytes(int own) const {
  if (!Valid(own) || IsNumberSlot(own)) return nullptr;
  return values_[own].bytes;
}

bool PropertySet::SetNumber(int own, int32_t value) {
  if (!Valid(own) || !IsNumberSlot(own)) return false;
  values_[own].number = Type(own) == SlotType::Bool ? (value != 0 ? 1 : 0) : value;
  return true;
}

bool PropertySet::SetBytes(int own, std::string_view bytes) {
  if (!Valid(own) || IsNumberSlot(own)) return false;
  values_[own].bytes = bytes.empty() ? nullptr : std::make_shared<const std::string>(bytes);
  return true;
}

}  // namespace vlmr::skin
