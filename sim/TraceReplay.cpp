#include "sim/TraceReplay.h"

#include <algorithm>
#include <cstdlib>

namespace roviro::sim {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool ParseLine(std::string_view line, TraceLine* out, std::string* why) {
  std::size_t i = 0;
  const auto skipBlanks = [&] {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  };
  skipBlanks();
  const std::size_t digits = i;
  std::int64_t time = 0;
  while (i < line.size() && line[i] >= '0' && line[i] <= '9') {
    if (i - digits >= 15) {
      *why = "the time is too long";
      return false;
    }
    time = time * 10 + (line[i++] - '0');
  }
  if (i == digits) {
    *why = "no time in microseconds";
    return false;
  }
  skipBlanks();
  if (i >= line.size() || (line[i] != '>' && line[i] != '<')) {
    *why = "no direction ('>' or '<')";
    return false;
  }
  out->toBox = line[i++] == '>';
  out->timeUs = time;
  out->bytes.clear();
  for (;;) {
    skipBlanks();
    if (i >= line.size() || line[i] == '\r') break;
    const int high = HexValue(line[i]);
    const int low = i + 1 < line.size() ? HexValue(line[i + 1]) : -1;
    if (high < 0 || low < 0 ||
        (i + 2 < line.size() && line[i + 2] != ' ' && line[i + 2] != '\t' && line[i + 2] != '\r')) {
      *why = "the bytes are not pairs of hex digits";
      return false;
    }
    out->bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    i += 2;
  }
  if (out->bytes.empty()) {
    *why = "no bytes";
    return false;
  }
  return true;
}

// The payload of a request frame 02 LEN payload CS 03; empty when the bytes are no frame.
std::vector<std::uint8_t> RequestPayload(const std::vector<std::uint8_t>& frame) {
  if (frame.size() < 5 || static_cast<std::size_t>(frame[1]) + 4 != frame.size()) return {};
  return {frame.begin() + 2, frame.begin() + 2 + frame[1]};
}

bool SameKind(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
  if (a.size() != b.size() || a.empty() || a[0] != b[0]) return false;
  // The box-memory command tells its blocks apart by the sub-code.
  return a[0] != 0x19 || a.size() < 2 || a[1] == b[1];
}

bool Same(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

}  // namespace

bool ParseTrace(std::string_view text, std::vector<TraceLine>* lines, std::string* error,
                std::string* note) {
  lines->clear();
  if (note != nullptr) note->clear();
  std::size_t begin = 0;
  int number = 0;
  while (begin <= text.size()) {
    std::size_t end = text.find('\n', begin);
    const bool last = end == std::string_view::npos;
    if (last) end = text.size();
    std::string_view line = text.substr(begin, end - begin);
    ++number;
    begin = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos || line[first] == '#') continue;
    TraceLine parsed;
    std::string why;
    if (line.size() > kMaxTraceLineLength) {
      why = "the line is too long for a telegram trace";
    } else if (lines->size() >= kMaxTraceLines) {
      why = "more lines than a telegram trace holds";
    } else if (ParseLine(line, &parsed, &why)) {
      lines->push_back(std::move(parsed));
      continue;
    }
    // A last line without its line feed is what a crash mid-write leaves: it is left out.
    if (last && why != "more lines than a telegram trace holds") {
      if (note != nullptr) {
        *note = "line " + std::to_string(number) + " is incomplete (" + why + ") and was left out";
      }
      break;
    }
    if (error != nullptr) *error = "line " + std::to_string(number) + ": " + why;
    lines->clear();
    return false;
  }
  return true;
}

TraceReplay::TraceReplay(const std::vector<TraceLine>& lines) {
  std::int64_t requestTime = 0;
  for (const TraceLine& line : lines) {
    if (line.toBox) {
      std::vector<std::uint8_t> payload = RequestPayload(line.bytes);
      if (payload.empty()) continue;
      m_exchanges.push_back({std::move(payload), {}});
      requestTime = line.timeUs;
    } else if (!m_exchanges.empty()) {
      // A reply recorded later than the program waits for one (a box that answered late, a
      // drain before the next request) is sent within the window, so that it is taken.
      const std::int64_t delay =
          std::clamp<std::int64_t>(line.timeUs - requestTime, 0, kReplayLongestDelayUs);
      m_exchanges.back().replies.push_back({delay, line.bytes});
    }
  }
}

int TraceReplay::Find(std::span<const std::uint8_t> payload, int from, int to) const {
  if (from >= to) return -1;
  const auto at = [this](int i) {
    const auto& p = m_exchanges[static_cast<std::size_t>(i)].payload;
    return std::span<const std::uint8_t>(p);
  };
  if (Same(at(from), payload) || SameKind(at(from), payload)) return from;
  for (int i = from + 1; i < to; ++i) {
    if (Same(at(i), payload)) return i;
  }
  for (int i = from + 1; i < to; ++i) {
    if (SameKind(at(i), payload)) return i;
  }
  return -1;
}

std::vector<TraceReplay::Output> TraceReplay::Answer(std::span<const std::uint8_t> payload) {
  std::lock_guard lock(m_mutex);
  const int count = static_cast<int>(m_exchanges.size());
  int i = Find(payload, m_next, count);
  if (i < 0) i = Find(payload, 0, m_next);
  if (i < 0) {
    ++m_unmatched;
    return {};
  }
  m_next = i + 1;
  return m_exchanges[static_cast<std::size_t>(i)].replies;
}

int TraceReplay::Unmatched() const {
  std::lock_guard lock(m_mutex);
  return m_unmatched;
}

}  // namespace roviro::sim
