// The device link over a pseudo-terminal with the box paced at 9600 baud (8N1, ten bits a
// byte): a download and an upload measured against the protocol's own floor, the time from a
// start request to the first request byte while the port watch idle-polls, and how long Stop()
// takes with a port watch, a download or a current watch running.
//
// The floor is a true lower bound: per transaction the request's time on the wire, then the
// longer of the 30 ms the box is given after the request and the reply's time on the wire (the
// reply may arrive during those 30 ms, but not before the request is out), plus every other wait
// the sequence mandates (250 ms before the end telegram, 500 ms after a download, ...). The
// bytes come from what the program really wrote and read, the waits from what it really slept.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <random>
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

double WireMs(std::int64_t bytes) {
  return static_cast<double>(bytes) * sim::BoxSimulator::kByteTimeUs / 1000.0;
}

// What went over the line and what was waited, as the program did it.
struct TrafficLog {
  struct Transaction {
    int requestBytes = 0;
    int replyBytes = 0;
  };
  std::mutex mutex;
  std::vector<Transaction> transactions;
  bool requestWaitPending = false;  // the next wait is the request's own (30 ms + its wire time)
  std::int64_t otherWaitsMs = 0;
  bool firstWriteSeen = false;
  Steady::time_point firstWrite{};

  void Reset() {
    std::lock_guard lock(mutex);
    transactions.clear();
    requestWaitPending = false;
    otherWaitsMs = 0;
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
      m_log.transactions.push_back({length, 0});
      m_log.requestWaitPending = true;
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

// The real clock, telling the request's own wait from the sequence's other waits.
class MeteredClock final : public Clock {
 public:
  explicit MeteredClock(TrafficLog& log) : m_log(log) {}
  std::int64_t NowMs() override { return RealClock().NowMs(); }
  void SleepMs(std::int64_t ms) override {
    {
      std::lock_guard lock(m_log.mutex);
      if (m_log.requestWaitPending) {
        m_log.requestWaitPending = false;
      } else {
        m_log.otherWaitsMs += ms;
      }
    }
    RealClock().SleepMs(ms);
  }
  SystemTime LocalNow() override { return RealClock().LocalNow(); }

 private:
  TrafficLog& m_log;
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
  explicit PtyRig(bool watch)
      : clock(log), box(std::make_shared<sim::BoxSimulator>(clock)), pty(box) {
    box->SetPacing(true);
    if (Failed(pty.Start())) return;
    const std::string slave = pty.SlavePath();
    resolver.RegisterFactory("COM7",
                             [this, slave] { return std::make_unique<MeteredPort>(log, slave); });
    SimulatedBridgeList::Device d;
    d.comPort = 7;
    bridges.Add(d);
    link = std::make_unique<CDeviceLink>(clock, &bridges, resolver, image);
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
  MeteredClock clock;
  SimulatedBridgeList bridges;
  PortResolver resolver;
  ParameterImage image;
  CountingSink sink;
  std::shared_ptr<sim::BoxSimulator> box;
  sim::PtyTransport pty;
  std::unique_ptr<CDeviceLink> link;
  bool ok = false;
};

struct Floor {
  double requestsMs = 0;  // every request on the wire
  double repliesMs = 0;   // per transaction the longer of 30 ms and the reply on the wire
  double waitsMs = 0;     // the other mandated waits
  int transactions = 0;
  double Total() const { return requestsMs + repliesMs + waitsMs; }
};

Floor FloorOf(TrafficLog& log) {
  std::lock_guard lock(log.mutex);
  Floor f;
  for (const auto& t : log.transactions) {
    f.requestsMs += WireMs(t.requestBytes);
    f.repliesMs += std::max(static_cast<double>(kRequestSettleMs), WireMs(t.replyBytes));
  }
  f.waitsMs = static_cast<double>(log.otherWaitsMs);
  f.transactions = static_cast<int>(log.transactions.size());
  return f;
}

void RunTransfer(benchmark::State& state, int mode, const char* name) {
  PtyRig rig(false);
  if (!rig.ok) {
    state.SkipWithError("the simulated box could not be reached over a pseudo-terminal");
    return;
  }
  double measured = 0;
  double worst = 0;
  Floor floor;
  for (auto _ : state) {
    rig.log.Reset();
    const int done = rig.sink.m_done.load();
    rig.link->State().m_mode = mode;
    const auto t0 = Steady::now();
    const int r = mode == 1 ? DownloadThread(&rig.link->State()) : UploadThread(&rig.link->State());
    measured = MsSince(t0, Steady::now());
    if (r != 1 || rig.sink.m_done.load() != done + 1) {
      state.SkipWithError("the transfer failed");
      return;
    }
    state.SetIterationTime(measured / 1000.0);
    floor = FloorOf(rig.log);
    worst = std::max(worst, measured / floor.Total());
    std::printf(
        "%-8s measured %7.1f ms, floor %7.1f ms = requests on the wire %5.1f + max(30 ms, reply "
        "on the wire) %5.1f + other mandated waits %5.1f (%d transactions): %+.1f %%\n",
        name, measured, floor.Total(), floor.requestsMs, floor.repliesMs, floor.waitsMs,
        floor.transactions, (measured / floor.Total() - 1.0) * 100.0);
  }
  state.counters["measured_ms"] = measured;
  state.counters["floor_ms"] = floor.Total();
  state.counters["worst_ratio"] = worst;
}

void BM_DownloadOverPacedPty(benchmark::State& state) { RunTransfer(state, 1, "download"); }
void BM_UploadOverPacedPty(benchmark::State& state) { RunTransfer(state, 2, "upload"); }

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

BENCHMARK(BM_DownloadOverPacedPty)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UploadOverPacedPty)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartLatencyWhilePortWatchPolls)
    ->UseManualTime()
    ->Iterations(8)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StopWithPortWatch)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StopWithDownload)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StopWithCurrentWatch)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace roviro
