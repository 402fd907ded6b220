#include <gtest/gtest.h>

#include "rules/DataScreenRules.h"

namespace roviro {
namespace {

TEST(NumberField, FourthCharacterGoesAndTheValueStaysWithinAByte) {
  EXPECT_EQ(ApplyNumberFieldRule("300", 3).text, "255");
  EXPECT_EQ(ApplyNumberFieldRule("300", 3).value, 255);
  EXPECT_EQ(ApplyNumberFieldRule("0", 1).text, "");
  EXPECT_EQ(ApplyNumberFieldRule("abc", 3).text, "");
  EXPECT_EQ(ApplyNumberFieldRule("-7", 2).text, "");
  EXPECT_EQ(ApplyNumberFieldRule("1234", 4).text, "123");
  EXPECT_EQ(ApplyNumberFieldRule("1234", 4).caret, 3);
  EXPECT_EQ(ApplyNumberFieldRule("0042", 4).text, "4");
  EXPECT_EQ(ApplyNumberFieldRule("0042", 4).caret, 1);  // never beyond the text
  EXPECT_EQ(NumberFieldByte("255"), 255);
  EXPECT_EQ(NumberFieldByte(""), 0);
  EXPECT_EQ(NumberFieldByte("999"), 255);
}

TEST(LoadDataEntries, EachMissingEntryNamesItsOwnText) {
  EXPECT_EQ(CheckLoadDataEntries("  ", "Muster GmbH", true, true), 0);
  EXPECT_EQ(CheckLoadDataEntries("Tor 1", "A B", true, true), 1);  // two characters of blanks
  EXPECT_EQ(CheckLoadDataEntries("Tor 1", "ABC", false, true), 2);
  EXPECT_EQ(CheckLoadDataEntries("Tor 1", "ABC", true, false), 3);
  EXPECT_EQ(CheckLoadDataEntries("Tor 1", "ABC", true, true), -1);
}

TEST(VariantChoice, SetsTheVariantBitsAndTakesBlock0x3BFromThatMotorType) {
  Catalogue catalogue;
  for (int k = 0; k < kMotorCount; ++k) {
    auto block = catalogue.motors[k].block;
    for (int i = 95; i < 113; ++i) block[i] = static_cast<std::uint8_t>(0x10 * (k + 1) + i - 95);
    catalogue.motors[k].block = block;
  }
  catalogue.motors[1].strGuidNQB = "{1}";
  ParameterImage image;
  image.Clear();
  image.Block(0x39)[2] = 0xF8 | 2;
  ApplyVariantChoice(image, &catalogue, 1);
  EXPECT_EQ(image.Block(0x39)[2], 0xF9);  // the upper bits stay
  EXPECT_EQ(image.Block(0x3B)[0], 0x20);
  EXPECT_EQ(image.Block(0x3B)[17], 0x31);
  ApplyVariantChoice(image, &catalogue, 0);
  EXPECT_EQ(image.Block(0x39)[2], 0xF8);
  EXPECT_EQ(image.Block(0x3B)[0], 0x10);
  // The upload needs both GUIDs of a variant.
  EXPECT_FALSE(HasVariant(&catalogue, 1));
  catalogue.motors[1].strGuidUMode = "{U1}";
  EXPECT_TRUE(HasVariant(&catalogue, 1));
  EXPECT_FALSE(HasVariant(&catalogue, 2));
  EXPECT_FALSE(HasVariant(nullptr, 1));
}

TEST(TestButtons, RunButtonsUseTheDriveCommandWhenTheMotorCameThroughIt) {
  const int direct[] = {1, 2, 3, 4, 5, 6};
  const int branch[] = {11, 12, 13, 4, 5, 6};
  for (int b = 0; b < 6; ++b) {
    EXPECT_EQ(TestModeForButton(b, false), direct[b]);
    EXPECT_EQ(TestModeForButton(b, true), branch[b]);
  }
  EXPECT_EQ(TestModeForButton(6, false), 0);
}

}  // namespace
}  // namespace roviro
