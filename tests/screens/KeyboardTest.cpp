// The program used from the keyboard alone: Tab reaches every control a screen shows, Space
// works a focused check box or button.

#include <QTest>

#include <set>

#include "ScreensFixture.h"

namespace roviro::test {
namespace {

class KeyboardTest : public ScreensTest {
 protected:
  static void Press(Qt::Key key) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr ? focus : QApplication::activeWindow(), key);
    Pump();
  }
};

TEST_F(KeyboardTest, TabReachesEveryControlOfEveryScreen) {
  OpenConnected();
  LoadSimulatedMotor(0);
  ASSERT_TRUE(PressStart());
  dlg->Pools().buttonsB.At(1)->click();  // download, so that every screen has data
  ASSERT_TRUE(WaitIdle());
  for (int id = 1; id <= 12; ++id) {
    if (!factory.Has(id)) continue;
    ASSERT_TRUE(Succeeded(dlg->SwitchScreen(id)) && WaitIdle());
    // Every shown, enabled pooled control that takes the focus, back, next and the main tabs;
    // buttons that never keep the focus (bit 22) do not count.
    std::vector<QWidget*> all = dlg->Pools().AllControls();
    all.insert(all.end(), {dlg->BackButton(), dlg->NextButton()});
    for (int tab = 0; tab < kTabCount; ++tab) all.push_back(dlg->TabButton(tab));
    std::set<QWidget*> expected, seen;
    for (QWidget* w : all) {
      const auto* b = qobject_cast<CMyButton*>(w);
      const bool handsBack = b != nullptr && b->IsFlag22() && !b->IsFlag23() && !b->IsFlag21();
      if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !handsBack) {
        expected.insert(w);
      }
    }
    for (std::size_t i = 0; i < expected.size() + 2; ++i) {
      Press(Qt::Key_Tab);
      seen.insert(QApplication::focusWidget());
    }
    EXPECT_EQ(seen, expected) << "screen " << id;
  }
}

TEST_F(KeyboardTest, SpaceTogglesAFocusedCheckBoxAndPressesAFocusedButton) {
  OpenConnected();
  ASSERT_TRUE(PressStart());
  CMyButton* variant = dlg->Pools().buttonsA.At(0);  // the first variant choice of screen 1
  ASSERT_TRUE(variant->IsFlag23() && variant->isEnabled());
  variant->setFocus(Qt::TabFocusReason);
  Press(Qt::Key_Space);
  EXPECT_TRUE(variant->IsCheckedToggle());
  Press(Qt::Key_Space);
  EXPECT_FALSE(variant->IsCheckedToggle());
  dlg->Pools().buttonsB.At(0)->setFocus(Qt::TabFocusReason);  // open a parameter file
  Press(Qt::Key_Space);
  ASSERT_FALSE(prompts.Calls().empty());
  EXPECT_EQ(prompts.Calls().back().kind, "open");
}

TEST_F(KeyboardTest, EnterPressesTheFocusedButtonAndAltArrowsAreBackAndNext) {
  OpenConnected();
  ASSERT_TRUE(PressStart());
  dlg->Pools().edits.At(0)->setPlainText("Tor 1");
  dlg->Pools().buttonsB.At(0)->setFocus(Qt::TabFocusReason);  // open a parameter file
  Press(Qt::Key_Return);
  EXPECT_EQ(prompts.Calls().back().kind, "open");
  QTest::keyClick(dlg.get(), Qt::Key_Right, Qt::AltModifier);
  Pump();
  ASSERT_NE(Current(), 1);
  QTest::keyClick(dlg.get(), Qt::Key_Left, Qt::AltModifier);
  Pump();
  EXPECT_EQ(Current(), 1);
  // After a click Tab goes on from the clicked control (entry 6, after the motor list, the
  // two variants and three fields).
  QTest::mouseClick(dlg->Pools().edits.At(3)->viewport(), Qt::LeftButton);
  ASSERT_EQ(dlg->CurrentScreen()->FocusEntry(6), QApplication::focusWidget());
  Press(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), dlg->CurrentScreen()->FocusEntry(7));
}

}  // namespace
}  // namespace roviro::test
