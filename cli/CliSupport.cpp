#include "cli/CliSupport.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <vector>

#ifdef _WIN32
#include <io.h>
#define ROVIRO_ISATTY _isatty
#else
#include <unistd.h>
#define ROVIRO_ISATTY isatty
#endif

#include "catalogue/Archive.h"
#include "catalogue/XmlSupport.h"
#include "pages/ScreenDescription.h"
#include "pages/TextHelpers.h"
#include "platform/Paths.h"

namespace roviro::cli {

void StderrMessageSink::Post(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t) {
  std::lock_guard lock(m_mutex);
  m_posts.push_back({msg, wParam});
}

int StderrMessageSink::Count() const {
  std::lock_guard lock(m_mutex);
  return m_count;
}

std::vector<StderrMessageSink::Posted> StderrMessageSink::Posts() const {
  std::lock_guard lock(m_mutex);
  return m_posts;
}

bool StderrMessageSink::WasPosted(std::uint32_t msg, int wParam) const {
  std::lock_guard lock(m_mutex);
  for (const auto& p : m_posts) {
    if (p.msg == msg && (wParam < 0 || p.wParam == static_cast<std::uintptr_t>(wParam))) {
      return true;
    }
  }
  return false;
}

int StderrMessageSink::MessageBox(const std::string& text, const std::string& caption,
                                  std::uint32_t style) {
  std::lock_guard lock(m_mutex);
  ++m_count;
  // Clears a progress line that may stand on the terminal.
  if (StderrIsTerminal()) std::cerr << "\r\033[K";
  if (caption.empty()) {
    std::cerr << Latin1ToUtf8(text) << '\n';
  } else {
    std::cerr << Latin1ToUtf8(caption) << ": " << Latin1ToUtf8(text) << '\n';
  }
  // Questions get the cautious answer: a tool run without a person never confirms.
  if (style & kMbYesNo) return kIdNo;
  return kIdOk;
}

bool StderrIsTerminal() { return ROVIRO_ISATTY(2) != 0; }

std::string LanguageFolder(const Folders& folders, int language) {
  ScreenDescription main;
  if (Failed(main.Load(folders.Program() + kScreenFolder, 999, 18))) return {};
  return NormalisePath(folders.Program() + kScreenFolder + main.Text(5, language));
}

Folders MakeFolders(const GlobalOptions& options) {
  Folders folders;
  folders.Init(options.programDir, options.dataDir);
  return folders;
}

bool WriteOutputFile(const std::string& path, const std::string& bytes) {
  return ReplaceFileAtomically(path, bytes);
}

std::string DisplayPath(const std::string& path) { return NormalisePath(path); }

void PrintPathError(const std::string& path, const std::string& reason) {
  // Paths are the system's bytes and go to the terminal as they are.
  std::cerr << "roviro-cli: " << DisplayPath(path) << ": " << reason << '\n';
}

std::string InputFileProblem(const std::string& path) {
  if (FolderExists(path)) return "is a folder, not a file";
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) {
    if (errno == ENOENT || errno == ENOTDIR) return "no such file";
    return std::string("cannot be read (") + std::strerror(errno) + ")";
  }
  char byte = 0;
  errno = 0;
  const bool failed = std::fread(&byte, 1, 1, f) != 1 && std::ferror(f);
  const int error = errno;
  std::fclose(f);
  if (failed) return std::string("cannot be read (") + std::strerror(error) + ")";
  return {};
}

std::string OutputFileProblem(const std::string& path) {
  if (FolderExists(path)) return "is a folder, not a file";
  const std::string folder = FolderOf(NormalisePath(path));
  if (!folder.empty() && !FolderExists(folder)) {
    return "the folder " + DisplayPath(folder) + " does not exist";
  }
  return {};
}

std::string ArchiveEntryProblem(const std::string& path, const std::string& entryName) {
  std::vector<std::string> names;
  if (!ListArchiveEntries(path, &names)) return "is not an archive (no ZIP directory)";
  std::string text;
  if (ReadArchiveEntry(path, entryName, &text) == 1) return {};
  for (const std::string& name : names) {
    if (EqualsNoCase(name, entryName))
      return "entry " + Latin1ToUtf8(entryName) + " is damaged or too large";
  }
  return "holds no entry " + Latin1ToUtf8(entryName);
}

}  // namespace roviro::cli
