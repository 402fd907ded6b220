// roviro-cli with files it cannot use: every command answers with one line naming the file and
// the reason, and exits with its documented code. Also the reasons `catalogue check` gives
// for an archive that yields no catalogue.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "CliRunner.h"
#include "catalogue/Archive.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueDocuments.h"
#include "platform/Paths.h"
#include "screens/ParameterFile.h"
#include "support/TempFolder.h"

namespace roviro {
namespace {

using test::CliResult;

class CliBadInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"prog", "data", "dir.kxmc", "dir.xml", "dir.kxbmc"}) {
      ASSERT_TRUE(CreateFolderTree(m_tmp.File(folder)));
    }
    ASSERT_TRUE(WriteTextFile(test::RealisticCatalogue(3), m_tmp.File("good.xml")));
    ASSERT_TRUE(WriteTextFile(std::string(600, 'P'), m_tmp.File("junk.kxmc")));
    ASSERT_TRUE(WriteTextFile(std::string(600, 'P'), m_tmp.File("junk.kxbmc")));
    ParameterImage image;
    ASSERT_EQ(SaveParameterFile(m_tmp.File("orig.kxmc"), image, {}, nullptr, m_tmp.File("data"),
                                SystemTime{}),
              S_OK);
    ASSERT_TRUE(RenameFile(m_tmp.File("orig.kxmc"), m_tmp.File("renamed.kxmc")));
    ASSERT_EQ(SaveParameterFile(m_tmp.File("ok.kxmc"), image, {}, nullptr, m_tmp.File("data"),
                                SystemTime{}),
              S_OK);
    // Opens, but every read fails with an input/output error: a file that cannot be read
    // even by the superuser.
    for (const char* name : {"mem.kxmc", "mem.xml", "mem.kxbmc"}) {
      std::filesystem::create_symlink("/proc/self/mem", m_tmp.File(name));
    }
  }

  CliResult Cli(std::vector<std::string> args) {
    args.insert(args.begin(),
                {"--program-dir", m_tmp.File("prog"), "--data-dir", m_tmp.File("data")});
    return test::RunCli(args, m_tmp.Path());
  }

  // One line on standard error: the file as the platform writes it, then the reason.
  void ExpectReason(const std::vector<std::string>& args, int exitCode, const std::string& file,
                    const std::string& reason) {
    const CliResult r = Cli(args);
    const std::string what = args[0] + " " + args.back();
    EXPECT_EQ(r.exitCode, exitCode) << what << "\n" << r.err;
    EXPECT_EQ(r.err, "roviro-cli: " + NormalisePath(file) + ": " + reason + "\n") << what;
  }

  // The note `catalogue check` gives when an archive yields no catalogue.
  void ExpectNothingAccepted(const std::string& archive, const std::string& reason) {
    const CliResult r = Cli({"catalogue", "check", archive});
    EXPECT_EQ(r.exitCode, 1) << archive << "\n" << r.err;
    EXPECT_NE(
        r.err.find("note: " + NormalisePath(archive) + ": no catalogue accepted: " + reason + "\n"),
        std::string::npos)
        << r.err;
    EXPECT_NE(r.out.find("no catalogue accepted"), std::string::npos);
  }

  std::string Archive(const std::string& title, const std::vector<ArchiveEntryText>& entries) {
    ArchiveWriter zip;
    EXPECT_TRUE(zip.Create(m_tmp.File(title + ".kxbmc")));
    for (const auto& e : entries) EXPECT_TRUE(zip.AddBytes(e.name, e.text));
    EXPECT_TRUE(zip.Close());
    return m_tmp.File(title + ".kxbmc");
  }

  test::TempFolder m_tmp;
};

TEST_F(CliBadInputTest, AMissingFile) {
  const std::string none = m_tmp.File("none.kxmc");
  ExpectReason({"show", none}, 7, none, "no such file");
  ExpectReason({"diff", m_tmp.File("ok.kxmc"), none}, 7, none, "no such file");
  ExpectReason({"upload", none}, 7, none, "no such file");
  ExpectReason({"catalogue", "check", m_tmp.File("none.kxbmc")}, 7, m_tmp.File("none.kxbmc"),
               "no such file or folder");
  ExpectReason({"catalogue", "pack", m_tmp.File("none.xml"), "-o", m_tmp.File("n.kxbmc")}, 7,
               m_tmp.File("none.xml"), "no such file");
  const std::string lost = m_tmp.File("no/such/folder/x.kxmc");
  ExpectReason({"download", "-o", lost}, 7, lost,
               "the folder " + NormalisePath(m_tmp.File("no/such/folder")) + " does not exist");
}

