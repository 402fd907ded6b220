// The settings screens 2, 10 and 11 in the real dialog: what they read from the image, how a
// typed value settles, and exactly which bits and bytes they write back when left.

#include "SettingsFixture.h"
#include "records/ScreenSettingsFile.h"

namespace roviro::test {
namespace {

// Screen 2: value range min..max (branch 1 object 0), the sub-switch offered unless asked;
// back to 1, next to 6.
std::string Screen2(int subShown = 1, int min = 10, int max = 100) {
  return SettingsScreenXml(2, 1, 6,
                           BranchXml(1, 1, 0, ObjXml(0, min, max) + ObjXml(1, 0, 0, subShown)));
}

// Block 0x2E filled with A0..AA, so that bytes and bits a screen must not touch stand out.
std::vector<std::uint8_t> Pattern(ParameterImage& image) {
  for (int i = 0; i < 11; ++i) image.Block(0x2E)[i] = static_cast<std::uint8_t>(0xA0 + i);
  return {image.Block(0x2E).begin(), image.Block(0x2E).end()};
}
std::vector<std::uint8_t> Now(ParameterImage& image) {
  return {image.Block(0x2E).begin(), image.Block(0x2E).end()};
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

TEST_F(Screen2Test, LoadLowersTheValueInTheImageAndLeavingUntouchedWritesNothingElse) {
  OpenWith(Screen2());
  auto before = Pattern(image);  // byte 3 = 0xA3 = 163, above the maximum 100
  Go(2);
  EXPECT_EQ(Byte(3), 100);
  EXPECT_EQ(Text(kEdit), "100");
  before[3] = 100;
  EXPECT_EQ(Now(image), before);
  Next();
  EXPECT_EQ(Current(), 6);
  EXPECT_EQ(Now(image), before);
  const std::string sav = ScreenSettingsPath(dlg->Folder(FolderKind::ScreenSettings), 2);
  ASSERT_TRUE(FileExists(sav));
  EXPECT_EQ(std::filesystem::file_size(sav), 0u);
}

TEST_F(Screen2Test, StoreWritesItsOwnBitsAndAValueTypedJustBeforeNext) {
  OpenWith(Screen2());
  auto before = Pattern(image);
  before[8] = Byte(8) = 0x8C;  // bits 0 and 5 clear
  before[9] = Byte(9) = 0xE9;  // of bits 1 to 5 only 3 and 5 set
  Go(2);
  // With the main switch off the other switches and the value caption are greyed.
  for (int i = 1; i <= 6; ++i) EXPECT_FALSE(Button(i)->isEnabled()) << i;
  EXPECT_FALSE(Label(9)->isEnabled());
  Click(kMain);
  Click(kSub);
  Click(2);  // byte 9 bit 1 on
  Click(5);  // byte 9 bit 4 on
  Click(6);  // byte 9 bit 5 off
  Type(kEdit, "42");
  Next();  // at once, well within 800 ms
  EXPECT_EQ(Current(), 6);
  before[3] = 42;
  before[8] = 0x8C | 0x01 | 0x20;
  before[9] = 0xC1 | 0x02 | 0x08 | 0x10;
  EXPECT_EQ(Now(image), before);
}

TEST_F(Screen2Test, TabFollowsTheControlTable) {
  OpenWith(Screen2());
  Byte(8) = 0x21;
  Go(2);
  std::vector<QWidget*> order;
  for (int i : {0, 1, 2, 3, 4, 5, 6, kEdit, kSlider}) order.push_back(Screen()->Control(i));
  order.push_back(dlg->NextButton());
  order.push_back(dlg->BackButton());
  for (QWidget* expected : order) {
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dlg.get(),
                    Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), expected) << expected->objectName().toStdString();
  }
}

TEST_F(Screen2Test, WithoutARecordBackAndNextAndTheRangeComeFromTheDefaults) {
  RegisterScreen(3);
  OpenWith(SettingsScreenXml(5, 4, 6, ""));  // a catalogue without a record for screen 2
  Byte(3) = 250;
  Go(2);
  EXPECT_EQ(Slider(kSlider)->minimum(), 10);  // the page's texts
  EXPECT_EQ(Slider(kSlider)->maximum(), 100);
  EXPECT_TRUE(Button(kSub)->isVisible());
  EXPECT_FALSE(Button(kSub)->isEnabled());
  Click(kMain);
  EXPECT_TRUE(Button(kSub)->isEnabled());
  EXPECT_FALSE(Edit(kEdit)->isEnabled());  // the value needs the sub-switch too
  Click(kSub);
  EXPECT_TRUE(Edit(kEdit)->isEnabled());
  Next();
  EXPECT_EQ(Current(), 3);
  EXPECT_EQ(Byte(3), 100);  // the settle step moved the slider to its maximum
  Go(2);
  Back();
  EXPECT_EQ(Current(), 1);
}

TEST_F(Screen2Test, ACatalogueRangeWiderThanAByteIsCutTo255) {
  OpenWith(Screen2(1, 0, 1000));
  Byte(8) = 0x21;
  Go(2);
  EXPECT_EQ(Slider(kSlider)->maximum(), 255);
  Type(kEdit, "300");
  Advance(800);
  EXPECT_EQ(Text(kEdit), "255");
  Next();
  EXPECT_EQ(Byte(3), 255);
}

// ---- screen 10 -------------------------------------------------------------------------------

class Screen10Test : public SettingsTest {
 protected:
  static constexpr int kEdit = 5, kSlider = 8;
};

TEST_F(Screen10Test, HiddenSwitchesAreWrittenAsTheyStandAndOnlyOwnBitsChange) {
  // Branch 1 hidden; branch 3 not used (its switch hidden although bHide is 0).
  OpenWith(SettingsScreenXml(10, 1, 6,
                             BranchXml(1, 1, 1, ObjXml(1, 0, 0)) + BranchXml(2, 1, 0, "") +
                                 BranchXml(3, 0, 0, "") + BranchXml(4, 1, 0, ObjXml(0, 20, 90))));
  auto before = Pattern(image);  // byte 8 = A8 (bit 5 on, bits 0, 1, 4 off), byte 9 = A9 (bit 0)
  Go(10);
  EXPECT_EQ(Byte(4), 90);  // A4 = 164 lowered to the maximum on load
  const bool shown[] = {false, false, true, true, false};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Button(i)->isVisible(), shown[i]) << i;
  EXPECT_FALSE(Label(7)->geometry().intersects(Button(3)->geometry()));
  EXPECT_FALSE(Button(3)->isEnabled());
  Click(2);
  EXPECT_TRUE(Button(3)->isEnabled());
  Click(3);
  Slider(kSlider)->triggerAction(QAbstractSlider::SliderToMinimum);
  Pump();
  EXPECT_EQ(Text(kEdit), "20");
  Next();
  before[4] = 20;
  before[8] = 0xA8 | 0x02 | 0x10;  // bit 5 kept from the hidden, checked sub-switch
  EXPECT_EQ(Now(image), before);
}

