#pragma once
// The telegram trace: every frame the link writes to the box and every run of bytes it reads
// from it, one line each, in a plain text file a support case can be read from and replayed
// from (roviro-cli sim --replay).
//
//   # RoviroDazo telegram trace 1
//   # started 2026-12-08 17:39:05
//   # microseconds since the start, > to the box, < from the box, the bytes in hex
//            0 > 02 01 01 01 03
//        31412 < 02 01 81 81 03
//
// A received line holds what one reception read: normally one whole frame, but also the bytes
// of a frame that stalled or failed its checksum, and whatever a drain threw away before a
// request. Recording is a formatted append under a lock; it never changes the bytes or waits
// on the line.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>

#include "platform/Clock.h"
#include "platform/Result.h"

namespace roviro {

inline constexpr const char* kTraceFirstLine = "# RoviroDazo telegram trace 1";

enum class TraceDirection { kToBox, kFromBox };

class TelegramTrace {
 public:
  // `nowUs`: the microsecond source for the times; empty takes the steady clock.
  explicit TelegramTrace(std::function<std::int64_t()> nowUs = {});
  ~TelegramTrace();
  TelegramTrace(const TelegramTrace&) = delete;
  TelegramTrace& operator=(const TelegramTrace&) = delete;

  // Creates (or empties) the file and writes the head; the times count from here. E_FAIL when
  // the file cannot be written.
  HResult Open(const std::string& path, const SystemTime& started);
  void Close();
  bool IsOpen() const;
  // True once a line could not be written (a full disk): the trace is then incomplete.
  bool WriteFailed() const;

  void Record(TraceDirection direction, const std::uint8_t* bytes, int count);

  // One line as Record writes it, without the line feed.
  static std::string FormatLine(std::int64_t timeUs, TraceDirection direction,
                                const std::uint8_t* bytes, int count);

 private:
  std::function<std::int64_t()> m_nowUs;
  mutable std::mutex m_mutex;
  std::FILE* m_file = nullptr;
  std::int64_t m_startUs = 0;
  bool m_writeFailed = false;
};

}  // namespace roviro
