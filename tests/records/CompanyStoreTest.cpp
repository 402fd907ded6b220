// The company store against a real PostgreSQL server that each test starts for itself: its
// own cluster in a scratch folder, a Unix socket there and no TCP. As root (CI) the server runs
// as the "postgres" system user. Skipped only where the server's programs are missing.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "records/CompanyStore.h"
#include "records/RecordStore.h"
#include "records/VisitRecorder.h"
#include "support/PostgresServer.h"
#include "support/TempFolder.h"

namespace roviro {
namespace {

class CompanyStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    if (test::PostgresServerBinaries().empty()) GTEST_SKIP() << "no PostgreSQL server programs";
    ASSERT_TRUE(m_server.Start(&why)) << why;
  }
  // A station's local store in the scratch folder.
  void OpenLocal(RecordStore& store, const std::string& name) {
    ASSERT_EQ(store.Open(m_tmp.File(name + ".sqlite"), nullptr), StoreOpenStatus::kOk);
  }
  static StoredVisit At(const std::string& station, const std::string& motor, int second) {
    Visit v;
    v.motorKey = motor;
    v.time = SystemTime{2026, 12, 0, 9, 10, 0, static_cast<std::uint16_t>(second % 60), 0};
    v.runningSeconds = second;
    v.counter1 = 1;
    v.counter2 = 2;
    v.events = {1, 2, 3};
    StoredVisit s = MakeStoredVisit(v, station, "Firma " + station);
    s.utc = "2026-12-09T10:" + std::to_string(10 + second / 60) + ":" +
            std::to_string(10 + second % 60) + "Z";
    return s;
  }
  SyncReport SyncOnce(RecordStore& store, const std::string& station) {
    CompanyStore company;
    std::string error;
    if (company.Connect(m_server.Address(), &error) != SyncStatus::kDone) {
      ADD_FAILURE() << error;
      return {};
    }
    return company.Sync(store, station);
  }

  test::TempFolder m_tmp;
  test::PostgresServer m_server;
};

TEST_F(CompanyStoreTest, TwoStationsSeeEachOthersVisitsAndSetsAndANewerSchemaIsLeftAlone) {
  RecordStore a;
  RecordStore b;
  OpenLocal(a, "a");
  OpenLocal(b, "b");
  const std::string set = "set bytes of station A";
  for (int i = 0; i < 3; ++i) {
    StoredVisit v = At("A", "013210-1-2", i);
    ASSERT_TRUE(a.AddVisit(&v, i == 0 ? &set : nullptr));
  }
  for (int i = 0; i < 2; ++i) {
    StoredVisit v = At("B", "013210-1-2", 10 + i);
    ASSERT_TRUE(b.AddVisit(&v, nullptr));
  }
  StoredVisit other = At("B", "0000AA-9-9", 20);
  ASSERT_TRUE(b.AddVisit(&other, nullptr));

  EXPECT_EQ(SyncOnce(a, "A").sentVisits, 3);
  const SyncReport fromB = SyncOnce(b, "B");
  EXPECT_EQ(fromB.status, SyncStatus::kDone);
  EXPECT_EQ(fromB.fetchedVisits, 3);
  EXPECT_EQ(SyncOnce(a, "A").fetchedVisits, 2);  // B's other motor is not on A's record

  const auto seenByA = a.VisitsOf("013210-1-2");
  ASSERT_EQ(seenByA.size(), 5u);
  EXPECT_EQ(seenByA.back().station, "B");
  EXPECT_EQ(seenByA.back().fitter, "Firma B");
  EXPECT_TRUE(a.VisitsOf("0000AA-9-9").empty());
  const auto seenByB = b.VisitsOf("013210-1-2");
  ASSERT_EQ(seenByB.size(), 5u);
  EXPECT_EQ(seenByB.front().station, "A");
  EXPECT_EQ(seenByB.front().visit.events, (std::vector<std::uint8_t>{1, 2, 3}));
  std::string bytes;
  ASSERT_TRUE(b.SetBytes(seenByB.front().setDigest, &bytes));
  EXPECT_EQ(bytes, set);

  // Repeated syncs send and fetch nothing twice.
  const SyncReport again = SyncOnce(b, "B");
  EXPECT_EQ(again.sentVisits, 0);
  EXPECT_EQ(b.VisitsOf("013210-1-2").size(), 5u);
  EXPECT_EQ(a.Counts().unsentVisits, 0);
  EXPECT_EQ(m_server.Number("SELECT COUNT(*) FROM visits"), 6);
  EXPECT_EQ(m_server.Number("SELECT COUNT(*) FROM sets"), 1);

  // A company store of a later program is refused and not written.
  ASSERT_TRUE(m_server.Exec("UPDATE roviro_schema SET version = 7"));
  StoredVisit late = At("A", "013210-1-2", 30);
  ASSERT_TRUE(a.AddVisit(&late, nullptr));
  CompanyStore company;
  std::string error;
  EXPECT_EQ(company.Connect(m_server.Address(), &error), SyncStatus::kNewerSchema);
  EXPECT_NE(error.find("Schema 7"), std::string::npos) << error;
  EXPECT_EQ(m_server.Number("SELECT COUNT(*) FROM visits"), 6);
  EXPECT_EQ(a.Counts().unsentVisits, 1);
}

