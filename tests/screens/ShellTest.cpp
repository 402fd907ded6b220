// What the screens need from the shell: the per-screen settings files.

#include <fstream>
#include <sstream>

#include "ScreensFixture.h"
#include "records/ScreenSettingsFile.h"

namespace roviro::test {
namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(ScreenSettingsFile, KeepsColumnWidthsAndNothingWithoutAFolder) {
  TempFolder folder;
  EXPECT_TRUE(ScreenSettingsPath("", 6).empty());
  EXPECT_FALSE(CreateEmptyScreenSettings("", 1));
  EXPECT_FALSE(WriteColumnWidths("", 6, {10}));
  EXPECT_FALSE(ReadScreenSettings("", 6).opened);

  EXPECT_EQ(FileNameOf(ScreenSettingsPath(folder.Path(), 6)), "Screen 006.sav");
  ASSERT_TRUE(WriteColumnWidths(folder.Path(), 6, {40, 60, 300}));
  EXPECT_EQ(Slurp(ScreenSettingsPath(folder.Path(), 6)), "[SCREEN_COLUMN_WIDTH]\n40\n60\n300\n");
  EXPECT_EQ(ReadScreenSettings(folder.Path(), 6).columnWidths, (std::vector<int>{40, 60, 300}));

  // Comments and empty lines are skipped; a header of another section ends the widths.
  std::ofstream(ScreenSettingsPath(folder.Path(), 6))
      << "// widths\n[SCREEN_COLUMN_WIDTH]\n\n50 // first\r\n70\n[OTHER]\n90\n";
  EXPECT_EQ(ReadScreenSettings(folder.Path(), 6).columnWidths, (std::vector<int>{50, 70}));

  ASSERT_TRUE(CreateEmptyScreenSettings(folder.Path(), 1));
  const ScreenSettings empty = ReadScreenSettings(folder.Path(), 1);
  EXPECT_TRUE(empty.opened);
  EXPECT_TRUE(empty.columnWidths.empty());
}

}  // namespace
}  // namespace roviro::test
