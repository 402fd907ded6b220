// Fault-injection soak: thousands of downloads and uploads against a box that drops bytes,
// flips bits, stalls, answers late and vanishes, all on simulated time with fixed seeds. Every
// run must end either in success with exactly the right bytes or in a reported failure.

#include <gtest/gtest.h>

#include <iostream>
#include <random>

#include "SimLinkFixture.h"

namespace roviro::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Tally {
  int motor = 0;
  int boxOnly = 0;
  int failed = 0;
  int otherType = 0;        // a motor of the image's type taken for another
  int refusedOther = 0;     // a motor of another type found and left unwritten
  int wrongTypeWrites = 0;  // a motor of another type written to
  int wrongData = 0;
  int unfinished = 0;
};

class SoakTest : public SimLinkTest {
 protected:
  void SetUp() override {
    sim::FaultConfig faults;
    faults.seed = 20110314;
    faults.dropBytePpm = 10000;   // 1 % of bytes, both directions
    faults.flipFramePpm = 10000;  // one bit in 1 % of frames, both directions
    faults.stallPpm = 5000;       // a frame stops part-way
    faults.stallMs = 120;
    faults.latePpm = 5000;  // a reply comes after the receiver gave up
    faults.lateMs = 700;
    faults.unplugPpm = 500;  // the port vanishes at a random request
    box->SetFaults(faults);
    State().m_jobMask = 3;
  }

  Bytes RandomBlock(std::size_t size) {
    Bytes b(size);
    for (auto& v : b) v = static_cast<std::uint8_t>(m_rng() & 0xFF);
    return b;
  }
  static Bytes Sealed(Bytes b) {
    sim::BoxSimulator::Seal(b);
    return b;
  }

  // Plugs the box back in if it vanished and finds it again.
  bool EnsureConnected() {
    if (box->Vanished() || !link->IsOpen()) {
      box->Replug();
      for (int i = 0; i < 20; ++i) {
        if (Succeeded(link->Discover())) return true;
      }
      return false;
    }
    return true;
  }

  // A fresh motor (random content; one in eight of another type than the image's) and fresh
  // box content.
  void NewScenario() {
    m_otherType = m_rng() % 8 == 0;
    for (const auto& info : kBlocks) {
      Bytes b = RandomBlock(static_cast<std::size_t>(info.size));
      if (info.command == 0x39) {
        b[0] = 0x12;
        b[1] = 0x34;
        b[2] = m_otherType ? 0x48 : 0x40;
      }
      box->SetMotorBlock(info.command, Sealed(b));
    }
    box->SetBoxBlock(0, Sealed(RandomBlock(25)));
    box->SetBoxBlock(1, Sealed(RandomBlock(11)));
    box->SetBoxBlock(2, Sealed(RandomBlock(13)));
    box->SetMotorPresent(m_rng() % 10 != 0);
  }

  std::uint32_t Outcome(std::uintptr_t* wParam) {
    for (const auto& p : sink.Posts()) {
      if (p.msg == kMsgTransferDone || p.msg == kMsgTransferFailed || p.msg == kMsgBoxOnly ||
          p.msg == kMsgNoParameters) {
        *wParam = p.wParam;
        return p.msg;
      }
    }
    return 0;
  }

  void CheckIdle() {
    EXPECT_EQ(link->Lock().Depth(), 0);
    EXPECT_FALSE(State().Has(kLinkBusy));
    EXPECT_EQ(link->RunningWorkers(), 0);
  }

  std::mt19937 m_rng{4711};
  bool m_otherType = false;
};

