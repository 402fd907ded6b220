// The data screens in the real dialog against the simulated box: what the fitter types, what
// a transfer or a file does to the set, and what each screen tells.

#include <QDir>
#include <QTest>

#include <filesystem>
#include <fstream>

#include "ScreensFixture.h"
#include "app/AppMessages.h"
#include "catalogue/LudFile.h"
#include "records/Backups.h"
#include "records/ParameterFile.h"
#include "records/ScreenSettingsFile.h"
#include "records/ServiceHistory.h"

namespace roviro::test {
namespace {

class DataScreensTest : public ScreensTest {
 protected:
  // On screen 1 with the box found and the simulated motor of the first catalogue's type.
  void StartOnLoadData() {
    OpenConnected();
    LoadSimulatedMotor(0);
    ASSERT_TRUE(PressStart());
  }
  QPlainTextEdit* Field(int i) const { return dlg->Pools().edits.At(i); }
  void Type(int field, const char* keys) {
    Field(field)->setFocus();
    QTest::keyClicks(Field(field), keys);
  }
  std::string Page(int k, int n) const { return dlg->CurrentScreen()->Description().Text(k, n); }
  std::string LastBox() const { return Boxes().empty() ? std::string() : Boxes().back().text; }
  void Download() {
    dlg->Pools().buttonsB.At(1)->click();
    ASSERT_TRUE(WaitIdle());
    ASSERT_TRUE(dlg->StateFlags() & kStateDataLoaded);
  }
  void GoToTab(int tab, int expected) {
    dlg->TabButton(tab)->click();
    Pump();
    ASSERT_EQ(Current(), expected);
  }
};

TEST_F(DataScreensTest, NumberFieldsHoldAByteAndLeavingChecksAndStoresTheEntries) {
  StartOnLoadData();
  Field(1)->clear();
  Type(1, "300");
  EXPECT_EQ(Field(1)->toPlainText(), "255");
  Type(1, "7");  // a fourth character is taken away again
  EXPECT_EQ(Field(1)->toPlainText(), "255");
  Field(1)->selectAll();
  Type(1, "0");
  EXPECT_EQ(Field(1)->toPlainText(), "");
  Type(1, "12");

  Field(0)->setPlainText("Tor 1");
  Field(3)->setPlainText("AB");
  dlg->TabButton(2)->click();
  Pump();
  EXPECT_EQ(Current(), 1);
  EXPECT_EQ(LastBox(), Page(20, 1));
  EXPECT_EQ(Boxes().back().style, kMbOk | kMbIconError | kMbTopmost);

  Field(3)->setPlainText("Muster Rollladen GmbH");
  GoToTab(2, 6);
  EXPECT_EQ(image.m_moName, "Tor 1");
  EXPECT_EQ(image.m_firma, "Muster Rollladen GmbH");
  EXPECT_EQ(image.Block(0x39)[9], 12);
  const std::string lud = JoinPath(dlg->Folder(FolderKind::Temp),
                                   LudFileName(dlg->CurrentCatalogue()->motors[0].dhMoNa, 12, 0));
  EXPECT_TRUE(FileExists(lud));
  EXPECT_TRUE(FileExists(ScreenSettingsPath(dlg->Folder(FolderKind::ScreenSettings), 1)));
}

TEST_F(DataScreensTest, ABrokenFileOrACancelledDialogKeepsTheSetAndAGoodFileReplacesIt) {
  StartOnLoadData();
  Download();
  const ParameterImage before = image;
  const std::uint32_t flags = dlg->StateFlags();

  prompts.ScriptPath("");  // cancelled
  dlg->Pools().buttonsB.At(0)->click();
  EXPECT_EQ(dlg->StateFlags(), flags);
  const std::size_t boxes = Boxes().size();

  const std::string broken = data.File("broken.kxmc");
  std::ofstream(broken) << "no archive";
  prompts.ScriptPath(broken);
  dlg->Pools().buttonsB.At(0)->click();
  ASSERT_EQ(Boxes().size(), boxes + 1);
  EXPECT_EQ(LastBox(), dlg->CommonText(7));
  EXPECT_EQ(image.m_block, before.m_block);
  EXPECT_EQ(image.m_moName, before.m_moName);
  EXPECT_EQ(image.m_valid, 1);

  ParameterImage other = before;
  other.m_name = "Satz B";
  other.Block(0x2E)[3] = 0x42;
  const std::string good = data.File("good.kxmc");
  ASSERT_TRUE(Succeeded(SaveParameterFile(good, other, dlg->Contact(), dlg->CurrentCatalogue(),
                                          dlg->Folder(FolderKind::Temp), clock.LocalNow())));
  prompts.ScriptPath(good);
  dlg->Pools().buttonsB.At(0)->click();
  EXPECT_EQ(LastBox(), dlg->CommonText(8));
  EXPECT_EQ(image.m_name, "Satz B");
  EXPECT_EQ(image.Block(0x2E)[3], 0x42);
  EXPECT_EQ(Field(4)->toPlainText(), "Satz B");
  EXPECT_EQ(dlg->Pools().statics.At(10)->GetText(), dlg->CommonText(9));
}

TEST_F(DataScreensTest, ADownloadIsRefusedWhileAnUploadRuns) {
  StartOnLoadData();
  box->ClearRequests();
  dlg->Link().State().Set(kLinkUpload);
  dlg->Pools().buttonsB.At(1)->click();
  dlg->Link().State().Clear(kLinkUpload);
  EXPECT_EQ(LastBox(), dlg->CommonText(10));
  for (const auto& request : box->Requests()) EXPECT_NE(request[0], 0x34);
  EXPECT_EQ(dlg->Link().State().m_mode.load(), 0);
}

TEST_F(DataScreensTest, SaveDataRefusesABadNameAndAnUploadToAnotherMotorType) {
  StartOnLoadData();
  Download();
  Field(0)->setPlainText("Tor 1");
  GoToTab(2, 6);

  prompts.ScriptPath(data.File("satz.kxmc.bak"));
  dlg->Pools().buttonsB.At(0)->click();
  EXPECT_EQ(LastBox(), dlg->CommonText(18));
  const auto save = prompts.Calls();
  const auto it =
      std::find_if(save.rbegin(), save.rend(), [](const auto& c) { return c.kind == "save"; });
  ASSERT_NE(it, save.rend());
  EXPECT_EQ(it->suffix, "kxmc");  // the overwrite question is about the file really written
  EXPECT_EQ(it->filter, kParameterFileFilter);
  EXPECT_FALSE(FileExists(data.File("satz.kxmc.bak")));

  // The motor now is of another type: nothing is written and the set counts as not loaded.
  auto identity = box->MotorBlock(0x39);
  identity[0] ^= 0x55;
  sim::BoxSimulator::Seal(identity);
  box->SetMotorBlock(0x39, identity);
  const auto motorBefore = box->MotorBlock(0x34);
  const std::int64_t start = clock.NowMs();
  dlg->Pools().buttonsB.At(1)->click();
  EXPECT_GE(clock.NowMs() - start, 100);
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(LastBox(), Page(5, 0));
  EXPECT_FALSE(dlg->StateFlags() & kStateDataLoaded);
  EXPECT_EQ(box->MotorBlock(0x34), motorBefore);
  EXPECT_FALSE(dlg->NextButton()->isEnabled());
}

TEST_F(DataScreensTest, TestScreenStartsItsWorkersAndTellsWhatTheBoxReports) {
  StartOnLoadData();
  Download();
  Field(0)->setPlainText("Tor 1");
  GoToTab(3, 7);
  ASSERT_TRUE(WaitIdle());

  box->SendUnsolicited({0xF1, 0x08});
  ASSERT_TRUE(
      WaitFor([&] { return LastBox() == "Motorstrom zu klein oder Motor l\xE4uft nicht"; }));
  EXPECT_EQ(Boxes().back().style, kMbOk | kMbIconInformation);

  dlg->PostMessage(kMsgDisableTests, 3);
  Pump();
  EXPECT_FALSE(dlg->Pools().buttonsB.At(0)->isEnabled());
  dlg->PostMessage(kMsgRefresh);  // a refresh meanwhile does not enable them
  Pump();
  EXPECT_FALSE(dlg->Pools().buttonsB.At(5)->isEnabled());
  dlg->PostMessage(kMsgEnableTests);
  Pump();
  EXPECT_TRUE(dlg->Pools().buttonsB.At(5)->isEnabled());

  box->ClearRequests();
  QComboBox* programs = dlg->Pools().combos.At(0);
  programs->setCurrentIndex(1);
  emit programs->activated(1);
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(dlg->Link().State().m_testMode.load(), 21);
  bool drive = false;
  for (const auto& r : box->Requests()) {
    drive |= r.size() >= 3 && r[0] == 0x2D && r[1] == 0x07 && r[2] == 0x02;
  }
  EXPECT_TRUE(drive);

  // The buttons' blocked state is the link's, also for a screen made while it holds; stop
  // stays usable.
  dlg->Link().State().m_testsBlocked = true;
  GoToTab(2, 6);
  GoToTab(3, 7);
  ASSERT_TRUE(WaitIdle());
  EXPECT_FALSE(dlg->Pools().buttonsB.At(0)->isEnabled());
  EXPECT_TRUE(dlg->Pools().buttonsB.At(1)->isEnabled());
  dlg->Link().State().m_testsBlocked = false;
  dlg->PostMessage(kMsgEnableTests);
  Pump();
  EXPECT_TRUE(dlg->Pools().buttonsB.At(5)->isEnabled());

  // A factory reset whose first block never comes back: one box, naming block 0.
  box->SilenceCommand(0x34, 50);
  const std::size_t boxes = Boxes().size();
  dlg->Pools().buttonsB.At(5)->click();
  ASSERT_TRUE(WaitIdle());
  int resetErrors = 0;
  for (std::size_t i = boxes; i < Boxes().size(); ++i) {
    resetErrors += Boxes()[i].text.find(
                       "Fehler beim Zur\xFC"
                       "cksetzen!") == 0
                       ? 1
                       : 0;
  }
  EXPECT_EQ(resetErrors, 1);
  EXPECT_NE(LastBox().find("State: 0"), std::string::npos);
}

TEST_F(DataScreensTest, OperatingDataShowsTheMotorsTimeAndKeepsSaneColumnWidths) {
  StartOnLoadData();
  Download();
  Field(0)->setPlainText("Tor 1");
  std::ofstream(ScreenSettingsPath(dlg->Folder(FolderKind::ScreenSettings), 6))
      << "[SCREEN_COLUMN_WIDTH]\n5\n100000\n333\n";
  GoToTab(4, 8);
  QTreeWidget* list = dlg->Pools().lists.At(0);
  ASSERT_TRUE(WaitFor([&] { return list->topLevelItemCount() == 10; }));
  EXPECT_EQ(dlg->Pools().statics.At(4)->GetText().rfind("1 Tg., 1 Std., 1 Min., 1 Sek.", 0), 0u);
  EXPECT_EQ(list->columnWidth(0), 60);  // out of range: the screen's own width stays
  EXPECT_EQ(list->columnWidth(1), 90);
  EXPECT_EQ(list->columnWidth(2), 333);
  list->setColumnWidth(1, 120);

  // Busy link, then a motor that does not answer: said in the time line, no box, list empty.
  box->SetMotorPresent(false);
  GoToTab(3, 7);
  EXPECT_EQ(ReadScreenSettings(dlg->Folder(FolderKind::ScreenSettings), 6).columnWidths,
            (std::vector<int>{60, 120, 333}));
  ASSERT_TRUE(WaitIdle());
  const std::size_t boxes = Boxes().size();
  std::unique_lock held(dlg->Link().Lock());  // a worker's whole run
  GoToTab(4, 8);
  EXPECT_NE(dlg->Pools().statics.At(4)->GetText().find("belegt"), std::string::npos);
  held.unlock();
  ASSERT_TRUE(WaitFor([&] {
    return dlg->Pools().statics.At(4)->GetText().find("nicht gelesen") != std::string::npos;
  }));
  EXPECT_EQ(list->topLevelItemCount(), 0);
  EXPECT_FALSE(dlg->StateFlags() & kStateDataLoaded);
  EXPECT_EQ(Boxes().size(), boxes);
}

// The start set (first catalogue's) uploads (only with the box) and saves under an umlaut
// name as chosen; an unusable set says why; a fatal upload box ends the upload as a failure.
TEST_F(DataScreensTest, SaveDataWithTheStartSetUmlautNamesAndAFatalUpload) {
  StartOnLoadData();
  EXPECT_EQ(dlg->CurrentCatalogue(), dlg->Catalogues().front().get());
  Field(0)->setPlainText("Tor 1");
  GoToTab(2, 6);
  CMyButton* upload = dlg->Pools().buttonsB.At(1);
  for (const bool present : {false, true}) {
    dlg->State() ^= kStateBoxPresent;
    dlg->PostMessage(kMsgRefresh);
    Pump();
    EXPECT_EQ(upload->isEnabled(), present);
  }
  upload->click();
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(LastBox(), Page(5, 2));
  const QString folder = QString::fromUtf8(data.Path()) + QString::fromUtf8("/Ordner äöü ß é");
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString chosen = folder + QString::fromUtf8("/Halle Süd.kxmc");
  prompts.ScriptChosenFile(chosen);
  dlg->Pools().buttonsB.At(0)->click();
  EXPECT_EQ(LastBox(), dlg->CommonText(19));
  EXPECT_TRUE(std::filesystem::is_regular_file(chosen.toUtf8().toStdString()));
  image.m_valid = 0;
  dlg->Pools().buttonsB.At(0)->click();  // a box, no save dialog
  EXPECT_NE(LastBox().find("kein vollst\xE4ndiger Parametersatz"), std::string::npos);
  image.m_valid = 1;
  auto identity = box->MotorBlock(0x39);
  identity[2] = static_cast<std::uint8_t>((identity[2] & 0xF8) | 3);
  sim::BoxSimulator::Seal(identity);
  box->SetMotorBlock(0x39, identity);
  upload->click();
  ASSERT_TRUE(WaitIdle());
  Advance(400);
  EXPECT_NE(LastBox().find("Fehlercode 569320"), std::string::npos);
  EXPECT_EQ(dlg->Pools().progress.At(0)->value(), 0);
  EXPECT_NE(dlg->Pools().statics.At(4)->GetText().find("569320"), std::string::npos);
  const HistoryFile history = ReadHistory(dlg->Folder(FolderKind::SharedData), MotorKey(image));
  ASSERT_FALSE(history.visits.empty());
  EXPECT_EQ(history.visits.back().result, "refused-569320");
  GoToTab(0, 1);
  prompts.ScriptChosenFile(chosen);
  dlg->Pools().buttonsB.At(0)->click();
  EXPECT_EQ(LastBox(), dlg->CommonText(8));
  EXPECT_EQ(image.m_moName, "Tor 1");
}

// Screen 1 loses nothing: typed text at a variant click, the set and its flag when the box
// has no parameters; a motor no catalogue knows is said so and its set kept and saved.
TEST_F(DataScreensTest, FailedOrUnknownDownloadsSaySoAndKeepTheSet) {
  StartOnLoadData();
  Download();
  Field(4)->setPlainText("Satz X");
  dlg->Pools().buttonsA.At(0)->click();
  EXPECT_EQ(Field(4)->toPlainText(), "Satz X");
  CMyStatic* result = dlg->Pools().statics.At(10);
  box->SetMotorPresent(false);
  box->SetBoxHasParameters(false);
  dlg->Pools().buttonsB.At(1)->click();
  ASSERT_TRUE(WaitIdle());
  Advance(400);
  EXPECT_EQ(dlg->Pools().progress.At(0)->value(), 0);
  EXPECT_EQ(result->GetText(), "Keine Parameter im ZodavaRoze vorhanden.");
  EXPECT_TRUE(dlg->StateFlags() & kStateDataLoaded);
  box->SetMotorPresent(true);
  auto identity = box->MotorBlock(0x39);
  identity[0] ^= 0x55;
  sim::BoxSimulator::Seal(identity);
  box->SetMotorBlock(0x39, identity);
  Download();
  EXPECT_EQ(result->GetText().rfind("Unbekannter Motortyp", 0), 0u);  // page text (4, 4)
  EXPECT_EQ(dlg->Pools().combos.At(0)->currentIndex(), -1);
  Field(0)->setPlainText("Tor 2");
  GoToTab(2, 6);
  prompts.ScriptPath(data.File("fremd.kxmc"));
  dlg->Pools().buttonsB.At(0)->click();
  EXPECT_TRUE(FileExists(data.File("fremd.kxmc")));
}

}  // namespace
}  // namespace roviro::test
