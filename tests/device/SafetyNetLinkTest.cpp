// The read-back after an upload and the telegram trace, against the in-memory box.

#include <gtest/gtest.h>

#include "SimLinkFixture.h"
#include "catalogue/Archive.h"
#include "device/VerifyUpload.h"
#include "sim/TraceReplay.h"
#include "support/TempFolder.h"

namespace roviro::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class SafetyNetLinkTest : public SimLinkTest {
 protected:
  void SetUp() override {
    Connect();
    State().m_jobMask = 3;
  }
  void Upload() {
    State().m_mode = 2;
    ASSERT_EQ(UploadThread(&State()), 1);
    link->TakeReadSet(image);
    box->ClearRequests();
    sink.Clear();
  }
  VerifyReport Verify(VerifyTarget target) { return VerifyWrittenSet(*link, image, target); }
};

TEST_F(SafetyNetLinkTest, VerifyPassesAnUntouchedWriteAndCatchesABlockChangedSince) {
  // The set differs from the motor's in every written block, and the motor's flag bit in
  // block 0x2E is set, so the upload sends it one way (0x2F) and the other (0x33).
  for (std::uint8_t cmd : Bytes{0x34, 0x2E, 0x39, 0x3B}) image.Block(cmd)[7] ^= 0x11;
  Upload();
  const VerifyReport untouched = Verify(VerifyTarget::kMotor);
  EXPECT_EQ(untouched.outcome, VerifyOutcome::kMatch);
  EXPECT_TRUE(untouched.differences.empty());

  // The read-back sends exactly what a download sends, then reads the box's three blocks.
  auto verifyRequests = Requests();
  ASSERT_GE(verifyRequests.size(), 3u);
  EXPECT_EQ(std::vector<Bytes>(verifyRequests.end() - 3, verifyRequests.end()),
            (std::vector<Bytes>{{0x19, 0x00}, {0x19, 0x02}, {0x19, 0x04}}));
  verifyRequests.resize(verifyRequests.size() - 3);
  box->ClearRequests();
  State().m_mode = 1;
  ParameterImage kept = image;
  ASSERT_EQ(DownloadThread(&State()), 1);
  link->TakeReadSet(image);
  EXPECT_EQ(Requests(), verifyRequests);
  image = kept;

  Bytes changed = box->MotorBlock(0x3B);
  changed[5] ^= 0x40;
  sim::BoxSimulator::Seal(changed);
  box->SetMotorBlock(0x3B, changed);
  const VerifyReport report = Verify(VerifyTarget::kMotor);
  ASSERT_EQ(report.outcome, VerifyOutcome::kMismatch);
  ASSERT_EQ(report.differences.size(), 2u);  // the byte and the block's check byte
  EXPECT_EQ(report.differences[0].block, 0x3B);
  EXPECT_EQ(report.differences[0].byte, 5);
  EXPECT_EQ(report.differences[0].read, changed[5]);
  EXPECT_EQ(report.differences[1].byte, 17);
  EXPECT_EQ(DescribeDifference(report.differences[0]).rfind("motor block 0x3B (Zeile_3) byte  5", 0),
            0u);
  EXPECT_FALSE(State().Has(kLinkUpload));
  EXPECT_EQ(link->Lock().Depth(), 0);
}

