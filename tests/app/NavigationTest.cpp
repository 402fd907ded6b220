// Switching screens, the single fall-back, the focus table and the main tabs.

#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QTest>

#include "AppFixture.h"
#include "app/AppMessages.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueDocuments.h"

namespace roviro::test {
namespace {

class NavigationTest : public AppTest {
 protected:
  NavigationTest() {
    WriteProfile();
    WriteStartIni("[STARTUP_LANGUAGE]\n00 00 00 00\n");
    for (int id : {1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12}) RegisterScreen(id);
  }
  int Current() const {
    return dlg->CurrentScreen() != nullptr ? dlg->CurrentScreen()->ScreenId() : 0;
  }
  static void SendKey(QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods);
    QApplication::sendEvent(target, &release);
  }
};

TEST_F(NavigationTest, SwitchingBuildsLeavesAndDropsInOrder) {
  auto& d = Open();
  ASSERT_TRUE(Succeeded(d.SwitchScreen(1)));
  ASSERT_TRUE(Succeeded(d.SwitchScreen(2)));
  const std::vector<std::string> expected = {"construct 1", "create 1",  "enter 1",     "update 1",
                                             "leave 1",     "destroy 1", "construct 2", "create 2",
                                             "enter 2",     "update 2"};
  EXPECT_EQ(log.events, expected);
  EXPECT_EQ(d.PreviousScreenId(), 1);
  EXPECT_TRUE(d.Pools().buttonsA.InUse() & 1u);
  EXPECT_TRUE(d.CurrentScreen()->Flags() & kScreenBound);
  EXPECT_TRUE(d.Title()->isVisible());
}

TEST_F(NavigationTest, SwitchingToTheCurrentScreenDoesNothing) {
  auto& d = Open();
  ASSERT_TRUE(Succeeded(d.SwitchScreen(3)));
  Pump();
  log.events.clear();
  d.Pools().buttonsA.At(0)->SetCaption("kept");
  EXPECT_TRUE(Succeeded(d.SwitchScreen(3)));
  Pump();
  EXPECT_TRUE(log.events.empty());  // no leave, no create, no update after a repaint
  EXPECT_EQ(d.Pools().buttonsA.At(0)->Caption(), "kept");
}

TEST_F(NavigationTest, IdNineIsRefusedAndLeavesNoScreen) {
  auto& d = Open();
  EXPECT_FALSE(factory.Register(9, [](CVQZodavaRozeDlg*) { return nullptr; }));
  ASSERT_TRUE(Succeeded(d.SwitchScreen(1)));
  d.Pools().edits.At(0)->setPlainText("typed");
  EXPECT_TRUE(Failed(d.SwitchScreen(9)));
  EXPECT_EQ(d.CurrentScreen(), nullptr);
  EXPECT_TRUE(log.Has("leave 1"));
  EXPECT_TRUE(log.Has("destroy 1"));
  // Every borrowed control is back to its defaults.
  EXPECT_TRUE(d.Pools().edits.At(0)->isHidden());
  EXPECT_TRUE(d.Pools().edits.At(0)->toPlainText().isEmpty());
  EXPECT_TRUE(d.Pools().buttonsA.At(0)->isHidden());
  EXPECT_EQ(d.Pools().buttonsA.At(0)->GetLayout(), kPoolButtonLayoutAC);
  EXPECT_EQ(d.Pools().buttonsB.At(0)->GetLayout(), kPoolButtonLayoutB);
  // A number without a registered class fails the same way.
  factory.Unregister(4);
  EXPECT_TRUE(Failed(d.SwitchScreen(4)));
  EXPECT_EQ(d.CurrentScreen(), nullptr);
  // The start view is back.
  EXPECT_FALSE(d.StartButton()->isHidden());
}

TEST_F(NavigationTest, AFailingCreateFallsBackOnceToThePreviousScreen) {
  RegisterScreen(5, true);
  auto& d = Open();
  ASSERT_TRUE(Succeeded(d.SwitchScreen(2)));
  log.events.clear();
  EXPECT_TRUE(Succeeded(d.SwitchScreen(5)));
  EXPECT_EQ(Current(), 2);
  EXPECT_EQ(d.FallbackScreenId(), 2);
  EXPECT_EQ(log.Count("create 5"), 1);
  EXPECT_EQ(log.Count("destroy 5"), 1);
  EXPECT_EQ(log.Count("create 2"), 1);
}

TEST_F(NavigationTest, AFailingFallBackIsNotRetriedAgain) {
  RegisterScreen(5, true);
  auto& d = Open();
  // No screen before: the fall-back is the same failing screen, tried once more, then given up.
  EXPECT_TRUE(Failed(d.SwitchScreen(5)));
  EXPECT_EQ(log.Count("create 5"), 2);
  EXPECT_EQ(d.CurrentScreen(), nullptr);
  EXPECT_TRUE(d.Pools().buttonsA.At(0)->isHidden());
}

TEST_F(NavigationTest, TabWalksTheFocusTableAndGivesUpWhenNothingIsUsable) {
  auto& d = Open();
  ASSERT_TRUE(Succeeded(d.SwitchScreen(1)));
  Pump();
  auto* screen = static_cast<TestScreen*>(d.CurrentScreen());
  CMyButton* button = d.Pools().buttonsA.At(0);
  QPlainTextEdit* edit = d.Pools().edits.At(0);
  d.BackButton()->setEnabled(true);
  d.NextButton()->setEnabled(false);

  SendKey(&d, Qt::Key_Tab);
  EXPECT_EQ(screen->FocusIndex(), 0);
  EXPECT_EQ(QApplication::focusWidget(), button);
  SendKey(button, Qt::Key_Tab);
  EXPECT_EQ(screen->FocusIndex(), 1);
  SendKey(edit, Qt::Key_Tab);  // entry 33 (next) is disabled: entry 34 (back)
  EXPECT_EQ(screen->FocusIndex(), kFocusBackEntry);
  SendKey(d.BackButton(), Qt::Key_Tab);  // wraps to the start
  EXPECT_EQ(screen->FocusIndex(), 0);
  SendKey(button, Qt::Key_Backtab, Qt::ShiftModifier);  // backwards wraps to the end
  EXPECT_EQ(screen->FocusIndex(), kFocusBackEntry);

  // Nothing usable: index -1, the focus stays where it was.
  button->setEnabled(false);
  edit->hide();
  d.BackButton()->setEnabled(false);
  QWidget* before = QApplication::focusWidget();
  SendKey(&d, Qt::Key_Tab);
  EXPECT_EQ(screen->FocusIndex(), -1);
  EXPECT_EQ(QApplication::focusWidget(), before);
  SendKey(&d, Qt::Key_Tab);
  EXPECT_EQ(screen->FocusIndex(), -1);
}

TEST_F(NavigationTest, EnterOnTheStartViewStartsAndShiftReleasedElsewhereDoesNotStick) {
  auto& d = Open();
  QTest::keyClick(&d, Qt::Key_Return);
  ASSERT_EQ(Current(), 1);
  auto* screen = static_cast<TestScreen*>(d.CurrentScreen());
  d.BackButton()->setEnabled(true);
  // Shift goes down in the dialog and up while a message box has the keyboard.
  QTest::keyPress(&d, Qt::Key_Shift);
  EXPECT_TRUE(d.StateFlags() & kStateShiftHeld);
  QMessageBox box(QMessageBox::Information, "Hinweis", "Text");
  box.setWindowModality(Qt::NonModal);
  box.show();
  QTest::keyRelease(&box, Qt::Key_Shift);
  EXPECT_FALSE(d.StateFlags() & kStateShiftHeld);
  QTest::keyClick(&d, Qt::Key_Tab);
  EXPECT_EQ(screen->FocusIndex(), 0);  // forwards, not backwards to the back button
}

TEST_F(NavigationTest, BackAndNextFollowTheCatalogueOrTheScreensFallbacks) {
  LinkTree(false);  // no catalogue
  auto& d = Open();
  ASSERT_TRUE(Succeeded(d.SwitchScreen(2)));
  d.BackButton()->setEnabled(true);
  d.NextButton()->setEnabled(true);
  d.NextButton()->click();
  Pump();
  EXPECT_EQ(Current(), 3);
  ASSERT_TRUE(Succeeded(d.SwitchScreen(2)));
  d.BackButton()->setEnabled(true);
  d.BackButton()->click();
  Pump();
  EXPECT_EQ(Current(), 1);
}

TEST_F(NavigationTest, MainTabsFollowTheCurrentCatalogue) {
  auto& d = Open();
  const Catalogue* catalogue = d.CurrentCatalogue();
  ASSERT_NE(catalogue, nullptr);
  ASSERT_GT(d.CatalogueCount(), 0);
  auto lowest = [&](int from, int fallback) {
    for (int id = from; id <= 12; ++id) {
      if (GetScreenRecord(catalogue, id) != nullptr) return id;
    }
    return fallback;
  };
  const ScreenRecord* first = GetScreenRecord(catalogue, 1);
  ASSERT_NE(first, nullptr);

  d.TabButton(1)->setEnabled(true);
  d.TabButton(1)->click();
  EXPECT_EQ(Current(), first->Next);
  EXPECT_TRUE(d.TabButton(1)->isDown());
  d.TabButton(0)->setEnabled(true);
  d.TabButton(0)->click();
  EXPECT_EQ(Current(), lowest(1, 1));
  EXPECT_TRUE(d.TabButton(0)->isDown());
  EXPECT_FALSE(d.TabButton(1)->isDown());
  d.TabButton(2)->setEnabled(true);
  d.TabButton(2)->click();
  EXPECT_EQ(Current(), lowest(6, 6));
  EXPECT_EQ(d.MainTabTarget(3), 7);
  EXPECT_EQ(d.MainTabTarget(4), 8);
  // A tab first lets the screen keep its values.
  EXPECT_TRUE(log.Has("store " + std::to_string(lowest(1, 1))));
}

TEST_F(NavigationTest, MainTabsWithoutCatalogue) {
  LinkTree(false);
  auto& d = Open();
  EXPECT_EQ(d.CurrentCatalogue(), nullptr);
  EXPECT_EQ(d.MainTabTarget(0), 1);
  EXPECT_EQ(d.MainTabTarget(2), 6);
  ASSERT_TRUE(Succeeded(d.SwitchScreen(3)));
  d.OnMainTab(1);  // the settings tab leads nowhere without the first screen's record
  EXPECT_EQ(Current(), 3);
  d.OnMainTab(4);
  EXPECT_EQ(Current(), 8);
}

// A first screen whose record names no next screen gives the settings tab nowhere to go: the
// fitter stays on his screen instead of dropping to the start view.
TEST_F(NavigationTest, TheSettingsTabStaysWhenTheFirstRecordNamesNoNextScreen) {
  LinkTree(false);
  const std::string config = JoinPath(program.Path(), "LoaderDaten/Config");
  ASSERT_TRUE(CreateFolderTree(config));
  std::string motors;
  for (const MotorEntry& m : RealisticMotors(7)) motors += MotorXml(m);
  const std::string document =
      DocumentXml("<Scr>" + ScreenXml(1, -1, -1) + ScreenXml(3, 4, 1) + "</Scr>" + KxbmXml(motors));
  ASSERT_TRUE(WriteCatalogueArchive(JoinPath(config, "Kurz.kxbmc"), {{"Kurz.kxbm", document}}));
  auto& d = Open();
  ASSERT_TRUE(Succeeded(d.SwitchScreen(3)));
  d.TabButton(1)->setEnabled(true);
  d.TabButton(1)->click();
  EXPECT_EQ(Current(), 3);
  EXPECT_FALSE(log.Has("leave 3"));
}

TEST_F(NavigationTest, ScreensAskForSwitchesWithMessage20026) {
  auto& d = Open();
  ASSERT_TRUE(Succeeded(d.SwitchScreen(1)));
  d.PostMessage(kMsgSwitchScreen, 7);
  Pump();
  EXPECT_EQ(Current(), 7);
  std::intptr_t result = -1;
  EXPECT_TRUE(d.WindowProc(kMsgSwitchScreen, 9, 0, &result));
  EXPECT_EQ(result, 0);
}

TEST_F(NavigationTest, DroppingAScreenKillsItsTimersAndRoutesNothingMore) {
  auto& d = Open();
  ASSERT_TRUE(Succeeded(d.SwitchScreen(1)));
  d.SetTimer(3, 1);
  d.SetTimer(20, 100000);
  clock.Advance(1);
  d.RunDueTimers();
  EXPECT_EQ(log.Count("timer 3"), 1);
  d.Pools().buttonsA.At(0)->click();
  EXPECT_TRUE(log.Has("button"));
  ASSERT_TRUE(Succeeded(d.SwitchScreen(2)));
  EXPECT_FALSE(d.HasTimer(3));
  EXPECT_TRUE(d.HasTimer(20));  // not one of the screen timers 0 to 9
}

// A message box opened inside a screen operation runs an event loop in which a queued switch
// can arrive; the screen must live until its operation has returned.
TEST_F(NavigationTest, ASwitchAskedForDuringAScreenOperationWaitsForItsEnd) {
  auto& d = Open();
  ASSERT_TRUE(Succeeded(d.SwitchScreen(1)));
  auto* screen = static_cast<TestScreen*>(d.CurrentScreen());
  screen->onButton = [&](TestScreen& self) {
    std::intptr_t result = 0;
    d.WindowProc(kMsgSwitchScreen, 6, 0, &result);
    d.WindowProc(kMsgSwitchScreen, 7, 0, &result);  // the last request wins
    EXPECT_EQ(d.CurrentScreen(), &self);
    self.m_flags |= kScreenDirty;  // the screen is still whole
  };
  d.Pools().buttonsA.At(0)->click();
  EXPECT_EQ(Current(), 1);
  Pump();
  EXPECT_EQ(Current(), 7);
  EXPECT_FALSE(log.Has("construct 6"));

  // Closing the window meanwhile waits the same way.
  screen = static_cast<TestScreen*>(d.CurrentScreen());
  screen->onButton = [&](TestScreen& self) {
    d.State() |= kStateCloseConfirmed;
    d.OnCloseRequest();
    Pump();
    EXPECT_EQ(d.CurrentScreen(), &self);
    EXPECT_FALSE(d.IsClosed());
  };
  d.Pools().buttonsA.At(0)->click();
  Pump();
  EXPECT_TRUE(d.IsClosed());
}

// What a screen selects in a combo box itself survives the data exchange after its handler;
// what it leaves in the dialog's variable is selected.
TEST_F(NavigationTest, TheDataExchangeKeepsASelectionTheScreenMadeItself) {
  auto& d = Open();
  ASSERT_TRUE(Succeeded(d.SwitchScreen(1)));
  QComboBox* combo = d.Pools().combos.At(0);
  combo->addItems({"Eins", "Zwei", "Drei"});
  combo->setCurrentIndex(-1);
  auto* screen = static_cast<TestScreen*>(d.CurrentScreen());
  screen->onButton = [&](TestScreen&) { combo->setCurrentIndex(1); };
  d.Pools().buttonsA.At(0)->click();
  EXPECT_EQ(combo->currentIndex(), 1);
  screen->onButton = [&](TestScreen&) { combo->setCurrentIndex(-1); };
  d.Pools().buttonsA.At(0)->click();
  EXPECT_EQ(combo->currentIndex(), -1);  // "no selection" is a state of its own
}

// A screen never inherits the look another screen gave a pooled control.
TEST_F(NavigationTest, DroppingAScreenRestoresEveryPooledControlsLook) {
  auto& d = Open();
  ASSERT_TRUE(Succeeded(d.SwitchScreen(1)));
  CMyStatic* label = d.Pools().statics.At(0);
  label->SetStyle(0x1);
  label->SetFlags(kFlagOwnDraw | kFlagPicture | kFlagGradientArea);
  label->SetGradientArea({1, 2, 30, 40});
  label->SetPictureMargins({3, 3, 3, 3});
  CMySliderCtrl* slider = d.Pools().slidersH.At(0);
  slider->SetFlags(kFlagGradientHorizontal);
  slider->setInvertedAppearance(true);
  CMyProgressCtrl* bar = d.Pools().progress.At(0);
  bar->SetFlags(kFlagPicture);
  bar->setTextVisible(true);
  ASSERT_TRUE(Succeeded(d.SwitchScreen(2)));
  EXPECT_EQ(label->GetStyle(), 0u);
  EXPECT_EQ(label->GetFlags(), kFlagOwnDraw);
  EXPECT_TRUE(label->GradientArea().IsEmpty());
  EXPECT_EQ(label->PictureMargins(), Rect{});
  EXPECT_EQ(slider->GetFlags(), 0u);
  EXPECT_FALSE(slider->invertedAppearance());
  EXPECT_EQ(bar->GetFlags(), 0u);
  EXPECT_FALSE(bar->isTextVisible());
}

}  // namespace
}  // namespace roviro::test

