// The step-value screens 3, 12, 4 and 5 in the real dialog: the step numbers and their buttons,
// the forced functions, and the bits and bytes each screen writes when left (and no others).

#include "SettingsFixture.h"

namespace roviro::test {
namespace {

// Five step objects (1..6 unless given; screens 3 and 12), the value 2..30 (branch 1 object 0).
std::string SpeedProfile(int id, int use = 1, int valueMin = 2, int valueMax = 30, int stepMin = 1,
                         int stepMax = 6) {
  std::string steps;
  for (int k = 0; k < 5; ++k) steps += ObjXml(k, stepMin, stepMax);
  return SettingsScreenXml(
      id, 2, 4, BranchXml(1, use, 0, ObjXml(0, valueMin, valueMax)) + BranchXml(2, 1, 0, steps));
}
// Screen 4: A 10..240 and the step 1..6 in branch 1, B 1..120 and C 0..50 in branch 2.
std::string Screen4(int use = 1, int hide = 0, int stepMin = 1, int stepMax = 6) {
  return SettingsScreenXml(4, 3, 5,
                           BranchXml(1, 1, 0, ObjXml(0, 10, 240) + ObjXml(1, stepMin, stepMax)) +
                               BranchXml(2, use, hide, ObjXml(0, 1, 120) + ObjXml(1, 0, 50)));
}
// Screen 5: A 20..100, the step 1..6 in branch 2, B 10..100 in branch 3.
std::string Screen5(int use = 1, int stepMin = 1, int stepMax = 6) {
  return SettingsScreenXml(5, 4, 6,
                           BranchXml(1, 1, 0, ObjXml(0, 20, 100)) +
                               BranchXml(2, 1, 0, ObjXml(0, stepMin, stepMax)) +
                               BranchXml(3, use, 0, ObjXml(0, 10, 100)));
}

class StepScreensTest : public SettingsTest {
 protected:
  using SettingsTest::SettingsTest;
  // Step value at block 0x34 bytes (n, n + 1) set to division table entry `entry` of
  // variant 0 (HB 01..06, LB 0A..0F).
  void SetStep(int n, int entry) {
    StepByte(n) = static_cast<std::uint8_t>(1 + entry);
    StepByte(n + 1) = static_cast<std::uint8_t>(0x0A + entry);
  }
  std::string Shown(int label) const { return Label(label)->GetText(); }
  QWidget* Control(int i) const { return Screen()->Control(i); }
  bool Visible(int i) const { return !Control(i)->isHidden(); }
  // The image bytes that differ from `before`: (offset in the image, value).
  using Bytes = std::vector<std::pair<int, int>>;
  Bytes Changes(const ParameterBlock& before) const {
    Bytes out;
    for (std::size_t i = 0; i < before.size(); ++i) {
      if (before[i] != image.m_block[i]) out.emplace_back(static_cast<int>(i), image.m_block[i]);
    }
    return out;
  }
  static int At2E(int n) { return FindBlock(0x2E)->offset + n; }
  static int At34(int n) { return FindBlock(0x34)->offset + n; }
};

TEST_F(StepScreensTest, Screen3StepsFiveToSixStaysAtSixAndStaysAtTheMinimumMarkingDirty) {
  OpenWith(SpeedProfile(3) + Screen4());
  Byte(2) = 2;     // the range minimum: creation leaves the screen clean
  Byte(8) = 0x02;  // the main switch on: the steps are editable
  SetStep(2, 4);
  SetStep(4, 0);
  Go(3);
  EXPECT_TRUE(Shown(18) == "5" && !Dirty());
  Click(7 + 1);  // "-" of step 1 at its minimum
  EXPECT_TRUE(Shown(19) == "1" && Dirty());
  Click(2);
  EXPECT_EQ(Shown(18), "6");
  Next();
  EXPECT_TRUE(StepByte(2) == 0x06 && StepByte(3) == 0x0F);  // entry 5
  Back();
  ASSERT_EQ(Current(), 3);
  EXPECT_TRUE(Shown(18) == "6" && !Dirty());
  Click(2);  // "+" at the maximum
  EXPECT_TRUE(Shown(18) == "6" && Dirty());
}

TEST_F(StepScreensTest, Screen3WritesItsTwoBitsByteTwoAndTheChangedStepOnly) {
  OpenWith(SpeedProfile(3));
  image.Block(0x39)[2] = static_cast<std::uint8_t>((image.Block(0x39)[2] & ~7) | 1);  // variant 1
  Byte(8) = 0x6D;  // bits 1 and 4 clear, all others but 7 set
  Byte(2) = 20;
  StepByte(2) = 0x14, StepByte(3) = 0x0D;    // entry 3 of variant 1 (HB 11..16, LB 0A..0F)
  StepByte(6) = 0x77, StepByte(7) = 0x77;    // matches no entry
  StepByte(10) = 0x11, StepByte(11) = 0x0A;  // entry 0 of variant 1
  Go(3);
  EXPECT_TRUE(Shown(18) == "4" && Shown(20) == "3");  // an unmatched pair shows entry 2
  const ParameterBlock before = image.m_block;
  Click(0), Click(1), Click(2 + 4);  // "+" of step 4: entry 0 -> 1 of variant 1
  Type(12, "17");
  Next();
  EXPECT_EQ(Changes(before),
            (Bytes{{At34(10), 0x12}, {At34(11), 0x0B}, {At2E(2), 17}, {At2E(8), 0x7F}}));
}

// Screen 12 bounds by page (2..30) and record (5..20): the number shown is the one stored.
TEST_F(StepScreensTest, Screen12SettlesWithinThePageAndTheRecordsRangeAsLoadClampsWithTheRecords) {
  OpenWith(SpeedProfile(12, 1, 5, 20) + SpeedProfile(3, 1, 5, 20));
  for (int id : {12, 3}) {
    Byte(2) = 25, Byte(8) = 0x12;  // both switches on: the value is editable
    Go(id);
    EXPECT_EQ(Byte(2), 20);  // clamped in the image, untouched
    Type(12, "28");
    Advance(800);
    EXPECT_EQ(Text(12), "20");
    Type(12, "1");
    Advance(800);
    EXPECT_EQ(Slider(28)->value(), 5);  // what is stored
    EXPECT_EQ(Text(12), "5");
  }
}

// Step objects 252..257: entry 5 is step 257, which a byte holds as 1 (below the minimum).
// Screen 4's branch 2 is hidden: only value A and the step stay.
TEST_F(StepScreensTest, TheStepNumberAddsUpInAByteOnScreens4And5AndAsAnIntegerOn3) {
  OpenWith(SpeedProfile(3, 1, 2, 30, 252, 257) + Screen4(1, 1, 252, 257) + Screen5(1, 252, 257));
  SetStep(0, 5), SetStep(2, 5);
  Go(3);
  EXPECT_EQ(Shown(18), "257");
  Go(4);
  EXPECT_EQ(Shown(9), "252");
  for (int i : {0, 4, 5, 10, 11, 12, 13, 14, 16, 17}) EXPECT_FALSE(Visible(i)) << i;
  for (int i : {1, 2, 3, 9, 15}) EXPECT_TRUE(Visible(i)) << i;
  Click(1);
  EXPECT_EQ(Shown(9), "253");
  Next();
  EXPECT_EQ(StepByte(0), 0x02);  // entry 1
  SetStep(0, 5);
  Go(4);
  Go(5);
  EXPECT_EQ(Shown(10), "252");
}

// Screen 4 without branch 2 forces byte 9 bit 0, screen 5 without branch 3 byte 8 bit 6; each
// shows its switch's text instead of the switch. Screen 3 without branch 1 hides the switches
// and the value and keeps the steps editable.
TEST_F(StepScreensTest, TheScreensAdaptWhereTheCatalogueDoesNotUseABranch) {
  OpenWith(SpeedProfile(3, 0) + Screen4(0, 0) + Screen5(0));
  Byte(9) = 0xA4, Byte(8) = 0x00;
  Go(4);
  EXPECT_EQ(Byte(9), 0xA5);  // in the image at once
  EXPECT_TRUE(!Visible(0) && Visible(14));
  EXPECT_EQ(Shown(14), Screen()->Description().Text(6, 0));
  for (int i : {4, 10, 12, 16, 17}) EXPECT_FALSE(Visible(i)) << i;
  for (int i : {5, 11, 13}) EXPECT_TRUE(Visible(i) && Control(i)->isEnabled()) << i;
  Go(5);
  EXPECT_EQ(Byte(8), 0x40);
  EXPECT_TRUE(!Visible(1) && Visible(12) && Label(12)->isEnabled());
  Byte(8) = 0x00;
  Go(3);
  for (int i : {0, 1, 12, 14, 16, 17, 28}) EXPECT_FALSE(Visible(i)) << i;
  for (int i = 2; i < 28; i += (i == 11 ? 7 : 1)) EXPECT_TRUE(Control(i)->isEnabled()) << i;
}

// Screen 4 owns byte 9 bit 0 and bytes 4 to 6, screen 5 byte 8 bits 4 and 6 and bytes 3 and
// 7; both the step value at block 0x34 bytes 0 and 1.
TEST_F(StepScreensTest, Screens4And5WriteOnlyTheirBitsValuesAndTheChangedStep) {
  OpenWith(Screen4() + Screen5());
  Byte(9) = 0xFE, Byte(8) = 0xAF;  // everything but the switches' bits
  Byte(4) = 100, Byte(6) = 60, Byte(5) = 20, Byte(7) = 20, Byte(3) = 10;
  SetStep(0, 2);
  Go(4);
  const ParameterBlock before = image.m_block;
  Click(0);
  Type(5, "33");
  Click(2);  // "-": entry 2 -> 1
  Next();
  EXPECT_EQ(Changes(before),
            (Bytes{{At34(0), 0x02}, {At34(1), 0x0B}, {At2E(5), 33}, {At2E(9), 0xFF}}));
  ASSERT_EQ(Current(), 5);
  EXPECT_TRUE(Visible(1) && !Visible(12));
  Click(0), Click(1), Click(2), Click(2);  // "+" twice: entry 1 -> 3
  Type(4, "55");
  Type(5, "99");
  Back();
  EXPECT_EQ(Changes(before), (Bytes{{At34(0), 0x04},
                                    {At34(1), 0x0D},
                                    {At2E(3), 99},
                                    {At2E(5), 33},
                                    {At2E(7), 55},
                                    {At2E(8), 0xFF},
                                    {At2E(9), 0xFF}}));
}

// Screen 5's slider moves only its own pair; a value the record gives no range keeps its byte
// until the fitter changes it, and the screen says so once.
TEST_F(StepScreensTest, Screen5SlidersKeepTheOtherPairAndAValueWithoutARangeKeepsItsByte) {
  std::string steps;
  for (int k = 0; k < 5; ++k) steps += ObjXml(k, 1, 6);
  OpenWith(Screen5() +
           SettingsScreenXml(12, 2, 4, BranchXml(1, 1, 0, "") + BranchXml(2, 1, 0, steps)));
  Byte(8) = 0xFF;
  Go(5);
  Type(4, "55");
  Slider(14)->triggerAction(QAbstractSlider::SliderToMinimum);
  Pump();
  EXPECT_EQ(Text(4), "55");

  Byte(2) = 27;
  const std::size_t boxes = Boxes().size();
  Go(12);
  EXPECT_NE(Boxes().back().text.find("keinen Bereich"), std::string::npos);
  Next();
  EXPECT_EQ(Byte(2), 27);
  Go(12);
  EXPECT_EQ(Boxes().size(), boxes + 1);  // said once
  Type(12, "9");
  Next();
  EXPECT_EQ(Byte(2), 9);
}

class StepScreensLook : public StepScreensTest, public ::testing::WithParamInterface<int> {
 protected:
  StepScreensLook() : StepScreensTest(GetParam()) {}
};

// Without a catalogue (the shipped families are walked by the settings screenshot test):
// every shown control lies inside the window away from (0,0) and over no other, every label
// and switch is large enough for its text, and Tab follows the control table to next and
// back. The step is not bounded and never stored. Pages: build/screenshots/steps-*-none.png.
TEST_P(StepScreensLook, WithoutACatalogue) {
  OpenWith("");
  Byte(8) = 0x52, Byte(9) = 0x01;  // every switch on: everything usable
  StepByte(0) = 0x55, StepByte(1) = 0x66;
  for (int id : {3, 12, 5, 4}) {
    Go(id);
    const std::string name = "steps-" + std::to_string(language) + "-" + std::to_string(id);
    EXPECT_TRUE(SaveScreenshot(name + "-none"));
    std::vector<QWidget*> tabOrder, seen;
    for (int i = 0; i < Screen()->ControlCount(); ++i) {
      if (!Visible(i)) continue;
      if (!Label(i)) tabOrder.push_back(Control(i));
      const QRect r = Control(i)->geometry();
      EXPECT_TRUE(QRect(1, 48, 799, 462).contains(r)) << name << " " << i;  // above the bar
      for (int j = i + 1; j < Screen()->ControlCount(); ++j) {
        EXPECT_FALSE(Visible(j) && r.intersects(Control(j)->geometry()))
            << name << " " << i << " over " << j;
      }
      // A switch draws its 15-pixel box and a gap before the caption.
      const Size want = Label(i)    ? Label(i)->GetPreferredSize(0x40000000)
                        : Button(i) ? Size{Button(i)->GetPreferredSize(0x1000).cx + 3, 18}
                                    : Size{};
      EXPECT_TRUE(want.cx <= r.width() && want.cy <= r.height()) << name << " " << i;
    }
    tabOrder.insert(tabOrder.end(), {dlg->NextButton(), dlg->BackButton()});
    for (std::size_t k = 0; k < tabOrder.size(); ++k) {
      QTest::keyClick(dlg.get(), Qt::Key_Tab);
      seen.push_back(QApplication::focusWidget());
    }
    EXPECT_EQ(seen, tabOrder) << name;
  }
  for (int k = 0; k < 6; ++k) Click(1);
  EXPECT_EQ(Shown(9), "7");  // index 0 plus the page minimum 1, then six steps past 6
  Next();
  EXPECT_TRUE(Current() == 5 && StepByte(0) == 0x55 && StepByte(1) == 0x66);
}

INSTANTIATE_TEST_SUITE_P(Languages, StepScreensLook, ::testing::Range(0, kLanguageCount),
                         [](const auto& p) { return kLanguageNames[p.param]; });

}  // namespace
}  // namespace roviro::test
