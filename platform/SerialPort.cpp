#include "platform/SerialPort.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#undef MessageBox
#include <cstring>
#else
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <vector>
#endif

namespace roviro {

SerialPort::~SerialPort() { Close(); }

#ifdef _WIN32

std::string DeviceOwnerGroup(const std::string&) { return {}; }
std::string CurrentUserName() { return {}; }

static_assert(sizeof(COMMTIMEOUTS) <= 20);
static_assert(sizeof(DCB) <= 28);

HResult SerialPort::Open(const std::string& device, const LineSettings& settings) {
  Close();
  m_failure = {};
  if (device.empty()) return E_FAIL;
  HANDLE h = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    // Opened without sharing: a port another program holds is refused this way.
    m_failure.inUse = GetLastError() == ERROR_ACCESS_DENIED;
    return E_FAIL;
  }
  m_handle = h;
  COMMTIMEOUTS saved{};
  m_haveSavedTimeouts = GetCommTimeouts(h, &saved) != 0;
  std::memcpy(m_savedTimeouts, &saved, sizeof(saved));
  COMMTIMEOUTS t{};
  t.ReadIntervalTimeout = 0xFFFFFFFF;
  t.WriteTotalTimeoutConstant = kWriteTimeoutMs;
  SetCommTimeouts(h, &t);  // a refusal is tolerated
  DCB dcb{};
  dcb.DCBlength = sizeof(dcb);
  m_haveSavedState = GetCommState(h, &dcb) != 0;
  std::memcpy(m_savedState, &dcb, sizeof(dcb));
  if (m_haveSavedState) {
    dcb.BaudRate = static_cast<DWORD>(settings.baudRate);
    dcb.ByteSize = static_cast<BYTE>(settings.dataBits);
    dcb.Parity = static_cast<BYTE>(settings.parity);
    dcb.StopBits = static_cast<BYTE>(settings.stopBits);
    SetCommState(h, &dcb);  // a refusal is tolerated
  }
  return S_OK;
}

void SerialPort::Close() {
  if (m_handle == nullptr) return;
  HANDLE h = static_cast<HANDLE>(m_handle);
  if (m_haveSavedTimeouts) {
    COMMTIMEOUTS t{};
    std::memcpy(&t, m_savedTimeouts, sizeof(t));
    SetCommTimeouts(h, &t);
  }
  if (m_haveSavedState) {
    DCB dcb{};
    std::memcpy(&dcb, m_savedState, sizeof(dcb));
    SetCommState(h, &dcb);
  }
  CloseHandle(h);
  m_handle = nullptr;
  m_haveSavedTimeouts = m_haveSavedState = false;
}

bool SerialPort::IsOpen() const { return m_handle != nullptr; }

int SerialPort::Read(std::uint8_t* buffer, int capacity) {
  if (m_handle == nullptr) return -1;
  if (capacity <= 0) return 0;
  DWORD got = 0;
  if (!ReadFile(static_cast<HANDLE>(m_handle), buffer, static_cast<DWORD>(capacity), &got,
                nullptr)) {
    return -1;
  }
  return static_cast<int>(got);
}

int SerialPort::Write(const std::uint8_t* bytes, int length) {
  if (m_handle == nullptr) return -1;
  DWORD done = 0;
  if (!WriteFile(static_cast<HANDLE>(m_handle), bytes, static_cast<DWORD>(length), &done,
                 nullptr)) {
    return -1;
  }
  return static_cast<int>(done);
}

#else  // POSIX

namespace {

speed_t SpeedFor(int baud) {
  switch (baud) {
    case 1200:
      return B1200;
    case 2400:
      return B2400;
    case 4800:
      return B4800;
    case 19200:
      return B19200;
    case 38400:
      return B38400;
    case 57600:
      return B57600;
    case 115200:
      return B115200;
    default:
      return B9600;
  }
}

}  // namespace

std::string DeviceOwnerGroup(const std::string& device) {
  struct stat info {};
  if (::stat(device.c_str(), &info) != 0) return {};
  std::vector<char> buffer(16384);
  struct group entry {};
  struct group* found = nullptr;
  if (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 ||
      found == nullptr || found->gr_name == nullptr) {
    return {};
  }
  return found->gr_name;
}

