// The simulator's own frame codec and the box's answers.

#include <gtest/gtest.h>

#include <memory>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "platform/SerialPort.h"
#include "sim/BoxSimulator.h"
#include "sim/SimCodec.h"
#include "sim/SimTransport.h"

namespace roviro::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(SimCodec, GoldenFrames) {
  EXPECT_EQ(EncodeFrame(Bytes{0x21}), (Bytes{0x02, 0x01, 0x21, 0x21, 0x03}));
  EXPECT_EQ(EncodeFrame(Bytes{0x19, 0x08}), (Bytes{0x02, 0x02, 0x19, 0x08, 0x21, 0x03}));
  EXPECT_TRUE(EncodeFrame(Bytes{}).empty());
  EXPECT_TRUE(EncodeFrame(Bytes(252, 1)).empty());
  EXPECT_EQ(EncodeFrame(Bytes(251, 1)).size(), 255u);
}

std::vector<Bytes> FeedAll(FrameDecoder& d, const Bytes& bytes, std::int64_t at = 0) {
  std::vector<Bytes> out;
  for (auto b : bytes) {
    if (auto p = d.Feed(b, at)) out.push_back(*p);
  }
  return out;
}

TEST(SimCodec, DecoderTakesOnlyGoodFramesAndResynchronises) {
  FrameDecoder d;
  EXPECT_EQ(FeedAll(d, {0x55, 0x02, 0x02, 0x19, 0x08, 0x21, 0x03}),
            (std::vector<Bytes>{{0x19, 0x08}}));
  EXPECT_TRUE(FeedAll(d, {0x02, 0x01, 0x21, 0x22, 0x03}).empty());  // checksum
  EXPECT_TRUE(FeedAll(d, {0x02, 0x01, 0x21, 0x21, 0x04}).empty());  // end byte
  EXPECT_EQ(d.Rejected(), 2);
  EXPECT_EQ(FeedAll(d, {0x02, 0x01, 0x21, 0x21, 0x03}), (std::vector<Bytes>{{0x21}}));
}

TEST(SimCodec, DecoderDropsAFrameThatPausesTooLong) {
  FrameDecoder d(20000);
  EXPECT_TRUE(FeedAll(d, {0x02, 0x01, 0x21}, 0).empty());  // a byte was lost on the way
  EXPECT_EQ(FeedAll(d, {0x02, 0x01, 0x34, 0x34, 0x03}, 50000), (std::vector<Bytes>{{0x34}}));
  EXPECT_EQ(d.Rejected(), 1);
}

class BoxTest : public ::testing::Test {
 protected:
  BoxTest() : box(std::make_shared<BoxSimulator>(clock)), port(box) { port.Open("COM7", {}); }
  std::vector<Bytes> Ask(const Bytes& payload, std::int64_t waitMs = 0) {
    const Bytes frame = EncodeFrame(payload);
    EXPECT_EQ(port.Write(frame.data(), static_cast<int>(frame.size())),
              static_cast<int>(frame.size()));
    clock.Advance(waitMs);
    std::uint8_t buf[600];
    const int n = port.Read(buf, sizeof(buf));
    FrameDecoder d;
    return FeedAll(d, Bytes(buf, buf + (n > 0 ? n : 0)));
  }
  ManualClock clock;
  std::shared_ptr<BoxSimulator> box;
  SimPort port;
};

