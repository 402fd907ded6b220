#pragma once
// Where the shipped LoaderDaten tree lives (sources and built copy) and what every page file
// must answer: per page the capacity it is read with and, per object, how many texts, whether
// a tooltip and how many pictures the program asks for.

#include <string>
#include <vector>

#include "pages/ScreenDescription.h"
#include "platform/Paths.h"

namespace roviro::test {

// Compile definitions from tests/data_tree/CMakeLists.txt.
inline std::string SourceDataFolder() { return ROVIRO_SOURCE_DATA; }
inline std::string BuildFolder() { return ROVIRO_BUILD_FOLDER; }

inline std::string ScreenFolder() { return JoinPath(SourceDataFolder(), "LoaderDaten/Screen"); }

// The main description is read with this many objects; it names five language folders.
inline constexpr int kMainObjects = 18;
inline constexpr int kLanguageCount = 5;

// The language folders as the main description (object 5) names them, German first.
inline const std::vector<std::string>& Languages() {
  static const std::vector<std::string> languages = [] {
    ScreenDescription main;
    main.Load(ScreenFolder(), 999, kMainObjects);
    std::vector<std::string> names;
    for (int n = 0; !main.Text(5, n).empty() && main.Text(5, n) != "Error"; ++n) {
      names.push_back(main.Text(5, n));
    }
    return names;
  }();
  return languages;
}

struct Need {
  int object;
  int texts;     // texts 0 .. texts-1 must exist
  bool tooltip;  // a tooltip must exist
  int bitmaps;   // bitmaps 0 .. bitmaps-1 must exist
};

struct PageNeeds {
  int number;
  int capacity;
  std::vector<Need> needs;
};

// A picture button lists disabled, normal, mouse over, (unused), pressed.
inline constexpr int kButtonStates = 5;

inline const std::vector<PageNeeds>& LanguagePages() {
  static const std::vector<PageNeeds> pages = [] {
    auto stepPage = [](int number) {
      return PageNeeds{number,
                       30,
                       {{0, 1, false, 0},
                        {1, 1, true, 0},
                        {2, 1, true, 0},
                        {3, 1, false, 0},
                        {4, 2, true, 0},
                        {5, 1, false, 0},
                        {6, 2, false, 0},
                        {7, 0, true, kButtonStates},
                        {8, 0, true, kButtonStates},
                        {9, 5, false, 0},
                        {10, 0, true, 0},
                        {11, 2, false, 0}}};
    };
    std::vector<PageNeeds> p;
    // The main window's frame: language-button tips, navigation tips, the message table,
    // the start tip; the motor-name parts are checked against the catalogues.
    p.push_back({0,
                 15,
                 {{1, kLanguageCount, false, 0},
                  {2, 7, false, 0},
                  {3, 32, false, 0},
                  {4, 1, false, 0},
                  {5, 3, false, 0},
                  {10, 1, false, 0},
                  {11, 1, false, 0}}});
    p.push_back({1,
                 30,
                 {{0, 2, false, 0},
                  {1, 1, false, 0},
                  {2, 1, true, 0},
                  {3, 4, false, 0},
                  {4, 8, false, 0},
                  {5, 1, true, 0},
                  {6, 1, true, 0},
                  {7, 1, true, 0},
                  {8, 1, true, 0},
                  {9, 1, true, 0},
                  {10, 1, true, 0},
                  {11, 1, true, 0},
                  {12, 1, true, 0},
                  {13, 1, true, 0},
                  {14, 1, true, 0},
                  {15, 1, false, 0},
                  {20, 4, false, 0}}});
    p.push_back({2,
                 30,
                 {{0, 1, false, 0},
                  {1, 1, true, 0},
                  {2, 1, true, 0},
                  {3, 1, false, 0},
                  {4, 2, true, 0},
                  {5, 1, false, 0},
                  {6, 5, true, 0},
                  {7, 0, true, 0}}});
    p.push_back(stepPage(3));
    p.push_back({4,
                 30,
                 {{0, 1, false, 0},
                  {1, 1, false, 0},
                  {2, 2, true, 0},
                  {3, 1, false, 0},
                  {4, 0, true, kButtonStates},
                  {5, 0, true, kButtonStates},
                  {6, 1, true, 0},
                  {7, 1, false, 0},
                  {8, 2, true, 0},
                  {9, 0, true, 0},
                  {10, 0, true, 0},
                  {11, 2, false, 0},
                  {12, 1, false, 0},
                  {13, 0, true, 0},
                  {14, 2, true, 0},
                  {15, 1, false, 0},
                  {16, 1, false, 0}}});
    p.push_back({5,
                 30,
                 {{0, 1, false, 0},
                  {1, 1, false, 0},
                  {2, 1, true, 0},
                  {3, 1, false, 0},
                  {4, 2, true, 0},
                  {5, 1, false, 0},
                  {6, 0, true, kButtonStates},
                  {7, 0, true, kButtonStates},
                  {8, 1, true, 0},
                  {9, 1, false, 0},
                  {10, 2, true, 0},
                  {11, 2, false, 0}}});
    p.push_back({6,
                 20,
                 {{0, 2, false, 0},
                  {1, 1, false, 0},
                  {2, 1, true, 0},
                  {3, 7, false, 0},
                  {4, 1, true, 0},
                  {5, 3, false, 0},
                  {6, 1, false, 0},
                  {7, 1, false, 0},
                  {8, 3, true, 0}}});
    p.push_back({7,
                 20,
                 {{0, 1, false, 0},
                  {1, 1, true, 0},
                  {2, 1, true, 0},
                  {3, 1, true, 0},
                  {4, 1, true, 0},
                  {5, 1, true, 0},
                  {6, 1, true, 0},
                  {7, 1, false, 0},
                  {8, 3, true, 0}}});
    p.push_back({8,
                 20,
                 {{0, 1, false, 0},
                  {1, 7, false, 0},
                  {2, 1, false, 0},
                  {3, 2, false, 0},
                  {4, 2, false, 0},
                  {5, 3, false, 0},
                  {6, 3, false, 0},
                  {7, 0, true, 0}}});
    p.push_back({10,
                 30,
                 {{0, 1, false, 0},
                  {1, 1, true, 0},
                  {2, 1, true, 0},
                  {3, 1, true, 0},
                  {4, 1, true, 0},
                  {5, 1, true, 0},
                  {6, 2, true, 0},
                  {7, 0, true, 0},
                  {8, 1, false, 0}}});
    p.push_back({11,
                 30,
                 {{0, 1, false, 0},
                  {1, 1, false, 0},
                  {2, 1, true, 0},
                  {3, 1, true, 0},
                  {4, 1, false, 0},
                  {5, 2, true, 0},
                  {6, 0, true, 0}}});
    p.push_back(stepPage(12));
    // The shared message texts.
    p.push_back({999, 89, {{3, 32, false, 0}}});
    return p;
  }();
  return pages;
}

// Objects whose texts 0 and 1 give a value range used when no catalogue record exists.
struct RangeObject {
  int page;
  int object;
};
inline const std::vector<RangeObject>& RangeObjects() {
  static const std::vector<RangeObject> ranges = {{2, 4},  {3, 4},  {3, 11}, {4, 2},  {4, 8},
                                                  {4, 11}, {4, 14}, {5, 4},  {5, 10}, {5, 11},
                                                  {10, 6}, {11, 5}, {12, 4}, {12, 11}};
  return ranges;
}

// Texts 0.. of object k while they are not empty.
inline std::vector<std::string> Texts(const ScreenDescription& page, int k) {
  std::vector<std::string> out;
  for (int n = 0;; ++n) {
    std::string t = page.Text(k, n);
    if (t.empty() || t == "Error") break;
    out.push_back(std::move(t));
  }
  return out;
}

inline std::vector<std::string> Bitmaps(const ScreenDescription& page, int k) {
  std::vector<std::string> out;
  for (int n = 0;; ++n) {
    std::string b = page.Bitmap(k, n);
    if (b.empty()) break;
    out.push_back(std::move(b));
  }
  return out;
}

}  // namespace roviro::test
