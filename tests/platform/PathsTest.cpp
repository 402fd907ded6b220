#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Folders.h"
#include "platform/Paths.h"
#include "support/TempFolder.h"

namespace roviro {
namespace {

#ifndef _WIN32
TEST(NormalisePath, UnifiesCollapsesAndStripsButKeepsTheRoot) {
  EXPECT_EQ(NormalisePath("C:/Daten//Screen\\Screen007.dat"), "C:/Daten/Screen/Screen007.dat");
  EXPECT_EQ(NormalisePath("/opt/roviro\\\\LoaderDaten\\Screen\\"), "/opt/roviro/LoaderDaten/Screen");
  EXPECT_EQ(NormalisePath("\\\\rel\\dir\\\\"), "rel/dir");
  EXPECT_EQ(NormalisePath("//abs//dir"), "/abs/dir");
  EXPECT_EQ(NormalisePath("rel\\dir\\"), "rel/dir");
  EXPECT_EQ(NormalisePath("//"), "/");
  EXPECT_EQ(NormalisePath(""), "");
}

TEST(NormalisePath, ProgramLiteralsKeepTheirMeaning) {
  const std::string folder = "/usr/lib/roviro";
  EXPECT_EQ(NormalisePath(folder + "\\LoaderDaten\\Screen\\" + "Deutsch"),
            "/usr/lib/roviro/LoaderDaten/Screen/Deutsch");
  EXPECT_EQ(JoinPath(folder + "\\temp\\", "0001.tmp"), "/usr/lib/roviro/temp/0001.tmp");
}
#endif

TEST(PathParts, NameAndFolder) {
  EXPECT_EQ(FileNameOf("a\\b/c.kxmc"), "c.kxmc");
  EXPECT_EQ(FileNameOf("c.kxmc"), "c.kxmc");
  EXPECT_EQ(FolderOf("c.kxmc"), "");
}

TEST(Folders, DerivesSettingsAndTempBelowTheSharedFolderAndCreatesThem) {
  test::TempFolder tmp;
  Folders folders;
  folders.Init(tmp.File("prog"), tmp.File("shared"));
  EXPECT_EQ(folders.Program(), tmp.File("prog"));
  EXPECT_EQ(folders.SharedData(), tmp.File("shared"));
  EXPECT_EQ(folders.ScreenSettings(),
            NormalisePath(tmp.File("shared") + "/Trevanic/DI DU-RoviroDazo/ScreenIni"));
  EXPECT_EQ(folders.Temp(), NormalisePath(tmp.File("shared") + "/Trevanic/DI DU-RoviroDazo/temp"));
  EXPECT_TRUE(FolderExists(folders.ScreenSettings()));
  EXPECT_TRUE(FolderExists(folders.Temp()));
  EXPECT_FALSE(Folders::ExecutableFolder().empty());
}

}  // namespace
}  // namespace roviro
