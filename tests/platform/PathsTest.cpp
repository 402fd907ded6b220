#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>

#include "platform/Folders.h"
#include "platform/Paths.h"
#include "support/TempFolder.h"

namespace roviro {
namespace {

#ifndef _WIN32
TEST(NormalisePath, UnifiesCollapsesAndStripsButKeepsTheRoot) {
  EXPECT_EQ(NormalisePath("C:/Daten//Screen\\Screen007.dat"), "C:/Daten/Screen/Screen007.dat");
  EXPECT_EQ(NormalisePath("/opt/roviro\\\\LoaderDaten\\Screen\\"),
            "/opt/roviro/LoaderDaten/Screen");
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

TEST(JoinPath, AnEmptyFolderNeverBecomesTheRoot) {
  EXPECT_EQ(JoinPath("", "0001.tmp"), "0001.tmp");
  EXPECT_EQ(JoinPath("", "\\Screen 001.sav"), "Screen 001.sav");
}

#ifndef _WIN32
TEST(Folders, AMissingOrUncreatableDataFolderIsReportedInGerman) {
  test::TempFolder tmp;
  const auto unset = [](const char* name) {
    const char* v = std::getenv(name);
    std::optional<std::string> old = v != nullptr ? std::optional<std::string>(v) : std::nullopt;
    unsetenv(name);
    return old;
  };
  const auto home = unset("HOME");
  const auto xdg = unset("XDG_DATA_HOME");
  Folders folders;
  folders.Init(tmp.File("prog"));
  if (home) setenv("HOME", home->c_str(), 1);
  if (xdg) setenv("XDG_DATA_HOME", xdg->c_str(), 1);
  EXPECT_TRUE(folders.Temp().empty());
  EXPECT_FALSE(folders.DataFolderAvailable());
  EXPECT_NE(folders.DataFolderMessage().find("Kein Datenordner"), std::string::npos);

  ASSERT_TRUE(std::ofstream(tmp.File("file")).good());
  folders.Init(tmp.File("prog"), tmp.File("file/shared"));  // below a file: never creatable
  EXPECT_FALSE(folders.DataFolderAvailable());
  EXPECT_NE(folders.DataFolderMessage().find(tmp.File("file/shared")), std::string::npos);
  folders.Init(tmp.File("prog"), tmp.File("shared"));
  EXPECT_TRUE(folders.DataFolderAvailable());
  EXPECT_EQ(folders.DataFolderMessage(), "");
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
