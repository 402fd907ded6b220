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
    Button(1)->click();
    ASSERT_TRUE(WaitIdle() && (dlg->StateFlags() & kStateDataLoaded));
    dlg->Pools().edits.At(0)->setPlainText("Tor 1");
  }
  void Go(int tab, int screen) {
    dlg->TabButton(tab)->click();
    ASSERT_TRUE(WaitIdle() && Current() == screen);
  }
  static void Wheel(QWidget* w) {
    QWheelEvent e(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
    Pump();
  }
  void Key(Qt::Key key) {
    QTest::keyClick(List(), key);
    ASSERT_TRUE(WaitIdle());
  }
  std::size_t Sent(std::uint8_t command) const {
    std::size_t n = 0;
    for (const auto& r : box->Requests()) n += !r.empty() && r[0] == command ? 1 : 0;
    return n;
  }
  std::string LastBox() const { return Boxes().back().text; }
  QComboBox* List() const { return dlg->Pools().combos.At(0); }
  CMyButton* Button(int i) const { return dlg->Pools().buttonsB.At(i); }
};

TEST_F(TrustScreensTest, LoadDataListsMoveOnlyByChoiceAndAnUnkeptSetIsReplacedOnlyAfterAYes) {
  StartDownloaded();
  const ParameterImage downloaded = dlg->Image();
  const int index = List()->currentIndex();
  const Qt::Key away = index == 0 ? Qt::Key_Down : Qt::Key_Up;
  dlg->Pools().edits.At(0)->setFocus();
  Wheel(List());  // without a click: nothing changes
  EXPECT_EQ(List()->currentIndex(), index);
  EXPECT_EQ(dlg->Image().m_block, downloaded.m_block);

  AskQuestions(true);
  List()->setFocus();
  prompts.ScriptAnswer(kIdNo);
  Key(away);
  EXPECT_EQ(LastBox(), QuestionText(Question::kReplaceSet));
  EXPECT_EQ(List()->currentIndex(), index);
  EXPECT_EQ(dlg->Image().m_moName, "Tor 1");
  prompts.ScriptAnswer(kIdYes);
  Key(away);
  EXPECT_NE(dlg->Image().m_block, downloaded.m_block);
  Key(index == 0 ? Qt::Key_Up : Qt::Key_Down);  // a factory set goes without a question
  EXPECT_EQ(List()->currentIndex(), index);
}

TEST_F(TrustScreensTest, SaveDataAsksBeforeWritingAndTheFileDialogsHaveTitleAndLastFolder) {
  TempFolder earlier, chosen;
  StartDownloaded();
  AskQuestions(true);
  std::FILE* f = std::fopen(ProgramSettingsPath(data.Path()).c_str(), "a");
  std::fprintf(f, "[DATEIEN]\nORDNER=%s\n", earlier.Path().c_str());  // from a run before
  std::fclose(f);
  Go(2, 6);
  box->ClearRequests();
  prompts.ScriptAnswer(kIdNo);
  Button(1)->click();  // write into the motor
  ASSERT_TRUE(WaitIdle());
  const std::string type = MotorListLine(dlg->CurrentCatalogue(), dlg->LanguageDescription());
  EXPECT_EQ(LastBox(), QuestionText(Question::kWriteMotor, type, "Tor 1"));
  EXPECT_TRUE(box->Requests().empty());
  prompts.ScriptAnswer(kIdYes);
  Button(1)->click();
  ASSERT_TRUE(WaitIdle());
  EXPECT_FALSE(box->Requests().empty());
  EXPECT_FALSE(dlg->SetUnkept());  // written: replacing it asks no more

  prompts.ScriptPath(JoinPath(chosen.Path(), "Halle.kxmc"));
  Button(0)->click();  // save to a file
  for (const auto& call : prompts.Calls()) {
    if (call.kind != "save") continue;
    EXPECT_EQ(call.text, dlg->CommonText(21));
    EXPECT_EQ(FolderOf(call.folder), earlier.Path());  // the motor name in the folder used last
  }
  EXPECT_EQ(ReadProgramSettings(data.Path()).lastFolder, FolderOf(chosen.File("Halle.kxmc")));
}

