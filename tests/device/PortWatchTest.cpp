// The port watch on its own thread: finding the box, queueing what it sends by itself, losing
// it, starting again and stopping.

#include <gtest/gtest.h>

#include <future>

#include "SimLinkFixture.h"

namespace roviro::test {
namespace {

class PortWatchTest : public SimLinkTest {};

TEST_F(PortWatchTest, FindsTheBoxAndQueuesItsTelegramsWithCommandAndSubCode) {
  ASSERT_TRUE(link->StartPortWatch());
  ASSERT_TRUE(WaitFor([&] { return Posted(kMsgBoxFound); }));
  EXPECT_EQ(sink.PostedNumbers().front(), kMsgSearchBegins);
  EXPECT_TRUE(link->IsOpen());
  EXPECT_TRUE(State().Has(kLinkPortWatch));

  box->SendUnsolicited({0xF1, 0x08});
  box->SendUnsolicited({0xA8, 0x01, 0x00});
  ASSERT_TRUE(WaitFor([&] {
    const auto n = sink.PostedNumbers();
    return std::count(n.begin(), n.end(), kMsgTelegramQueued) == 2;
  }));
  Telegram t;
  ASSERT_TRUE(Succeeded(link->PopTelegram(t)));
  EXPECT_EQ(t.m_command, 0xF1);
  EXPECT_EQ(t.m_subCode, 0x08);
  EXPECT_EQ(t.m_length, 0);
  ASSERT_TRUE(Succeeded(link->PopTelegram(t)));
  EXPECT_EQ(t.m_command, 0xA8);
  EXPECT_EQ(t.m_subCode, 0x01);
  EXPECT_EQ(t.m_length, 1);
  EXPECT_TRUE(Failed(link->PopTelegram(t)));

  // The queue does not wait for a worker that holds the link lock for a whole run.
  std::unique_lock held(link->Lock());
  auto pop = std::async(std::launch::async, [&] {
    return Succeeded(link->PushTelegram(t)) && Succeeded(link->PopTelegram(t));
  });
  const bool prompt = pop.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
  held.unlock();
  EXPECT_TRUE(prompt && pop.get());

  link->Stop();
  EXPECT_TRUE(Posted(kMsgWatchEnded));
  EXPECT_TRUE(State().Has(kLinkWatchEnded));
  EXPECT_FALSE(State().Has(kLinkPortWatch));
  EXPECT_EQ(link->RunningWorkers(), 0);
  // A watch that ended for good does not start again.
  EXPECT_EQ(PortWatchThread(&State()), 0);
}

TEST_F(PortWatchTest, LosingTheBoxEndsTheWatchAndANewOneFindsItAgain) {
  ASSERT_TRUE(link->StartPortWatch());
  ASSERT_TRUE(WaitFor([&] { return Posted(kMsgBoxFound); }));
  EXPECT_EQ(link->PortNumber(), kSimPort);
  box->Unplug();
  ASSERT_TRUE(WaitFor([&] { return Posted(kMsgBoxLost); }));
  link->JoinWorkers();
  EXPECT_FALSE(State().Has(kLinkPortWatch | kLinkDeviceGone));
  EXPECT_EQ(link->PortNumber(), -1);
  EXPECT_FALSE(Posted(kMsgWatchEnded));

  sink.Clear();
  box->Replug();
  ASSERT_TRUE(link->StartPortWatch());
  ASSERT_TRUE(WaitFor([&] { return Posted(kMsgBoxFound); }));
  EXPECT_EQ(sink.PostedNumbers(), (std::vector<std::uint32_t>{kMsgSearchBegins, kMsgBoxFound}));
  // A second watch beside the running one returns at once.
  EXPECT_EQ(PortWatchThread(&State()), 0);
  link->Stop();
  EXPECT_EQ(sink.PostedNumbers().back(), kMsgWatchEnded);
}

TEST_F(PortWatchTest, StopWhileSearchingEndsWithoutFindingAnything) {
  box->Unplug();
  ASSERT_TRUE(link->StartPortWatch());
  ASSERT_TRUE(WaitFor([&] { return clock.NowMs() > 2000; }));  // a few discovery rounds
  link->Stop();
  EXPECT_EQ(sink.PostedNumbers(), (std::vector<std::uint32_t>{kMsgSearchBegins, kMsgWatchEnded}));
  EXPECT_EQ(link->RunningWorkers(), 0);
}

TEST_F(PortWatchTest, IdlePollsHoldNoLockWhileWaitingAndStopEndsTheWatchAtOnce) {
  ASSERT_TRUE(link->StartPortWatch());
  ASSERT_TRUE(WaitFor([&] { return Posted(kMsgBoxFound); }));
  linkClock.underLockMs = 0;
  const auto start = clock.NowMs();
  ASSERT_TRUE(WaitFor([&] { return clock.NowMs() - start > 3000; }));  // thirty idle polls
  EXPECT_EQ(linkClock.underLockMs.load(), 0);
  linkClock.longestMs = 0;
  link->Stop();
  // Nothing was running: no wait longer than the watch's own poll interval.
  EXPECT_LE(linkClock.longestMs.load(), 100);
  EXPECT_TRUE(Posted(kMsgWatchEnded));
}

TEST_F(PortWatchTest, ATransferHoldsTheLinkLockSoThePollPauses) {
  ASSERT_TRUE(link->StartPortWatch());
  ASSERT_TRUE(WaitFor([&] { return Posted(kMsgBoxFound); }));
  State().m_jobMask = 1;
  State().m_mode = 1;
  // Telegrams the box sends during the transfer are drained by its transactions, not taken
  // for replies: the download still reads exactly the motor's blocks.
  box->SendUnsolicited({0xF1, 0x08}, 40);
  ASSERT_TRUE(link->StartDownload());
  ASSERT_TRUE(WaitFor([&] { return Posted(kMsgTransferDone) || Posted(kMsgTransferFailed); }));
  EXPECT_TRUE(Posted(kMsgTransferDone));
  ASSERT_TRUE(link->TakeReadSet(image));
  EXPECT_EQ(ImageBlock(0x3B), box->MotorBlock(0x3B));
  link->Stop();
  EXPECT_EQ(link->RunningWorkers(), 0);
}

}  // namespace
}  // namespace roviro::test
