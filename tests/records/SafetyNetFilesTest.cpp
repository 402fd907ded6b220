// The files of the safety net: automatic backups, the service history, the settings file.

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "catalogue/Archive.h"
#include "platform/Folders.h"
#include "platform/Paths.h"
#include "records/Backups.h"
#include "records/ParameterFile.h"
#include "records/ProgramSettings.h"
#include "records/ServiceHistory.h"
#include "support/TempFolder.h"

namespace roviro {
namespace {

SystemTime At(int hour, int minute, int second) {
  SystemTime t;
  t.year = 2026;
  t.month = 12;
  t.day = 2;
  t.hour = static_cast<std::uint16_t>(hour);
  t.minute = static_cast<std::uint16_t>(minute);
  t.second = static_cast<std::uint16_t>(second);
  return t;
}

class SafetyNetFilesTest : public ::testing::Test {
 protected:
  SafetyNetFilesTest() {
    for (int i = 0; i < kParameterBlockSize; ++i) {
      image.m_block[i] = static_cast<std::uint8_t>(i * 7 + 1);
    }
    auto id = image.Block(0x39);
    id[0] = 0x01;
    id[1] = 0x32;
    id[2] = 0x10;
    id[9] = 4;
    id[10] = 12;
    image.m_name = "Halle 3";
    image.m_firma = "Muster GmbH";
    context.sharedDataFolder = tmp.File("data");
    context.tempFolder = tmp.File("data/temp");
    context.contact.company = "Fitter GmbH";
    context.now = At(17, 39, 5);
  }
  std::string Folder() const { return MotorBackupFolder(context.sharedDataFolder, image); }

