// Every settings screen of each shipped catalogue family, in all five languages, reached as the
// fitter reaches it (next from the first settings screen); each is saved as
// build/screenshots/settings-<family>-<lang>-screen<N>.png. The family is named by its walk
// from screen 1 to screen 6 (for example 1-10-11-6).

#include <set>

#include "SettingsFixture.h"

namespace roviro::test {
namespace {

class ScreenshotWalk : public SettingsTest, public ::testing::WithParamInterface<int> {
 protected:
  ScreenshotWalk() : SettingsTest(GetParam()) {}
};

// The screens from 1 along Next up to 6.
std::vector<int> Walk(const Catalogue* catalogue) {
  std::vector<int> walk{1};
  while (walk.back() != 6 && walk.size() < 12) {
    const ScreenRecord* record = GetScreenRecord(catalogue, walk.back());
    if (record == nullptr) break;
    walk.push_back(record->Next);
  }
  return walk;
}

TEST_P(ScreenshotWalk, EverySettingsScreenOfEveryShippedFamily) {
  OpenWithoutBox();
  ASSERT_GE(dlg->CatalogueCount(), 3);
  const std::string lang = kLanguageCodes[language];
  std::set<std::string> families;
  for (const auto& catalogue : dlg->Catalogues()) {
    const std::vector<int> walk = Walk(catalogue.get());
    ASSERT_EQ(walk.back(), 6);
    std::string family;
    for (int id : walk) family += (family.empty() ? "" : "-") + std::to_string(id);
    families.insert(family);
    Go(1);
    dlg->SetCurrentCatalogue(catalogue.get());
    ASSERT_TRUE(Succeeded(CopyMotorToParameterImage(catalogue.get(), &image, 0)));
    Go(walk[1]);
    for (std::size_t i = 1; i + 1 < walk.size(); ++i) {
      const int id = walk[i];
      ASSERT_EQ(Current(), id) << family;
      for (const std::string& fault : LayoutFaults(*dlg)) {
        ADD_FAILURE() << family << " screen " << id << ": " << fault;
      }
      EXPECT_TRUE(
          SaveScreenshot("settings-" + family + "-" + lang + "-screen" + std::to_string(id)));
      Next();
    }
    EXPECT_EQ(Current(), 6) << family;
  }
  for (const char* shipped : {"1-2-3-4-5-6", "1-10-11-6", "1-2-12-4-5-6"}) {
    EXPECT_TRUE(families.count(shipped)) << shipped;
  }
}

INSTANTIATE_TEST_SUITE_P(Settings, ScreenshotWalk, ::testing::Range(0, kLanguageCount),
                         [](const auto& p) { return kLanguageNames[p.param]; });

}  // namespace
}  // namespace roviro::test
