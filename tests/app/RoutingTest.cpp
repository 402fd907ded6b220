// Control notifications reach the current screen between the two data exchanges; tooltips
// follow the dialog's activation; the named mutex exists while the dialog lives.

#include "AppFixture.h"
#include "app/AppMessages.h"
#include "app/NamedMutex.h"

namespace roviro::test {
namespace {

class RoutingTest : public AppTest {
 protected:
  RoutingTest() {
    WriteProfile();
    WriteStartIni("[STARTUP_LANGUAGE]\n00 00 00 00\n");
    RegisterScreen(1);
  }
};

TEST_F(RoutingTest, ComboSelectionGoesThroughTheDialogsVariables) {
  auto& d = Open();
  ASSERT_TRUE(Succeeded(d.SwitchScreen(1)));
  QComboBox* combo = d.Pools().combos.At(0);
  combo->addItems({"Eins", "Zwei", "Drei"});
  combo->setCurrentIndex(1);
  emit combo->activated(1);
  EXPECT_TRUE(log.Has("combo Zwei"));       // read from the control before the screen runs
  EXPECT_EQ(combo->currentText(), "Drei");  // written back after it
  // Dropping the screen empties the combo boxes and their variables.
  d.SwitchScreen(9);
  EXPECT_EQ(combo->count(), 0);
  EXPECT_EQ(d.Pools().comboTexts[0], "");
}

TEST_F(RoutingTest, SlidersReportWhatTheFitterDidAfterThePositionMoved) {
  auto& d = Open();
  ASSERT_TRUE(Succeeded(d.SwitchScreen(1)));
  CMySliderCtrl* horizontal = d.Pools().slidersH.At(2);
  CMySliderCtrl* vertical = d.Pools().slidersV.At(0);
  horizontal->setValue(10);
  Pump();
  EXPECT_TRUE(log.events.back().rfind("hscroll", 0) != 0);  // a program's change is silent
  horizontal->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  vertical->triggerAction(QAbstractSlider::SliderToMaximum);
  Pump();
  EXPECT_TRUE(log.Has("hscroll 1 0"));  // line down
  EXPECT_TRUE(log.Has("vscroll 7 0"));  // to the bottom
  EXPECT_EQ(horizontal->value(), 11);
}

TEST_F(RoutingTest, ListSelectionChangesReportTheOldAndTheNewItem) {
  auto& d = Open();
  ASSERT_TRUE(Succeeded(d.SwitchScreen(1)));
  QTreeWidget* list = d.Pools().lists.At(1);
  list->setColumnCount(1);
  for (const char* text : {"a", "b", "c"}) {
    list->addTopLevelItem(new QTreeWidgetItem(QStringList{text}));
  }
  list->setCurrentItem(list->topLevelItem(0));
  list->setCurrentItem(list->topLevelItem(2));
  const std::vector<std::string> expected = {"selected 0", "unselecting 0", "selected 2"};
  std::vector<std::string> seen;
  for (const auto& e : log.events) {
    if (e.rfind("selected", 0) == 0 || e.rfind("unselecting", 0) == 0) seen.push_back(e);
  }
  EXPECT_EQ(seen, expected);
}

TEST_F(RoutingTest, NothingIsRoutedWithoutAScreen) {
  auto& d = Open();
  d.Pools().buttonsA.At(0)->show();
  d.Pools().buttonsA.At(0)->click();
  d.Pools().edits.At(0)->setPlainText("x");
  EXPECT_TRUE(log.events.empty());
}

TEST(ToolTips, ShowOnlyWhileActiveAndWrapAtTheMaximumWidth) {
  QWidget w;
  ToolTips tips;
  tips.AddTool(&w, "Hilfe");
  EXPECT_EQ(w.toolTip(), "Hilfe");
  tips.Activate(false);
  EXPECT_TRUE(w.toolTip().isEmpty());
  tips.AddTool(&w, "Neu");
  EXPECT_TRUE(w.toolTip().isEmpty());
  EXPECT_EQ(tips.Text(&w), "Neu");
  tips.Activate(true);
  EXPECT_EQ(w.toolTip(), "Neu");
  tips.DelTool(&w);
  EXPECT_TRUE(w.toolTip().isEmpty());

  const std::string longText(60, 'x');
  const QString wrapped = ToolTips::Wrap(longText + " " + longText + " " + longText, 300);
  EXPECT_GE(wrapped.count('\n'), 1);
  EXPECT_EQ(ToolTips::Wrap("a\nb", 300), "a\nb");
}

TEST_F(RoutingTest, TheNamedMutexIsALockFileBelowTheSharedDataFolder) {
  Open();
  EXPECT_TRUE(
      FileExists(JoinPath(data.Path(), "Trevanic/DI DU-RoviroDazo/DI DU RoviroDazo.exe.lock")));
  NamedMutex second;
  EXPECT_TRUE(second.Create(JoinPath(data.Path(), "Trevanic/DI DU-RoviroDazo")));
  EXPECT_TRUE(second.AlreadyExisted());  // the program goes on all the same
}

}  // namespace
}  // namespace roviro::test
