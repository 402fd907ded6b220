// The records: one visit's commit to the local store, `history MOTOR` over a store of 100,000
// visits, and a sync of 10,000 visits to a PostgreSQL server on this machine (started by the
// benchmark in a scratch folder, as the tests start theirs).

#include <benchmark/benchmark.h>

#include <sqlite3.h>

#include <filesystem>
#include <random>
#include <string>

#include "records/CompanyStore.h"
#include "records/RecordStore.h"
#include "records/ServiceHistory.h"
#include "tests/support/PostgresServer.h"

namespace roviro {
namespace {

class RecordsBenchFolder {
 public:
  RecordsBenchFolder() {
    std::random_device rd;
    m_path =
        (std::filesystem::temp_directory_path() / ("roviro-bench-records-" + std::to_string(rd())))
            .string();
    std::filesystem::create_directories(m_path);
  }
  ~RecordsBenchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  std::string File(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

StoredVisit BenchVisit(int motor, int n) {
  Visit v;
  v.motorKey = "0132" + std::to_string(10 + motor % 90) + "-" + std::to_string(motor) + "-2";
  v.kind = n % 3 == 0 ? VisitKind::kUpload : VisitKind::kDownload;
  v.time = SystemTime{2026,
                      12,
                      0,
                      9,
                      8,
                      static_cast<std::uint16_t>(n / 60 % 60),
                      static_cast<std::uint16_t>(n % 60),
                      0};
  v.runningSeconds = 1000 + n * 60;
  v.counter1 = n % 200;
  v.counter2 = n % 50;
  v.events = {1, 2, 3, 2, 4, 3, 11, 2, 3, static_cast<std::uint8_t>(n)};
  v.firmware = 0x52;
  StoredVisit s = MakeStoredVisit(v, "Werk " + std::to_string(n % 4), "Firma");
  return s;
}

// A 12 KB set that differs per `n`, as parameter files of different motors do.
std::string BenchSet(int n) {
  std::string set(12 * 1024, '\0');
  std::mt19937 random(static_cast<unsigned>(n));
  for (char& c : set) c = static_cast<char>(random());
  return set;
}

void BM_LocalCommitOfOneVisit(benchmark::State& state) {
  RecordsBenchFolder folder;
  RecordStore store;
  if (store.Open(folder.File("Verlauf.sqlite"), nullptr) != StoreOpenStatus::kOk) {
    state.SkipWithError("store not opened");
    return;
  }
  int n = 0;
  std::string set = BenchSet(0);
  for (auto _ : state) {
    StoredVisit v = BenchVisit(n % 100, n);
    set[0] = static_cast<char>(n);
    set[1] = static_cast<char>(n >> 8);
    set[2] = static_cast<char>(n >> 16);
    if (!store.AddVisit(&v, &set)) state.SkipWithError("commit failed");
    ++n;
  }
}
BENCHMARK(BM_LocalCommitOfOneVisit)->Unit(benchmark::kMillisecond);

// 100,000 visits of 1,000 motors; each iteration does what `roviro-cli history MOTOR` does
// with the store: open it, find the motor, read and describe its visits.
void BM_HistoryOfOneMotorAmong100000Visits(benchmark::State& state) {
  RecordsBenchFolder folder;
  const std::string path = folder.File("Verlauf.sqlite");
  {
    RecordStore store;
    if (store.Open(path, nullptr) != StoreOpenStatus::kOk) {
      state.SkipWithError("store not opened");
      return;
    }
    std::vector<StoredVisit> visits;
    for (int n = 0; n < 100000; ++n) visits.push_back(BenchVisit(n % 1000, n));
    if (!store.AddFetched(visits, {}, {})) state.SkipWithError("filling failed");
  }
  const std::string motor = BenchVisit(537, 537).visit.motorKey;
  std::size_t shown = 0;
  for (auto _ : state) {
    RecordStore store;
    store.Open(path, nullptr);
    const std::vector<std::string> keys = store.MotorsBeginning(motor, 2);
    const std::vector<StoredVisit> stored = store.VisitsOf(keys.front());
    std::vector<Visit> visits;
    std::vector<std::string> who;
    for (const StoredVisit& v : stored) {
      visits.push_back(v.visit);
      who.push_back("station " + v.station + ", fitter " + v.fitter);
    }
    const std::string text = DescribeVisits(visits, who);
    benchmark::DoNotOptimize(text.data());
    shown = stored.size();
  }
  state.counters["visits_shown"] = static_cast<double>(shown);
}
BENCHMARK(BM_HistoryOfOneMotorAmong100000Visits)->Unit(benchmark::kMillisecond);

// 10,000 unsent visits (1,000 sets of 12 KB among them) sent to an empty company store.
void BM_Sync10000VisitsToALocalServer(benchmark::State& state) {
  if (test::PostgresServerBinaries().empty()) {
    state.SkipWithError("no PostgreSQL server programs");
    return;
  }
  test::PostgresServer server;
  std::string why;
  if (!server.Start(&why)) {
    state.SkipWithError(why.c_str());
    return;
  }
  RecordsBenchFolder folder;
  const std::string path = folder.File("Verlauf.sqlite");
  RecordStore store;
  if (store.Open(path, nullptr) != StoreOpenStatus::kOk) {
    state.SkipWithError("store not opened");
    return;
  }
  std::vector<StoredVisit> visits;
  std::vector<StoredSet> sets;
  for (int n = 0; n < 10000; ++n) {
    StoredVisit v = BenchVisit(n % 300, n);
    if (n % 10 == 0) {
      sets.push_back({std::string(), BenchSet(n)});
      sets.back().digest = Sha256Hex(sets.back().bytes);
      v.setDigest = sets.back().digest;
    }
    visits.push_back(v);
  }
  store.AddFetched(visits, sets, {});
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  std::int64_t sent = 0;
  for (auto _ : state) {
    state.PauseTiming();
    // Unsent again, and a company store that has none of them.
    sqlite3_exec(db, "UPDATE visits SET sent=0; UPDATE sets SET sent=0; DELETE FROM fetch_marks",
                 nullptr, nullptr, nullptr);
    server.Exec("DROP TABLE IF EXISTS visits, sets, roviro_schema");
    state.ResumeTiming();
    CompanyStore company;
    std::string error;
    if (company.Connect(server.Address(), &error) != SyncStatus::kDone) {
      state.SkipWithError(error.c_str());
      break;
    }
    const SyncReport report = company.Sync(store, "Werk 9");
    if (report.status != SyncStatus::kDone) state.SkipWithError(report.error.c_str());
    sent = report.sentVisits;
  }
  sqlite3_close(db);
  state.counters["visits_sent"] = static_cast<double>(sent);
}
BENCHMARK(BM_Sync10000VisitsToALocalServer)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace roviro
