// What every stored file shares: saves that survive a power cut, and readers that refuse
// oversized or deeply nested input instead of exhausting memory or the stack.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/Archive.h"
#include "catalogue/ContactProfile.h"
#include "catalogue/LudFile.h"
#include "catalogue/XmlSupport.h"
#include "platform/Paths.h"
#include "platform/RecordingMessageSink.h"
#include "screens/ParameterFile.h"
#include "support/TempFolder.h"

namespace roviro {
namespace {

// Records the steps of every replacement while it lives.
struct CommitLog {
  std::vector<std::pair<std::string, std::string>> steps;
  CommitLog() {
    SetCommitObserver([this](std::string_view step, const std::string& path) {
      steps.emplace_back(std::string(step), path);
    });
  }
  ~CommitLog() { SetCommitObserver({}); }
};

// The new file is synced beside the target, renamed over it, then the folder is synced.
void ExpectDurableReplacement(const CommitLog& log, const std::string& target) {
  ASSERT_EQ(log.steps.size(), 3u) << target;
  EXPECT_EQ(log.steps[0].first, "sync");
  EXPECT_NE(log.steps[0].second, target);
  EXPECT_EQ(FolderOf(log.steps[0].second), FolderOf(target));
  EXPECT_EQ(log.steps[1], std::make_pair(std::string("rename"), target));
  EXPECT_EQ(log.steps[2], std::make_pair(std::string("sync folder"), FolderOf(target)));
}

Catalogue MotorCatalogue() {
  Catalogue c;
  c.motors[0].dhMoNa = 0x00012340;
  return c;
}

TEST(DurableSaves, EverySaveSyncsTheNewFileBeforeTheRenameAndTheFolderAfter) {
  test::TempFolder tmp;
  ContactRecord contact;
  contact.company = "Rollo GmbH";
  {
    CommitLog log;
    ASSERT_EQ(WriteContactProfile(tmp.Path(), contact), S_OK);
    ExpectDurableReplacement(log, ContactProfilePath(tmp.Path()));
  }
  const Catalogue c = MotorCatalogue();
  {
    CommitLog log;
    LudTexts texts;
    texts.name = "Halle";
    ASSERT_EQ(WriteLudFile(tmp.Path(), &c, 1, 2, texts), S_OK);
    ExpectDurableReplacement(log, tmp.File(LudFileName(c.motors[0].dhMoNa, 1, 2)));
  }
  {
    CommitLog log;
    ParameterImage image;
    ASSERT_EQ(SaveParameterFile(tmp.File("set.kxmc"), image, contact, nullptr, tmp.File("scratch"),
                                SystemTime{}),
              S_OK);
    ExpectDurableReplacement(log, tmp.File("set.kxmc"));
  }
  {
    CommitLog log;
    ASSERT_TRUE(WriteCatalogueArchive(tmp.File("k.kxbmc"), {{"k.xml", "<a/>"}}));
    ExpectDurableReplacement(log, tmp.File("k.kxbmc"));
  }
}

TEST(StoredFileReaders, AFileLargerThanTheCapIsNotRead) {
  test::TempFolder tmp;
  const Catalogue c = MotorCatalogue();
  const std::string lud = tmp.File(LudFileName(c.motors[0].dhMoNa, 0, 0));
  const std::string profile = ContactProfilePath(tmp.Path());
  ASSERT_TRUE(CreateFolderTree(FolderOf(profile)));
  const std::string head = "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\n<LUD><MN>x</MN>";
  for (const std::string& path : {lud, profile}) {
    ASSERT_TRUE(WriteTextFile(head, path));
    // Sparse: the cap is tested without writing its bytes.
    std::filesystem::resize_file(path, kMaxReadFileSize + 1);
  }
  ParameterImage image;
  image.m_moName = "unchanged";
  EXPECT_EQ(ReadLudFile(&image, &c, 0, tmp.Path(), ContactRecord{}), E_FAIL);
  EXPECT_EQ(image.m_moName, "unchanged");
  ContactRecord record;
  EXPECT_EQ(ReadContactProfile(tmp.Path(), &record), E_FAIL);
}

TEST(StoredFileReaders, DeeplyNestedDocumentsAreRefusedNotRecursedInto) {
  const std::string decl = "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\n";
  const auto nested = [](const std::string& outer, int depth) {
    std::string open;
    std::string close;
    for (int i = 0; i < depth; ++i) {
      open += "<d>";
      close += "</d>";
    }
    return "<" + outer + ">" + open + close + "</" + outer + ">";
  };
  // Far deeper than any stack would survive recursively; real documents are 6 levels deep.
  constexpr int kHostile = 200000;
  tinyxml2::XMLDocument doc;
  EXPECT_TRUE(ParseXml(doc, decl + nested("Katalog", 40)));
  tinyxml2::XMLDocument deep;
  EXPECT_FALSE(ParseXml(deep, decl + nested("Katalog", kHostile)));

  CatalogueList list;
  EXPECT_EQ(ReadCatalogueDocument({}, "a.kxbmc", "a.xml", decl + nested("Katalog", kHostile), list),
            1);
  EXPECT_TRUE(list.empty());

  ParameterImage image;
  RecordingMessageSink sink;
  int selection = 0;
  EXPECT_EQ(ReadParameterDocument(decl + nested("Inhalt", kHostile), image, list, &selection, &sink)
                .status,
            ParameterFileStatus::kUnparsable);

  test::TempFolder tmp;
  const Catalogue c = MotorCatalogue();
  ASSERT_TRUE(WriteTextFile(decl + nested("LUD", kHostile),
                            tmp.File(LudFileName(c.motors[0].dhMoNa, 0, 0))));
  EXPECT_EQ(ReadLudFile(&image, &c, 0, tmp.Path(), ContactRecord{}), E_FAIL);
  ASSERT_TRUE(CreateFolderTree(FolderOf(ContactProfilePath(tmp.Path()))));
  ASSERT_TRUE(WriteTextFile(decl + nested("Kontakt", kHostile), ContactProfilePath(tmp.Path())));
  ContactRecord record;
  EXPECT_EQ(ReadContactProfile(tmp.Path(), &record), E_FAIL);
}

}  // namespace
}  // namespace roviro
