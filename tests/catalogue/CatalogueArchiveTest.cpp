// Catalogue archives: manifest, digests, declaration and root checks, whole folders.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "catalogue/Archive.h"
#include "catalogue/Catalogue.h"
#include "platform/Paths.h"
#include "platform/RecordingMessageSink.h"
#include "support/TempFolder.h"
#include "tests/catalogue/CatalogueDocuments.h"

namespace roviro {
namespace {

using test::DocumentXml;
using test::RealisticCatalogue;

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

class CatalogueArchiveTest : public ::testing::Test {
 protected:
  CatalogueArchiveTest() {
    m_config = JoinPath(m_root.Path(), "LoaderDaten/Config");
    CreateFolderTree(m_config);
    m_context.programFolder = m_root.Path();
    m_context.tempFolder = JoinPath(m_root.Path(), "temp");
    CreateFolderTree(m_context.tempFolder);
    m_context.sink = &m_sink;
  }

  std::string ArchivePath(const std::string& title) const {
    return JoinPath(m_config, title + ".kxbmc");
  }

  // An archive written entry by entry, the manifest given as raw text.
  std::string WriteRaw(const std::string& title, const std::vector<ArchiveEntryText>& entries,
                       const std::string& manifest) const {
    const std::string path = ArchivePath(title);
    ArchiveWriter writer;
    EXPECT_TRUE(writer.Create(path));
    for (const auto& e : entries) EXPECT_TRUE(writer.AddBytes(e.name, e.text));
    EXPECT_TRUE(writer.AddBytes(title + ".md6", manifest));
    EXPECT_TRUE(writer.Close());
    return path;
  }

  std::string Write(const std::string& title, const std::vector<ArchiveEntryText>& docs) const {
    const std::string path = ArchivePath(title);
    EXPECT_TRUE(WriteCatalogueArchive(path, docs));
    return path;
  }

  test::TempFolder m_root;
  std::string m_config;
  RecordingMessageSink m_sink;
  CatalogueLoadContext m_context;
  CatalogueList m_list;
};

TEST(CatalogueManifest, SplitsDigestAndNameAndStopsWithoutSeparator) {
  const std::string d1(32, 'A');
  const std::string d2(32, 'B');
  auto lines = ParseCatalogueManifest(d1 + ";eins.xml;\n" + d2 + ";zwei.xml;\r\n" + d1 + ";x");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].digest, d1);
  EXPECT_EQ(lines[0].name, "eins.xml");
  EXPECT_EQ(lines[1].digest, d2);  // the CR of the line end does not stick to the digest
  EXPECT_EQ(lines[1].name, "zwei.xml");

  // 30 characters or fewer left: nothing more is read, even a complete short line.
  EXPECT_TRUE(ParseCatalogueManifest("ABCDEF;a.xml;\n").empty());
  EXPECT_TRUE(ParseCatalogueManifest(d1 + d1).empty());
}

TEST_F(CatalogueArchiveTest, WrittenArchiveListsEveryDocumentWithUpperCaseDigest) {
  const std::string doc = RealisticCatalogue(1);
  const std::string path = Write("Serie", {{"a.xml", doc}});
  std::string manifest;
  ASSERT_EQ(ReadArchiveEntry(path, "Serie.md6", &manifest), 1);
  EXPECT_EQ(manifest, Md5OfBytes(doc) + ";a.xml;\n");
  EXPECT_EQ(Md5OfBytes(doc).find_first_of("abcdef"), std::string::npos);
}

TEST_F(CatalogueArchiveTest, EveryVerifiedDocumentBecomesItsOwnCatalogue) {
  const std::string path = Write("Serie", {{"a.xml", RealisticCatalogue(1)},
                                           {"b.xml", RealisticCatalogue(2)},
                                           {"c.xml", RealisticCatalogue(3)}});
  EXPECT_EQ(LoadCatalogueArchive(m_context, path, m_list), 1);
  ASSERT_EQ(m_list.size(), 3u);
  EXPECT_EQ(m_list[0]->motors[0].strGuidNQB, test::GuidText(1, 0x100));
  EXPECT_EQ(m_list[2]->motors[2].strGuidUMode, test::GuidText(3, 0x202));
  EXPECT_TRUE(m_sink.Boxes().empty());
  EXPECT_FALSE(FileExists(JoinPath(m_context.tempFolder, "0001.tmp")));
}

