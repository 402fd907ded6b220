// The local store: the text history imported once, sets stored once per digest, a newer
// schema refused untouched, and a process killed while committing.

#include <gtest/gtest.h>

#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include "catalogue/Archive.h"
#include "platform/Paths.h"
#include "records/RecordStore.h"
#include "support/TempFolder.h"

namespace roviro {
namespace {

Visit StoreTestVisit(const std::string& motor, int second) {
  Visit v;
  v.motorKey = motor;
  v.time = SystemTime{2026, 12, 0, 8, 17, 39, static_cast<std::uint16_t>(second), 0};
  v.runningSeconds = 100 + second;
  v.counter1 = 4;
  v.counter2 = 5;
  return v;
}

TEST(RecordStoreTest, TextHistoryIsImportedOnceAndASetWrittenTwiceIsStoredOnce) {
  test::TempFolder tmp;
  const std::string shared = tmp.Path();
  ASSERT_TRUE(AppendVisit(shared, StoreTestVisit("013210-1-2", 1)));
  ASSERT_TRUE(AppendVisit(shared, StoreTestVisit("013210-1-2", 2)));
  ASSERT_TRUE(AppendVisit(shared, StoreTestVisit("0000AA-3-4", 3)));
  {
    RecordStore store;
    ASSERT_EQ(store.Open(RecordStore::PathIn(shared), nullptr), StoreOpenStatus::kOk);
    EXPECT_EQ(store.SchemaVersion(), kRecordStoreSchema);
    EXPECT_EQ(store.ImportTextHistoryOnce(shared, "Halle 2"), 3);
    EXPECT_EQ(store.ImportTextHistoryOnce(shared, "Halle 2"), 0);
  }
  RecordStore store;
  ASSERT_EQ(store.Open(RecordStore::PathIn(shared), nullptr), StoreOpenStatus::kOk);
  EXPECT_EQ(store.ImportTextHistoryOnce(shared, "Halle 2"), 0);
  const auto visits = store.VisitsOf("013210-1-2");
  ASSERT_EQ(visits.size(), 2u);
  EXPECT_EQ(visits[1].station, "Halle 2");
  EXPECT_EQ(visits[1].local, "2026-12-08 17:39:02");
  EXPECT_EQ(visits[1].visit.runningSeconds, 102);
  EXPECT_TRUE(FileExists(HistoryFilePath(shared, "013210-1-2")));  // the text files stay

  const std::string set = std::string("binary\0set", 10);
  StoredVisit first = MakeStoredVisit(StoreTestVisit("013210-1-2", 4), "Halle 2", "Firma");
  StoredVisit second = MakeStoredVisit(StoreTestVisit("013210-1-2", 5), "Halle 2", "Firma");
  ASSERT_TRUE(store.AddVisit(&first, &set));
  ASSERT_TRUE(store.AddVisit(&second, &set));
  EXPECT_EQ(first.setDigest, Sha256Hex(set));
  EXPECT_EQ(second.setDigest, first.setDigest);
  const RecordCounts counts = store.Counts();
  EXPECT_EQ(counts.visits, 5);
  EXPECT_EQ(counts.sets, 1);
  std::string bytes;
  ASSERT_TRUE(store.SetBytes(first.setDigest, &bytes));
  EXPECT_EQ(bytes, set);
  // A visit with a UUID already on record is not kept twice.
  EXPECT_TRUE(store.AddVisit(&first, &set));
  EXPECT_EQ(store.Counts().visits, 5);
  ASSERT_EQ(store.Motors().size(), 2u);
  EXPECT_EQ(store.Motors()[1].visits, 4);
}

TEST(RecordStoreTest, ANewerSchemaIsRefusedAndTheFileLeftAsItWas) {
  test::TempFolder tmp;
  const std::string path = tmp.File("Verlauf.sqlite");
  {
    RecordStore store;
    ASSERT_EQ(store.Open(path, nullptr), StoreOpenStatus::kOk);
    StoredVisit v = MakeStoredVisit(StoreTestVisit("013210-1-2", 1), "S", "F");
    ASSERT_TRUE(store.AddVisit(&v, nullptr));
  }
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA user_version=9", nullptr, nullptr,
                         nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  std::string before;
  ASSERT_TRUE(ReadWholeFile(path, &before));

  RecordStore store;
  std::string error;
  EXPECT_EQ(store.Open(path, &error), StoreOpenStatus::kNewerSchema);
  EXPECT_NE(error.find("Schema 9"), std::string::npos) << error;
  EXPECT_FALSE(store.IsOpen());
  StoredVisit v = MakeStoredVisit(StoreTestVisit("013210-1-2", 2), "S", "F");
  EXPECT_FALSE(store.AddVisit(&v, nullptr));
  std::string after;
  ASSERT_TRUE(ReadWholeFile(path, &after));
  EXPECT_EQ(after, before);
  EXPECT_FALSE(FileExists(path + "-wal"));
}

TEST(RecordStoreTest, AProcessKilledWhileCommittingLeavesTheStoreIntact) {
  test::TempFolder tmp;
  const std::string path = tmp.File("Verlauf.sqlite");
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    RecordStore store;
    if (store.Open(path, nullptr) != StoreOpenStatus::kOk) _exit(1);
    for (int i = 0;; ++i) {
      StoredVisit v = MakeStoredVisit(StoreTestVisit("013210-1-2", i % 60), "S", "F");
      const std::string set(4000 + i % 97, static_cast<char>(i));
      if (!store.AddVisit(&v, &set)) _exit(2);
      if (i == 20 && write(ready[1], "x", 1) != 1) _exit(3);
    }
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  close(ready[0]);
  close(ready[1]);
  ASSERT_TRUE(WIFSIGNALED(status));

  RecordStore store;
  ASSERT_EQ(store.Open(path, nullptr), StoreOpenStatus::kOk);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  sqlite3_stmt* s = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &s, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)), "ok");
  sqlite3_finalize(s);
  sqlite3_close(db);
  // Every visit committed has its set with it.
  const auto visits = store.AllVisits();
  EXPECT_GE(visits.size(), 21u);
  for (const StoredVisit& v : visits) {
    std::string bytes;
    ASSERT_TRUE(store.SetBytes(v.setDigest, &bytes)) << v.uuid;
    EXPECT_EQ(Sha256Hex(bytes), v.setDigest);
  }
  StoredVisit more = MakeStoredVisit(StoreTestVisit("013210-1-2", 1), "S", "F");
  EXPECT_TRUE(store.AddVisit(&more, nullptr));
}

}  // namespace
}  // namespace roviro
