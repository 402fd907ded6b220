// The settings screens 2, 10 and 11 in the real dialog: what they read from the image, how a
// typed value settles, and exactly which bits and bytes they write back when left.

#include <filesystem>

#include "SettingsFixture.h"
#include "screens/ScreenSettingsFile.h"

namespace roviro::test {
namespace {

// Screen 2: value range 10..100 (branch 1 object 0); the sub-switch offered unless asked.
std::string Screen2(int subShown = 1, int min = 10, int max = 100) {
  return SettingsScreenXml(2, 1, 12,
                           BranchXml(1, 1, 0, ObjXml(0, min, max) + ObjXml(1, 0, 0, subShown)));
}

class Screen2Test : public SettingsTest {
 protected:
  static constexpr int kMain = 0, kSub = 1, kEdit = 7, kSlider = 11;
};

TEST_F(Screen2Test, ATypedValueSettles800MsAfterTheLastKeyAndAbcGivesTheMinimum) {
  OpenWith(Screen2());
  Byte(3) = 50;
  Byte(8) = 0x21;
  Go(2);
  EXPECT_EQ(Text(kEdit), "50");
  EXPECT_EQ(Slider(kSlider)->value(), 50);

  Type(kEdit, "700", 300);  // three quick keys, 300 ms apart
  Advance(499);
  EXPECT_EQ(Text(kEdit), "700");  // 799 ms after the last key
  EXPECT_EQ(Slider(kSlider)->value(), 50);
  Advance(1);
  EXPECT_EQ(Text(kEdit), "100");
  EXPECT_EQ(Slider(kSlider)->value(), 100);
  EXPECT_TRUE(Dirty());
  EXPECT_FALSE(dlg->HasTimer(kSettleTimer));

  Type(kEdit, "abc");
  Advance(800);
  EXPECT_EQ(Text(kEdit), "10");
  EXPECT_EQ(Slider(kSlider)->value(), 10);
}

}  // namespace
}  // namespace roviro::test
