// What every stored file shares: saves that survive a power cut, and readers that refuse deeply
// nested documents instead of recursing until the stack runs out.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "catalogue/Archive.h"
#include "catalogue/ContactProfile.h"
#include "catalogue/LudFile.h"
#include "catalogue/XmlSupport.h"
#include "platform/Paths.h"
#include "records/ParameterFile.h"
#include "support/TempFolder.h"

namespace roviro {
namespace {

TEST(DurableSaves, EverySaveSyncsTheNewFileBeforeTheRenameAndTheFolderAfter) {
  test::TempFolder tmp;
  std::vector<std::pair<std::string, std::string>> steps;
  SetCommitObserver([&steps](std::string_view step, const std::string& path) {
    steps.emplace_back(std::string(step), path);
  });
  const Catalogue c;
  ParameterImage image;
  EXPECT_EQ(WriteContactProfile(tmp.Path(), ContactRecord{}), S_OK);
  EXPECT_EQ(WriteLudFile(tmp.Path(), &c, 1, 2, {"RM", "", "", ""}), S_OK);
  EXPECT_EQ(SaveParameterFile(tmp.File("set.kxmc"), image, {}, nullptr, tmp.Path(), {}), S_OK);
  EXPECT_TRUE(WriteCatalogueArchive(tmp.File("k.kxbmc"), {{"k.xml", "<a/>"}}));
  SetCommitObserver({});

  const std::vector<std::string> targets = {ContactProfilePath(tmp.Path()),
                                            tmp.File(LudFileName(0, 1, 2)), tmp.File("set.kxmc"),
                                            tmp.File("k.kxbmc")};
  ASSERT_EQ(steps.size(), 3 * targets.size());
  for (std::size_t i = 0; i < targets.size(); ++i) {
    const std::string& target = targets[i];
    // The completed file beside the target reaches the disk before it replaces the target.
    EXPECT_EQ(steps[3 * i].first, "sync");
    EXPECT_EQ(FolderOf(steps[3 * i].second), FolderOf(target));
    EXPECT_NE(steps[3 * i].second, target);
    EXPECT_EQ(steps[3 * i + 1], std::make_pair(std::string("rename"), target));
    EXPECT_EQ(steps[3 * i + 2], std::make_pair(std::string("sync folder"), FolderOf(target)));
  }
}

TEST(StoredFileReaders, DeeplyNestedDocumentsAreRefusedNotRecursedInto) {
  const auto nested = [](const std::string& root, int depth) {
    std::string text = "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\n<" + root + ">";
    for (int i = 0; i < depth; ++i) text += "<d>";
    for (int i = 0; i < depth; ++i) text += "</d>";
    return text + "</" + root + ">";
  };
  // Far deeper than the stack survives when recursed into; real documents are 6 levels deep.
  constexpr int kHostile = 200000;
  tinyxml2::XMLDocument shallow;
  tinyxml2::XMLDocument deep;
  EXPECT_TRUE(ParseXml(shallow, nested("Katalog", 40)));
  EXPECT_FALSE(ParseXml(deep, nested("Katalog", kHostile)));

  CatalogueList list;
  EXPECT_EQ(ReadCatalogueDocument({}, "a.kxbmc", "a.xml", nested("Katalog", kHostile), list), 1);
  EXPECT_TRUE(list.empty());
  ParameterImage image;
  test::TempFolder tmp;
  const Catalogue c;
  ASSERT_TRUE(WriteTextFile(nested("LUD", kHostile), tmp.File(LudFileName(0, 0, 0))));
  EXPECT_EQ(ReadLudFile(&image, &c, 0, tmp.Path(), ContactRecord{}), E_FAIL);
}

}  // namespace
}  // namespace roviro
