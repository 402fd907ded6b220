#include "sim/SimTransport.h"

#include <algorithm>
#include <chrono>

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#endif

namespace roviro::sim {

HResult SimPort::Open(const std::string&, const LineSettings&) {
  Close();
  if (!m_box->AcquirePort()) return E_FAIL;
  m_open = true;
  return S_OK;
}

void SimPort::Close() {
  if (!m_open) return;
  m_box->ReleasePort();
  m_open = false;
}

int SimPort::Read(std::uint8_t* buffer, int capacity) {
  if (!m_open) return -1;
  return m_box->ToProgram(buffer, capacity);
}

void SimPort::WaitReadable(std::int64_t timeoutMs, Clock& clock) {
  if (!m_open || timeoutMs <= 0 || m_box->Vanished()) return;
  const std::int64_t due = m_box->NextDueUs();
  std::int64_t wait = timeoutMs;
  if (due >= 0) {
    const std::int64_t until = due - m_box->NowUs();
    if (until <= 0) return;
    wait = std::min(wait, (until + 999) / 1000);
  }
  clock.SleepMs(wait);
}

int SimPort::Write(const std::uint8_t* bytes, int length) {
  if (!m_open || length < 0) return -1;
  return m_box->FromProgram(bytes, static_cast<std::size_t>(length)) ? length : -1;
}

void AttachInMemory(const std::shared_ptr<BoxSimulator>& box, PortResolver& resolver,
                    SimulatedBridgeList& bridges, int comPort) {
  resolver.RegisterFactory("COM" + std::to_string(comPort),
                           [box] { return std::make_unique<SimPort>(box); });
  SimulatedBridgeList::Device d;
  d.comPort = comPort;
  bridges.Add(d);
}

PtyTransport::PtyTransport(std::shared_ptr<BoxSimulator> box) : m_box(std::move(box)) {}

PtyTransport::~PtyTransport() { Stop(); }

#ifndef _WIN32

HResult PtyTransport::Start() {
  Stop();
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0) return E_FAIL;
  if (::grantpt(master) != 0 || ::unlockpt(master) != 0) {
    ::close(master);
    return E_FAIL;
  }
  char name[128] = {};
  if (::ptsname_r(master, name, sizeof(name)) != 0) {
    ::close(master);
    return E_FAIL;
  }
  // Raw line discipline: no echo, no line editing, bytes pass unchanged.
  struct termios t {};
  if (::tcgetattr(master, &t) == 0) {
    ::cfmakeraw(&t);
    ::tcsetattr(master, TCSANOW, &t);
  }
  ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
  // Holding the slave open keeps the master from reporting a hang-up between the program's
  // opens of the port.
  m_slaveKeeper = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  m_master = master;
  m_slavePath = name;
  m_box->UseMicrosecondSource([] {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
  });
  m_running = true;
  m_thread = std::thread([this] { Serve(); });
  return S_OK;
}

void PtyTransport::Stop() {
  m_running = false;
  if (m_thread.joinable()) m_thread.join();
  if (m_master >= 0) ::close(m_master);
  if (m_slaveKeeper >= 0) ::close(m_slaveKeeper);
  m_master = -1;
  m_slaveKeeper = -1;
}

void PtyTransport::Serve() {
  std::uint8_t buffer[512];
  while (m_running) {
    if (m_box->Vanished()) {
      // The port is gone: the program's reads now fail.
      if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
      }
      if (m_slaveKeeper >= 0) {
        ::close(m_slaveKeeper);
        m_slaveKeeper = -1;
      }
      struct timespec pause {
        0, 2000000
      };
      ::nanosleep(&pause, nullptr);
      continue;
    }
    // Wake for input, or when the next byte falls due, or every 2 ms at the latest.
    std::int64_t waitUs = 2000;
    const std::int64_t next = m_box->NextDueUs();
    if (next >= 0) waitUs = std::max<std::int64_t>(0, std::min(waitUs, next - m_box->NowUs()));
    struct pollfd p {
      m_master, POLLIN, 0
    };
    struct timespec ts {
      0, static_cast<long>(waitUs * 1000)
    };
    if (::ppoll(&p, 1, &ts, nullptr) > 0 && (p.revents & POLLIN) != 0) {
      const ssize_t n = ::read(m_master, buffer, sizeof(buffer));
      if (n > 0) m_box->FromProgram(buffer, static_cast<std::size_t>(n));
    }
    const int due = m_box->ToProgram(buffer, sizeof(buffer));
    int written = 0;
    while (due > 0 && written < due) {
      const ssize_t w =
          ::write(m_master, buffer + written, static_cast<std::size_t>(due - written));
      if (w <= 0) break;
      written += static_cast<int>(w);
    }
  }
}

#else

HResult PtyTransport::Start() { return E_FAIL; }
void PtyTransport::Stop() {}
void PtyTransport::Serve() {}

#endif

void PtyTransport::Attach(PortResolver& resolver, SimulatedBridgeList& bridges, int comPort) {
  resolver.RegisterPath("COM" + std::to_string(comPort), m_slavePath);
  SimulatedBridgeList::Device d;
  d.comPort = comPort;
  bridges.Add(d);
}

}  // namespace roviro::sim
