// The shipped catalogue families: packed as the build packs them, they load without a single
// message into nine motor types; their walks, limits, forced functions, division tables and
// motor names agree with the screens and the page files.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "catalogue/Archive.h"
#include "catalogue/Catalogue.h"
#include "catalogue/ParameterImage.h"
#include "pages/ScreenDescription.h"
#include "platform/Paths.h"
#include "platform/RecordingMessageSink.h"
#include "support/TempFolder.h"
#include "tests/data_tree/ShippedTree.h"

namespace roviro::test {
namespace {

const std::vector<std::string> kFamilies = {"standard", "compact", "comfort"};

// The walk each family promises, following Next from screen 1 to the save-data screen.
const std::map<std::string, std::vector<int>> kWalks = {
    {"standard", {1, 2, 3, 4, 5, 6}},
    {"compact", {1, 10, 11, 6}},
    {"comfort", {1, 2, 12, 4, 5, 6}},
};

// Packs every family folder into <root>/LoaderDaten/Config/<family>.kxbmc, the documents
// named after their source files, as the build does.
void PackFamilies(const std::string& root) {
  const std::string config = JoinPath(root, "LoaderDaten/Config");
  ASSERT_TRUE(CreateFolderTree(config));
  for (const std::string& family : kFamilies) {
    const std::filesystem::path folder = JoinPath(SourceDataFolder(), "catalogues/" + family);
    std::vector<std::filesystem::path> sources;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.path().extension() == ".xml") sources.push_back(entry.path());
    }
    std::sort(sources.begin(), sources.end());
    ASSERT_FALSE(sources.empty()) << family;
    std::vector<ArchiveEntryText> documents;
    for (const auto& source : sources) {
      std::string text;
      ASSERT_TRUE(ReadWholeFile(source.string(), &text)) << source;
      documents.push_back({source.filename().string(), text});
    }
    ASSERT_TRUE(WriteCatalogueArchive(JoinPath(config, family + ".kxbmc"), documents));
  }
}

class ShippedCatalogues : public ::testing::Test {
 protected:
  void SetUp() override {
    PackFamilies(m_root.Path());
    m_context.programFolder = m_root.Path();
    m_context.tempFolder = JoinPath(m_root.Path(), "temp");
    ASSERT_TRUE(CreateFolderTree(m_context.tempFolder));
    m_context.sink = &m_sink;
    EXPECT_EQ(LoadCatalogues(m_context, m_list), 1);
  }

  // The loaded catalogue of a family, found by its walk (load order follows the file system).
  const Catalogue* Family(const std::string& family) const {
    for (const auto& c : m_list) {
      const ScreenRecord* first = GetScreenRecord(c.get(), 1);
      if (first != nullptr && first->Next == kWalks.at(family)[1] &&
          GetScreenRecord(c.get(), kWalks.at(family)[2]) != nullptr) {
        return c.get();
      }
    }
    return nullptr;
  }

  TempFolder m_root;
  RecordingMessageSink m_sink;
  CatalogueLoadContext m_context;
  CatalogueList m_list;
};

TEST_F(ShippedCatalogues, LoadWithoutAnyMessageIntoNineMotorTypesWithDistinctIdentities) {
  for (const auto& box : m_sink.Boxes()) ADD_FAILURE() << box.caption << ": " << box.text;
  ASSERT_EQ(m_list.size(), 3u);
  std::set<std::string> guids;
  std::set<std::uint32_t> identities;
  int motors = 0;
  for (const auto& c : m_list) {
    EXPECT_EQ(c->strFrm, "Trevanic");
    EXPECT_FALSE(c->date.empty());
    EXPECT_FALSE(c->comment.empty());
    for (int k = 0; k < kMotorCount; ++k) {
      const MotorRecord& m = c->motors[static_cast<std::size_t>(k)];
      ASSERT_FALSE(m.strMoNa.empty()) << "motor " << k;
      ++motors;
      EXPECT_EQ(static_cast<int>(m.dhMoNa & 7u), k);
      for (const std::string& g : {m.strGuidNQB, m.strGuidUMode}) {
        EXPECT_EQ(g.size(), 38u) << g;
        EXPECT_EQ(g.front(), '{') << g;
        EXPECT_EQ(g.back(), '}') << g;
        EXPECT_TRUE(guids.insert(g).second) << "GUID used twice: " << g;
      }
      // The variant buttons of the load-data screen tell motors apart only by the variant.
      identities.insert(m.dhMoNa & 0xFFFFF8u);
    }
  }
  EXPECT_EQ(motors, 9);
  EXPECT_EQ(identities.size(), 3u) << "each family is one motor identity";
}

