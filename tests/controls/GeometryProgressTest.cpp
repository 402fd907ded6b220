// The progress bar's caption, bar and block rectangles, shading and animation, and the
// static's text placement.

#include <gtest/gtest.h>

#include "controls/geometry/ProgressGeometry.h"

namespace roviro {
namespace {

TEST(ProgressCaption, PercentPositionAndPercentSign) {
  EXPECT_EQ(ProgressCaption("%a%", 0, 200, 50), "25%");
  EXPECT_EQ(ProgressCaption("%a% (%b)", 10, 20, 13), "30%(13)");  // "% " becomes "%"
  EXPECT_EQ(ProgressCaption("%a % done", 0, 3, 2), "66 %done");
  EXPECT_EQ(ProgressCaption("%b/%a", 0, 3, 2), "2/66");
  EXPECT_EQ(ProgressCaption("%a%", 5, 5, 5), "");
  EXPECT_EQ(ProgressCaption("%a%", 9, 5, 5), "");
}

TEST(ProgressLimits, IntervalStepAndBlock) {
  EXPECT_EQ(LimitInterval(5), 20);
  EXPECT_EQ(LimitInterval(75), 75);
  EXPECT_EQ(LimitStep(0), 1);
  EXPECT_EQ(LimitStep(-4), 1);
  EXPECT_EQ(LimitStep(7), 7);
  EXPECT_EQ(LimitBlockLength(0), 1);
}

ProgressBarInput Bar(std::uint32_t flags, int position) {
  ProgressBarInput in;
  in.area = {10, 5, 110, 25};  // 100 x 20
  in.minimum = 0;
  in.maximum = 200;
  in.position = position;
  in.flags = flags;
  return in;
}

TEST(ProgressBar, GrowingBarEveryDirection) {
  EXPECT_EQ(ProgressBarRect(Bar(0, 50)), (Rect{10, 5, 35, 25}));
  EXPECT_EQ(ProgressBarRect(Bar(kProgressReversed, 50)), (Rect{85, 5, 110, 25}));
  EXPECT_EQ(ProgressBarRect(Bar(0, 0)), Rect{});
  EXPECT_EQ(ProgressBarRect(Bar(0, 500)), (Rect{10, 5, 110, 25}));  // clamped to the range
  ProgressBarInput v = Bar(0, 100);
  v.vertical = true;
  EXPECT_EQ(ProgressBarRect(v), (Rect{10, 15, 110, 25}));
  v.flags = kProgressReversed;
  EXPECT_EQ(ProgressBarRect(v), (Rect{10, 5, 110, 15}));
  ProgressBarInput empty = Bar(0, 5);
  empty.minimum = empty.maximum = 5;
  EXPECT_EQ(ProgressBarRect(empty), Rect{});
}

TEST(ProgressBar, BlockEntersAndLeavesTheArea) {
  // Area 10..110, block 40: the block runs over 140 pixels from just before the area to just
  // beyond it, whichever way it moves. Position p gives p * 140 / 200 pixels of travel.
  ProgressBarInput in = Bar(kProgressBlock, 0);
  in.blockLength = 40;
  const std::pair<int, Rect> forwards[] = {
      {0, {}}, {2, {10, 5, 11, 25}}, {100, {40, 5, 80, 25}}, {197, {107, 5, 110, 25}}, {200, {}}};
  for (std::uint32_t motion : {0u, kMotionBackwards}) {
    in.motion = motion;
    for (const auto& [position, block] : forwards) {
      in.position = position;
      EXPECT_EQ(ProgressBarRect(in), block) << position << " motion " << motion;
    }
  }
  in.flags |= kProgressReversed;  // enters at the right
  in.position = 2;
  EXPECT_EQ(ProgressBarRect(in), (Rect{109, 5, 110, 25}));
  ProgressBarInput v = Bar(kProgressBlock, 20);  // vertical, block 10: 3 of 30 pixels
  v.vertical = true;
  v.blockLength = 10;
  EXPECT_EQ(ProgressBarRect(v), (Rect{10, 22, 110, 25}));  // enters at the bottom
  v.flags |= kProgressReversed;
  EXPECT_EQ(ProgressBarRect(v), (Rect{10, 5, 110, 8}));  // at the top
}

TEST(ProgressShade, AcrossOrAlongAndCutToTheBar) {
  ProgressBarInput in = Bar(0, 100);
  const Rect bar = ProgressBarRect(in);  // 10..60
  const Colour c3 = MakeColour(0, 0, 100);
  const Colour c4 = MakeColour(0, 0, 0);
  std::vector<ColourFill> across = PlanProgressShade(in, bar, c3, c4, 32);
  ASSERT_EQ(across.size(), 20u);  // one step per pixel row
  EXPECT_EQ(across.front().colour, c3);
  EXPECT_EQ(across.front().rect, (Rect{10, 5, 60, 6}));

  in.flags = kProgressShadeAlong;
  std::vector<ColourFill> along = PlanProgressShade(in, bar, c3, c4, 32);
  // The shade spans the whole area (100 px, 100 steps); only the bar's half is kept.
  ASSERT_EQ(along.size(), 50u);
  EXPECT_EQ(along.front().colour, c4);
  EXPECT_EQ(along.back().rect.right, 60);
  EXPECT_EQ(along.back().colour, MakeColour(0, 0, 49));

  in.flags = kProgressShadeAlong | kProgressStretch;
  along = PlanProgressShade(in, bar, c3, c4, 32);
  ASSERT_EQ(along.size(), 50u);
  EXPECT_EQ(along.back().colour, MakeColour(0, 0, 98));
  EXPECT_TRUE(PlanProgressShade(in, Rect{}, c3, c4, 32).empty());
}

TEST(ProgressCaptionPlace, CentredUnlessAsked) {
  ProgressBarInput in = Bar(0, 100);
  const Rect client{0, 0, 120, 30};
  const Rect bar = ProgressBarRect(in);
  EXPECT_EQ(ProgressCaptionRect(client, in, bar, {20, 10}), (Rect{50, 10, 70, 20}));
  in.flags = kProgressCaptionInBarArea;
  EXPECT_EQ(ProgressCaptionRect(client, in, bar, {20, 10}), (Rect{50, 10, 70, 20}));
  in.flags = kProgressCaptionAtEdge;
  EXPECT_EQ(ProgressCaptionRect(client, in, bar, {20, 10}), (Rect{38, 10, 58, 20}));
  in.flags = kProgressCaptionAtStart;
  EXPECT_EQ(ProgressCaptionRect(client, in, bar, {20, 10}), (Rect{12, 10, 32, 20}));
}

TEST(ProgressAnimation, BounceAndWrap) {
  std::uint32_t motion = 0;
  EXPECT_EQ(NextAnimationPosition(95, 0, 100, 10, true, &motion), 95);
  EXPECT_EQ(motion, kMotionBackwards);
  EXPECT_EQ(NextAnimationPosition(95, 0, 100, 10, true, &motion), 85);
  EXPECT_EQ(NextAnimationPosition(5, 0, 100, 10, true, &motion), 5);
  EXPECT_EQ(motion, 0u);

  motion = 0;
  EXPECT_EQ(NextAnimationPosition(95, 0, 100, 10, false, &motion), 0);
  EXPECT_EQ(motion, 0u);
  motion = kMotionBackwards;
  EXPECT_EQ(NextAnimationPosition(5, 0, 100, 10, false, &motion), 100);
  EXPECT_EQ(NextAnimationPosition(50, 0, 100, 10, false, &motion), 40);
  // A step longer than the range never leaves it.
  motion = 0;
  EXPECT_EQ(NextAnimationPosition(5, 0, 10, 100, true, &motion), 0);
  motion = 0;
  EXPECT_EQ(NextAnimationPosition(5, 0, 10, 0, false, &motion), 6);  // step 0 counts as 1
}

TEST(StaticText, FormatFromStyleAndOptions) {
  StaticTextFormat f = MakeStaticTextFormat(0, kStaticDefaultOptions);
  EXPECT_FALSE(f.singleLine);
  EXPECT_TRUE(f.wordBreak);
  EXPECT_FALSE(f.noPrefix);
  EXPECT_EQ(f.ellipsis, Ellipsis::kNone);

  f = MakeStaticTextFormat(kStyleCentreImage | kStyleRight | kStyleNoPrefix, kStaticDefaultOptions);
  EXPECT_TRUE(f.vCentre);
  EXPECT_TRUE(f.singleLine);
  EXPECT_TRUE(f.right);
  EXPECT_TRUE(f.noPrefix);
  EXPECT_FALSE(f.wordBreak);

  EXPECT_TRUE(MakeStaticTextFormat(0, 0).singleLine);
  EXPECT_EQ(MakeStaticTextFormat(kStyleEndEllipsis, 0).ellipsis, Ellipsis::kEnd);
  EXPECT_EQ(MakeStaticTextFormat(kStylePathEllipsis, 0).ellipsis, Ellipsis::kPath);
  EXPECT_EQ(MakeStaticTextFormat(kStyleWordEllipsis, 0).ellipsis, Ellipsis::kWord);
  EXPECT_FALSE(MakeStaticTextFormat(0x4, 0).wordBreak);
  EXPECT_EQ(StaticMeasureOptions(kStaticDefaultOptions), 15);
  EXPECT_EQ(StaticMeasureOptions(0x40 | 0x1000), 1);
}

TEST(StaticText, RectCentredByOptionsAndStyle) {
  const Rect client{0, 0, 100, 40};
  EXPECT_EQ(StaticTextRect(client, {30, 10}, 0, 0), (Rect{0, 0, 30, 10}));
  EXPECT_EQ(StaticTextRect(client, {30, 10}, kStaticCentreVertically, 0), (Rect{0, 15, 30, 25}));
  EXPECT_EQ(StaticTextRect(client, {30, 10}, kStaticCentreVertically, kStyleCentre),
            (Rect{35, 15, 65, 25}));
  EXPECT_EQ(StaticTextRect(client, {30, 10}, 0, kStyleRight), (Rect{70, 0, 100, 10}));
  // Cut to the client before centring.
  EXPECT_EQ(StaticTextRect(client, {300, 100}, kStaticCentreVertically, kStyleCentre), client);
}

}  // namespace
}  // namespace roviro
