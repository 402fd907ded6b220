#include <gtest/gtest.h>

#include "rules/OperatingDataView.h"

namespace roviro {
namespace {

// A page with the parts the operating-data screen words its lines with.
ScreenDescription Page(const std::string& eventCount = "00000004") {
  ScreenDescription page;
  const std::string text =
      "[OBJEKT_NR]\n1\n[TEXT]\n, \n%a J.\n%a Mon.\n%a Tg.\n%a Std.\n%a Min.\n%a Sek.\n"
      "[OBJEKT_NR]\n3\n[TEXT]\n" +
      eventCount +
      "\n00000001Netz ein\n00000004Hindernis\n"
      "00000004Zweiter Eintrag\n00000009Nie erreicht\n"
      "[OBJEKT_NR]\n5\n[TEXT]\n%a\n0x%a\n%a\n";
  EXPECT_EQ(page.LoadFromText(text, 8, 20), S_OK);
  return page;
}

TEST(RunningTimeLine, PartsAppearFromTheFirstNonZeroOneOn) {
  const ScreenDescription page = Page();
  EXPECT_EQ(RunningTimeLine(90061, page), "1 Tg., 1 Std., 1 Min., 1 Sek.");
  EXPECT_EQ(RunningTimeLine(59, page), "59 Sek.");
  EXPECT_EQ(RunningTimeLine(0, page), "0 Sek.");
  // A zero in the middle is still shown once a larger part was.
  EXPECT_EQ(RunningTimeLine(3600 + 5, page), "1 Std., 0 Min., 5 Sek.");
  // Years count 365 days; the days go on from there.
  EXPECT_EQ(RunningTimeLine(31536000u + 2 * 86400u, page), "1 J., 2 Tg., 0 Std., 0 Min., 0 Sek.");
  EXPECT_EQ(RunningTimeLine(0xFFFFFFFFu, page), "136 J., 70 Tg., 6 Std., 28 Min., 15 Sek.");
}

TEST(EventTextList, CountIncludesItsOwnLineAndFirstMatchWins) {
  const auto list = BuildEventTextList(Page());
  ASSERT_EQ(list.size(), 3u);  // count 4: texts 1 to 3
  EXPECT_EQ(EventText(list, 4), "Hindernis");
  EXPECT_EQ(EventText(list, 9), "");  // beyond the count
  EXPECT_TRUE(BuildEventTextList(Page("00000001")).empty());
}

TEST(OperatingDataView, ReadsBlock0x30LeastSignificantFirst) {
  ParameterImage image;
  auto data = image.Block(0x30);
  data[0] = 0xCD;
  data[1] = 0x5F;
  data[2] = 0x01;
  data[5] = 12;
  data[7] = 200;
  data[11] = 0x01;
  data[12] = 0x04;
  data[20] = 0x7E;
  image.Block(0x39)[16] = 0x52;
  const OperatingDataView view = BuildOperatingDataView(image, Page());
  EXPECT_EQ(view.runningSeconds, 90061u);
  EXPECT_EQ(view.timeLine, "1 Tg., 1 Std., 1 Min., 1 Sek. - Motor Firmware V5.2");
  EXPECT_EQ(view.firstCounter, "12");
  EXPECT_EQ(view.secondCounter, "200");
  EXPECT_EQ(view.events[0].columns[0], "0");
  EXPECT_EQ(view.events[0].columns[1], "0x01");
  EXPECT_EQ(view.events[0].columns[2], "Netz ein");
  EXPECT_EQ(view.events[1].columns[2], "Hindernis");
  EXPECT_EQ(view.events[9].columns[0], "9");
  EXPECT_EQ(view.events[9].columns[1], "0x7E");
  EXPECT_EQ(view.events[9].columns[2], "");
}

}  // namespace
}  // namespace roviro
