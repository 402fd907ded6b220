#include "platform/Paths.h"

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <mutex>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#define ROVIRO_GETPID _getpid
#else
#include <fcntl.h>
#include <unistd.h>
#define ROVIRO_GETPID getpid
#endif

namespace roviro {

std::string NormalisePath(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  for (char c : path) {
    const bool sep = (c == '/' || c == '\\');
    if (sep) {
      if (!out.empty() && out.back() == kPathSeparator) continue;  // collapse doubles
      out.push_back(kPathSeparator);
    } else {
      out.push_back(c);
    }
  }
  while (!out.empty() && out.back() == kPathSeparator) out.pop_back();
  std::size_t lead = 0;
  while (lead < out.size() && out[lead] == kPathSeparator) ++lead;
#ifndef _WIN32
  // An absolute POSIX path keeps its root. Only a real "/" counts: a leading "\\" comes from
  // the program's own path literals and is stripped as on Windows.
  if (!path.empty() && path.front() == '/') {
    std::string rooted(1, '/');
    rooted.append(out, lead, std::string::npos);
    return rooted;
  }
#endif
  out.erase(0, lead);
  return out;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  if (folder.empty()) return NormalisePath(name);
  std::string joined(folder);
  joined.push_back(kPathSeparator);
  joined.append(name);
  return NormalisePath(joined);
}

std::string FileNameOf(std::string_view path) {
  const auto pos = path.find_last_of("/\\");
  return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string FolderOf(std::string_view path) {
  const auto pos = path.find_last_of("/\\");
  if (pos == std::string_view::npos) return {};
  if (pos == 0) return std::string(1, kPathSeparator);
  return NormalisePath(path.substr(0, pos));
}

std::string UniqueSiblingPath(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  return path + ".~" + std::to_string(ROVIRO_GETPID()) + "." +
         std::to_string(counter.fetch_add(1)) + ".tmp";
}

std::filesystem::path FsPath(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string FsName(const std::filesystem::path& path) {
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(FsPath(path), ec);
}

bool FolderExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(FsPath(path), ec);
}

bool CreateFolderTree(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(FsPath(path), ec);
  return FolderExists(path);
}

bool RemoveFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::remove(FsPath(path), ec);
}

bool RenameFile(const std::string& from, const std::string& to) {
  std::error_code ec;
  std::filesystem::rename(FsPath(from), FsPath(to), ec);
  return !ec;
}

namespace {

std::mutex& ObserverMutex() {
  static std::mutex m;
  return m;
}

std::function<void(std::string_view, const std::string&)>& Observer() {
  static std::function<void(std::string_view, const std::string&)> f;
  return f;
}

void Observe(std::string_view step, const std::string& path) {
  std::lock_guard lock(ObserverMutex());
  if (Observer()) Observer()(step, path);
}

}  // namespace

bool SyncFileToDisk(const std::string& path) {
#ifdef _WIN32
  const int fd = _open(path.c_str(), _O_RDWR | _O_BINARY);
  if (fd < 0) return false;
  const bool ok = _commit(fd) == 0;
  return (_close(fd) == 0) && ok;
#else
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  return (::close(fd) == 0) && ok;
#endif
}

bool SyncFolderToDisk(const std::string& folder) {
#ifdef _WIN32
  (void)folder;
  return true;
#else
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  // Some file systems cannot sync a folder (EINVAL); the rename is as safe there as it gets.
  const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
  return (::close(fd) == 0) && ok;
#endif
}

bool CommitReplacement(const std::string& from, const std::string& to) {
  Observe("sync", from);
  if (!SyncFileToDisk(from)) return false;
  Observe("rename", to);
  if (!RenameFile(from, to)) return false;
  // The new file is in place; a folder that cannot be synced leaves it there all the same,
  // and reporting failure now would make the caller believe the old file is still there.
  const std::string folder = FolderOf(to);
  Observe("sync folder", folder);
  SyncFolderToDisk(folder);
  return true;
}

void SetCommitObserver(std::function<void(std::string_view step, const std::string& path)> f) {
  std::lock_guard lock(ObserverMutex());
  Observer() = std::move(f);
}

}  // namespace roviro
