// The shipped page files: every object and text the program asks for exists in every
// language, the files are ISO-8859-1, every language has German's shape, and the
// pictures they name exist in the built tree.

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "catalogue/Archive.h"
#include "catalogue/XmlSupport.h"
#include "pages/ScreenDescription.h"
#include "pages/TextHelpers.h"
#include "platform/Paths.h"
#include "tests/data_tree/ShippedTree.h"

namespace roviro::test {
namespace {

std::string PageName(const std::string& language, int number) {
  return language + "/Screen" + std::to_string(number) + ".dat";
}

ScreenDescription LoadPage(const std::string& language, int number, int capacity) {
  ScreenDescription page;
  EXPECT_EQ(page.Load(JoinPath(ScreenFolder(), language), number, capacity), S_OK)
      << PageName(language, number);
  return page;
}

TEST(ShippedPages, MainDescriptionNamesLanguagesAndEveryButtonPicture) {
  ScreenDescription main;
  ASSERT_EQ(main.Load(ScreenFolder(), 999, kMainObjects), S_OK);
  // The folder names in button order, plain ASCII so that no file system or archive alters them.
  EXPECT_EQ(Languages(),
            (std::vector<std::string>{"Deutsch", "English", "Francais", "Italiano", "Nederlands"}));
  EXPECT_EQ(Bitmaps(main, 5).size(), 2u) << "logo: start view and heading";
  EXPECT_EQ(Bitmaps(main, 6).size(), 12u) << "one navigation frame per screen id 1..12";
  // Language buttons 1, 2, 15..17, start 4, back 7, next 8, default buttons 9, main tabs 10..14.
  for (int k : {1, 2, 15, 16, 17, 4, 7, 8, 9, 10, 11, 12, 13, 14}) {
    EXPECT_EQ(Bitmaps(main, k).size(), static_cast<std::size_t>(kButtonStates)) << "object " << k;
  }
  // Each language folder named there exists.
  for (const std::string& language : Languages()) {
    EXPECT_TRUE(FolderExists(JoinPath(ScreenFolder(), language))) << language;
  }
}

TEST(ShippedPages, EveryCitedObjectTextTooltipAndPictureExistsInEveryLanguage) {
  for (const std::string& language : Languages()) {
    for (const PageNeeds& page : LanguagePages()) {
      const ScreenDescription d = LoadPage(language, page.number, page.capacity);
      const std::string where = PageName(language, page.number);
      EXPECT_NE(d.Heading(), "Error") << where;
      EXPECT_FALSE(d.Heading().empty()) << where;
      for (const Need& need : page.needs) {
        ASSERT_LT(need.object, page.capacity) << where;
        for (int n = 0; n < need.texts; ++n) {
          const std::string text = d.Text(need.object, n);
          EXPECT_FALSE(text.empty() || text == "Error")
              << where << " text (" << need.object << ", " << n << ") missing";
        }
        if (need.tooltip) {
          EXPECT_FALSE(d.Tooltip(need.object).empty())
              << where << " tooltip of object " << need.object << " missing";
        }
        for (int n = 0; n < need.bitmaps; ++n) {
          EXPECT_FALSE(d.Bitmap(need.object, n).empty())
              << where << " bitmap (" << need.object << ", " << n << ") missing";
        }
      }
    }
  }
}

TEST(ShippedPages, LanguagesHaveTheSameShapeAndPictures) {
  for (const std::string& language : Languages()) {
    for (const PageNeeds& page : LanguagePages()) {
      const ScreenDescription de = LoadPage("Deutsch", page.number, page.capacity);
      const ScreenDescription other = LoadPage(language, page.number, page.capacity);
      for (int k = 0; k < page.capacity; ++k) {
        const std::string where = PageName(language, page.number) + " object " + std::to_string(k);
        EXPECT_EQ(Texts(de, k).size(), Texts(other, k).size()) << where;
        EXPECT_EQ(de.Tooltip(k).empty(), other.Tooltip(k).empty()) << where;
        EXPECT_EQ(Bitmaps(de, k), Bitmaps(other, k)) << where;
      }
    }
  }
}

TEST(ShippedPages, PlaceholdersRangesAndEventListAreWellFormed) {
  for (const std::string& language : Languages()) {
    // Status line with the port number, time parts and event columns with "%a".
    for (int number : {1, 6}) {
      const ScreenDescription d = LoadPage(language, number, number == 1 ? 30 : 20);
      EXPECT_NE(d.Text(0, 1).find("%s"), std::string::npos) << language << " page " << number;
      EXPECT_EQ(d.Text(0, 0).find('%'), std::string::npos) << language << " page " << number;
    }
    const ScreenDescription eight = LoadPage(language, 8, 20);
    for (int n = 1; n <= 6; ++n) {
      EXPECT_NE(eight.Text(1, n).find("%a"), std::string::npos) << language << " (1, " << n << ")";
    }
    for (int n = 0; n < 3; ++n) {
      EXPECT_NE(eight.Text(5, n).find("%a"), std::string::npos) << language << " (5, " << n << ")";
    }
    // The event-text list: text 0 counts itself and the entries; each entry is 8 hex digits
    // and a text, and no code appears twice.
    const std::uint32_t count = HexToValue(eight.Text(3, 0));
    EXPECT_EQ(count, Texts(eight, 3).size()) << language;
    std::set<std::string> codes;
    for (std::uint32_t n = 1; n < count; ++n) {
      const std::string entry = eight.Text(3, static_cast<int>(n));
      ASSERT_GE(entry.size(), 9u) << language << " event entry " << n;
      EXPECT_EQ(entry.substr(0, 8).find_first_not_of("0123456789ABCDEF"), std::string::npos)
          << entry;
      EXPECT_TRUE(codes.insert(entry.substr(0, 8)).second) << entry;
    }
    // Ranges used without a catalogue: two decimal numbers, minimum below maximum, within a byte.
    for (const RangeObject& r : RangeObjects()) {
      const ScreenDescription d = LoadPage(language, r.page, 30);
      const std::string lo = d.Text(r.object, 0);
      const std::string hi = d.Text(r.object, 1);
      ASSERT_EQ(lo.find_first_not_of("0123456789"), std::string::npos) << lo;
      ASSERT_EQ(hi.find_first_not_of("0123456789"), std::string::npos) << hi;
      EXPECT_LT(std::atoi(lo.c_str()), std::atoi(hi.c_str())) << "page " << r.page;
      EXPECT_LE(std::atoi(hi.c_str()), 255) << "page " << r.page;
    }
    // The shared message texts repeat the message table of the frame.
    const ScreenDescription frame = LoadPage(language, 0, 15);
    const ScreenDescription shared = LoadPage(language, 999, 89);
    EXPECT_EQ(Texts(frame, 3), Texts(shared, 3)) << language;
    EXPECT_EQ(Texts(frame, 3).size(), 32u) << language;
  }
}

TEST(ShippedPages, FilesAreIso88591TextWithinTheLineLimit) {
  std::vector<std::string> files = {JoinPath(ScreenFolder(), "Screen999.dat")};
  for (const std::string& language : Languages()) {
    for (const PageNeeds& page : LanguagePages()) {
      files.push_back(ScreenDescription::PagePath(JoinPath(ScreenFolder(), language), page.number));
    }
    files.push_back(JoinPath(JoinPath(ScreenFolder(), language), "ScreenStart.dat"));
  }
  bool sawUmlaut = false;
  for (const std::string& file : files) {
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(file, &bytes)) << file;
    std::size_t lineLength = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const auto c = static_cast<unsigned char>(bytes[i]);
      EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F) || c >= 0xA0)
          << file << ": byte " << int{c} << " at " << i;
      // A UTF-8 umlaut would show as 0xC3 followed by a continuation byte.
      if (c == 0xC3 && i + 1 < bytes.size()) {
        const auto next = static_cast<unsigned char>(bytes[i + 1]);
        EXPECT_FALSE(next >= 0x80 && next < 0xC0) << file << ": UTF-8 at " << i;
      }
      sawUmlaut = sawUmlaut || c == 0xE4 || c == 0xF6 || c == 0xFC || c == 0xDF;
      lineLength = c == '\n' ? 0 : lineLength + 1;
      EXPECT_LT(lineLength, 489u) << file << ": line too long at " << i;
    }
  }
  EXPECT_TRUE(sawUmlaut) << "the German pages are expected to carry single-byte umlauts";
}

