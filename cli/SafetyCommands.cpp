#include "cli/SafetyCommands.h"

#include <cstdio>
#include <iostream>
#include <memory>

#include "catalogue/Archive.h"
#include "catalogue/ContactProfile.h"
#include "cli/FileCommands.h"
#include "cli/RecordCommands.h"
#include "device/VerifyUpload.h"
#include "platform/Paths.h"
#include "platform/TextEncoding.h"
#include "records/ParameterFile.h"
#include "sim/TraceReplay.h"

namespace roviro::cli {

namespace {

CatalogueList LoadCataloguesQuietly(const Folders& folders) {
  NullMessageSink quiet;
  CatalogueLoadContext context{folders.Program(), folders.Temp(), &quiet};
  CatalogueList list;
  LoadCatalogues(context, list);
  return list;
}

// The blocks a download brings, by where it read them.
bool ReadBlock(VerifyTarget target, std::uint8_t block) {
  return target == VerifyTarget::kMotor || block == 0x39 || block == 0x2E || block == 0x34;
}

int PrintHistory(const GlobalOptions& options, const std::string& motor, bool json) {
  const Folders folders = MakeFolders(options);
  if (folders.SharedData().empty()) {
    std::cerr << "roviro-cli: no data folder (set HOME or XDG_DATA_HOME, or use --data-dir)\n";
    return kExitFile;
  }
  std::unique_ptr<VisitRecorder> recorder;
  RecordStore* store = OpenRecords(folders, &recorder);
  if (store == nullptr) return kExitFile;
  if (motor.empty()) {
    const std::vector<MotorSummary> motors = store->Motors();
    if (json) {
      std::cout << VisitsJson(store->AllVisits()) << '\n';
      return kExitOk;
    }
    if (motors.empty()) std::cerr << "no service history yet\n";
    for (const MotorSummary& m : motors) {
      std::cout << EscapeControls(m.motorKey) << '\t' << m.visits
                << (m.visits == 1 ? " visit" : " visits");
      const Visit& last = m.last.visit;
      std::cout << "\tlast " << VisitTimeText(last.time) << ' ' << VisitKindWord(last.kind) << ' '
                << EscapeControls(last.result);
      if (SharesMotorKey(m.motorKey)) std::cout << "\tseveral motors possible";
      std::cout << '\n';
    }
    return kExitOk;
  }
  // The key itself, or the only one it begins.
  std::vector<std::string> matches = store->MotorsBeginning(motor, 2);
  if (!matches.empty() && matches.front() == motor) matches.resize(1);
  if (matches.size() != 1) {
    std::cerr << "roviro-cli: "
              << (matches.empty() ? "no history of motor " : "several motors begin ")
              << EscapeControls(motor) << "; `roviro-cli history` lists the motors\n";
    return kExitUsage;
  }
  const std::vector<StoredVisit> stored = store->VisitsOf(matches.front());
  if (json) {
    std::cout << VisitsJson(stored) << '\n';
    return kExitOk;
  }
  std::vector<Visit> visits;
  std::vector<std::string> who;
  for (const StoredVisit& v : stored) {
    visits.push_back(v.visit);
    who.push_back("station " + v.station + (v.fitter.empty() ? "" : ", fitter " + v.fitter));
  }
  std::cout << "Motor " << matches.front() << ": " << visits.size()
            << (visits.size() == 1 ? " visit\n" : " visits\n")
            << Latin1ToUtf8(DescribeVisits(visits, who));
  return kExitOk;
}

}  // namespace

std::string SharedMotorKeyNotice(const ParameterImage& image) {
  if (!SharesMotorKey(image)) return {};
  return "motor " + MotorKey(image) +
         ": site no. and motor no. are both 0, so backups and history cannot tell this motor "
         "from any other of its type left at 0/0 (give them numbers to keep them apart)";
}

SafetyNet::SafetyNet(const Folders& folders)
    : m_folders(folders), m_settings(ReadProgramSettings(folders.SharedData())) {
  ReadContactProfile(folders.SharedData(), &m_contact);
  if (!folders.SharedData().empty()) {
    m_recorder = std::make_unique<VisitRecorder>(folders.SharedData(), m_settings, m_contact);
    // The tool syncs once its transfer is over, on its own thread.
    m_recorder->SetBackgroundSync(false);
    m_recorder->SetSyncWords(SyncFailureWords);
  }
}

SafetyNet::~SafetyNet() {
  if (m_recorder == nullptr) return;
  if (m_background) {
    m_recorder->WaitForSync();
  } else if (m_recorder->SyncDue()) {
    m_recorder->SyncNow();
  }
  const std::string notice = m_recorder->TakeNotice();
  if (!notice.empty()) std::cerr << "roviro-cli: " << Latin1ToUtf8(notice) << '\n';
}

void SafetyNet::Backup(const ParameterImage& image, BackupKind kind,
                       const Catalogue* currentCatalogue) {
  BackupContext context;
  context.sharedDataFolder = m_folders.SharedData();
  context.tempFolder = m_folders.Temp();
  context.contact = m_contact;
  context.currentCatalogue = currentCatalogue;
  context.now = RealClock().LocalNow();
  context.keep = m_settings.backupsPerMotor;
  const BackupResult result = WriteBackup(context, image, kind);
  if (m_recorder != nullptr) m_recorder->NoteBackup(result, MotorKey(image));
  if (result.status == BackupStatus::kFailed && !m_told) {
    m_told = true;
    std::cerr << "roviro-cli: " << result.path
              << ": the automatic backup cannot be written (the transfer goes on)\n";
  }
}

void SafetyNet::SyncInBackground() {
  m_background = true;
  if (m_recorder != nullptr) m_recorder->SetBackgroundSync(true);
}

void SafetyNet::Record(const Visit& visit) {
  if (m_recorder != nullptr && !m_recorder->Record(visit)) {
    std::cerr << "roviro-cli: the service history of motor " << visit.motorKey
              << " cannot be written to the records\n";
  }
}

int VerifyAfterUpload(BoxSession& session, const ParameterImage& written, bool boxOnly,
                      std::string* result, VerifyReport* reportOut, bool tell) {
  const VerifyReport report = VerifyWrittenSet(session.Link(), written,
                                               boxOnly ? VerifyTarget::kBox : VerifyTarget::kMotor);
  if (reportOut != nullptr) *reportOut = report;
  switch (report.outcome) {
    case VerifyOutcome::kMatch:
      *result = kVisitVerified;
      // Says what was compared, and what was left out.
      if (tell) {
        std::cerr << (boxOnly ? "verified: the box's blocks 0x39, 0x2E, 0x34 read back as "
                                "written (the box's check byte of block 0x39 is not read back)\n"
                              : "verified: the motor's blocks and the box's blocks read back as "
                                "written, the upload stamp included (not compared: the motor's "
                                "flag bit 7 of block 0x2E byte 8, its firmware byte and the "
                                "last byte of its block 0x39)\n");
      }
      return kExitOk;
    case VerifyOutcome::kMismatch:
      *result = kVisitMismatch;
      if (tell) {
        for (const ByteDifference& d : report.differences) {
          std::cout << DescribeDifference(d) << '\n';
        }
        std::cerr << "roviro-cli: verify: " << report.differences.size()
                  << " byte(s) read back differ from what was written\n";
      }
      return kExitTransfer;
    case VerifyOutcome::kOtherTarget:
      *result = kVisitUnverified;
      if (tell) {
        std::cerr << "roviro-cli: verify: the read-back reached the "
                  << (boxOnly ? "motor" : "box only") << ", not what was written\n";
      }
      return kExitTransfer;
    case VerifyOutcome::kNotRead:
      break;
  }
  *result = kVisitUnverified;
  if (tell) std::cerr << "roviro-cli: verify: the set could not be read back\n";
  return kExitTransfer;
}

int RunMotorDiff(const GlobalOptions& options, const std::string& file) {
  std::string path;
  std::string title;
  if (const int rc = CheckParameterFile(file, &path, &title); rc != kExitOk) return rc;
  const Folders folders = MakeFolders(options);
  const CatalogueList catalogues = LoadCataloguesQuietly(folders);
  // The file's blocks are what is compared: it need not belong to a loaded catalogue.
  ParameterImage fromFile;
  int selection = 0;
  StderrMessageSink fileSink;
  if (!LoadParameterFile(path, fromFile, CatalogueList{}, &selection, &fileSink).Ok()) {
    PrintPathError(path, "cannot be loaded as a parameter file");
    return kExitFile;
  }

  ParameterImage fromMotor;
  fromMotor.Clear();
  BoxSession session(options, folders, fromMotor);
  const Catalogue* simMotor = catalogues.empty() ? nullptr : catalogues.front().get();
  if (const int rc = session.Connect(simMotor); rc != kExitOk) return rc;
  session.Link().State().m_jobMask = 1;
  session.Link().State().m_mode = 1;
  session.RunWorker(&CDeviceLink::StartDownload);
  if (session.Sink().WasPosted(kMsgNoParameters)) {
    std::cerr << "roviro-cli: no motor connected, and the box holds no parameters\n";
    return kExitNoParameters;
  }
  const bool box = session.Sink().WasPosted(kMsgBoxOnly);
  if (!box && !session.Sink().WasPosted(kMsgTransferDone)) {
    std::cerr << "roviro-cli: download failed\n";
    return kExitTransfer;
  }
  const VerifyTarget target = box ? VerifyTarget::kBox : VerifyTarget::kMotor;
  if (box) std::cerr << "no motor connected: compared with the box's blocks 0x39, 0x2E, 0x34\n";

  int differences = 0;
  for (const BlockInfo& info : kBlocks) {
    if (!ReadBlock(target, info.command)) continue;
    const auto a = fromFile.Block(info.command);
    const auto b = fromMotor.Block(info.command);
    for (int i = 0; i < info.size; ++i) {
      const auto k = static_cast<std::size_t>(i);
      if (a[k] == b[k]) continue;
      // Counted are the motor's type and what an upload of the file would write and verify;
      // the rest (operating data, upload stamp, firmware, ...) differs between any file and
      // the motor and is shown without being counted.
      // The box's serial and version, the upload stamp and the check byte over them are what
      // the upload itself puts in: shown as such, not counted, as verify leaves them to it.
      const bool identity = info.command == 0x39 && i < 3;
      const bool byUpload = !identity && SetByUpload(info.command, i);
      const bool counted =
          identity || (!byUpload && ((a[k] ^ b[k]) & ComparedBits(target, info.command, i)) != 0);
      char line[112];
      std::snprintf(line, sizeof line, "block 0x%02X (Zeile_%d) byte %2d: %02X %02X%s",
                    info.command, info.line, i, a[k], b[k],
                    counted    ? ""
                    : byUpload ? "  (not counted: set by the upload)"
                               : "  (not counted: not set by an upload)");
      std::cout << line << '\n';
      differences += counted ? 1 : 0;
    }
  }
  return differences > 0 ? kExitDifferences : kExitOk;
}

int LoadReplay(sim::BoxSimulator& box, const std::string& path) {
  std::string text;
  if (!ReadWholeFile(path, &text)) {
    std::cerr << "roviro-cli: " << path << ": cannot be read\n";
    return kExitFile;
  }
  std::vector<sim::TraceLine> lines;
  std::string error;
  std::string note;
  if (!sim::ParseTrace(text, &lines, &error, &note)) {
    std::cerr << "roviro-cli: " << path << ": not a telegram trace (" << error << ")\n";
    return kExitFile;
  }
  if (!note.empty()) std::cerr << "roviro-cli: " << path << ": " << note << '\n';
  auto replay = std::make_shared<sim::TraceReplay>(lines);
  if (replay->Exchanges() == 0) {
    std::cerr << "roviro-cli: " << path << ": the trace holds no request to the box\n";
    return kExitFile;
  }
  box.SetReplay(replay);
  return kExitOk;
}

void AddSafetyCommands(CLI::App& app, const GlobalOptions& options, int& rc) {
  static std::string motor;
  static bool json = false;
  auto* history = app.add_subcommand(
      "history",
      "the service history: without MOTOR the motors on record, with MOTOR (its key or the "
      "beginning of it) every visit with the change of running time and the new event codes");
  history->add_option("MOTOR", motor, "motor key, e.g. 013210-1-2");
  history->add_flag("--json", json, "one JSON array of visit objects on standard output");
  history->callback([&] { rc = PrintHistory(options, motor, json); });
}

}  // namespace roviro::cli
