// The fitter's way through the program, in all five languages: start view, screen 1, a
// download from the simulated motor, a saved parameter file, an upload of it, a test command
// and the operating data. Each screen is saved as build/screenshots/walk-<lang>-<step>.png
// and checked for clipped or overlapping texts.

#include <filesystem>

#include <iostream>
#include "ScreensFixture.h"
#include "app/AppMessages.h"

namespace roviro::test {
namespace {

class Walkthrough : public ScreensTest, public ::testing::WithParamInterface<int> {
 protected:
  Walkthrough() : ScreensTest(GetParam()) {}
  // The screenshot's name, after the layout check of what the window shows.
  std::string Shot(const std::string& step) const {
    for (const std::string& fault : LayoutFaults(*dlg)) ADD_FAILURE() << step << ": " << fault;
    return "walk-" + std::string(kLanguageCodes[language]) + "-" + step;
  }
};

TEST_P(Walkthrough, FromTheStartViewThroughEveryDataScreen) {
  OpenConnected();
  LoadSimulatedMotor(0);
  ASSERT_TRUE(SaveScreenshot(Shot("0-start")));
  ASSERT_TRUE(PressStart());
  ASSERT_TRUE(SaveScreenshot(Shot("1-load-data")));

  // Download from the simulated motor.
  dlg->Pools().buttonsB.At(1)->click();
  ASSERT_TRUE(WaitIdle());
  EXPECT_TRUE(dlg->StateFlags() & kStateDataLoaded);
  dlg->Pools().edits.At(0)->setPlainText("Halle 3, Tor 1");
  ASSERT_TRUE(SaveScreenshot(Shot("2-downloaded")));

  // Save the set as a file, then write it back into the motor.
  dlg->TabButton(2)->click();
  Pump();
  ASSERT_EQ(Current(), 6);
  const std::string file = data.File("walk.kxmc");
  prompts.ScriptPath(file);
  dlg->Pools().buttonsB.At(0)->click();
  EXPECT_TRUE(std::filesystem::exists(file));
  dlg->Pools().buttonsB.At(1)->click();
  ASSERT_TRUE(WaitIdle());
  ASSERT_TRUE(SaveScreenshot(Shot("3-save-data")));

  // A test command, then the operating data.
  dlg->TabButton(3)->click();
  Pump();
  ASSERT_EQ(Current(), 7);
  dlg->Pools().buttonsB.At(1)->click();
  ASSERT_TRUE(WaitIdle());
  ASSERT_TRUE(SaveScreenshot(Shot("4-test")));
  dlg->TabButton(4)->click();
  Pump();
  ASSERT_EQ(Current(), 8);
  ASSERT_TRUE(WaitIdle());
  ASSERT_TRUE(SaveScreenshot(Shot("5-operating-data")));
  // The texts are ISO-8859-1; the log is UTF-8.
  auto utf8 = [](const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())).toStdString();
  };
  for (const auto& b : Boxes())
    std::cerr << "BOX " << utf8(b.caption) << ": " << utf8(b.text) << "\n";
}

INSTANTIATE_TEST_SUITE_P(Languages, Walkthrough, ::testing::Range(0, kLanguageCount),
                         [](const auto& p) { return kLanguageNames[p.param]; });

}  // namespace
}  // namespace roviro::test
