// roviro-cli with files it cannot use: one line naming the file and the reason, and the
// documented exit code.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "CliRunner.h"
#include "catalogue/Archive.h"
#include "catalogue/CatalogueDocuments.h"
#include "platform/Paths.h"
#include "records/ParameterFile.h"
#include "support/TempFolder.h"

namespace roviro {
namespace {

// A command line in which "@x" is the file x of the scratch folder and "!x" the same, as the
// file the reason must name.
struct BadInput {
  std::vector<std::string> args;
  std::string reason;
};

class CliBadInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* f : {"prog", "data", "dir.kxmc", "dir.xml", "dir.kxbmc"}) {
      ASSERT_TRUE(CreateFolderTree(m_tmp.File(f)));
    }
    ASSERT_TRUE(WriteTextFile(test::RealisticCatalogue(3), m_tmp.File("good.xml")));
    ASSERT_TRUE(WriteTextFile("<Katalog>", m_tmp.File("bad.xml")));
    ASSERT_TRUE(WriteTextFile(std::string(600, 'P'), m_tmp.File("junk.kxmc")));
    ParameterImage image;
    ASSERT_EQ(SaveParameterFile(m_tmp.File("renamed.kxmc"), image, {}, nullptr, m_tmp.Path(), {}),
              S_OK);
    ASSERT_TRUE(RenameFile(m_tmp.File("renamed.kxmc"), m_tmp.File("ok.kxmc")));
    // Opens, but every read fails with an input/output error, even for the superuser.
    for (const char* f : {"mem.kxmc", "mem.xml", "mem.kxbmc"}) {
      std::filesystem::create_symlink("/proc/self/mem", m_tmp.File(f));
    }
  }

  test::CliResult Cli(std::vector<std::string> args, std::string* named = nullptr) {
    for (auto& a : args) {
      if (a[0] == '!' && named != nullptr) *named = m_tmp.File(a.substr(1));
      if (a[0] == '@' || a[0] == '!') a = m_tmp.File(a.substr(1));
    }
    args.insert(args.begin(),
                {"--program-dir", m_tmp.File("prog"), "--data-dir", m_tmp.File("data")});
    return test::RunCli(args, m_tmp.Path());
  }

  // Exit code 7 and one line: the file as the platform writes it, and the reason.
  void Expect(const std::vector<BadInput>& cases) {
    for (const BadInput& c : cases) {
      std::string file;
      const test::CliResult r = Cli(c.args, &file);
      EXPECT_EQ(r.exitCode, 7) << c.args[0] << " " << c.args.back() << ": " << r.err;
      EXPECT_EQ(r.err, "roviro-cli: " + file + ": " + c.reason + "\n");
    }
  }

  test::TempFolder m_tmp;
};

TEST_F(CliBadInputTest, EveryCommandNamesTheFileAndTheReason) {
  const std::string folder = "is a folder, not a file";
  const std::string io = "cannot be read (Input/output error)";
  const std::string noZip = "is not an archive (no ZIP directory)";
  Expect({
      // A missing file.
      {{"show", "!none.kxmc"}, "no such file"},
      {{"diff", "!none.kxmc", "@ok.kxmc"}, "no such file"},
      {{"upload", "!none.kxmc"}, "no such file"},
      {{"catalogue", "check", "!none.kxbmc"}, "no such file or folder"},
      {{"catalogue", "pack", "!none.xml", "-o", "@n.kxbmc"}, "no such file"},
      {{"download", "-o", "!no/x.kxmc"}, "the folder " + m_tmp.File("no") + " does not exist"},
      // A folder given as a file.
      {{"show", "!dir.kxmc"}, folder},
      {{"download", "-o", "!dir.kxmc"}, folder},
      {{"catalogue", "pack", "!dir.xml", "-o", "@n.kxbmc"}, folder},
      {{"catalogue", "pack", "@good.xml", "-o", "!dir.kxbmc"}, folder},
      {{"catalogue", "check", "!dir.kxbmc"}, "holds no catalogue archive (*.kxbmc)"},
      // An unreadable file.
      {{"upload", "!mem.kxmc"}, io},
      {{"catalogue", "check", "!mem.kxbmc"}, io},
      {{"catalogue", "pack", "!mem.xml", "-o", "@n.kxbmc"}, io},
      // A file that is not an archive, or not the document it should be.
      {{"show", "!junk.kxmc"}, noZip},
      {{"upload", "!junk.kxmc"}, noZip},
      {{"catalogue", "pack", "!bad.xml", "-o", "@n.kxbmc"}, "not well-formed XML (line 1)"},
      // An archive without the expected entry: the document is named after the file.
      {{"show", "!ok.kxmc"}, "holds no entry ok.kxm (renamed after saving?)"},
  });
  EXPECT_FALSE(FileExists(m_tmp.File("n.kxbmc")));
}

// Under a crypto provider that refuses MD5 the archive could never load: pack must fail.
TEST_F(CliBadInputTest, PackFailsWhenNoDigestCanBeComputed) {
  ASSERT_TRUE(
      WriteTextFile("openssl_conf = i\n[i]\nalg_section = e\n[e]\n"
                    "default_properties = fips=yes\n",
                    m_tmp.File("restricted.cnf")));
  setenv("OPENSSL_CONF", m_tmp.File("restricted.cnf").c_str(), 1);
  Expect({{{"catalogue", "pack", "@good.xml", "-o", "!k.kxbmc"},
           "no MD5 digest can be computed (the crypto library refuses MD5); nothing written"}});
  unsetenv("OPENSSL_CONF");
}

}  // namespace
}  // namespace roviro