TEST(ShippedPages, StartPageHasEveryFieldOfTheFirstStartDialog) {
  for (const std::string& language : Languages()) {
    std::string text;
    ASSERT_TRUE(
        ReadWholeFile(JoinPath(JoinPath(ScreenFolder(), language), "ScreenStart.dat"), &text));
    tinyxml2::XMLDocument doc;
    ASSERT_TRUE(ParseXml(doc, text)) << language;
    EXPECT_TRUE(HasProgramDeclaration(doc)) << language;
    const tinyxml2::XMLElement* root = doc.RootElement();
    ASSERT_NE(root, nullptr);
    for (int f = 1; f <= 12; ++f) {
      char name[8];
      std::snprintf(name, sizeof name, "Fld%03d", f);
      const tinyxml2::XMLElement* field = root->FirstChildElement(name);
      ASSERT_NE(field, nullptr) << language << " " << name;
      const char* label = field->Attribute("strText");
      ASSERT_NE(label, nullptr) << language << " " << name;
      EXPECT_STRNE(label, "") << language << " " << name;
      if (f >= 3 && f <= 11) {
        EXPECT_NE(field->Attribute("strDefault"), nullptr) << language << " " << name;
      }
    }
  }
}

// Width and height from a BMP file's header; false when the file is not a BMP.
bool BmpSize(const std::string& path, int* width, int* height) {
  std::ifstream in(path, std::ios::binary);
  unsigned char h[26] = {};
  if (!in.read(reinterpret_cast<char*>(h), sizeof h) || h[0] != 'B' || h[1] != 'M') return false;
  auto le32 = [&](int at) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(h[at]) | static_cast<std::uint32_t>(h[at + 1]) << 8 |
        static_cast<std::uint32_t>(h[at + 2]) << 16 | static_cast<std::uint32_t>(h[at + 3]) << 24);
  };
  *width = le32(18);
  *height = std::abs(le32(22));
  return true;
}

