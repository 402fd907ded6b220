#include "records/RecordStore.h"

#include <openssl/evp.h>
#include <sqlite3.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <random>

#include "platform/Folders.h"
#include "platform/Paths.h"
#include "platform/Translation.h"

namespace roviro {

namespace {

constexpr const char* kVisitColumns =
    "uuid, utc, local, station, fitter, kind, source, motor, firmware, running, counter1, "
    "counter2, events, result, set_digest";

// The schema of version 1. Every later version adds a step to Migrate.
constexpr const char* kSchema1 =
    "CREATE TABLE meta (key TEXT PRIMARY KEY, value TEXT NOT NULL);"
    "CREATE TABLE sets (digest TEXT PRIMARY KEY, bytes BLOB NOT NULL, sent INTEGER NOT NULL);"
    "CREATE TABLE visits (uuid TEXT PRIMARY KEY, utc TEXT NOT NULL, local TEXT NOT NULL,"
    " station TEXT NOT NULL, fitter TEXT NOT NULL, kind TEXT NOT NULL, source TEXT NOT NULL,"
    " motor TEXT NOT NULL, firmware INTEGER NOT NULL, running INTEGER NOT NULL,"
    " counter1 INTEGER NOT NULL, counter2 INTEGER NOT NULL, events TEXT NOT NULL,"
    " result TEXT NOT NULL, set_digest TEXT REFERENCES sets(digest), sent INTEGER NOT NULL);"
    "CREATE INDEX visits_motor ON visits(motor, utc);"
    "CREATE INDEX visits_unsent ON visits(sent, utc);"
    "CREATE TABLE fetch_marks (motor TEXT PRIMARY KEY, seq INTEGER NOT NULL);";

// Slots of the prepared statements kept open.
enum Slot { kInsertVisit, kInsertSet, kVisitsOf, kSlots };

std::string ColumnText(sqlite3_stmt* s, int i) {
  const auto* t = sqlite3_column_text(s, i);
  return t == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(t));
}

StoredVisit ReadVisitRow(sqlite3_stmt* s) {
  StoredVisit v;
  v.uuid = ColumnText(s, 0);
  v.utc = ColumnText(s, 1);
  v.local = ColumnText(s, 2);
  v.station = ColumnText(s, 3);
  v.fitter = ColumnText(s, 4);
  v.visit.kind = VisitKindFromWord(ColumnText(s, 5));
  v.visit.source = ColumnText(s, 6);
  v.visit.motorKey = ColumnText(s, 7);
  v.visit.firmware = sqlite3_column_int(s, 8);
  v.visit.runningSeconds = sqlite3_column_int64(s, 9);
  v.visit.counter1 = sqlite3_column_int(s, 10);
  v.visit.counter2 = sqlite3_column_int(s, 11);
  v.visit.events = ParseEventCodes(ColumnText(s, 12));
  v.visit.result = ColumnText(s, 13);
  v.setDigest = ColumnText(s, 14);
  // The local time back as the text history has it.
  unsigned y = 0, mo = 0, d = 0, h = 0, mi = 0, se = 0;
  if (std::sscanf(v.local.c_str(), "%4u-%2u-%2u %2u:%2u:%2u", &y, &mo, &d, &h, &mi, &se) == 6) {
    v.visit.time.year = static_cast<std::uint16_t>(y);
    v.visit.time.month = static_cast<std::uint16_t>(mo);
    v.visit.time.day = static_cast<std::uint16_t>(d);
    v.visit.time.hour = static_cast<std::uint16_t>(h);
    v.visit.time.minute = static_cast<std::uint16_t>(mi);
    v.visit.time.second = static_cast<std::uint16_t>(se);
  }
  return v;
}

// Binds `text` as a transient copy.
void BindText(sqlite3_stmt* s, int i, const std::string& text) {
  sqlite3_bind_text(s, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// A UUID made from a digest: the station's imported lines get the same one on every import.
std::string UuidFromDigest(const std::string& hex) {
  std::string u = hex.substr(0, 32);
  u[12] = '5';
  static constexpr char kVariant[] = "89ab";
  u[16] = kVariant[static_cast<unsigned char>(u[16]) % 4];
  return u.substr(0, 8) + '-' + u.substr(8, 4) + '-' + u.substr(12, 4) + '-' + u.substr(16, 4) +
         '-' + u.substr(20, 12);
}

}  // namespace

std::vector<std::uint8_t> ParseEventCodes(std::string_view text) {
  std::vector<std::uint8_t> out;
  if (text == "-") return out;
  unsigned value = 0;
  int digits = 0;
  for (char c : text) {
    const int d = c >= '0' && c <= '9'   ? c - '0'
                  : c >= 'A' && c <= 'F' ? c - 'A' + 10
                  : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                         : -1;
    if (d < 0) {
      if (digits > 0) out.push_back(static_cast<std::uint8_t>(value));
      value = 0;
      digits = 0;
      continue;
    }
    value = (value << 4 | static_cast<unsigned>(d)) & 0xFF;
    ++digits;
  }
  if (digits > 0) out.push_back(static_cast<std::uint8_t>(value));
  return out;
}

VisitKind VisitKindFromWord(std::string_view word) {
  if (word == VisitKindWord(VisitKind::kUpload)) return VisitKind::kUpload;
  if (word == VisitKindWord(VisitKind::kOperatingData)) return VisitKind::kOperatingData;
  return VisitKind::kDownload;
}

std::string NewUuid() {
  static thread_local std::mt19937_64 generator{[] {
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device(), device(), device()};
    return std::mt19937_64(seed);
  }()};
  unsigned char b[16];
  for (int i = 0; i < 16; i += 8) {
    const std::uint64_t r = generator();
    for (int k = 0; k < 8; ++k) b[i + k] = static_cast<unsigned char>(r >> (8 * k));
  }
  b[6] = static_cast<unsigned char>((b[6] & 0x0F) | 0x40);
  b[8] = static_cast<unsigned char>((b[8] & 0x3F) | 0x80);
  char out[37];
  std::snprintf(out, sizeof out,
                "%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x", b[0], b[1],
                b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14],
                b[15]);
  return out;
}

