#pragma once
// The program's five folders: [0] program folder, [1] language folder, [2] shared data
// folder, [3] screen settings folder, [4] temporary folder. Stored normalised, without a
// trailing separator; file names are appended with a leading one.

#include <array>
#include <string>

namespace roviro {

enum class FolderKind : int {
  Program = 0,
  Language = 1,
  SharedData = 2,
  ScreenSettings = 3,
  Temp = 4,
};

// The program's own folder below the shared data folder.
inline constexpr const char* kCompanyFolder = "\\Trevanic\\DI DU-RoviroDazo\\";
inline constexpr const char* kScreenFolder = "\\LoaderDaten\\Screen\\";
inline constexpr const char* kConfigFolder = "\\LoaderDaten\\Config\\";
// Where an installed program keeps its read-only data, relative to its executable.
inline constexpr const char* kInstalledDataFolder = "../share/roviro-dazo";

class Folders {
 public:
  // The folder of the running executable; empty if it cannot be determined.
  static std::string ExecutableFolder();
  // $XDG_DATA_HOME, else $HOME/.local/share (%ProgramData% on Windows); empty if unknown.
  static std::string DefaultSharedDataFolder();

  // The program folder of an executable in `executableFolder`: that folder when it holds
  // LoaderDaten (a build tree, or a program copied with its data), else
  // ../share/roviro-dazo when that holds LoaderDaten (an installed program; `installed` then
  // becomes true), else the executable's folder itself.
  static std::string ProgramFolderFor(const std::string& executableFolder,
                                      bool* installed = nullptr);

  // Fixes program and shared data folder (overrides win when not empty), derives the
  // screen settings and temporary folders and creates both with all missing parents.
  void Init(const std::string& programFolderOverride = {},
            const std::string& sharedDataOverride = {});

  // After Init: true when the shared data folder is known and the screen settings and
  // temporary folders exist below it, so contact data, motor data files and settings can be
  // kept. Without it the program still runs, but keeps nothing between runs.
  bool DataFolderAvailable() const { return m_dataFolderAvailable; }
  // The message that tells the fitter so (German, ISO-8859-1); empty when the folder is there.
  std::string DataFolderMessage() const;

  const std::string& Get(FolderKind kind) const { return m_folders[static_cast<int>(kind)]; }
  void Set(FolderKind kind, const std::string& path);

  // True when the program folder is an installed program's shared, read-only data folder:
  // nothing the program writes goes there.
  bool ProgramFolderInstalled() const { return m_installed; }

  const std::string& Program() const { return Get(FolderKind::Program); }
  const std::string& Language() const { return Get(FolderKind::Language); }
  const std::string& SharedData() const { return Get(FolderKind::SharedData); }
  const std::string& ScreenSettings() const { return Get(FolderKind::ScreenSettings); }
  const std::string& Temp() const { return Get(FolderKind::Temp); }

 private:
  std::array<std::string, 5> m_folders;
  bool m_dataFolderAvailable = false;
  bool m_installed = false;
};

}  // namespace roviro
