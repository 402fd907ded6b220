// Port discovery over the bridge list and the list of ports never to be used.

#include <gtest/gtest.h>

#include <fstream>
#include <utility>

#include "SimLinkFixture.h"
#include "support/TempFolder.h"

namespace roviro::test {
namespace {

class DiscoveryTest : public SimLinkTest {
 protected:
  void WriteIgnoreFile(const std::string& text) {
    std::ofstream(folder.File("IgnorePortList.txt"), std::ios::binary) << text;
    State().m_programFolder = folder.Path();
  }
  TempFolder folder;
};

TEST_F(DiscoveryTest, FindsTheBoxAndOpensItsPort) {
  EXPECT_FALSE(link->IsOpen());
  ASSERT_TRUE(Succeeded(link->Discover()));
  EXPECT_TRUE(link->IsOpen());
  EXPECT_EQ(link->PortNumber(), kSimPort);
  EXPECT_EQ(link->DevicePath(), "");  // the in-memory box is no device of the system
  EXPECT_EQ(Requests(), (std::vector<std::vector<std::uint8_t>>{{0x01}}));
  EXPECT_EQ(bridges.Calls(),
            (std::vector<std::string>{"count", "list", "open 0", "eeprom 0", "port 0", "close 0"}));
  EXPECT_TRUE(sink.Boxes().empty());
}

TEST_F(DiscoveryTest, SkipsADeviceAlreadyOpenedAndPausesBeforeTheNext) {
  bridges.Clear();
  SimulatedBridgeList::Device busy;
  busy.alreadyOpened = true;
  busy.comPort = 3;
  bridges.Add(busy);
  SimulatedBridgeList::Device ours;
  ours.comPort = kSimPort;
  bridges.Add(ours);
  const auto before = clock.NowMs();
  ASSERT_TRUE(Succeeded(link->Discover()));
  EXPECT_EQ(link->PortNumber(), kSimPort);
  const auto calls = bridges.Calls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "open 0"), 0);
  EXPECT_EQ(calls[2], "open 1");
  // 100 ms pause before device 1, then the probe: the 30 ms the box is given from the write's
  // return; the reply, there by then, is read at once.
  EXPECT_EQ(clock.NowMs() - before, 100 + 30);
}

TEST_F(DiscoveryTest, DeviceWithoutComPortIsClosedAndSkippedSilently) {
  bridges.Clear();
  SimulatedBridgeList::Device none;  // port -1
  bridges.Add(none);
  EXPECT_TRUE(Failed(link->Discover()));
  EXPECT_EQ(bridges.Calls().back(), "close 0");
  EXPECT_TRUE(sink.Boxes().empty());
  EXPECT_FALSE(link->IsOpen());
}

TEST_F(DiscoveryTest, BridgeFailuresShowTheirBoxesAndDiscoveryMovesOn) {
  bridges.Clear();
  SimulatedBridgeList::Device eeprom;
  eeprom.failEeprom = true;
  eeprom.comPort = 2;
  bridges.Add(eeprom);
  SimulatedBridgeList::Device port;
  port.failComPort = true;
  bridges.Add(port);
  SimulatedBridgeList::Device close;
  close.failClose = true;
  close.comPort = kSimPort;
  bridges.Add(close);
  ASSERT_TRUE(Succeeded(link->Discover()));
  const auto boxes = sink.Boxes();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].text, "Fehler bei FT_EE_Read");
  EXPECT_EQ(boxes[1].text, "Fehler bei FT_GetComPortNumber");
  EXPECT_EQ(boxes[2].text, "Fehler bei FT_Close");
  for (const auto& b : boxes) {
    EXPECT_EQ(b.caption, "FT-Fehler");
    EXPECT_EQ(b.style, kMbIconError | kMbTopmost);
  }
}

TEST_F(DiscoveryTest, NoDevicesOrABoxThatDoesNotAnswerFails) {
  bridges.Clear();
  EXPECT_TRUE(Failed(link->Discover()));
  sim::AttachInMemory(box, resolver, bridges, kSimPort);
  box->SilenceCommand(0x01, 1);
  EXPECT_TRUE(Failed(link->Discover()));
  EXPECT_FALSE(link->IsOpen());
  // The failed probe closed the port again, so the next attempt can open it.
  EXPECT_TRUE(Succeeded(link->Discover()));
}

TEST_F(DiscoveryTest, IgnoreListInAllThreeSpellingsKeepsPortsClosed) {
  WriteIgnoreFile(
      "// ports of the workshop PC\n[start]\n3\n[END]\n40 // upper limit\n"
      "[ignore]\nCOM4\n\tCOM5:  \n\\\\.\\COM7 // the box under test\r\n\n[OTHER]\nCOM9\n"
      "[IGNORE] \ncom4\n");
  link->LoadIgnoreList();
  EXPECT_EQ(link->RangeStart(), 3);
  EXPECT_EQ(link->RangeEnd(), 40);
  EXPECT_EQ(link->IgnoreList(), (std::vector<std::string>{"COM4", "COM5", "COM7"}));
  for (const char* name : {"COM7", "COM7:", "\\\\.\\COM7", "\\\\.\\COM5", "COM4"}) {
    EXPECT_TRUE(link->IsIgnored(name)) << name;
  }
  EXPECT_FALSE(link->IsIgnored("COM9"));  // after [OTHER], until the next known marker
  EXPECT_TRUE(Failed(link->Discover()));
  EXPECT_TRUE(Requests().empty());
  EXPECT_TRUE(Failed(link->OpenPort("\\\\.\\COM7", 9600, 8, 0, 0)));
}

