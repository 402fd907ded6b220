#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/Archive.h"
#include "platform/Paths.h"
#include "platform/RecordingMessageSink.h"
#include "records/ParameterFile.h"
#include "support/TempFolder.h"

namespace roviro {
namespace {

constexpr const char* kGuidA0 = "{AAAAAAAA-0000-0000-0000-000000000000}";
constexpr const char* kGuidA1 = "{AAAAAAAA-1111-0000-0000-000000000000}";
constexpr const char* kGuidAU = "{AAAAAAAA-0000-0000-0000-0000000000FF}";
constexpr const char* kGuidB0 = "{bbbbbbbb-0000-0000-0000-000000000000}";
constexpr const char* kGuidB2 = "{BBBBBBBB-2222-0000-0000-000000000000}";

SystemTime SavingTime() {
  SystemTime t;
  t.year = 2011;
  t.month = 3;
  t.day = 14;
  t.hour = 9;
  t.minute = 5;
  t.second = 7;
  t.milliseconds = 123;
  return t;
}

// Catalogue A: variants 0 and 1; catalogue B: variants 0 and 2.
CatalogueList MakeCatalogues() {
  CatalogueList list;
  auto a = std::make_unique<Catalogue>();
  a->motors[0].strGuidNQB = kGuidA0;
  a->motors[0].strGuidUMode = kGuidAU;
  a->motors[1].strGuidNQB = kGuidA1;
  list.push_back(std::move(a));
  auto b = std::make_unique<Catalogue>();
  b->motors[0].strGuidNQB = kGuidB0;
  b->motors[2].strGuidNQB = kGuidB2;
  list.push_back(std::move(b));
  return list;
}

ContactRecord Contact() {
  ContactRecord r;
  r.company = "Fitter GmbH";
  r.town = "Musterstadt";
  r.telephone = "0123";
  return r;
}

// An image with every byte set and all four texts filled.
ParameterImage FilledImage() {
  ParameterImage image;
  for (int i = 0; i < kParameterBlockSize; ++i) {
    image.m_block[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7 + 3);
  }
  image.Block(0x39)[2] = 0x41;  // variant 1
  image.m_moName = "RM 10 \xC4";
  image.m_name = "Wohnzimmer";
  image.m_firma = "Rolladen Bau";
  image.m_kommentar = "erste Zeile\nzweite Zeile\r\ndritte";
  return image;
}

std::string ChildText(const std::string& xml, const char* parent, const char* name) {
  tinyxml2::XMLDocument doc;
  if (doc.Parse(xml.data(), xml.size()) != tinyxml2::XML_SUCCESS) return "<unparsable>";
  const tinyxml2::XMLElement* p = doc.FirstChildElement("Inhalt");
  if (p != nullptr && std::string(parent) != "Inhalt") p = p->FirstChildElement(parent);
  const tinyxml2::XMLElement* e = p != nullptr ? p->FirstChildElement(name) : nullptr;
  if (e == nullptr) return "<absent>";
  return e->GetText() != nullptr ? e->GetText() : "";
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

// A hand-written document, independent of the writer; tests change single parts.
struct DocumentParts {
  std::string declaration = "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>";
  std::string root = "Inhalt";
  std::string texts =
      "<MoName>RM</MoName><Name>N</Name><Firma>F</Firma><Kommentar>a\\nb\\rc</Kommentar>";
  std::string guid = std::string("<GUID>") + kGuidA0 + "</GUID>";
  bool withLines = true;
  std::array<std::string, 7> lines = {"02 02 3A 11 4B 03", "02 02 31 22 53 03", "02 02 3C 33 6F 03",
                                      "02 02 35 44 79 03", "02 02 2F 55 84 03", "02 02 33 66 99 03",
                                      "02 02 23 77 9A 03"};

  std::string Render() const {
    std::string xml = declaration + "\n<" + root + ">\n" + texts + guid;
    if (withLines) {
      xml += "<Parametrierdaten>";
      for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string name = "Zeile_" + std::to_string(i + 1);
        if (lines[i] == "<absent>") continue;
        xml += "<" + name + ">" + lines[i] + "</" + name + ">";
      }
      xml += "</Parametrierdaten>";
    }
    return xml + "</" + root + ">\n";
  }
};

// ---------------------------------------------------------------- path rule

TEST(ParameterFilePath, KeepsKxmcInAnyCaseAppendsOtherwiseRefusesHiddenExtension) {
  std::string path;
  std::string title;
  ASSERT_TRUE(ResolveParameterFilePath("dir/x.KXMC", &path, &title));
  EXPECT_EQ(path, "dir/x.KXMC");
  EXPECT_EQ(title, "x");
  ASSERT_TRUE(ResolveParameterFilePath("x", &path, &title));
  EXPECT_EQ(path, "x.kxmc");
  EXPECT_EQ(title, "x");
  ASSERT_TRUE(ResolveParameterFilePath("C:\\Daten\\Satz 1.txt", &path, &title));
  EXPECT_EQ(path, "C:\\Daten\\Satz 1.txt.kxmc");
  EXPECT_EQ(title, "Satz 1.txt");

  path = "unchanged";
  EXPECT_FALSE(ResolveParameterFilePath("dir/name.kxmc.bak", &path, &title));
  EXPECT_FALSE(ResolveParameterFilePath("name.KxMc.old", &path, &title));
  EXPECT_FALSE(ResolveParameterFilePath("", &path, &title));
  EXPECT_FALSE(ResolveParameterFilePath("dir/", &path, &title));
  EXPECT_FALSE(ResolveParameterFilePath("dir/.kxmc", &path, &title));
  EXPECT_EQ(path, "unchanged");
}

// ---------------------------------------------------------------- document text

TEST(ParameterFileLine, GoldenLineOfBlock2E) {
  // 01..0A sealed: 1 + 2 + ... + 10 = 55 = 0x37; LEN = 1 + 11 = 0x0C;
  // frame checksum = 0x2F + 55 + 55 = 157 = 0x9D.
  const std::array<std::uint8_t, 11> block = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0xEE};
  EXPECT_EQ(ParameterLineText(0x2F, block), "02 0C 2F 01 02 03 04 05 06 07 08 09 0A 37 9D 03");
}

TEST(ParameterFileLine, SumsWrapModulo256) {
  // 24 x 0xFF = 6120, sealed as 6120 mod 256 = 0xE8; 0x3A + 6120 + 0xE8 = 6410 -> 0x0A.
  std::array<std::uint8_t, 25> block{};
  block.fill(0xFF);
  std::string expected = "02 1A 3A";
  for (int i = 0; i < 24; ++i) expected += " FF";
  expected += " E8 0A 03";
  EXPECT_EQ(ParameterLineText(0x3A, block), expected);
}

TEST(ParameterFileDocument, DateVersionAndSerialFormats) {
  EXPECT_EQ(FormatParameterFileDate(SavingTime()), "14.03.2011 - 9:05.0123");
  SystemTime t{2020, 1, 3, 1, 0, 0, 0, 0};
  EXPECT_EQ(FormatParameterFileDate(t), "1.01.2020 - 0:00.0000");
  t = SystemTime{1999, 12, 5, 31, 23, 59, 59, 999};
  EXPECT_EQ(FormatParameterFileDate(t), "31.12.1999 - 23:59.0999");

  // "%1.X" has precision 0, so a version byte of 0 prints no digit, only the width's blank.
  struct Case {
    std::uint8_t version, serial0, serial1;
    const char* versionElement;
    const char* serialElement;
  };
  for (const Case& c : {Case{0x00, 0x00, 0x00, "<Version_VQ-ZodavaRoze> </Version_VQ-ZodavaRoze>",
                             "<Seriennummer_VQ-ZodavaRoze>00</Seriennummer_VQ-ZodavaRoze>"},
                        Case{0x0F, 0xAB, 0x05, "<Version_VQ-ZodavaRoze>F</Version_VQ-ZodavaRoze>",
                             "<Seriennummer_VQ-ZodavaRoze>AB5</Seriennummer_VQ-ZodavaRoze>"},
                        Case{0xFF, 0x01, 0x2A, "<Version_VQ-ZodavaRoze>FF</Version_VQ-ZodavaRoze>",
                             "<Seriennummer_VQ-ZodavaRoze>12A</Seriennummer_VQ-ZodavaRoze>"}}) {
    ParameterImage image;
    image.Block(0x39)[15] = c.version;
    image.Block(0x2E)[0] = c.serial0;
    image.Block(0x2E)[1] = c.serial1;
    const std::string xml = BuildParameterDocument(image, {}, nullptr, SavingTime());
    EXPECT_NE(xml.find(c.versionElement), std::string::npos) << xml;
    EXPECT_NE(xml.find(c.serialElement), std::string::npos) << xml;
  }
}

TEST(ParameterFileDocument, WholeDocumentInWriterOrder) {
  ParameterImage image;
  image.m_moName = "RM";
  image.m_kommentar = "a\nb";
  image.Block(0x39)[15] = 0x12;
  image.Block(0x2E)[0] = 0x03;
  image.Block(0x2E)[1] = 0x04;
  const CatalogueList catalogues = MakeCatalogues();
  const std::string xml =
      BuildParameterDocument(image, Contact(), catalogues[0].get(), SavingTime());

  std::string expected =
      "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\n"
      "<Inhalt>\n"
      "    <Kontakt>\n"
      "        <Firmenname>Fitter GmbH</Firmenname>\n"
      "        <Ort>Musterstadt</Ort>\n"
      "        <Telefon>0123</Telefon>\n"
      "    </Kontakt>\n"
      "    <MoName>RM</MoName>\n"
      "    <Name/>\n"
      "    <Firma/>\n"
      "    <Kommentar>a\\nb</Kommentar>\n"
      "    <Datum>14.03.2011 - 9:05.0123</Datum>\n"
      "    <Version_VQ-ZodavaRoze>12</Version_VQ-ZodavaRoze>\n"
      "    <Seriennummer_VQ-ZodavaRoze>34</Seriennummer_VQ-ZodavaRoze>\n"
      "    <Version_PC-Software>V1.5 (Build 001)</Version_PC-Software>\n"
      "    <GUID>{AAAAAAAA-0000-0000-0000-000000000000}</GUID>\n"
      "    <Parametrierdaten>\n";
  for (int k = 1; k <= 7; ++k) {
    const BlockInfo* info = FindBlockByLine(k);
    const std::string name = "Zeile_" + std::to_string(k);
    expected += "        <" + name + ">" +
                ParameterLineText(info->fileHeader, image.Block(info->command)) + "</" + name +
                ">\n";
  }
  expected += "    </Parametrierdaten>\n</Inhalt>\n";
  EXPECT_EQ(xml, expected);
  // The lines follow the header table: line 1 carries block 0x39 under 0x3A, 25 data bytes.
  EXPECT_EQ(ChildText(xml, "Parametrierdaten", "Zeile_1").substr(0, 9), "02 1A 3A ");
  EXPECT_EQ(ChildText(xml, "Parametrierdaten", "Zeile_7").substr(0, 9), "02 0E 23 ");
}

TEST(ParameterFileDocument, CommentLineBreaksAreEscapedAndRestored) {
  EXPECT_EQ(EscapeCommentText("a\nb\r\nc"), "a\\nb\\r\\nc");
  EXPECT_EQ(UnescapeCommentText("a\\nb\\r\\nc"), "a\nb\r\nc");
  EXPECT_EQ(UnescapeCommentText("C:\\temp\\x\\"), "C:\\temp\\x\\");
}

TEST(ParameterFileDocument, EmptyContactValuesAreOmitted) {
  ContactRecord contact = Contact();
  contact.street.clear();
  const std::string xml = BuildParameterDocument({}, contact, nullptr, SavingTime());
  EXPECT_EQ(ChildText(xml, "Kontakt", "Strasse"), "<absent>");
  EXPECT_EQ(ChildText(xml, "Kontakt", "Firmenname"), "Fitter GmbH");
  // Without any contact data the container is still written.
  const std::string bare = BuildParameterDocument({}, {}, nullptr, SavingTime());
  EXPECT_NE(bare.find("<Kontakt/>"), std::string::npos);
}

TEST(ParameterFileDocument, GuidOfTheImagesVariant) {
  const CatalogueList catalogues = MakeCatalogues();
  ParameterImage image;
  EXPECT_EQ(ParameterFileGuid(image, nullptr), "NOGUID");
  EXPECT_EQ(ChildText(BuildParameterDocument(image, {}, nullptr, SavingTime()), "Inhalt", "GUID"),
            "NOGUID");

  image.Block(0x39)[2] = 0xF9;  // variant 1
  EXPECT_EQ(ParameterFileGuid(image, catalogues[0].get()), kGuidA1);
  image.Block(0x39)[2] = 0x02;
  EXPECT_EQ(ParameterFileGuid(image, catalogues[1].get()), kGuidB2);
  image.Block(0x39)[2] = 0x05;  // above 2: variant 0
  EXPECT_EQ(ParameterFileGuid(image, catalogues[1].get()), kGuidB0);
  // One GUID, not the joined pair; without an NQB GUID the uMode GUID identifies the motor.
  image.Block(0x39)[2] = 0x00;
  EXPECT_EQ(ParameterFileGuid(image, catalogues[0].get()), kGuidA0);
  catalogues[0]->motors[0].strGuidNQB.clear();
  EXPECT_EQ(ParameterFileGuid(image, catalogues[0].get()), kGuidAU);
}

// ---------------------------------------------------------------- save and load

TEST(ParameterFileSave, RoundTripOfAllBlocksAndTexts) {
  test::TempFolder folder;
  const CatalogueList catalogues = MakeCatalogues();
  ParameterImage saved = FilledImage();
  const std::string path = folder.File("Satz.kxmc");
  ASSERT_EQ(SaveParameterFile(path, saved, Contact(), catalogues[0].get(), folder.File("temp"),
                              SavingTime()),
            S_OK);
  // The image carries the stamp the file carries.
  EXPECT_EQ(saved.Block(0x39)[11], 0xFF);
  EXPECT_EQ(saved.Block(0x39)[12], 0xFF);
  EXPECT_EQ(saved.Block(0x39)[13], 0xFF);
  EXPECT_EQ(saved.Block(0x39)[14], 1);

  ParameterImage loaded = FilledImage();
  loaded.m_valid = 0;
  int selection = -1;
  RecordingMessageSink sink;
  const ParameterFileLoadResult result =
      LoadParameterFile(path, loaded, catalogues, &selection, &sink);
  ASSERT_TRUE(result.Ok());
  EXPECT_EQ(result.Result(), S_OK);
  EXPECT_FALSE(result.guidWasSplit);
  EXPECT_EQ(selection, 0);  // the file's GUID is catalogue A's variant 1
  EXPECT_EQ(loaded.m_valid, 1);
  for (const BlockInfo& info : kBlocks) {
    std::vector<std::uint8_t> expected(saved.Block(info.command).begin(),
                                       saved.Block(info.command).end());
    SealBlock(expected);
    const auto got = loaded.Block(info.command);
    EXPECT_EQ(std::vector<std::uint8_t>(got.begin(), got.end()), expected)
        << "block " << std::hex << int{info.command};
  }
  EXPECT_EQ(loaded.m_moName, saved.m_moName);
  EXPECT_EQ(loaded.m_name, saved.m_name);
  EXPECT_EQ(loaded.m_firma, saved.m_firma);
  EXPECT_EQ(loaded.m_kommentar, saved.m_kommentar);
  EXPECT_TRUE(sink.Boxes().empty());
}

TEST(ParameterFileSave, ArchiveHoldsDocumentAndManifestAndNoScratchFilesRemain) {
  test::TempFolder folder;
  const std::string temp = folder.File("temp");
  ParameterImage image = FilledImage();
  ASSERT_EQ(SaveParameterFile(folder.File("Satz"), image, Contact(), nullptr, temp, SavingTime()),
            S_OK);
  const std::string archive = folder.File("Satz.kxmc");
  std::string document;
  ASSERT_EQ(ReadArchiveEntry(archive, "Satz.kxm", &document), 1);
  EXPECT_EQ(document, BuildParameterDocument(image, Contact(), nullptr, SavingTime()));
  std::string manifest;
  ASSERT_EQ(ReadArchiveEntry(archive, "Satz.md6", &manifest), 1);
  EXPECT_EQ(manifest, Md5OfBytes(document) + ";Satz.kxm\n");

  EXPECT_TRUE(FilesIn(temp).empty());
  std::vector<std::string> names = FilesIn(folder.Path());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Satz.kxmc", "temp"}));
}

TEST(ParameterFileSave, FailedSaveKeepsTheExistingFileAndLeavesNoScratchFiles) {
  test::TempFolder folder;
  const std::string target = folder.File("Satz.kxmc");
  ASSERT_TRUE(WriteTextFile("OLD", target));
  ParameterImage image = FilledImage();

  // The temporary folder cannot be created below a plain file.
  ASSERT_TRUE(WriteTextFile("x", folder.File("plain")));
  EXPECT_EQ(
      SaveParameterFile(target, image, Contact(), nullptr, folder.File("plain/temp"), SavingTime()),
      E_FAIL);
  EXPECT_EQ(SaveParameterFile(target, image, Contact(), nullptr, "", SavingTime()), E_FAIL);
  // A target that cannot be replaced (a folder in its place) fails at the last step.
  const std::string temp = folder.File("temp");
  ASSERT_TRUE(CreateFolderTree(folder.File("Blocked.kxmc/inner")));
  EXPECT_EQ(
      SaveParameterFile(folder.File("Blocked.kxmc"), image, Contact(), nullptr, temp, SavingTime()),
      E_FAIL);
  EXPECT_TRUE(FolderExists(folder.File("Blocked.kxmc/inner")));
  // The archive's folder does not exist.
  EXPECT_EQ(SaveParameterFile(folder.File("missing/Satz.kxmc"), image, Contact(), nullptr, temp,
                              SavingTime()),
            E_FAIL);
  EXPECT_FALSE(FolderExists(folder.File("missing")));

  std::string text;
  ASSERT_TRUE(ReadWholeFile(target, &text));
  EXPECT_EQ(text, "OLD");
  EXPECT_TRUE(FilesIn(temp).empty());
  std::vector<std::string> names = FilesIn(folder.Path());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Blocked.kxmc", "Satz.kxmc", "plain", "temp"}));
}

TEST(ParameterFileSave, RefusedNameWritesNothingAndLeavesTheImage) {
  test::TempFolder folder;
  ParameterImage image = FilledImage();
  const ParameterImage before = image;
  EXPECT_EQ(SaveParameterFile(folder.File("name.kxmc.bak"), image, Contact(), nullptr,
                              folder.File("temp"), SavingTime()),
            E_FAIL);
  EXPECT_EQ(image.m_block, before.m_block);
  EXPECT_TRUE(FilesIn(folder.Path()).empty());
}

TEST(ParameterFileLoad, RenamedFileCannotBeLoadedAndChangesNothing) {
  test::TempFolder folder;
  const CatalogueList catalogues = MakeCatalogues();
  ParameterImage image = FilledImage();
  ASSERT_EQ(SaveParameterFile(folder.File("a.kxmc"), image, Contact(), catalogues[0].get(),
                              folder.File("temp"), SavingTime()),
            S_OK);
  ASSERT_TRUE(RenameFile(folder.File("a.kxmc"), folder.File("b.kxmc")));

  ParameterImage loaded = FilledImage();
  loaded.m_valid = 1;
  int selection = -1;
  RecordingMessageSink sink;
  const auto result =
      LoadParameterFile(folder.File("b.kxmc"), loaded, catalogues, &selection, &sink);
  EXPECT_EQ(result.status, ParameterFileStatus::kNoDocument);
  EXPECT_EQ(result.Result(), E_FAIL);
  EXPECT_EQ(loaded.m_valid, 1);
  EXPECT_EQ(loaded.m_block, FilledImage().m_block);
  EXPECT_EQ(selection, -1);
  EXPECT_TRUE(sink.Boxes().empty());

  EXPECT_EQ(
      LoadParameterFile(folder.File("a.kxmc.bak"), loaded, catalogues, &selection, &sink).status,
      ParameterFileStatus::kRefusedPath);
  // The name without extension finds "a.kxmc" after renaming back.
  ASSERT_TRUE(RenameFile(folder.File("b.kxmc"), folder.File("a.kxmc")));
  EXPECT_TRUE(LoadParameterFile(folder.File("a"), loaded, catalogues, &selection, &sink).Ok());
}

TEST(ParameterFileLoad, LineCopiesLenMinusOneBytesFromTheFourthValue) {
  DocumentParts parts;
  std::string line1 = "02 1A 3A";  // LEN 0x1A: 25 data bytes after the header
  for (int i = 1; i <= 25; ++i) {
    char pair[4];
    std::snprintf(pair, sizeof pair, " %2.2X", i);
    line1 += pair;
  }
  line1 += " 77 03";
  parts.lines[0] = line1;
  ParameterImage image;
  int selection = -1;
  const CatalogueList catalogues = MakeCatalogues();
  ASSERT_TRUE(ReadParameterDocument(parts.Render(), image, catalogues, &selection, nullptr).Ok());
  const auto block = image.Block(0x39);
  for (int i = 0; i < 25; ++i) EXPECT_EQ(block[static_cast<std::size_t>(i)], i + 1) << i;
  // The other lines: LEN 2, one data byte each, the checksum not copied.
  EXPECT_EQ(image.Block(0x30)[0], 0x22);
  EXPECT_EQ(image.Block(0x30)[1], 0x00);
  EXPECT_EQ(image.Block(0x22)[0], 0x77);
  EXPECT_EQ(image.Block(0x22)[1], 0x00);
}

TEST(ParameterFileLoad, LineLengthIsClippedToBlockAndBuffer) {
  DocumentParts parts;
  // LEN 0xFF and far more values than the 100 read: only block 0x2E's 11 bytes are filled,
  // its neighbour block 0x32 (next in memory) keeps its own line's byte.
  std::string line5 = "02 FF 2F";
  for (int i = 0; i < 150; ++i) line5 += " 5A";
  parts.lines[4] = line5;
  // LEN 0: nothing is copied; a LEN beyond a short text reads the zero-filled rest.
  parts.lines[5] = "02 00 33 66 99 03";
  parts.lines[2] = "02 13 3C 33";
  ParameterImage image;
  int selection = 1;
  const CatalogueList catalogues = MakeCatalogues();
  ASSERT_TRUE(ReadParameterDocument(parts.Render(), image, catalogues, &selection, nullptr).Ok());
  for (std::uint8_t b : image.Block(0x2E)) EXPECT_EQ(b, 0x5A);
  for (std::uint8_t b : image.Block(0x32)) EXPECT_EQ(b, 0x00);
  EXPECT_EQ(image.Block(0x3B)[0], 0x33);
  for (std::size_t i = 1; i < image.Block(0x3B).size(); ++i) EXPECT_EQ(image.Block(0x3B)[i], 0);
  EXPECT_EQ(selection, 0);  // the document's GUID names catalogue A
}

TEST(ParameterFileLoad, TextsAndCommentEscapes) {
  DocumentParts parts;
  ParameterImage image;
  int selection = -1;
  const CatalogueList catalogues = MakeCatalogues();
  ASSERT_TRUE(ReadParameterDocument(parts.Render(), image, catalogues, &selection, nullptr).Ok());
  EXPECT_EQ(image.m_moName, "RM");
  EXPECT_EQ(image.m_name, "N");
  EXPECT_EQ(image.m_firma, "F");
  EXPECT_EQ(image.m_kommentar, "a\nb\rc");

  // Elements without text are skipped; the Firma element only has to be present.
  parts.texts = "<Firma/><Name/>";
  ASSERT_TRUE(ReadParameterDocument(parts.Render(), image, catalogues, &selection, nullptr).Ok());
  EXPECT_EQ(image.m_firma, "");
  EXPECT_EQ(image.m_kommentar, "");
}

TEST(ParameterFileLoad, UnparsableDocumentIsReportedOnceAndClearsTheImage) {
  for (const std::string garbage : {"\x01\x02 nonsense <<<", "", "<Inhalt><Firma></Inhalt>"}) {
    ParameterImage image = FilledImage();
    image.m_valid = 1;
    int selection = 1;
    RecordingMessageSink sink;
    const auto result = ReadParameterDocument(garbage, image, MakeCatalogues(), &selection, &sink);
    EXPECT_EQ(result.status, ParameterFileStatus::kUnparsable);
    ASSERT_EQ(sink.Boxes().size(), 1u);
    EXPECT_EQ(sink.Boxes()[0].text, "Fehler beim Laden");
    EXPECT_EQ(sink.Boxes()[0].caption, "");
    EXPECT_EQ(image.m_valid, 0);
    EXPECT_EQ(image.m_block, DefaultParameterBlock());
    EXPECT_EQ(image.m_moName, "");
    EXPECT_EQ(selection, 1);
  }
}

TEST(ParameterFileLoad, DefectiveDocumentsFailQuietlyWithTheImageCleared) {
  std::vector<std::pair<const char*, DocumentParts>> cases;
  DocumentParts p;
  p.declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>";
  cases.emplace_back("encoding", p);
  p = {};
  p.declaration = "";
  cases.emplace_back("no declaration", p);
  p = {};
  p.root = "Inhalte";
  cases.emplace_back("root", p);
  p = {};
  p.texts = "<MoName>RM</MoName>";
  cases.emplace_back("no Firma", p);
  p = {};
  p.withLines = false;
  cases.emplace_back("no Parametrierdaten", p);
  p = {};
  p.lines[3] = "<absent>";
  cases.emplace_back("no Zeile_4", p);
  p = {};
  p.lines[6] = "";
  cases.emplace_back("Zeile_7 without text", p);
  p = {};
  p.lines[0] = "<![CDATA[]]>";
  cases.emplace_back("Zeile_1 empty text", p);
  p = {};
  p.texts = "<MoName><![CDATA[]]></MoName><Firma>F</Firma>";
  cases.emplace_back("MoName empty text", p);

  const CatalogueList catalogues = MakeCatalogues();
  for (const auto& [what, parts] : cases) {
    ParameterImage image = FilledImage();
    image.m_valid = 1;
    int selection = 1;
    RecordingMessageSink sink;
    const auto result = ReadParameterDocument(parts.Render(), image, catalogues, &selection, &sink);
    EXPECT_EQ(result.status, ParameterFileStatus::kMalformed) << what;
    EXPECT_TRUE(sink.Boxes().empty()) << what;
    EXPECT_EQ(image.m_valid, 0) << what;
    EXPECT_EQ(image.m_block, DefaultParameterBlock()) << what;
    EXPECT_EQ(image.m_moName, "") << what;
    EXPECT_EQ(selection, 1) << what;
  }
}

TEST(ParameterFileLoad, WithoutMatchingMotorTheListSelectionDecides) {
  const CatalogueList catalogues = MakeCatalogues();
  DocumentParts parts;
  parts.guid = "<GUID>NOGUID</GUID>";
  ParameterImage image;
  int selection = -1;
  const auto failed = ReadParameterDocument(parts.Render(), image, catalogues, &selection, nullptr);
  EXPECT_EQ(failed.status, ParameterFileStatus::kNoSelection);
  EXPECT_EQ(selection, -1);
  EXPECT_EQ(image.m_valid, 0);
  EXPECT_EQ(image.m_moName, "");
  EXPECT_EQ(image.m_block, DefaultParameterBlock());

  // A selection made before stays and carries the load.
  selection = 1;
  ASSERT_TRUE(ReadParameterDocument(parts.Render(), image, catalogues, &selection, nullptr).Ok());
  EXPECT_EQ(selection, 1);
  EXPECT_EQ(image.m_valid, 1);

  // Without a GUID element as well; and no catalogue GUID is empty enough to match nothing.
  parts.guid = "<GUID><![CDATA[]]></GUID>";
  selection = -1;
  EXPECT_EQ(ReadParameterDocument(parts.Render(), image, catalogues, &selection, nullptr).status,
            ParameterFileStatus::kNoSelection);
  parts.guid = "";
  EXPECT_EQ(ReadParameterDocument(parts.Render(), image, catalogues, &selection, nullptr).status,
            ParameterFileStatus::kNoSelection);
}

TEST(ParameterFileLoad, GuidMatchIgnoresCaseAndTheLastMatchWins) {
  CatalogueList catalogues = MakeCatalogues();
  DocumentParts parts;
  parts.guid = "<GUID>{BBBBBBBB-0000-0000-0000-000000000000}</GUID>";
  ParameterImage image;
  int selection = 0;
  ASSERT_TRUE(ReadParameterDocument(parts.Render(), image, catalogues, &selection, nullptr).Ok());
  EXPECT_EQ(selection, 1);

  // A third catalogue carrying catalogue A's uMode GUID at another variant wins over A.
  auto c = std::make_unique<Catalogue>();
  c->motors[2].strGuidUMode = "{aaaaaaaa-0000-0000-0000-0000000000ff}";
  catalogues.push_back(std::move(c));
  parts.guid = std::string("<GUID>") + kGuidAU + "</GUID>";
  selection = -1;
  ASSERT_TRUE(ReadParameterDocument(parts.Render(), image, catalogues, &selection, nullptr).Ok());
  EXPECT_EQ(selection, 2);
}

TEST(ParameterFileLoad, JoinedGuidPairIsComparedHalfByHalf) {
  const CatalogueList catalogues = MakeCatalogues();
  DocumentParts parts;
  parts.guid = std::string("<GUID>{00000000-0000-0000-0000-000000000000} ") + kGuidB2 + "</GUID>";
  ParameterImage image;
  int selection = -1;
  const auto result = ReadParameterDocument(parts.Render(), image, catalogues, &selection, nullptr);
  ASSERT_TRUE(result.Ok());
  EXPECT_TRUE(result.guidWasSplit);
  EXPECT_EQ(selection, 1);
}

}  // namespace
}  // namespace roviro
