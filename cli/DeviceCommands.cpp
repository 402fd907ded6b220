#include "cli/DeviceCommands.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <thread>

#include "catalogue/ContactProfile.h"
#include "catalogue/LudFile.h"
#include "cli/BoxSession.h"
#include "cli/FileCommands.h"
#include "cli/SafetyCommands.h"
#include "device/OperatingData.h"
#include "pages/ScreenDescription.h"
#include "pages/TextHelpers.h"
#include "platform/Paths.h"
#include "records/ParameterFile.h"
#include "rules/MotorList.h"
#include "rules/OperatingDataView.h"

namespace roviro::cli {

namespace {

// The catalogues as start-up loads them (messages printed), and the image filled from each
// one's first motor, the last one winning, as the main dialog leaves it.
CatalogueList LoadCataloguesAsStartUp(const Folders& folders, ParameterImage& image) {
  StderrMessageSink sink;
  CatalogueLoadContext context{folders.Program(), folders.Temp(), &sink};
  CatalogueList list;
  LoadCatalogues(context, list);
  for (const auto& c : list) CopyMotorToParameterImage(c.get(), &image, 0);
  return list;
}

const Catalogue* At(const CatalogueList& list, int index) {
  return index >= 0 && static_cast<std::size_t>(index) < list.size() ? list[index].get() : nullptr;
}

// How a transfer worker ended, from the messages it posted (from post number `from` on: a
// session that runs several transfers looks at the last one only).
int TransferOutcome(const StderrMessageSink& sink, bool upload, std::size_t from = 0) {
  const std::vector<StderrMessageSink::Posted> posts = sink.Posts();
  const auto posted = [&](std::uint32_t msg, int wParam) {
    for (std::size_t k = from; k < posts.size(); ++k) {
      if (posts[k].msg == msg &&
          (wParam < 0 || posts[k].wParam == static_cast<std::uintptr_t>(wParam))) {
        return true;
      }
    }
    return false;
  };
  if (posted(kMsgNoParameters, -1)) return kExitNoParameters;
  if (posted(kMsgTransferDone, 1) && upload) return kExitOtherMotor;
  if (posted(kMsgTransferDone, -1) || posted(kMsgBoxOnly, -1)) return kExitOk;
  return kExitTransfer;
}

std::string Hex2(std::uint8_t v) {
  char text[4];
  std::snprintf(text, sizeof text, "%02X", v);
  return text;
}

int RunPorts(const GlobalOptions& options) {
  const Folders folders = MakeFolders(options);
  ParameterImage scratch;
  scratch.Clear();
  BoxSession session(options, folders, scratch);
  if (const int rc = session.Connect(); rc != kExitOk) return rc;
  std::string serial = "?";
  std::string version = "?";
  if (session.Link().IdentifyBox() == 1) {
    serial = Hex2(scratch.Block(0x2E)[0]) + Hex2(scratch.Block(0x2E)[1]);
    version = Hex2(scratch.Block(0x39)[15]);
  }
  // A device given with --port and the simulated box's pseudo-terminal are named by their
  // path only; a bridge that discovery found also by the port name the ignore list uses.
  std::cout << session.DevicePath() << "\tserial " << serial << "\tversion " << version;
  if (options.port.empty() && !options.simulate) std::cout << '\t' << session.LogicalPort();
  std::cout << '\n';
  return kExitOk;
}

struct DownloadTexts {
  std::string output;
  bool requireMotor = false;  // a download from the box alone exits kExitNoMotor
  std::string name, company, comment, motorName;
  bool hasName = false, hasCompany = false, hasComment = false, hasMotorName = false;
};

int RunDownload(const GlobalOptions& options, const DownloadTexts& texts) {
  std::string path;
  std::string title;
  if (!ResolveParameterFilePath(texts.output, &path, &title)) {
    PrintPathError(texts.output, "not usable as a parameter file name");
    return kExitUsage;
  }
  path = NormalisePath(path);
  // Whatever would stop the save is found before the box is touched.
  if (const std::string problem = OutputFileProblem(path); !problem.empty()) {
    PrintPathError(path, problem);
    return kExitFile;
  }
  const Folders folders = MakeFolders(options);
  if (!folders.DataFolderAvailable()) {
    std::cerr << "roviro-cli: no data folder for the scratch files of the save (set HOME or "
                 "XDG_DATA_HOME, or use --data-dir)\n";
    return kExitFile;
  }
  ParameterImage image;
  image.Clear();
  const CatalogueList catalogues = LoadCataloguesAsStartUp(folders, image);
  ContactRecord contact;
  ReadContactProfile(folders.SharedData(), &contact);

  BoxSession session(options, folders, image);
  if (const int rc = session.Connect(At(catalogues, 0)); rc != kExitOk) return rc;
  session.Link().State().m_jobMask = 1;
  session.Link().State().m_mode = 1;
  session.RunWorker(&CDeviceLink::StartDownload);
  SafetyNet net(folders);
  if (const int rc = TransferOutcome(session.Sink(), false); rc != kExitOk) {
    net.Record(MakeVisit(VisitKind::kDownload, nullptr, false, "-",
                         rc == kExitNoParameters ? kVisitNoParameters : kVisitFailed,
                         RealClock().LocalNow()));
    std::cerr << (rc == kExitNoParameters
                      ? "roviro-cli: download failed: no motor connected, and the box holds no "
                        "parameters\n"
                      : "roviro-cli: download failed\n");
    return rc;
  }
  const bool fromBox = session.Sink().WasPosted(kMsgBoxOnly);
  if (fromBox && texts.requireMotor) {
    net.Record(
        MakeVisit(VisitKind::kDownload, &image, false, "box", kVisitOk, RealClock().LocalNow()));
    std::cerr << "roviro-cli: no motor connected: only the box was read; " << path
              << " was not written (--require-motor)\n";
    return kExitNoMotor;
  }

  // The catalogue motor and its data file, as the load-data screen picks them.
  const int selection = SelectMotorForImage(catalogues, image);
  const Catalogue* current = At(catalogues, selection);
  const std::int32_t valid = image.m_valid;
  ReadLudFile(&image, current, image.Variant() <= 2 ? image.Variant() : 0, folders.Temp(), contact);
  image.m_valid = valid;
  if (texts.hasName) image.m_name = Utf8ToLatin1(texts.name);
  if (texts.hasCompany) image.m_firma = Utf8ToLatin1(texts.company);
  if (texts.hasComment) image.m_kommentar = Utf8ToLatin1(texts.comment);
  if (texts.hasMotorName) image.m_moName = Utf8ToLatin1(texts.motorName);
  net.Backup(image, BackupKind::kRead, current);
  net.Record(MakeVisit(VisitKind::kDownload, &image, !fromBox, fromBox ? "box" : "motor", kVisitOk,
                       RealClock().LocalNow()));

  if (Failed(SaveParameterFile(path, image, contact, current, folders.Temp(),
                               RealClock().LocalNow()))) {
    PrintPathError(path, "cannot be written");
    return kExitFile;
  }
  std::cerr << "downloaded from the " << (fromBox ? "box (no motor connected)" : "motor")
            << " into " << path << '\n';
  if (const std::string notice = SharedMotorKeyNotice(image); !notice.empty()) {
    std::cerr << "roviro-cli: " << notice << '\n';
  }
  return kExitOk;
}

int RunUpload(const GlobalOptions& options, const std::string& file, bool verify,
              bool boxOnlyAccepted) {
  const Folders folders = MakeFolders(options);
  UploadSet set;
  if (const int rc = LoadUploadSet(file, folders, &set); rc != kExitOk) return rc;
  BoxSession session(options, folders, set.image);
  if (const int rc = session.Connect(set.Current()); rc != kExitOk) return rc;
  SafetyNet net(folders);
  return WriteSetIntoMotor(session, set.image, set.Current(), net, verify, boxOnlyAccepted, true)
      .rc;
}

// The operating data without the page's wording: the numbers and codes alone.
void PrintOperatingDataPlain(const OperatingDataView& view, const std::string& firmware) {
  std::cout << "Running time: " << view.runningSeconds << " s";
  if (!firmware.empty()) std::cout << " - " << Latin1ToUtf8(firmware);
  std::cout << "\nCounter 1: " << view.firstCounter << "\nCounter 2: " << view.secondCounter
            << '\n';
  for (std::size_t k = 0; k < view.events.size(); ++k) {
    std::cout << k << '\t' << Hex2(view.events[k].code) << '\n';
  }
}

int RunOpData(const GlobalOptions& options, bool json) {
  const Folders folders = MakeFolders(options);
  ParameterImage image;
  image.Clear();
  const CatalogueList catalogues = LoadCataloguesAsStartUp(folders, image);
  image.Clear();
  // The read is the job; the page only words it. Without the page the numbers and codes are
  // shown all the same.
  ScreenDescription page;
  const std::string languageFolder = LanguageFolder(folders, options.language);
  const bool worded = !languageFolder.empty() && Succeeded(page.Load(languageFolder, 8, 20));
  if (!worded) {
    const std::string where =
        languageFolder.empty() ? folders.Program() + kScreenFolder : languageFolder;
    std::cerr << "roviro-cli: the event texts are not available (no operating-data page of "
                 "language "
              << options.language << " below " << DisplayPath(where)
              << "); numbers and codes only\n";
  }
  BoxSession session(options, folders, image);
  if (const int rc = session.Connect(At(catalogues, 0)); rc != kExitOk) return rc;
  // The firmware version lives in the motor's identity block: read the set first, as the
  // fitter does before opening the operating data. Without it the version is not shown.
  session.Link().State().m_jobMask = 1;
  session.Link().State().m_mode = 1;
  session.RunWorker(&CDeviceLink::StartDownload);
  const bool identified = session.Sink().WasPosted(kMsgTransferDone);
  if (!identified) image.Block(0x39)[16] = 0;
  SafetyNet net(folders);
  if (Failed(ReadOperatingData(session.Link()))) {
    net.Record(MakeVisit(VisitKind::kOperatingData, identified ? &image : nullptr, false, "motor",
                         kVisitFailed, RealClock().LocalNow()));
    std::cerr << "roviro-cli: the motor does not answer\n";
    return kExitTransfer;
  }
  net.Record(MakeVisit(VisitKind::kOperatingData, identified ? &image : nullptr, true, "motor",
                       kVisitOk, RealClock().LocalNow()));
  const OperatingDataView view = BuildOperatingDataView(image, page);
  std::string firmware = MotorFirmwareText(image.Block(0x39)[16]);
  if (firmware.rfind(" - ", 0) == 0) firmware.erase(0, 3);
  if (json) {
    const auto text = [worded](const std::string& value) {
      return worded ? nlohmann::ordered_json(Latin1ToUtf8(value)) : nlohmann::ordered_json(nullptr);
    };
    nlohmann::ordered_json doc;
    doc["runningSeconds"] = view.runningSeconds;
    doc["runningTime"] = text(view.timeLine);
    doc["firmware"] = Latin1ToUtf8(firmware);
    doc["counter1"] = view.firstCounter;
    doc["counter2"] = view.secondCounter;
    nlohmann::ordered_json events = nlohmann::ordered_json::array();
    for (const auto& row : view.events) {
      events.push_back({{"code", Hex2(row.code)}, {"text", text(row.columns[2])}});
    }
    doc["events"] = events;
    std::cout << doc.dump(2) << '\n';
    return kExitOk;
  }
  if (!worded) {
    PrintOperatingDataPlain(view, firmware);
    return kExitOk;
  }
  std::cout << Latin1ToUtf8(page.Text(2, 0)) << ' ' << Latin1ToUtf8(view.timeLine) << '\n';
  std::cout << Latin1ToUtf8(page.Text(4, 0)) << ' ' << view.firstCounter << '\n';
  std::cout << Latin1ToUtf8(page.Text(4, 1)) << ' ' << view.secondCounter << '\n';
  for (const auto& row : view.events) {
    std::cout << Latin1ToUtf8(row.columns[0]) << '\t' << Latin1ToUtf8(row.columns[1]) << '\t'
              << Latin1ToUtf8(row.columns[2]) << '\n';
  }
  return kExitOk;
}

volatile std::sig_atomic_t g_interrupted = 0;
extern "C" void OnInterrupt(int) { g_interrupted = 1; }

struct SimOptions {
  bool noMotor = false;
  std::string motor;  // six hex digits: the motor identity (block 0x39 bytes 0..2)
  bool boxEmpty = false;
  bool pace = false;
  int processingDelayMs = 0;
  std::string replay;        // answer from this telegram trace
  double damagePercent = 0;  // replies with one bit flipped, for soak runs
  std::uint32_t seed = 1;
  std::string line;       // a line of motors: a count, or identities separated by commas
  int lineGapMs = 500;    // from a motor's leaving to the next one's arrival
  int lineDwellMs = 150;  // from a motor's connection end to its leaving
};

// --line MOTORS: up to five decimal digits are a count of motors of `first`'s identity; anything
// else is a comma-separated list of identities of six hex digits each (blanks allowed).
bool ParseLine(const std::string& text, const std::array<std::uint8_t, 3>& first,
               std::vector<std::array<std::uint8_t, 3>>* motors) {
  motors->clear();
  const std::string compact = RemoveBlanks(text);
  if (!compact.empty() && compact.size() <= 5 &&
      compact.find_first_not_of("0123456789") == std::string::npos) {
    const int count = std::stoi(compact);
    if (count < 1) return false;
    motors->assign(static_cast<std::size_t>(count), first);
    return true;
  }
  std::size_t at = 0;
  for (;;) {
    const std::size_t comma = compact.find(',', at);
    const std::string item = compact.substr(at, comma == std::string::npos ? comma : comma - at);
    if (item.size() != 6 || item.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
      return false;
    }
    std::array<std::uint8_t, 3> identity{};
    HexToBytes(identity.data(), item, 3);
    motors->push_back(identity);
    if (comma == std::string::npos) return true;
    at = comma + 1;
  }
}

int RunSim(const GlobalOptions& options, const SimOptions& simOptions) {
  auto box = std::make_shared<sim::BoxSimulator>(RealClock());
  const Folders folders = MakeFolders(options);
  ParameterImage image;
  image.Clear();
  const CatalogueList catalogues = LoadCataloguesAsStartUp(folders, image);
  if (!catalogues.empty()) {
    // A motor of the first known type, so that the program finds it in its catalogues.
    image.Clear();
    CopyMotorToParameterImage(catalogues[0].get(), &image, 0);
    LoadSimulatedMotor(*box, image);
  }
  if (!simOptions.motor.empty()) {
    const std::string digits = RemoveBlanks(simOptions.motor);
    if (digits.size() != 6 ||
        digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
      std::cerr << "roviro-cli: --motor takes six hex digits, for example 12 34 41\n";
      return kExitUsage;
    }
    std::vector<std::uint8_t> block = box->MotorBlock(0x39);
    HexToBytes(block.data(), digits, 3);
    sim::BoxSimulator::Seal(block);
    box->SetMotorBlock(0x39, block);
  }
  box->SetMotorPresent(!simOptions.noMotor);
  box->SetBoxHasParameters(!simOptions.boxEmpty);
  box->SetPacing(simOptions.pace);
  if (simOptions.damagePercent > 0) {
    sim::FaultConfig faults;
    faults.seed = simOptions.seed;
    faults.flipReplyPpm = static_cast<int>(simOptions.damagePercent * 10000.0);
    box->SetFaults(faults);
  }
  box->SetProcessingDelayUs(static_cast<std::int64_t>(simOptions.processingDelayMs) * 1000);
  if (!simOptions.replay.empty()) {
    if (const int rc = LoadReplay(*box, simOptions.replay); rc != kExitOk) return rc;
  }
  if (!simOptions.line.empty()) {
    const std::vector<std::uint8_t> id = box->MotorBlock(0x39);
    std::vector<std::array<std::uint8_t, 3>> motors;
    if (id.size() < 3 || !ParseLine(simOptions.line, {id[0], id[1], id[2]}, &motors)) {
      std::cerr << "roviro-cli: --line takes a count of motors (1 to 99999) or motor identities "
                   "of six hex digits separated by commas, for example 123440,123448\n";
      return kExitUsage;
    }
    box->SetLine(motors, static_cast<std::int64_t>(simOptions.lineDwellMs) * 1000,
                 static_cast<std::int64_t>(simOptions.lineGapMs) * 1000);
  }
  sim::PtyTransport pty(box);
  if (Failed(pty.Start())) {
    std::cerr << "roviro-cli: cannot open a pseudo-terminal\n";
    return kExitNoBox;
  }
  std::cout << pty.SlavePath() << std::endl;
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
  // A line tells when each motor arrived (milliseconds since the epoch), once a request has
  // found it there.
  std::size_t told = 0;
  while (g_interrupted == 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (simOptions.line.empty()) continue;
    const std::vector<std::int64_t> arrivals = box->LineArrivalTimesUs();
    for (; told < arrivals.size(); ++told) {
      const std::int64_t agoMs = (box->NowUs() - arrivals[told]) / 1000;
      const std::int64_t epochMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                                       std::chrono::system_clock::now().time_since_epoch())
                                       .count() -
                                   agoMs;
      std::cout << "motor " << told + 1 << " arrived " << epochMs << std::endl;
    }
  }
  pty.Stop();
  return kExitOk;
}

}  // namespace

