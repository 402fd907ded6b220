// Waiting for a motor and for it to go, against the simulated line of motors on the manual
// clock: the polls' spacing, the motor kept through a read-back, the line's order and its end.

#include <gtest/gtest.h>

#include "SimLinkFixture.h"
#include "device/MotorPresence.h"
#include "device/VerifyUpload.h"

namespace roviro::test {
namespace {

class MotorPresenceTest : public SimLinkTest {
 protected:
  void SetUp() override {
    Connect();
    box->OnRequest([this](const std::vector<std::uint8_t>& r) {
      if (r[0] == 0x21) pollTimes.push_back(clock.NowMs());
    });
  }
  int Upload() {
    State().m_jobMask = 2;
    State().m_mode = 2;
    const int r = UploadThread(&State());
    link->TakeReadSet(image);
    return r;
  }
  std::vector<std::int64_t> pollTimes;
};

TEST_F(MotorPresenceTest, ALineOfMotorsComesAndGoesWithPollsAtLeastAPauseApart) {
  const std::array<std::uint8_t, 3> same{0x12, 0x34, 0x40};
  const std::array<std::uint8_t, 3> other{0x12, 0x35, 0x40};
  box->SetLine({same, other}, 150'000, 1'000'000);
  const auto never = [] { return false; };

  PresenceWait first = WaitForPresence(*link, true, 0, never);
  EXPECT_EQ(first.reached, Presence::kMotor);
  EXPECT_EQ(first.polls, 1);
  ASSERT_EQ(Upload(), 1);
  // The read-back's connection start keeps the motor past its first connection end.
  const std::int64_t writtenAt = clock.NowMs();
  clock.Advance(100);
  EXPECT_EQ(VerifyWrittenSet(*link, image, VerifyTarget::kMotor).outcome, VerifyOutcome::kMatch);
  EXPECT_GE(clock.NowMs() - writtenAt, 150);
  EXPECT_EQ(box->LineArrivals(), 1);

  pollTimes.clear();
  const std::int64_t doneAt = clock.NowMs();
  PresenceWait gone = WaitForPresence(*link, false, kPresencePollMs, never);
  EXPECT_EQ(gone.reached, Presence::kNoMotor);
  EXPECT_EQ(gone.polls, 1);
  ASSERT_EQ(pollTimes.size(), 1u);
  EXPECT_GE(pollTimes[0] - doneAt, kPresencePollMs);

  PresenceWait next = WaitForPresence(*link, true, 0, never);
  EXPECT_EQ(next.reached, Presence::kMotor);
  ASSERT_EQ(box->LineArrivals(), 2);
  for (std::size_t k = 1; k < pollTimes.size(); ++k) {
    EXPECT_GE(pollTimes[k] - pollTimes[k - 1], kPresencePollMs) << "poll " << k;
  }
  // Found by the poll after the one under way when it arrived: unanswered polls follow each
  // other without a further pause.
  const std::int64_t arrivedMs = box->LineArrivalTimesUs()[1] / 1000;
  EXPECT_LE(clock.NowMs() - arrivedMs, kRequestSettleMs + kReplyBeginMs + 60);
  // The second motor is of another type: the upload refuses it, and it leaves all the same.
  ASSERT_EQ(Upload(), 1);
  EXPECT_TRUE(Posted(kMsgTransferDone, 1));
  EXPECT_EQ(WaitForPresence(*link, false, kPresencePollMs, never).reached, Presence::kNoMotor);

  // The line has ended: nobody comes; the wait ends when told, between polls.
  int asked = 0;
  PresenceWait none = WaitForPresence(*link, true, 0, [&] { return ++asked > 40; });
  EXPECT_TRUE(none.stopped);
  EXPECT_GE(none.polls, 2);
  EXPECT_EQ(box->LineArrivals(), 2);
}

TEST_F(MotorPresenceTest, AStopBeforeThePollAndAVanishedBox) {
  const std::size_t before = box->Requests().size();
  PresenceWait stopped = WaitForPresence(*link, true, kPresencePollMs, [] { return true; });
  EXPECT_TRUE(stopped.stopped);
  EXPECT_EQ(stopped.polls, 0);
  EXPECT_EQ(box->Requests().size(), before);

  box->Unplug();
  PresenceWait lost = WaitForPresence(*link, true, 0, [] { return false; });
  EXPECT_EQ(lost.reached, Presence::kNoBox);
  EXPECT_FALSE(lost.stopped);
}

}  // namespace
}  // namespace roviro::test
