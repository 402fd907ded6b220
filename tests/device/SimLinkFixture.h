#pragma once
// A device link wired to the in-memory box simulator, with a manual clock, a recording message
// sink and a parameter image of its own.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "device/DeviceLink.h"
#include "platform/RecordingMessageSink.h"
#include "sim/BoxSimulator.h"
#include "sim/SimTransport.h"

namespace roviro::test {

// The manual clock as the link sees it: notes its longest wait and how long it waited while
// the link lock was held.
class ObservedClock final : public Clock {
 public:
  explicit ObservedClock(ManualClock& base) : m_base(base) {}
  std::int64_t NowMs() override { return m_base.NowMs(); }
  void SleepMs(std::int64_t ms) override {
    if (m_lock != nullptr && m_lock->Depth() > 0) underLockMs += ms;
    if (ms > longestMs) longestMs = ms;  // one waiting thread at a time where it is read
    m_base.SleepMs(ms);
  }
  SystemTime LocalNow() override { return m_base.LocalNow(); }
  void Watch(LinkLock& lock) { m_lock = &lock; }

  std::atomic<std::int64_t> longestMs{0};
  std::atomic<std::int64_t> underLockMs{0};

 private:
  ManualClock& m_base;
  LinkLock* m_lock = nullptr;
};

class SimLinkTest : public ::testing::Test {
 protected:
  static constexpr int kSimPort = 7;

  SimLinkTest() {
    box = std::make_shared<sim::BoxSimulator>(clock);
    sim::AttachInMemory(box, resolver, bridges, kSimPort);
    link = std::make_unique<CDeviceLink>(linkClock, &bridges, resolver, image);
    linkClock.Watch(link->Lock());
    link->Init(&sink, 1, 100);
    // The image holds a set for the simulator's standard motor type.
    const auto blocks = sim::BoxSimulator::StandardMotorBlocks(0);
    for (const auto& [cmd, bytes] : blocks) {
      auto b = image.Block(cmd);
      std::copy(bytes.begin(), bytes.end(), b.begin());
    }
  }
  ~SimLinkTest() override { link->Stop(); }

  LinkState& State() { return link->State(); }

  void Connect() {
    ASSERT_TRUE(Succeeded(link->Discover()));
    box->ClearRequests();
    sink.Clear();
  }

  // The command bytes (and sub-codes for two-byte headers) of every request since `from`.
  std::vector<std::vector<std::uint8_t>> Requests() const { return box->Requests(); }
  std::vector<std::uint8_t> Commands() const {
    std::vector<std::uint8_t> out;
    for (const auto& r : box->Requests()) out.push_back(r[0]);
    return out;
  }
  int CountCommand(std::uint8_t cmd) const {
    int n = 0;
    for (const auto& r : box->Requests()) n += r[0] == cmd ? 1 : 0;
    return n;
  }

  bool Posted(std::uint32_t msg, std::uintptr_t wParam) const {
    for (const auto& p : sink.Posts()) {
      if (p.msg == msg && p.wParam == wParam) return true;
    }
    return false;
  }
  bool Posted(std::uint32_t msg) const {
    for (const auto& p : sink.Posts()) {
      if (p.msg == msg) return true;
    }
    return false;
  }

  // Waits (in real time, briefly yielding) until `done` holds or a generous limit passes.
  static bool WaitFor(const std::function<bool()>& done) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
      if (std::chrono::steady_clock::now() > limit) return false;
      std::this_thread::yield();
    }
    return true;
  }

  // The whole set: valid word, blocks and texts.
  static bool SameSet(const ParameterImage& a, const ParameterImage& b) {
    return a.m_valid == b.m_valid && a.m_block == b.m_block && a.m_moName == b.m_moName &&
           a.m_name == b.m_name && a.m_kommentar == b.m_kommentar && a.m_guid == b.m_guid;
  }

  std::vector<std::uint8_t> ImageBlock(std::uint8_t cmd) const {
    const auto b = image.Block(cmd);
    return {b.begin(), b.end()};
  }

  ManualClock clock;
  ObservedClock linkClock{clock};
  SimulatedBridgeList bridges;
  PortResolver resolver;
  ParameterImage image;
  RecordingMessageSink sink;
  std::shared_ptr<sim::BoxSimulator> box;
  std::unique_ptr<CDeviceLink> link;
};

}  // namespace roviro::test
