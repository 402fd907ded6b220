#pragma once
// Two ways to reach the simulated box: an in-memory byte port (fast, deterministic tests; time
// is the simulator's clock) and a pseudo-terminal served by a thread (the real serial path:
// the program opens the slave side with its ordinary SerialPort).

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "platform/BytePort.h"
#include "platform/PortResolver.h"
#include "platform/UsbBridgeList.h"
#include "sim/BoxSimulator.h"

namespace roviro::sim {

class SimPort final : public BytePort {
 public:
  explicit SimPort(std::shared_ptr<BoxSimulator> box) : m_box(std::move(box)) {}
  ~SimPort() override { Close(); }

  HResult Open(const std::string& device, const LineSettings& settings) override;
  void Close() override;
  bool IsOpen() const override { return m_open; }
  int Read(std::uint8_t* buffer, int capacity) override;
  int Write(const std::uint8_t* bytes, int length) override;
  // Sleeps on `clock` until the box's next byte falls due (or the time-out).
  void WaitReadable(std::int64_t timeoutMs, Clock& clock) override;

 private:
  std::shared_ptr<BoxSimulator> m_box;
  bool m_open = false;
};

// Makes the logical name `COM<comPort>` open the in-memory box, and lists it in `bridges`.
void AttachInMemory(const std::shared_ptr<BoxSimulator>& box, PortResolver& resolver,
                    SimulatedBridgeList& bridges, int comPort);

class PtyTransport {
 public:
  explicit PtyTransport(std::shared_ptr<BoxSimulator> box);
  ~PtyTransport();
  PtyTransport(const PtyTransport&) = delete;
  PtyTransport& operator=(const PtyTransport&) = delete;

  // Creates the pseudo-terminal and starts serving it; the box then runs on real time.
  HResult Start();
  void Stop();
  // The device the program opens.
  const std::string& SlavePath() const { return m_slavePath; }

  // Registers `COM<comPort>` as the slave path and lists it in `bridges`.
  void Attach(PortResolver& resolver, SimulatedBridgeList& bridges, int comPort);

 private:
  void Serve();
  std::shared_ptr<BoxSimulator> m_box;
  int m_master = -1;
  int m_slaveKeeper = -1;
  std::string m_slavePath;
  std::atomic<bool> m_running{false};
  std::thread m_thread;
};

}  // namespace roviro::sim
