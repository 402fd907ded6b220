#include "platform/Folders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/Paths.h"
#include "platform/TextEncoding.h"
#include "platform/Translation.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace roviro {

std::string Folders::ExecutableFolder() {
#ifdef _WIN32
  char buffer[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return FolderOf(std::string(buffer, n));
#else
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return FolderOf(FsName(exe));
#endif
}

std::string Folders::DefaultSharedDataFolder() {
#ifdef _WIN32
  if (const char* pd = std::getenv("ProgramData"); pd && *pd) return NormalisePath(pd);
  return {};
#else
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg && xdg[0] == '/') {
    return NormalisePath(xdg);
  }
  if (const char* home = std::getenv("HOME"); home && *home) {
    return JoinPath(home, ".local/share");
  }
  return {};
#endif
}

std::string Folders::ProgramFolderFor(const std::string& executableFolder, bool* installed) {
  if (installed != nullptr) *installed = false;
  if (executableFolder.empty() || FolderExists(JoinPath(executableFolder, "LoaderDaten"))) {
    return executableFolder;
  }
  std::error_code ec;
  const std::filesystem::path shared =
      std::filesystem::weakly_canonical(FsPath(executableFolder) / kInstalledDataFolder, ec);
  if (!ec && FolderExists(JoinPath(FsName(shared), "LoaderDaten"))) {
    if (installed != nullptr) *installed = true;
    return FsName(shared);
  }
  return executableFolder;
}

void Folders::Init(const std::string& programFolderOverride,
                   const std::string& sharedDataOverride) {
  m_installed = false;
  const std::string program = programFolderOverride.empty()
                                  ? ProgramFolderFor(ExecutableFolder(), &m_installed)
                                  : programFolderOverride;
  const std::string shared =
      sharedDataOverride.empty() ? DefaultSharedDataFolder() : sharedDataOverride;
  Set(FolderKind::Program, program);
  Set(FolderKind::SharedData, shared);
  m_dataFolderAvailable = false;
  if (shared.empty()) {
    // Without a shared data folder nothing may be written beside it; the callers treat an
    // empty folder as "not available".
    Set(FolderKind::ScreenSettings, {});
    Set(FolderKind::Temp, {});
    return;
  }
  Set(FolderKind::ScreenSettings, shared + kCompanyFolder + "ScreenIni\\");
  Set(FolderKind::Temp, shared + kCompanyFolder + "temp\\");
  const bool settings = CreateFolderTree(ScreenSettings());
  const bool temp = CreateFolderTree(Temp());
  m_dataFolderAvailable = settings && temp;
}

std::string Folders::DataFolderMessage() const {
  if (m_dataFolderAvailable) return {};
  const std::string consequence =
      Tx("Kontaktdaten, Motordaten und Einstellungen k\xF6nnen nicht gespeichert werden.");
  if (SharedData().empty()) {
#ifdef _WIN32
    return Tx("Kein Datenordner vorhanden (ProgramData ist nicht gesetzt).") + "\n" + consequence;
#else
    return Tx("Kein Datenordner vorhanden (weder XDG_DATA_HOME noch HOME ist gesetzt).") + "\n" +
           consequence;
#endif
  }
  return Tx("Der Datenordner %1 kann nicht angelegt werden.",
            {PathAsText(NormalisePath(SharedData() + kCompanyFolder))}) +
         "\n" + consequence;
}

void Folders::Set(FolderKind kind, const std::string& path) {
  m_folders[static_cast<int>(kind)] = path.empty() ? std::string() : NormalisePath(path);
}

}  // namespace roviro
