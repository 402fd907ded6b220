#include <gtest/gtest.h>

#include "rules/MotorList.h"

namespace roviro {
namespace {

ScreenDescription Language() {
  ScreenDescription language;
  std::string text;
  // Object k holds texts "k.0", "k.1", ... so every choice is visible in the result.
  for (int k = 5; k <= 15; ++k) {
    text += "[OBJEKT_NR]\n" + std::to_string(k) + "\n[TEXT]\n";
    for (int n = 0; n < 64; ++n) text += std::to_string(k) + "." + std::to_string(n) + "\n";
  }
  EXPECT_EQ(language.LoadFromText(text, 0, 16), S_OK);
  return language;
}

TEST(MotorName, EachPlaceholderTakesItsBitsAndObject) {
  const ScreenDescription language = Language();
  // h = 2, bits 16-21 = 0x2A, 12-15 = 0x3, 8-11 = 0xB, 4-7 = 0x7
  const std::uint32_t code = (2u << 22) | (0x2Au << 16) | (0x3u << 12) | (0xBu << 8) | (0x7u << 4);
  EXPECT_EQ(BuildMotorName("%a|%b|%c|%d|%e|%a", code, language), "5.2|8.42|10.3|11.11|14.7|5.2");
  EXPECT_EQ(BuildMotorName("RM 45", code, language), "RM 45");
  EXPECT_EQ(MotorListLine(nullptr, language), "??xx??");
}

TEST(MotorSelection, LastIdentityMatchWinsAndZeroNeverMatches) {
  CatalogueList list;
  for (std::uint32_t base : {0x101000u, 0x202000u, 0x101000u}) {
    auto c = std::make_unique<Catalogue>();
    for (std::uint32_t k = 0; k < 3; ++k) c->motors[k].dhMoNa = base + k;
    list.push_back(std::move(c));
  }
  ParameterImage image;
  image.Clear();
  EXPECT_EQ(SelectMotorForImage(list, image), 0);  // identity 0: the first entry
  auto b = image.Block(0x39);
  b[0] = 0x20;
  b[1] = 0x20;
  b[2] = 0x02;  // variant 2 of 0x202000
  EXPECT_EQ(SelectMotorForImage(list, image), 1);
  b[0] = 0x10;
  b[1] = 0x10;
  EXPECT_EQ(SelectMotorForImage(list, image), 2);  // two matches: the last one
  EXPECT_FALSE(IsUnknownMotor(list, image));
  b[0] = 0x77;
  EXPECT_EQ(SelectMotorForImage(list, image), 0);
  EXPECT_TRUE(IsUnknownMotor(list, image));  // said so, not taken for the first entry
  EXPECT_EQ(SelectMotorForImage(CatalogueList{}, image), -1);
}

}  // namespace
}  // namespace roviro
