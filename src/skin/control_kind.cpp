#include "skin/control_kind.h"

#include <array>

namespace vlmr::skin {
namespace {

constexpr SlotType B = SlotType::Bool;
constexpr SlotType I = SlotType::Int;
constexpr SlotType T = SlotType::Text;
constexpr SlotType L = SlotType::Blob;

// Slots 8 and up of each kind, in slot order.
constexpr std::array kWindowSlots{B, B, I, I, I, L, I, L, L, L, L, I, I, I, I, I, L, I, T, L, L};
constexpr std::array kPictureBoxSlots{B, B, I, I, I, L, I, L, L, I, I, B, I, I, I, L, L};
constexpr std::array kLabelSlots{B, B, I, I, I, L, I, L, I, I, L, I, T, I, L, L};
constexpr std::array kButtonSlots{B, B, I, I, I, L, I, L, L, L, I, I, T, L, L};
constexpr std::array kChoiceboxSlots{B, B, I, I, I, L, I, L, B, L, L, I, I, T, I, I, L, L};
constexpr std::array kProgressbarSlots{B, B, I, I, I, L, I, L, I, I, I, I, I, L, L};

}  // namespace

std::span<const SlotType> OwnSlotTypes(Kind kind) {
  switch (kind) {
    case Kind::WindowEx: return kWindowSlots;
    case Kind::PictureBoxEx: return kPictureBoxSlots;
    case Kind::LabelEx: return kLabelSlots;
    case Kind::ButtonEx: return kButtonSlots;
    case Kind::ChoiceboxEx: return kChoiceboxSlots;
    case Kind::ProgressbarEx: return kProgressbarSlots;
  }
  return {};
}

// Every kind numbers its events from the click, so all bases are 0.
int32_t EventBase(Kind /*kind*/) { return 0; }

}  // namespace vlmr::skin