TEST_F(ShippedCatalogues, EachFamilyWalksItsScreensForwardAndBack) {
  for (const std::string& family : kFamilies) {
    const Catalogue* c = Family(family);
    ASSERT_NE(c, nullptr) << family;
    const std::vector<int>& walk = kWalks.at(family);
    for (std::size_t i = 0; i + 1 < walk.size(); ++i) {
      const ScreenRecord* here = GetScreenRecord(c, walk[i]);
      const ScreenRecord* next = GetScreenRecord(c, walk[i + 1]);
      ASSERT_NE(here, nullptr) << family << " screen " << walk[i];
      ASSERT_NE(next, nullptr) << family << " screen " << walk[i + 1];
      EXPECT_EQ(here->Next, walk[i + 1]) << family;
      EXPECT_EQ(next->Prev, walk[i]) << family;
    }
    // Save, test and operating data follow, and no record points to a screen without one.
    for (int id = 0; id < kCatalogueScreenCount; ++id) {
      const ScreenRecord* r = GetScreenRecord(c, id);
      if (r == nullptr) continue;
      EXPECT_NE(GetScreenRecord(c, r->Next), nullptr) << family << " screen " << id;
      EXPECT_NE(GetScreenRecord(c, r->Prev), nullptr) << family << " screen " << id;
    }
    EXPECT_EQ(GetScreenRecord(c, 6)->Next, 7);
    EXPECT_EQ(GetScreenRecord(c, 7)->Next, 8);
  }
}

// A parameter byte of block 0x2E that a screen bounds with a record object.
struct Bound {
  int screen;
  int branch;
  int object;
  int byte;
};
const std::vector<Bound> kBounds = {
    {2, 1, 0, 3}, {3, 1, 0, 2}, {12, 1, 0, 2}, {4, 1, 0, 4},  {4, 2, 0, 6},  {4, 2, 1, 5},
    {5, 1, 0, 7}, {5, 3, 0, 3}, {10, 4, 0, 4}, {11, 1, 0, 3}, {11, 2, 0, 3}, {11, 3, 0, 3},
};

// A step value of block 0x34 and the record object that offsets and bounds its number.
struct Step {
  int screen;
  int branch;
  int object;
  int byte;
};
const std::vector<Step> kSteps = {
    {3, 2, 0, 2},  {3, 2, 1, 4},  {3, 2, 2, 6},  {3, 2, 3, 8},   {3, 2, 4, 10}, {12, 2, 0, 2},
    {12, 2, 1, 4}, {12, 2, 2, 6}, {12, 2, 3, 8}, {12, 2, 4, 10}, {4, 1, 1, 0},  {5, 2, 0, 0},
};

