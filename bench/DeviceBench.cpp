// A download and an upload over a pseudo-terminal with the box paced at 9600 baud, measured
// against the floor the protocol itself imposes: the mandated waits (30 ms after every request,
// the 250 ms and 500 ms settle times) plus the wire time of every byte both ways. The receive
// loop's 10 ms polls are not part of the floor: they are what the implementation adds.

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>

#include "device/DeviceLink.h"
#include "sim/BoxSimulator.h"
#include "sim/SimTransport.h"

namespace roviro {
namespace {

// The real clock, adding up every wait except the receive loop's 10 ms polls.
class MandatedWaitClock final : public Clock {
 public:
  std::int64_t NowMs() override { return RealClock().NowMs(); }
  void SleepMs(std::int64_t ms) override {
    if (ms != 10) m_mandated += ms;
    RealClock().SleepMs(ms);
  }
  SystemTime LocalNow() override { return RealClock().LocalNow(); }
  std::atomic<std::int64_t> m_mandated{0};
};

class NullSink final : public MessageSink {
 public:
  void Post(std::uint32_t msg, std::uintptr_t, std::intptr_t) override { m_last = msg; }
  int MessageBox(const std::string&, const std::string&, std::uint32_t) override { return kIdOk; }
  std::atomic<std::uint32_t> m_last{0};
};

struct PtyRig {
  PtyRig() : box(std::make_shared<sim::BoxSimulator>(clock)), pty(box) {
    box->SetPacing(true);
    if (Failed(pty.Start())) return;
    pty.Attach(resolver, bridges, 7);
    link = std::make_unique<CDeviceLink>(clock, &bridges, resolver, image);
    link->Init(&sink, 1, 100);
    ok = Succeeded(link->Discover());
    link->State().m_jobMask = 3;
    for (const auto& [cmd, bytes] : sim::BoxSimulator::StandardMotorBlocks(0)) {
      auto b = image.Block(cmd);
      std::copy(bytes.begin(), bytes.end(), b.begin());
    }
  }
  ~PtyRig() {
    if (link) link->Stop();
    pty.Stop();
  }

  // Runs one transfer; returns false when it did not end with the motor.
  bool Run(int mode, double* measuredMs, double* floorMs) {
    const auto in0 = box->BytesFromProgram();
    const auto out0 = box->BytesToProgram();
    const auto wait0 = clock.m_mandated.load();
    const auto t0 = std::chrono::steady_clock::now();
    link->State().m_mode = mode;
    const int r = mode == 1 ? DownloadThread(&link->State()) : UploadThread(&link->State());
    const auto t1 = std::chrono::steady_clock::now();
    *measuredMs = std::chrono::duration<double, std::milli>(t1 - t0).count();
    const auto bytes = (box->BytesFromProgram() - in0) + (box->BytesToProgram() - out0);
    *floorMs = static_cast<double>(clock.m_mandated.load() - wait0) +
               static_cast<double>(bytes) * sim::BoxSimulator::kByteTimeUs / 1000.0;
    return r == 1 && sink.m_last.load() == kMsgTransferDone;
  }

  MandatedWaitClock clock;
  SimulatedBridgeList bridges;
  PortResolver resolver;
  ParameterImage image;
  NullSink sink;
  std::shared_ptr<sim::BoxSimulator> box;
  sim::PtyTransport pty;
  std::unique_ptr<CDeviceLink> link;
  bool ok = false;
};

void RunTransfer(benchmark::State& state, int mode, const char* name) {
  PtyRig rig;
  if (!rig.ok) {
    state.SkipWithError("the simulated box could not be reached over a pseudo-terminal");
    return;
  }
  double measured = 0;
  double floor = 0;
  double worst = 0;
  for (auto _ : state) {
    if (!rig.Run(mode, &measured, &floor)) {
      state.SkipWithError("the transfer failed");
      return;
    }
    state.SetIterationTime(measured / 1000.0);
    worst = std::max(worst, measured / floor);
    std::printf(
        "%s over a paced pseudo-terminal: measured %.1f ms, protocol floor %.1f ms (%+.1f %%)\n",
        name, measured, floor, (measured / floor - 1.0) * 100.0);
  }
  state.counters["measured_ms"] = measured;
  state.counters["floor_ms"] = floor;
  state.counters["worst_ratio"] = worst;
}

void BM_DownloadOverPacedPty(benchmark::State& state) { RunTransfer(state, 1, "download"); }
void BM_UploadOverPacedPty(benchmark::State& state) { RunTransfer(state, 2, "upload"); }

BENCHMARK(BM_DownloadOverPacedPty)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UploadOverPacedPty)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace roviro
