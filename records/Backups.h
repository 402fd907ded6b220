#pragma once
// Automatic backups: after every download that succeeded and before every upload, the set goes
// into the backup folder as a parameter file, exactly as the save-data screen writes it:
//
//   <shared data>/Trevanic/DI DU-RoviroDazo/Sicherungen/<motor>/<date>_<time>_<what>.kxmc
//
// <motor> is MotorKey (identity and the two small numbers), <what> is "gelesen" (downloaded)
// or "geschrieben" (about to be uploaded), e.g. "013210-1-2/2026-12-08_17-39-05_gelesen.kxmc";
// a second backup in the same second gets "_2", "_3", ... after <what>. A backup never
// replaces a file; beyond the count kept per motor the backups written longest ago are
// removed, never the one just written. Without a shared data folder nothing is written.

#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/ContactRecord.h"
#include "catalogue/ParameterImage.h"
#include "platform/Clock.h"

namespace roviro {

inline constexpr const char* kBackupFolderName = "Sicherungen";
inline constexpr const char* kBackupReadWord = "gelesen";
inline constexpr const char* kBackupWrittenWord = "geschrieben";

// "013210-1-2": block 0x39 bytes 0..2 as six hex digits, then bytes 9 and 10 in decimal.
std::string MotorKey(const ParameterImage& image);

// True when the two small numbers (block 0x39 bytes 9 and 10) are both 0: every motor of this
// type and variant that the fitter left at 0/0 has this key, so its backups and history
// cannot tell such motors apart.
bool SharesMotorKey(const ParameterImage& image);
bool SharesMotorKey(const std::string& motorKey);
// The fitter is told that once per run: true the first time only. Reset is for tests.
bool FirstSharedKeyNoticeOfRun();
void ResetSharedKeyNotice();

// The backup folder, and the one of the motor `image` belongs to; empty without a shared data
// folder.
std::string BackupRootFolder(const std::string& sharedDataFolder);
std::string MotorBackupFolder(const std::string& sharedDataFolder, const ParameterImage& image);

enum class BackupKind { kRead, kWritten };

struct BackupContext {
  std::string sharedDataFolder;
  std::string tempFolder;  // the scratch files of the save
  ContactRecord contact;
  const Catalogue* currentCatalogue = nullptr;
  SystemTime now;
  int keep = 50;  // backups kept per motor
};

enum class BackupStatus { kWritten, kNoDataFolder, kFailed };

struct BackupResult {
  BackupStatus status = BackupStatus::kFailed;
  std::string path;  // the backup written, or where it could not be written
};

// Writes the backup of `image` (a copy is saved; the image itself is not touched), then removes
// the motor's oldest automatic backups beyond `keep`.
BackupResult WriteBackup(const BackupContext& context, const ParameterImage& image,
                         BackupKind kind);

// The parts of an automatic backup's file name; false for any other name.
struct BackupName {
  std::string stamp;  // "2026-12-08_17-39-05"
  std::string word;   // "gelesen" or "geschrieben"
  int sequence = 1;
};
bool ParseBackupName(const std::string& fileName, BackupName* out);

// The automatic backups in `folder` (full paths), oldest first by when they were written (the
// name orders files of the same write time). Other files are not listed.
std::vector<std::string> ListBackups(const std::string& folder);

// Removes the oldest automatic backups in `folder` beyond `keep`, never `justWritten` and
// never a file of another naming; the number removed.
int PruneBackups(const std::string& folder, int keep, const std::string& justWritten = {});

// The scratch folders of backups ("Sicherung.~<pid>.<n>.tmp" in the temporary folder) whose
// process no longer runs: a crashed run left them. WriteBackup calls it once per run.
inline constexpr const char* kBackupScratchName = "Sicherung";
void ClearAbandonedBackupScratch(const std::string& tempFolder);

// A backup that could not be written is told to the fitter once per run: true for the first
// failure only. Reset is for tests.
bool FirstBackupFailureOfRun();
void ResetBackupFailureNotice();

// The words for a failed backup (German, as the program's own messages are).
std::string BackupFailureText(const BackupResult& result);

}  // namespace roviro
