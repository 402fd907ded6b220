#pragma once
// The program's own settings, kept in "Einstellungen.ini" in the program's folder below the
// shared data folder, for the program and roviro-cli alike:
//
//   [SICHERUNG]
//   ANZAHL_PRO_MOTOR=50   automatic backups kept per motor, 1..10000
//   [UPLOAD]
//   PRUEFEN=0             1: read the set back after an upload and compare it
//   [BESTAETIGEN]
//   FRAGEN=1              0: no questions before writing, resetting or replacing a set (benches)
//   [DATEIEN]
//   ORDNER=/home/...      the folder the parameter-file dialogs used last (the system's bytes)
//
// Sections and keys are read without regard to case; "//" starts a comment. A missing file,
// key or a value out of range gives the default. Without a shared data folder nothing is read
// or written.

#include <string>

namespace roviro {

inline constexpr const char* kProgramSettingsFile = "Einstellungen.ini";
inline constexpr int kDefaultBackupsPerMotor = 50;
inline constexpr int kMaxBackupsPerMotor = 10000;

struct ProgramSettings {
  int backupsPerMotor = kDefaultBackupsPerMotor;
  bool verifyUpload = false;
  bool askQuestions = true;
  std::string lastFolder;
  std::string databaseAddress;  // as written in the file; see CompanyStoreAddress
  std::string station;          // as written; see StationName
};

// The company store's address: ROVIRO_DATENBANK when set and not empty, else the file's.
std::string CompanyStoreAddress(const ProgramSettings& settings);
// The station's name: the file's, else the host name, else "Station".
std::string StationName(const ProgramSettings& settings);

// The file's path, or empty when the shared data folder is empty.
std::string ProgramSettingsPath(const std::string& sharedDataFolder);

ProgramSettings ReadProgramSettings(const std::string& sharedDataFolder);
ProgramSettings ParseProgramSettings(const std::string& text);

// Writes both keys into the file, keeping every other line (comments, keys of others) as it
// was; the file is replaced only when complete. False without a folder or when writing fails.
bool WriteProgramSettings(const std::string& sharedDataFolder, const ProgramSettings& settings);

// Keeps `folder` as the folder the file dialogs used last, every other line as it was.
bool WriteLastFolder(const std::string& sharedDataFolder, const std::string& folder);

// `text` with KEY=value in [SECTION]: the key's line replaced, or added at the section's end,
// or the section appended.
std::string SetSettingsValue(const std::string& text, const std::string& section,
                             const std::string& key, const std::string& value);

}  // namespace roviro
