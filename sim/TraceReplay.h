#pragma once
// The box as a telegram trace recorded it (roviro-cli and roviro-dazo --trace FILE): each
// request the program sends is answered with the bytes that followed the same request in the
// trace, at the same distance in time, so a support case can be run again without the
// fitter's box. This reader is written apart from the program's trace writer on purpose.
//
// Matching, from the place the replay has reached: the next recorded request if it is the same
// (or has the same command, sub-code and length: an upload stamp of another hour), else the
// first identical one further on, else the first of the same kind further on, then the same
// from the start of the trace (a second run against the same replay). A request found nowhere
// gets no answer, as a box that does not understand it. Bytes received before the first
// request of the trace are not sent.

#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace roviro::sim {

struct TraceLine {
  std::int64_t timeUs = 0;
  bool toBox = false;  // '>' the program sent it, '<' the program received it
  std::vector<std::uint8_t> bytes;
};

// The program waits 500 ms for a reply to begin; a recorded reply later than that is sent
// after this delay, inside the window.
inline constexpr std::int64_t kReplayLongestDelayUs = 450'000;
// Bounds of what is read: a real trace's lines hold one frame (at most 259 bytes), a job a
// few hundred lines.
inline constexpr std::size_t kMaxTraceLineLength = 4096;
inline constexpr std::size_t kMaxTraceLines = 200'000;

// Reads the trace text: "# ..." and empty lines are skipped; every other line is
// "<microseconds> <'>' or '<'> <hex bytes>". False with `error` ("line 12: ...") otherwise.
// A damaged last line without a line feed (a crash cut the trace short) is left out, and
// `note` tells so.
bool ParseTrace(std::string_view text, std::vector<TraceLine>* lines, std::string* error,
                std::string* note = nullptr);

class TraceReplay {
 public:
  struct Output {
    std::int64_t delayUs;  // after the request arrived
    std::vector<std::uint8_t> bytes;
  };

  explicit TraceReplay(const std::vector<TraceLine>& lines);

  // The answer to one request frame's payload (its header and data bytes).
  std::vector<Output> Answer(std::span<const std::uint8_t> payload);

  int Exchanges() const { return static_cast<int>(m_exchanges.size()); }
  // Requests that matched no recorded one.
  int Unmatched() const;

 private:
  struct Exchange {
    std::vector<std::uint8_t> payload;
    std::vector<Output> replies;
  };
  int Find(std::span<const std::uint8_t> payload, int from, int to) const;

  std::vector<Exchange> m_exchanges;
  mutable std::mutex m_mutex;
  int m_next = 0;
  int m_unmatched = 0;
};

}  // namespace roviro::sim