TEST_F(CatalogueArchiveTest, DigestMismatchesSkipTheEntrySilently) {
  const std::string a = RealisticCatalogue(1);
  const std::string b = RealisticCatalogue(2);
  const std::string c = RealisticCatalogue(3);
  std::string wrong = Md5OfBytes(b);
  wrong[0] = wrong[0] == '0' ? '1' : '0';
  const std::string path = WriteRaw(
      "Serie", {{"a.xml", a}, {"b.xml", b}, {"c.xml", c}},
      Lower(Md5OfBytes(a)) + ";a.xml;\n" + wrong + ";b.xml;\n" + Md5OfBytes(c) + ";c.xml;\n");
  EXPECT_EQ(LoadCatalogueArchive(m_context, path, m_list), 1);
  ASSERT_EQ(m_list.size(), 1u);  // lower case never matches, a wrong digest neither
  EXPECT_EQ(m_list[0]->motors[0].strGuidNQB, test::GuidText(3, 0x100));
  EXPECT_TRUE(m_sink.Boxes().empty());
}

TEST_F(CatalogueArchiveTest, EntryNameInOtherCaseIsStillFound) {
  const std::string doc = RealisticCatalogue(4);
  const std::string path =
      WriteRaw("Serie", {{"Katalog.xml", doc}}, Md5OfBytes(doc) + ";KATALOG.XML;\n");
  EXPECT_EQ(LoadCatalogueArchive(m_context, path, m_list), 1);
  EXPECT_EQ(m_list.size(), 1u);
}

TEST_F(CatalogueArchiveTest, StaleScratchFileNeverPassesForAMissingEntry) {
  const std::string doc = RealisticCatalogue(5);
  // A scratch file left over from an earlier run whose digest matches the manifest line of
  // an entry the archive does not have.
  const std::string scratch = JoinPath(m_context.tempFolder, "0001.tmp");
  ASSERT_TRUE(WriteTextFile(doc, scratch));
  const std::string path = WriteRaw("Serie", {}, Md5OfBytes(doc) + ";fehlt.xml;\n");
  EXPECT_EQ(LoadCatalogueArchive(m_context, path, m_list), 1);
  EXPECT_TRUE(m_list.empty());
  // The digests are taken in memory: the loader neither reads nor writes scratch files.
  std::string left;
  ASSERT_TRUE(ReadWholeFile(scratch, &left));
  EXPECT_EQ(left, doc);
}

TEST_F(CatalogueArchiveTest, ArchiveWithoutManifestOrNotAnArchiveIsPassedOver) {
  const std::string path = ArchivePath("Kaputt");
  ASSERT_TRUE(WriteTextFile("kein Archiv", path));
  EXPECT_EQ(LoadCatalogueArchive(m_context, path, m_list), 1);
  EXPECT_TRUE(m_list.empty());
}

TEST_F(CatalogueArchiveTest, UnparsableOrElementlessDocumentsAreSkipped) {
  const std::string path =
      Write("Serie", {{"a.xml", "<Katalog><offen>"},
                      {"b.xml", std::string(test::kCatalogueDeclaration) + "<!-- leer -->"},
                      {"c.xml", RealisticCatalogue(6)}});
  EXPECT_EQ(LoadCatalogueArchive(m_context, path, m_list), 1);
  EXPECT_EQ(m_list.size(), 1u);
}

TEST_F(CatalogueArchiveTest, WrongDeclarationStopsAllLoadingAndKeepsEarlierCatalogues) {
  const std::string badDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n";
  const std::string path = Write("Serie", {{"a.xml", RealisticCatalogue(1)},
                                           {"b.xml", DocumentXml("<KXBM/>", badDecl)},
                                           {"c.xml", RealisticCatalogue(3)}});
  EXPECT_EQ(LoadCatalogueArchive(m_context, path, m_list), 0);
  ASSERT_EQ(m_list.size(), 1u);
  EXPECT_EQ(m_list[0]->motors[0].strGuidNQB, test::GuidText(1, 0x100));

  // No declaration at all stops as well.
  CatalogueList list;
  EXPECT_EQ(ReadCatalogueDocument(m_context, path, "x", "<Katalog><KXBM/></Katalog>", list), 0);
  EXPECT_EQ(ReadCatalogueDocument(
                m_context, path, "x",
                DocumentXml("<KXBM/>", "<?xml version=\"1.1\" encoding=\"iso-8859-1\"?>"), list),
            0);
  EXPECT_TRUE(list.empty());
  EXPECT_TRUE(m_sink.Boxes().empty());
}

