// Start-up of the main dialog: the language choice and StartIni.dat, the start view, Escape
// and the close question.

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QSignalSpy>

#include <fstream>
#include <sstream>

#include "AppFixture.h"
#include "app/AboutDlg.h"
#include "app/AppMessages.h"
#include "platform/Paths.h"

namespace roviro::test {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class StartUpTest : public AppTest {
 protected:
  StartUpTest() {
    WriteProfile();
    RegisterScreen(1);
  }
};

TEST_F(StartUpTest, FirstStartKeepsStartDisabledUntilALanguageIsChosen) {
  auto& d = Open();
  EXPECT_EQ(d.LanguageIndex(), kNoLanguage);
  EXPECT_FALSE(d.StartButton()->isEnabled());
  for (int i = 0; i < kLanguageCount; ++i) EXPECT_TRUE(d.LanguageButton(i)->isEnabled()) << i;
  EXPECT_FALSE(d.BackButton()->isEnabled());
  for (int i = 0; i < kTabCount; ++i) EXPECT_FALSE(d.TabButton(i)->isEnabled()) << i;
  // The start view speaks the desktop's language (German here) without choosing it.
  EXPECT_TRUE(d.Folder(FolderKind::Language).empty());
  EXPECT_EQ(d.CommonText(0), "Fehler...");
  // Pressing start while it is disabled does nothing.
  d.StartButton()->click();
  EXPECT_EQ(d.CurrentScreen(), nullptr);

  d.LanguageButton(1)->click();
  EXPECT_EQ(d.LanguageIndex(), 1);
  EXPECT_TRUE(d.StartButton()->isEnabled());
  EXPECT_TRUE(d.LanguageButton(1)->isDown());
  EXPECT_FALSE(d.LanguageButton(0)->isDown());
  EXPECT_EQ(FileNameOf(d.Folder(FolderKind::Language)), "English");
  EXPECT_EQ(d.CommonText(0), d.LanguageDescription().Text(3, 0));
  EXPECT_FALSE(d.CommonText(5).empty());
  EXPECT_EQ(d.ToolTip().Text(d.StartButton()), d.LanguageDescription().Text(4, 0));
  EXPECT_EQ(d.ToolTip().Text(d.BackButton()), d.LanguageDescription().Text(2, 0));

  d.LanguageButton(0)->click();
  EXPECT_EQ(FileNameOf(d.Folder(FolderKind::Language)), "Deutsch");
  EXPECT_EQ(d.CommonText(0), "Fehler...");
  EXPECT_TRUE(d.LanguageButton(0)->isDown());
  EXPECT_FALSE(d.LanguageButton(1)->isDown());

  // Each button (IDs 1006 to 1010) picks the folder of its line of main object 5, alone
  // pressed, and each button's tip is the chosen folder's line of its own.
  for (int i = kLanguageCount - 1; i >= 0; --i) {
    qobject_cast<QAbstractButton*>(d.Control(kIdLanguage0 + i))->click();
    EXPECT_EQ(FileNameOf(d.Folder(FolderKind::Language)), d.MainDescription().Text(5, i));
    for (int j = 0; j < kLanguageCount; ++j) {
      EXPECT_EQ(d.LanguageButton(j)->isDown(), i == j) << i << " " << j;
      EXPECT_EQ(d.ToolTip().Text(d.LanguageButton(j)), d.LanguageDescription().Text(1, j));
    }
  }
  EXPECT_EQ(d.CommonText(0), "Fehler...");
}

TEST_F(StartUpTest, AnIndexAboveFourDisablesStartAndChangesNothingElse) {
  WriteStartIni("[STARTUP_LANGUAGE]\n00 00 00 05\n");
  auto& d = Open();
  EXPECT_EQ(d.LanguageIndex(), 5);
  EXPECT_FALSE(d.StartButton()->isEnabled());
  EXPECT_TRUE(d.Folder(FolderKind::Language).empty());
  EXPECT_FALSE(d.LanguageButton(0)->isDown());
}

TEST_F(StartUpTest, ANegativeIndexCountsAsNoChoiceEither) {
  WriteStartIni("[STARTUP_LANGUAGE]\nFF FF FF FF\n");
  auto& d = Open();
  EXPECT_FALSE(d.LanguageChosen());
  EXPECT_FALSE(d.StartButton()->isEnabled());
}

TEST_F(StartUpTest, StartIniIsReadAsHexWordInItsSectionOnly) {
  // Comments and blank lines are skipped; a value outside the section is ignored; the last
  // value inside it wins.
  WriteStartIni(
      "// language choice\n"
      "00 00 00 00\n"
      "[STARTUP_LANGUAGE]   // the comment goes, the blanks stay: another section\n"
      "[STARTUP_LANGUAGE]\n"
      "\n"
      "0 1 // English\n");
  auto& d = Open();
  EXPECT_EQ(d.LanguageIndex(), 1);
  EXPECT_TRUE(d.StartButton()->isEnabled());
  EXPECT_EQ(FileNameOf(d.Folder(FolderKind::Language)), "English");
}

TEST_F(StartUpTest, AnotherSectionClosesTheLanguageSection) {
  WriteStartIni("[STARTUP_LANGUAGE]\n[OTHER]\n01\n");
  auto& d = Open();
  EXPECT_EQ(d.LanguageIndex(), kNoLanguage);
}

TEST_F(StartUpTest, StartWritesStartIniAsTwoLinesAndSwitchesToScreenOne) {
  auto& d = Open();
  d.LanguageButton(1)->click();
  // Written beside and renamed over the old file.
  std::vector<std::string> renamed;
  SetCommitObserver([&](std::string_view step, const std::string& path) {
    if (step == "rename") renamed.push_back(path);
  });
  d.StartButton()->click();
  SetCommitObserver({});
  ASSERT_EQ(renamed.size(), 1u);
  EXPECT_EQ(FileNameOf(renamed[0]), "StartIni.dat");
  EXPECT_EQ(ReadFile(program.File("StartIni.dat")), "[STARTUP_LANGUAGE]\n00 00 00 01\n");
  ASSERT_NE(d.CurrentScreen(), nullptr);
  EXPECT_EQ(d.CurrentScreen()->ScreenId(), 1);
  EXPECT_FALSE(d.LanguageButton(1)->isDown());
  EXPECT_EQ(d.ToolTip().Text(d.TabButton(0)), d.LanguageDescription().Text(2, 2));
  EXPECT_EQ(d.ToolTip().Text(d.TabButton(4)), d.LanguageDescription().Text(2, 6));
  // The start view's buttons make way for the screen's frame.
  EXPECT_TRUE(d.StartButton()->isHidden());
  EXPECT_FALSE(d.TabButton(0)->isHidden());
  // The file is read back as written.
  dlg.reset();
  auto& again = Open();
  EXPECT_EQ(again.LanguageIndex(), 1);
}

TEST_F(StartUpTest, EscapeNeverClosesTheDialog) {
  auto& d = Open();
  QSignalSpy finished(&d, &QDialog::finished);
  for (QWidget* target : {static_cast<QWidget*>(&d), static_cast<QWidget*>(d.LanguageButton(0))}) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
  }
  Pump();
  EXPECT_TRUE(d.isVisible());
  EXPECT_FALSE(d.IsClosed());
  EXPECT_EQ(finished.count(), 0);
  EXPECT_TRUE(prompts.Calls().empty());
}

