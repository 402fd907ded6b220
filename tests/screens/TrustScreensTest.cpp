// Slips of the hand at the motor, in the real dialog against the simulated box: a wheel over a
// list, a set replaced or written without a question, a stop that does not reach the wire, a
// close that cuts a transfer or leaves a box behind.

#include <QTest>
#include <QWheelEvent>

#include <thread>

#include "ScreensFixture.h"
#include "app/AppMessages.h"
#include "platform/Paths.h"
#include "records/ProgramSettings.h"
#include "rules/MotorList.h"

namespace roviro::test {
namespace {

class TrustScreensTest : public ScreensTest {
 protected:
  void StartDownloaded() {
    OpenConnected();
    LoadSimulatedMotor(0);
    ASSERT_TRUE(PressStart());
    dlg->Pools().buttonsB.At(1)->click();
    ASSERT_TRUE(WaitIdle());
    ASSERT_TRUE(dlg->StateFlags() & kStateDataLoaded);
    dlg->Pools().edits.At(0)->setPlainText("Tor 1");
  }
  static void Wheel(QWidget* w) {
    QWheelEvent e(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
    Pump();
  }
  std::size_t RequestsOf(std::uint8_t command) const {
    std::size_t n = 0;
    for (const auto& r : box->Requests()) n += !r.empty() && r[0] == command ? 1 : 0;
    return n;
  }
  QComboBox* List() const { return dlg->Pools().combos.At(0); }
  CMyButton* TestButton(int i) const { return dlg->Pools().buttonsB.At(i); }
};

TEST_F(TrustScreensTest, LoadDataListsMoveOnlyByChoiceAndAnUnkeptSetIsReplacedOnlyAfterAYes) {
  StartDownloaded();
  ASSERT_GE(dlg->CatalogueCount(), 2);
  const ParameterImage downloaded = dlg->Image();
  const int index = List()->currentIndex();
  // A wheel notch over the list without a click changes nothing.
  dlg->Pools().edits.At(0)->setFocus();
  Wheel(List());
  EXPECT_EQ(List()->currentIndex(), index);
  EXPECT_EQ(dlg->Image().m_block, downloaded.m_block);
  EXPECT_EQ(dlg->Image().m_moName, downloaded.m_moName);

  // Keys on the focused list choose; the downloaded set is replaced only after a yes.
  AskQuestions(true);
  List()->setFocus();
  prompts.ScriptAnswer(kIdNo);
  QTest::keyClick(List(), index == 0 ? Qt::Key_Down : Qt::Key_Up);
  Pump();
  ASSERT_FALSE(Boxes().empty());
  EXPECT_EQ(Boxes().back().text, QuestionText(Question::kReplaceSet, 0));
  EXPECT_EQ(Boxes().back().style & (kMbYesNo | kMbDefaultButton2), kMbYesNo | kMbDefaultButton2);
  EXPECT_EQ(List()->currentIndex(), index);
  EXPECT_EQ(dlg->Image().m_block, downloaded.m_block);
  prompts.ScriptAnswer(kIdYes);
  QTest::keyClick(List(), index == 0 ? Qt::Key_Down : Qt::Key_Up);
  Pump();
  EXPECT_NE(List()->currentIndex(), index);
  EXPECT_NE(dlg->Image().m_block, downloaded.m_block);
  // A factory set from the catalogue is replaced without a question.
  const std::size_t asked = Boxes().size();
  QTest::keyClick(List(), index == 0 ? Qt::Key_Up : Qt::Key_Down);
  Pump();
  EXPECT_EQ(List()->currentIndex(), index);
  EXPECT_EQ(Boxes().size(), asked);
}

TEST_F(TrustScreensTest, SaveDataAsksBeforeWritingAndTheFileDialogsHaveTitleAndLastFolder) {
  TempFolder earlier, chosen;
  StartDownloaded();
  AskQuestions(true);
  std::FILE* f = std::fopen(ProgramSettingsPath(data.Path()).c_str(), "a");
  ASSERT_NE(f, nullptr);
  std::fprintf(f, "[DATEIEN]\nORDNER=%s\n", earlier.Path().c_str());  // from a run before
  std::fclose(f);
  dlg->TabButton(2)->click();
  Pump();
  ASSERT_EQ(Current(), 6);
  box->ClearRequests();
  prompts.ScriptAnswer(kIdNo);
  dlg->Pools().buttonsB.At(1)->click();  // write into the motor
  ASSERT_TRUE(WaitIdle());
  const std::string type = MotorListLine(dlg->CurrentCatalogue(), dlg->LanguageDescription());
  EXPECT_EQ(Boxes().back().text,
            QuestionText(Question::kWriteMotor, 0, type, dlg->Image().m_moName));
  EXPECT_NE(Boxes().back().text.find(type), std::string::npos);
  EXPECT_TRUE(box->Requests().empty());
  EXPECT_TRUE(dlg->SetUnkept());

  prompts.ScriptAnswer(kIdYes);
  dlg->Pools().buttonsB.At(1)->click();
  ASSERT_TRUE(WaitIdle());
  EXPECT_FALSE(box->Requests().empty());
  EXPECT_FALSE(dlg->SetUnkept());  // written: replacing it asks no more

  prompts.ScriptPath(JoinPath(chosen.Path(), "Halle.kxmc"));
  dlg->Pools().buttonsB.At(0)->click();  // save to a file
  ScriptedPrompts::Call save;
  for (const auto& call : prompts.Calls()) {
    if (call.kind == "save") save = call;
  }
  EXPECT_EQ(save.text, dlg->CommonText(21));
  EXPECT_EQ(save.folder, earlier.Path());
  EXPECT_EQ(ReadProgramSettings(data.Path()).lastFolder, FolderOf(JoinPath(chosen.Path(), "x")));
}

TEST_F(TrustScreensTest, MotorTestStopsAlwaysAndAsksBeforeClearingOrResetting) {
  StartDownloaded();
  dlg->TabButton(3)->click();
  Pump();
  ASSERT_EQ(Current(), 7);
  ASSERT_TRUE(WaitIdle());
  // The status line tells that the motor is reached.
  EXPECT_EQ(dlg->Pools().statics.At(2)->GetText(),
            ReplaceAll(dlg->CurrentScreen()->Description().Text(9, 2), "%s", "3"));

  EXPECT_TRUE(SaveScreenshot("motor-test-status-de"));
  // Neither the wheel nor the arrows start a drive program.
  box->ClearRequests();
  Wheel(List());
  List()->setFocus();
  QTest::keyClick(List(), Qt::Key_Down);
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(List()->currentIndex(), -1);
  EXPECT_EQ(RequestsOf(0x2D), 0u);

  // A test request blocks the tests, but not the stop.
  dlg->PostMessage(kMsgDisableTests, 3);
  Pump();
  EXPECT_FALSE(TestButton(0)->isEnabled());
  EXPECT_TRUE(TestButton(1)->isEnabled());
  dlg->PostMessage(kMsgEnableTests);
  Pump();

  // A stop pressed while another command holds the link goes out once the link is free.
  LinkState& link = dlg->Link().State();
  link.Set(kLinkTestCommand);
  TestButton(1)->click();
  Pump();
  EXPECT_TRUE(dlg->StopPending());
  Advance(kOwnTimerMs);
  EXPECT_EQ(RequestsOf(0x13), 0u);
  link.Clear(kLinkTestCommand);
  Advance(kOwnTimerMs);
  ASSERT_TRUE(WaitIdle());
  EXPECT_FALSE(dlg->StopPending());
  EXPECT_EQ(RequestsOf(0x13), 1u);

  // Clearing the end positions and the factory reset ask first; no sends nothing.
  AskQuestions(true);
  box->ClearRequests();
  prompts.ScriptAnswer(kIdNo);
  TestButton(4)->click();
  prompts.ScriptAnswer(kIdNo);
  TestButton(5)->click();
  ASSERT_TRUE(WaitIdle());
  EXPECT_TRUE(box->Requests().empty());
  ASSERT_GE(Boxes().size(), 2u);
  EXPECT_EQ(Boxes()[Boxes().size() - 2].text, QuestionText(Question::kClearEndPositions, 0));
  EXPECT_EQ(Boxes().back().text, QuestionText(Question::kFactoryReset, 0));

  // Leaving while the motor runs sends the stop first.
  TestButton(0)->click();  // up
  ASSERT_TRUE(WaitIdle());
  ASSERT_TRUE(dlg->StateFlags() & kDialogOutputA);
  box->ClearRequests();
  dlg->TabButton(0)->click();
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(Current(), 1);
  EXPECT_EQ(RequestsOf(0x13), 1u);
  EXPECT_FALSE(dlg->StateFlags() & kDialogOutputA);
}

TEST_F(TrustScreensTest, AfterAConfirmedCloseNoResultOpensABoxAndTypedTextIsKept) {
  OpenConnected();
  ASSERT_TRUE(PressStart());
  dlg->Pools().edits.At(0)->setPlainText("Halle 3");
  dlg->Link().State().Set(kLinkDownload);
  const std::size_t boxes = Boxes().size();
  prompts.ScriptAnswer(kIdYes);
  dlg->OnCloseRequest();
  EXPECT_EQ(dlg->Image().m_moName, "Halle 3");
  // The download's end as its worker reports it, and a box a worker asks for.
  dlg->PostMessage(kMsgTransferFailed);
  int answer = 0;
  std::thread worker([&] { answer = dlg->Sink().MessageBox("Fehler", "", kMbOk); });
  worker.join();
  EXPECT_EQ(answer, kIdOk);
  dlg->Link().State().Clear(kLinkDownload);
  EXPECT_TRUE(WaitFor([&] { return dlg->IsClosed(); }));
  ASSERT_EQ(Boxes().size(), boxes + 1);  // the close question only
  EXPECT_EQ(Boxes().back().text, dlg->CommonText(5));
}

TEST_F(TrustScreensTest, ClosingDuringAnUploadSaysSoAndClosesAfterItsEnd) {
  OpenConnected();
  ASSERT_TRUE(PressStart());
  LinkState& link = dlg->Link().State();
  link.Set(kLinkUpload);  // an upload between two block writes
  prompts.ScriptAnswer(kIdYes);
  dlg->OnCloseRequest();
  Pump();
  EXPECT_EQ(Boxes().back().text, dlg->CommonText(10) + "\n\n" + dlg->CommonText(5));
  Advance(kOwnTimerMs);
  EXPECT_FALSE(link.Has(kLinkStop));
  EXPECT_FALSE(dlg->IsClosed());
  link.Clear(kLinkUpload);
  Advance(kOwnTimerMs);
  EXPECT_TRUE(link.Has(kLinkStop));
  EXPECT_TRUE(WaitFor([&] { return dlg->IsClosed(); }));
}

}  // namespace
}  // namespace roviro::test
