#include "records/ServiceHistory.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "catalogue/Archive.h"
#include "platform/Folders.h"
#include "platform/Paths.h"
#include "records/Backups.h"

namespace roviro {

namespace {

constexpr const char* kFormatTag = "V1";
constexpr const char* kHistorySuffix = ".txt";
constexpr int kFieldCount = 12;
constexpr std::size_t kEventCount = 10;

std::uint32_t LineCheck(std::string_view text) {
  std::uint32_t hash = 2166136261u;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 16777619u;
  }
  return hash;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> out;
  std::size_t begin = 0;
  for (;;) {
    const std::size_t end = text.find(separator, begin);
    out.push_back(text.substr(begin, end == std::string_view::npos ? end : end - begin));
    if (end == std::string_view::npos) return out;
    begin = end + 1;
  }
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

bool ParseHexByte(std::string_view text, int* out) {
  if (text.size() != 2 || !IsHexDigit(text[0]) || !IsHexDigit(text[1])) return false;
  *out = static_cast<int>(std::strtol(std::string(text).c_str(), nullptr, 16));
  return true;
}

// A decimal number of at most 10 digits, or "-" for -1.
bool ParseCount(std::string_view text, std::int64_t* out) {
  if (text == "-") {
    *out = -1;
    return true;
  }
  if (text.empty() || text.size() > 10) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  *out = std::strtoll(std::string(text).c_str(), nullptr, 10);
  return true;
}

// "2026-12-08 17:39:05"
bool ParseTime(std::string_view text, SystemTime* out) {
  if (text.size() != 19) return false;
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  char tail = 0;
  if (std::sscanf(std::string(text).c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &s,
                  &tail) != 6) {
    return false;
  }
  SystemTime t;
  t.year = static_cast<std::uint16_t>(y);
  t.month = static_cast<std::uint16_t>(mo);
  t.day = static_cast<std::uint16_t>(d);
  t.hour = static_cast<std::uint16_t>(h);
  t.minute = static_cast<std::uint16_t>(mi);
  t.second = static_cast<std::uint16_t>(s);
  if (!IsValidSystemTime(t)) return false;
  *out = t;
  return true;
}

// Motor keys come from MotorKey; only they (and "unbekannt") may name a history file.
bool IsMotorKey(std::string_view key) {
  if (key == kUnknownMotorKey) return true;
  if (key.size() < 10 || key.size() > 14) return false;
  for (std::size_t i = 0; i < 6; ++i) {
    if (!IsHexDigit(key[i])) return false;
  }
  const auto parts = Split(key.substr(6), '-');
  if (parts.size() != 3 || !parts[0].empty()) return false;
  for (std::size_t i = 1; i < 3; ++i) {
    std::int64_t n = 0;
    if (parts[i].empty() || parts[i].size() > 3 || !ParseCount(parts[i], &n) || n > 255) {
      return false;
    }
  }
  return true;
}

std::string CountText(std::int64_t n) { return n < 0 ? "-" : std::to_string(n); }

bool EndsWithLineFeed(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return true;  // nothing there yet
  bool ends = true;
  if (std::fseek(file, -1, SEEK_END) == 0) ends = std::fgetc(file) == '\n';
  std::fclose(file);
  return ends;
}

}  // namespace

std::string EventCodesText(const std::vector<std::uint8_t>& events) {
  if (events.empty()) return "-";
  std::string out;
  char hex[4];
  for (std::uint8_t e : events) {
    std::snprintf(hex, sizeof hex, "%02X", e);
    if (!out.empty()) out += ' ';
    out += hex;
  }
  return out;
}

std::string VisitTimeText(const SystemTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year % 10000, t.month % 100,
                t.day % 100, t.hour % 100, t.minute % 100, t.second % 100);
  return text;
}

const char* VisitKindWord(VisitKind kind) {
  switch (kind) {
    case VisitKind::kDownload:
      return "download";
    case VisitKind::kUpload:
      return "upload";
    case VisitKind::kOperatingData:
      return "opdata";
  }
  return "download";
}

Visit MakeVisit(VisitKind kind, const ParameterImage* image, bool operatingData,
                const std::string& source, const std::string& result, const SystemTime& time) {
  Visit v;
  v.time = time;
  v.kind = kind;
  v.source = source.empty() ? "-" : source;
  v.result = result;
  if (image == nullptr) return v;
  v.motorKey = MotorKey(*image);
  // An upload reads only the motor's type: the set's firmware byte is not the motor's word.
  if (kind != VisitKind::kUpload) v.firmware = image->Block(0x39)[16];
  if (operatingData) {
    const auto op = image->Block(0x30);
    v.runningSeconds = static_cast<std::int64_t>(op[0]) | static_cast<std::int64_t>(op[1]) << 8 |
                       static_cast<std::int64_t>(op[2]) << 16 |
                       static_cast<std::int64_t>(op[3]) << 24;
    v.counter1 = op[5];
    v.counter2 = op[7];
    v.events.assign(op.begin() + 11, op.begin() + 21);
  }
  return v;
}

