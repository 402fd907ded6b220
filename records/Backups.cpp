#include "records/Backups.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <tuple>

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <sys/types.h>

#include <cerrno>
#endif

#include "platform/FileMove.h"
#include "platform/Folders.h"
#include "platform/Paths.h"
#include "platform/Translation.h"
#include "records/ParameterFile.h"

namespace roviro {

namespace {

std::atomic<bool> g_backupFailureTold{false};
std::atomic<bool> g_sharedKeyTold{false};

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string StampText(const SystemTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d_%02d-%02d-%02d", t.year % 10000, t.month % 100,
                t.day % 100, t.hour % 100, t.minute % 100, t.second % 100);
  return text;
}

std::string FileNameFor(const std::string& stamp, BackupKind kind, int sequence) {
  std::string name =
      stamp + "_" + (kind == BackupKind::kRead ? kBackupReadWord : kBackupWrittenWord);
  if (sequence > 1) name += "_" + std::to_string(sequence);
  return name + "." + kParameterFileExtension;
}

// The highest sequence number of the backups with this stamp, 0 when there is none.
int HighestSequence(const std::string& folder, const std::string& stamp) {
  int highest = 0;
  for (const std::string& path : ListBackups(folder)) {
    BackupName name;
    if (ParseBackupName(FileNameOf(path), &name) && name.stamp == stamp) {
      highest = std::max(highest, name.sequence);
    }
  }
  return highest;
}

bool ProcessIsRunning(int pid) {
#ifdef _WIN32
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) return false;
  DWORD code = 0;
  const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
  CloseHandle(process);
  return running;
#else
  // EPERM: it runs, under another user.
  return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
#endif
}

void RemoveFolderTree(const std::string& folder) {
  std::error_code ec;
  std::filesystem::remove_all(FsPath(folder), ec);
}

}  // namespace

std::string MotorKey(const ParameterImage& image) {
  const auto b = image.Block(0x39);
  char text[32];
  std::snprintf(text, sizeof text, "%02X%02X%02X-%d-%d", b[0], b[1], b[2], b[9], b[10]);
  return text;
}

bool SharesMotorKey(const ParameterImage& image) {
  const auto b = image.Block(0x39);
  return b[9] == 0 && b[10] == 0;
}

bool SharesMotorKey(const std::string& motorKey) {
  return motorKey.size() > 4 && motorKey.compare(motorKey.size() - 4, 4, "-0-0") == 0;
}

bool FirstSharedKeyNoticeOfRun() { return !g_sharedKeyTold.exchange(true); }

void ResetSharedKeyNotice() { g_sharedKeyTold = false; }

std::string BackupRootFolder(const std::string& sharedDataFolder) {
  if (sharedDataFolder.empty()) return {};
  return NormalisePath(sharedDataFolder + kCompanyFolder + kBackupFolderName);
}

std::string MotorBackupFolder(const std::string& sharedDataFolder, const ParameterImage& image) {
  const std::string root = BackupRootFolder(sharedDataFolder);
  return root.empty() ? std::string() : JoinPath(root, MotorKey(image));
}

bool ParseBackupName(const std::string& fileName, BackupName* out) {
  // "YYYY-MM-DD_hh-mm-ss_" is 20 characters.
  const std::string suffix = std::string(".") + kParameterFileExtension;
  if (fileName.size() <= 20 + suffix.size() ||
      fileName.compare(fileName.size() - suffix.size(), suffix.size(), suffix) != 0) {
    return false;
  }
  const std::string stamp = fileName.substr(0, 19);
  static constexpr int kDigitAt[] = {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18};
  for (int i : kDigitAt) {
    if (stamp[static_cast<std::size_t>(i)] < '0' || stamp[static_cast<std::size_t>(i)] > '9') {
      return false;
    }
  }
  if (stamp[4] != '-' || stamp[7] != '-' || stamp[10] != '_' || stamp[13] != '-' ||
      stamp[16] != '-' || fileName[19] != '_') {
    return false;
  }
  std::string rest = fileName.substr(20, fileName.size() - 20 - suffix.size());
  int sequence = 1;
  if (const auto underscore = rest.find('_'); underscore != std::string::npos) {
    const std::string number = rest.substr(underscore + 1);
    if (!AllDigits(number) || number.size() > 6) return false;
    sequence = std::atoi(number.c_str());
    if (sequence < 2) return false;
    rest.resize(underscore);
  }
  if (rest != kBackupReadWord && rest != kBackupWrittenWord) return false;
  if (out != nullptr) *out = {stamp, rest, sequence};
  return true;
}

std::vector<std::string> ListBackups(const std::string& folder) {
  struct Entry {
    std::filesystem::file_time_type written;
    BackupName name;
    std::string path;
  };
  std::vector<Entry> entries;
  std::error_code ec;
  if (folder.empty() || !FolderExists(folder)) return {};
  for (std::filesystem::directory_iterator it(FsPath(folder), ec), end; !ec && it != end;
       it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    BackupName name;
    const std::string fileName = FsName(it->path().filename());
    if (!ParseBackupName(fileName, &name)) continue;
    std::error_code timeError;
    const auto written = it->last_write_time(timeError);
    entries.push_back({timeError ? std::filesystem::file_time_type::min() : written, name,
                       JoinPath(folder, fileName)});
  }
  // By when the files were written: the date in a name is the station's clock, which may run
  // ahead or step back an hour in autumn. The name only orders files written at the same time.
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return std::tie(a.written, a.name.stamp, a.name.sequence, a.name.word) <
           std::tie(b.written, b.name.stamp, b.name.sequence, b.name.word);
  });
  std::vector<std::string> out;
  for (auto& e : entries) out.push_back(std::move(e.path));
  return out;
}

