// The settings screens' arithmetic without a widget: typed numbers and the step values with
// their division table (the switch bits are checked on the screens themselves).

#include <gtest/gtest.h>

#include <climits>

#include "rules/SettingsRules.h"

namespace roviro {
namespace {

TEST(SettingsRules, TypedNumbersReadAsAtoiAndStopAtTheLimitsOfAnInt) {
  EXPECT_EQ(ReadNumber(" 42x"), 42);
  EXPECT_EQ(ReadNumber("99999999999"), 2147483647);
}

TEST(SettingsRules, StepValuesFollowTheDivisionTableOfTheCurrentVariant) {
  Catalogue catalogue;
  catalogue.motors[1].ucHB = {1, 2, 3, 2, 5, 6};
  catalogue.motors[1].ucLB = {9, 8, 7, 8, 5, 4};
  ParameterImage image;
  image.Block(0x39)[2] = 0x09;  // variant 1
  const MotorRecord* motor = CurrentMotorRecord(&catalogue, image);
  ASSERT_EQ(motor, &catalogue.motors[1]);
  image.Block(0x39)[2] = 0x07;  // no fourth motor type: variant 0
  EXPECT_EQ(CurrentMotorRecord(&catalogue, image), &catalogue.motors[0]);
  EXPECT_EQ(CurrentMotorRecord(nullptr, image), nullptr);

  EXPECT_EQ(DivisionIndex(motor, 2, 8), 1);  // the first of two matching entries
  EXPECT_EQ(DivisionIndex(motor, 2, 9), 2);  // no match
  EXPECT_EQ(DivisionIndex(nullptr, 2, 8), 0);

  const CatalogueObject high{250, 300, 1, 1};
  EXPECT_EQ(StepNumberOnLoad(7, &high, {}, StepArithmetic::kInteger), 257);
  EXPECT_EQ(StepNumberOnLoad(7, &high, {}, StepArithmetic::kByte), 250);  // 257 wraps to 1
  EXPECT_EQ(StepNumberOnLoad(4, nullptr, {3, 5}, StepArithmetic::kInteger), 5);
  const CatalogueObject step{1, 6, 1, 1};
  EXPECT_EQ(StepUp(6, &step), 6);
  EXPECT_EQ(StepDown(1, &step), 1);
  EXPECT_EQ(StepUp(6, nullptr), 7);

  std::array<std::uint8_t, 13> bytes{};
  bytes.fill(0xEE);
  EXPECT_FALSE(StoreStepValue(bytes, 2, 5, &step, motor, false));  // not changed
  EXPECT_FALSE(StoreStepValue(bytes, 2, 0, &step, motor, true));   // 0 - 1 is 255 as a byte
  EXPECT_FALSE(StoreStepValue(bytes, 2, 7, &step, motor, true));   // entry 6 does not exist
  EXPECT_FALSE(StoreStepValue(bytes, 2, 5, nullptr, motor, true));
  EXPECT_EQ(bytes[2], 0xEE);
  EXPECT_TRUE(StoreStepValue(bytes, 2, 5, &step, motor, true));
  EXPECT_EQ(bytes[2], 5);
  EXPECT_EQ(bytes[3], 5);
  EXPECT_EQ(bytes[4], 0xEE);
}

TEST(SettingsRules, RangesComeOrderedWithoutOverflowAndAMissingObjectKeepsTheByte) {
  ScreenRecord record;
  record.branches[1].objects[0] = {40, 10, 1, 1, true};  // iMin above iMax
  std::uint8_t byte = 50, kept = 77;                     // object 1 is not in the record: no range
  EXPECT_TRUE(ClampByteToRecord(byte, &record, 1, 0) && byte == 40);
  EXPECT_FALSE(ClampByteToRecord(kept, &record, 1, 1) || kept != 77);
  const CatalogueObject reversed{6, 1, 1, 1, true};
  EXPECT_EQ(StepNumberOnLoad(2, &reversed, {}, StepArithmetic::kInteger), 3);
  EXPECT_EQ(StepDown(1, &reversed), 1);
  const CatalogueObject huge{INT_MAX - 1, INT_MAX, 1, 1, true};
  EXPECT_EQ(StepNumberOnLoad(5, &huge, {}, StepArithmetic::kInteger), INT_MAX);
  EXPECT_EQ(Intersect({10, 50}, {0, 30}), (ValueRange{10, 30}));
}

}  // namespace
}  // namespace roviro
