// What the screens tell the fitter matches what happened: the result line before the box
// that reports it, where the set came from when screen 1 is built again, the tab of the
// current screen, which way the motor was told to run, the file name the save dialog offers,
// and screenshots that do not depend on the focus.

#include "ScreensFixture.h"
#include "app/AppMessages.h"
#include "platform/Paths.h"

namespace roviro::test {
namespace {

class TruthfulScreensTest : public ScreensTest {
 protected:
  void StartOnLoadData() {
    OpenConnected();
    LoadSimulatedMotor(0);
    ASSERT_TRUE(PressStart());
  }
  std::string Result() const { return dlg->Pools().statics.At(10)->GetText(); }
  std::string Page(int k, int n) const { return dlg->CurrentScreen()->Description().Text(k, n); }
  void GoToTab(int tab, int expected) {
    dlg->TabButton(tab)->click();
    Pump();
    ASSERT_EQ(Current(), expected);
  }
  int DownTab() const {
    int down = -1;
    for (int i = 0; i < 5; ++i) {
      if (dlg->TabButton(i)->isDown()) down = down == -1 ? i : -2;
    }
    return down;
  }
};

TEST_F(TruthfulScreensTest, ScreenOneTellsWhereTheSetCameFromBeforeAndAfterItsBox) {
  StartOnLoadData();
  const std::string fromCatalogue = Page(3, 0);
  const std::string fromMotor = Page(3, 3);
  EXPECT_EQ(Result().rfind(fromCatalogue, 0), 0u) << Result();
  EXPECT_EQ(DownTab(), 0);

  // The success box is shown with the result line already saying what it reports.
  std::vector<std::string> shownWithBox;
  prompts.OnBox([&](const ScriptedPrompts::Call&) { shownWithBox.push_back(Result()); });
  dlg->Pools().buttonsB.At(1)->click();
  ASSERT_TRUE(WaitIdle());
  prompts.OnBox({});
  EXPECT_EQ(DownTab(), 0);  // the tabs were disabled during the download; still pressed
  ASSERT_FALSE(shownWithBox.empty());
  EXPECT_EQ(shownWithBox.front().rfind(fromMotor, 0), 0u) << shownWithBox.front();

  // Built again, the screen says the same of the set, not "from the catalogue".
  dlg->Pools().edits.At(0)->setPlainText("Tor 1");
  dlg->Pools().edits.At(3)->setPlainText("Muster Rollladen GmbH");
  GoToTab(2, 6);
  EXPECT_EQ(DownTab(), 2);
  GoToTab(0, 1);
  EXPECT_EQ(Result().rfind(fromMotor, 0), 0u) << Result();

  // Next leads to the settings screens: their tab is the one pressed.
  dlg->NextButton()->click();
  Pump();
  ASSERT_NE(Current(), 1);
  EXPECT_EQ(DownTab(), 1);
  EXPECT_TRUE(SaveScreenshot("truth-settings-after-next"));
}

TEST_F(TruthfulScreensTest, TheSaveDialogOffersTheMotorNameAndUpDownShowTheRun) {
  StartOnLoadData();
  dlg->Pools().buttonsB.At(1)->click();
  ASSERT_TRUE(WaitIdle());
  dlg->Pools().edits.At(0)->setPlainText("Halle 3/Tor 1");
  dlg->Pools().edits.At(3)->setPlainText("Muster Rollladen GmbH");
  GoToTab(2, 6);
  prompts.ScriptPath("");  // cancelled: only what was offered counts
  dlg->Pools().buttonsB.At(0)->click();
  const auto calls = prompts.Calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back().kind, "save");
  EXPECT_EQ(FileNameOf(calls.back().folder), "Halle 3_Tor 1.kxmc") << calls.back().folder;
  EXPECT_TRUE(FolderExists(FolderOf(calls.back().folder))) << calls.back().folder;

  GoToTab(3, 7);
  // Which of "Up" and "Down" is shown pressed after each of Up, Down, Stop.
  auto press = [this](int button) {
    dlg->Pools().buttonsB.At(button)->click();
    EXPECT_TRUE(WaitIdle());
    Pump();
    return std::pair(dlg->Pools().buttonsB.At(0)->isDown(), dlg->Pools().buttonsB.At(2)->isDown());
  };
  EXPECT_EQ(press(0), std::pair(true, false));
  EXPECT_TRUE(SaveScreenshot("truth-test-up"));
  EXPECT_EQ(press(2), std::pair(false, true));
  EXPECT_EQ(press(1), std::pair(false, false));
}

TEST_F(TruthfulScreensTest, AScreenshotIsTheSameWhereverTheFocusIs) {
  StartOnLoadData();
  dlg->Pools().buttonsB.At(1)->setFocus();
  const QImage first = Screenshot();
  dlg->Pools().edits.At(0)->setFocus();
  const QImage second = Screenshot();
  EXPECT_TRUE(first == second);
}

}  // namespace
}  // namespace roviro::test