std::string Sha256Hex(std::string_view bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr);
  std::string out;
  char hex[3];
  for (unsigned i = 0; i < size; ++i) {
    std::snprintf(hex, sizeof hex, "%02x", digest[i]);
    out += hex;
  }
  return out;
}

std::string UtcTextFromLocal(const SystemTime& local) {
  std::tm tm{};
  tm.tm_year = local.year - 1900;
  tm.tm_mon = local.month - 1;
  tm.tm_mday = local.day;
  tm.tm_hour = local.hour;
  tm.tm_min = local.minute;
  tm.tm_sec = local.second;
  tm.tm_isdst = -1;
  const std::time_t t = std::mktime(&tm);
  std::tm utc{};
  char out[32] = "";
  if (t != static_cast<std::time_t>(-1) && gmtime_r(&t, &utc) != nullptr) {
    std::strftime(out, sizeof out, "%Y-%m-%dT%H:%M:%SZ", &utc);
  }
  return out;
}

StoredVisit MakeStoredVisit(const Visit& visit, const std::string& station,
                            const std::string& fitter) {
  StoredVisit v;
  v.uuid = NewUuid();
  v.utc = UtcTextFromLocal(visit.time);
  v.local = VisitTimeText(visit.time);
  v.station = station;
  v.fitter = fitter;
  v.visit = visit;
  return v;
}

// ---------------------------------------------------------------------------------------------

RecordStore::~RecordStore() { Close(); }

std::string RecordStore::PathIn(const std::string& sharedDataFolder) {
  if (sharedDataFolder.empty()) return {};
  return NormalisePath(sharedDataFolder + kCompanyFolder + kRecordStoreFile);
}

