#pragma once
// A PostgreSQL server of its own for a test or a benchmark: a cluster in a scratch folder, a
// Unix socket there and no TCP, stopped and removed at the end. As root (CI) the server runs
// as the "postgres" system user, which refuses to run as root itself. Needs libpq.

#include <libpq-fe.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace roviro::test {

// The folder of initdb and pg_ctl; empty when the server's programs are missing.
inline std::string PostgresServerBinaries() {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/usr/lib/postgresql", ec)) {
    const auto bin = entry.path() / "bin";
    if (std::filesystem::exists(bin / "pg_ctl") && std::filesystem::exists(bin / "initdb")) {
      return bin.string();
    }
  }
  return {};
}

class PostgresServer {
 public:
  bool Start(std::string* why) {
    m_bin = PostgresServerBinaries();
    if (m_bin.empty()) return false;
    char dir[] = "/tmp/roviro-pg-XXXXXX";
    if (mkdtemp(dir) == nullptr) return false;
    m_dir = dir;
    ::chmod(dir, 0755);
    m_asUser = geteuid() == 0 ? "runuser -u postgres -- " : "";
    if (geteuid() == 0) {
      const passwd* pw = getpwnam("postgres");
      if (pw == nullptr || ::chown(dir, pw->pw_uid, pw->pw_gid) != 0) {
        *why = "no postgres user to run the server as";
        return false;
      }
    }
    if (!Run("'" + m_bin + "/initdb' -D '" + m_dir + "/data' -A trust -U postgres --no-sync " +
             "-E UTF8 >'" + m_dir + "/initdb.log' 2>&1")) {
      *why = "initdb failed";
      return false;
    }
    if (!Up()) {
      *why = "the server did not start";
      return false;
    }
    return true;
  }
  bool Up() {
    return Run("'" + m_bin + "/pg_ctl' -D '" + m_dir + "/data' -w -l '" + m_dir +
               "/server.log' -o \"-c listen_addresses='' -k '" + m_dir +
               "' -c fsync=off -c full_page_writes=off\" start >/dev/null");
  }
  bool Down() {
    return Run("'" + m_bin + "/pg_ctl' -D '" + m_dir + "/data' -w -m immediate stop >/dev/null");
  }
  ~PostgresServer() {
    if (m_dir.empty()) return;
    Down();
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
  }
  std::string Address() const { return "host=" + m_dir + " dbname=postgres user=postgres"; }
  // A single number the server answers to `sql`; -1 when it does not.
  long long Number(const std::string& sql) const {
    PGconn* c = PQconnectdb(Address().c_str());
    PGresult* r = PQexec(c, sql.c_str());
    long long n = -1;
    if (PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) == 1) {
      n = std::atoll(PQgetvalue(r, 0, 0));
    }
    PQclear(r);
    PQfinish(c);
    return n;
  }
  bool Exec(const std::string& sql) const {
    PGconn* c = PQconnectdb(Address().c_str());
    PGresult* r = PQexec(c, sql.c_str());
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    PQclear(r);
    PQfinish(c);
    return ok;
  }

 private:
  bool Run(const std::string& command) { return std::system((m_asUser + command).c_str()) == 0; }
  std::string m_bin;
  std::string m_dir;
  std::string m_asUser;
};

}  // namespace roviro::test
