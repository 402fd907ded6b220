// The test screen's workers and the operating-data read.

#include <gtest/gtest.h>

#include "SimLinkFixture.h"
#include "device/OperatingData.h"

namespace roviro::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class TestWorkersTest : public SimLinkTest {
 protected:
  void SetUp() override { Connect(); }
  std::uint32_t Dialog() { return State().m_dialogFlags->load(); }
  // Runs the command worker for `mode` on this thread and waits for whatever it started.
  void Command(int mode) {
    State().m_testMode = mode;
    EXPECT_EQ(TestCommandThread(&State()), 1);
    link->JoinWorkers();
  }
  std::vector<Bytes> Without(std::uint8_t cmd) const {
    std::vector<Bytes> out;
    for (auto& r : Requests()) {
      if (r[0] != cmd) out.push_back(r);
    }
    return out;
  }
};

TEST_F(TestWorkersTest, ConnectionWorkerMarksTheBranchThatReachedTheMotor) {
  EXPECT_EQ(TestConnectionThread(&State()), 1);
  EXPECT_TRUE(State().Has(kLinkMotor));
  EXPECT_FALSE(State().Has(kLinkState4 | kLinkState6));
  EXPECT_EQ(Commands(), (Bytes{0x21, 0x39, 0x13}));

  box->SetMotorReach(sim::MotorReach::kThroughState4);
  State().m_dialogFlags->store(kDialogOutputA | kDialogOutputB);
  EXPECT_EQ(TestConnectionThread(&State()), 1);
  EXPECT_TRUE(State().Has(kLinkState4));
  EXPECT_FALSE(State().Has(kLinkState6));
  EXPECT_EQ(Dialog() & (kDialogOutputA | kDialogOutputB), 0u);  // the final 0x13 was answered

  box->SetMotorReach(sim::MotorReach::kThroughState6);
  EXPECT_EQ(TestConnectionThread(&State()), 1);
  EXPECT_TRUE(State().Has(kLinkState6));
  EXPECT_FALSE(State().Has(kLinkState4));
  EXPECT_FALSE(State().Has(kLinkTestConnection));
  EXPECT_EQ(sink.PostedNumbers(),
            (std::vector<std::uint32_t>{kMsgRefresh, kMsgRefresh, kMsgRefresh}));
}

TEST_F(TestWorkersTest, OutputCommandsSendTheStartOnlyWhenTheOutputIsOff) {
  Command(1);
  Command(1);
  EXPECT_EQ(Requests(), (std::vector<Bytes>{{0x13}, {0x12}}));
  EXPECT_EQ(Dialog(), kDialogOutputA);
  box->ClearRequests();
  Command(3);
  EXPECT_EQ(Requests(), (std::vector<Bytes>{{0x13}, {0x11}}));
  EXPECT_EQ(Dialog(), kDialogOutputB);
  box->ClearRequests();
  Command(2);
  EXPECT_EQ(Requests(), (std::vector<Bytes>{{0x13}}));
  EXPECT_EQ(Dialog(), 0u);
  EXPECT_FALSE(State().Has(kLinkAbort));  // no test request was running
  EXPECT_FALSE(State().Has(kLinkTestCommand));
  // With a test request marked running, stop asks it to abort (and then sends nothing itself,
  // since the retry helpers honour the abort).
  box->ClearRequests();
  State().Set(kLinkTestRequest);
  Command(2);
  EXPECT_TRUE(State().Has(kLinkAbort));
  EXPECT_TRUE(Requests().empty());
}

TEST_F(TestWorkersTest, BranchDrivesSwitchOutputsAndSendTheDirection) {
  State().m_dialogFlags->store(kDialogOutputB);
  Command(11);
  EXPECT_EQ(Requests(), (std::vector<Bytes>{{0x13}, {0x12}, {0x2D, 0x01}}));
  EXPECT_EQ(Dialog(), kDialogOutputA);
  box->ClearRequests();
  Command(12);
  Command(13);
  EXPECT_EQ(Requests(), (std::vector<Bytes>{{0x2D, 0x00}, {0x2D, 0x02}}));
  // A failed exchange ends the worker early.
  box->ClearRequests();
  State().m_dialogFlags->store(kDialogOutputB);
  box->SilenceCommand(0x13, 1);
  Command(11);
  EXPECT_EQ(Requests(), (std::vector<Bytes>{{0x13}}));
  EXPECT_EQ(Dialog(), kDialogOutputB);
}