TEST_F(DiscoveryTest, DiscoveryLeavesTheBackPointerToTheWorkers) {
  // The workers read it without a lock; discovery runs on the port watch.
  State().m_link = nullptr;
  EXPECT_TRUE(Succeeded(link->Discover()));
  EXPECT_EQ(std::exchange(State().m_link, link.get()), nullptr);
}

TEST(DevicePath, ABoxOnADeviceOfTheSystemIsNamedByItsPathUntilTheLinkStops) {
  SystemClock clock;
  auto box = std::make_shared<sim::BoxSimulator>(clock);
  sim::PtyTransport pty(box);
  ASSERT_TRUE(Succeeded(pty.Start()));
  PortResolver resolver;
  SimulatedBridgeList bridges;
  ParameterImage image;
  RecordingMessageSink sink;
  CDeviceLink link(clock, &bridges, resolver, image);
  link.Init(&sink, 1, 100);
  ASSERT_TRUE(Succeeded(link.OpenPort(pty.SlavePath(), 9600, 8, 0, 0)));
  EXPECT_EQ(link.DevicePath(), pty.SlavePath());
  link.Stop();
  EXPECT_EQ(link.DevicePath(), "");
  pty.Stop();
}

TEST_F(DiscoveryTest, MissingIgnoreFileKeepsTheDefaults) {
  State().m_programFolder = folder.Path();
  link->LoadIgnoreList();
  EXPECT_EQ(link->RangeStart(), 1);
  EXPECT_EQ(link->RangeEnd(), 100);
  EXPECT_TRUE(link->IgnoreList().empty());
  link->AddIgnored("\\\\.\\COM12:");
  link->AddIgnored("COM12");
  EXPECT_EQ(link->IgnoreList(), (std::vector<std::string>{"COM12"}));
}

TEST_F(DiscoveryTest, InitRefusesAMissingWindowOrAnInvertedRange) {
  EXPECT_TRUE(Failed(link->Init(nullptr, 1, 100)));
  EXPECT_TRUE(Failed(link->Init(&sink, 5, 4)));
  EXPECT_TRUE(Succeeded(link->Init(&sink, 4, 4)));
}

TEST(PortNames, ResolverMapsEverySpellingToOneDevice) {
  PortResolver resolver;
  EXPECT_EQ(CanonicalPortName("\\\\.\\COM12"), "COM12");
  EXPECT_EQ(CanonicalPortName("COM12:"), "COM12");
  EXPECT_EQ(ComPortNumber("\\\\.\\com3"), 3);
  EXPECT_EQ(ComPortNumber("LPT1"), -1);
#ifndef _WIN32
  EXPECT_EQ(resolver.DevicePath("\\\\.\\COM3"), "/dev/ttyUSB3");
#endif
  resolver.RegisterPath("COM9", "/dev/pts/42");
  EXPECT_EQ(resolver.DevicePath("\\\\.\\COM9"), "/dev/pts/42");
  EXPECT_EQ(resolver.DevicePath("com9:"), "/dev/pts/42");
  resolver.Unregister("COM9");
  EXPECT_NE(resolver.DevicePath("COM9"), "/dev/pts/42");
}

}  // namespace
}  // namespace roviro::test

namespace roviro::test {
namespace {

TEST(LibSerialPortBridges, ListsOnlyBridgeDevicesAndRefusesBadHandles) {
  LibSerialPortBridgeList bridges;
  std::uint32_t count = 99;
  ASSERT_EQ(bridges.DeviceCount(&count), kBridgeOk);
  std::vector<BridgeDeviceRecord> list(count + 1);
  std::uint32_t filled = count + 1;
  ASSERT_EQ(bridges.DeviceList(list.data(), &filled), kBridgeOk);
  EXPECT_EQ(filled, count);
  for (std::uint32_t i = 0; i < filled; ++i) EXPECT_EQ(list[i].id >> 16, kBridgeVendorId);
  BridgeHandle handle = 0;
  EXPECT_NE(bridges.OpenByIndex(count, &handle), kBridgeOk);
  BridgeEeprom eeprom;
  EXPECT_NE(bridges.ReadEeprom(12345, &eeprom), kBridgeOk);
  std::int32_t port = -1;
  EXPECT_NE(bridges.ComPortNumber(0, &port), kBridgeOk);
  EXPECT_EQ(port, -1);
  EXPECT_NE(bridges.Close(0), kBridgeOk);
}

}  // namespace
}  // namespace roviro::test
