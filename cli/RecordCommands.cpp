#include "cli/RecordCommands.h"

#include <nlohmann/json.hpp>

#include <iostream>

#include "catalogue/Archive.h"
#include "catalogue/ContactProfile.h"
#include "platform/Paths.h"
#include "platform/TextEncoding.h"
#include "records/ProgramSettings.h"

namespace roviro::cli {

namespace {

constexpr int kExitUnsent = 3;  // the company store cannot be reached; nothing lost

std::unique_ptr<VisitRecorder> MakeRecorder(const Folders& folders) {
  ContactRecord contact;
  ReadContactProfile(folders.SharedData(), &contact);
  auto recorder = std::make_unique<VisitRecorder>(
      folders.SharedData(), ReadProgramSettings(folders.SharedData()), contact);
  recorder->SetSyncWords(SyncFailureWords);
  return recorder;
}

bool NeedDataFolder(const Folders& folders) {
  if (!folders.SharedData().empty()) return true;
  std::cerr << "roviro-cli: no data folder (set HOME or XDG_DATA_HOME, or use --data-dir)\n";
  return false;
}

int RunSync(const GlobalOptions& options) {
  const Folders folders = MakeFolders(options);
  if (!NeedDataFolder(folders)) return kExitFile;
  std::unique_ptr<VisitRecorder> recorder;
  RecordStore* store = OpenRecords(folders, &recorder);
  if (store == nullptr) return kExitFile;
  if (recorder->Address().empty()) {
    std::cerr << "roviro-cli: no company store: set [DATENBANK] ADRESSE= in "
              << ProgramSettingsPath(folders.SharedData()) << " or ROVIRO_DATENBANK\n";
    return kExitUsage;
  }
  const SyncReport report = recorder->SyncNow();
  recorder->TakeNotice();  // the report's words are printed below
  const RecordCounts counts = store->Counts();
  if (report.status == SyncStatus::kDone) {
    std::cout << "sent " << report.sentVisits << " visit(s) and " << report.sentSets
              << " set(s), fetched " << report.fetchedVisits << " visit(s) of other stations\n";
    return counts.unsentVisits == 0 ? kExitOk : kExitUnsent;
  }
  std::cerr << "roviro-cli: " << Latin1ToUtf8(SyncFailureWords(report)) << '\n';
  std::cerr << counts.unsentVisits << " visit(s) wait in the local store\n";
  return report.status == SyncStatus::kUnreachable ? kExitUnsent : kExitFile;
}

int RunStatus(const GlobalOptions& options) {
  const Folders folders = MakeFolders(options);
  if (!NeedDataFolder(folders)) return kExitFile;
  std::unique_ptr<VisitRecorder> recorder;
  RecordStore* store = OpenRecords(folders, &recorder);
  if (store == nullptr) return kExitFile;
  const RecordCounts c = store->Counts();
  std::cout << "store:         " << RecordStore::PathIn(folders.SharedData()) << '\n'
            << "station:       " << Latin1ToUtf8(recorder->Station()) << '\n'
            << "company store: " << (recorder->Address().empty() ? "none" : "set") << '\n'
            << "visits:        " << c.visits << '\n'
            << "unsent visits: " << c.unsentVisits << '\n'
            << "sets:          " << c.sets << '\n'
            << "last sync:     " << (c.lastSync.empty() ? "never" : c.lastSync) << '\n';
  return kExitOk;
}

int RunExport(const GlobalOptions& options, const std::string& csvPath) {
  const Folders folders = MakeFolders(options);
  if (!NeedDataFolder(folders)) return kExitFile;
  std::unique_ptr<VisitRecorder> recorder;
  RecordStore* store = OpenRecords(folders, &recorder);
  if (store == nullptr) return kExitFile;
  const std::vector<StoredVisit> visits = store->AllVisits();
  // Completed beside the target and renamed over it: a failed export leaves the old file.
  const std::string scratch = UniqueSiblingPath(csvPath);
  if (!WriteTextFile(VisitsCsv(visits), scratch) || !CommitReplacement(scratch, csvPath)) {
    RemoveFile(scratch);
    std::cerr << "roviro-cli: " << csvPath << ": cannot be written\n";
    return kExitFile;
  }
  std::cerr << visits.size() << " visit(s) written to " << csvPath << '\n';
  return kExitOk;
}

std::string CsvField(const std::string& latin1) {
  std::string text = Latin1ToUtf8(latin1);
  // A field a spreadsheet would take as a formula is kept as text.
  if (!text.empty() && (text[0] == '=' || text[0] == '+' || text[0] == '@')) text.insert(0, "'");
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string NumberOrEmpty(std::int64_t n) { return n < 0 ? std::string() : std::to_string(n); }

}  // namespace

std::string SyncFailureWords(const SyncReport& report) {
  std::string why = report.error;
  while (!why.empty() && (why.back() == '\n' || why.back() == ' ')) why.pop_back();
  for (char& c : why) {
    if (c == '\n' || c == '\t') c = ' ';
  }
  switch (report.status) {
    case SyncStatus::kDone:
      return {};
    case SyncStatus::kUnreachable:
      return "the company store cannot be reached; the visits stay in the local store and go "
             "with a later sync (" +
             why + ")";
    case SyncStatus::kNewerSchema:
      return "the company store has a newer schema than this program knows; nothing was written "
             "to it (update the program)";
    case SyncStatus::kFailed:
      break;
  }
  return "the sync with the company store failed; nothing is lost (" + why + ")";
}

RecordStore* OpenRecords(const Folders& folders, std::unique_ptr<VisitRecorder>* holder) {
  *holder = MakeRecorder(folders);
  RecordStore* store = (*holder)->Store();
  const std::string notice = (*holder)->TakeNotice();
  if (!notice.empty()) std::cerr << "roviro-cli: " << Latin1ToUtf8(notice) << '\n';
  return store;
}

std::string VisitsJson(const std::vector<StoredVisit>& visits) {
  nlohmann::ordered_json out = nlohmann::ordered_json::array();
  for (const StoredVisit& s : visits) {
    const Visit& v = s.visit;
    nlohmann::ordered_json o;
    o["uuid"] = s.uuid;
    o["utc"] = s.utc;
    o["local"] = s.local;
    o["station"] = Latin1ToUtf8(s.station);
    o["fitter"] = Latin1ToUtf8(s.fitter);
    o["motor"] = Latin1ToUtf8(v.motorKey);
    o["what"] = VisitKindWord(v.kind);
    o["source"] = Latin1ToUtf8(v.source);
    o["result"] = Latin1ToUtf8(v.result);
    o["firmware"] = v.firmware < 0 ? nlohmann::ordered_json() : nlohmann::ordered_json(v.firmware);
    o["runningSeconds"] =
        v.runningSeconds < 0 ? nlohmann::ordered_json() : nlohmann::ordered_json(v.runningSeconds);
    o["counter1"] = v.counter1 < 0 ? nlohmann::ordered_json() : nlohmann::ordered_json(v.counter1);
    o["counter2"] = v.counter2 < 0 ? nlohmann::ordered_json() : nlohmann::ordered_json(v.counter2);
    o["events"] = v.events.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(v.events);
    o["set"] = s.setDigest.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(s.setDigest);
    out.push_back(std::move(o));
  }
  return out.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

std::string VisitsCsv(const std::vector<StoredVisit>& visits) {
  std::string out =
      "uuid,utc,local,station,fitter,motor,what,source,result,firmware,running_seconds,"
      "counter1,counter2,events,set_sha256\r\n";
  for (const StoredVisit& s : visits) {
    const Visit& v = s.visit;
    const std::vector<std::string> fields = {
        s.uuid,
        s.utc,
        s.local,
        s.station,
        s.fitter,
        v.motorKey,
        VisitKindWord(v.kind),
        v.source,
        v.result,
        NumberOrEmpty(v.firmware),
        NumberOrEmpty(v.runningSeconds),
        NumberOrEmpty(v.counter1),
        NumberOrEmpty(v.counter2),
        v.events.empty() ? std::string() : EventCodesText(v.events),
        s.setDigest};
    for (std::size_t i = 0; i < fields.size(); ++i) {
      out += (i > 0 ? "," : "") + CsvField(fields[i]);
    }
    out += "\r\n";
  }
  return out;
}

void AddRecordCommands(CLI::App& app, const GlobalOptions& options, int& rc) {
  auto* records = app.add_subcommand(
      "records", "the records in the local store and their sync with the company store");
  records->require_subcommand(1);
  records
      ->add_subcommand("sync",
                       "send what the company store lacks and fetch the other stations' "
                       "visits of the motors on record; exit 0 when nothing is left unsent, "
                       "3 when the company store cannot be reached (nothing is lost)")
      ->callback([&] { rc = RunSync(options); });
  records->add_subcommand("status", "visits, unsent visits and the last sync")->callback([&] {
    rc = RunStatus(options);
  });
  static std::string csv;
  auto* exportCommand = records->add_subcommand("export", "write every visit for quality records");
  exportCommand->add_option("--csv", csv, "the CSV file to write")->required();
  exportCommand->callback([&] { rc = RunExport(options, csv); });
}

}  // namespace roviro::cli
