#include "records/ProgramSettings.h"

#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "catalogue/Archive.h"
#include "catalogue/XmlSupport.h"
#include "pages/TextHelpers.h"
#include "platform/Folders.h"
#include "platform/Paths.h"

namespace roviro {

namespace {

constexpr const char* kBackupSection = "SICHERUNG";
constexpr const char* kBackupCountKey = "ANZAHL_PRO_MOTOR";
constexpr const char* kUploadSection = "UPLOAD";
constexpr const char* kVerifyKey = "PRUEFEN";
constexpr const char* kConfirmSection = "BESTAETIGEN";
constexpr const char* kDatabaseSection = "DATENBANK";
constexpr const char* kAddressKey = "ADRESSE";
constexpr const char* kStationKey = "STATION";
constexpr const char* kAskKey = "FRAGEN";
constexpr const char* kFilesSection = "DATEIEN";
constexpr const char* kFolderKey = "ORDNER";

std::string Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    const std::size_t end = text.find('\n', begin);
    if (end == std::string::npos) {
      lines.push_back(text.substr(begin));
      break;
    }
    lines.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
  return lines;
}

// The line without its comment and blanks.
std::string Meaningful(const std::string& line) {
  const auto comment = line.find("//");
  return Trim(comment == std::string::npos ? line : line.substr(0, comment));
}

bool IsSection(const std::string& meaningful, std::string* name) {
  if (meaningful.size() < 2 || meaningful.front() != '[' || meaningful.back() != ']') return false;
  *name = Trim(meaningful.substr(1, meaningful.size() - 2));
  return true;
}

bool IsKey(const std::string& meaningful, const std::string& key, std::string* value) {
  const auto eq = meaningful.find('=');
  if (eq == std::string::npos || !EqualsNoCase(Trim(meaningful.substr(0, eq)), key)) return false;
  if (value != nullptr) *value = Trim(meaningful.substr(eq + 1));
  return true;
}

// A whole decimal number, or false.
bool ParseNumber(const std::string& text, long* out) {
  if (text.empty()) return false;
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (end == nullptr || *end != '\0') return false;
  *out = v;
  return true;
}

}  // namespace

std::string ProgramSettingsPath(const std::string& sharedDataFolder) {
  if (sharedDataFolder.empty()) return {};
  return NormalisePath(sharedDataFolder + kCompanyFolder + kProgramSettingsFile);
}

ProgramSettings ParseProgramSettings(const std::string& text) {
  ProgramSettings out;
  std::string section;
  for (const std::string& raw : SplitLines(text)) {
    const std::string line = Meaningful(raw);
    std::string value;
    long number = 0;
    if (IsSection(line, &section)) continue;
    if (EqualsNoCase(section, kBackupSection) && IsKey(line, kBackupCountKey, &value)) {
      if (ParseNumber(value, &number) && number >= 1 && number <= kMaxBackupsPerMotor) {
        out.backupsPerMotor = static_cast<int>(number);
      }
    } else if (EqualsNoCase(section, kUploadSection) && IsKey(line, kVerifyKey, &value)) {
      if (ParseNumber(value, &number) && (number == 0 || number == 1)) {
        out.verifyUpload = number == 1;
      }
    } else if (EqualsNoCase(section, kFilesSection) && IsKey(line, kFolderKey, &value)) {
      out.lastFolder = value;
    } else if (EqualsNoCase(section, kDatabaseSection) && IsKey(Trim(raw), kAddressKey, &value)) {
      // An address may be a URI ("postgresql://host/db"): its "//" starts no comment; one
      // after a blank does.
      const auto comment = value.find(" //");
      out.databaseAddress = Trim(comment == std::string::npos ? value : value.substr(0, comment));
    } else if (EqualsNoCase(section, kDatabaseSection) && IsKey(line, kStationKey, &value)) {
      out.station = value;
    } else if (EqualsNoCase(section, kConfirmSection) && IsKey(line, kAskKey, &value)) {
      if (ParseNumber(value, &number) && (number == 0 || number == 1)) {
        out.askQuestions = number == 1;
      }
    }
  }
  return out;
}

std::string CompanyStoreAddress(const ProgramSettings& settings) {
  const char* env = std::getenv("ROVIRO_DATENBANK");
  if (env != nullptr && *env != '\0') return env;
  return settings.databaseAddress;
}

std::string StationName(const ProgramSettings& settings) {
  if (!settings.station.empty()) return settings.station;
  char host[256] = "";
  if (gethostname(host, sizeof host - 1) == 0 && host[0] != '\0') return host;
  return "Station";
}

ProgramSettings ReadProgramSettings(const std::string& sharedDataFolder) {
  const std::string path = ProgramSettingsPath(sharedDataFolder);
  std::string text;
  if (path.empty() || !ReadWholeFile(path, &text)) return {};
  return ParseProgramSettings(text);
}

std::string SetSettingsValue(const std::string& text, const std::string& section,
                             const std::string& key, const std::string& value) {
  std::vector<std::string> lines = SplitLines(text);
  const std::string entry = key + "=" + value;
  std::string current;
  int sectionLine = -1;
  int lastInSection = -1;
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    const std::string line = Meaningful(lines[static_cast<std::size_t>(i)]);
    if (IsSection(line, &current)) {
      if (EqualsNoCase(current, section) && sectionLine < 0) {
        sectionLine = i;
        lastInSection = i;
      }
      continue;
    }
    if (!EqualsNoCase(current, section)) continue;
    if (IsKey(line, key, nullptr)) {
      lines[static_cast<std::size_t>(i)] = entry;
      std::string out;
      for (const auto& l : lines) out += l + "\n";
      return out;
    }
    if (!line.empty()) lastInSection = i;
  }
  if (sectionLine >= 0) {
    lines.insert(lines.begin() + lastInSection + 1, entry);
  } else {
    lines.push_back("[" + section + "]");
    lines.push_back(entry);
  }
  std::string out;
  for (const auto& l : lines) out += l + "\n";
  return out;
}

namespace {

// Reads the file (or starts a new one), changes it with `change` and replaces it whole.
template <class Change>
bool UpdateSettingsFile(const std::string& sharedDataFolder, Change change) {
  const std::string path = ProgramSettingsPath(sharedDataFolder);
  if (path.empty() || !CreateFolderTree(FolderOf(path))) return false;
  std::string text;
  if (FileExists(path)) {
    // A file that is there but cannot be read is not replaced by one without its lines.
    if (!ReadWholeFile(path, &text)) return false;
  } else {
    text = "// RoviroDazo: Einstellungen des Programms\n";
  }
  return ReplaceFileAtomically(path, change(text));
}

}  // namespace

bool WriteProgramSettings(const std::string& sharedDataFolder, const ProgramSettings& settings) {
  return UpdateSettingsFile(sharedDataFolder, [&](std::string text) {
    text = SetSettingsValue(text, kBackupSection, kBackupCountKey,
                            std::to_string(settings.backupsPerMotor));
    return SetSettingsValue(text, kUploadSection, kVerifyKey, settings.verifyUpload ? "1" : "0");
  });
}

bool WriteLastFolder(const std::string& sharedDataFolder, const std::string& folder) {
  // A name with a line break would break the file's lines; it is not kept.
  if (folder.find_first_of("\r\n") != std::string::npos) return false;
  return UpdateSettingsFile(sharedDataFolder, [&](const std::string& text) {
    return SetSettingsValue(text, kFilesSection, kFolderKey, folder);
  });
}

}  // namespace roviro