void RecordStore::Close() {
  for (sqlite3_stmt* s : m_statements) sqlite3_finalize(s);
  m_statements.clear();
  if (m_db != nullptr) sqlite3_close(m_db);
  m_db = nullptr;
}

bool RecordStore::Exec(const char* sql) {
  char* message = nullptr;
  if (sqlite3_exec(m_db, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
  m_error = message != nullptr ? message : sqlite3_errmsg(m_db);
  sqlite3_free(message);
  return false;
}

sqlite3_stmt* RecordStore::Prepared(int slot, const char* sql) {
  if (m_statements.size() < kSlots) m_statements.resize(kSlots, nullptr);
  sqlite3_stmt*& s = m_statements[static_cast<std::size_t>(slot)];
  if (s == nullptr && sqlite3_prepare_v2(m_db, sql, -1, &s, nullptr) != SQLITE_OK) {
    m_error = sqlite3_errmsg(m_db);
    s = nullptr;
  }
  if (s != nullptr) {
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
  }
  return s;
}

int RecordStore::SchemaVersion() const {
  if (m_db == nullptr) return 0;
  sqlite3_stmt* s = nullptr;
  int version = -1;
  if (sqlite3_prepare_v2(m_db, "PRAGMA user_version", -1, &s, nullptr) == SQLITE_OK &&
      sqlite3_step(s) == SQLITE_ROW) {
    version = sqlite3_column_int(s, 0);
  }
  sqlite3_finalize(s);
  return version;
}

StoreOpenStatus RecordStore::Open(const std::string& path, std::string* error) {
  Close();
  auto fail = [&](StoreOpenStatus status, const std::string& words) {
    if (error != nullptr) *error = words;
    m_error = words;
    Close();
    return status;
  };
  if (path.empty())
    return fail(StoreOpenStatus::kFailed, Tx("Kein Datenordner f\xFC"
                                             "r den Verlauf."));
  const std::string folder = FolderOf(path);
  if (!folder.empty() && !FolderExists(folder)) CreateFolderTree(folder);
  if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    const std::string why = m_db != nullptr ? sqlite3_errmsg(m_db) : "out of memory";
    return fail(StoreOpenStatus::kFailed, path + ": " + why);
  }
  sqlite3_busy_timeout(m_db, 5000);
  // The version is read before anything is written: a newer store stays as it is.
  const int version = SchemaVersion();
  if (version < 0) {
    return fail(StoreOpenStatus::kFailed,
                Tx("%1: ist keine lesbare Verlaufsdatenbank (%2)", {path, sqlite3_errmsg(m_db)}));
  }
  if (version > kRecordStoreSchema) {
    return fail(StoreOpenStatus::kNewerSchema,
                Tx("%1: Die Verlaufsdatenbank hat das Schema %2, dieses Programm kennt nur bis "
                   "%3. Sie wird nicht ver\xE4"
                   "ndert; bitte das Programm aktualisieren.",
                   {path, std::to_string(version), std::to_string(kRecordStoreSchema)}));
  }
  if (!Exec("PRAGMA journal_mode=WAL") || !Exec("PRAGMA synchronous=FULL") ||
      !Exec("PRAGMA foreign_keys=ON")) {
    return fail(StoreOpenStatus::kFailed, path + ": " + m_error);
  }
  if (version < kRecordStoreSchema && !Migrate(version)) {
    return fail(StoreOpenStatus::kFailed, path + ": " + m_error);
  }
  return StoreOpenStatus::kOk;
}

bool RecordStore::Migrate(int from) {
  if (!Exec("BEGIN IMMEDIATE")) return false;
  // Another process may have migrated meanwhile.
  const int now = SchemaVersion();
  bool ok = true;
  if (now > kRecordStoreSchema) {
    m_error = "newer schema";
    ok = false;
  }
  if (ok && now < 1) ok = Exec(kSchema1);
  (void)from;
  if (ok) ok = Exec(("PRAGMA user_version=" + std::to_string(kRecordStoreSchema)).c_str());
  if (ok) return Exec("COMMIT");
  Exec("ROLLBACK");
  return false;
}

std::string RecordStore::Meta(const char* key) {
  sqlite3_stmt* s = nullptr;
  std::string value;
  if (sqlite3_prepare_v2(m_db, "SELECT value FROM meta WHERE key=?", -1, &s, nullptr) ==
      SQLITE_OK) {
    sqlite3_bind_text(s, 1, key, -1, SQLITE_STATIC);
    if (sqlite3_step(s) == SQLITE_ROW) value = ColumnText(s, 0);
  }
  sqlite3_finalize(s);
  return value;
}

bool RecordStore::SetMeta(const char* key, const std::string& value) {
  sqlite3_stmt* s = nullptr;
  bool ok = sqlite3_prepare_v2(m_db, "INSERT OR REPLACE INTO meta(key, value) VALUES(?, ?)", -1, &s,
                               nullptr) == SQLITE_OK;
  if (ok) {
    sqlite3_bind_text(s, 1, key, -1, SQLITE_STATIC);
    BindText(s, 2, value);
    ok = sqlite3_step(s) == SQLITE_DONE;
  }
  if (!ok) m_error = sqlite3_errmsg(m_db);
  sqlite3_finalize(s);
  return ok;
}

bool RecordStore::InsertSet(const std::string& digest, std::string_view bytes, bool sent) {
  sqlite3_stmt* s =
      Prepared(kInsertSet, "INSERT OR IGNORE INTO sets(digest, bytes, sent) VALUES(?, ?, ?)");
  if (s == nullptr) return false;
  BindText(s, 1, digest);
  sqlite3_bind_blob(s, 2, bytes.data(), static_cast<int>(bytes.size()), SQLITE_STATIC);
  sqlite3_bind_int(s, 3, sent ? 1 : 0);
  const bool ok = sqlite3_step(s) == SQLITE_DONE;
  if (!ok) m_error = sqlite3_errmsg(m_db);
  sqlite3_reset(s);
  return ok;
}

bool RecordStore::InsertVisit(const StoredVisit& v, bool sent) {
  sqlite3_stmt* s = Prepared(
      kInsertVisit,
      "INSERT OR IGNORE INTO visits(uuid, utc, local, station, fitter, kind, source, motor, "
      "firmware, running, counter1, counter2, events, result, set_digest, sent) "
      "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  if (s == nullptr) return false;
  BindText(s, 1, v.uuid);
  BindText(s, 2, v.utc);
  BindText(s, 3, v.local);
  BindText(s, 4, v.station);
  BindText(s, 5, v.fitter);
  sqlite3_bind_text(s, 6, VisitKindWord(v.visit.kind), -1, SQLITE_STATIC);
  BindText(s, 7, v.visit.source);
  BindText(s, 8, v.visit.motorKey);
  sqlite3_bind_int(s, 9, v.visit.firmware);
  sqlite3_bind_int64(s, 10, v.visit.runningSeconds);
  sqlite3_bind_int(s, 11, v.visit.counter1);
  sqlite3_bind_int(s, 12, v.visit.counter2);
  BindText(s, 13, EventCodesText(v.visit.events));
  BindText(s, 14, v.visit.result);
  if (v.setDigest.empty()) {
    sqlite3_bind_null(s, 15);
  } else {
    BindText(s, 15, v.setDigest);
  }
  sqlite3_bind_int(s, 16, sent ? 1 : 0);
  const bool ok = sqlite3_step(s) == SQLITE_DONE;
  if (!ok) m_error = sqlite3_errmsg(m_db);
  sqlite3_reset(s);
  return ok;
}

bool RecordStore::AddVisit(StoredVisit* visit, const std::string* setBytes) {
  if (m_db == nullptr) return false;
  if (setBytes != nullptr) visit->setDigest = Sha256Hex(*setBytes);
  if (!Exec("BEGIN IMMEDIATE")) return false;
  bool ok = setBytes == nullptr || InsertSet(visit->setDigest, *setBytes, false);
  ok = ok && InsertVisit(*visit, false);
  if (ok && Exec("COMMIT")) return true;
  Exec("ROLLBACK");
  return false;
}

int RecordStore::ImportTextHistoryOnce(const std::string& sharedDataFolder,
                                       const std::string& station) {
  if (m_db == nullptr) return -1;
  if (!Meta("text_imported").empty()) return 0;
  if (!Exec("BEGIN IMMEDIATE")) return -1;
  if (!Meta("text_imported").empty()) {
    Exec("COMMIT");
    return 0;
  }
  int count = 0;
  bool ok = true;
  for (const std::string& motor : HistoryMotors(sharedDataFolder)) {
    const HistoryFile file = ReadHistory(sharedDataFolder, motor);
    for (std::size_t i = 0; ok && i < file.visits.size(); ++i) {
      StoredVisit v = MakeStoredVisit(file.visits[i], station, std::string());
      v.uuid = UuidFromDigest(Sha256Hex(station + '\n' + motor + '\n' + std::to_string(i) + '\n' +
                                        FormatVisitLine(file.visits[i])));
      ok = InsertVisit(v, false);
      ++count;
    }
  }
  ok = ok && SetMeta("text_imported", UtcTextFromLocal(RealClock().LocalNow()));
  if (ok && Exec("COMMIT")) return count;
  Exec("ROLLBACK");
  return -1;
}

std::vector<StoredVisit> RecordStore::QueryVisits(const char* sql, const std::string* bind,
                                                  int limit) {
  std::vector<StoredVisit> out;
  if (m_db == nullptr) return out;
  sqlite3_stmt* s = nullptr;
  if (sqlite3_prepare_v2(m_db, sql, -1, &s, nullptr) != SQLITE_OK) {
    m_error = sqlite3_errmsg(m_db);
    return out;
  }
  int index = 1;
  if (bind != nullptr) BindText(s, index++, *bind);
  if (limit > 0) sqlite3_bind_int(s, index, limit);
  while (sqlite3_step(s) == SQLITE_ROW) out.push_back(ReadVisitRow(s));
  sqlite3_finalize(s);
  return out;
}

std::vector<StoredVisit> RecordStore::VisitsOf(const std::string& motorKey) {
  const std::string sql =
      std::string("SELECT ") + kVisitColumns + " FROM visits WHERE motor=? ORDER BY utc, rowid";
  return QueryVisits(sql.c_str(), &motorKey, 0);
}

std::vector<StoredVisit> RecordStore::AllVisits() {
  const std::string sql =
      std::string("SELECT ") + kVisitColumns + " FROM visits ORDER BY motor, utc, rowid";
  return QueryVisits(sql.c_str(), nullptr, 0);
}

std::vector<MotorSummary> RecordStore::Motors() {
  std::vector<MotorSummary> out;
  if (m_db == nullptr) return out;
  // The last visit per motor: the greatest (utc, rowid).
  const std::string sql =
      std::string("SELECT ") + kVisitColumns +
      ", n FROM (SELECT *, COUNT(*) OVER (PARTITION BY motor) AS n, ROW_NUMBER() OVER "
      "(PARTITION BY motor ORDER BY utc DESC, rowid DESC) AS r FROM visits) WHERE r=1 "
      "ORDER BY motor";
  sqlite3_stmt* s = nullptr;
  if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &s, nullptr) != SQLITE_OK) {
    m_error = sqlite3_errmsg(m_db);
    return out;
  }
  while (sqlite3_step(s) == SQLITE_ROW) {
    MotorSummary m;
    m.last = ReadVisitRow(s);
    m.motorKey = m.last.visit.motorKey;
    m.visits = sqlite3_column_int64(s, 15);
    out.push_back(std::move(m));
  }
  sqlite3_finalize(s);
  return out;
}

