#pragma once
// The local record of visits and sets, one SQLite database in WAL mode:
//
//   <shared data>/Trevanic/DI DU-RoviroDazo/Verlauf.sqlite
//
// A visit (download, upload, operating-data read) is kept with a UUID, its time in UTC and in
// local time, the station and fitter, and what the text history keeps. The set that went with
// it (the parameter file's bytes) is kept once per SHA-256 digest, so a set written a hundred
// times is stored once; a visit and its set are committed in one transaction.
//
// The store carries its schema version (PRAGMA user_version) and migrates older ones forward;
// a store with a newer schema than this program knows is refused and never written. The
// history text files are imported once into it and kept as they are.
//
// Visits fetched from the company store (other stations) are kept beside the station's own;
// `sent` tells which of the station's own visits the company store still lacks.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/ServiceHistory.h"

struct sqlite3;
struct sqlite3_stmt;

namespace roviro {

inline constexpr const char* kRecordStoreFile = "Verlauf.sqlite";
inline constexpr int kRecordStoreSchema = 1;

struct StoredVisit {
  std::string uuid;       // "xxxxxxxx-xxxx-4xxx-yxxx-xxxxxxxxxxxx"
  std::string utc;        // "2026-12-08T16:39:05Z"
  std::string local;      // "2026-12-08 17:39:05"
  std::string station;    // the station that made the visit
  std::string fitter;     // from its contact profile
  Visit visit;            // what, where from, motor, firmware, running time, counters, events
  std::string setDigest;  // SHA-256 of the set's bytes in hex; empty: no set
};

struct StoredSet {
  std::string digest;
  std::string bytes;
};

// A random (version 4) UUID.
std::string NewUuid();
// The SHA-256 of `bytes` as 64 lower-case hex digits.
std::string Sha256Hex(std::string_view bytes);
// "2026-12-08T16:39:05Z" for the local time `local` (taken as this computer's local time).
std::string UtcTextFromLocal(const SystemTime& local);

// A visit made now at this station: `local` is the clock's local time.
StoredVisit MakeStoredVisit(const Visit& visit, const std::string& station,
                            const std::string& fitter);

enum class StoreOpenStatus { kOk, kNewerSchema, kFailed };

struct RecordCounts {
  std::int64_t visits = 0;
  std::int64_t unsentVisits = 0;
  std::int64_t sets = 0;
  std::string lastSync;  // UTC text of the last complete sync; empty: never
};

// One row of the motors on record.
struct MotorSummary {
  std::string motorKey;
  std::int64_t visits = 0;
  StoredVisit last;
};

class RecordStore {
 public:
  RecordStore() = default;
  ~RecordStore();
  RecordStore(const RecordStore&) = delete;
  RecordStore& operator=(const RecordStore&) = delete;

  // The store's path in the program's folder; empty without a shared data folder.
  static std::string PathIn(const std::string& sharedDataFolder);

  // Opens (and creates or migrates) the store at `path`. kNewerSchema leaves the file as it
  // was; `error` receives the words for the fitter on any failure.
  StoreOpenStatus Open(const std::string& path, std::string* error);
  bool IsOpen() const { return m_db != nullptr; }
  void Close();
  int SchemaVersion() const;

  // Imports the history text files of `sharedDataFolder` once (the store remembers it); the
  // visits get `station`. The number of visits imported; -1 on failure (nothing imported).
  int ImportTextHistoryOnce(const std::string& sharedDataFolder, const std::string& station);

  // Commits the visit and, when `setBytes` is given, its set in one transaction (the visit's
  // digest is set from the bytes). False when nothing was committed.
  bool AddVisit(StoredVisit* visit, const std::string* setBytes);

  // Every visit of the motor, from every station, oldest first.
  std::vector<StoredVisit> VisitsOf(const std::string& motorKey);
  std::vector<StoredVisit> AllVisits();
  std::vector<MotorSummary> Motors();
  // The motor keys on record that are `prefix` or begin with it (at most `limit`), sorted.
  std::vector<std::string> MotorsBeginning(const std::string& prefix, int limit);
  bool SetBytes(const std::string& digest, std::string* bytes);
  RecordCounts Counts();

  // For the sync: the station's own visits the company store lacks (oldest first, at most
  // `limit`), the sets among `digests` not yet sent, and marking both sent.
  std::vector<StoredVisit> UnsentVisits(int limit);
  std::vector<StoredSet> UnsentSets(const std::vector<std::string>& digests);
  bool MarkSent(const std::vector<std::string>& uuids, const std::vector<std::string>& digests);
  // The motors on record with the company store's sequence number fetched up to for each.
  std::vector<std::pair<std::string, std::int64_t>> FetchMarks();
  bool HasSet(const std::string& digest);
  // Keeps visits and sets fetched from the company store (ignoring ones already here) and
  // moves the motors' marks, in one transaction.
  bool AddFetched(const std::vector<StoredVisit>& visits, const std::vector<StoredSet>& sets,
                  const std::vector<std::pair<std::string, std::int64_t>>& marks);
  bool NoteSync(const std::string& utc);

  const std::string& LastError() const { return m_error; }

 private:
  bool Exec(const char* sql);
  bool Migrate(int from);
  bool InsertSet(const std::string& digest, std::string_view bytes, bool sent);
  bool InsertVisit(const StoredVisit& visit, bool sent);
  std::vector<StoredVisit> QueryVisits(const char* sql, const std::string* bind, int limit);
  std::string Meta(const char* key);
  bool SetMeta(const char* key, const std::string& value);
  sqlite3_stmt* Prepared(int slot, const char* sql);

  sqlite3* m_db = nullptr;
  std::vector<sqlite3_stmt*> m_statements;
  std::string m_error;
};

// Event codes as the store keeps them: EventCodesText (records/ServiceHistory.h) and back.
std::vector<std::uint8_t> ParseEventCodes(std::string_view text);
VisitKind VisitKindFromWord(std::string_view word);

}  // namespace roviro