TEST_F(CatalogueArchiveTest, EmptyRootElementStopsAllLoading) {
  const std::string empty = std::string(test::kCatalogueDeclaration) + "<Katalog/>";
  EXPECT_EQ(ReadCatalogueDocument(m_context, "p", "e", empty, m_list), 0);
  // Any child node fills the root, even one that is not an element.
  EXPECT_EQ(ReadCatalogueDocument(
                m_context, "p", "e",
                std::string(test::kCatalogueDeclaration) + "<Katalog>Text</Katalog>", m_list),
            1);
  EXPECT_TRUE(m_list.empty());
}

TEST_F(CatalogueArchiveTest, LoadCataloguesTakesEveryArchiveOfTheConfigFolder) {
  Write("Serie1", {{"a.xml", RealisticCatalogue(1)}});
  Write("Serie2", {{"a.xml", RealisticCatalogue(2)}, {"b.xml", RealisticCatalogue(3)}});
  Write("Serie3", {{"a.xml", RealisticCatalogue(4)}});
  // Names ending in ".kxbmc" count, in any case, as on the systems the catalogues come from.
  ASSERT_TRUE(WriteCatalogueArchive(JoinPath(m_config, "Alt.kxbmc.bak"),
                                    {{"a.xml", RealisticCatalogue(8)}}));
  ASSERT_TRUE(
      WriteCatalogueArchive(JoinPath(m_config, "Gross.KXBMC"), {{"a.xml", RealisticCatalogue(9)}}));

  EXPECT_EQ(LoadCatalogues(m_context, m_list), 1);
  ASSERT_EQ(m_list.size(), 5u);
  std::vector<std::string> guids;
  for (const auto& c : m_list) guids.push_back(c->motors[1].strGuidNQB);
  std::sort(guids.begin(), guids.end());
  std::vector<std::string> expected;
  for (unsigned id : {1u, 2u, 3u, 4u, 9u}) expected.push_back(test::GuidText(id, 0x101));
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(guids, expected);
}

// With no data folder the temporary folder is empty, or it cannot be written: the digests
// are checked all the same, and nothing lands in the file-system root or the working folder.
TEST_F(CatalogueArchiveTest, DigestsNeedNoWritableTemporaryFolder) {
  Write("Serie1", {{"a.xml", RealisticCatalogue(1)}});
  const std::string blocker = JoinPath(m_root.Path(), "file-not-folder");
  ASSERT_TRUE(WriteTextFile("x", blocker));
  for (const std::string& temp : {std::string(), JoinPath(blocker, "temp")}) {
    m_context.tempFolder = temp;
    CatalogueList list;
    EXPECT_EQ(LoadCatalogues(m_context, list), 1);
    EXPECT_EQ(list.size(), 1u) << "temp folder '" << temp << "'";
  }
  EXPECT_FALSE(FileExists("0001.tmp"));
}

TEST_F(CatalogueArchiveTest, LoadCataloguesStopsAtAWrongDeclaration) {
  Write("Serie1", {{"a.xml", DocumentXml("<KXBM/>", "<?xml version=\"1.0\"?>")}});
  EXPECT_EQ(LoadCatalogues(m_context, m_list), 0);
  EXPECT_TRUE(m_list.empty());
}

TEST_F(CatalogueArchiveTest, LoadCataloguesWithoutConfigFolderLoadsNothing) {
  m_context.programFolder = JoinPath(m_root.Path(), "nirgends");
  EXPECT_EQ(LoadCatalogues(m_context, m_list), 1);
  EXPECT_TRUE(m_list.empty());
}

TEST_F(CatalogueArchiveTest, DuplicateCatalogueInAnotherArchiveIsRefused) {
  Write("Serie1", {{"a.xml", RealisticCatalogue(1)}});
  Write("Serie2", {{"a.xml", RealisticCatalogue(1)}});
  EXPECT_EQ(LoadCatalogues(m_context, m_list), 1);
  EXPECT_EQ(m_list.size(), 1u);
}

}  // namespace
}  // namespace roviro
