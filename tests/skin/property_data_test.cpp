#include "skin/property_data.h"

#include <gtest/gtest.h>

#include <string>

namespace vlmr::skin {
namespace {

TEST(ControlKinds, HaveTheirSlotCountsAndTheLauncherSlotTypes) {
  EXPECT_EQ(OwnSlotCount(Kind::WindowEx), 21);       // slots 8-28
  EXPECT_EQ(OwnSlotCount(Kind::PictureBoxEx), 17);   // 8-24
  EXPECT_EQ(OwnSlotCount(Kind::LabelEx), 16);        // 8-23
  EXPECT_EQ(OwnSlotCount(Kind::ButtonEx), 15);       // 8-22
  EXPECT_EQ(OwnSlotCount(Kind::ChoiceboxEx), 18);    // 8-25
  EXPECT_EQ(OwnSlotCount(Kind::ProgressbarEx), 15);  // 8-22
  for (int k = 0; k < kKindCount; ++k) {
    auto types = OwnSlotTypes(static_cast<Kind>(k));
    EXPECT_EQ(types[own::kVisible], SlotType::Bool);
    EXPECT_EQ(types[own::kDisabled], SlotType::Bool);
  }
  EXPECT_EQ(OwnSlotTypes(Kind::ChoiceboxEx)[16 - 8], SlotType::Bool);   // Checked
  EXPECT_EQ(OwnSlotTypes(Kind::ProgressbarEx)[16 - 8], SlotType::Int);  // Position
  EXPECT_EQ(OwnSlotTypes(Kind::LabelEx)[20 - 8], SlotType::Text);       // Text
  EXPECT_EQ(OwnSlotTypes(Kind::WindowEx)[26 - 8], SlotType::Text);
  EXPECT_EQ(OwnSlotTypes(Kind::ChoiceboxEx)[21 - 8], SlotType::Text);
}

TEST(PropertyData, EncodesAndDecodesEveryKindOfSlotUnchanged) {
  PropertySet set(Kind::ChoiceboxEx);
  set.SetPageId(7);
  set.SetNumber(own::kChecked, 1);
  set.SetNumber(own::kChoiceColour, -12345);
  set.SetBytes(own::kChoiceCaption, "\xb4\xf2\xbf\xaa");  // GBK "打开"
  set.SetBytes(own::kCheckedSkin, std::string("\x89PNG\0\1\2", 7));
  std::vector<uint8_t> block = set.Encode();

  std::string error;
  auto decoded = PropertySet::Decode(block, &error);
  ASSERT_TRUE(decoded) << error;
  EXPECT_EQ(decoded->kind(), Kind::ChoiceboxEx);
  EXPECT_EQ(decoded->pageId(), 7u);
  EXPECT_EQ(decoded->Number(own::kChecked), 1);
  EXPECT_EQ(decoded->Number(own::kChoiceColour), -12345);
  EXPECT_EQ(decoded->Bytes(own::kChoiceCaption), "\xb4\xf2\xbf\xaa");
  EXPECT_EQ(decoded->Bytes(own::kCheckedSkin), std::string_view("\x89PNG\0\1\2", 7));
  EXPECT_EQ(decoded->Encode(), block);
}

TEST(PropertyData, DefaultsAreVisibleOpaqueAndAZeroToHundredRange) {
  PropertySet bar(Kind::ProgressbarEx);
  EXPECT_EQ(bar.Number(own::kVisible), 1);
  EXPECT_EQ(bar.Number(own::kDisabled), 0);
  EXPECT_EQ(bar.Number(own::kAlpha), 255);
  EXPECT_EQ(bar.Number(own::kMinimum), 0);
  EXPECT_EQ(bar.Number(own::kMaximum), 100);
  // A block that stops early keeps the defaults of the slots it leaves out.
  std::vector<uint8_t> block = bar.Encode();
  block[12] = 2;  // slot count: only Visible and Disabled
  block.resize(16 + 2 * 12);
  auto decoded = PropertySet::Decode(block, nullptr);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->Number(own::kMaximum), 100);
}

TEST(PropertyData, RefusesMalformedBlocksWithAReason) {
  std::vector<uint8_t> good = PropertySet(Kind::LabelEx).Encode();
  std::string error;

  EXPECT_FALSE(PropertySet::Decode(std::span(good.data(), 10), &error));
  EXPECT_NE(error.find("header"), std::string::npos);

  auto badMark = good;
  badMark[0] = 'X';
  EXPECT_FALSE(PropertySet::Decode(badMark, &error));
  EXPECT_NE(error.find("VLSK"), std::string::npos);

  auto badKind = good;
  badKind[8] = 9;
  EXPECT_FALSE(PropertySet::Decode(badKind, &error));

  auto tooMany = good;
  tooMany[12] = 40;
  EXPECT_FALSE(PropertySet::Decode(tooMany, &error));

  auto cut = good;
  cut.pop_back();
  EXPECT_FALSE(PropertySet::Decode(cut, &error));
  EXPECT_NE(error.find("cut short"), std::string::npos);

  auto wrongType = good;
  wrongType[16] = static_cast<uint8_t>(SlotType::Text);  // slot 8 must be a bool
  EXPECT_FALSE(PropertySet::Decode(wrongType, &error));

  auto longNumber = good;
  longNumber[20] = 200;  // slot 8 claims 200 bytes
  EXPECT_FALSE(PropertySet::Decode(longNumber, &error));
}

TEST(PropertyData, WritesCheckTheSlotFormAndNormaliseBools) {
  PropertySet set(Kind::ButtonEx);
  EXPECT_TRUE(set.SetNumber(own::kDisabled, 42));
  EXPECT_EQ(set.Number(own::kDisabled), 1);
  EXPECT_FALSE(set.SetNumber(own::kButtonCaption, 3));   // a text slot
  EXPECT_FALSE(set.SetBytes(own::kDisabled, "x"));       // a bool slot
  EXPECT_FALSE(set.SetNumber(OwnSlotCount(Kind::ButtonEx), 1));
  EXPECT_FALSE(set.SetNumber(-1, 1));
  EXPECT_EQ(set.Number(99), 0);
  EXPECT_TRUE(set.Bytes(99).empty());
  // Every write gives the blob a new identity, so decoded pictures refresh.
  set.SetBytes(own::kSkin, "a");
  auto first = set.SharedBytes(own::kSkin);
  set.SetBytes(own::kSkin, "a");
  EXPECT_NE(first, set.SharedBytes(own::kSkin));
}

TEST(CaptionFont, RoundTripsAndFallsBackOnBadBlobs) {
  CaptionFont font = DecodeCaptionFont(EncodeCaptionFont({15, true, true}));
  EXPECT_EQ(font.pixelSize, 15);
  EXPECT_TRUE(font.bold);
  EXPECT_TRUE(font.shadow);
  EXPECT_EQ(DecodeCaptionFont("").pixelSize, 12);
  EXPECT_EQ(DecodeCaptionFont(EncodeCaptionFont({5000, false, false})).pixelSize, 12);
}

}  // namespace
}  // namespace vlmr::skin
