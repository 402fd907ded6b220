#pragma once
// The company store: one PostgreSQL database that every station syncs its local record with.
//
// Offline first: a visit is always committed to the local store (RecordStore) first; Sync
// then sends what the company store lacks and fetches the other stations' visits and sets of
// the motors this station has on record. Sending is idempotent: visits are keyed by their
// UUID and sets by their digest, and a batch is marked sent locally only after the company
// store committed it, so a sync cut off anywhere is repeated without duplicates.
//
// The company store carries its schema version (table roviro_schema) and is migrated forward;
// one with a newer schema than this program knows is refused and never written.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "records/RecordStore.h"

struct pg_conn;

namespace roviro {

inline constexpr int kCompanyStoreSchema = 1;
// Visits sent in one transaction.
inline constexpr int kSyncBatch = 500;

enum class SyncStatus { kDone, kUnreachable, kNewerSchema, kFailed };

struct SyncReport {
  SyncStatus status = SyncStatus::kFailed;
  std::int64_t sentVisits = 0;
  std::int64_t sentSets = 0;
  std::int64_t fetchedVisits = 0;
  std::string error;  // why the sync did not complete
};

class CompanyStore {
 public:
  CompanyStore() = default;
  ~CompanyStore();
  CompanyStore(const CompanyStore&) = delete;
  CompanyStore& operator=(const CompanyStore&) = delete;

  // Connects to `address` (a libpq connection string or URI) and checks, creates or migrates
  // the schema. kDone when the store can be used.
  SyncStatus Connect(const std::string& address, std::string* error);
  void Disconnect();

  // A flag another thread sets when the program ends: a connection attempt under way is given
  // up within 50 ms and no further batch is sent (what was sent stays sent; the next sync goes
  // on from there).
  void SetStopFlag(const std::atomic<bool>* stop) { m_stop = stop; }

  // Sends the local store's unsent visits and sets, then fetches the other stations' visits
  // of the motors on record. `station` is this station's name.
  SyncReport Sync(RecordStore& local, const std::string& station);

  // Called after each batch the company store committed, before it is marked sent locally;
  // false ends the sync there as a crash would (tests cut a sync off at that point).
  void SetBatchObserver(std::function<bool(int batch)> observer) {
    m_batchObserver = std::move(observer);
  }

 private:
  bool Stopped() const;
  bool Run(const char* sql, std::string* error);
  bool SendBatch(RecordStore& local, const std::vector<StoredVisit>& visits, SyncReport* report);
  bool Fetch(RecordStore& local, const std::string& station, SyncReport* report);

  pg_conn* m_conn = nullptr;
  std::function<bool(int)> m_batchObserver;
  const std::atomic<bool>* m_stop = nullptr;
};

// "Die Firmendatenbank ist nicht erreichbar: ..." and the like, for the fitter.
std::string SyncFailureText(const SyncReport& report);

}  // namespace roviro