TEST_F(TestWorkersTest, DrivePrograms) {
  const Bytes programs[3] = {{0x2D, 0x07, 0x03}, {0x2D, 0x07, 0x02}, {0x2D, 0x07, 0x01}};
  for (int mode = 20; mode <= 22; ++mode) {
    box->ClearRequests();
    const auto before = clock.NowMs();
    Command(mode);
    EXPECT_EQ(Requests(), (std::vector<Bytes>{{0x12}, programs[mode - 20], {0x21}, {0x13}}))
        << mode;
    EXPECT_EQ(Dialog(), 0u);
    // Waits: 200 + (100 or 200) + 200 + 200 + 500, plus per exchange the 30 ms from the write's
    // return; each reply is read at once.
    EXPECT_EQ(clock.NowMs() - before, (mode == 22 ? 1300 : 1200) + 4 * 30) << mode;
  }
}

TEST_F(TestWorkersTest, ExerciseRequestRunsTheCurrentWatchUntilSixLowReadings) {
  box->SetCurrentSequence({900, 100, 800, 200, 300, 700, 400, 450, 50}, 900);
  Command(4);
  const auto r = Requests();
  const std::vector<Bytes> head = {{0x13}, {0x12}, {0x24, 0x01}, {0x27}, {0x11}, {0x13}};
  ASSERT_GE(r.size(), head.size());
  EXPECT_EQ(std::vector<Bytes>(r.begin(), r.begin() + 6), head);
  EXPECT_EQ(CountCommand(0x0C), 9);
  EXPECT_EQ(r.back(), (Bytes{0x13}));
  EXPECT_EQ(sink.PostedNumbers(), (std::vector<std::uint32_t>{kMsgDisableTests, kMsgDisableTests,
                                                              kMsgOutputsOff, kMsgEnableTests}));
  EXPECT_EQ(sink.Posts()[0].wParam, 3u);
  EXPECT_EQ(sink.Posts()[1].wParam, 0u);
  EXPECT_FALSE(State().Has(kLinkTestRequest | kLinkCurrentWatch | kLinkTestCommand));
}

TEST_F(TestWorkersTest, TestRequestCollectsWhatTheBoxSendsByItself) {
  box->SetTestTelegramCount(3);
  State().m_dialogFlags->store(kDialogOutputA);
  const auto before = clock.NowMs();
  Command(5);
  // Collecting ends at the first receive time-out after the three telegrams (not after seven
  // idle ones), and what came waits in the queue (20029) for the test screen.
  EXPECT_LT(clock.NowMs() - before, 2000);
  Telegram t;
  for (int k = 0; k < 3; ++k) {
    ASSERT_TRUE(Succeeded(link->PopTelegram(t))) << k;
    EXPECT_EQ((Bytes{t.m_command, t.m_subCode, t.m_data[0]}),
              (Bytes{0x28, 0x00, Bytes::value_type(k)}));
  }
  EXPECT_TRUE(Posted(kMsgTelegramQueued));
  EXPECT_EQ(Dialog(), 0u);
  const auto r = Requests();
  ASSERT_GE(r.size(), 6u);
  EXPECT_EQ(r[3], (Bytes{0x28, 0x00}));
  EXPECT_EQ(r[4], (Bytes{0x11}));  // the three 0x28 telegrams did not disturb the next request
  EXPECT_EQ(sink.Posts()[0].wParam, 4u);
  EXPECT_TRUE(Posted(kMsgEnableTests));
  EXPECT_EQ(box->RejectedRequests(), 0);
}

TEST_F(TestWorkersTest, FactoryResetReadsTheSetBack) {
  auto factory = sim::BoxSimulator::StandardMotorBlocks(0);
  factory[0x34] = Bytes(13, 0x34);
  for (const auto& [cmd, b] : factory) box->SetFactoryBlock(cmd, b);
  box->SetBoxSerial(0x01, 0x02);
  // Buttons blocked in the link's state for the run; the reading is handed over, not taken.
  bool blocked = false;
  box->OnRequest([&](const Bytes&) { blocked |= State().m_testsBlocked.load(); });
  const ParameterImage before = image;
  Command(6);
  box->OnRequest(nullptr);
  EXPECT_TRUE(blocked && !State().m_testsBlocked.load());
  EXPECT_TRUE(SameSet(image, before) && Posted(kMsgResetSetRead));
  ASSERT_TRUE(link->TakeReadSet(image));
  EXPECT_EQ(sink.Posts()[0].wParam, 5u);
  EXPECT_EQ(ImageBlock(0x34), Bytes(13, 0x34));
  EXPECT_EQ(ImageBlock(0x3B), factory[0x3B]);
  Bytes b = ImageBlock(0x2E);
  EXPECT_EQ(b[0], 0x01);  // the identification writes the box serial
  EXPECT_EQ(b[1], 0x02);
  EXPECT_EQ(Bytes(b.begin() + 2, b.end()), Bytes(factory[0x2E].begin() + 2, factory[0x2E].end()));
  EXPECT_EQ(image.m_valid, 1);
  EXPECT_TRUE(sink.Boxes().empty());
  EXPECT_TRUE(Posted(kMsgEnableTests));
  // The box's word that the reset is done reaches the queue with its command and sub-code.
  Telegram t;
  bool done = false;
  while (Succeeded(link->PopTelegram(t))) done = done || (t.m_command == 0xA8 && t.m_subCode == 1);
  EXPECT_TRUE(done);
}