std::string FormatVisitLine(const Visit& v) {
  char firmware[4] = "-";
  if (v.firmware >= 0) std::snprintf(firmware, sizeof firmware, "%02X", v.firmware & 0xFF);
  std::string line = std::string(kFormatTag) + '\t' + VisitTimeText(v.time) + '\t' +
                     VisitKindWord(v.kind) + '\t' + v.source + '\t' + v.motorKey + '\t' + firmware +
                     '\t' + CountText(v.runningSeconds) + '\t' + CountText(v.counter1) + '\t' +
                     CountText(v.counter2) + '\t' + EventCodesText(v.events) + '\t' + v.result;
  char check[16];
  std::snprintf(check, sizeof check, "\t#%08X", LineCheck(line));
  return line + check;
}

bool ParseVisitLine(std::string_view line, Visit* out) {
  const auto tab = line.rfind('\t');
  if (tab == std::string_view::npos) return false;
  char check[16];
  std::snprintf(check, sizeof check, "#%08X", LineCheck(line.substr(0, tab)));
  if (line.substr(tab + 1) != check) return false;
  const auto f = Split(line, '\t');
  if (f.size() != kFieldCount || f[0] != kFormatTag) return false;
  Visit v;
  if (!ParseTime(f[1], &v.time)) return false;
  if (f[2] == "download") {
    v.kind = VisitKind::kDownload;
  } else if (f[2] == "upload") {
    v.kind = VisitKind::kUpload;
  } else if (f[2] == "opdata") {
    v.kind = VisitKind::kOperatingData;
  } else {
    return false;
  }
  if (f[3].empty() || f[10].empty() || !IsMotorKey(f[4])) return false;
  v.source = std::string(f[3]);
  v.motorKey = std::string(f[4]);
  v.result = std::string(f[10]);
  if (f[5] != "-" && !ParseHexByte(f[5], &v.firmware)) return false;
  std::int64_t c1 = 0, c2 = 0;
  if (!ParseCount(f[6], &v.runningSeconds) || !ParseCount(f[7], &c1) || !ParseCount(f[8], &c2)) {
    return false;
  }
  // The running time is four bytes of block 0x30, each counter one byte: a hand-edited
  // number beyond them is not a visit.
  if (v.runningSeconds > 0xFFFFFFFFll || c1 > 255 || c2 > 255) return false;
  v.counter1 = static_cast<int>(c1);
  v.counter2 = static_cast<int>(c2);
  if (f[9] != "-") {
    const auto codes = Split(f[9], ' ');
    if (codes.size() != kEventCount) return false;
    for (const auto code : codes) {
      int value = 0;
      if (!ParseHexByte(code, &value)) return false;
      v.events.push_back(static_cast<std::uint8_t>(value));
    }
  }
  if (out != nullptr) *out = std::move(v);
  return true;
}

std::string HistoryFolder(const std::string& sharedDataFolder) {
  if (sharedDataFolder.empty()) return {};
  return NormalisePath(sharedDataFolder + kCompanyFolder + kHistoryFolderName);
}

std::string HistoryFilePath(const std::string& sharedDataFolder, const std::string& motorKey) {
  const std::string folder = HistoryFolder(sharedDataFolder);
  if (folder.empty() || !IsMotorKey(motorKey)) return {};
  return JoinPath(folder, motorKey + kHistorySuffix);
}

bool AppendVisit(const std::string& sharedDataFolder, const Visit& visit) {
  const std::string path = HistoryFilePath(sharedDataFolder, visit.motorKey);
  if (path.empty() || !CreateFolderTree(FolderOf(path))) return false;
  std::string text = FormatVisitLine(visit) + "\n";
  if (!EndsWithLineFeed(path)) text.insert(text.begin(), '\n');
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

void HistoryLineReader::Feed(std::string_view bytes, HistoryFile* file) {
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    const std::string_view piece = bytes.substr(0, end);
    if (!m_overlong) {
      if (m_line.size() + piece.size() > kMaxHistoryLine) {
        m_overlong = true;
        m_line.clear();
      } else {
        m_line.append(piece);
      }
    }
    if (end == std::string_view::npos) return;
    TakeLine(file);
    bytes.remove_prefix(end + 1);
  }
}

void HistoryLineReader::Finish(HistoryFile* file) {
  // What follows the last line feed is a line a crash cut short (or nothing at all).
  if (m_overlong || !m_line.empty()) ++file->ignoredLines;
  m_line.clear();
  m_overlong = false;
}

void HistoryLineReader::TakeLine(HistoryFile* file) {
  if (m_overlong) {
    ++file->ignoredLines;
  } else {
    std::string_view line = m_line;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    Visit v;
    if (line.empty()) {
      // an empty line is no visit, and no damage either
    } else if (ParseVisitLine(line, &v)) {
      file->visits.push_back(std::move(v));
    } else {
      ++file->ignoredLines;
    }
  }
  m_line.clear();
  m_overlong = false;
}

