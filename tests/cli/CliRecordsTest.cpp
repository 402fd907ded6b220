// roviro-cli's records: a download recorded into the local store, `records sync` against an
// unreachable company store (exit 3, nothing lost) and against a real one, `records status`,
// `history --json` with station and fitter, `records export --csv`.

#include <gtest/gtest.h>

#include <fstream>

#include <nlohmann/json.hpp>

#include "CliRunner.h"
#include "catalogue/Archive.h"
#include "platform/Paths.h"
#include "support/PostgresServer.h"
#include "support/TempFolder.h"

namespace roviro::test {
namespace {

CliResult RecordsCli(const TempFolder& tmp, const std::vector<std::string>& args,
                     const std::string& environment = {}) {
  std::vector<std::string> all = {"--data-dir", tmp.File("data")};
  all.insert(all.end(), args.begin(), args.end());
  return RunProgram(ROVIRO_CLI_PATH, all, tmp.Path(), environment);
}

TEST(CliRecordsTest, VisitsWaitForAnUnreachableCompanyStoreAndAreSentOnceItAnswers) {
  TempFolder tmp;
  const std::string program = tmp.File("data/Trevanic/DI DU-RoviroDazo");
  ASSERT_TRUE(CreateFolderTree(program));
  {
    std::ofstream ini(program + "/Einstellungen.ini");
    ASSERT_TRUE(ini);
    ini << "[DATENBANK]\nADRESSE=postgresql:///roviro?host=" << tmp.File("nowhere")
        << " // a comment\nSTATION=Halle 2\n";
  }
  CliResult r = RecordsCli(tmp, {"--simulate", "download", "-o", tmp.File("a.kxmc")});
  ASSERT_EQ(r.exitCode, 0) << r.err;  // the transfer does not suffer
  EXPECT_NE(r.err.find("the company store cannot be reached"), std::string::npos) << r.err;

  r = RecordsCli(tmp, {"records", "sync"});
  EXPECT_EQ(r.exitCode, 3) << r.err;
  EXPECT_NE(r.err.find("1 visit(s) wait"), std::string::npos) << r.err;
  r = RecordsCli(tmp, {"records", "status"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("station:       Halle 2\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("unsent visits: 1\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("last sync:     never\n"), std::string::npos) << r.out;

  r = RecordsCli(tmp, {"history", "--json"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto visits = nlohmann::json::parse(r.out);
  ASSERT_EQ(visits.size(), 1u);
  EXPECT_EQ(visits[0]["station"], "Halle 2");
  EXPECT_EQ(visits[0]["what"], "download");
  EXPECT_EQ(visits[0]["set"].get<std::string>().size(), 64u);  // the backup's bytes went in
  r = RecordsCli(tmp, {"history", visits[0]["motor"].get<std::string>()});
  EXPECT_NE(r.out.find("station Halle 2"), std::string::npos) << r.out;

  ASSERT_EQ(RecordsCli(tmp, {"records", "export", "--csv", tmp.File("q.csv")}).exitCode, 0);
  std::string csv;
  ASSERT_TRUE(ReadWholeFile(tmp.File("q.csv"), &csv));
  EXPECT_EQ(csv.rfind("uuid,utc,local,station,fitter,motor,", 0), 0u) << csv;
  EXPECT_NE(csv.find(visits[0]["uuid"].get<std::string>() + ","), std::string::npos);
  EXPECT_EQ(RecordsCli(tmp, {"records", "export", "--csv", tmp.File("no/such/q.csv")}).exitCode, 7);

  if (PostgresServerBinaries().empty()) GTEST_SKIP() << "no PostgreSQL server programs";
  PostgresServer server;
  std::string why;
  ASSERT_TRUE(server.Start(&why)) << why;
  // The environment wins over the file.
  const std::string env = "ROVIRO_DATENBANK='" + server.Address() + "'";
  r = RecordsCli(tmp, {"records", "sync"}, env);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(server.Number("SELECT COUNT(*) FROM visits WHERE station = 'Halle 2'"), 1);
  r = RecordsCli(tmp, {"records", "status"}, env);
  EXPECT_NE(r.out.find("unsent visits: 0\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("last sync:     never"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace roviro::test