int PruneBackups(const std::string& folder, int keep, const std::string& justWritten) {
  if (keep < 1) keep = 1;
  std::vector<std::string> all = ListBackups(folder);
  // The backup just written is the newest whatever its file time says (a file system with a
  // coarse clock, a copy that kept an old time): it is never the one removed.
  if (const auto it = std::find(all.begin(), all.end(), justWritten); it != all.end()) {
    all.erase(it);
    --keep;
  }
  int removed = 0;
  for (std::size_t i = 0; i + static_cast<std::size_t>(keep) < all.size(); ++i) {
    if (RemoveFile(all[i])) ++removed;
  }
  return removed;
}

void ClearAbandonedBackupScratch(const std::string& tempFolder) {
  std::error_code ec;
  if (tempFolder.empty() || !FolderExists(tempFolder)) return;
  const std::string prefix = std::string(kBackupScratchName) + ".~";
  std::vector<std::string> abandoned;
  for (std::filesystem::directory_iterator it(FsPath(tempFolder), ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string name = FsName(it->path().filename());
    if (name.rfind(prefix, 0) != 0 || name.size() < prefix.size() + 4 ||
        name.compare(name.size() - 4, 4, ".tmp") != 0) {
      continue;
    }
    // "Sicherung.~<pid>.<n>.tmp": a folder of a process that still runs is in use.
    const std::string pid =
        name.substr(prefix.size(), name.find('.', prefix.size()) - prefix.size());
    if (!AllDigits(pid) || pid.size() > 9) continue;
    if (ProcessIsRunning(std::atoi(pid.c_str()))) continue;
    abandoned.push_back(FsName(it->path()));
  }
  for (const std::string& folder : abandoned) RemoveFolderTree(folder);
}

BackupResult WriteBackup(const BackupContext& context, const ParameterImage& image,
                         BackupKind kind) {
  BackupResult result;
  const std::string folder = MotorBackupFolder(context.sharedDataFolder, image);
  if (folder.empty()) {
    result.status = BackupStatus::kNoDataFolder;
    return result;
  }
  result.path = folder;
  if (context.tempFolder.empty() || !CreateFolderTree(folder)) return result;

  // Scratch folders a crashed run left behind go at the first backup of this run.
  static std::once_flag cleared;
  std::call_once(cleared, [&] { ClearAbandonedBackupScratch(context.tempFolder); });

  // Saved under its final name in a scratch folder of its own (the archive's entries are
  // named after the file), then moved beside the others without replacing any of them. The
  // folder is created exclusively: one that exists belongs to another writer.
  if (!CreateFolderTree(context.tempFolder)) return result;
  std::string scratch;
  for (int attempt = 0; attempt < 5 && scratch.empty(); ++attempt) {
    const std::string candidate =
        UniqueSiblingPath(JoinPath(context.tempFolder, kBackupScratchName));
    std::error_code ec;
    if (std::filesystem::create_directory(FsPath(candidate), ec) && !ec) scratch = candidate;
  }
  if (scratch.empty()) return result;
  const std::string stamp = StampText(context.now);
  int sequence = HighestSequence(folder, stamp) + 1;
  ParameterImage copy = image;
  for (int attempt = 0; attempt < 20; ++attempt, ++sequence) {
    const std::string name = FileNameFor(stamp, kind, sequence);
    const std::string built = JoinPath(scratch, name);
    if (Failed(SaveParameterFile(built, copy, context.contact, context.currentCatalogue,
                                 context.tempFolder, context.now))) {
      break;
    }
    const std::string target = JoinPath(folder, name);
    const MoveResult moved = MoveFileNoReplace(built, target);
    if (moved == MoveResult::kMoved) {
      // The move is durable only once the folder's entry is on the disk.
      SyncFolderToDisk(folder);
      result.status = BackupStatus::kWritten;
      result.path = target;
      break;
    }
    RemoveFile(built);
    // Another writer took the name meanwhile: saved anew under the next number.
    if (moved == MoveResult::kFailed) break;
  }
  RemoveFolderTree(scratch);
  if (result.status == BackupStatus::kWritten) PruneBackups(folder, context.keep, result.path);
  return result;
}

bool FirstBackupFailureOfRun() { return !g_backupFailureTold.exchange(true); }

void ResetBackupFailureNotice() { g_backupFailureTold = false; }

std::string BackupFailureText(const BackupResult& result) {
  return Tx(
      "Die automatische Sicherung konnte nicht geschrieben werden:\n%1\n\nDie \xDC"
      "bertragung wird davon nicht beeinflusst. Weitere Fehler der Sicherung werden in "
      "diesem Lauf nicht mehr gemeldet.",
      {result.path});
}

}  // namespace roviro