TEST_F(CompanyStoreTest, AServerStoppedInTheMiddleOfASyncLosesNothingAndTheNextSyncCompletes) {
  RecordStore a;
  OpenLocal(a, "a");
  const int total = 2 * kSyncBatch + 37;
  for (int i = 0; i < total; ++i) {
    StoredVisit v = At("A", "013210-1-" + std::to_string(i % 7), i);
    const std::string set = "set " + std::to_string(i % 5);
    ASSERT_TRUE(a.AddVisit(&v, &set));
  }
  {
    // Cut off where it hurts most: the company store has committed the second batch, the
    // local store has not yet marked it sent.
    CompanyStore company;
    std::string error;
    ASSERT_EQ(company.Connect(m_server.Address(), &error), SyncStatus::kDone) << error;
    company.SetBatchObserver([&](int batch) {
      if (batch < 1) return true;
      m_server.Down();
      return false;
    });
    const SyncReport cut = company.Sync(a, "A");
    EXPECT_NE(cut.status, SyncStatus::kDone);
    EXPECT_EQ(cut.sentVisits, kSyncBatch);
  }
  EXPECT_EQ(a.Counts().unsentVisits, total - kSyncBatch);
  EXPECT_EQ(a.Counts().visits, total);

  // Unreachable now: nothing changes locally.
  {
    CompanyStore company;
    std::string error;
    EXPECT_EQ(company.Connect(m_server.Address(), &error), SyncStatus::kUnreachable);
  }
  ASSERT_TRUE(m_server.Up());
  const SyncReport done = SyncOnce(a, "A");
  EXPECT_EQ(done.status, SyncStatus::kDone) << done.error;
  EXPECT_EQ(done.sentVisits, total - kSyncBatch);
  EXPECT_EQ(a.Counts().unsentVisits, 0);
  EXPECT_EQ(m_server.Number("SELECT COUNT(*) FROM visits"), total);
  EXPECT_EQ(m_server.Number("SELECT COUNT(DISTINCT uuid) FROM visits"), total);
  EXPECT_EQ(m_server.Number("SELECT COUNT(*) FROM sets"), 5);
  EXPECT_EQ(m_server.Number("SELECT COUNT(*) FROM visits WHERE set_digest NOT IN "
                            "(SELECT digest FROM sets)"),
            0);
}

}  // namespace
}  // namespace roviro

namespace roviro {
namespace {

// The recorder as the window uses it: a visit committed locally at once, sent by the sync
// thread; an unreachable store told once however many visits follow.
TEST_F(CompanyStoreTest, TheRecorderSyncsInTheBackgroundAndTellsAnUnreachableStoreOnce) {
  ProgramSettings settings;
  settings.station = "Halle 7";
  settings.databaseAddress = m_server.Address();
  ContactRecord contact;
  contact.company = "Rollladen Meier";
  const std::string shared = m_tmp.File("shared");
  Visit visit;
  visit.motorKey = "013210-1-2";
  visit.time = SystemTime{2026, 12, 0, 9, 12, 0, 0, 0};
  {
    VisitRecorder recorder(shared, settings, contact);
    ASSERT_TRUE(recorder.Record(visit));
    recorder.WaitForSync();
    EXPECT_EQ(recorder.TakeNotice(), "");
  }
  EXPECT_EQ(m_server.Number("SELECT COUNT(*) FROM visits WHERE station = 'Halle 7' AND "
                            "fitter = 'Rollladen Meier'"),
            1);

  ASSERT_TRUE(m_server.Down());
  VisitRecorder recorder(shared, settings, contact);
  int told = 0;
  recorder.OnNotice([&] { ++told; });
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(recorder.Record(visit));  // committed locally, whatever the network does
    recorder.WaitForSync();
  }
  EXPECT_EQ(told, 1);
  EXPECT_NE(recorder.TakeNotice().find("nicht erreichbar"), std::string::npos);
  ASSERT_NE(recorder.Store(), nullptr);
  EXPECT_EQ(recorder.Store()->Counts().visits, 4);
  EXPECT_EQ(recorder.Store()->Counts().unsentVisits, 3);
}

// A server that takes the connection but never answers (a store behind a dead link): the
// program's end gives the attempt up instead of waiting for the connect timeout.
TEST(CompanyStoreStop, AConnectionAttemptGivesUpWhenTheProgramEnds) {
  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(listener, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof at;
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&at), size), 0);
  ASSERT_EQ(::listen(listener, 4), 0);
  ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&at), &size), 0);
  std::atomic<bool> stop{true};
  CompanyStore company;
  company.SetStopFlag(&stop);
  std::string error;
  EXPECT_EQ(company.Connect("host=127.0.0.1 port=" + std::to_string(ntohs(at.sin_port)), &error),
            SyncStatus::kUnreachable);
  EXPECT_EQ(error, "stopped");
  ::close(listener);
}

}  // namespace
}  // namespace roviro
