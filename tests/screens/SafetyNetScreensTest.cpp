// The safety net on the data screens: backups around downloads and uploads, the open-file
// dialog that offers them, a backup that fails, the service history and the read-back on
// screen 6.

#include <QTest>

#include <fstream>

#include "ScreensFixture.h"
#include "app/AppMessages.h"
#include "catalogue/Archive.h"
#include "records/Backups.h"
#include "records/ParameterFile.h"
#include "records/ProgramSettings.h"
#include "records/ServiceHistory.h"

namespace roviro::test {
namespace {

class SafetyNetScreensTest : public ScreensTest {
 protected:
  void SetUp() override {
    ResetBackupFailureNotice();
    OpenConnected();
    LoadSimulatedMotor(0);
    ASSERT_TRUE(PressStart());
  }
  std::string Shared() const { return dlg->Folder(FolderKind::SharedData); }
  std::string MotorFolder() const { return MotorBackupFolder(Shared(), image); }
  std::string LastBox() const { return Boxes().empty() ? std::string() : Boxes().back().text; }
  void Download() {
    dlg->Pools().buttonsB.At(1)->click();
    ASSERT_TRUE(WaitIdle());
  }
  void GoToSaveData() {
    dlg->Pools().edits.At(0)->setPlainText("Tor 1");
    dlg->TabButton(2)->click();
    Pump();
    ASSERT_EQ(Current(), 6);
  }
  void Upload() {
    dlg->Pools().buttonsB.At(1)->click();
    ASSERT_TRUE(WaitIdle());
    ASSERT_TRUE(WaitIdle());  // a read-back runs when the upload's message arrives
  }
  std::vector<Visit> Visits() const { return ReadHistory(Shared(), MotorKey(image)).visits; }
  int CountBoxes(const std::string& start) const {
    int n = 0;
    for (const auto& b : Boxes()) n += b.text.rfind(start, 0) == 0 ? 1 : 0;
    return n;
  }
};

TEST_F(SafetyNetScreensTest, ABackupFollowsADownloadAndPrecedesAnUploadAndTheOpenDialogOffersIt) {
  Download();
  const auto afterDownload = ListBackups(MotorFolder());
  ASSERT_EQ(afterDownload.size(), 1u);
  EXPECT_NE(afterDownload[0].find("_gelesen.kxmc"), std::string::npos);
  ASSERT_EQ(Visits().size(), 1u);
  EXPECT_EQ(Visits()[0].source, "motor");
  EXPECT_EQ(Visits()[0].runningSeconds, 90061);

  // With the box connected the open-file dialog starts among this motor's backups.
  prompts.ScriptPath(afterDownload[0]);
  dlg->Pools().buttonsB.At(0)->click();
  const auto calls = prompts.Calls();
  const auto open =
      std::find_if(calls.rbegin(), calls.rend(), [](const auto& c) { return c.kind == "open"; });
  ASSERT_NE(open, calls.rend());
  EXPECT_EQ(open->folder, MotorFolder());
  EXPECT_EQ(LastBox(), dlg->CommonText(8));

  GoToSaveData();
  const auto serialBefore =
      std::vector<std::uint8_t>(image.Block(0x2E).begin(), image.Block(0x2E).begin() + 2);
  Upload();
  EXPECT_EQ(LastBox(), dlg->CurrentScreen()->Description().Text(5, 2));
  const auto all = ListBackups(MotorFolder());
  ASSERT_EQ(all.size(), 2u);
  EXPECT_NE(all[1].find("_geschrieben"), std::string::npos);
  EXPECT_EQ(all[0], afterDownload[0]);
  // Taken before the upload: without the box serial number the upload puts into the set.
  ParameterImage kept;
  int selection = 0;
  ASSERT_TRUE(LoadParameterFile(all[1], kept, {}, &selection, nullptr).Ok());
  EXPECT_EQ(std::vector<std::uint8_t>(kept.Block(0x2E).begin(), kept.Block(0x2E).begin() + 2),
            serialBefore);
  EXPECT_NE(serialBefore,
            std::vector<std::uint8_t>(image.Block(0x2E).begin(), image.Block(0x2E).begin() + 2));
  ASSERT_EQ(Visits().size(), 2u);
  EXPECT_EQ(Visits()[1].kind, VisitKind::kUpload);
  EXPECT_EQ(Visits()[1].result, kVisitOk);
}

TEST_F(SafetyNetScreensTest, AFailedBackupIsToldOnceAndStopsNoTransfer) {
  const std::string root = BackupRootFolder(Shared());
  ASSERT_TRUE(CreateFolderTree(FolderOf(root)));
  std::ofstream(root) << "a file where the backups belong";
  Download();
  EXPECT_TRUE(dlg->StateFlags() & kStateDataLoaded);
  EXPECT_EQ(CountBoxes(dlg->CommonText(6)), 1);
  EXPECT_EQ(CountBoxes("Die automatische Sicherung"), 1);
  Download();
  GoToSaveData();
  const auto before = box->MotorBlock(0x3B);
  image.Block(0x3B)[3] ^= 0x21;
  Upload();
  EXPECT_EQ(LastBox(), dlg->CurrentScreen()->Description().Text(5, 2));
  EXPECT_NE(box->MotorBlock(0x3B), before);
  EXPECT_EQ(CountBoxes("Die automatische Sicherung"), 1);
  EXPECT_EQ(Visits().size(), 3u);  // the history does not depend on the backups
}

TEST_F(SafetyNetScreensTest, Screen6ReadsBackWhenSwitchedOnAndTellsAWriteThatDidNotArrive) {
  Download();
  GoToSaveData();
  CMyButton* verify = dlg->Pools().buttonsA.At(0);
  EXPECT_FALSE(verify->State() & kStateChecked);
  QTest::mouseClick(verify, Qt::LeftButton);
  EXPECT_TRUE(ReadProgramSettings(Shared()).verifyUpload);
  Upload();
  EXPECT_NE(LastBox().find("Zur\xFC"
                           "ckgelesen und gepr\xFC"
                           "ft"),
            std::string::npos);
  EXPECT_EQ(Visits().back().result, kVisitVerified);

  // The stamp block goes unanswered, which the upload accepts: the motor keeps its old bytes.
  image.Block(0x39)[20] ^= 0x01;
  box->SilenceCommand(0x3A, 1);
  Upload();
  EXPECT_EQ(Boxes().back().style, kMbOk | kMbIconError | kMbTopmost);
  EXPECT_NE(LastBox().find("Block 0x39 Byte 20"), std::string::npos) << LastBox();
  EXPECT_EQ(Visits().back().result, kVisitMismatch);
}

}  // namespace
}  // namespace roviro::test