TEST(ShippedPictures, EveryNamedPictureExistsInTheBuiltTreeWithItsSize) {
  const std::string pictures = JoinPath(BuildFolder(), "LoaderDaten/Screen/Bilder");
  if (!FolderExists(pictures)) {
    GTEST_SKIP() << "no pictures in " << pictures << " (roviro-artgen needs Qt 6 Gui)";
  }
  // Every picture named anywhere, with the size its use demands.
  std::map<std::string, std::pair<int, int>> expected;
  auto collect = [&](const ScreenDescription& d, int capacity) {
    for (int k = 0; k < capacity; ++k) {
      for (const std::string& name : Bitmaps(d, k)) {
        int w = 64;
        int h = 64;
        if (name.find("Plus") != std::string::npos || name.find("Minus") != std::string::npos ||
            name.find("Taste") != std::string::npos) {
          w = h = 32;
        } else if (name.find("Navigation") != std::string::npos) {
          w = 800;
          h = 90;
        } else if (name.find("Logo") != std::string::npos) {
          w = h = -1;  // any size
        }
        expected[name] = {w, h};
      }
    }
  };
  ScreenDescription main;
  ASSERT_EQ(main.Load(ScreenFolder(), 999, kMainObjects), S_OK);
  collect(main, kMainObjects);
  for (const std::string& language : Languages()) {
    for (const PageNeeds& page : LanguagePages()) {
      collect(LoadPage(language, page.number, page.capacity), page.capacity);
    }
  }
  EXPECT_GE(expected.size(), 60u);
  for (const auto& [name, size] : expected) {
    const std::string path = JoinPath(BuildFolder(), name);
    int w = 0;
    int h = 0;
    ASSERT_TRUE(BmpSize(path, &w, &h)) << name;
    if (size.first > 0) {
      EXPECT_EQ(w, size.first) << name;
      EXPECT_EQ(h, size.second) << name;
    } else {
      EXPECT_GT(w, 0) << name;
      EXPECT_GT(h, 0) << name;
    }
  }
}

}  // namespace
}  // namespace roviro::test