const Catalogue* UploadSet::Current() const { return At(catalogues, selection); }

int LoadUploadSet(const std::string& file, const Folders& folders, UploadSet* set) {
  std::string resolved;
  std::string title;
  if (const int rc = CheckParameterFile(file, &resolved, &title); rc != kExitOk) return rc;
  set->image.Clear();
  set->catalogues = LoadCataloguesAsStartUp(folders, set->image);
  set->selection = SelectMotorForImage(set->catalogues, set->image);
  StderrMessageSink fileSink;
  const ParameterFileLoadResult loaded =
      LoadParameterFile(resolved, set->image, set->catalogues, &set->selection, &fileSink);
  if (!loaded.Ok()) {
    PrintPathError(resolved, loaded.status == ParameterFileStatus::kNoSelection
                                 ? "no loaded catalogue holds this motor"
                             : loaded.status == ParameterFileStatus::kUnparsable
                                 ? "the document is not well-formed XML"
                                 : "the document lacks a required element or holds an empty one");
    return kExitFile;
  }
  return kExitOk;
}

UploadResult WriteSetIntoMotor(BoxSession& session, ParameterImage& image,
                               const Catalogue* catalogue, SafetyNet& net, bool verify,
                               bool boxOnlyAccepted, bool tell) {
  UploadResult out;
  session.Link().State().m_catalogue = catalogue;
  net.Backup(image, BackupKind::kWritten, catalogue);
  session.Link().State().m_jobMask = 2;
  session.Link().State().m_mode = 2;
  const std::size_t postsBefore = session.Sink().Posts().size();
  session.RunWorker(&CDeviceLink::StartUpload);
  int rc = TransferOutcome(session.Sink(), true, postsBefore);
  const std::vector<StderrMessageSink::Posted> posts = session.Sink().Posts();
  for (std::size_t k = postsBefore; k < posts.size(); ++k) {
    if (posts[k].msg == kMsgTransferFailed && posts[k].wParam != 0) {
      out.failureCode = static_cast<std::uint32_t>(posts[k].wParam);
    }
    if (posts[k].msg == kMsgBoxOnly) out.boxOnly = true;
  }
  const bool boxOnly = out.boxOnly;
  out.visitResult = rc == kExitOk           ? kVisitOk
                    : rc == kExitOtherMotor ? kVisitOtherMotor
                                            : kVisitFailed;
  if (rc == kExitOtherMotor) {
    if (tell)
      std::cerr << "roviro-cli: the connected motor is of another type; nothing was written\n";
  } else if (rc != kExitOk) {
    if (tell) std::cerr << "roviro-cli: upload failed\n";
  } else {
    if (tell) {
      std::cerr << "uploaded into the "
                << (boxOnly ? "box (no motor connected)" : "motor and the box") << '\n';
    }
    if (verify) {
      out.verified = true;
      rc = VerifyAfterUpload(session, image, boxOnly, &out.visitResult, &out.verify, tell);
    }
    if (rc == kExitOk && boxOnly && !boxOnlyAccepted) {
      if (tell) std::cerr << "roviro-cli: no motor connected: only the box was written\n";
      rc = kExitNoMotor;
    }
  }
  // A motor of another type is not the set's motor: its visit is not put on the set's record.
  net.Record(MakeVisit(VisitKind::kUpload, rc == kExitOtherMotor ? nullptr : &image, false,
                       boxOnly ? "box" : "motor", out.visitResult, RealClock().LocalNow()));
  out.rc = rc;
  return out;
}

