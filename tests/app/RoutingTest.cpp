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

// The report reaches the screen while the slider's input is handled, so a switch right after
// it cannot carry it over to the next screen.
TEST_F(RoutingTest, SliderReportsReachOnlyTheScreenWhoseSliderMoved) {
  RegisterScreen(2);
  auto& d = Open();
  ASSERT_TRUE(Succeeded(d.SwitchScreen(1)));
  CMySliderCtrl* slider = d.Pools().slidersH.At(0);
  slider->setRange(0, 10);
  slider->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_TRUE(log.Has("hscroll 1 0"));
  slider->triggerAction(QAbstractSlider::SliderToMaximum);
  slider->triggerAction(QAbstractSlider::SliderToMaximum);  // already there: reported too
  EXPECT_EQ(log.Count("hscroll 7 0"), 2);
  slider->triggerAction(QAbstractSlider::SliderPageStepSub);
  ASSERT_TRUE(Succeeded(d.SwitchScreen(2)));
  Pump();
  EXPECT_EQ(log.events.back(), "update 2");  // nothing reached screen 2 after its start
  EXPECT_TRUE(log.Has("hscroll 2 0"));
}

TEST_F(RoutingTest, SlidersOfferEveryPaintToTheScreen) {
  auto& d = Open();
  ASSERT_TRUE(Succeeded(d.SwitchScreen(1)));
  CMySliderCtrl* slider = d.Pools().slidersV.At(1);
  slider->setGeometry(10, 10, 24, 120);
  slider->show();
  const QImage drawn = slider->grab().toImage();
  EXPECT_TRUE(log.Has("draw 1 3002 dc"));
  EXPECT_TRUE(log.Has("draw 2 3002 dc"));
  // A screen that draws the slider itself at the pre-paint stage: the slider draws nothing.
  static_cast<TestScreen*>(d.CurrentScreen())->drawAnswer = kDrawSkipDefault;
  const QImage skipped = slider->grab().toImage();
  EXPECT_NE(drawn, skipped);
  EXPECT_EQ(skipped.pixel(12, 60), skipped.pixel(1, 1));
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
  const std::string folder = JoinPath(data.Path(), "Trevanic/DI DU-RoviroDazo");
  const std::string lock = JoinPath(folder, "DI DU RoviroDazo.lock");
  EXPECT_TRUE(FileExists(lock));
  {
    NamedMutex second;
    EXPECT_TRUE(second.Create(folder));
    EXPECT_TRUE(second.AlreadyExisted());  // the program goes on all the same
  }
  EXPECT_TRUE(FileExists(lock));  // the dialog still holds it
  dlg.reset();
  EXPECT_FALSE(FileExists(lock));  // the last one out removes it
}

}  // namespace
}  // namespace roviro::test
