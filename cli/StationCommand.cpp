#include "cli/StationCommand.h"

#include <signal.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/BoxSession.h"
#include "cli/DeviceCommands.h"
#include "cli/SafetyCommands.h"
#include "device/MotorPresence.h"
#include "records/Backups.h"

namespace roviro::cli {

namespace {

// Set by SIGINT and SIGTERM; looked at only between motors and between presence polls.
volatile std::sig_atomic_t g_stationStop = 0;
extern "C" void OnStationStop(int) { g_stationStop = 1; }

void InstallStopHandlers() {
  struct sigaction action {};
  action.sa_handler = OnStationStop;
  sigemptyset(&action.sa_mask);
  // Restarted system calls: a signal in the middle of a telegram does not disturb the exchange.
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool StopAsked() { return g_stationStop != 0; }

struct StationOptions {
  std::string set;
  bool verify = false;
  int count = 0;  // 0: until stopped
  bool json = false;
};

enum class MotorOutcome { kWritten, kVerified, kRefused, kFailed };

const char* OutcomeWord(MotorOutcome outcome) {
  switch (outcome) {
    case MotorOutcome::kWritten:
      return "written";
    case MotorOutcome::kVerified:
      return "verified";
    case MotorOutcome::kRefused:
      return "refused";
    case MotorOutcome::kFailed:
      break;
  }
  return "failed";
}

// What became of one motor, and why when it was not written.
struct MotorLine {
  int n = 0;
  SystemTime start;
  std::string motorKey;
  int firmware = -1;
  MotorOutcome outcome = MotorOutcome::kFailed;
  std::string reason;
  std::int64_t ms = 0;
  std::int64_t waitedMs = 0;  // waiting for this motor to arrive
  std::vector<ByteDifference> differences;
};

MotorLine Judge(const UploadResult& upload, const ParameterImage& written) {
  MotorLine line;
  line.motorKey = MotorKey(written);
  if (upload.verified) line.firmware = upload.verify.firmware;
  if (upload.rc == kExitOtherMotor) {
    line.outcome = MotorOutcome::kRefused;
    line.reason = "a motor of another type: nothing written; take it away";
    line.motorKey.clear();
    return line;
  }
  if (upload.rc == kExitOk) {
    line.outcome = upload.verified ? MotorOutcome::kVerified : MotorOutcome::kWritten;
    return line;
  }
  line.outcome = MotorOutcome::kFailed;
  if (upload.failureCode != 0) {
    line.reason = "the motor's variant cannot be written with this set (Fehlercode " +
                  std::to_string(upload.failureCode) + ")";
  } else if (upload.rc == kExitNoMotor) {
    line.reason = "the motor went away before the write: only the box was written";
  } else if (!upload.verified) {
    line.reason = "the transfer failed: the motor or the box stopped answering";
  } else {
    switch (upload.verify.outcome) {
      case VerifyOutcome::kMismatch:
        line.reason = "verify: " + std::to_string(upload.verify.differences.size()) +
                      " byte(s) read back differ from what was written";
        line.differences = upload.verify.differences;
        break;
      case VerifyOutcome::kOtherTarget:
        line.reason = "verify: the read-back reached the box only, not the motor";
        break;
      default:
        line.reason = "verify: the set could not be read back";
        break;
    }
  }
  return line;
}

std::string StartText(const SystemTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u.%03u", t.year, t.month, t.day,
                t.hour, t.minute, t.second, t.milliseconds);
  return text;
}

std::string FirmwareWord(int firmware) {
  if (firmware < 0) return {};
  std::string text = MotorFirmwareText(static_cast<std::uint8_t>(firmware));
  if (text.rfind(" - ", 0) == 0) text.erase(0, 3);
  return Latin1ToUtf8(text);
}

void PrintLine(const MotorLine& line, bool json) {
  if (json) {
    nlohmann::ordered_json doc;
    doc["n"] = line.n;
    doc["start"] = StartText(line.start);
    doc["motor"] = line.motorKey.empty() ? nlohmann::ordered_json(nullptr)
                                         : nlohmann::ordered_json(line.motorKey);
    doc["firmware"] = line.firmware < 0 ? nlohmann::ordered_json(nullptr)
                                        : nlohmann::ordered_json(FirmwareWord(line.firmware));
    doc["result"] = OutcomeWord(line.outcome);
    if (!line.reason.empty()) doc["reason"] = line.reason;
    doc["ms"] = line.ms;
    doc["waitedMs"] = line.waitedMs;
    if (!line.differences.empty()) {
      nlohmann::ordered_json list = nlohmann::ordered_json::array();
      for (const ByteDifference& d : line.differences) {
        char block[8];
        char written[4];
        char read[4];
        std::snprintf(block, sizeof block, "0x%02X", d.block);
        std::snprintf(written, sizeof written, "%02X", d.written);
        std::snprintf(read, sizeof read, "%02X", d.read);
        list.push_back({{"device", d.device == VerifyTarget::kMotor ? "motor" : "box"},
                        {"block", block},
                        {"byte", d.byte},
                        {"written", written},
                        {"read", read}});
      }
      doc["differences"] = list;
    }
    std::cout << doc.dump() << std::endl;
    return;
  }
  std::cout << line.n << '\t' << StartText(line.start) << '\t'
            << (line.motorKey.empty() ? "-" : line.motorKey) << '\t'
            << (line.firmware < 0 ? "-" : FirmwareWord(line.firmware)) << '\t'
            << OutcomeWord(line.outcome) << '\t' << line.ms << " ms";
  if (!line.reason.empty()) std::cout << '\t' << line.reason;
  std::cout << std::endl;
  for (const ByteDifference& d : line.differences) {
    std::cout << "\t" << DescribeDifference(d) << '\n';
  }
}

struct Tally {
  int written = 0;  // verified ones included
  int verified = 0;
  int refused = 0;
  int failed = 0;
  std::int64_t waitingForMotorsMs = 0;
  std::int64_t waitingForLeavingMs = 0;
  std::int64_t transfersMs = 0;
  int Motors() const { return written + refused + failed; }
};

void PrintSummary(const Tally& tally, std::int64_t elapsedMs, bool json) {
  const double perHour = elapsedMs > 0 ? static_cast<double>(tally.Motors()) * 3600000.0 /
                                             static_cast<double>(elapsedMs)
                                       : 0.0;
  const long rounded = static_cast<long>(perHour + 0.5);
  std::cerr << "station: " << tally.Motors() << " motor(s): " << tally.written << " written ("
            << tally.verified << " verified), " << tally.refused << " refused, " << tally.failed
            << " failed; " << rounded << " motors per hour\n";
  if (json) {
    nlohmann::ordered_json doc;
    doc["summary"] = {{"motors", tally.Motors()},
                      {"written", tally.written},
                      {"verified", tally.verified},
                      {"refused", tally.refused},
                      {"failed", tally.failed},
                      {"motorsPerHour", rounded},
                      {"elapsedMs", elapsedMs},
                      {"transfersMs", tally.transfersMs},
                      {"waitingForMotorsMs", tally.waitingForMotorsMs},
                      {"waitingForLeavingMs", tally.waitingForLeavingMs}};
    std::cout << doc.dump() << std::endl;
  }
}

int RunStation(const GlobalOptions& options, const StationOptions& station) {
  const Folders folders = MakeFolders(options);
  UploadSet set;
  if (const int rc = LoadUploadSet(station.set, folders, &set); rc != kExitOk) return rc;
  // Every motor gets the file's set as loaded: what an upload takes over from one motor (its
  // variant's lines, the flag bit) must not reach the next.
  const ParameterImage loaded = set.image;
  BoxSession session(options, folders, set.image);
  if (const int rc = session.Connect(set.Current()); rc != kExitOk) return rc;
  SafetyNet net(folders);
  net.SyncInBackground();
  InstallStopHandlers();
  CDeviceLink& link = session.Link();
  Clock& clock = link.GetClock();
  std::cerr << "station: waiting for motors (Ctrl+C ends after the motor under way)\n";

  Tally tally;
  const std::int64_t begin = clock.NowMs();
  int rc = kExitOk;
  std::int64_t firstDelay = 0;
  while ((station.count == 0 || tally.Motors() < station.count) && !StopAsked()) {
    const PresenceWait arrival = WaitForPresence(link, true, firstDelay, StopAsked);
    if (arrival.stopped) break;
    if (arrival.reached == Presence::kNoBox) {
      std::cerr << "roviro-cli: the box does not answer any more; the station ends\n";
      rc = kExitNoBox;
      break;
    }
    tally.waitingForMotorsMs += arrival.waitedMs;
    const SystemTime startTime = clock.LocalNow();
    const std::int64_t started = clock.NowMs();
    set.image = loaded;
    const UploadResult upload =
        WriteSetIntoMotor(session, set.image, set.Current(), net, station.verify, false, false);
    MotorLine line = Judge(upload, set.image);
    line.n = tally.Motors() + 1;
    line.start = startTime;
    line.ms = clock.NowMs() - started;
    line.waitedMs = arrival.waitedMs;
    tally.transfersMs += line.ms;
    switch (line.outcome) {
      case MotorOutcome::kVerified:
        ++tally.verified;
        [[fallthrough]];
      case MotorOutcome::kWritten:
        ++tally.written;
        break;
      case MotorOutcome::kRefused:
        ++tally.refused;
        break;
      case MotorOutcome::kFailed:
        ++tally.failed;
        break;
    }
    PrintLine(line, station.json);
    if ((station.count != 0 && tally.Motors() >= station.count) || StopAsked()) break;
    // The same motor is never written twice: the next one is waited for only once this one has
    // gone. The first poll comes a pause after the transfer's last telegram.
    const PresenceWait leaving = WaitForPresence(link, false, kPresencePollMs, StopAsked);
    tally.waitingForLeavingMs += leaving.waitedMs;
    if (leaving.stopped) break;
    if (leaving.reached == Presence::kNoBox) {
      std::cerr << "roviro-cli: the box does not answer any more; the station ends\n";
      rc = kExitNoBox;
      break;
    }
    firstDelay = 0;  // the unanswered poll that saw it go lasted longer than the pause
  }
  PrintSummary(tally, clock.NowMs() - begin, station.json);
  if (tally.failed > 0) return kExitTransfer;
  if (rc != kExitOk) return rc;
  if (tally.refused > 0) return kExitOtherMotor;
  return kExitOk;
}

}  // namespace

void AddStationCommand(CLI::App& app, const GlobalOptions& options, int& rc) {
  static StationOptions station;
  auto* cmd = app.add_subcommand(
      "station",
      "production line: write --set FILE into one motor after another (--verify, --count N, "
      "--json); waits for each motor and for it to be taken away; exit 4 if any failed, 6 if "
      "any was refused");
  cmd->add_option("--set", station.set, "the *.kxmc file to write into every motor")
      ->required()
      ->type_name("FILE");
  cmd->add_flag("--verify", station.verify, "read motor and box back after each write and compare");
  cmd->add_option("--count", station.count,
                  "end after N motors (refused and failed ones count too; default: until "
                  "Ctrl+C or SIGTERM)")
      ->check(CLI::Range(1, 1000000))
      ->type_name("N");
  cmd->add_flag("--json", station.json,
                "one JSON object per motor on standard output, then one "
                "with the summary");
  cmd->callback([&] { rc = RunStation(options, station); });
}

}  // namespace roviro::cli