std::string CurrentUserName() {
  std::vector<char> buffer(16384);
  struct passwd entry {};
  struct passwd* found = nullptr;
  if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
      found == nullptr || found->pw_name == nullptr) {
    return {};
  }
  return found->pw_name;
}

HResult SerialPort::Open(const std::string& device, const LineSettings& settings) {
  Close();
  m_failure = {};
  if (device.empty()) return E_FAIL;
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == EACCES || errno == EPERM) {
      m_failure.accessDenied = true;
      m_failure.group = DeviceOwnerGroup(device);
    }
    // The kernel refuses a second open of a device in exclusive use.
    if (errno == EBUSY) m_failure.inUse = true;
    return E_FAIL;
  }
  // One program per device: the lock is held until the device is closed.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    m_failure.inUse = errno == EWOULDBLOCK;
    ::close(fd);
    return E_FAIL;
  }
  // Exclusive use: a second open of the same device by anyone else is refused.
  if (::ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY) {
    ::close(fd);
    return E_FAIL;
  }
  m_fd = fd;
  m_haveSaved = ::tcgetattr(fd, &m_saved) == 0;
  if (m_haveSaved) {
    struct termios t = m_saved;
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    t.c_cflag |= settings.dataBits == 7 ? CS7 : CS8;
    if (settings.parity == 1) t.c_cflag |= PARENB | PARODD;
    if (settings.parity == 2) t.c_cflag |= PARENB;
    if (settings.stopBits == 2) t.c_cflag |= CSTOPB;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    ::cfsetispeed(&t, SpeedFor(settings.baudRate));
    ::cfsetospeed(&t, SpeedFor(settings.baudRate));
    ::tcsetattr(fd, TCSANOW, &t);  // a refusal is tolerated, as on the original line
  }
  return S_OK;
}

void SerialPort::Close() {
  if (m_fd < 0) return;
  if (m_haveSaved) ::tcsetattr(m_fd, TCSANOW, &m_saved);
  ::ioctl(m_fd, TIOCNXCL);
  ::close(m_fd);
  m_fd = -1;
  m_haveSaved = false;
}

bool SerialPort::IsOpen() const { return m_fd >= 0; }

int SerialPort::Read(std::uint8_t* buffer, int capacity) {
  if (m_fd < 0) return -1;
  if (capacity <= 0) return 0;
  const ssize_t n = ::read(m_fd, buffer, static_cast<std::size_t>(capacity));
  if (n > 0) return static_cast<int>(n);
  if (n < 0) return (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) ? 0 : -1;
  // A raw tty returns 0 both for "nothing yet" and after a hang-up (device unplugged); only the
  // latter shows as POLLHUP / POLLERR.
  struct pollfd p {
    m_fd, POLLIN, 0
  };
  if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) return -1;
  return 0;
}

void SerialPort::WaitReadable(std::int64_t timeoutMs, Clock& clock) {
  if (m_fd < 0 || timeoutMs <= 0) return;
  using Steady = std::chrono::steady_clock;
  const std::int64_t start = clock.NowMs();
  const auto realStart = Steady::now();
  struct pollfd p {
    m_fd, POLLIN, 0
  };
  const int ms = timeoutMs > 60000 ? 60000 : static_cast<int>(timeoutMs);
  ::poll(&p, 1, ms);  // returns on input, hang-up, error or time-out alike
  const auto waited =
      std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - realStart).count();
  const std::int64_t advanced = clock.NowMs() - start;
  if (waited > advanced + 1) clock.SleepMs(waited - advanced);
}

int SerialPort::Write(const std::uint8_t* bytes, int length) {
  if (m_fd < 0) return -1;
  using Steady = std::chrono::steady_clock;
  const auto deadline = Steady::now() + std::chrono::milliseconds(kWriteTimeoutMs);
  int done = 0;
  while (done < length) {
    const ssize_t n = ::write(m_fd, bytes + done, static_cast<std::size_t>(length - done));
    if (n > 0) {
      done += static_cast<int>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
      return done > 0 ? done : -1;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Steady::now()).count();
    if (left <= 0) break;
    struct pollfd p {
      m_fd, POLLOUT, 0
    };
    if (::poll(&p, 1, static_cast<int>(left)) < 0 && errno != EINTR) break;
  }
  return done;
}

#endif

}  // namespace roviro
