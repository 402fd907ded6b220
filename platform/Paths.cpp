#include "platform/Paths.h"

#include <atomic>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#define ROVIRO_GETPID _getpid
#else
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

bool FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

bool FolderExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

bool CreateFolderTree(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  return FolderExists(path);
}

bool RemoveFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::remove(path, ec);
}

bool RenameFile(const std::string& from, const std::string& to) {
  std::error_code ec;
  std::filesystem::rename(from, to, ec);
  return !ec;
}

}  // namespace roviro
