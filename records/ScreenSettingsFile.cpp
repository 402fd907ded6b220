#include "records/ScreenSettingsFile.h"

#include <cstdio>
#include <cstdlib>

#include "catalogue/XmlSupport.h"
#include "pages/TextHelpers.h"
#include "platform/Paths.h"

namespace roviro {

std::string ScreenSettingsPath(const std::string& folder, int number) {
  if (folder.empty()) return {};
  char name[32];
  std::snprintf(name, sizeof(name), "\\Screen %3.3d.sav", number);
  return NormalisePath(folder + name);
}

bool CreateEmptyScreenSettings(const std::string& folder, int number) {
  const std::string path = ScreenSettingsPath(folder, number);
  if (path.empty()) return false;
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) return false;
  return std::fclose(file) == 0;
}

ScreenSettings ReadScreenSettings(const std::string& folder, int number) {
  ScreenSettings out;
  const std::string path = ScreenSettingsPath(folder, number);
  if (path.empty()) return out;
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (file == nullptr) return out;
  out.opened = true;
  bool inSection = false;
  for (const std::string& line : ReadSettingLines(file)) {
    if (line == kColumnWidthSection) {
      inSection = true;
    } else if (line.find_first_of("[]") != std::string::npos) {
      inSection = false;
    } else if (inSection) {
      out.columnWidths.push_back(std::atoi(line.c_str()));
    }
  }
  std::fclose(file);
  return out;
}

bool WriteColumnWidths(const std::string& folder, int number, const std::vector<int>& widths) {
  const std::string path = ScreenSettingsPath(folder, number);
  if (path.empty()) return false;
  std::string text = std::string(kColumnWidthSection) + "\n";
  for (int width : widths) text += std::to_string(width) + "\n";
  return ReplaceFileAtomically(path, text);
}

}  // namespace roviro