TEST_F(SafetyNetLinkTest, VerifyChecksTheBoxTheStampAndTheCheckByteOfBlock2E) {
  Upload();
  ASSERT_EQ(Verify(VerifyTarget::kMotor).outcome, VerifyOutcome::kMatch);
  // The box kept another byte than it was sent.
  Bytes stored = box->BoxBlock(2);
  stored[4] ^= 0x08;
  box->SetBoxBlock(2, stored);
  VerifyReport report = Verify(VerifyTarget::kMotor);
  ASSERT_EQ(report.outcome, VerifyOutcome::kMismatch);
  EXPECT_EQ(DescribeDifference(report.differences.front()).rfind("box block 0x34", 0), 0u);
  stored[4] ^= 0x08;
  box->SetBoxBlock(2, stored);

  // Block 0x2E with either valid seal passes; any other check byte does not.
  for (const bool flag : {true, false}) {
    Bytes b = box->MotorBlock(0x2E);
    b[8] = static_cast<std::uint8_t>(flag ? b[8] | 0x80 : b[8] & 0x7F);
    sim::BoxSimulator::Seal(b);
    box->SetMotorBlock(0x2E, b);
    EXPECT_EQ(Verify(VerifyTarget::kMotor).outcome, VerifyOutcome::kMatch) << flag;
  }
  Bytes b = box->MotorBlock(0x2E);
  b[10] ^= 0x01;
  box->SetMotorBlock(0x2E, b);
  report = Verify(VerifyTarget::kMotor);
  ASSERT_EQ(report.outcome, VerifyOutcome::kMismatch);
  EXPECT_EQ(report.differences.front().block, 0x2E);
  EXPECT_EQ(report.differences.front().byte, 10);

  // A lost stamp write (the upload goes on without it) is a difference in the stamp.
  b[10] ^= 0x01;
  box->SetMotorBlock(0x2E, b);
  clock.SetLocal({2011, 3, 2, 1, 17, 9, 5, 0});  // the next day: another stamp
  box->SilenceCommand(0x3A, 1);
  Upload();
  report = Verify(VerifyTarget::kMotor);
  ASSERT_EQ(report.outcome, VerifyOutcome::kMismatch);
  EXPECT_EQ(report.differences.front().block, 0x39);
  EXPECT_GE(report.differences.front().byte, 11);
  EXPECT_LE(report.differences.front().byte, 14);
}

TEST_F(SafetyNetLinkTest, TheBoxWritesOfAnUploadHaveFourRepeatsAndNoMore) {
  for (const bool motor : {true, false}) {
    box->SetMotorPresent(motor);
    // The identification shares the command and is not silenced with the write.
    box->SilenceRequest(0x19, 0x05, 4);
    State().m_mode = 2;
    EXPECT_EQ(UploadThread(&State()), 1) << motor;
    box->SilenceRequest(0x19, 0x05, 5);
    EXPECT_EQ(UploadThread(&State()), 0) << motor;
    box->SilenceRequest(0x19, 0x01, 5);
    EXPECT_EQ(UploadThread(&State()), 0) << motor;
  }
}

TEST_F(SafetyNetLinkTest, VerifyOfTheBoxAndAReadBackThatCannotBeTrusted) {
  box->SetMotorPresent(false);
  Upload();
  EXPECT_EQ(Verify(VerifyTarget::kBox).outcome, VerifyOutcome::kMatch);
  Bytes stored = box->BoxBlock(1);
  stored[3] ^= 0x01;
  box->SetBoxBlock(1, stored);
  const VerifyReport report = Verify(VerifyTarget::kBox);
  ASSERT_EQ(report.outcome, VerifyOutcome::kMismatch);
  EXPECT_EQ(report.differences.front().block, 0x2E);

  // The motor was written, but the read-back only reaches the box; and a busy link is never
  // read back.
  EXPECT_EQ(Verify(VerifyTarget::kMotor).outcome, VerifyOutcome::kOtherTarget);
  box->ClearRequests();
  State().Set(kLinkDownload);
  EXPECT_EQ(Verify(VerifyTarget::kBox).outcome, VerifyOutcome::kNotRead);
  State().Clear(kLinkDownload);
  EXPECT_TRUE(Requests().empty());
}

