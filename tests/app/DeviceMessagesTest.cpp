// The dialog and the port watch with the simulated box: 20030 starts the watch, 20020 and 20021
// set the box flag, 20029 hands every queued telegram to the screen, a lost box brings a new
// watch.

#include "AppFixture.h"
#include "app/AppMessages.h"
#include "sim/BoxSimulator.h"
#include "sim/SimTransport.h"

namespace roviro::test {
namespace {

class DeviceMessagesTest : public AppTest {
 protected:
  static constexpr int kSimPort = 4;

  DeviceMessagesTest() {
    WriteProfile();
    WriteStartIni("[STARTUP_LANGUAGE]\n00 00 00 00\n");
    RegisterScreen(1);
    box = std::make_shared<sim::BoxSimulator>(clock);
    sim::AttachInMemory(box, resolver, bridges, kSimPort);
  }
  ~DeviceMessagesTest() override { dlg.reset(); }

  std::shared_ptr<sim::BoxSimulator> box;
};

TEST_F(DeviceMessagesTest, ThePortWatchFindsTheBoxAndTheScreenHearsOfIt) {
  auto& d = Open();
  ASSERT_TRUE(Succeeded(d.SwitchScreen(1)));
  // 20030 was posted by the start-up: the watch runs and finds the box.
  ASSERT_TRUE(WaitFor([&] { return (d.StateFlags() & kStateBoxPresent) != 0; }));
  EXPECT_TRUE(d.Link().IsOpen());
  EXPECT_EQ(d.Link().PortNumber(), kSimPort);

  // Losing the box ends the watch (20030); the dialog starts a new one, whose search (20020)
  // clears the box and data flags and reaches the screen.
  d.State() |= kStateDataLoaded;
  log.events.clear();
  box->Unplug();
  ASSERT_TRUE(WaitFor([&] { return (d.StateFlags() & kStateBoxPresent) == 0; }));
  EXPECT_FALSE(d.StateFlags() & kStateDataLoaded);
  EXPECT_TRUE(log.Has("msg 20020"));
  EXPECT_FALSE(d.Link().State().Has(kLinkWatchEnded));

  // Found again (20021): the flag is back and the screen hears of it.
  box->Replug();
  ASSERT_TRUE(WaitFor([&] { return (d.StateFlags() & kStateBoxPresent) != 0; }));
  EXPECT_TRUE(log.Has("msg 20021"));
  Pump();
  EXPECT_GE(log.Count("update 1"), 2);  // 20025 after each

  // Telegrams the box sends by itself reach the screen in order (20029).
  box->SendUnsolicited({0xF1, 0x08});
  box->SendUnsolicited({0xA8, 0x01, 0x00});
  ASSERT_TRUE(WaitFor([&] { return log.Has("frame A8 01"); }));
  const auto first = std::find(log.events.begin(), log.events.end(), "frame F1 08");
  const auto second = std::find(log.events.begin(), log.events.end(), "frame A8 01");
  EXPECT_LT(first, second);
  Telegram rest;
  EXPECT_TRUE(Failed(d.Link().PopTelegram(rest)));  // the queue was emptied
}

TEST_F(DeviceMessagesTest, SearchEndedWithoutAPortClearsTheBoxFlag) {
  auto& d = Open();
  ASSERT_TRUE(WaitFor([&] { return (d.StateFlags() & kStateBoxPresent) != 0; }));
  d.Link().ClosePort();
  d.State() |= kStateDataLoaded;
  std::intptr_t result = 0;
  EXPECT_TRUE(d.WindowProc(kMsgBoxFound, 0, 0, &result));
  EXPECT_EQ(result, 1);
  EXPECT_FALSE(d.StateFlags() & (kStateBoxPresent | kStateDataLoaded));
}

TEST_F(DeviceMessagesTest, AFailedTransferStopsTimerZero) {
  auto& d = Open();
  ASSERT_TRUE(Succeeded(d.SwitchScreen(1)));
  d.SetTimer(0, 100000);
  std::intptr_t result = 0;
  EXPECT_TRUE(d.WindowProc(kMsgTransferFailed, 0, 0, &result));
  EXPECT_EQ(result, 1);
  EXPECT_FALSE(d.HasTimer(0));
  EXPECT_TRUE(log.Has("msg 20023"));
  // Any other number goes to the screen and on to the default processing.
  EXPECT_FALSE(d.WindowProc(20040, 0, 0, &result));
  EXPECT_TRUE(log.Has("msg 20040"));
}

TEST_F(DeviceMessagesTest, ClosingWhileTheBoxIsConnectedStopsTheWatchCleanly) {
  auto& d = Open();
  ASSERT_TRUE(WaitFor([&] { return (d.StateFlags() & kStateBoxPresent) != 0; }));
  prompts.ScriptAnswer(kIdYes);
  d.close();
  ASSERT_TRUE(WaitFor([&] { return d.IsClosed(); }));
  EXPECT_TRUE(d.Link().State().Has(kLinkWatchEnded));
  EXPECT_FALSE(d.Link().IsOpen());
  EXPECT_EQ(d.Link().RunningWorkers(), 0);
}

// A serial device the user may not open: the fitter is told once what to do, while the port
// watch goes on searching.
class DeniedPort final : public BytePort {
 public:
  HResult Open(const std::string&, const LineSettings&) override { return E_FAIL; }
  void Close() override {}
  OpenFailure LastOpenFailure() const override { return {true, "dialout"}; }
  bool IsOpen() const override { return false; }
  int Read(std::uint8_t*, int) override { return -1; }
  int Write(const std::uint8_t*, int) override { return -1; }
};

TEST_F(DeviceMessagesTest, AUserWhoMayNotOpenTheDeviceIsToldOnceToJoinItsGroup) {
  SimulatedBridgeList::Device device;
  device.comPort = 6;
  bridges.Clear();
  bridges.Add(device);
  resolver.RegisterFactory("COM6", [] { return std::make_unique<DeniedPort>(); });
  auto& d = Open();
  ASSERT_TRUE(WaitFor([&] { return bridges.Calls().size() > 30; }));  // searched again and again
  Pump();
  ASSERT_EQ(prompts.Calls().size(), 1u);
  const std::string text = prompts.Calls()[0].text;
  EXPECT_NE(text.find("COM6"), std::string::npos) << text;
  EXPECT_NE(text.find("sudo usermod -aG dialout"), std::string::npos) << text;
  EXPECT_FALSE(d.StateFlags() & kStateBoxPresent);
  std::intptr_t result = 0;
  d.WindowProc(kMsgPortAccessDenied, 0, 0, &result);  // reported again: still one box
  EXPECT_EQ(prompts.Calls().size(), 1u);
}

}  // namespace
}  // namespace roviro::test
