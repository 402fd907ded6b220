#include "records/CompanyStore.h"

#include <libpq-fe.h>
#include <poll.h>

#include <algorithm>
#include <map>
#include <memory>

#include "platform/Translation.h"

namespace roviro {

namespace {

// Any number, the same in every program: it serialises creating and migrating the schema.
constexpr const char* kSchemaLock = "SELECT pg_advisory_xact_lock(5170371)";

constexpr const char* kSchema1 =
    "CREATE TABLE roviro_schema (version integer NOT NULL);"
    "CREATE TABLE sets (digest text PRIMARY KEY, bytes bytea NOT NULL);"
    "CREATE TABLE visits (seq bigserial UNIQUE NOT NULL, uuid text PRIMARY KEY,"
    " utc text NOT NULL, local text NOT NULL, station text NOT NULL, fitter text NOT NULL,"
    " kind text NOT NULL, source text NOT NULL, motor text NOT NULL, firmware integer NOT NULL,"
    " running bigint NOT NULL, counter1 integer NOT NULL, counter2 integer NOT NULL,"
    " events text NOT NULL, result text NOT NULL, set_digest text);"
    "CREATE INDEX visits_motor ON visits (motor, seq);"
    "INSERT INTO roviro_schema (version) VALUES (1);";

// The visits fetched again below each motor's mark: a batch another station committed late
// gets a lower sequence number than one already seen; fetching it twice is harmless.
constexpr std::int64_t kFetchOverlap = 4 * kSyncBatch;

struct ResultDeleter {
  void operator()(PGresult* r) const { PQclear(r); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

// Parameters of one statement: texts, and bytes sent as binary.
class Params {
 public:
  void Text(std::string value) { Add(std::move(value), 0); }
  void Bytes(std::string value) { Add(std::move(value), 1); }
  int Count() const { return static_cast<int>(m_values.size()); }
  Result Exec(PGconn* conn, const std::string& sql, int resultFormat = 0) {
    std::vector<const char*> values;
    std::vector<int> lengths;
    for (const std::string& v : m_values) {
      values.push_back(v.data());
      lengths.push_back(static_cast<int>(v.size()));
    }
    return Result(PQexecParams(conn, sql.c_str(), Count(), nullptr, values.data(), lengths.data(),
                               m_formats.data(), resultFormat));
  }

 private:
  void Add(std::string value, int format) {
    m_values.push_back(std::move(value));
    m_formats.push_back(format);
  }
  std::vector<std::string> m_values;
  std::vector<int> m_formats;
};

// "{"a","b"}" for a text[] parameter.
std::string ArrayLiteral(const std::vector<std::string>& items) {
  std::string out = "{";
  for (const std::string& item : items) {
    if (out.size() > 1) out += ',';
    out += '"';
    for (char c : item) {
      if (c == '"' || c == '\\') out += '\\';
      out += c;
    }
    out += '"';
  }
  return out + "}";
}

bool Succeeded(const Result& r) {
  const ExecStatusType s = PQresultStatus(r.get());
  return s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK;
}

long long ToNumber(const char* text) { return std::strtoll(text, nullptr, 10); }

}  // namespace

CompanyStore::~CompanyStore() { Disconnect(); }

void CompanyStore::Disconnect() {
  if (m_conn != nullptr) PQfinish(m_conn);
  m_conn = nullptr;
}

bool CompanyStore::Stopped() const { return m_stop != nullptr && m_stop->load(); }

bool CompanyStore::Run(const char* sql, std::string* error) {
  Result r(PQexec(m_conn, sql));
  if (Succeeded(r)) return true;
  if (error != nullptr) *error = PQerrorMessage(m_conn);
  return false;
}

SyncStatus CompanyStore::Connect(const std::string& address, std::string* error) {
  Disconnect();
  // Nobody waits long for a store that is not there.
  const char* keys[] = {"dbname", "connect_timeout", "application_name", nullptr};
  const char* values[] = {address.c_str(), "5", "roviro-records", nullptr};
  // Connected step by step, so that a program that ends does not wait for the timeout.
  m_conn = PQconnectStartParams(keys, values, 1);
  PostgresPollingStatusType polling = PGRES_POLLING_WRITING;
  while (m_conn != nullptr && PQstatus(m_conn) != CONNECTION_BAD && polling != PGRES_POLLING_OK &&
         polling != PGRES_POLLING_FAILED) {
    if (Stopped()) {
      if (error != nullptr) *error = "stopped";
      Disconnect();
      return SyncStatus::kUnreachable;
    }
    pollfd fd{PQsocket(m_conn),
              static_cast<short>(polling == PGRES_POLLING_READING ? POLLIN : POLLOUT), 0};
    const int ready = fd.fd < 0 ? 1 : ::poll(&fd, 1, 50);
    if (ready != 0) polling = PQconnectPoll(m_conn);
  }
  if (m_conn == nullptr || PQstatus(m_conn) != CONNECTION_OK) {
    if (error != nullptr) *error = m_conn != nullptr ? PQerrorMessage(m_conn) : "out of memory";
    Disconnect();
    return SyncStatus::kUnreachable;
  }
  Run("SET client_min_messages = warning", nullptr);
  std::string why;
  if (!Run("BEGIN", &why) || !Run(kSchemaLock, &why)) {
    if (error != nullptr) *error = why;
    Disconnect();
    return SyncStatus::kUnreachable;
  }
  // The version is read before anything is written: a newer store is left as it is.
  Result exists(PQexec(m_conn, "SELECT to_regclass('roviro_schema') IS NOT NULL"));
  if (!Succeeded(exists) || PQntuples(exists.get()) != 1) {
    if (error != nullptr) *error = PQerrorMessage(m_conn);
    Disconnect();
    return SyncStatus::kFailed;
  }
  int version = 0;
  if (std::string(PQgetvalue(exists.get(), 0, 0)) == "t") {
    Result v(PQexec(m_conn, "SELECT COALESCE(MAX(version), 0) FROM roviro_schema"));
    if (!Succeeded(v) || PQntuples(v.get()) != 1) {
      if (error != nullptr) *error = PQerrorMessage(m_conn);
      Disconnect();
      return SyncStatus::kFailed;
    }
    version = static_cast<int>(ToNumber(PQgetvalue(v.get(), 0, 0)));
  }
  if (version > kCompanyStoreSchema) {
    Run("ROLLBACK", nullptr);
    if (error != nullptr) {
      *error =
          Tx("Die Firmendatenbank hat das Schema %1, dieses Programm kennt nur bis %2. "
             "Sie wird nicht ver\xE4"
             "ndert; bitte das Programm aktualisieren.",
             {std::to_string(version), std::to_string(kCompanyStoreSchema)});
    }
    Disconnect();
    return SyncStatus::kNewerSchema;
  }
  bool ok = true;
  if (version < 1) ok = Run(kSchema1, &why);
  if (!ok || !Run("COMMIT", &why)) {
    if (error != nullptr) *error = why;
    Disconnect();
    return SyncStatus::kFailed;
  }
  return SyncStatus::kDone;
}

bool CompanyStore::SendBatch(RecordStore& local, const std::vector<StoredVisit>& visits,
                             SyncReport* report) {
  std::vector<std::string> digests;
  std::vector<std::string> uuids;
  for (const StoredVisit& v : visits) {
    uuids.push_back(v.uuid);
    if (!v.setDigest.empty() &&
        std::find(digests.begin(), digests.end(), v.setDigest) == digests.end()) {
      digests.push_back(v.setDigest);
    }
  }
  const std::vector<StoredSet> sets = local.UnsentSets(digests);
  if (!Run("BEGIN", &report->error)) return false;
  if (!sets.empty()) {
    Params p;
    std::string sql = "INSERT INTO sets (digest, bytes) VALUES ";
    for (const StoredSet& set : sets) {
      if (p.Count() > 0) sql += ',';
      sql += "($" + std::to_string(p.Count() + 1) + ",$" + std::to_string(p.Count() + 2) + ")";
      p.Text(set.digest);
      p.Bytes(set.bytes);
    }
    sql += " ON CONFLICT (digest) DO NOTHING";
    if (!Succeeded(p.Exec(m_conn, sql))) {
      report->error = PQerrorMessage(m_conn);
      return false;
    }
  }
  Params p;
  std::string sql =
      "INSERT INTO visits (uuid, utc, local, station, fitter, kind, source, motor, firmware, "
      "running, counter1, counter2, events, result, set_digest) VALUES ";
  for (const StoredVisit& v : visits) {
    sql += p.Count() > 0 ? ",(" : "(";
    for (int i = 1; i <= 15; ++i) {
      sql += (i > 1 ? ",$" : "$") + std::to_string(p.Count() + i);
      if (i == 15) sql += "::text";
    }
    sql += ')';
    p.Text(v.uuid);
    p.Text(v.utc);
    p.Text(v.local);
    p.Text(v.station);
    p.Text(v.fitter);
    p.Text(VisitKindWord(v.visit.kind));
    p.Text(v.visit.source);
    p.Text(v.visit.motorKey);
    p.Text(std::to_string(v.visit.firmware));
    p.Text(std::to_string(v.visit.runningSeconds));
    p.Text(std::to_string(v.visit.counter1));
    p.Text(std::to_string(v.visit.counter2));
    p.Text(EventCodesText(v.visit.events));
    p.Text(v.visit.result);
    p.Text(v.setDigest);
  }
  sql += " ON CONFLICT (uuid) DO NOTHING";
  if (!Succeeded(p.Exec(m_conn, sql)) || !Run("COMMIT", &report->error)) {
    if (report->error.empty()) report->error = PQerrorMessage(m_conn);
    return false;
  }
  if (m_batchObserver && !m_batchObserver(static_cast<int>(report->sentVisits / kSyncBatch))) {
    report->error = "cut off after the company store committed";
    return false;
  }
  std::vector<std::string> sentDigests;
  for (const StoredSet& set : sets) sentDigests.push_back(set.digest);
  if (!local.MarkSent(uuids, sentDigests)) {
    report->error = "local store: " + local.LastError();
    return false;
  }
  report->sentVisits += static_cast<std::int64_t>(visits.size());
  report->sentSets += static_cast<std::int64_t>(sets.size());
  return true;
}

bool CompanyStore::Fetch(RecordStore& local, const std::string& station, SyncReport* report) {
  const auto marks = local.FetchMarks();
  if (marks.empty()) return true;
  std::vector<std::string> motors;
  std::vector<std::string> seqs;
  for (const auto& [motor, seq] : marks) {
    motors.push_back(motor);
    seqs.push_back(std::to_string(std::max<std::int64_t>(0, seq - kFetchOverlap)));
  }
  Params p;
  p.Text(ArrayLiteral(motors));
  p.Text(ArrayLiteral(seqs));
  p.Text(station);
  const Result rows = p.Exec(
      m_conn,
      "SELECT v.seq, v.uuid, v.utc, v.local, v.station, v.fitter, v.kind, v.source, v.motor, "
      "v.firmware, v.running, v.counter1, v.counter2, v.events, v.result, v.set_digest "
      "FROM visits v JOIN unnest($1::text[], $2::bigint[]) AS k(motor, seq) "
      "ON v.motor = k.motor AND v.seq > k.seq WHERE v.station <> $3 ORDER BY v.seq");
  if (!Succeeded(rows)) {
    report->error = PQerrorMessage(m_conn);
    return false;
  }
  std::map<std::string, std::int64_t> newMarks(marks.begin(), marks.end());
  std::vector<StoredVisit> visits;
  std::vector<std::string> wanted;
  const int n = PQntuples(rows.get());
  for (int r = 0; r < n; ++r) {
    auto col = [&](int c) { return std::string(PQgetvalue(rows.get(), r, c)); };
    StoredVisit v;
    const std::int64_t seq = ToNumber(PQgetvalue(rows.get(), r, 0));
    v.uuid = col(1);
    v.utc = col(2);
    v.local = col(3);
    v.station = col(4);
    v.fitter = col(5);
    v.visit.kind = VisitKindFromWord(col(6));
    v.visit.source = col(7);
    v.visit.motorKey = col(8);
    v.visit.firmware = static_cast<int>(ToNumber(PQgetvalue(rows.get(), r, 9)));
    v.visit.runningSeconds = ToNumber(PQgetvalue(rows.get(), r, 10));
    v.visit.counter1 = static_cast<int>(ToNumber(PQgetvalue(rows.get(), r, 11)));
    v.visit.counter2 = static_cast<int>(ToNumber(PQgetvalue(rows.get(), r, 12)));
    v.visit.events = ParseEventCodes(col(13));
    v.visit.result = col(14);
    v.setDigest = col(15);
    auto& mark = newMarks[v.visit.motorKey];
    mark = std::max(mark, seq);
    if (!v.setDigest.empty() && !local.HasSet(v.setDigest) &&
        std::find(wanted.begin(), wanted.end(), v.setDigest) == wanted.end()) {
      wanted.push_back(v.setDigest);
    }
    visits.push_back(std::move(v));
  }
  std::vector<StoredSet> sets;
  for (std::size_t at = 0; at < wanted.size(); at += kSyncBatch) {
    const std::vector<std::string> part(
        wanted.begin() + static_cast<std::ptrdiff_t>(at),
        wanted.begin() + static_cast<std::ptrdiff_t>(std::min(wanted.size(), at + kSyncBatch)));
    Params q;
    q.Text(ArrayLiteral(part));
    // Binary results: the bytes come as they are.
    const Result got =
        q.Exec(m_conn, "SELECT digest, bytes FROM sets WHERE digest = ANY($1::text[])", 1);
    if (!Succeeded(got)) {
      report->error = PQerrorMessage(m_conn);
      return false;
    }
    for (int r = 0; r < PQntuples(got.get()); ++r) {
      sets.push_back({std::string(PQgetvalue(got.get(), r, 0),
                                  static_cast<std::size_t>(PQgetlength(got.get(), r, 0))),
                      std::string(PQgetvalue(got.get(), r, 1),
                                  static_cast<std::size_t>(PQgetlength(got.get(), r, 1)))});
    }
  }
  if (!local.AddFetched(visits, sets, {newMarks.begin(), newMarks.end()})) {
    report->error = "local store: " + local.LastError();
    return false;
  }
  report->fetchedVisits = static_cast<std::int64_t>(visits.size());
  return true;
}

SyncReport CompanyStore::Sync(RecordStore& local, const std::string& station) {
  SyncReport report;
  auto failed = [&] {
    report.status = m_conn == nullptr || PQstatus(m_conn) != CONNECTION_OK
                        ? SyncStatus::kUnreachable
                        : SyncStatus::kFailed;
    if (report.status == SyncStatus::kUnreachable) Disconnect();
    return report;
  };
  if (m_conn == nullptr || !local.IsOpen()) {
    report.error = m_conn == nullptr ? "not connected" : "local store not open";
    return failed();
  }
  for (;;) {
    if (Stopped()) {
      report.error = "stopped";
      return failed();
    }
    const std::vector<StoredVisit> batch = local.UnsentVisits(kSyncBatch);
    if (batch.empty()) break;
    if (!SendBatch(local, batch, &report)) {
      Run("ROLLBACK", nullptr);
      return failed();
    }
  }
  if (!Fetch(local, station, &report)) return failed();
  local.NoteSync(UtcTextFromLocal(RealClock().LocalNow()));
  report.status = SyncStatus::kDone;
  return report;
}

std::string SyncFailureText(const SyncReport& report) {
  std::string why = report.error;
  while (!why.empty() && (why.back() == '\n' || why.back() == ' ')) why.pop_back();
  switch (report.status) {
    case SyncStatus::kDone:
      return {};
    case SyncStatus::kUnreachable:
      return Tx(
          "Die Firmendatenbank ist nicht erreichbar; der Verlauf bleibt lokal gespeichert "
          "und wird sp\xE4"
          "ter \xFC"
          "bertragen (%1).",
          {why});
    case SyncStatus::kNewerSchema:
      return why;
    case SyncStatus::kFailed:
      break;
  }
  return Tx("Der Abgleich mit der Firmendatenbank ist fehlgeschlagen; nichts geht verloren (%1).",
            {why});
}

}  // namespace roviro
