// roviro-cli as scripts use it: catalogue pack and check, show and diff, exit codes.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "CliRunner.h"
#include "catalogue/Archive.h"
#include "catalogue/CatalogueDocuments.h"
#include "platform/Paths.h"
#include "records/ParameterFile.h"
#include "support/TempFolder.h"

namespace roviro {
namespace {

using test::CliResult;
using test::RunCli;
using test::TempFolder;

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreateFolderTree(m_tmp.File("prog")));
    ASSERT_TRUE(CreateFolderTree(m_tmp.File("data")));
  }

  CliResult Cli(std::vector<std::string> args) {
    args.insert(args.begin(),
                {"--program-dir", m_tmp.File("prog"), "--data-dir", m_tmp.File("data")});
    return RunCli(args, m_tmp.Path());
  }

  std::string WriteSource(const std::string& name, const std::string& text) {
    const std::string path = m_tmp.File(name);
    EXPECT_TRUE(WriteTextFile(text, path));
    return path;
  }

  // A saved parameter file whose block 0x2E starts with `serial`.
  std::string SaveSet(const std::string& name, std::uint8_t serial) {
    ParameterImage image;
    image.Clear();
    image.m_moName = "RM 8/16";
    image.m_name =
        "Anlage S\xFC"
        "d";
    image.m_firma = "Rollo GmbH";
    image.m_kommentar = "Zeile eins\nZeile zwei";
    auto b39 = image.Block(0x39);
    b39[0] = 0x10;
    b39[1] = 0x20;
    b39[2] = 0x31;
    b39[16] = 0x52;
    image.Block(0x2E)[0] = serial;
    ContactRecord contact;
    contact.company = "Montage M\xFCller";
    contact.town = "Ulm";
    const SystemTime when{2011, 3, 1, 14, 9, 5, 0, 123};
    const std::string path = m_tmp.File(name);
    EXPECT_EQ(SaveParameterFile(path, image, contact, nullptr, m_tmp.File("data"), when), S_OK);
    return path;
  }

  TempFolder m_tmp;
};

TEST_F(CliTest, PackThenCheckAGoodCatalogueListsItsMotorsAndNothingElse) {
  const std::string src = WriteSource("standard.xml", test::RealisticCatalogue(7));
  const std::string archive = m_tmp.File("standard.kxbmc");
  CliResult pack = Cli({"catalogue", "pack", src, "-o", archive});
  ASSERT_EQ(pack.exitCode, 0) << pack.err;
  EXPECT_TRUE(pack.err.empty()) << pack.err;

  CliResult check = Cli({"catalogue", "check", archive});
  EXPECT_EQ(check.exitCode, 0) << check.err;
  EXPECT_TRUE(check.err.empty()) << check.err;
  EXPECT_NE(check.out.find("catalogue 1: Trevanic (version 2.1.7)"), std::string::npos)
      << check.out;
  for (int k = 0; k < 3; ++k) {
    EXPECT_NE(check.out.find("variant " + std::to_string(k) + ": "), std::string::npos);
  }
  EXPECT_NE(check.out.find(test::GuidText(7, 0x101)), std::string::npos);

  // A folder is loaded like the program's Config folder.
  CliResult folder = Cli({"catalogue", "check", m_tmp.Path()});
  EXPECT_EQ(folder.exitCode, 0) << folder.err;
}

TEST_F(CliTest, CheckPrintsTheProgramsMessagesExactly) {
  // A short NQB GUID and a parameter line with a wrong second check byte.
  auto motors = test::RealisticMotors(3);
  motors[1].nqb = "{1234}";
  auto bytes = test::LineBytes(5, test::FactoryPayload(5, 1));
  bytes.back() = static_cast<std::uint8_t>(bytes.back() + 1);
  motors[0].lines = test::LineElement("Zl5", bytes);
  std::string body;
  for (const auto& m : motors) body += test::MotorXml(m);
  const std::string src =
      WriteSource("broken.xml", test::DocumentXml("<Scr/>" + test::KxbmXml(body)));
  const std::string archive = m_tmp.File("broken.kxbmc");
  ASSERT_EQ(Cli({"catalogue", "pack", src, "-o", archive}).exitCode, 0);

  CliResult check = Cli({"catalogue", "check", archive});
  EXPECT_EQ(check.exitCode, 1);
  // Latin-1 "ä" reaches the terminal as UTF-8.
  EXPECT_NE(check.err.find("Fehler...: broken.xml - {1234} - GUID NQB falsch L\xC3\xA4nge!\n"),
            std::string::npos)
      << check.err;
  char expected[160];
  std::snprintf(expected, sizeof expected,
                "Fehler...: %s\nbroken.xml\nZeile: 5\nChSee : %02X - erwartet: %02X\nChSmsg: "
                "%02X - erwartet: %02X - CHSee\n",
                NormalisePath(archive).c_str(), bytes[bytes.size() - 2], bytes[bytes.size() - 2],
                static_cast<std::uint8_t>(bytes.back() - 1), bytes.back());
  EXPECT_NE(check.err.find(expected), std::string::npos) << check.err;

  // --fix-checksums repairs the line; the GUID message stays.
  ASSERT_EQ(Cli({"catalogue", "pack", "--fix-checksums", src, "-o", archive}).exitCode, 0);
  CliResult fixed = Cli({"catalogue", "check", archive});
  EXPECT_EQ(fixed.err.find("CHSee"), std::string::npos) << fixed.err;
  EXPECT_NE(fixed.err.find("GUID NQB falsch"), std::string::npos);
}

