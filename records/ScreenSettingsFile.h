#pragma once
// The per-screen settings files "Screen 00N.sav" in the screen settings folder. A screen
// creates its file empty when it is left and reads it when it is entered; only the list
// column widths of the operating-data screen are kept in one (section
// "[SCREEN_COLUMN_WIDTH]", one decimal width per line). Without a settings folder nothing is
// read or written: an empty folder never stands for the working folder or the root.

#include <string>
#include <vector>

namespace roviro {

// The settings file numbers of the screens.
inline constexpr int kSettingsFileLoadData = 1;       // screen 1
inline constexpr int kSettingsFileSettings = 2;       // screens 2, 3, 12, 10, 11
inline constexpr int kSettingsFileStepValues = 3;     // screens 4, 5
inline constexpr int kSettingsFileSaveData = 4;       // screen 6
inline constexpr int kSettingsFileTest = 5;           // screen 7
inline constexpr int kSettingsFileOperatingData = 6;  // screen 8

inline constexpr const char* kColumnWidthSection = "[SCREEN_COLUMN_WIDTH]";

// folder + "\Screen 00N.sav", normalised; empty when the folder is empty.
std::string ScreenSettingsPath(const std::string& folder, int number);

// Opens the file for writing and closes it at once, leaving it empty. False when there is no
// folder or the file cannot be written; screens ignore the answer.
bool CreateEmptyScreenSettings(const std::string& folder, int number);

struct ScreenSettings {
  bool opened = false;
  // The lines of the column-width section read as decimal numbers, in file order (a line
  // that is not a number reads as 0).
  std::vector<int> columnWidths;
};

// Reads the file to its end: each line loses its line feed and everything from "//" on,
// empty lines are skipped, "[SCREEN_COLUMN_WIDTH]" opens the section, any other line with
// "[" or "]" closes it.
ScreenSettings ReadScreenSettings(const std::string& folder, int number);

// Writes the section header and one line per width, replacing the file only once the new
// one is complete. False without a folder or when writing fails.
bool WriteColumnWidths(const std::string& folder, int number, const std::vector<int>& widths);

}  // namespace roviro