TEST_F(TestWorkersTest, FactoryResetErrorBoxNamesTheFailingBlockWithTheLinkLockFree) {
  for (auto& b : image.m_block) b = 0x5A;
  image.m_valid = 1;
  const ParameterImage before = image;
  // The user-interface thread may need the lock while the box waits for it.
  int depth = -1;
  sink.SetBoxHook([&] { depth = link->Lock().Depth(); });
  box->SilenceCommand(0x34, 6);
  Command(6);
  EXPECT_EQ(depth, 0);
  EXPECT_TRUE(SameSet(image, before));  // the set being worked on is kept
  const auto boxes = sink.Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text,
            "Fehler beim Zur\xFC"
            "cksetzen!\nBitte erneute ausf\xFChren.\nState: 0");
  EXPECT_EQ(boxes[0].caption, "Error...");
  EXPECT_EQ(boxes[0].style, kMbIconError | kMbTopmost);
  EXPECT_EQ(CountCommand(0x34), 6);
  EXPECT_EQ(CountCommand(0x22), 0);
  EXPECT_TRUE(Posted(kMsgEnableTests));
}

TEST_F(TestWorkersTest, StoppingTheLinkEndsACurrentWatchThatWouldRunForever) {
  box->SetCurrentSequence({}, 900);  // the motor keeps running
  State().m_testMode = 4;
  ASSERT_TRUE(link->StartTestCommand());
  ASSERT_TRUE(WaitFor([&] { return CountCommand(0x0C) > 20; }));
  link->Stop();
  EXPECT_EQ(link->RunningWorkers(), 0);
  EXPECT_FALSE(State().Has(kLinkCurrentWatch | kLinkTestRequest));
  EXPECT_TRUE(Posted(kMsgEnableTests));
}

TEST_F(TestWorkersTest, CurrentWatchEndsWhenATransferStartsOrAfterSevenFailures) {
  State().Set(kLinkDownload);
  RunCurrentWatch(&State());
  EXPECT_TRUE(Requests().empty());
  State().Clear(kLinkDownload);
  box->SilenceCommand(0x0C, 100);
  RunCurrentWatch(&State());
  EXPECT_EQ(CountCommand(0x0C), 7);
  EXPECT_FALSE(Posted(kMsgOutputsOff));
}

TEST_F(TestWorkersTest, OperatingDataReadFillsBlock30AndMarksTheData) {
  State().m_dialogFlags->store(0);
  ASSERT_TRUE(Succeeded(ReadOperatingData(*link)));
  EXPECT_EQ(ImageBlock(0x30), box->MotorBlock(0x30));
  EXPECT_EQ(ImageBlock(0x30)[0], 0xCD);
  EXPECT_EQ(Dialog() & kDialogDataLoaded, kDialogDataLoaded);
  EXPECT_EQ(Requests(),
            (std::vector<Bytes>{{0x12}, {0x24, 0x01}, {0x21}, {0x30}, {0x11}, {0x13, 0x01}}));
  EXPECT_EQ(link->Lock().Depth(), 0);
}

TEST_F(TestWorkersTest, OperatingDataReadFailsWithoutAMotor) {
  box->SetMotorPresent(false);
  State().m_dialogFlags->store(kDialogDataLoaded);
  EXPECT_TRUE(Failed(ReadOperatingData(*link)));
  EXPECT_EQ(Dialog() & kDialogDataLoaded, 0u);
  EXPECT_EQ(CountCommand(0x30), 0);
}

TEST_F(TestWorkersTest, OperatingDataReadThatFailsWithOutputAOnSwitchesItOff) {
  // Block 0x30, then the connection's end, never answers: output A is switched off last.
  for (const int silent : {0x30, 0x11}) {
    box->ClearRequests();
    box->SilenceCommand(static_cast<std::uint8_t>(silent), 6);
    EXPECT_TRUE(Failed(ReadOperatingData(*link)));
    EXPECT_EQ(Requests().back(), Bytes{0x13}) << silent;
  }
}

}  // namespace
}  // namespace roviro::test