TEST_F(StartUpTest, ShiftIsTrackedAndSwallowed) {
  auto& d = Open();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
  QApplication::sendEvent(d.LanguageButton(0), &press);
  EXPECT_TRUE(d.StateFlags() & kStateShiftHeld);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
  QApplication::sendEvent(d.LanguageButton(0), &release);
  EXPECT_FALSE(d.StateFlags() & kStateShiftHeld);
}

TEST_F(StartUpTest, CloseAsksAndClosesOnlyThroughTheEndOfThePortWatch) {
  WriteStartIni("[STARTUP_LANGUAGE]\n00 00 00 00\n");
  auto& d = Open();
  ASSERT_TRUE(WaitFor([&] { return d.Link().State().Has(kLinkPortWatch); }));
  QSignalSpy finished(&d, &QDialog::finished);

  prompts.ScriptAnswer(kIdNo);
  d.close();
  Pump();
  ASSERT_EQ(prompts.Calls().size(), 1u);
  const auto box = prompts.Calls()[0];
  EXPECT_EQ(box.text, d.CommonText(5));
  EXPECT_EQ(box.caption, d.CommonText(2));
  EXPECT_EQ(box.style, kMbYesNo | kMbIconQuestion | kMbTopmost);
  EXPECT_TRUE(d.isVisible());
  EXPECT_FALSE(d.Link().State().Has(kLinkStop));

  prompts.ScriptAnswer(kIdYes);
  d.close();
  EXPECT_TRUE(d.StateFlags() & kStateCloseConfirmed);
  EXPECT_TRUE(d.Link().State().Has(kLinkStop));
  EXPECT_FALSE(d.isVisible());
  EXPECT_FALSE(d.IsClosed());  // not before the port watch has reported its end (20031)
  ASSERT_TRUE(WaitFor([&] { return d.IsClosed(); }));
  EXPECT_EQ(finished.count(), 1);
  EXPECT_EQ(prompts.Calls().size(), 2u);
  EXPECT_EQ(d.Link().RunningWorkers(), 0);
  EXPECT_EQ(ReadFile(program.File("StartIni.dat")), "[STARTUP_LANGUAGE]\n00 00 00 00\n");
}