HistoryFile ParseHistory(std::string_view text) {
  HistoryFile out;
  HistoryLineReader reader;
  reader.Feed(text, &out);
  reader.Finish(&out);
  return out;
}

HistoryFile ReadHistory(const std::string& sharedDataFolder, const std::string& motorKey) {
  HistoryFile out;
  const std::string path = HistoryFilePath(sharedDataFolder, motorKey);
  if (path.empty()) return out;
  // Read in pieces: a history of any size is read whole, a line at a time.
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return out;
  HistoryLineReader reader;
  std::vector<char> buffer(64 * 1024);
  for (;;) {
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file);
    if (got == 0) break;
    reader.Feed(std::string_view(buffer.data(), got), &out);
  }
  std::fclose(file);
  reader.Finish(&out);
  return out;
}

std::string EscapeControls(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    // C0, DEL and the C1 range of ISO-8859-1 (0x9B starts a terminal command as ESC [ does).
    if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0) || c == '\\') {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", u);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

std::vector<std::string> HistoryMotors(const std::string& sharedDataFolder) {
  std::vector<std::string> out;
  const std::string folder = HistoryFolder(sharedDataFolder);
  if (folder.empty() || !FolderExists(folder)) return out;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(FsPath(folder), ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string name = FsName(it->path().filename());
    const std::string suffix = kHistorySuffix;
    if (name.size() <= suffix.size() || name.substr(name.size() - suffix.size()) != suffix) {
      continue;
    }
    const std::string key = name.substr(0, name.size() - suffix.size());
    if (IsMotorKey(key)) out.push_back(key);
  }
  std::sort(out.begin(), out.end());
  return out;
}

int NewEventCount(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after) {
  const std::size_t n = std::min(before.size(), after.size());
  if (n == 0) return static_cast<int>(after.size());
  for (std::size_t shift = 0; shift < n; ++shift) {
    if (std::equal(after.begin(), after.begin() + static_cast<std::ptrdiff_t>(n - shift),
                   before.end() - static_cast<std::ptrdiff_t>(n - shift))) {
      return static_cast<int>(shift);
    }
  }
  return static_cast<int>(n);
}

std::string DescribeVisits(const std::vector<Visit>& visits, const std::vector<std::string>& who) {
  std::string out;
  const Visit* lastRead = nullptr;  // the last visit that read the operating data
  for (const Visit& v : visits) {
    const auto index = static_cast<std::size_t>(&v - visits.data());
    char head[96];
    std::snprintf(head, sizeof head, "%s  %-8s  %-5s  %-15s", VisitTimeText(v.time).c_str(),
                  VisitKindWord(v.kind), EscapeControls(v.source).c_str(),
                  EscapeControls(v.result).c_str());
    std::string line = head;
    if (v.firmware > 0) {
      std::string firmware = MotorFirmwareText(static_cast<std::uint8_t>(v.firmware));
      if (firmware.rfind(" - ", 0) == 0) firmware.erase(0, 3);
      line += "  " + firmware;
    }
    // A running time that went down belongs to another motor (several share a key whose two
    // numbers are 0) or to a replaced one: no change is computed across it.
    const bool comparable =
        lastRead != nullptr && (lastRead->runningSeconds < 0 || v.runningSeconds < 0 ||
                                v.runningSeconds >= lastRead->runningSeconds);
    if (v.runningSeconds >= 0) {
      line += "  running time " + std::to_string(v.runningSeconds) + " s";
      if (comparable && lastRead->runningSeconds >= 0) {
        const std::int64_t change = v.runningSeconds - lastRead->runningSeconds;
        line += std::string(" (") + (change >= 0 ? "+" : "") + std::to_string(change) + " s)";
      }
    }
    if (v.counter1 >= 0) {
      line += "  counters " + std::to_string(v.counter1) + ", " + std::to_string(v.counter2);
    }
    if (!v.events.empty()) {
      if (!comparable || lastRead->events.empty()) {
        line += "  events " + EventCodesText(v.events);
      } else {
        const int fresh = NewEventCount(lastRead->events, v.events);
        const std::vector<std::uint8_t> added(v.events.end() - fresh, v.events.end());
        line +=
            fresh == 0 ? std::string("  no new events") : "  new events " + EventCodesText(added);
        if (fresh == static_cast<int>(v.events.size())) line += " (or more)";
      }
      lastRead = &v;
    } else if (v.runningSeconds >= 0) {
      lastRead = &v;
    }
    if (SharesMotorKey(v.motorKey)) line += "  (several motors possible)";
    if (index < who.size() && !who[index].empty()) line += "  " + EscapeControls(who[index]);
    out += line + "\n";
  }
  return out;
}

}  // namespace roviro