TEST_F(CliBadInputTest, AFolderGivenAsAFile) {
  const std::string dir = m_tmp.File("dir.kxmc");
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"show", dir}, {"diff", dir, m_tmp.File("ok.kxmc")}, {"upload", dir}}) {
    ExpectReason(args, 7, dir, "is a folder, not a file");
  }
  ExpectReason({"download", "-o", dir}, 7, dir, "is a folder, not a file");
  ExpectReason({"catalogue", "pack", m_tmp.File("dir.xml"), "-o", m_tmp.File("n.kxbmc")}, 7,
               m_tmp.File("dir.xml"), "is a folder, not a file");
  ExpectReason({"catalogue", "pack", m_tmp.File("good.xml"), "-o", m_tmp.File("dir.kxbmc")}, 7,
               m_tmp.File("dir.kxbmc"), "is a folder, not a file");
  // A folder without archives is no catalogue folder.
  ExpectReason({"catalogue", "check", m_tmp.File("dir.kxbmc")}, 7, m_tmp.File("dir.kxbmc"),
               "holds no catalogue archive (*.kxbmc)");
}

TEST_F(CliBadInputTest, AnUnreadableFile) {
  const std::string reason = "cannot be read (Input/output error)";
  ExpectReason({"show", m_tmp.File("mem.kxmc")}, 7, m_tmp.File("mem.kxmc"), reason);
  ExpectReason({"upload", m_tmp.File("mem.kxmc")}, 7, m_tmp.File("mem.kxmc"), reason);
  ExpectReason({"catalogue", "check", m_tmp.File("mem.kxbmc")}, 7, m_tmp.File("mem.kxbmc"), reason);
  ExpectReason({"catalogue", "pack", m_tmp.File("mem.xml"), "-o", m_tmp.File("n.kxbmc")}, 7,
               m_tmp.File("mem.xml"), reason);
  EXPECT_FALSE(FileExists(m_tmp.File("n.kxbmc")));
}

TEST_F(CliBadInputTest, AFileThatIsNotAnArchive) {
  const std::string junk = m_tmp.File("junk.kxmc");
  ExpectReason({"show", junk}, 7, junk, "is not an archive (no ZIP directory)");
  ExpectReason({"diff", m_tmp.File("ok.kxmc"), junk}, 7, junk,
               "is not an archive (no ZIP directory)");
  ExpectReason({"upload", junk}, 7, junk, "is not an archive (no ZIP directory)");
  ExpectNothingAccepted(m_tmp.File("junk.kxbmc"), "not an archive (no ZIP directory)");
  ASSERT_TRUE(WriteTextFile("<Katalog>", m_tmp.File("bad.xml")));
  ExpectReason({"catalogue", "pack", m_tmp.File("bad.xml"), "-o", m_tmp.File("n.kxbmc")}, 7,
               m_tmp.File("bad.xml"), "not well-formed XML (line 1)");
}

TEST_F(CliBadInputTest, AnArchiveWithoutTheExpectedEntry) {
  const std::string renamed = m_tmp.File("renamed.kxmc");
  const std::string reason = "holds no entry renamed.kxm (renamed after saving?)";
  ExpectReason({"show", renamed}, 7, renamed, reason);
  ExpectReason({"upload", renamed}, 7, renamed, reason);
  ExpectNothingAccepted(Archive("ohne", {{"k.xml", "<a/>"}}), "no manifest ohne.md6");
}

TEST_F(CliBadInputTest, CatalogueCheckSaysWhyNothingWasAccepted) {
  const std::string doc = test::RealisticCatalogue(4);
  ExpectNothingAccepted(Archive("leer", {{"k.xml", doc}, {"leer.md6", ""}}),
                        "the manifest lists no entry");
  ExpectNothingAccepted(
      Archive("falsch", {{"k.xml", doc}, {"falsch.md6", std::string(32, 'A') + ";k.xml;\n"}}),
      "the digests do not match the manifest");
  const std::string noHeader =
      std::string(test::kCatalogueDeclaration) + "<Katalog><Scr/></Katalog>";
  ExpectNothingAccepted(
      Archive("ungueltig",
              {{"k.xml", noHeader}, {"ungueltig.md6", Md5OfBytes(noHeader) + ";k.xml;\n"}}),
      "no valid catalogue document (see the notes above)");
  // An archive that loads alongside one that gives nothing: still not a success.
  ASSERT_TRUE(WriteCatalogueArchive(m_tmp.File("gut.kxbmc"), {{"k.xml", doc}}));
  const CliResult mixed =
      Cli({"catalogue", "check", m_tmp.File("gut.kxbmc"), m_tmp.File("leer.kxbmc")});
  EXPECT_EQ(mixed.exitCode, 1);
  EXPECT_NE(mixed.out.find("catalogue 1:"), std::string::npos);
}

// Under a crypto provider that refuses MD5 the archive could never load: pack must fail.
TEST_F(CliBadInputTest, PackFailsWhenNoDigestCanBeComputed) {
  ASSERT_TRUE(
      WriteTextFile("openssl_conf = init\n[init]\nalg_section = evp\n[evp]\n"
                    "default_properties = fips=yes\n",
                    m_tmp.File("restricted.cnf")));
  setenv("OPENSSL_CONF", m_tmp.File("restricted.cnf").c_str(), 1);
  const std::string out = m_tmp.File("k.kxbmc");
  ExpectReason({"catalogue", "pack", m_tmp.File("good.xml"), "-o", out}, 7, out,
               "no MD5 digest can be computed (the crypto library refuses MD5); nothing written");
  unsetenv("OPENSSL_CONF");
  EXPECT_FALSE(FileExists(out));
}

}  // namespace
}  // namespace roviro