TEST_F(CliTest, CheckReportsWhatTheProgramSkipsSilently) {
  const std::string doc = test::RealisticCatalogue(9);
  const std::string digest = Md5OfBytes(doc);
  // The manifest goes in as `manifestEntry` (the archive's own when empty).
  const auto makeArchive = [&](const std::string& name, const std::string& manifest,
                               const std::string& text, std::string manifestEntry = "") {
    ArchiveWriter zip;
    EXPECT_TRUE(zip.Create(m_tmp.File(name + ".kxbmc")));
    EXPECT_TRUE(zip.AddBytes("k.xml", text));
    EXPECT_TRUE(zip.AddBytes(manifestEntry.empty() ? name + ".md6" : manifestEntry, manifest));
    EXPECT_TRUE(zip.Close());
    return m_tmp.File(name + ".kxbmc");
  };
  std::string lower = digest;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));

  const std::string mismatch = "the digests do not match the manifest";
  const std::string wrongDigest = makeArchive("wrong", std::string(32, 'A') + ";k.xml;\n", doc);
  const std::string lowerDigest = makeArchive("lower", lower + ";k.xml;\n", doc);
  std::string badDecl = doc;
  badDecl.replace(badDecl.find("iso-8859-1"), 10, "utf-8");
  const std::string wrongDecl = makeArchive("decl", Md5OfBytes(badDecl) + ";k.xml;\n", badDecl);
  const std::string noHeader = std::string(test::kCatalogueDeclaration) + "<K><Scr/></K>";
  ASSERT_TRUE(WriteTextFile(std::string(600, 'P'), m_tmp.File("junk.kxbmc")));

  // Each archive gives no catalogue, and the check says why.
  for (const auto& [archive, reason] : std::vector<std::pair<std::string, std::string>>{
           {wrongDigest, mismatch},
           {lowerDigest, mismatch},
           {wrongDecl, "loading stopped at a document with a wrong declaration or empty root"},
           {makeArchive("empty", "", doc), "the manifest lists no entry"},
           {makeArchive("none", "", doc, "other.md6"), "no manifest none.md6"},
           {m_tmp.File("junk.kxbmc"), "not an archive (no ZIP directory)"},
           {makeArchive("invalid", Md5OfBytes(noHeader) + ";k.xml;\n", noHeader),
            "no valid catalogue document (see the notes above)"}}) {
    CliResult r = Cli({"catalogue", "check", archive});
    EXPECT_EQ(r.exitCode, 1) << archive;
    EXPECT_NE(r.err.find("note: " + archive + ": no catalogue accepted: " + reason + "\n"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.out.find("no catalogue accepted"), std::string::npos) << r.out;
  }
  EXPECT_NE(Cli({"catalogue", "check", wrongDecl}).err.find("loading stops"), std::string::npos);
  // Beside an archive that loads, one that gives nothing still fails the check.
  ASSERT_TRUE(WriteCatalogueArchive(m_tmp.File("good.kxbmc"), {{"k.xml", doc}}));
  EXPECT_EQ(
      Cli({"catalogue", "check", m_tmp.File("good.kxbmc"), m_tmp.File("empty.kxbmc")}).exitCode, 1);

  // Pack refuses a source that the program would stop on.
  const std::string src = WriteSource("d.xml", badDecl);
  EXPECT_EQ(Cli({"catalogue", "pack", src, "-o", m_tmp.File("d.kxbmc")}).exitCode, 7);
  EXPECT_FALSE(FileExists(m_tmp.File("d.kxbmc")));
}

