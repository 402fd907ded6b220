// Picture fitting, tiling, frame stepping, the colour list and the banded gradient.

#include <gtest/gtest.h>

#include "controls/geometry/ControlGeometry.h"

namespace roviro {
namespace {

TEST(PlacePicture, NoScaleCentredLandsInTheMiddle) {
  const PicturePlacement p =
      PlacePicture({40, 20}, {0, 0, 100, 100}, {}, kDrawNoScale | kDrawCentreX | kDrawCentreY);
  EXPECT_EQ(p.result, kDrawOk);
  EXPECT_EQ(p.target, (Rect{30, 40, 70, 60}));
  EXPECT_EQ(p.source, (Rect{0, 0, 40, 20}));
}

TEST(PlacePicture, NoScaleLargerPictureShowsAlignedPartOfIt) {
  // Right and bottom: the picture's bottom-right part fills the target.
  const PicturePlacement p =
      PlacePicture({200, 50}, {10, 10, 60, 110}, {}, kDrawNoScale | kDrawRight | kDrawBottom);
  EXPECT_EQ(p.target, (Rect{10, 60, 60, 110}));
  EXPECT_EQ(p.source, (Rect{150, 0, 200, 50}));
}

TEST(PlacePicture, FitHalvesAWidePicture) {
  const PicturePlacement p = PlacePicture({200, 100}, {0, 0, 100, 100}, {}, kDrawFit);
  EXPECT_EQ(p.target, (Rect{0, 0, 100, 50}));
  EXPECT_EQ(p.source, (Rect{0, 0, 200, 100}));
  const PicturePlacement centred =
      PlacePicture({200, 100}, {0, 0, 100, 100}, {}, kDrawFit | kDrawCentreY);
  EXPECT_EQ(centred.target, (Rect{0, 25, 100, 75}));
}

TEST(PlacePicture, FillCutsTheExcessOfTheSource) {
  const PicturePlacement p =
      PlacePicture({200, 100}, {0, 0, 100, 100}, {}, kDrawFit | kDrawFill | kDrawCentreX);
  EXPECT_EQ(p.target, (Rect{0, 0, 100, 100}));
  EXPECT_EQ(p.source, (Rect{50, 0, 150, 100}));
}

TEST(PlacePicture, StretchKeepsTheWholeTargetAndCutsTheSourceToThePicture) {
  const PicturePlacement p = PlacePicture({40, 20}, {5, 5, 105, 55}, {30, 10, 90, 90}, 0);
  EXPECT_EQ(p.target, (Rect{5, 5, 105, 55}));
  EXPECT_EQ(p.source, (Rect{30, 10, 40, 20}));
}

TEST(PlacePicture, Failures) {
  EXPECT_EQ(PlacePicture({0, 20}, {0, 0, 10, 10}, {}, 0).result, kDrawPictureTooSmall);
  EXPECT_EQ(PlacePicture({10, 20}, {0, 0, 0, 10}, {}, 0).result, kDrawEmptyTarget);
  EXPECT_EQ(PlacePicture({10, 20}, {0, 0, 10, 10}, {50, 50, 60, 60}, 0).result, kDrawEmptySource);
}

TEST(TileArea, RowsFromTopLeftWithCutEdges) {
  const std::vector<Tile> tiles = TileArea({10, 20, 35, 35}, {10, 8});
  ASSERT_EQ(tiles.size(), 6u);  // three per row, two rows
  EXPECT_EQ(tiles[0].target, (Rect{10, 20, 20, 28}));
  EXPECT_EQ(tiles[2].target, (Rect{30, 20, 35, 28}));
  EXPECT_EQ(tiles[2].source, (Rect{0, 0, 5, 8}));
  EXPECT_EQ(tiles[5].target, (Rect{30, 28, 35, 35}));
  EXPECT_EQ(tiles[5].source, (Rect{0, 0, 5, 7}));
  EXPECT_TRUE(TileArea({0, 0, 0, 10}, {10, 8}).empty());
  EXPECT_TRUE(TileArea({0, 0, 10, 10}, {0, 8}).empty());
}

TEST(StepFrame, StopsOrWrapsAtTheEnds) {
  EXPECT_EQ(StepFrame(2, 3, true, false), 2);
  EXPECT_EQ(StepFrame(2, 3, true, true), 0);
  EXPECT_EQ(StepFrame(0, 3, false, false), 0);
  EXPECT_EQ(StepFrame(0, 3, false, true), 2);
  EXPECT_EQ(StepFrame(1, 3, true, false), 2);
  EXPECT_EQ(StepFrame(1, 3, false, true), 0);
  // After a failed load the current index lies past the last frame.
  EXPECT_EQ(StepFrame(3, 3, false, false), 0);
  EXPECT_EQ(StepFrame(0, 0, true, true), 0);
}

TEST(ColourList, EntriesAreEightDigitDecimalAndOutOfRangeIsMagenta) {
  EXPECT_EQ(FormatColourEntry(0x0000FF), "00000255");
  EXPECT_EQ(FormatColourEntry(0xFFFFFF), "16777215");
  const std::vector<std::string> entries{FormatColourEntry(0x123456), FormatColourEntry(0)};
  EXPECT_EQ(ColourAt(entries, 0), 0x123456u);
  EXPECT_EQ(ColourAt(entries, 1), 0u);
  EXPECT_EQ(ColourAt(entries, 3), 0xFF00FFu);
  EXPECT_EQ(ColourAt(entries, -1), 0xFF00FFu);
}

TEST(Gradient, ThreeColoursMakeTwoBands) {
  EXPECT_EQ(GradientBands(100, 3), (std::vector<Span>{{0, 50}, {50, 100}}));
  // The last band ends exactly at the far edge despite integer division.
  EXPECT_EQ(GradientBands(100, 4), (std::vector<Span>{{0, 33}, {33, 66}, {66, 100}}));
  EXPECT_TRUE(GradientBands(100, 1).empty());
}

TEST(Gradient, StepsFollowTheLargestChannelDifference) {
  EXPECT_EQ(GradientSteps(0, 0, 100, 32), 1);  // black to black
  EXPECT_EQ(GradientSteps(MakeColour(0, 0, 0), MakeColour(10, 200, 30), 100, 32), 100);
  EXPECT_EQ(GradientSteps(MakeColour(0, 0, 0), MakeColour(10, 20, 30), 100, 32), 30);
  EXPECT_EQ(GradientSteps(MakeColour(0, 0, 0), MakeColour(255, 0, 0), 100, 4), 1);
  EXPECT_EQ(GradientStepColour(MakeColour(0, 100, 200), MakeColour(255, 0, 100), 1, 3),
            MakeColour(85, 66, 166));
}

TEST(Gradient, PlanCoversTheAreaInOrder) {
  const Rect area{10, 0, 110, 20};
  const std::vector<ColourFill> black = PlanGradient(area, {0, 0}, false, 32);
  ASSERT_EQ(black.size(), 1u);
  EXPECT_EQ(black[0].rect, area);

  const std::vector<ColourFill> fills = PlanGradient(
      area, {MakeColour(255, 0, 0), MakeColour(0, 0, 255), MakeColour(0, 255, 0)}, false, 32);
  // Each band has 50 steps of one pixel (the difference 255 is cut to the band's length).
  ASSERT_EQ(fills.size(), 100u);
  EXPECT_EQ(fills.front().rect, (Rect{10, 0, 11, 20}));
  EXPECT_EQ(fills.front().colour, MakeColour(255, 0, 0));
  EXPECT_EQ(fills[50].rect, (Rect{60, 0, 61, 20}));
  EXPECT_EQ(fills[50].colour, MakeColour(0, 0, 255));
  EXPECT_EQ(fills.back().rect.right, 110);
  for (std::size_t i = 1; i < fills.size(); ++i) {
    EXPECT_EQ(fills[i].rect.left, fills[i - 1].rect.right);
  }

  const std::vector<ColourFill> vertical =
      PlanGradient({0, 0, 30, 10}, {MakeColour(0, 0, 0), MakeColour(0, 0, 5)}, true, 32);
  ASSERT_EQ(vertical.size(), 5u);
  EXPECT_EQ(vertical[0].rect, (Rect{0, 0, 30, 2}));
  EXPECT_EQ(vertical[4].rect, (Rect{0, 8, 30, 10}));
  EXPECT_EQ(vertical[4].colour, MakeColour(0, 0, 4));

  EXPECT_TRUE(PlanGradient({}, {0, 1}, false, 32).empty());
  EXPECT_TRUE(PlanGradient(area, {}, false, 32).empty());
  EXPECT_EQ(PlanGradient(area, {0x123456}, true, 32), (std::vector<ColourFill>{{area, 0x123456}}));
}

}  // namespace
}  // namespace roviro
