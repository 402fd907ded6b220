#pragma once
// The service history: every download, upload and operating-data read appends one line to the
// history file of its motor,
//
//   <shared data>/Trevanic/DI DU-RoviroDazo/Verlauf/<motor>.txt
//
// (<motor> as for the backups, "unbekannt" when the motor could not be told). One visit a
// line, tab-separated, "-" for what was not read:
//
//   V1  2026-12-08 17:39:05  download  motor  013210-1-2  52  90061  7  3
//       01 02 03 02 04 03 0B 02 03 01  ok  #5D0C27A1
//
// fields: format, local time, what (download, upload, opdata), where from (motor, box),
// motor, firmware byte (hex), running time in seconds, the two counters, the ten event codes
// oldest first, the result, and a check of the line (FNV-1a of everything before its tab).
// A line is appended in one write; before it, a last line a crash left without its line
// feed is ended, so it stays a line of its own. Reading ignores every line that is torn,
// checked wrong or not of this format.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/ParameterImage.h"
#include "platform/Clock.h"

namespace roviro {

inline constexpr const char* kHistoryFolderName = "Verlauf";
inline constexpr const char* kUnknownMotorKey = "unbekannt";

enum class VisitKind { kDownload, kUpload, kOperatingData };

// Results written by the program and roviro-cli.
inline constexpr const char* kVisitOk = "ok";
inline constexpr const char* kVisitFailed = "failed";
inline constexpr const char* kVisitOtherMotor = "other-motor";      // upload refused
inline constexpr const char* kVisitNoParameters = "no-parameters";  // the box held none
inline constexpr const char* kVisitRefused = "refused";             // the upload could not start
inline constexpr const char* kVisitVerified = "ok-verified";        // upload read back alike
inline constexpr const char* kVisitMismatch = "verify-mismatch";    // upload read back differing
inline constexpr const char* kVisitUnverified = "ok-unverified";    // the read-back failed

struct Visit {
  SystemTime time;
  VisitKind kind = VisitKind::kDownload;
  std::string source = "-";  // "motor", "box" or "-"
  std::string motorKey = kUnknownMotorKey;
  int firmware = -1;  // block 0x39 byte 16; -1 not known
  std::int64_t runningSeconds = -1;
  int counter1 = -1;
  int counter2 = -1;
  std::vector<std::uint8_t> events;  // empty: not read
  std::string result = kVisitOk;
};

// A visit to the motor `image` holds the set of (null: a motor that could not be told):
// its key, its firmware byte (not for an upload, which does not read it) and with
// `operatingData` the running time, counters and event codes of block 0x30.
Visit MakeVisit(VisitKind kind, const ParameterImage* image, bool operatingData,
                const std::string& source, const std::string& result, const SystemTime& time);

const char* VisitKindWord(VisitKind kind);
// "2026-12-08 17:39:05"
std::string VisitTimeText(const SystemTime& time);

std::string FormatVisitLine(const Visit& visit);
// "01 02 03 ..." (hex, oldest first) or "-", as the history line and the store keep event codes.
std::string EventCodesText(const std::vector<std::uint8_t>& events);
bool ParseVisitLine(std::string_view line, Visit* out);

// The history folder and a motor's file; empty without a shared data folder.
std::string HistoryFolder(const std::string& sharedDataFolder);
std::string HistoryFilePath(const std::string& sharedDataFolder, const std::string& motorKey);

// Appends the visit to its motor's file; false without a shared data folder or when the line
// cannot be written.
bool AppendVisit(const std::string& sharedDataFolder, const Visit& visit);

struct HistoryFile {
  std::vector<Visit> visits;  // in file order
  int ignoredLines = 0;       // torn, checked wrong or unknown
};
// Reads the file in pieces, so a history of any size is read whole.
HistoryFile ReadHistory(const std::string& sharedDataFolder, const std::string& motorKey);
HistoryFile ParseHistory(std::string_view text);

// Longest line taken; a longer one (no history line is near it) is counted as ignored.
inline constexpr std::size_t kMaxHistoryLine = 4096;

// Splits bytes fed in any pieces into lines and parses each into `file`: a visit, or one
// more ignored line. Finish takes the rest after the last line feed as a torn line.
class HistoryLineReader {
 public:
  void Feed(std::string_view bytes, HistoryFile* file);
  void Finish(HistoryFile* file);

 private:
  void TakeLine(HistoryFile* file);
  std::string m_line;
  bool m_overlong = false;
};

// The text with control characters (C0, DEL, C1) and the backslash written as "\xNN", for
// printing texts of a file someone may have edited by hand.
std::string EscapeControls(std::string_view text);

// The motors with a history file, sorted.
std::vector<std::string> HistoryMotors(const std::string& sharedDataFolder);

// How many event codes of `after` are new since `before` (both oldest first, ten codes): the
// smallest shift that lines the older list up with the newer one; 10 when none does.
int NewEventCount(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after);

// The visits as `roviro-cli history MOTOR` prints them, with the change of running time and
// the new event codes since the visit before that read them; `who` (one text per visit, e.g.
// the station and fitter) ends each line.
std::string DescribeVisits(const std::vector<Visit>& visits,
                           const std::vector<std::string>& who = {});

}  // namespace roviro
