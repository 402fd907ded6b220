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

class SimLinkTest : public ::testing::Test {
 protected:
  static constexpr int kSimPort = 7;

  SimLinkTest() {
    box = std::make_shared<sim::BoxSimulator>(clock);
    sim::AttachInMemory(box, resolver, bridges, kSimPort);
    link = std::make_unique<CDeviceLink>(clock, &bridges, resolver, image);
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

  std::vector<std::uint8_t> ImageBlock(std::uint8_t cmd) const {
    const auto b = image.Block(cmd);
    return {b.begin(), b.end()};
  }

  ManualClock clock;
  SimulatedBridgeList bridges;
  PortResolver resolver;
  ParameterImage image;
  RecordingMessageSink sink;
  std::shared_ptr<sim::BoxSimulator> box;
  std::unique_ptr<CDeviceLink> link;
};

}  // namespace roviro::test