std::vector<std::string> RecordStore::MotorsBeginning(const std::string& prefix, int limit) {
  std::vector<std::string> out;
  sqlite3_stmt* s = nullptr;
  // A range over the motor index: every key that begins with the prefix sorts below the
  // prefix followed by the greatest byte.
  if (m_db == nullptr ||
      sqlite3_prepare_v2(m_db,
                         "SELECT DISTINCT motor FROM visits WHERE motor >= ?1 AND motor < ?2 "
                         "ORDER BY motor LIMIT ?3",
                         -1, &s, nullptr) != SQLITE_OK) {
    return out;
  }
  BindText(s, 1, prefix);
  BindText(s, 2, prefix + "\xFF");
  sqlite3_bind_int(s, 3, limit);
  while (sqlite3_step(s) == SQLITE_ROW) out.push_back(ColumnText(s, 0));
  sqlite3_finalize(s);
  return out;
}

bool RecordStore::SetBytes(const std::string& digest, std::string* bytes) {
  if (m_db == nullptr) return false;
  sqlite3_stmt* s = nullptr;
  bool found = false;
  if (sqlite3_prepare_v2(m_db, "SELECT bytes FROM sets WHERE digest=?", -1, &s, nullptr) ==
      SQLITE_OK) {
    BindText(s, 1, digest);
    if (sqlite3_step(s) == SQLITE_ROW) {
      const auto* data = static_cast<const char*>(sqlite3_column_blob(s, 0));
      bytes->assign(data == nullptr ? "" : data,
                    static_cast<std::size_t>(sqlite3_column_bytes(s, 0)));
      found = true;
    }
  }
  sqlite3_finalize(s);
  return found;
}