TEST_F(StartUpTest, EwOnTheCommandLineShowsItsBox) {
  env.commandLine = "--simulate -EW";
  Open();
  ASSERT_EQ(prompts.Calls().size(), 1u);
  EXPECT_EQ(prompts.Calls()[0].text, "EW");
  EXPECT_EQ(prompts.Calls()[0].caption, "");
}

TEST_F(StartUpTest, CaptionCarriesVersionAndSuffix) {
  env.captionSuffix = " [Simulation]";
  auto& d = Open();
  EXPECT_EQ(d.windowTitle().toStdString(), "RE DeririViru - V1.5.1.001 [Simulation]");
  EXPECT_EQ(d.size(), QSize(800, 600));
}

// The window carries the program's icon in the small and the large size, and its window menu
// ends with the about entry after a separator.
TEST_F(StartUpTest, TheWindowHasTheProgramsIconAndItsMenuOpensTheAboutBox) {
  QString about;
  env.runAbout = [&](CAboutDlg& box) {
    about = box.Text();
    box.OkButton()->click();
  };
  auto& d = Open();
  const QList<QSize> sizes = d.windowIcon().availableSizes();
  EXPECT_TRUE(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32)));
  const QList<QAction*> entries = d.SystemMenu()->actions();
  ASSERT_GE(entries.size(), 2);
  EXPECT_TRUE(entries[entries.size() - 2]->isSeparator());
  entries.back()->trigger();
  EXPECT_TRUE(about.contains("1.5.1.001"));
  QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 300), d.mapToGlobal(QPoint(5, 300)));
  QApplication::sendEvent(&d, &click);
  EXPECT_TRUE(d.SystemMenu()->isVisible());
  d.SystemMenu()->hide();
}

TEST_F(StartUpTest, TheWindowMenuAndTheCloseQuestionSpeakTheLanguageAlsoBeforeAChoice) {
  auto& d = Open();  // no StartIni.dat: no language chosen
  d.OnCloseRequest();
  EXPECT_NE(prompts.Calls().back().text, "");  // the first language's table
  auto texts = [&] {
    std::vector<std::string> out;
    for (QAction* a : d.SystemMenu()->actions()) out.push_back(a->text().toStdString());
    return out;
  };
  EXPECT_EQ(texts().front(), "Minimieren");
  d.LanguageButton(1)->click();
  EXPECT_EQ(texts(), (std::vector<std::string>{"Minimise", "Close", "", "Contact data...",
                                               "History...", "", "About RoviroDazo..."}));
}

}  // namespace
}  // namespace roviro::test
