// Text measuring: line splitting by the options, cutting lines that are too wide, and sizes.

#include <gtest/gtest.h>

#include "controls/geometry/TextGeometry.h"

namespace roviro {
namespace {

// Every character 10 pixels wide, every line 16 high.
Size Measure(const std::string& line) { return {static_cast<int>(line.size()) * 10, 16}; }

TextLayout Layout(const std::string& text, int maxWidth, int options) {
  TextLayout layout;
  EXPECT_EQ(LayoutText(text, maxWidth, options, Measure, &layout), S_OK);
  return layout;
}

TEST(TextLayout, FailsOnEmptyTextOrMissingPieces) {
  TextLayout layout;
  EXPECT_EQ(LayoutText("", 0, 0, Measure, &layout), E_FAIL);
  EXPECT_EQ(LayoutText("x", 0, 0, Measure, nullptr), E_FAIL);
  EXPECT_EQ(LayoutText("x", 0, 0, MeasureLineFn{}, &layout), E_FAIL);
}

TEST(TextLayout, FirstLineOnlyUnlessSeveralLinesAreAllowed) {
  TextLayout one = Layout("abc\\ndefgh", 0, 0);
  EXPECT_EQ(one.lines, (std::vector<std::string>{"abc"}));
  EXPECT_EQ(one.size, (Size{32, 16}));

  TextLayout many = Layout("abc\\ndefgh\n\nx", 0, kExtentMultiLine);
  EXPECT_EQ(many.lines, (std::vector<std::string>{"abc", "defgh", "", "x"}));
  EXPECT_EQ(many.size, (Size{52, 64}));  // the empty line counts with the height of "R"
}

TEST(TextLayout, TrimOptions) {
  EXPECT_EQ(Layout("\n\nab\n", 0, kExtentMultiLine | kExtentTrimLineFeeds).lines,
            (std::vector<std::string>{"ab"}));
  EXPECT_EQ(Layout("  ab  \n  c ", 0, kExtentMultiLine | kExtentTrimBlanks).lines,
            (std::vector<std::string>{"ab", "c"}));
  EXPECT_EQ(Layout("  ab  ", 0, 0).size.cx, 62);
}

TEST(TextLayout, LongLinesAreCutAndTheRestFollows) {
  TextLayout cut = Layout("abcdefghij", 35, 0);
  EXPECT_EQ(cut.lines, (std::vector<std::string>{"abc", "def", "ghi", "j"}));
  EXPECT_EQ(cut.size, (Size{32, 64}));

  TextLayout words = Layout("one two three", 65, kExtentCutAtBlank);
  EXPECT_EQ(words.lines, (std::vector<std::string>{"one", "two", "three"}));
  // Without option 2 the cut lands inside the word.
  EXPECT_EQ(Layout("one two three", 75, 0).lines, (std::vector<std::string>{"one two", " three"}));
  // A single word wider than the limit is still cut, never looped on.
  EXPECT_EQ(Layout("abcdef", 5, kExtentCutAtBlank).lines.size(), 6u);
}

}  // namespace
}  // namespace roviro
