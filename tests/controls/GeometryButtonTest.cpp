// The owner-drawn button's decisions: state frame, derived picture names, layout and the
// paint plan for each kind of button.

#include <gtest/gtest.h>

#include "controls/geometry/ButtonGeometry.h"

namespace roviro {
namespace {

TEST(ButtonFrame, ChosenFromState) {
  EXPECT_EQ(ChooseStateFrame(true, true, true, true), kFrameDisabledChecked);
  EXPECT_EQ(ChooseStateFrame(true, false, true, true), kFrameDisabled);
  EXPECT_EQ(ChooseStateFrame(false, true, true, true), kFrameChecked);
  EXPECT_EQ(ChooseStateFrame(false, false, true, true), kFramePressed);
  EXPECT_EQ(ChooseStateFrame(false, false, false, true), kFrameHover);
  EXPECT_EQ(ChooseStateFrame(false, false, false, false), kFrameNormal);
}

TEST(ButtonNames, InaktivMarksTheNormalPicture) {
  const auto names = NamedStatePictures("Bilder/BtnInaktiv.bmp");
  EXPECT_EQ(names[kFramePressed], "Bilder/BtnPressed.bmp");
  EXPECT_EQ(names[kFrameHover], "Bilder/BtnInaktiv.bmp");
  EXPECT_EQ(names[kFrameDisabledChecked], "Bilder/BtnGrey.bmp");
  EXPECT_EQ(names[kFrameDisabled], "Bilder/BtnGrey.bmp");
  EXPECT_EQ(names[kFrameChecked], "Bilder/BtnInaktiv.bmp");
  EXPECT_EQ(names[kFrameNormal], "Bilder/BtnInaktiv.bmp");
  // Without the marker every frame uses the name itself.
  EXPECT_EQ(NamedStatePictures("Ok.bmp")[kFramePressed], "Ok.bmp");
}

TEST(ButtonLayout, PlacesByQuartersAndEdges) {
  const Rect area{0, 0, 100, 40};
  EXPECT_EQ(PlaceByLayout(area, {20, 10}, 0x0, 0, 4), (Rect{0, 0, 20, 10}));
  EXPECT_EQ(PlaceByLayout(area, {20, 10}, 0x1, 0, 4), (Rect{15, 0, 35, 10}));
  EXPECT_EQ(PlaceByLayout(area, {20, 10}, 0x22, 0, 4), (Rect{40, 15, 60, 25}));
  EXPECT_EQ(PlaceByLayout(area, {20, 10}, 0x84, 0, 4), (Rect{65, 30, 85, 40}));
  EXPECT_EQ(PlaceByLayout(area, {20, 10}, 0x8, 0, 4), (Rect{80, 0, 100, 10}));
  // Caption bits sit one byte higher; the first set bit wins.
  EXPECT_EQ(PlaceByLayout(area, {20, 10}, 0x2300, 8, 12), (Rect{15, 15, 35, 25}));
}

TEST(ButtonLayout, CaptionAreaFollowsThePicture) {
  const Rect item{0, 0, 200, 50};
  const Rect picture{10, 5, 40, 45};
  const Rect m{1, 2, 3, 4};
  EXPECT_EQ(AdjustCaptionArea(item, picture, m, 0x80000), (Rect{45, 0, 200, 50}));
  EXPECT_EQ(AdjustCaptionArea(item, picture, m, 0x40000), (Rect{0, 0, 9, 50}));
  EXPECT_EQ(AdjustCaptionArea(item, picture, m, 0x200000), (Rect{0, 9, 200, 50}));
  EXPECT_EQ(AdjustCaptionArea(item, picture, m, 0x3C00000), (Rect{11, 7, 37, 41}));
  EXPECT_EQ(AdjustCaptionArea(item, picture, m, 0x100000), (Rect{0, 0, 43, 50}));
}

TEST(ButtonLayout, PreferredSizeAddsTwentyAndAtLeastEighteen) {
  EXPECT_EQ(PreferredButtonSize({14, 9}), (Size{34, 18}));
  EXPECT_EQ(PreferredButtonSize({50, 30}), (Size{70, 30}));
}

ButtonPaintInput Input(std::uint32_t flags) {
  ButtonPaintInput in;
  in.client = {0, 0, 100, 40};
  in.flags = flags;
  in.layout = kScreenButtonLayout;
  in.measureCaption = [](int, int) { return Size{30, 12}; };
  return in;
}

TEST(ButtonPlan, PictureButtonCentresThePictureAndOffsetsWhenPressed) {
  ButtonPaintInput in = Input(kButtonStatePicture | kButtonCaption);
  in.statePictureLoaded = true;
  in.frameSize = {20, 20};
  ButtonPaintPlan plan = PlanButtonPaint(in);
  // Item rectangle 2..98 x 2..38; the picture centred in it.
  EXPECT_EQ(plan.pictureRect, (Rect{40, 10, 60, 30}));
  EXPECT_TRUE(plan.drawPicture);
  EXPECT_EQ(plan.frame, ButtonFrameKind::kNone);
  EXPECT_FALSE(plan.emptyFrame);
  // Caption starts right of the picture and is centred vertically in its area.
  EXPECT_EQ(plan.captionArea.left, 60 + 2 + 2);
  EXPECT_EQ(plan.captionRect, (Rect{64, 14, 94, 26}));

  in.itemState = kItemPressed;
  plan = PlanButtonPaint(in);
  EXPECT_EQ(plan.pictureRect, (Rect{42, 12, 62, 32}));

  in.flags |= kButtonNamedPictures;  // no border, no pressed offset
  plan = PlanButtonPaint(in);
  EXPECT_EQ(plan.pictureRect, (Rect{40, 10, 60, 30}));
  in.itemState = kItemDisabled;
  EXPECT_TRUE(PlanButtonPaint(in).pictureEnabled);
  in.flags &= ~static_cast<std::uint32_t>(kButtonNamedPictures);
  EXPECT_FALSE(PlanButtonPaint(in).pictureEnabled);
}

TEST(ButtonPlan, PushFrameByState) {
  ButtonPaintInput in = Input(kButtonPushFrame | kButtonCaption | kButtonTrackMouse);
  ButtonPaintPlan plan = PlanButtonPaint(in);
  EXPECT_EQ(plan.frame, ButtonFrameKind::kStandard);
  EXPECT_EQ(plan.frameRect, (Rect{2, 2, 98, 38}));
  EXPECT_FALSE(plan.frameSunken);
  EXPECT_FALSE(plan.focusRect);

  in.state = kStateHover;
  plan = PlanButtonPaint(in);
  EXPECT_EQ(plan.frame, ButtonFrameKind::kHover3D);
  EXPECT_TRUE(plan.focusRect);

  in.state = 0;
  in.itemState = kItemPressed | kItemFocus;
  in.flags |= kButtonFocusCaption;
  plan = PlanButtonPaint(in);
  EXPECT_TRUE(plan.blackFocusFrame);
  EXPECT_EQ(plan.blackFrameRect, (Rect{2, 2, 98, 38}));
  EXPECT_EQ(plan.frameRect, (Rect{3, 3, 97, 37}));
  EXPECT_TRUE(plan.frameSunken);

  // Hover without mouse tracking does not count.
  in = Input(kButtonPushFrame | kButtonCaption);
  in.state = kStateHover;
  EXPECT_EQ(PlanButtonPaint(in).frame, ButtonFrameKind::kStandard);
}

TEST(ButtonPlan, CheckBoxAndRadioGetMarksAndCaptions) {
  ButtonPaintInput in = Input(kButtonCheckBox);
  in.state = kStateChecked;
  in.layout = 0x20 | 0x80000 | 0x10000000;
  ButtonPaintPlan plan = PlanButtonPaint(in);
  EXPECT_EQ(plan.checkMark, CheckMarkKind::kCheckBox);
  EXPECT_TRUE(plan.checkMarkChecked);
  EXPECT_EQ(plan.pictureRect, (Rect{2, 13, 17, 28}));
  EXPECT_TRUE(plan.drawCaption);
  EXPECT_EQ(plan.frame, ButtonFrameKind::kNone);
  // Checked check boxes are not moved like pressed push buttons.
  EXPECT_EQ(plan.clip, (Rect{2, 2, 98, 38}));
  // Nothing of bits 24 to 26: the empty-content frame.
  EXPECT_TRUE(plan.emptyFrame);

  in = Input(kButtonRadio | kButtonCaption);
  in.itemState = kItemDisabled;
  plan = PlanButtonPaint(in);
  EXPECT_EQ(plan.checkMark, CheckMarkKind::kRadio);
  EXPECT_EQ(plan.pictureRect.Width(), 12);
  EXPECT_TRUE(plan.checkMarkInactive);
  EXPECT_FALSE(plan.checkMarkChecked);

  // A state bit 0 on a plain push button is not "checked".
  in = Input(kButtonCaption);
  in.state = kStateChecked;
  EXPECT_FALSE(PlanButtonPaint(in).checked);
}

TEST(ButtonPlan, MissingStatePictureDrawsTheEmptyFrame) {
  ButtonPaintInput in = Input(kButtonStatePicture);
  EXPECT_TRUE(PlanButtonPaint(in).emptyFrame);
  EXPECT_FALSE(PlanButtonPaint(in).drawPicture);
  in.statePictureLoaded = true;
  in.frameSize = {10, 10};
  EXPECT_FALSE(PlanButtonPaint(in).emptyFrame);
  EXPECT_FALSE(PlanButtonPaint(Input(kButtonOtherContent)).emptyFrame);
}

TEST(ButtonPlan, CaptionMeasuringOptionsFollowTheLayout) {
  ButtonPaintInput in = Input(kButtonCaption);
  int seenOptions = -1;
  int seenWidth = -1;
  in.measureCaption = [&](int maxWidth, int options) {
    seenWidth = maxWidth;
    seenOptions = options;
    return Size{10, 10};
  };
  in.layout = 0xC0000000;
  PlanButtonPaint(in);
  EXPECT_EQ(seenOptions, 3);
  EXPECT_EQ(seenWidth, 96);
  in.layout = 0x20000 | 0x0F00;  // caption left at its area's corner despite placement bits
  EXPECT_EQ(PlanButtonPaint(in).captionRect, (Rect{2, 2, 12, 12}));
  EXPECT_EQ(seenOptions, 0);
}

}  // namespace
}  // namespace roviro