TEST_F(TrustScreensTest, MotorTestStopsAlwaysAndAsksBeforeClearingOrResetting) {
  StartDownloaded();
  Go(3, 7);
  EXPECT_EQ(dlg->Pools().statics.At(2)->GetText(),
            ReplaceAll(dlg->CurrentScreen()->Description().Text(9, 2), "%s", "3"));
  box->ClearRequests();
  Wheel(List());  // neither the wheel nor the arrows start a drive program
  List()->setFocus();
  Key(Qt::Key_Down);
  EXPECT_EQ(Sent(0x2D), 0u);

  dlg->PostMessage(kMsgDisableTests, 3);  // a test request blocks all but the stop
  Pump();
  EXPECT_FALSE(Button(0)->isEnabled());
  EXPECT_TRUE(Button(1)->isEnabled());
  LinkState& link = dlg->Link().State();
  link.Set(kLinkTestCommand);  // another command holds the link: the stop waits for it
  Button(1)->click();
  Advance(kOwnTimerMs);
  EXPECT_TRUE(dlg->StopPending());
  EXPECT_EQ(Sent(0x13), 0u);
  link.Clear(kLinkTestCommand);
  Advance(kOwnTimerMs);
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(Sent(0x13), 1u);

  dlg->PostMessage(kMsgEnableTests);
  Pump();
  AskQuestions(true);
  box->ClearRequests();
  prompts.ScriptAnswer(kIdNo);
  Button(4)->click();
  EXPECT_EQ(LastBox(), QuestionText(Question::kClearEndPositions));
  prompts.ScriptAnswer(kIdNo);
  Button(5)->click();
  EXPECT_EQ(LastBox(), QuestionText(Question::kFactoryReset));
  ASSERT_TRUE(WaitIdle());
  EXPECT_TRUE(box->Requests().empty());

  Button(0)->click();  // up; leaving sends the stop first
  ASSERT_TRUE(WaitIdle() && (dlg->StateFlags() & kDialogOutputA));
  box->ClearRequests();
  Go(0, 1);
  EXPECT_EQ(Sent(0x13), 1u);
}

TEST_F(TrustScreensTest, AfterAConfirmedCloseNoResultOpensABoxAndAnUploadEndsFirst) {
  OpenConnected();
  ASSERT_TRUE(PressStart());
  dlg->Pools().edits.At(0)->setPlainText("Halle 3");
  LinkState& link = dlg->Link().State();
  link.Set(kLinkUpload);           // between two block writes
  dlg->State() |= kDialogOutputA;  // and the motor may run: its stop goes first
  box->ClearRequests();
  prompts.ScriptAnswer(kIdYes);
  dlg->OnCloseRequest();
  EXPECT_EQ(LastBox(), dlg->CommonText(10) + "\n\n" + dlg->CommonText(5));
  EXPECT_EQ(dlg->Image().m_moName, "Halle 3");  // kept as leaving the screen keeps it
  const std::size_t boxes = Boxes().size();
  dlg->PostMessage(kMsgTransferFailed);  // a worker's result, and a worker's box
  int answer = 0;
  std::thread worker([&] { answer = dlg->Sink().MessageBox("Fehler", "", kMbOk); });
  worker.join();
  Advance(kOwnTimerMs);
  EXPECT_FALSE(link.Has(kLinkStop) || dlg->IsClosed());
  link.Clear(kLinkUpload);
  Advance(kOwnTimerMs);
  EXPECT_TRUE(WaitFor([&] { return dlg->IsClosed(); }));
  EXPECT_EQ(answer, kIdOk);
  EXPECT_EQ(Boxes().size(), boxes);
  EXPECT_EQ(Sent(0x13), 1u);
}

}  // namespace
}  // namespace roviro::test
