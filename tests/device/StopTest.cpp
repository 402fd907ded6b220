// A stop request ends every worker within one telegram: the one on the wire when it came.

#include <gtest/gtest.h>

#include "SimLinkFixture.h"
#include "device/OperatingData.h"

namespace roviro::test {
namespace {

class StopTest : public SimLinkTest {
 protected:
  void SetUp() override {
    Connect();
    State().m_jobMask = 3;
  }
  // Runs `work` with the stop request set while the box takes request number `at`, and returns
  // how many requests followed. A worker that would not stop is aborted 200 requests later, so
  // that it fails this test instead of hanging it.
  int RequestsAfterStopAt(int at, const std::function<void()>& work) {
    std::atomic<int> seen{0};
    box->OnRequest([&](const std::vector<std::uint8_t>&) {
      const int n = ++seen;
      if (n == at) State().Set(kLinkStop);
      if (n == at + 200) State().Set(kLinkAbort);
    });
    box->ClearRequests();
    sink.Clear();
    work();
    link->JoinWorkers();
    box->OnRequest(nullptr);
    State().Clear(kLinkStop | kLinkAbort);
    return seen.load() - at;
  }
};

TEST_F(StopTest, TransfersEndAtOnceAndKeepTheSet) {
  for (auto& b : image.m_block) b = 0x5A;
  image.m_valid = 1;
  const ParameterImage before = image;
  // Stopped while block 0x22 is read.
  State().m_mode = 1;
  int result = -1;
  EXPECT_EQ(RequestsAfterStopAt(3, [&] { result = DownloadThread(&State()); }), 0);
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(SameSet(image, before));
  EXPECT_TRUE(Posted(kMsgTransferFailed));
  EXPECT_FALSE(State().Has(kLinkDownload));

  // Stopped while the first motor block is written: nothing more goes to motor or box.
  for (int i = 0; i < 3; ++i) image.Block(0x39)[i] = box->MotorBlock(0x39)[i];
  const auto boxBefore = box->BoxBlock(0);
  State().m_mode = 2;
  EXPECT_EQ(RequestsAfterStopAt(5, [&] { result = UploadThread(&State()); }), 0);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(Requests().back()[0], 0x35);
  EXPECT_EQ(box->BoxBlock(0), boxBefore);
  EXPECT_TRUE(Posted(kMsgTransferFailed));
  EXPECT_FALSE(State().Has(kLinkUpload));
  EXPECT_EQ(link->Lock().Depth(), 0);
}

TEST_F(StopTest, TestWorkersAndTheOperatingDataReadEndAtOnce) {
  // The connection worker, on the long road through state 6.
  box->SetMotorReach(sim::MotorReach::kThroughState6);
  EXPECT_EQ(RequestsAfterStopAt(4, [&] { TestConnectionThread(&State()); }), 0);
  EXPECT_FALSE(State().Has(kLinkTestConnection));
  box->SetMotorReach(sim::MotorReach::kDirect);

  // The current watch of a motor that keeps running.
  box->SetCurrentSequence({}, 900);
  EXPECT_EQ(RequestsAfterStopAt(5, [&] { RunCurrentWatch(&State()); }), 0);
  EXPECT_FALSE(State().Has(kLinkCurrentWatch));

  // The factory reset, stopped while it reads the set back.
  State().m_testRequest = {2, 0x28, 0x01, 0xA8, 0x00};
  EXPECT_EQ(RequestsAfterStopAt(6, [&] { TestRequestThread(&State()); }), 0);
  EXPECT_FALSE(State().Has(kLinkTestRequest));
  EXPECT_TRUE(Posted(kMsgEnableTests));

  // The operating-data read on the user-interface thread.
  HResult read = S_OK;
  EXPECT_EQ(RequestsAfterStopAt(2, [&] { read = ReadOperatingData(*link); }), 0);
  EXPECT_TRUE(Failed(read));
  EXPECT_EQ(link->Lock().Depth(), 0);
}

}  // namespace
}  // namespace roviro::test
