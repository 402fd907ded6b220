// Telegram framing, single transactions and the retry helpers, against the simulated box.

#include <gtest/gtest.h>

#include "SimLinkFixture.h"
#include "device/Telegram.h"

namespace roviro::test {
namespace {

std::vector<std::uint8_t> Frame(const Telegram& t) {
  std::uint8_t out[kMaxFrameBytes];
  const int n = BuildFrame(t, out);
  return {out, out + n};
}

TEST(TelegramFrame, GoldenBytesOfBareCommandAndTwoByteHeader) {
  Telegram t;
  t.SetCommand(0x21);
  EXPECT_EQ(Frame(t), (std::vector<std::uint8_t>{0x02, 0x01, 0x21, 0x21, 0x03}));
  t.SetHeader(0x19, 0x08);
  EXPECT_EQ(Frame(t), (std::vector<std::uint8_t>{0x02, 0x02, 0x19, 0x08, 0x21, 0x03}));
  // Data follow the header; the checksum covers header and data only.
  t.SetCommand(0x2D);
  const std::uint8_t zero = 0x07;
  ASSERT_TRUE(t.AppendData(&zero, 1));
  EXPECT_EQ(Frame(t), (std::vector<std::uint8_t>{0x02, 0x02, 0x2D, 0x07, 0x34, 0x03}));
}

TEST(TelegramFrame, RefusesHeaderLengthsAndSizesTheWireCannotCarry) {
  Telegram t;
  std::uint8_t out[kMaxFrameBytes];
  t.m_headerLength = 0;
  EXPECT_EQ(BuildFrame(t, out), 0);
  t.SetHeader(0x19, 0x01);
  std::vector<std::uint8_t> big(249, 1);
  EXPECT_TRUE(t.AppendData(big.data(), 249));  // LEN = 251
  EXPECT_EQ(BuildFrame(t, out), 255);
  EXPECT_FALSE(t.AppendData(big.data(), 1));  // would make LEN 252
  t.m_length = 250;                           // forced past the limit
  EXPECT_EQ(BuildFrame(t, out), 0);
}

TEST(TelegramFrame, ParseChecksLengthAndChecksumButNotStartAndEnd) {
  Telegram t;
  t.m_headerLength = 1;
  const std::uint8_t good[] = {0x7F, 0x03, 0xB4, 0x01, 0x02, 0xB7, 0x55};
  ASSERT_TRUE(ParseFrame(good, sizeof(good), t));
  EXPECT_EQ(t.m_command, 0xB4);
  EXPECT_EQ(t.m_length, 2);
  EXPECT_EQ(t.m_data[1], 0x02);

  Telegram u;
  u.m_headerLength = 1;
  const std::uint8_t badSum[] = {0x02, 0x03, 0xB4, 0x01, 0x02, 0xB8, 0x03};
  EXPECT_FALSE(ParseFrame(badSum, sizeof(badSum), u));
  EXPECT_EQ(u.m_command, 0);  // untouched on failure

  u.m_headerLength = 2;
  const std::uint8_t shortLen[] = {0x02, 0x01, 0x93, 0x93, 0x03};
  EXPECT_FALSE(ParseFrame(shortLen, sizeof(shortLen), u));
  std::vector<std::uint8_t> huge(256, 0);
  huge[1] = 252;
  u.m_headerLength = 1;
  EXPECT_FALSE(ParseFrame(huge.data(), static_cast<int>(huge.size()), u));
}

TEST(TelegramFrame, SealBlockSumsAllButTheLastDataByte) {
  Telegram t;
  t.SetCommand(0x35);
  const std::uint8_t block[4] = {0x80, 0x90, 0x01, 0xEE};
  t.AppendData(block, 4);
  SealBlock(t);
  EXPECT_EQ(t.m_data[3], 0x11);
  EXPECT_EQ(t.m_length, 4);
}

class TransactTest : public SimLinkTest {};

TEST_F(TransactTest, SendsTheGoldenFramesAndReadsTheReply) {
  Connect();
  Telegram t;
  t.SetCommand(0x21);
  ASSERT_TRUE(Succeeded(link->Transact(t)));
  EXPECT_EQ(t.m_command, 0xA1);
  t.SetHeader(0x19, 0x08);
  ASSERT_TRUE(Succeeded(link->Transact(t)));
  EXPECT_EQ(t.m_command, 0x99);
  EXPECT_EQ(t.m_length, 2);
  EXPECT_EQ(t.m_data[0], 0x4A);
  EXPECT_EQ(Requests(), (std::vector<std::vector<std::uint8_t>>{{0x21}, {0x19, 0x08}}));
  EXPECT_EQ(box->RejectedRequests(), 0);
}

TEST_F(TransactTest, WrongChecksumFailsAndTheNextTransactionIsClean) {
  Connect();
  box->CorruptNextReplyChecksum();
  Telegram t;
  t.SetCommand(0x21);
  EXPECT_TRUE(Failed(link->Transact(t)));
  t.SetCommand(0x21);
  EXPECT_TRUE(Succeeded(link->Transact(t)));
}

TEST_F(TransactTest, TheBoxGetsThirtyMsFromTheWriteAndALongerReplyIsTakenOnceComplete) {
  box->SetPacing(true);
  Connect();
  const auto took = [&](std::uint8_t command) {
    Telegram t;
    t.SetCommand(command);
    const auto before = clock.NowMs();
    EXPECT_TRUE(Succeeded(link->Transact(t)));
    EXPECT_EQ(t.m_command, command | 0x80);
    return clock.NowMs() - before;
  };
  // 5 + 5 bytes at 9600 baud (10.4 ms) fit into the 30 ms; 5 + 30 bytes (36.5 ms) do not.
  EXPECT_EQ(took(0x21), 30);
  EXPECT_EQ(took(0x39), 37);
  // A box that takes 5 ms a command: the long exchange grows by them, the short one still fits.
  box->SetProcessingDelayUs(5000);
  EXPECT_EQ(took(0x21), 30);
  EXPECT_EQ(took(0x39), 42);
}

TEST_F(TransactTest, ReplyNotBegunIsAwaitedHalfASecondButOneThatStallsFor40MsFails) {
  Connect();
  Telegram t;
  // The 30 ms from the write's return, then 430 ms more: inside the 500 ms allowed.
  box->DelayNextReply(460);
  t.SetCommand(0x21);
  EXPECT_TRUE(Succeeded(link->Transact(t)));
  // A reply that begins at the last moment is read to its end rather than cut in two.
  box->DelayNextReply(530);
  t.SetCommand(0x21);
  EXPECT_TRUE(Succeeded(link->Transact(t)));
  // Past the half second the transaction gives up ...
  box->DelayNextReply(560);
  t.SetCommand(0x21);
  const auto before = clock.NowMs();
  EXPECT_TRUE(Failed(link->Transact(t)));
  EXPECT_EQ(clock.NowMs() - before, 30 + 500);
  // ... and its late reply is drained, not taken for the next request's.
  clock.Advance(100);
  t.SetCommand(0x34);
  ASSERT_TRUE(Succeeded(link->Transact(t)));
  EXPECT_EQ(t.m_command, 0xB4);

  // A reply that begins and then pauses for 40 ms is abandoned; a shorter pause is waited out.
  box->StallNextReply(100, 3);
  t.SetCommand(0x21);
  EXPECT_TRUE(Failed(link->Transact(t)));
  clock.Advance(100);  // the stalled tail arrives and is drained by the next transaction
  box->StallNextReply(60, 3);
  t.SetCommand(0x21);
  EXPECT_TRUE(Succeeded(link->Transact(t)));
}

TEST_F(TransactTest, LengthOutsideTheHeaderOrTheFrameLimitFailsWithoutOverrun) {
  Connect();
  Telegram t;
  // A one-byte reply read with a two-byte header fails alone: the telegram behind it is kept.
  t.SetHeader(0x13, 0x01);
  box->SendUnsolicited({0x93});
  box->SendUnsolicited({0xF1, 0x08});
  EXPECT_TRUE(Failed(link->Receive(t)));
  ASSERT_TRUE(Succeeded(link->Receive(t)));
  EXPECT_EQ(t.m_command, 0xF1);
  EXPECT_EQ(t.m_subCode, 0x08);
  // A LEN byte of 0xFC announces more than a frame may hold: refused, the rest discarded.
  std::vector<std::uint8_t> raw = {0x02, 0xFC};
  raw.resize(300, 0x41);
  box->SendRawBytes(raw);
  t.Reset();
  t.m_headerLength = 1;
  EXPECT_TRUE(Failed(link->Receive(t)));
  // The largest frame there is still fits.
  box->SendUnsolicited(std::vector<std::uint8_t>(251, 0x41));
  EXPECT_TRUE(Succeeded(link->Receive(t)));
  EXPECT_EQ(t.m_length, 250);
  EXPECT_EQ(t.m_data[249], 0x41);
}

TEST_F(TransactTest, FailsWithoutAPortAndMarksAFailedReadAsDeviceGone) {
  Telegram t;
  t.SetCommand(0x21);
  EXPECT_TRUE(Failed(link->Transact(t)));
  EXPECT_TRUE(Failed(link->Receive(t)));
  Connect();
  box->Unplug();
  // The drain before the request is the first read to fail.
  t.SetCommand(0x21);
  EXPECT_TRUE(Failed(link->Transact(t)));
  EXPECT_TRUE(State().Has(kLinkDeviceGone));
  EXPECT_EQ(link->PortNumber(), -1);
  State().Clear(kLinkDeviceGone);
  t.m_headerLength = 2;
  EXPECT_TRUE(Failed(link->Receive(t)));
  EXPECT_TRUE(State().Has(kLinkDeviceGone));
}

TEST_F(TransactTest, SendCommandRetriesFiveTimesAndHonoursTheAbortBit) {
  Connect();
  box->SilenceCommand(0x12, 4);
  EXPECT_EQ(link->SendCommand(0x12, 0x92), 1);
  EXPECT_EQ(CountCommand(0x12), 5);
  box->ClearRequests();
  box->SilenceCommand(0x12, 5);
  EXPECT_EQ(link->SendCommand(0x12, 0x92), 0);
  EXPECT_EQ(CountCommand(0x12), 5);
  // A reply with another command counts as a failed attempt.
  box->ClearRequests();
  EXPECT_EQ(link->SendCommand(0x12, 0x93), 0);

  box->ClearRequests();
  State().Set(kLinkAbort);
  EXPECT_EQ(link->SendCommand(0x12, 0x92), 1);
  const std::uint8_t h[2] = {0x24, 0x01};
  EXPECT_EQ(link->SendHeader(h, h, 2), 1);
  EXPECT_TRUE(Requests().empty());
}

TEST_F(TransactTest, SendHeaderAcceptsAnyCompletedReply) {
  Connect();
  const std::uint8_t header[2] = {0x24, 0x01};
  const std::uint8_t expected[2] = {0x55, 0x55};
  EXPECT_EQ(link->SendHeader(header, expected, 2), 1);
  box->SetMotorReach(sim::MotorReach::kThroughState6);  // {0x24, 0x01} goes unanswered
  EXPECT_EQ(link->SendHeader(header, expected, 2), 0);
}

TEST_F(TransactTest, QueueHoldsOneHundredTelegramsAndDropsTheNext) {
  Telegram t;
  for (int i = 0; i < kQueueSize; ++i) {
    t.m_command = static_cast<std::uint8_t>(i);
    ASSERT_TRUE(Succeeded(link->PushTelegram(t))) << i;
  }
  t.m_command = 0xEE;
  EXPECT_TRUE(Failed(link->PushTelegram(t)));
  Telegram out;
  ASSERT_TRUE(Succeeded(link->PopTelegram(out)));
  EXPECT_EQ(out.m_command, 0);
  EXPECT_TRUE(Succeeded(link->PushTelegram(t)));
  for (int i = 1; i < kQueueSize; ++i) {
    ASSERT_TRUE(Succeeded(link->PopTelegram(out)));
    EXPECT_EQ(out.m_command, i);
  }
  ASSERT_TRUE(Succeeded(link->PopTelegram(out)));
  EXPECT_EQ(out.m_command, 0xEE);
  EXPECT_TRUE(Failed(link->PopTelegram(out)));
}

TEST_F(TransactTest, IdentifyBoxStoresSerialAndVersion) {
  Connect();
  box->SetBoxSerial(0xAB, 0xCD);
  box->SetBoxVersion(0x31);
  EXPECT_EQ(link->IdentifyBox(), 1);
  EXPECT_EQ(image.Block(0x2E)[0], 0xAB);
  EXPECT_EQ(image.Block(0x2E)[1], 0xCD);
  EXPECT_EQ(image.Block(0x39)[15], 0x31);
  EXPECT_EQ(State().m_attempts.load(), 0u);

  box->SetIdentifyError(true);
  EXPECT_EQ(link->IdentifyBox(), 0);
  EXPECT_EQ(State().m_attempts.load(), 6u);

  // The version accepted only at the sixth attempt is stored, but the result stays 0.
  box->SetIdentifyError(false);
  box->SetBoxVersion(0x44);
  box->SilenceCommand(0x10, 5);
  EXPECT_EQ(link->IdentifyBox(), 0);
  EXPECT_EQ(image.Block(0x39)[15], 0x44);
  EXPECT_EQ(State().m_attempts.load(), 5u);
}

}  // namespace
}  // namespace roviro::test