TEST_F(SoakTest, DownloadsAndUploadsUnderFaultsEndInRightDataOrReportedFailure) {
  constexpr int kRuns = 2000;
  Tally down;
  Tally up;
  std::int64_t longestRunMs = 0;

  for (int run = 0; run < kRuns; ++run) {
    // ---- download ----
    ASSERT_TRUE(EnsureConnected()) << "run " << run;
    NewScenario();
    for (auto& v : image.m_block) v = 0xEE;
    image.m_valid = 0;
    sink.Clear();
    State().m_mode = 1;
    auto start = clock.NowMs();
    ASSERT_TRUE(link->StartDownload());
    link->JoinWorkers();
    link->TakeReadSet(image);
    longestRunMs = std::max(longestRunMs, clock.NowMs() - start);
    std::uintptr_t w = 0;
    switch (Outcome(&w)) {
      case kMsgTransferDone: {
        bool right = image.m_valid == 1;
        for (const auto& info : kBlocks)
          right = right && ImageBlock(info.command) == box->MotorBlock(info.command);
        ++(right ? down.motor : down.wrongData);
        break;
      }
      case kMsgBoxOnly: {
        Bytes b39 = box->BoxBlock(0);
        b39.back() = 0;
        const bool right = image.m_valid == 1 && ImageBlock(0x39) == b39 &&
                           ImageBlock(0x2E) == box->BoxBlock(1) &&
                           ImageBlock(0x34) == box->BoxBlock(2);
        ++(right ? down.boxOnly : down.wrongData);
        break;
      }
      case kMsgTransferFailed:
        ++down.failed;
        // A failed download leaves the set as it was.
        EXPECT_EQ(image.m_valid, 0);
        EXPECT_EQ(std::count(image.m_block.begin(), image.m_block.end(), 0xEE),
                  kParameterBlockSize);
        break;
      default:
        ++down.unfinished;
        break;
    }
    CheckIdle();

    // ---- upload ----
    ASSERT_TRUE(EnsureConnected()) << "run " << run;
    NewScenario();
    for (const auto& info : kBlocks) {
      auto b = image.Block(info.command);
      const Bytes r = RandomBlock(b.size());
      std::copy(r.begin(), r.end(), b.begin());
    }
    image.Block(0x39)[0] = 0x12;
    image.Block(0x39)[1] = 0x34;
    image.Block(0x39)[2] = 0x40;
    const ParameterImage before = image;
    const Bytes motor39Before = box->MotorBlock(0x39);
    const Bytes motor2EBefore = box->MotorBlock(0x2E);
    std::vector<Bytes> motorBefore;
    for (const auto& info : kBlocks) motorBefore.push_back(box->MotorBlock(info.command));
    sink.Clear();
    State().m_mode = 2;
    start = clock.NowMs();
    ASSERT_TRUE(link->StartUpload());
    link->JoinWorkers();
    link->TakeReadSet(image);
    longestRunMs = std::max(longestRunMs, clock.NowMs() - start);

    // Only the bytes the upload is meant to change may differ from the set it started with,
    // and each only to the value it is meant to get.
    bool imageRight = true;
    for (int i = 0; i < kParameterBlockSize; ++i) {
      const int b39 = FindBlock(0x39)->offset;
      const int b2E = FindBlock(0x2E)->offset;
      if (i >= b39 + 11 && i <= b39 + 15) continue;  // stamp, written mark, box version
      if (i == b2E || i == b2E + 1) continue;        // box serial
      if (i == b2E + 8) {
        imageRight = imageRight && (image.m_block[i] & 0x7F) == (before.m_block[i] & 0x7F);
        continue;
      }
      imageRight = imageRight && image.m_block[i] == before.m_block[i];
    }
    const auto id = image.Block(0x2E);
    imageRight = imageRight && ((id[0] == 0x4A && id[1] == 0x11) ||
                                (id[0] == before.Block(0x2E)[0] && id[1] == before.Block(0x2E)[1]));

    const auto boxRight = [&] {
      return box->BoxBlock(0) == Sealed(ImageBlock(0x39)) &&
             box->BoxBlock(1) == Sealed(ImageBlock(0x2E)) &&
             box->BoxBlock(2) == Sealed(ImageBlock(0x34));
    };
    bool motorWritten = false;
    for (std::size_t i = 0; i < kBlocks.size(); ++i) {
      motorWritten = motorWritten || box->MotorBlock(kBlocks[i].command) != motorBefore[i];
    }
    if (m_otherType && motorWritten) ++up.wrongTypeWrites;
    switch (Outcome(&w)) {
      case kMsgTransferDone: {
        if (w == 1) {
          ++(m_otherType ? up.refusedOther : up.otherType);
          break;
        }
        if (m_otherType) {
          ++up.wrongData;
          break;
        }
        Bytes b2E = ImageBlock(0x2E);
        const bool flagFromMotor = (b2E[8] & 0x80) == (motor2EBefore[8] & 0x80);
        b2E[8] &= 0x7F;
        const Bytes image39 = ImageBlock(0x39);
        const Bytes motor39 = box->MotorBlock(0x39);
        // The stamp block write may fail without stopping the upload.
        const bool stampRight = Bytes(motor39.begin() + 6, motor39.end()) ==
                                    Bytes(image39.begin() + 6, image39.end()) ||
                                motor39 == motor39Before;
        const bool right = imageRight && flagFromMotor && stampRight &&
                           box->MotorBlock(0x34) == Sealed(ImageBlock(0x34)) &&
                           box->MotorBlock(0x2E) == Sealed(b2E) &&
                           box->MotorBlock(0x3B) == Sealed(ImageBlock(0x3B)) && boxRight();
        ++(right ? up.motor : up.wrongData);
        break;
      }
      case kMsgBoxOnly:
        ++(imageRight && boxRight() ? up.boxOnly : up.wrongData);
        break;
      case kMsgTransferFailed:
        ++up.failed;
        break;
      default:
        ++up.unfinished;
        break;
    }
    CheckIdle();
  }

  const auto faults = box->Counts();
  std::cout << "[ soak     ] downloads: " << down.motor << " from the motor, " << down.boxOnly
            << " from the box only, " << down.failed << " reported failed, " << down.wrongData
            << " wrong data, " << down.unfinished << " unfinished\n"
            << "[ soak     ] uploads: " << up.motor << " to motor and box, " << up.boxOnly
            << " to the box only, " << up.failed << " reported failed, " << up.refusedOther
            << " to a motor of another type refused, " << up.wrongTypeWrites
            << " writes to a motor of another type, " << up.otherType << " taken for another type, "
            << up.wrongData << " wrong data, " << up.unfinished << " unfinished\n"
            << "[ soak     ] faults: " << faults.droppedBytes << " bytes dropped, "
            << faults.flippedFrames << " frames with a flipped bit, " << faults.stalls
            << " stalls, " << faults.lateReplies << " late replies, " << faults.unplugs
            << " unplugs; longest run " << longestRunMs << " ms simulated\n";

  EXPECT_EQ(down.motor + down.boxOnly + down.failed + down.wrongData + down.unfinished, kRuns);
  EXPECT_EQ(down.wrongData, 0);
  EXPECT_EQ(up.wrongData, 0);
  EXPECT_EQ(up.otherType, 0);
  EXPECT_EQ(up.wrongTypeWrites, 0);
  EXPECT_GT(up.refusedOther, 0);
  EXPECT_EQ(down.unfinished, 0);
  EXPECT_EQ(up.unfinished, 0);
  // The faults really happened, and most runs still got through.
  EXPECT_GT(faults.droppedBytes, 1000);
  EXPECT_GT(faults.unplugs, 5);
  EXPECT_GT(down.failed + up.failed, 0);
  EXPECT_GT(down.motor, kRuns / 2);
  EXPECT_GT(up.motor, kRuns / 2);
  EXPECT_LT(longestRunMs, 120000);
}

}  // namespace
}  // namespace roviro::test