TEST_F(Screen10Test, WithoutACatalogueSwitchesFollowTheDefaultsOnScreens10And11) {
  OpenWith("");
  Pattern(image);
  Go(10);
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(Button(i)->isVisible()) << i;
  EXPECT_TRUE(Edit(kEdit)->isVisible() && Edit(kEdit)->isEnabled());
  EXPECT_EQ(Slider(kSlider)->maximum(), 240);
  Type(kEdit, "77");
  dlg->TabButton(2)->click();  // a main tab at once
  Pump();
  EXPECT_EQ(Current(), 6);
  EXPECT_EQ(Byte(4), 77);
  EXPECT_EQ(Byte(8), 0xA8);
  EXPECT_EQ(Byte(9), 0xA9);

  Go(11);  // switch B shown, its text hidden, nothing forced
  EXPECT_TRUE(Button(1)->isVisible());
  EXPECT_FALSE(Label(6)->isVisible());
  EXPECT_FALSE(Edit(2)->isEnabled());
  EXPECT_EQ(Byte(8), 0xA8);
}

// ---- screen 11 -------------------------------------------------------------------------------

class Screen11Test : public SettingsTest {
 protected:
  static constexpr int kSwitchA = 0, kSwitchB = 1, kEdit = 2, kSwitchBText = 6;
};

TEST_F(Screen11Test, AnUnusedBranch1ForcesSwitchBAndStoreWritesOnlyBits4And6AndByte3) {
  OpenWith(
      SettingsScreenXml(11, 10, 6, BranchXml(1, 0, 0, "") + BranchXml(2, 1, 0, ObjXml(0, 30, 60))));
  auto before = Pattern(image);  // byte 8 = A8: bits 4 and 6 clear; byte 3 = A3 = 163
  Go(11);
  EXPECT_EQ(Byte(8), 0xA8 | 0x40);
  EXPECT_EQ(Byte(3), 60);  // bounded by the slider's own range
  EXPECT_TRUE(Button(kSwitchB)->IsCheckedToggle());
  EXPECT_TRUE(Button(kSwitchB)->isVisible());
  EXPECT_FALSE(Label(kSwitchBText)->isVisible());
  EXPECT_TRUE(Edit(kEdit)->isEnabled());
  Click(kSwitchA);
  Type(kEdit, "45");
  Back();
  EXPECT_EQ(Current(), 10);
  before[3] = 45;
  before[8] = 0xA8 | 0x10 | 0x40;
  EXPECT_EQ(Now(image), before);
}

TEST_F(Screen11Test, AnUnusedBranch2ShowsSwitchBsTextInItsPlace) {
  OpenWith(SettingsScreenXml(11, 1, 6, BranchXml(2, 0, 0, ObjXml(0, 30, 60))));
  Go(11);
  EXPECT_FALSE(Button(kSwitchB)->isVisible());
  EXPECT_TRUE(Label(kSwitchBText)->isVisible());
  EXPECT_EQ(Label(kSwitchBText)->geometry(), Button(kSwitchB)->geometry());
}

}  // namespace
}  // namespace roviro::test