TEST_F(ShippedCatalogues, FactoryValuesLieWithinTheLimitsTheScreensApply) {
  const int p2e = FindBlock(0x2E)->offset;
  const int p34 = FindBlock(0x34)->offset;
  int checked = 0;
  for (const auto& c : m_list) {
    for (const MotorRecord& m : c->motors) {
      auto at = [&](int offset) { return int{m.block[static_cast<std::size_t>(offset)]}; };
      for (const Bound& b : kBounds) {
        const ScreenRecord* r = GetScreenRecord(c.get(), b.screen);
        if (r == nullptr) continue;
        const CatalogueObject& o = r->branches[static_cast<std::size_t>(b.branch)]
                                       .objects[static_cast<std::size_t>(b.object)];
        EXPECT_LT(o.iMin, o.iMax) << "screen " << b.screen;
        EXPECT_LE(o.iMax, 255) << "screen " << b.screen;
        EXPECT_GE(at(p2e + b.byte), o.iMin) << m.strMoNa << " screen " << b.screen;
        EXPECT_LE(at(p2e + b.byte), o.iMax) << m.strMoNa << " screen " << b.screen;
        ++checked;
      }
      // Division table: six different pairs, so every step number maps back to one pair.
      std::set<int> pairs;
      for (int i = 0; i < kDivisionTableSize; ++i) {
        pairs.insert(m.ucHB[static_cast<std::size_t>(i)] << 8 |
                     m.ucLB[static_cast<std::size_t>(i)]);
      }
      EXPECT_EQ(pairs.size(), 6u);
      for (const Step& s : kSteps) {
        const ScreenRecord* r = GetScreenRecord(c.get(), s.screen);
        if (r == nullptr) continue;
        const CatalogueObject& o = r->branches[static_cast<std::size_t>(s.branch)]
                                       .objects[static_cast<std::size_t>(s.object)];
        int index = -1;
        for (int i = 0; i < kDivisionTableSize; ++i) {
          if (m.ucHB[static_cast<std::size_t>(i)] == at(p34 + s.byte) &&
              m.ucLB[static_cast<std::size_t>(i)] == at(p34 + s.byte + 1)) {
            index = i;
            break;
          }
        }
        ASSERT_GE(index, 0) << m.strMoNa << " step at block 0x34 byte " << s.byte;
        EXPECT_LE(index + o.iMin, o.iMax) << m.strMoNa << " screen " << s.screen;
        EXPECT_LT(o.iMax - o.iMin, kDivisionTableSize) << "screen " << s.screen;
        ++checked;
      }
      // What a record forces on, the factory lines already have on.
      const int byte8 = at(p2e + 8);
      const int byte9 = at(p2e + 9);
      if (const ScreenRecord* r = GetScreenRecord(c.get(), 4); r && r->branches[2].bUse == 0) {
        EXPECT_TRUE(byte9 & 0x01) << m.strMoNa;
      }
      if (const ScreenRecord* r = GetScreenRecord(c.get(), 5); r && r->branches[3].bUse == 0) {
        EXPECT_TRUE(byte8 & 0x40) << m.strMoNa;
      }
      if (const ScreenRecord* r = GetScreenRecord(c.get(), 11); r && r->branches[1].bUse == 0) {
        EXPECT_TRUE(byte8 & 0x40) << m.strMoNa;
      }
    }
  }
  EXPECT_GE(checked, 9 * 8);
}

TEST_F(ShippedCatalogues, FamiliesDifferInWhatTheyHideShowAndForce) {
  const Catalogue* standard = Family("standard");
  const Catalogue* compact = Family("compact");
  const Catalogue* comfort = Family("comfort");
  ASSERT_TRUE(standard && compact && comfort);
  // Standard offers everything.
  EXPECT_EQ(GetScreenRecord(standard, 2)->branches[1].objects[1].bShow, 1);
  EXPECT_EQ(GetScreenRecord(standard, 3)->branches[1].bUse, 1);
  EXPECT_EQ(GetScreenRecord(standard, 4)->branches[2].bUse, 1);
  EXPECT_EQ(GetScreenRecord(standard, 5)->branches[3].bUse, 1);
  // Comfort hides the sub-switch and forces the functions of screens 12, 4 and 5.
  EXPECT_EQ(GetScreenRecord(comfort, 3), nullptr);
  EXPECT_EQ(GetScreenRecord(comfort, 2)->branches[1].objects[1].bShow, 0);
  EXPECT_EQ(GetScreenRecord(comfort, 12)->branches[1].bUse, 0);
  EXPECT_EQ(GetScreenRecord(comfort, 4)->branches[2].bUse, 0);
  EXPECT_EQ(GetScreenRecord(comfort, 5)->branches[3].bUse, 0);
  // Compact hides on screen 10 and forces on screen 11.
  EXPECT_EQ(GetScreenRecord(compact, 10)->branches[1].objects[1].bShow, 0);
  EXPECT_EQ(GetScreenRecord(compact, 10)->branches[2].bHide, 1);
  EXPECT_EQ(GetScreenRecord(compact, 11)->branches[1].bUse, 0);
  EXPECT_EQ(GetScreenRecord(compact, 11)->branches[2].bUse, 0);
}