  test::TempFolder tmp;
  ParameterImage image;
  BackupContext context;
};

TEST_F(SafetyNetFilesTest, BackupsAreParameterFilesThatNeverOverwriteOneAnother) {
  const ParameterImage before = image;
  const BackupResult first = WriteBackup(context, image, BackupKind::kRead);
  ASSERT_EQ(first.status, BackupStatus::kWritten);
  EXPECT_EQ(first.path, JoinPath(Folder(), "2026-12-02_17-39-05_gelesen.kxmc"));
  EXPECT_EQ(FileNameOf(FolderOf(first.path)), "013210-4-12");
  EXPECT_EQ(image.m_block, before.m_block);  // the set itself keeps its bytes

  // The document is the one the save-data screen writes for this set at this time.
  ParameterImage stamped = image;
  auto id = stamped.Block(0x39);
  id[11] = id[12] = id[13] = 0xFF;
  id[14] = 1;
  std::string xml;
  ASSERT_EQ(ReadArchiveEntry(first.path, "2026-12-02_17-39-05_gelesen.kxm", &xml), 1);
  EXPECT_EQ(xml, BuildParameterDocument(stamped, context.contact, nullptr, context.now));
  std::string firstBytes;
  ASSERT_TRUE(ReadWholeFile(first.path, &firstBytes));

  // The same second again, once written and once read: new names, the first file unchanged.
  image.m_name = "Halle 4";
  const BackupResult second = WriteBackup(context, image, BackupKind::kWritten);
  const BackupResult third = WriteBackup(context, image, BackupKind::kRead);
  ASSERT_EQ(third.status, BackupStatus::kWritten);
  EXPECT_EQ(FileNameOf(second.path), "2026-12-02_17-39-05_geschrieben_2.kxmc");
  EXPECT_EQ(FileNameOf(third.path), "2026-12-02_17-39-05_gelesen_3.kxmc");
  std::string again;
  ASSERT_TRUE(ReadWholeFile(first.path, &again));
  EXPECT_EQ(again, firstBytes);
  EXPECT_EQ(ListBackups(Folder()), (std::vector<std::string>{first.path, second.path, third.path}));

  // A backup loads as any parameter file does.
  ParameterImage loaded;
  int selection = 0;
  ASSERT_TRUE(LoadParameterFile(third.path, loaded, {}, &selection, nullptr).Ok());
  EXPECT_EQ(loaded.m_name, "Halle 4");
}

TEST_F(SafetyNetFilesTest, PruningGoesByWriteTimeKeepsTheNewestAndForeignFiles) {
  ASSERT_TRUE(CreateFolderTree(Folder()));
  const std::string own = JoinPath(Folder(), "Kunde Mayer.kxmc");
  std::ofstream(own) << "the fitter's own file";
  context.keep = 3;
  // Backups of a station whose clock ran a year ahead, written in this order an hour apart.
  std::vector<std::string> written;
  const auto base = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
  for (int i = 0; i < 4; ++i) {
    context.now = At(9, 59 - i, 0);
    context.now.year = 2027;
    written.push_back(WriteBackup(context, image, BackupKind::kRead).path);
    std::filesystem::last_write_time(written.back(), base + std::chrono::hours(i));
  }
  std::filesystem::last_write_time(own, base);
  // The clock set right (or the autumn hour back): the newest backup has the oldest name,
  // and even an old file time does not cost it.
  context.now = At(8, 0, 0);
  written.push_back(WriteBackup(context, image, BackupKind::kWritten).path);
  std::filesystem::last_write_time(written.back(), base - std::chrono::hours(1));
  PruneBackups(Folder(), 3, written.back());
  EXPECT_EQ(ListBackups(Folder()), (std::vector<std::string>{written[4], written[2], written[3]}));
  EXPECT_TRUE(FileExists(own));
}

TEST_F(SafetyNetFilesTest, ParallelSavesShareNoScratchFile) {
  // Threads stand for processes: same second, same kind, same file name, other motors.
  constexpr int kWriters = 8;
  std::vector<ParameterImage> motors(kWriters, image);
  std::vector<BackupResult> results(kWriters);
  std::vector<std::thread> threads;
  for (int i = 0; i < kWriters; ++i) {
    motors[i].Block(0x39)[9] = static_cast<std::uint8_t>(i);
    motors[i].m_name = "Motor " + std::to_string(i);
    threads.emplace_back([&, i] { results[i] = WriteBackup(context, motors[i], BackupKind::kRead); });
  }
  for (auto& t : threads) t.join();
  for (int i = 0; i < kWriters; ++i) {
    ASSERT_EQ(results[i].status, BackupStatus::kWritten) << i;
    ParameterImage loaded;
    int selection = 0;
    ASSERT_TRUE(LoadParameterFile(results[i].path, loaded, {}, &selection, nullptr).Ok()) << i;
    EXPECT_EQ(loaded.m_name, motors[i].m_name);
    EXPECT_EQ(MotorKey(loaded), MotorKey(motors[i]));
  }
  // A scratch folder of a run that ended goes; one of a running process stays.
  const std::string dead = JoinPath(context.tempFolder, "Sicherung.~999999999.4.tmp");
  const std::string live =
      JoinPath(context.tempFolder, "Sicherung.~" + std::to_string(::getpid()) + ".9.tmp");
  ASSERT_TRUE(CreateFolderTree(dead) && CreateFolderTree(live));
  ClearAbandonedBackupScratch(context.tempFolder);
  EXPECT_FALSE(FolderExists(dead));
  EXPECT_TRUE(FolderExists(live));
}

TEST_F(SafetyNetFilesTest, AFailedBackupWritesNothingAndIsToldOncePerRun) {
  // The motor's folder cannot be made: a file stands where it belongs.
  ASSERT_TRUE(CreateFolderTree(FolderOf(Folder())));
  std::ofstream(Folder()) << "in the way";
  const BackupResult failed = WriteBackup(context, image, BackupKind::kWritten);
  EXPECT_EQ(failed.status, BackupStatus::kFailed);
  EXPECT_EQ(failed.path, Folder());
  EXPECT_NE(BackupFailureText(failed).find(Folder()), std::string::npos);
  ResetBackupFailureNotice();
  EXPECT_TRUE(FirstBackupFailureOfRun());
  EXPECT_FALSE(FirstBackupFailureOfRun());

  BackupContext nowhere = context;
  nowhere.sharedDataFolder.clear();
  EXPECT_EQ(WriteBackup(nowhere, image, BackupKind::kRead).status, BackupStatus::kNoDataFolder);
  EXPECT_FALSE(AppendVisit({}, Visit{}));
  EXPECT_FALSE(WriteProgramSettings({}, ProgramSettings{}));
}

TEST_F(SafetyNetFilesTest, TheHistoryIgnoresATornLineAndTellsWhatChangedBetweenVisits) {
  const std::string shared = context.sharedDataFolder;
  auto op = image.Block(0x30);
  const auto visitAt = [&](int hour, std::uint32_t seconds, std::vector<std::uint8_t> events) {
    for (int i = 0; i < 4; ++i) op[i] = static_cast<std::uint8_t>(seconds >> (8 * i));
    std::copy(events.begin(), events.end(), op.begin() + 11);
    return MakeVisit(VisitKind::kDownload, &image, true, "motor", kVisitOk, At(hour, 0, 0));
  };
  ASSERT_TRUE(AppendVisit(shared, visitAt(8, 90061, {1, 2, 3, 2, 4, 3, 0x0B, 2, 3, 1})));
  const std::string path = HistoryFilePath(shared, "013210-4-12");
  // A crash mid-write leaves half a line; the next visit must not be glued to it.
  std::ofstream(path, std::ios::app | std::ios::binary) << "V1\t2026-12-02 09:00:00\tupl";
  ASSERT_TRUE(AppendVisit(shared, visitAt(10, 93661, {3, 2, 4, 3, 0x0B, 2, 3, 1, 0x0B, 5})));
  ASSERT_TRUE(AppendVisit(
      shared, MakeVisit(VisitKind::kUpload, &image, false, "motor", kVisitVerified, At(11, 0, 0))));
  // And a line whose bytes changed on the disk.
  std::string text;
  ASSERT_TRUE(ReadWholeFile(path, &text));
  std::string damaged = text.substr(0, text.find('\n') + 1);
  damaged[damaged.find("90061")] = '8';
  std::ofstream(path, std::ios::app | std::ios::binary) << damaged << "V1\t2026-12-02 12:0";

  const HistoryFile file = ReadHistory(shared, "013210-4-12");
  ASSERT_EQ(file.visits.size(), 3u);
  EXPECT_EQ(file.ignoredLines, 3);
  EXPECT_EQ(file.visits[1].runningSeconds, 93661);
  EXPECT_EQ(file.visits[2].kind, VisitKind::kUpload);
  EXPECT_EQ(file.visits[2].firmware, -1);
  EXPECT_EQ(HistoryMotors(shared), (std::vector<std::string>{"013210-4-12"}));

  const std::string told = DescribeVisits(file.visits);
  EXPECT_NE(told.find("running time 93661 s (+3600 s)"), std::string::npos) << told;
  EXPECT_NE(told.find("new events 0B 05\n"), std::string::npos) << told;
  EXPECT_EQ(NewEventCount({1, 2, 3}, {1, 2, 3}), 0);
  EXPECT_EQ(NewEventCount({1, 2, 3}, {4, 5, 6}), 3);
  EXPECT_TRUE(HistoryFilePath(shared, "../../etc").empty());
}

TEST(ServiceHistoryTest, SharedKeysLargeFilesControlCharactersAndNumbersOutOfRange) {
  Visit v;
  v.time = At(8, 0, 0);
  v.motorKey = "013210-0-0";
  v.runningSeconds = 5000;
  v.events.assign(10, 1);
  const Visit first = v;
  v.runningSeconds = 700;  // another motor of the same type, also left at 0/0
  v.result = "ok\x1B]0;pwned\x07\x9B";
  std::string text = FormatVisitLine(first) + "\n" + FormatVisitLine(v) + "\n";
  const std::string told = DescribeVisits(ParseHistory(text).visits);
  EXPECT_EQ(told.find("(+"), std::string::npos) << told;
  EXPECT_EQ(told.find("(-"), std::string::npos) << told;
  EXPECT_NE(told.find("ok\\x1B]0;pwned\\x07\\x9B"), std::string::npos) << told;
  EXPECT_NE(told.find("several motors possible"), std::string::npos);

  Visit wide = first;
  wide.runningSeconds = 4294967296;
  EXPECT_FALSE(ParseVisitLine(FormatVisitLine(wide), nullptr));
  wide = first;
  wide.counter1 = 256;
  EXPECT_FALSE(ParseVisitLine(FormatVisitLine(wide), nullptr));

  // Beyond 16 MiB, with an endless line in between.
  test::TempFolder tmp;
  const std::string path = HistoryFilePath(tmp.Path(), first.motorKey);
  ASSERT_TRUE(CreateFolderTree(FolderOf(path)));
  {
    std::ofstream out(path, std::ios::binary);
    out << text << std::string(17u << 20, 'x') << "\n" << FormatVisitLine(first) << "\n";
  }
  const HistoryFile file = ReadHistory(tmp.Path(), first.motorKey);
  EXPECT_EQ(file.visits.size(), 3u);
  EXPECT_EQ(file.ignoredLines, 1);
}

TEST(ProgramSettingsTest, DefaultsForWhatIsMissingAndOtherLinesKeptOnWriting) {
  EXPECT_EQ(ParseProgramSettings("").backupsPerMotor, kDefaultBackupsPerMotor);
  const ProgramSettings s =
      ParseProgramSettings("[sicherung]\nanzahl_pro_motor = 7 // a week\n[UPLOAD]\nPRUEFEN=1\n");
  EXPECT_EQ(s.backupsPerMotor, 7);
  EXPECT_TRUE(s.verifyUpload);
  const ProgramSettings bad =
      ParseProgramSettings("[SICHERUNG]\nANZAHL_PRO_MOTOR=0\n[UPLOAD]\nPRUEFEN=ja\n");
  EXPECT_EQ(bad.backupsPerMotor, kDefaultBackupsPerMotor);
  EXPECT_FALSE(bad.verifyUpload);
  // A key in another section is not this one.
  EXPECT_FALSE(ParseProgramSettings("[ANDERES]\nPRUEFEN=1\n").verifyUpload);

  test::TempFolder tmp;
  const std::string path = ProgramSettingsPath(tmp.Path());
  ASSERT_TRUE(CreateFolderTree(FolderOf(path)));
  std::ofstream(path) << "// mine\n[UPLOAD]\nPRUEFEN=0\nANDERER=3\n[EIGEN]\nX=1\n";
  ProgramSettings changed;
  changed.verifyUpload = true;
  changed.backupsPerMotor = 20;
  ASSERT_TRUE(WriteProgramSettings(tmp.Path(), changed));
  std::string text;
  ASSERT_TRUE(ReadWholeFile(path, &text));
  EXPECT_EQ(text,
            "// mine\n[UPLOAD]\nPRUEFEN=1\nANDERER=3\n[EIGEN]\nX=1\n[SICHERUNG]\n"
            "ANZAHL_PRO_MOTOR=20\n");
  EXPECT_EQ(ReadProgramSettings(tmp.Path()).backupsPerMotor, 20);
}

}  // namespace
}  // namespace roviro
