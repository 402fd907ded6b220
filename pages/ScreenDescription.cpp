#include "pages/ScreenDescription.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <memory>
#include <new>
#include <optional>

#include "pages/TextHelpers.h"
#include "platform/Paths.h"

namespace roviro {

namespace {

// ReadLine delivers at most this many characters; the rest of a longer line comes next.
constexpr std::size_t kMaxLineLength = 489;

enum class Section {
  kNone,
  kHeading,
  kScreenFlag,
  kObjectNr,
  kText,
  kBitmap,
  kPosition,
  kFlag,
  kFont,
  kTooltip
};

struct Header {
  std::string_view name;
  Section section;
};

constexpr std::array<Header, 9> kHeaders{{
    {"[UBERSCHRIFT]", Section::kHeading},
    {"[SCREEN_FLAG]", Section::kScreenFlag},
    {"[OBJEKT_NR]", Section::kObjectNr},
    {"[TEXT]", Section::kText},
    {"[BITMAP]", Section::kBitmap},
    {"[POSITION]", Section::kPosition},
    {"[FLAG]", Section::kFlag},
    {"[FONT]", Section::kFont},
    {"[TOOLTIP]", Section::kTooltip},
}};

std::optional<Section> KnownHeader(std::string_view line) {
  for (const auto& h : kHeaders) {
    if (EqualsNoCase(line, h.name)) return h.section;
  }
  return std::nullopt;
}

// Line feed off, then one carriage return (files written on Windows, read without text mode
// translation), then the comment.
void PrepareLine(std::string& line) {
  CleanLine(line, kCleanLineFeed);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  CleanLine(line, kCleanComment);
}

// A "%d" conversion: blanks skipped, optional sign, decimal digits. Values beyond the int range
// are clamped instead of overflowing.
bool ScanInt(const char*& p, std::int32_t& out) {
  char* end = nullptr;
  const long v = std::strtol(p, &end, 10);
  if (end == p) return false;
  p = end;
  out = static_cast<std::int32_t>(std::clamp<long>(v, INT_MIN, INT_MAX));
  return true;
}

// Reads "%d %d %d %d"; the rectangle changes only when all four values are there.
bool ScanPosition(const std::string& line, ScreenRect& rect) {
  const char* p = line.c_str();
  std::int32_t v[4];
  for (auto& x : v) {
    if (!ScanInt(p, x)) return false;
  }
  rect = {v[0], v[1], v[2], v[3]};
  return true;
}

bool IsObjectSection(Section s) {
  return s == Section::kText || s == Section::kBitmap || s == Section::kPosition ||
         s == Section::kFlag || s == Section::kFont || s == Section::kTooltip;
}

// Delivers the lines of an open file through ReadLine.
std::function<bool(std::string&)> FileLines(std::FILE* f) {
  return [f](std::string& line) {
    line = ReadLine(f);
    if (!line.empty()) return true;
    // Empty also for a line that begins with a zero byte; only the end of the file stops.
    return !std::feof(f) && !std::ferror(f);
  };
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

ScreenDescription::ScreenDescription() { Reset(); }

void ScreenDescription::Reset() {
  m_objects.clear();
  m_objects.shrink_to_fit();
  m_screenFlag = 0;
  m_heading = "Error";
}

std::string ScreenDescription::PagePath(std::string_view folder, int screenNumber) {
  char number[16];
  std::snprintf(number, sizeof number, "%.3d", screenNumber);
  std::string path(folder);
  path += "\\Screen";
  path += number;
  path += ".dat";
  return NormalisePath(path);
}

HResult ScreenDescription::Begin(int screenNumber, int capacity) {
  m_screenNumber = screenNumber;
  m_capacity = capacity;
  m_objects.clear();
  m_objects.shrink_to_fit();
  return capacity < 0 ? E_FAIL : S_OK;
}

HResult ScreenDescription::Allocate() {
  if (m_capacity > kMaxCapacity) return E_FAIL;
  try {
    m_objects.resize(static_cast<std::size_t>(m_capacity));
  } catch (const std::bad_alloc&) {
    m_objects.clear();
    return E_FAIL;
  }
  return S_OK;
}

HResult ScreenDescription::Load(std::string_view folder, int screenNumber, int capacity) {
  if (Failed(Begin(screenNumber, capacity))) return E_FAIL;
  const std::unique_ptr<std::FILE, FileCloser> file(
      std::fopen(PagePath(folder, screenNumber).c_str(), "r"));
  if (!file) return E_FAIL;
  if (Failed(Allocate())) return E_FAIL;
  return Parse(FileLines(file.get()));
}

HResult ScreenDescription::LoadFromStream(std::FILE* file, int screenNumber, int capacity) {
  if (Failed(Begin(screenNumber, capacity))) return E_FAIL;
  if (file == nullptr || Failed(Allocate())) return E_FAIL;
  return Parse(FileLines(file));
}

HResult ScreenDescription::LoadFromText(std::string_view text, int screenNumber, int capacity) {
  if (Failed(Begin(screenNumber, capacity)) || Failed(Allocate())) return E_FAIL;
  std::size_t pos = 0;
  // Cuts the text exactly as ReadLine cuts a file: up to and including a line feed, at most
  // kMaxLineLength characters, and nothing after a zero byte.
  return Parse([&text, &pos](std::string& line) {
    if (pos >= text.size()) return false;
    std::string_view chunk = text.substr(pos, kMaxLineLength);
    const auto lf = chunk.find('\n');
    if (lf != std::string_view::npos) chunk = chunk.substr(0, lf + 1);
    pos += chunk.size();
    line.assign(chunk.substr(0, chunk.find('\0')));
    return true;
  });
}

HResult ScreenDescription::Parse(const std::function<bool(std::string&)>& next) {
  Section section = Section::kHeading;
  ScreenObject* current = nullptr;
  std::string line;
  while (next(line)) {
    PrepareLine(line);
    if (line.empty()) continue;
    if (const auto header = KnownHeader(line)) {
      section = *header;
      continue;
    }
    // Any bracket marks a header this program does not know: its lines are not ours.
    if (line.find_first_of("[]") != std::string::npos) {
      section = Section::kNone;
      continue;
    }
    if (IsObjectSection(section) && current == nullptr) continue;

    switch (section) {
      case Section::kNone:
        break;
      case Section::kHeading:
        m_heading = line;
        break;
      case Section::kScreenFlag:
        m_screenFlag = HexToValue(line);
        break;
      case Section::kObjectNr: {
        const long number = std::strtol(line.c_str(), nullptr, 10);
        current = (number >= 0 && number < static_cast<long>(m_objects.size()))
                      ? &m_objects[static_cast<std::size_t>(number)]
                      : nullptr;
        break;
      }
      case Section::kText:
        current->texts.push_back(line);
        break;
      case Section::kBitmap:
        current->bitmaps.push_back(line);
        break;
      case Section::kPosition:
        if (!ScanPosition(line, current->position)) return E_FAIL;
        break;
      case Section::kFlag:
        current->flag = HexToValue(line);
        break;
      case Section::kFont:
        current->font = line;
        break;
      case Section::kTooltip:
        current->tooltip = line;
        break;
    }
  }
  return S_OK;
}

const ScreenObject* ScreenDescription::Object(int k) const {
  if (k < 0 || static_cast<std::size_t>(k) >= m_objects.size()) return nullptr;
  return &m_objects[static_cast<std::size_t>(k)];
}

std::string ScreenDescription::Text(int k, int n) const {
  const ScreenObject* o = Object(k);
  if (o == nullptr) return "Error";
  if (n < 0 || static_cast<std::size_t>(n) >= o->texts.size()) return {};
  return ExpandLineBreaks(o->texts[static_cast<std::size_t>(n)]);
}

std::string ScreenDescription::Bitmap(int k, int n) const {
  const ScreenObject* o = Object(k);
  if (o == nullptr || n < 0 || static_cast<std::size_t>(n) >= o->bitmaps.size()) return {};
  return o->bitmaps[static_cast<std::size_t>(n)];
}

std::string ScreenDescription::Tooltip(int k) const {
  const ScreenObject* o = Object(k);
  return o == nullptr ? std::string() : ExpandLineBreaks(o->tooltip);
}

std::uint32_t ScreenDescription::ObjectFlag(int k) const {
  const ScreenObject* o = Object(k);
  return o == nullptr ? 0 : o->flag;
}

ScreenRect ScreenDescription::ObjectPosition(int k) const {
  const ScreenObject* o = Object(k);
  return o == nullptr ? ScreenRect{} : o->position;
}

std::string ScreenDescription::ObjectFont(int k) const {
  const ScreenObject* o = Object(k);
  return o == nullptr ? std::string() : o->font;
}

}  // namespace roviro