bool RecordStore::HasSet(const std::string& digest) {
  sqlite3_stmt* s = nullptr;
  bool found = false;
  if (m_db != nullptr &&
      sqlite3_prepare_v2(m_db, "SELECT 1 FROM sets WHERE digest=?", -1, &s, nullptr) == SQLITE_OK) {
    BindText(s, 1, digest);
    found = sqlite3_step(s) == SQLITE_ROW;
  }
  sqlite3_finalize(s);
  return found;
}

RecordCounts RecordStore::Counts() {
  RecordCounts c;
  if (m_db == nullptr) return c;
  sqlite3_stmt* s = nullptr;
  if (sqlite3_prepare_v2(m_db,
                         "SELECT (SELECT COUNT(*) FROM visits), (SELECT COUNT(*) FROM visits "
                         "WHERE sent=0), (SELECT COUNT(*) FROM sets)",
                         -1, &s, nullptr) == SQLITE_OK &&
      sqlite3_step(s) == SQLITE_ROW) {
    c.visits = sqlite3_column_int64(s, 0);
    c.unsentVisits = sqlite3_column_int64(s, 1);
    c.sets = sqlite3_column_int64(s, 2);
  }
  sqlite3_finalize(s);
  c.lastSync = Meta("last_sync");
  return c;
}

