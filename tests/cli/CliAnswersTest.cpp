// What the programs answer about themselves and about the shipped catalogues.

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <utility>

#include "CliRunner.h"
#include "platform/Paths.h"
#include "support/TempFolder.h"

namespace roviro {
namespace {

using test::RunCli;
using test::RunProgram;

const std::regex kVersionLine(
    R"(^roviro-(cli|dazo) \d+\.\d+\.\d+ \(revision ([0-9a-f]{7,}(-modified)?|unknown)\)\n$)");

TEST(CliAnswers, BothProgramsNameTheirVersionAndHelpWithoutADisplay) {
  test::TempFolder tmp;
  const test::CliResult cli = RunCli({"--version"}, tmp.Path());
  EXPECT_EQ(cli.exitCode, 0) << cli.err;
  EXPECT_TRUE(std::regex_match(cli.out, kVersionLine)) << cli.out;

  // "Excludes:" stands on a line of its own, under the option's description.
  const test::CliResult help = RunCli({"--help"}, tmp.Path());
  EXPECT_EQ(help.exitCode, 0);
  std::istringstream lines(help.out);
  int excludes = 0;
  for (std::string line; std::getline(lines, line);) {
    const auto at = line.find("Excludes:");
    if (at == std::string::npos) continue;
    ++excludes;
    EXPECT_EQ(line.find_first_not_of(' '), at) << line;
  }
  EXPECT_EQ(excludes, 2) << help.out;
  EXPECT_NE(help.out.find("0 Deutsch, 1 English"), std::string::npos);

#ifdef ROVIRO_DAZO_PATH
  // No display at all, and Qt told to use the X server: --help and --version must not
  // need one.
  const std::string noDisplay = "-u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb";
  const test::CliResult version =
      RunProgram(ROVIRO_DAZO_PATH, {"--version"}, tmp.Path(), noDisplay);
  EXPECT_EQ(version.exitCode, 0) << version.err;
  EXPECT_TRUE(std::regex_match(version.out, kVersionLine)) << version.out;
  const test::CliResult usage = RunProgram(ROVIRO_DAZO_PATH, {"--help"}, tmp.Path(), noDisplay);
  EXPECT_EQ(usage.exitCode, 0) << usage.err;
  EXPECT_NE(usage.out.find("-EW"), std::string::npos) << usage.out;
#endif
}

TEST(CliAnswers, CatalogueCheckFillsTheMotorNamesPlaceholders) {
  test::TempFolder tmp;
  const std::string build = ROVIRO_BUILD_FOLDER;
  const std::string config = JoinPath(build, "LoaderDaten/Config");
  const std::pair<const char*, const char*> named[] = {
      {"0", "Rohrmotor R45"}, {"1", "Tubular motor R45"}, {"2", "Moteur tubulaire R45"}};
  for (const auto& [language, motor] : named) {
    const test::CliResult check = RunCli({"--program-dir", build, "--data-dir", tmp.Path(),
                                          "--lang", language, "catalogue", "check", config},
                                         tmp.Path());
    EXPECT_EQ(check.exitCode, 0) << check.err;
    EXPECT_NE(check.out.find("variant 0: "), std::string::npos) << check.out;
    EXPECT_EQ(check.out.find('%'), std::string::npos) << check.out;
    EXPECT_NE(check.out.find(motor), std::string::npos) << check.out;
  }
}

}  // namespace
}  // namespace roviro