namespace roviro::test {
namespace {

TEST_F(NavigationTest, ScreensDressButtonsFromTheirPageAndMarkTheStrip) {
  auto& d = Open();
  ASSERT_TRUE(Succeeded(d.SwitchScreen(3)));
  CScreen* screen = d.CurrentScreen();
  CMyButton* button = d.Pools().buttonsA.At(0);
  screen->LoadButtonBitmaps(button, 7);  // a picture button of page 3
  EXPECT_EQ(button->GetLayout(), kScreenButtonLayout);
  EXPECT_EQ(button->StatePictures().Count(), 6);
  EXPECT_TRUE(button->StatePictures().IsLoaded());
  ASSERT_NE(button->StatePictures().Frame(0), nullptr);
  const std::string pressed = button->StatePictures().Frame(0)->fileName;
  EXPECT_EQ(FileNameOf(pressed), FileNameOf(screen->Description().Bitmap(7, 4)));

  QImage canvas(800, 600, QImage::Format_RGB32);
  QPainter painter(&canvas);
  screen->OnPaint(&painter);
  EXPECT_EQ(d.NavigationStrip().Current(), 2);  // frame = screen id - 1
  EXPECT_EQ(screen->ClearFlag4(), 1);
  EXPECT_FALSE(screen->IgnoreCommandFrom(button));
  EXPECT_EQ(screen->GetDialog(), &d);
}

}  // namespace
}  // namespace roviro::test