TEST_F(BoxTest, AnswersTheCommandTable) {
  EXPECT_EQ(Ask({0x01}), (std::vector<Bytes>{{0x81}}));
  for (std::uint8_t c : Bytes{0x11, 0x12, 0x13, 0x14, 0x15}) {
    EXPECT_EQ(Ask({c}), (std::vector<Bytes>{{static_cast<std::uint8_t>(c | 0x80)}}));
  }
  EXPECT_EQ(Ask({0x13, 0x01}), (std::vector<Bytes>{{0x93, 0x01}}));
  EXPECT_EQ(Ask({0x19, 0x08}), (std::vector<Bytes>{{0x99, 0x08, 0x4A, 0x11}}));
  EXPECT_EQ(Ask({0x10}), (std::vector<Bytes>{{0x90, 0x23}}));
  EXPECT_EQ(Ask({0x24, 0x01}), (std::vector<Bytes>{{0xA4, 0x00}}));
  EXPECT_EQ(Ask({0x21}), (std::vector<Bytes>{{0xA1}}));
  EXPECT_EQ(Ask({0x2D, 0x00}), (std::vector<Bytes>{{0xAD}}));
  EXPECT_EQ(Ask({0x2D, 0x07, 0x03}), (std::vector<Bytes>{{0xAD, 0x07}}));
  EXPECT_EQ(Ask({0x27}), (std::vector<Bytes>{{0xA7}}));
  EXPECT_EQ(Ask({0x0C}), (std::vector<Bytes>{{0x8C, 0x00, 0x00}}));
  for (std::uint8_t c : Bytes{0x34, 0x22, 0x2E, 0x32, 0x30, 0x39, 0x3B}) {
    const auto r = Ask({c});
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0][0], c | 0x80);
    Bytes block(r[0].begin() + 1, r[0].end());
    EXPECT_EQ(block, box->MotorBlock(c));
    EXPECT_TRUE(BoxSimulator::SealOk(block));
  }
  const auto stored = Ask({0x19, 0x02});
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0][0], 0x19);
  EXPECT_EQ(stored[0][1], 0x03);
  EXPECT_EQ(Bytes(stored[0].begin() + 2, stored[0].end()), box->BoxBlock(1));
  EXPECT_TRUE(Ask({0x77}).empty());  // unknown: no answer
}

TEST_F(BoxTest, StoresSealedWritesAndRefusesBadOnes) {
  Bytes a(13, 0x05);
  BoxSimulator::Seal(a);
  Bytes req = {0x35};
  req.insert(req.end(), a.begin(), a.end());
  EXPECT_EQ(Ask(req), (std::vector<Bytes>{{0xB5}}));
  EXPECT_EQ(box->MotorBlock(0x34), a);
  req.back() ^= 1;
  EXPECT_TRUE(Ask(req).empty());
  EXPECT_EQ(box->BadSealWrites(), 1);
  Bytes b(11, 0x09);
  BoxSimulator::Seal(b);
  Bytes write = {0x19, 0x03};
  write.insert(write.end(), b.begin(), b.end());
  EXPECT_EQ(Ask(write), (std::vector<Bytes>{{0x99, 0x03, 0x00}}));
  EXPECT_EQ(box->BoxBlock(1), b);
  write.back() ^= 1;
  EXPECT_EQ(Ask(write), (std::vector<Bytes>{{0x99, 0x03, 0x01}}));
  Bytes stamp = {0x3A};
  for (int i = 0; i < 19; ++i) stamp.push_back(static_cast<std::uint8_t>(i));
  EXPECT_EQ(Ask(stamp), (std::vector<Bytes>{{0xBA}}));
  EXPECT_EQ(box->MotorBlock(0x39)[6], 0);
  EXPECT_EQ(box->MotorBlock(0x39)[24], 18);
}

TEST_F(BoxTest, ScenarioSwitches) {
  box->SetBoxHasParameters(false);
  EXPECT_EQ(Ask({0x19, 0x00}), (std::vector<Bytes>{{0x99, 0x00, 0x01}}));
  box->SetIdentifyError(true);
  EXPECT_EQ(Ask({0x19, 0x08}), (std::vector<Bytes>{{0x19, 0x08, 0x01}}));
  box->SetMotorReach(MotorReach::kThroughState4);
  EXPECT_TRUE(Ask({0x21}).empty());
  EXPECT_EQ(Ask({0x24, 0x01}).size(), 1u);
  EXPECT_EQ(Ask({0x21}).size(), 1u);
  Ask({0x13, 0x01});
  EXPECT_TRUE(Ask({0x21}).empty());  // the connection end sends the motor back to sleep
  box->SetMotorReach(MotorReach::kThroughState6);
  EXPECT_TRUE(Ask({0x24, 0x01}).empty());
  Ask({0x2D, 0x00});
  EXPECT_EQ(Ask({0x21}).size(), 1u);
  box->SetMotorPresent(false);
  EXPECT_TRUE(Ask({0x21}).empty());
  EXPECT_EQ(Ask({0x12}).size(), 1u);  // the box itself still answers
  box->SetCurrentSequence({0x1234}, 7);
  box->SetMotorPresent(true);
  EXPECT_EQ(Ask({0x0C}), (std::vector<Bytes>{{0x8C, 0x12, 0x34}}));
  EXPECT_EQ(Ask({0x0C}), (std::vector<Bytes>{{0x8C, 0x00, 0x07}}));
}