void AddDeviceCommands(CLI::App& app, const GlobalOptions& options, int& rc) {
  auto* ports = app.add_subcommand("ports",
                                   "boxes that discovery finds: device, box serial, box "
                                   "version, and for a USB bridge its port name (COMn)");
  ports->callback([&] { rc = RunPorts(options); });

  static DownloadTexts download;
  auto* dl = app.add_subcommand(
      "download",
      "read the set from the motor (from the box when no motor is connected) and "
      "save it as a parameter file");
  dl->add_option("-o,--output", download.output, "the *.kxmc file to write")->required();
  dl->add_option("--name", download.name, "name of the set");
  dl->add_option("--company", download.company, "company of the set");
  dl->add_option("--comment", download.comment, "comment (\\n for a line break)");
  dl->add_option("--motor-name", download.motorName, "motor name of the set");
  dl->add_flag("--require-motor", download.requireMotor,
               "without a motor (the box's set only) write nothing and exit 8");
  dl->callback([&, dl] {
    download.hasName = dl->count("--name") > 0;
    download.hasCompany = dl->count("--company") > 0;
    download.hasComment = dl->count("--comment") > 0;
    download.hasMotorName = dl->count("--motor-name") > 0;
    if (download.hasComment) download.comment = ExpandLineBreaks(download.comment);
    rc = RunDownload(options, download);
  });

  static std::string uploadFile;
  static bool uploadVerify = false;
  auto* ul = app.add_subcommand("upload", "load a parameter file and write it into motor and box");
  ul->add_option("FILE", uploadFile, "the *.kxmc file")->required();
  ul->add_flag("--verify", uploadVerify,
               "read motor and box back afterwards and compare; differing bytes exit 4");
  static bool uploadBoxOnly = false;
  ul->add_flag("--box-only", uploadBoxOnly,
               "accept an upload that reaches the box only (else no motor exits 8)");
  ul->callback([&] { rc = RunUpload(options, uploadFile, uploadVerify, uploadBoxOnly); });

  static bool opJson = false;
  auto* op = app.add_subcommand("opdata", "read the motor's operating data");
  op->add_flag("--json", opJson, "one JSON document on standard output");
  op->callback([&] { rc = RunOpData(options, opJson); });

  static SimOptions simOptions;
  auto* simCmd = app.add_subcommand(
      "sim",
      "serve the simulated box on a pseudo-terminal; prints the device path first; runs "
      "until interrupted");
  simCmd->add_flag("--no-motor", simOptions.noMotor, "no motor plugged into the box");
  simCmd->add_option("--motor", simOptions.motor, "motor identity, six hex digits");
  simCmd->add_flag("--box-empty", simOptions.boxEmpty, "the box holds no parameters");
  simCmd->add_flag("--pace", simOptions.pace, "send at the real 9600-baud pace");
  simCmd
      ->add_option("--processing-delay", simOptions.processingDelayMs,
                   "milliseconds the box takes per command before it answers (default 0)")
      ->check(CLI::Range(0, 10000));
  simCmd->add_option("--replay", simOptions.replay,
                     "answer every request as a telegram trace (--trace FILE) recorded it");
  simCmd
      ->add_option("--damage-replies", simOptions.damagePercent,
                   "flip one bit in this percentage of the box's replies (0..100)")
      ->check(CLI::Range(0.0, 100.0));
  simCmd->add_option("--seed", simOptions.seed, "seed of the damaged replies");
  auto* line = simCmd
                   ->add_option("--line", simOptions.line,
                                "a line of motors, one after the other: a count of motors of the "
                                "first catalogue's type, or identities (six hex digits) "
                                "separated by commas; each leaves after its connection end")
                   ->type_name("MOTORS");
  simCmd
      ->add_option("--line-gap", simOptions.lineGapMs,
                   "milliseconds from a motor's leaving to the next one's arrival (default 500)")
      ->check(CLI::Range(0, 600000))
      ->needs(line);
  simCmd
      ->add_option("--line-dwell", simOptions.lineDwellMs,
                   "milliseconds a motor stays after its connection end (default 150)")
      ->check(CLI::Range(0, 600000))
      ->needs(line);
  line->excludes("--no-motor");
  simCmd->callback([&] { rc = RunSim(options, simOptions); });
}

}  // namespace roviro::cli
