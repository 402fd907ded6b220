#pragma once
// roviro-cli's part of the fitter's safety net: the automatic backups and the service history
// of download, upload and opdata, upload --verify, diff FILE --motor, sim --replay and the
// history command.

#include <CLI/CLI.hpp>

#include <memory>
#include <string>

#include "catalogue/ContactRecord.h"
#include "cli/BoxSession.h"
#include "cli/CliSupport.h"
#include "device/VerifyUpload.h"
#include "records/Backups.h"
#include "records/ProgramSettings.h"
#include "records/ServiceHistory.h"
#include "records/VisitRecorder.h"

namespace roviro::cli {

// The backups and history records of one command. Without a data folder it writes nothing.
// Each visit goes into the text history and the local store (with the set of the backup
// before it); with a company store's address the records are synced when the command ends.
class SafetyNet {
 public:
  explicit SafetyNet(const Folders& folders);
  ~SafetyNet();
  const ProgramSettings& Settings() const { return m_settings; }

  // The automatic backup of `image` as the save-data screen would save it. A failure is
  // printed once (on standard error) and changes nothing else.
  void Backup(const ParameterImage& image, BackupKind kind, const Catalogue* currentCatalogue);
  // Appends the visit to the service history.
  void Record(const Visit& visit);
  // Each visit is sent to the company store on the recorder's own thread right after it is
  // recorded (a station that runs for hours), instead of once when the command ends.
  void SyncInBackground();

 private:
  const Folders& m_folders;
  ProgramSettings m_settings;
  ContactRecord m_contact;
  bool m_told = false;
  bool m_background = false;
  std::unique_ptr<VisitRecorder> m_recorder;
};

// The notice that the motor's key is shared by every motor of its type left at 0/0; empty when
// its two numbers are not both 0.
std::string SharedMotorKeyNotice(const ParameterImage& image);

// upload --verify: reads the set back and compares it with `written`; with `tell` the differing
// bytes go to standard output and the outcome to standard error. kExitOk when everything
// compared came back as written, else kExitTransfer. `result` receives the word for the service
// history, `report` (when given) the comparison itself.
int VerifyAfterUpload(BoxSession& session, const ParameterImage& written, bool boxOnly,
                      std::string* result, VerifyReport* report = nullptr, bool tell = true);

// diff FILE --motor.
int RunMotorDiff(const GlobalOptions& options, const std::string& file);

// sim --replay FILE: the box answers from the trace. kExitOk, or kExitFile with a message.
int LoadReplay(sim::BoxSimulator& box, const std::string& path);

// Registers `history [MOTOR] [--json]` on `app`.
void AddSafetyCommands(CLI::App& app, const GlobalOptions& options, int& rc);

}  // namespace roviro::cli
