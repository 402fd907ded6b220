// A stop request ends every worker within one telegram: the one on the wire when it came.

#include <gtest/gtest.h>

#include "SimLinkFixture.h"
#include "device/OperatingData.h"

namespace roviro::test {
namespace {

class StopTest : public SimLinkTest {
 protected:
  // Runs `work` with the stop request set while the box takes request number `at`, and returns
  // how many requests followed. A worker that would not stop is aborted 200 requests later, so
  // that it fails the test instead of hanging it.
  int RequestsAfterStopAt(int at, const std::function<void()>& work) {
    std::atomic<int> seen{0};
    box->OnRequest([&](const std::vector<std::uint8_t>&) {
      if (++seen == at) State().Set(kLinkStop);
      if (seen == at + 200) State().Set(kLinkAbort);
    });
    sink.Clear();
    work();
    box->OnRequest(nullptr);
    State().Clear(kLinkStop | kLinkAbort);
    EXPECT_FALSE(State().Has(kLinkBusy) || link->Lock().Depth() != 0);
    return seen.load() - at;
  }
};

TEST_F(StopTest, EveryWorkerEndsWithinTheTelegramOnTheWire) {
  Connect();
  State().m_jobMask = 3;
  for (auto& b : image.m_block) b = 0x5A;
  const ParameterImage before = image;
  // The download while block 0x22 is read: the set is kept.
  State().m_mode = 1;
  EXPECT_EQ(RequestsAfterStopAt(3, [&] { DownloadThread(&State()); }), 0);
  EXPECT_TRUE(SameSet(image, before));
  EXPECT_TRUE(Posted(kMsgTransferFailed));
  // The upload while the first motor block is written: nothing more reaches motor or box.
  std::copy_n(box->MotorBlock(0x39).begin(), 3, image.Block(0x39).begin());
  State().m_mode = 2;
  EXPECT_EQ(RequestsAfterStopAt(5, [&] { UploadThread(&State()); }), 0);
  EXPECT_EQ(Requests().back()[0], 0x35);
  EXPECT_TRUE(Posted(kMsgTransferFailed));
  // The test workers: the connection on the long road through state 6, the current watch of
  // a motor that keeps running, the factory reset while it reads the set back.
  box->SetMotorReach(sim::MotorReach::kThroughState6);
  EXPECT_EQ(RequestsAfterStopAt(4, [&] { TestConnectionThread(&State()); }), 0);
  box->SetMotorReach(sim::MotorReach::kDirect);
  box->SetCurrentSequence({}, 900);
  EXPECT_EQ(RequestsAfterStopAt(5, [&] { RunCurrentWatch(&State()); }), 0);
  State().m_testRequest = {2, 0x28, 0x01, 0xA8, 0x00};
  EXPECT_EQ(RequestsAfterStopAt(6, [&] { TestRequestThread(&State()); }), 0);
  // The operating-data read on the user-interface thread.
  HResult read = S_OK;
  EXPECT_EQ(RequestsAfterStopAt(2, [&] { read = ReadOperatingData(*link); }), 0);
  EXPECT_TRUE(Failed(read));
}

}  // namespace
}  // namespace roviro::test
