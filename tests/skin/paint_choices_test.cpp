// The paint decisions both painters share: which picture a control shows in
// each state and at what opacity, and how much of a progress bar is filled.
#include "skin/paint_choices.h"

#include <gtest/gtest.h>

namespace vlmr::skin {
namespace {

PropertySet Button(bool greyedPicture, bool pressedPicture, bool hoverPicture) {
  PropertySet set(Kind::ButtonEx);
  set.SetNumber(own::kAlpha, 200);
  if (greyedPicture) set.SetBytes(own::kButtonDisabledSkin, "grey");
  if (pressedPicture) set.SetBytes(own::kButtonPressedSkin, "down");
  if (hoverPicture) set.SetBytes(own::kButtonHoverSkin, "over");
  return set;
}

TEST(PaintChoices, AButtonShowsThePictureOfItsStateOrFallsBack) {
  struct Case {
    const char* state;
    bool disabled, hovered, pressed, greyedPicture, pressedPicture, hoverPicture;
    int slot, alpha;
  } cases[] = {
      {"plain", false, false, false, true, true, true, own::kSkin, 200},
      {"hovered", false, true, false, true, true, true, own::kButtonHoverSkin, 200},
      {"pressed under the pointer", false, true, true, true, true, true, own::kButtonPressedSkin, 200},
      {"pressed, pointer gone", false, false, true, true, true, true, own::kSkin, 200},
      {"pressed without its picture", false, true, true, true, false, true, own::kButtonHoverSkin, 200},
      {"disabled with its picture", true, true, true, true, true, true, own::kButtonDisabledSkin, 200},
      {"disabled without one", true, false, false, false, true, true, own::kSkin, 100},
  };
  for (const Case& c : cases) {
    PropertySet set = Button(c.greyedPicture, c.pressedPicture, c.hoverPicture);
    set.SetNumber(own::kDisabled, c.disabled ? 1 : 0);
    Control control(set, ControlPlacement{}, nullptr, nullptr);
    control.SetPointerState(c.hovered, c.pressed);
    Look look = ButtonLook(control, control.Properties());
    EXPECT_EQ(look.slot, c.slot) << c.state;
    EXPECT_EQ(look.alpha, c.alpha) << c.state;
  }
}

TEST(PaintChoices, ChoiceBoxesPictureBoxesAndCaptions) {
  PropertySet box(Kind::ChoiceboxEx);
  EXPECT_EQ(ChoiceboxLook(box).slot, own::kUncheckedSkin);
  box.SetNumber(own::kChecked, 1);
  box.SetNumber(own::kDisabled, 1);
  EXPECT_EQ(ChoiceboxLook(box).slot, own::kCheckedSkin);
  EXPECT_EQ(ChoiceboxLook(box).alpha, 127);
  EXPECT_EQ(CaptionAlpha(box, 0), 127);    // colour alpha 0 is opaque; disabled halves
  box.SetNumber(own::kDisabled, 0);
  box.SetNumber(own::kAlpha, 300);         // opacity is kept to 0-255
  EXPECT_EQ(CaptionAlpha(box, 128), 128);

  PropertySet picture(Kind::PictureBoxEx);
  EXPECT_EQ(PictureBoxSlot(picture), own::kSkin);
  picture.SetBytes(own::kPicture, "GIF89a");
  EXPECT_EQ(PictureBoxSlot(picture), own::kPicture);
}

TEST(PaintChoices, AProgressBarFillsItsPositionWithinItsRange) {
  PropertySet bar(Kind::ProgressbarEx);  // range 0-100
  for (auto [position, fraction] : {std::pair{0, 0.0}, {50, 0.5}, {100, 1.0}, {150, 1.0}, {-5, 0.0}}) {
    bar.SetNumber(own::kPosition, position);
    EXPECT_DOUBLE_EQ(ProgressFraction(bar).value(), fraction) << position;
  }
  bar.SetNumber(own::kMaximum, 0);  // an empty range fills nothing
  EXPECT_FALSE(ProgressFraction(bar).has_value());
}

}  // namespace
}  // namespace vlmr::skin
