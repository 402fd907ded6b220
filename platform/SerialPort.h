#pragma once
// The real serial port: raw 8N1 at the requested rate, reads that return at once with what has
// arrived, writes bounded by 500 ms, opened for exclusive use. POSIX termios; the Win32 calls
// on Windows. On POSIX the open device is also locked (flock, exclusive): every program of ours,
// the window and the command-line tool alike, finds a device held by another one in use and
// leaves it alone, so that two programs' telegrams never interleave on one line (the kernel's
// exclusive mode alone does not keep out a program running as root).

#include "platform/BytePort.h"

#ifndef _WIN32
#include <termios.h>
#endif

namespace roviro {

// The name of the group that owns `device` (a serial device is usually "dialout"); empty when
// it cannot be told (and always on Windows).
std::string DeviceOwnerGroup(const std::string& device);
// The login name of the user the program runs as; empty when unknown.
std::string CurrentUserName();

class SerialPort final : public BytePort {
 public:
  SerialPort() = default;
  ~SerialPort() override;
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  HResult Open(const std::string& device, const LineSettings& settings) override;
  void Close() override;
  OpenFailure LastOpenFailure() const override { return m_failure; }
  bool IsOpen() const override;
  int Read(std::uint8_t* buffer, int capacity) override;
  int Write(const std::uint8_t* bytes, int length) override;
#ifndef _WIN32
  // Waits on the device itself; a clock that does not follow real time (a test clock) is
  // brought along by the time waited. (On Windows the millisecond fallback serves.)
  void WaitReadable(std::int64_t timeoutMs, Clock& clock) override;
#endif

  // Write time bound in milliseconds.
  static constexpr int kWriteTimeoutMs = 500;

 private:
  OpenFailure m_failure;
#ifdef _WIN32
  void* m_handle = nullptr;
  unsigned char m_savedTimeouts[20] = {};
  unsigned char m_savedState[28] = {};
  bool m_haveSavedTimeouts = false;
  bool m_haveSavedState = false;
#else
  int m_fd = -1;
  struct termios m_saved {};
  bool m_haveSaved = false;
#endif
};

}  // namespace roviro
