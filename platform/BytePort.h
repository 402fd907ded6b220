#pragma once
// The one seam between the device link and the wire: a byte port that opens a device, hands
// back whatever bytes have arrived without waiting, and writes with a bounded wait. The real
// serial port and the simulator's in-memory pipe both implement it; the link never knows
// which one it has.

#include <cstdint>
#include <string>

#include "platform/Clock.h"
#include "platform/Result.h"

namespace roviro {

// Line settings as the link asks for them: parity 0 = none, stop bits 0 = one stop bit.
struct LineSettings {
  int baudRate = 9600;
  int dataBits = 8;
  int parity = 0;
  int stopBits = 0;
};

// Why the last Open failed, as far as the port can tell.
struct OpenFailure {
  bool accessDenied = false;  // the user may not open the device (EACCES, EPERM)
  std::string group;          // the group that owns the device, when known
  bool inUse = false;         // another program holds the device (its lock or exclusive use)
};

class BytePort {
 public:
  virtual ~BytePort() = default;
  // Opens `device` for exclusive use with the given line settings. A refused line setting is
  // not a failure; a device that cannot be opened is.
  virtual HResult Open(const std::string& device, const LineSettings& settings) = 0;
  // Restores what Open changed and closes; harmless when not open.
  virtual void Close() = 0;
  // After a failed Open: why it failed. Ports that cannot tell answer "unknown".
  virtual OpenFailure LastOpenFailure() const { return {}; }
  virtual bool IsOpen() const = 0;
  // Copies at most `capacity` bytes that have already arrived; returns how many (0 when none),
  // or -1 when the device failed (gone, hung up, not open).
  virtual int Read(std::uint8_t* buffer, int capacity) = 0;
  // Writes `length` bytes, waiting at most 500 ms for the device to take them; returns how many
  // were written, or -1 on failure.
  virtual int Write(const std::uint8_t* bytes, int length) = 0;
  // Returns as soon as bytes can be read or the device has failed, at the latest after
  // `timeoutMs` on `clock`. The reader calls Read afterwards either way. This fallback, for
  // ports that cannot wait for input, lets a millisecond pass.
  virtual void WaitReadable(std::int64_t timeoutMs, Clock& clock) {
    if (timeoutMs > 0) clock.SleepMs(1);
  }
};

}  // namespace roviro