TEST_F(SafetyNetLinkTest, ATraceHoldsEveryFrameAndItsReplayGivesTheSameDownload) {
  TempFolder tmp;
  const std::string path = tmp.File("trace.txt");
  TelegramTrace trace([this] { return clock.NowMs() * 1000; });
  ASSERT_EQ(trace.Open(path, clock.LocalNow()), S_OK);
  link->SetTrace(&trace);
  box->ClearRequests();
  ASSERT_EQ(link->Discover(), S_OK);  // the probe is in the trace as well
  box->DropNextReplies(1);            // the first 0x21 goes unanswered
  State().m_mode = 1;
  ASSERT_EQ(DownloadThread(&State()), 1);
  link->TakeReadSet(image);
  link->SetTrace(nullptr);
  trace.Close();
  const ParameterImage original = image;

  std::string text;
  ASSERT_TRUE(ReadWholeFile(path, &text));
  EXPECT_EQ(text.rfind(kTraceFirstLine, 0), 0u);
  std::vector<sim::TraceLine> lines;
  std::string error;
  ASSERT_TRUE(sim::ParseTrace(text, &lines, &error)) << error;
  // The frames to the box are the requests it received, in order and byte for byte.
  std::vector<Bytes> sent;
  for (const auto& line : lines) {
    if (line.toBox) sent.emplace_back(line.bytes.begin() + 2, line.bytes.end() - 2);
  }
  EXPECT_EQ(sent, Requests());
  // The unanswered 0x21 is followed by the next request, not by a reply.
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[2].bytes, (Bytes{0x02, 0x01, 0x21, 0x21, 0x03}));
  EXPECT_TRUE(lines[3].toBox);
  for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_GE(lines[i].timeUs, lines[i - 1].timeUs);

  // A second box that knows nothing but the trace.
  auto replayBox = std::make_shared<sim::BoxSimulator>(clock);
  replayBox->SetMotorBlock(0x34, Bytes(13, 0));
  replayBox->SetReplay(std::make_shared<sim::TraceReplay>(lines));
  SimulatedBridgeList replayBridges;
  PortResolver replayResolver;
  sim::AttachInMemory(replayBox, replayResolver, replayBridges, kSimPort);
  ParameterImage replayed;
  CDeviceLink replayLink(linkClock, &replayBridges, replayResolver, replayed);
  RecordingMessageSink replaySink;
  replayLink.Init(&replaySink, 1, 100);
  ASSERT_EQ(replayLink.Discover(), S_OK);
  replayLink.State().m_jobMask = 1;
  replayLink.State().m_mode = 1;
  ASSERT_EQ(DownloadThread(&replayLink.State()), 1);
  replayLink.TakeReadSet(replayed);
  EXPECT_EQ(replayed.m_block, original.m_block);
  EXPECT_EQ(replayBox->Requests(), Requests());
  replayLink.Stop();
}

TEST(TraceReplayTest, RequestsThatDifferInTheirDataStillFindTheirAnswer) {
  // An upload recorded at another hour: the stamp block carries other bytes.
  const std::string text =
      "# trace\n"
      "0 > 02 01 21 21 03\n"
      "40000 < 02 01 A1 A1 03\n"
      "50000 > 02 03 3A 01 02 3D 03\n"
      "90000 < 02 01 BA BA 03\n"
      "100000 > 02 01 13 13 03\n";
  std::vector<sim::TraceLine> lines;
  std::string error;
  ASSERT_TRUE(sim::ParseTrace(text, &lines, &error));
  sim::TraceReplay replay(lines);
  ASSERT_EQ(replay.Exchanges(), 3);
  const auto first = replay.Answer(std::vector<std::uint8_t>{0x21});
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].delayUs, 40000);
  const auto stamp = replay.Answer(std::vector<std::uint8_t>{0x3A, 0x07, 0x09});
  ASSERT_EQ(stamp.size(), 1u);
  EXPECT_EQ(stamp[0].bytes, (Bytes{0x02, 0x01, 0xBA, 0xBA, 0x03}));
  EXPECT_TRUE(replay.Answer(std::vector<std::uint8_t>{0x13}).empty());  // recorded unanswered
  EXPECT_TRUE(replay.Answer(std::vector<std::uint8_t>{0x55}).empty());
  EXPECT_EQ(replay.Unmatched(), 1);
  // A second run starts again from the beginning.
  EXPECT_EQ(replay.Answer(std::vector<std::uint8_t>{0x21}).size(), 1u);

  EXPECT_FALSE(sim::ParseTrace("12 > 02 0\n", &lines, &error));
  EXPECT_EQ(error, "line 1: the bytes are not pairs of hex digits");
  EXPECT_FALSE(sim::ParseTrace("# x\n\n> 02\n", &lines, &error));
  EXPECT_EQ(error, "line 3: no time in microseconds");

  // A crash cut the last line short: it is left out with a note. A reply recorded long after
  // its request (a drain) comes inside the program's window.
  std::string note;
  ASSERT_TRUE(sim::ParseTrace("0 > 02 01 21 21 03\n3000000 < 02 01 A1 A1 03\n40 > 02 0",
                              &lines, &error, &note));
  EXPECT_EQ(lines.size(), 2u);
  EXPECT_NE(note.find("line 3 is incomplete"), std::string::npos) << note;
  const auto late = sim::TraceReplay(lines).Answer(std::vector<std::uint8_t>{0x21});
  ASSERT_EQ(late.size(), 1u);
  EXPECT_LT(late[0].delayUs, kReplyBeginMs * 1000);
  EXPECT_FALSE(sim::ParseTrace("0 > " + std::string(5000, '0') + "\n", &lines, &error));
}

}  // namespace
}  // namespace roviro::test