std::vector<StoredVisit> RecordStore::UnsentVisits(int limit) {
  const std::string sql = std::string("SELECT ") + kVisitColumns +
                          " FROM visits WHERE sent=0 ORDER BY utc, rowid LIMIT ?";
  return QueryVisits(sql.c_str(), nullptr, limit);
}

std::vector<StoredSet> RecordStore::UnsentSets(const std::vector<std::string>& digests) {
  std::vector<StoredSet> out;
  sqlite3_stmt* s = nullptr;
  if (m_db == nullptr ||
      sqlite3_prepare_v2(m_db, "SELECT bytes FROM sets WHERE digest=? AND sent=0", -1, &s,
                         nullptr) != SQLITE_OK) {
    return out;
  }
  for (const std::string& d : digests) {
    sqlite3_reset(s);
    BindText(s, 1, d);
    if (sqlite3_step(s) == SQLITE_ROW) {
      const auto* data = static_cast<const char*>(sqlite3_column_blob(s, 0));
      out.push_back({d, std::string(data == nullptr ? "" : data,
                                    static_cast<std::size_t>(sqlite3_column_bytes(s, 0)))});
    }
  }
  sqlite3_finalize(s);
  return out;
}

bool RecordStore::MarkSent(const std::vector<std::string>& uuids,
                           const std::vector<std::string>& digests) {
  if (m_db == nullptr || !Exec("BEGIN IMMEDIATE")) return false;
  bool ok = true;
  auto mark = [&](const char* sql, const std::vector<std::string>& keys) {
    sqlite3_stmt* s = nullptr;
    ok = ok && sqlite3_prepare_v2(m_db, sql, -1, &s, nullptr) == SQLITE_OK;
    for (std::size_t i = 0; ok && i < keys.size(); ++i) {
      sqlite3_reset(s);
      BindText(s, 1, keys[i]);
      ok = sqlite3_step(s) == SQLITE_DONE;
    }
    sqlite3_finalize(s);
  };
  mark("UPDATE sets SET sent=1 WHERE digest=?", digests);
  mark("UPDATE visits SET sent=1 WHERE uuid=?", uuids);
  if (ok && Exec("COMMIT")) return true;
  m_error = sqlite3_errmsg(m_db);
  Exec("ROLLBACK");
  return false;
}

