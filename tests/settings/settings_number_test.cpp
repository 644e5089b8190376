// Stored values as the settings read them.
#include "settings/settings_number.h"

#include <gtest/gtest.h>

namespace vlmr::settings {
namespace {

TEST(SettingsNumber, TakesTheLeadingDecimalNumberTruncatedTowardZero) {
  EXPECT_EQ(SettingsNumber("5"), 5);
  EXPECT_EQ(SettingsNumber("  -2.9xyz"), -2);
  EXPECT_EQ(SettingsNumber("+.5e1"), 5);
  EXPECT_EQ(SettingsNumber("1e"), 1);
  EXPECT_EQ(SettingsNumber("."), 0);
  EXPECT_EQ(SettingsNumber("abc"), 0);
  EXPECT_EQ(SettingsNumber(nullptr), 0);
}

TEST(SettingsNumber, KeepsTheLowThirtyTwoBits) {
  EXPECT_EQ(SettingsNumber("4294967297"), 1);
  EXPECT_EQ(SettingsNumber("2147483648"), INT32_MIN);
  EXPECT_EQ(SettingsNumber("-4294967295.7"), 1);
  EXPECT_EQ(SettingsNumber("1e300"), 0);  // beyond 64 bits: the hardware's indefinite value
}

TEST(SettingsNumber, FullWidthFormsCountAsAscii) {
  EXPECT_EQ(FullWidthToAscii("\xA3\xAB\xA3\xB1\xA3\xAE\xA3\xB5\xA3\xC5\xA3\xB2"), "+1.5E2");
  EXPECT_EQ(FullWidthToAscii("\xA1\xA1"
                             "7\xD6\xD0\xA3"),
            " 7\xD6\xD0\xA3");  // a cut-off lead byte stays
  EXPECT_EQ(SettingsNumber("\xA1\xA1\xA3\xAD\xA3\xB1\xA3\xB2"), -12);
  // A trail byte 0xA3 is not a lead byte: 中 is D6 D0, then ASCII digits.
  EXPECT_EQ(FullWidthToAscii("\xB0\xA3"
                             "1"),
            "\xB0\xA3"
            "1");
}

}  // namespace
}  // namespace vlmr::settings
