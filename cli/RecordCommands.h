#pragma once
// roviro-cli's records: `records sync`, `records status`, `records export --csv FILE`, and
// the local store's visits as JSON and CSV.

#include <CLI/CLI.hpp>

#include <memory>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "records/RecordStore.h"
#include "records/VisitRecorder.h"

namespace roviro::cli {

// The local store of the data folder, through a recorder made into `holder` (it imports the
// text history once). Null, with the reason on standard error, when it cannot be used.
// A failed sync in the tool's words (English, like all of its messages).
std::string SyncFailureWords(const SyncReport& report);
RecordStore* OpenRecords(const Folders& folders, std::unique_ptr<VisitRecorder>* holder);

// One JSON array of visit objects (UTF-8).
std::string VisitsJson(const std::vector<StoredVisit>& visits);
// A header line and one line per visit (UTF-8, every field quoted as needed).
std::string VisitsCsv(const std::vector<StoredVisit>& visits);

// Registers `records sync|status|export` on `app`.
void AddRecordCommands(CLI::App& app, const GlobalOptions& options, int& rc);

}  // namespace roviro::cli