std::vector<std::pair<std::string, std::int64_t>> RecordStore::FetchMarks() {
  std::vector<std::pair<std::string, std::int64_t>> out;
  sqlite3_stmt* s = nullptr;
  if (m_db != nullptr &&
      sqlite3_prepare_v2(m_db,
                         "SELECT m.motor, COALESCE(f.seq, 0) FROM (SELECT DISTINCT motor FROM "
                         "visits) m LEFT JOIN fetch_marks f ON f.motor=m.motor ORDER BY m.motor",
                         -1, &s, nullptr) == SQLITE_OK) {
    while (sqlite3_step(s) == SQLITE_ROW) {
      out.emplace_back(ColumnText(s, 0), sqlite3_column_int64(s, 1));
    }
  }
  sqlite3_finalize(s);
  return out;
}

bool RecordStore::AddFetched(const std::vector<StoredVisit>& visits,
                             const std::vector<StoredSet>& sets,
                             const std::vector<std::pair<std::string, std::int64_t>>& marks) {
  if (m_db == nullptr || !Exec("BEGIN IMMEDIATE")) return false;
  bool ok = true;
  for (const StoredSet& set : sets) {
    // A set fetched is kept only when its bytes are the ones its digest names.
    if (ok && Sha256Hex(set.bytes) == set.digest) ok = InsertSet(set.digest, set.bytes, true);
  }
  for (const StoredVisit& v : visits) {
    if (!ok) break;
    StoredVisit copy = v;
    if (!copy.setDigest.empty() && !HasSet(copy.setDigest)) copy.setDigest.clear();
    ok = InsertVisit(copy, true);
  }
  sqlite3_stmt* s = nullptr;
  ok = ok && sqlite3_prepare_v2(m_db, "INSERT OR REPLACE INTO fetch_marks(motor, seq) VALUES(?, ?)",
                                -1, &s, nullptr) == SQLITE_OK;
  for (std::size_t i = 0; ok && i < marks.size(); ++i) {
    sqlite3_reset(s);
    BindText(s, 1, marks[i].first);
    sqlite3_bind_int64(s, 2, marks[i].second);
    ok = sqlite3_step(s) == SQLITE_DONE;
  }
  sqlite3_finalize(s);
  if (ok && Exec("COMMIT")) return true;
  m_error = sqlite3_errmsg(m_db);
  Exec("ROLLBACK");
  return false;
}

bool RecordStore::NoteSync(const std::string& utc) {
  return m_db != nullptr && SetMeta("last_sync", utc);
}

}  // namespace roviro