TEST_F(BoxTest, TimedFaultsAndUnsolicitedTelegrams) {
  box->DelayNextReply(100);
  EXPECT_TRUE(Ask({0x01}, 99).empty());
  EXPECT_EQ(Ask({0x01}, 1).size(), 2u);  // the late one first, then this one's
  // The box sends in order: a reply waits behind a telegram it is about to send by itself.
  box->SendUnsolicited({0xF1, 0x08}, 10);
  EXPECT_TRUE(Ask({0x01}, 0).empty());
  clock.Advance(10);
  std::uint8_t buf[16];
  EXPECT_EQ(port.Read(buf, sizeof(buf)), 6 + 5);
  EXPECT_EQ(buf[2], 0xF1);
  box->UnplugAfterRequests(1);
  EXPECT_TRUE(Ask({0x01}).empty());
  EXPECT_TRUE(box->Vanished());
  EXPECT_EQ(port.Read(buf, sizeof(buf)), -1);
  EXPECT_EQ(port.Write(buf, 1), -1);
}

TEST_F(BoxTest, PacingSpendsTheWireTimeOfEveryByte) {
  box->SetPacing(true);
  // Request 5 bytes and reply 5 bytes at 1.042 ms each: complete after 10.42 ms, also when the
  // request comes in two writes (the second queues behind the first on the line).
  const Bytes frame = EncodeFrame(Bytes{0x01});
  port.Write(frame.data(), 3);
  port.Write(frame.data() + 3, 2);
  std::uint8_t buf[16];
  clock.Advance(6);
  EXPECT_EQ(port.Read(buf, sizeof(buf)), 0);
  clock.Advance(4);
  EXPECT_EQ(port.Read(buf, sizeof(buf)), 4);
  clock.Advance(1);
  EXPECT_EQ(port.Read(buf, sizeof(buf)), 1);
  // A processing delay moves the reply by as much; a command with a delay of its own takes that.
  box->SetProcessingDelayUs(5000);
  box->SetProcessingDelayUs(0x12, 0);
  const auto completeAfter = [&](const Bytes& request, std::int64_t ms) {
    port.Write(request.data(), static_cast<int>(request.size()));
    clock.Advance(ms - 1);
    EXPECT_EQ(port.Read(buf, sizeof(buf)), 4);
    clock.Advance(1);
    EXPECT_EQ(port.Read(buf, sizeof(buf)), 1);
  };
  completeAfter(frame, 16);
  completeAfter(EncodeFrame(Bytes{0x12}), 11);
}

TEST_F(BoxTest, PortIsExclusive) {
  SimPort second(box);
  EXPECT_TRUE(Failed(second.Open("COM7", {})));
  port.Close();
  EXPECT_TRUE(Succeeded(second.Open("COM7", {})));
}

#ifndef _WIN32
TEST(PtyTransport, ServesTheBoxOverAPseudoTerminal) {
  ManualClock clock;
  auto box = std::make_shared<BoxSimulator>(clock);
  PtyTransport pty(box);
  ASSERT_TRUE(Succeeded(pty.Start()));
  SerialPort port;
  ASSERT_TRUE(Succeeded(port.Open(pty.SlavePath(), {})));
  if (::geteuid() != 0) {  // the exclusive mode does not hold against root
    SerialPort second;
    EXPECT_TRUE(Failed(second.Open(pty.SlavePath(), {})));
  }
  const Bytes frame = EncodeFrame(Bytes{0x19, 0x08});
  ASSERT_EQ(port.Write(frame.data(), static_cast<int>(frame.size())), 6);
  Bytes got;
  std::uint8_t buf[64];
  for (int i = 0; i < 2000 && got.size() < 8; ++i) {
    const int n = port.Read(buf, sizeof(buf));
    ASSERT_GE(n, 0);
    got.insert(got.end(), buf, buf + n);
    if (n == 0) {
      struct timespec pause {
        0, 1000000
      };
      nanosleep(&pause, nullptr);
    }
  }
  EXPECT_EQ(got, EncodeFrame(Bytes{0x99, 0x08, 0x4A, 0x11}));
  box->Unplug();
  int n = 0;
  for (int i = 0; i < 2000 && n >= 0; ++i) {
    n = port.Read(buf, sizeof(buf));
    struct timespec pause {
      0, 1000000
    };
    nanosleep(&pause, nullptr);
  }
  EXPECT_EQ(n, -1);  // the vanished port fails the read
  pty.Stop();
}
#endif

}  // namespace
}  // namespace roviro::sim
