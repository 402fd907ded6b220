// The device link over a pseudo-terminal with the box paced at 9600 baud (8N1, ten bits a
// byte): a download and an upload measured against the protocol's own floor, the time from a
// start request to the first request byte while the port watch idle-polls, and how long Stop()
// takes with a port watch, a download or a current watch running.
//
// The floor comes from the sequences and block sizes alone, not from what the program did: per
// transaction the longer of the 30 ms the box is given after the request and the request's plus
// the reply's time on the wire (the box answers only a request it has received), plus the waits
// the sequence mandates (250 ms before the end telegram, 500 ms after a download). With a
// processing delay in the box, each transaction's wire time grows by it. The benchmark also
// checks that the program made exactly the transactions of the table, byte for byte in length.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <random>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "device/DeviceLink.h"
#include "platform/SerialPort.h"
#include "sim/BoxSimulator.h"
#include "sim/SimTransport.h"

namespace roviro {
namespace {

using Steady = std::chrono::steady_clock;

double MsSince(Steady::time_point t0, Steady::time_point t1) {
  return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

// Ten bits a byte at 9600 baud.
constexpr double kByteMs = 10.0 * 1000.0 / 9600.0;

// A frame of `header` header bytes and `data` data bytes: start, LEN, checksum, end around them.
constexpr int FrameBytes(int header, int data) { return header + data + 4; }

struct Exchange {
  const char* what;
  int requestBytes;
  int replyBytes;
};

// Download with a motor reached at once: 0x21, the seven blocks in their order, the end.
constexpr Exchange kDownloadSequence[] = {
    {"0x21 motor connected?", FrameBytes(1, 0), FrameBytes(1, 0)},
    {"0x34 read block 0x34", FrameBytes(1, 0), FrameBytes(1, 13)},
    {"0x22 read block 0x22", FrameBytes(1, 0), FrameBytes(1, 13)},
    {"0x2E read block 0x2E", FrameBytes(1, 0), FrameBytes(1, 11)},
    {"0x32 read block 0x32", FrameBytes(1, 0), FrameBytes(1, 11)},
    {"0x30 read block 0x30", FrameBytes(1, 0), FrameBytes(1, 22)},
    {"0x39 read block 0x39", FrameBytes(1, 0), FrameBytes(1, 25)},
    {"0x3B read block 0x3B", FrameBytes(1, 0), FrameBytes(1, 18)},
    {"0x13 0x01 connection end", FrameBytes(2, 0), FrameBytes(2, 0)},
};
constexpr double kDownloadWaitsMs = 250 + 500;

// Upload to a motor of the image's type: 0x21 and the type check, the box identification, the
// seven motor writes, the three box writes, the end.
constexpr Exchange kUploadSequence[] = {
    {"0x21 motor connected?", FrameBytes(1, 0), FrameBytes(1, 0)},
    {"0x39 motor type", FrameBytes(1, 0), FrameBytes(1, 25)},
    {"0x19 0x08 box serial", FrameBytes(2, 0), FrameBytes(2, 2)},
    {"0x10 box version", FrameBytes(1, 0), FrameBytes(1, 1)},
    {"0x35 write block 0x34", FrameBytes(1, 13), FrameBytes(1, 0)},
    {"0x2E read block 0x2E", FrameBytes(1, 0), FrameBytes(1, 11)},
    {"0x2E read block 0x2E again", FrameBytes(1, 0), FrameBytes(1, 11)},
    {"0x2F write block 0x2E", FrameBytes(1, 11), FrameBytes(1, 0)},
    {"0x3A write the stamp block", FrameBytes(1, 19), FrameBytes(1, 0)},
    {"0x23 write block 0x34 again", FrameBytes(1, 13), FrameBytes(1, 0)},
    {"0x33 write block 0x2E, flag cleared", FrameBytes(1, 11), FrameBytes(1, 0)},
    {"0x3C write block 0x3B", FrameBytes(1, 18), FrameBytes(1, 0)},
    {"0x19 0x01 box block 0x39", FrameBytes(2, 25), FrameBytes(2, 1)},
    {"0x19 0x03 box block 0x2E", FrameBytes(2, 11), FrameBytes(2, 1)},
    {"0x19 0x05 box block 0x34", FrameBytes(2, 13), FrameBytes(2, 1)},
    {"0x13 0x01 connection end", FrameBytes(2, 0), FrameBytes(2, 0)},
};
constexpr double kUploadWaitsMs = 250;

// One transaction's share of the floor with the box taking `delayMs` per command.
double ExchangeFloorMs(const Exchange& e, double delayMs) {
  return std::max(static_cast<double>(kRequestSettleMs),
                  (e.requestBytes + e.replyBytes) * kByteMs + delayMs);
}

double FloorMs(std::span<const Exchange> sequence, double waitsMs, double delayMs) {
  double total = waitsMs;
  for (const Exchange& e : sequence) total += ExchangeFloorMs(e, delayMs);
  return total;
}

void PrintTable(const char* name, std::span<const Exchange> sequence, double waitsMs,
                double delayMs) {
  std::printf("%s: the protocol's floor, %zu transactions, box processing %.0f ms a command\n",
              name, sequence.size(), delayMs);
  std::printf("  %-3s %-36s %7s %7s %9s\n", "#", "transaction", "request", "reply", "floor ms");
  for (std::size_t i = 0; i < sequence.size(); ++i) {
    const Exchange& e = sequence[i];
    std::printf("  %-3zu %-36s %7d %7d %9.2f\n", i + 1, e.what, e.requestBytes, e.replyBytes,
                ExchangeFloorMs(e, delayMs));
  }
  std::printf("  mandated waits %.0f ms; floor %.1f ms\n", waitsMs,
              FloorMs(sequence, waitsMs, delayMs));
}

// The frames the program wrote and the bytes it read after each.
struct TrafficLog {
  std::mutex mutex;
  std::vector<Exchange> transactions;
  bool firstWriteSeen = false;
  Steady::time_point firstWrite{};

  void Reset() {
    std::lock_guard lock(mutex);
    transactions.clear();
    firstWriteSeen = false;
  }
};

// The real serial port on the pseudo-terminal, noting every write and every byte read.
class MeteredPort final : public BytePort {
 public:
  MeteredPort(TrafficLog& log, std::string device) : m_log(log), m_device(std::move(device)) {}
  HResult Open(const std::string&, const LineSettings& settings) override {
    return m_port.Open(m_device, settings);
  }
  void Close() override { m_port.Close(); }
  bool IsOpen() const override { return m_port.IsOpen(); }
  int Read(std::uint8_t* buffer, int capacity) override {
    const int n = m_port.Read(buffer, capacity);
    if (n > 0) {
      std::lock_guard lock(m_log.mutex);
      if (!m_log.transactions.empty()) m_log.transactions.back().replyBytes += n;
    }
    return n;
  }
  int Write(const std::uint8_t* bytes, int length) override {
    {
      std::lock_guard lock(m_log.mutex);
      if (!m_log.firstWriteSeen) {
        m_log.firstWriteSeen = true;
        m_log.firstWrite = Steady::now();
      }
      m_log.transactions.push_back({"", length, 0});
    }
    return m_port.Write(bytes, length);
  }
  void WaitReadable(std::int64_t timeoutMs, Clock& clock) override {
    m_port.WaitReadable(timeoutMs, clock);
  }

 private:
  TrafficLog& m_log;
  std::string m_device;
  SerialPort m_port;
};

class CountingSink final : public MessageSink {
 public:
  void Post(std::uint32_t msg, std::uintptr_t, std::intptr_t) override {
    m_last = msg;
    if (msg == kMsgBoxFound) ++m_found;
    if (msg == kMsgTransferDone) ++m_done;
    if (msg == kMsgTransferFailed) ++m_failed;
  }
  int MessageBox(const std::string&, const std::string&, std::uint32_t) override { return kIdOk; }
  std::atomic<std::uint32_t> m_last{0};
  std::atomic<int> m_found{0};
  std::atomic<int> m_done{0};
  std::atomic<int> m_failed{0};
};

// Waits (real time, yielding) until `done` holds; false after 10 s.
template <typename Done>
bool WaitUntil(Done done) {
  const auto limit = Steady::now() + std::chrono::seconds(10);
  while (!done()) {
    if (Steady::now() > limit) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

struct PtyRig {
  // `watch`: find the box through a running port watch; otherwise discover it directly, so
  // that the transfer is the only thing on the line.
  explicit PtyRig(bool watch) : box(std::make_shared<sim::BoxSimulator>(RealClock())), pty(box) {
    box->SetPacing(true);
    if (Failed(pty.Start())) return;
    const std::string slave = pty.SlavePath();
    resolver.RegisterFactory("COM7",
                             [this, slave] { return std::make_unique<MeteredPort>(log, slave); });
    SimulatedBridgeList::Device d;
    d.comPort = 7;
    bridges.Add(d);
    link = std::make_unique<CDeviceLink>(RealClock(), &bridges, resolver, image);
    link->Init(&sink, 1, 100);
    link->State().m_jobMask = 3;
    for (const auto& [cmd, bytes] : sim::BoxSimulator::StandardMotorBlocks(0)) {
      auto b = image.Block(cmd);
      std::copy(bytes.begin(), bytes.end(), b.begin());
    }
    if (watch) {
      ok = link->StartPortWatch() && WaitUntil([this] { return sink.m_found.load() > 0; });
    } else {
      ok = Succeeded(link->Discover());
    }
  }
  ~PtyRig() {
    if (link) link->Stop();
    pty.Stop();
  }
  int CountRequests(std::uint8_t command) const {
    int n = 0;
    for (const auto& r : box->Requests()) n += r[0] == command ? 1 : 0;
    return n;
  }

  TrafficLog log;
  SimulatedBridgeList bridges;
  PortResolver resolver;
  ParameterImage image;
  CountingSink sink;
  std::shared_ptr<sim::BoxSimulator> box;
  sim::PtyTransport pty;
  std::unique_ptr<CDeviceLink> link;
  bool ok = false;
};

// True when the program made the transactions of `sequence`, with the same byte counts.
bool SameTraffic(TrafficLog& log, std::span<const Exchange> sequence, std::string* why) {
  std::lock_guard lock(log.mutex);
  if (log.transactions.size() != sequence.size()) {
    *why = std::to_string(log.transactions.size()) + " transactions instead of " +
           std::to_string(sequence.size());
    return false;
  }
  for (std::size_t i = 0; i < sequence.size(); ++i) {
    const Exchange& seen = log.transactions[i];
    if (seen.requestBytes != sequence[i].requestBytes ||
        seen.replyBytes != sequence[i].replyBytes) {
      *why = "transaction " + std::to_string(i + 1) + " (" + sequence[i].what + ") moved " +
             std::to_string(seen.requestBytes) + " + " + std::to_string(seen.replyBytes) +
             " bytes instead of " + std::to_string(sequence[i].requestBytes) + " + " +
             std::to_string(sequence[i].replyBytes);
      return false;
    }
  }
  return true;
}

// state.range(0): the box's processing delay per command in milliseconds.
void RunTransfer(benchmark::State& state, int mode, const char* name,
                 std::span<const Exchange> sequence, double waitsMs) {
  const double delayMs = static_cast<double>(state.range(0));
  PtyRig rig(false);
  if (!rig.ok) {
    state.SkipWithError("the simulated box could not be reached over a pseudo-terminal");
    return;
  }
  rig.box->SetProcessingDelayUs(state.range(0) * 1000);
  const double floor = FloorMs(sequence, waitsMs, delayMs);
  PrintTable(name, sequence, waitsMs, delayMs);
  double measured = 0;
  double worst = 0;
  for (auto _ : state) {
    rig.log.Reset();
    const int done = rig.sink.m_done.load();
    rig.link->State().m_mode = mode;
    const auto t0 = Steady::now();
    const int r = mode == 1 ? DownloadThread(&rig.link->State()) : UploadThread(&rig.link->State());
    measured = MsSince(t0, Steady::now());
    rig.link->TakeReadSet(rig.image);  // as the window takes the set read or written
    if (r != 1 || rig.sink.m_done.load() != done + 1) {
      state.SkipWithError("the transfer failed");
      return;
    }
    std::string why;
    if (!SameTraffic(rig.log, sequence, &why)) {
      state.SkipWithError(("not the protocol's sequence: " + why).c_str());
      return;
    }
    state.SetIterationTime(measured / 1000.0);
    worst = std::max(worst, measured / floor);
    std::printf("%-8s measured %7.1f ms, floor %7.1f ms: %+.1f %%\n", name, measured, floor,
                (measured / floor - 1.0) * 100.0);
  }
  std::printf("%-8s worst %+.1f %% over the floor (goal <= +3 %%): %s\n", name,
              (worst - 1.0) * 100.0, worst <= 1.03 ? "met" : "NOT met");
  state.counters["measured_ms"] = measured;
  state.counters["floor_ms"] = floor;
  state.counters["worst_ratio"] = worst;
}

void BM_DownloadOverPacedPty(benchmark::State& state) {
  RunTransfer(state, 1, "download", kDownloadSequence, kDownloadWaitsMs);
}
void BM_UploadOverPacedPty(benchmark::State& state) {
  RunTransfer(state, 2, "upload", kUploadSequence, kUploadWaitsMs);
}

// From StartDownload() to the first request byte handed to the port, while the port watch
// polls an idle line; each run starts at another point of the watch's 100 ms cycle.
void BM_StartLatencyWhilePortWatchPolls(benchmark::State& state) {
  PtyRig rig(true);
  if (!rig.ok) {
    state.SkipWithError("the simulated box could not be reached over a pseudo-terminal");
    return;
  }
  std::mt19937 rng(7);
  double worst = 0;
  for (auto _ : state) {
    std::this_thread::sleep_for(std::chrono::milliseconds(rng() % 100));
    rig.log.Reset();
    const int done = rig.sink.m_done.load();
    rig.link->State().m_mode = 1;
    const auto t0 = Steady::now();
    rig.link->StartDownload();
    if (!WaitUntil([&] {
          std::lock_guard lock(rig.log.mutex);
          return rig.log.firstWriteSeen;
        })) {
      state.SkipWithError("the download sent nothing");
      return;
    }
    double latency = 0;
    {
      std::lock_guard lock(rig.log.mutex);
      latency = MsSince(t0, rig.log.firstWrite);
    }
    state.SetIterationTime(latency / 1000.0);
    worst = std::max(worst, latency);
    if (!WaitUntil([&] { return rig.sink.m_done.load() > done; })) {
      state.SkipWithError("the download did not end");
      return;
    }
  }
  std::printf("start latency while the port watch polls: worst %.2f ms (goal <= 50 ms)\n", worst);
  state.counters["worst_ms"] = worst;
}

// Stop() on a fresh rig whose port watch runs, with `start` (if any) started and given a
// random moment to get going first.
template <typename Start, typename Running>
void RunStop(benchmark::State& state, const char* what, Start start, Running running) {
  std::mt19937 rng(11);
  double worst = 0;
  for (auto _ : state) {
    state.PauseTiming();
    PtyRig rig(true);
    if (!rig.ok) {
      state.SkipWithError("the simulated box could not be reached over a pseudo-terminal");
      return;
    }
    start(rig);
    if (!WaitUntil([&] { return running(rig); })) {
      state.SkipWithError("the worker did not start");
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(rng() % 300));
    state.ResumeTiming();
    const auto t0 = Steady::now();
    rig.link->Stop();
    const double ms = MsSince(t0, Steady::now());
    state.SetIterationTime(ms / 1000.0);
    worst = std::max(worst, ms);
  }
  std::printf("Stop() with %s: worst %.2f ms (goal <= 100 ms)\n", what, worst);
  state.counters["worst_ms"] = worst;
}

void BM_StopWithPortWatch(benchmark::State& state) {
  RunStop(
      state, "the port watch polling", [](PtyRig&) {}, [](PtyRig&) { return true; });
}

void BM_StopWithDownload(benchmark::State& state) {
  RunStop(
      state, "a download running",
      [](PtyRig& rig) {
        rig.link->State().m_mode = 1;
        rig.link->StartDownload();
      },
      [](PtyRig& rig) { return rig.CountRequests(0x21) > 0; });
}

void BM_StopWithCurrentWatch(benchmark::State& state) {
  RunStop(
      state, "the current watch running",
      [](PtyRig& rig) {
        rig.box->SetCurrentSequence({}, 900);  // the motor keeps running
        rig.link->State().m_testMode = 4;
        rig.link->StartTestCommand();
      },
      [](PtyRig& rig) { return rig.CountRequests(0x0C) > 0; });
}

// The argument: the box's processing delay per command, in milliseconds.
BENCHMARK(BM_DownloadOverPacedPty)
    ->Arg(0)
    ->Arg(5)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UploadOverPacedPty)
    ->Arg(0)
    ->Arg(5)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartLatencyWhilePortWatchPolls)
    ->UseManualTime()
    ->Iterations(8)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StopWithPortWatch)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StopWithDownload)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StopWithCurrentWatch)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace roviro