TEST_F(CliTest, ShowDecodesAParameterFile) {
  const std::string file = SaveSet("anlage.kxmc", 0x12);
  CliResult text = Cli({"show", file});
  ASSERT_EQ(text.exitCode, 0) << text.err;
  EXPECT_NE(text.out.find("Firmenname: Montage M\xC3\xBCller"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("Motor identity:  0x102031, variant 1"), std::string::npos);
  EXPECT_NE(text.out.find("Firmware:        Motor Firmware V5.2"), std::string::npos);
  EXPECT_NE(text.out.find("Saved:           14.03.2011 - 9:05.0123"), std::string::npos);

  CliResult json = Cli({"show", "--json", file});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  const auto doc = nlohmann::json::parse(json.out);
  EXPECT_EQ(doc["contact"]["Ort"], "Ulm");
  EXPECT_EQ(doc["contact"].contains("Strasse"), false);
  EXPECT_EQ(doc["name"],
            "Anlage S\xC3\xBC"
            "d");
  EXPECT_EQ(doc["kommentar"], "Zeile eins\nZeile zwei");
  EXPECT_EQ(doc["guid"], "NOGUID");
  EXPECT_EQ(doc["boxSerial"], "120");
  EXPECT_EQ(doc["programVersion"], "V1.5 (Build 001)");
  EXPECT_EQ(doc["decoded"]["variant"], 1);
  EXPECT_TRUE(doc["decoded"]["uploadStamp"].is_null());  // files carry no stamp
  // Blocks as stored: sealed, with block 0x39's stamp bytes reset.
  const std::string b39 = doc["blocks"]["0x39"];
  EXPECT_EQ(b39.substr(0, 8), "10 20 31");
  EXPECT_EQ(b39.substr(33, 11), "FF FF FF 01");
}

// Names are the system's (UTF-8), printed as they are; archive entries are ISO-8859-1.
TEST_F(CliTest, UmlautsAndBlanksInFileAndFolderNamesStayAsTheyAre) {
  const std::string folder = "Ordner \xC3\xA4\xC3\xB6\xC3\xBC \xC3\x9F \xC3\xA9/";
  ASSERT_TRUE(CreateFolderTree(m_tmp.File(folder)));
  const std::string file = SaveSet(folder +
                                       "S\xC3\xBC"
                                       "d.kxmc",
                                   0x12);
  std::vector<std::string> entries;
  ASSERT_TRUE(ListArchiveEntries(file, &entries) && !entries.empty());
  EXPECT_EQ(entries[0],
            "S\xFC"
            "d.kxm");
  EXPECT_EQ(Cli({"show", file}).exitCode, 0);
  const std::string missing = m_tmp.File(folder + "Fehlt \xC3\xA9.kxmc");
  EXPECT_EQ(Cli({"show", missing}).err.rfind("roviro-cli: " + missing + ": ", 0), 0u);
}

TEST_F(CliTest, DiffListsEveryDifferingByte) {
  const std::string a = SaveSet("a.kxmc", 0x12);
  const std::string b = SaveSet("b.kxmc", 0x13);
  CliResult same = Cli({"diff", a, a});
  EXPECT_EQ(same.exitCode, 0);
  EXPECT_TRUE(same.out.empty());
  CliResult d = Cli({"diff", a, b});
  EXPECT_EQ(d.exitCode, 1);
  // The serial byte and block 0x2E's check byte.
  EXPECT_EQ(d.out,
            "block 0x2E (Zeile_5) byte  0: 12 13\n"
            "block 0x2E (Zeile_5) byte 10: 12 13\n");
}

TEST_F(CliTest, ExitCodesForBadUse) {
  EXPECT_EQ(Cli({}).exitCode, 2);
  EXPECT_EQ(Cli({"frobnicate"}).exitCode, 2);
  EXPECT_EQ(Cli({"--lang", "5", "show", "x.kxmc"}).exitCode, 2);
  EXPECT_EQ(Cli({"--lang", "-1", "show", "x.kxmc"}).exitCode, 2);
  // The last language is taken: the missing file is what fails.
  EXPECT_EQ(Cli({"--lang", "4", "show", m_tmp.File("missing.kxmc")}).exitCode, 7);
  EXPECT_EQ(Cli({"--port", "/dev/null", "--simulate", "show", "x.kxmc"}).exitCode, 2);
  EXPECT_EQ(Cli({"show"}).exitCode, 2);
  EXPECT_EQ(Cli({"show", "--help"}).exitCode, 0);
  EXPECT_EQ(Cli({"show", m_tmp.File("missing.kxmc")}).exitCode, 7);
  EXPECT_EQ(Cli({"show", m_tmp.File("name.kxmc.bak")}).exitCode, 7);
  // A renamed file no longer holds an entry of its own name.
  const std::string file = SaveSet("orig.kxmc", 1);
  ASSERT_TRUE(RenameFile(file, m_tmp.File("renamed.kxmc")));
  CliResult renamed = Cli({"show", m_tmp.File("renamed.kxmc")});
  EXPECT_EQ(renamed.exitCode, 7);
  EXPECT_NE(renamed.err.find("renamed after saving"), std::string::npos);
  EXPECT_EQ(Cli({"catalogue", "pack", "x.xml", "-o", m_tmp.File("x.zip")}).exitCode, 2);
  EXPECT_EQ(
      Cli({"catalogue", "pack", m_tmp.File("none.xml"), "-o", m_tmp.File("x.kxbmc")}).exitCode, 7);
  EXPECT_EQ(Cli({"catalogue", "check", m_tmp.File("none")}).exitCode, 7);
}

}  // namespace
}  // namespace roviro