// The motor name as the load-data screen builds it from the language texts.
std::string MotorName(const MotorRecord& m, const ScreenDescription& frame) {
  const std::uint32_t code = m.dhMoNa;
  const int h = static_cast<int>((code >> 22) & 3u);
  const std::map<std::string, std::string> parts = {
      {"%a", frame.Text(5, h)},
      {"%b", frame.Text(h + 6, static_cast<int>((code >> 16) & 0x3Fu))},
      {"%c", frame.Text(10, static_cast<int>((code >> 12) & 0xFu))},
      {"%d", frame.Text(11, static_cast<int>((code >> 8) & 0xFu))},
      {"%e", frame.Text(h + 12, static_cast<int>((code >> 4) & 0xFu))},
  };
  std::string name = m.strMoNa;
  for (const auto& [key, value] : parts) {
    if (name.find(key) == std::string::npos) continue;
    EXPECT_FALSE(value.empty() || value == "Error") << m.strMoNa << " " << key;
    for (std::size_t at = name.find(key); at != std::string::npos; at = name.find(key, at)) {
      name.replace(at, key.size(), value);
      at += value.size();
    }
  }
  return name;
}

TEST_F(ShippedCatalogues, MotorNamesResolveInEveryLanguage) {
  std::map<std::string, std::set<std::string>> names;
  for (const std::string& language : Languages()) {
    ScreenDescription frame;
    ASSERT_EQ(frame.Load(JoinPath(ScreenFolder(), language), 0, 15), S_OK);
    for (const auto& c : m_list) {
      for (const MotorRecord& m : c->motors) {
        const std::string name = MotorName(m, frame);
        EXPECT_EQ(name.find('%'), std::string::npos) << name;
        names[language].insert(name);
      }
    }
  }
  ASSERT_EQ(names.size(), Languages().size());
  for (const auto& [language, motors] : names) EXPECT_EQ(motors.size(), 3u) << language;
  EXPECT_TRUE(names["Deutsch"].count("Rohrmotor R45, 20 Nm, 16 U/min, elektronische Endlagen"));
  EXPECT_TRUE(names["English"].count("Tubular motor R45, 20 Nm, 16 rpm, electronic end stops"));
  EXPECT_TRUE(names["Francais"].count("Moteur tubulaire R45, 20 Nm, 16 tr/min, \xE9lectronique"));
}

// The archives the build packed with roviro-cli, when it did.
TEST(BuiltCatalogues, PackedArchivesLoadWithoutAnyMessage) {
  const std::string config = JoinPath(BuildFolder(), "LoaderDaten/Config");
  if (!FolderExists(config)) GTEST_SKIP() << "no packed catalogues in " << config;
  TempFolder temp;
  RecordingMessageSink sink;
  CatalogueLoadContext context{BuildFolder(), temp.Path(), &sink};
  CatalogueList list;
  EXPECT_EQ(LoadCatalogues(context, list), 1);
  for (const auto& box : sink.Boxes()) ADD_FAILURE() << box.caption << ": " << box.text;
  EXPECT_EQ(list.size(), 3u);
}

}  // namespace
}  // namespace roviro::test
