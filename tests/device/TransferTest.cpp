// Download and upload sequences against the simulated box and motor, run on the test thread.

#include <gtest/gtest.h>

#include "SimLinkFixture.h"

namespace roviro::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class TransferTest : public SimLinkTest {
 protected:
  void SetUp() override {
    Connect();
    State().m_jobMask = 3;
    State().m_mode = 1;
  }
  // The workers leave the set alone; the set they read or wrote is taken as the window does.
  int Transfer(int mode) {
    State().m_mode = mode;
    const ParameterImage before = image;
    const int r = mode == 1 ? DownloadThread(&State()) : UploadThread(&State());
    EXPECT_TRUE(SameSet(image, before));
    link->TakeReadSet(image);
    return r;
  }
  int Download() { return Transfer(1); }
  int Upload() { return Transfer(2); }
  // The image filled with a recognisable set for the standard motor type.
  void FillImage() {
    for (int i = 0; i < kParameterBlockSize; ++i) {
      image.m_block[i] = static_cast<std::uint8_t>(0x60 + 3 * i);
    }
    auto id = image.Block(0x39);
    id[0] = 0x12;
    id[1] = 0x34;
    id[2] = 0x40;
    image.Block(0x2E)[8] = 0x06;  // flag bit clear: the motor's (set) is to be taken over
  }
  static Bytes Sealed(Bytes b) {
    sim::BoxSimulator::Seal(b);
    return b;
  }
};

TEST_F(TransferTest, DownloadFromAMotorReachedDirectly) {
  box->SetMotorBlock(0x22, Bytes(13, 0x22));
  ASSERT_EQ(Download(), 1);
  for (const auto& info : kBlocks) {
    EXPECT_EQ(ImageBlock(info.command), box->MotorBlock(info.command)) << int(info.command);
  }
  EXPECT_EQ(image.m_valid, 1);
  EXPECT_EQ(Commands(), (Bytes{0x21, 0x34, 0x22, 0x2E, 0x32, 0x30, 0x39, 0x3B, 0x13}));
  EXPECT_EQ(Requests().back(), (Bytes{0x13, 0x01}));
  EXPECT_EQ(sink.PostedNumbers(), (std::vector<std::uint32_t>{kMsgRefresh, kMsgTransferDone}));
  EXPECT_EQ(State().m_progress.load(), 100);
  EXPECT_FALSE(State().Has(kLinkDownload));
  EXPECT_TRUE(State().Has(kLinkMotor));
  EXPECT_EQ(link->Lock().Depth(), 0);
}

TEST_F(TransferTest, DownloadThroughState4AndThroughState6) {
  box->SetMotorReach(sim::MotorReach::kThroughState4);
  ASSERT_EQ(Download(), 1);
  EXPECT_EQ(ImageBlock(0x3B), box->MotorBlock(0x3B));
  const Bytes start4 = {0x21, 0x13, 0x15, 0x12, 0x24, 0x21, 0x34};
  const Bytes seen = Commands();
  EXPECT_EQ(Bytes(seen.begin(), seen.begin() + 7), start4);
  EXPECT_TRUE(Posted(kMsgTransferDone));

  box->ClearRequests();
  sink.Clear();
  box->SetMotorReach(sim::MotorReach::kThroughState6);
  ASSERT_EQ(Download(), 1);
  EXPECT_EQ(ImageBlock(0x30), box->MotorBlock(0x30));
  // Four unanswered {0x24, 0x01}, then 0x14 and 0x2D 0x00, then 0x21 again.
  const Bytes start6 = {0x21, 0x13, 0x15, 0x12, 0x24, 0x24, 0x24, 0x24, 0x14, 0x2D, 0x21};
  const Bytes seen6 = Commands();
  EXPECT_EQ(Bytes(seen6.begin(), seen6.begin() + 11), start6);
  EXPECT_EQ(Requests()[9], (Bytes{0x2D, 0x00}));
  EXPECT_TRUE(Posted(kMsgTransferDone));
}

TEST_F(TransferTest, DownloadWithoutMotorReadsTheBox) {
  box->SetMotorPresent(false);
  ASSERT_EQ(Download(), 1);
  const Bytes box39 = box->BoxBlock(0);
  Bytes expected39(box39.begin(), box39.end() - 1);
  expected39.push_back(0);  // the box's check byte is not taken over
  EXPECT_EQ(ImageBlock(0x39), expected39);
  EXPECT_EQ(ImageBlock(0x2E), box->BoxBlock(1));
  EXPECT_EQ(ImageBlock(0x34), box->BoxBlock(2));
  EXPECT_EQ(ImageBlock(0x30), Bytes(22, 0));
  EXPECT_EQ(image.m_valid, 1);
  EXPECT_EQ(sink.PostedNumbers(), (std::vector<std::uint32_t>{kMsgRefresh, kMsgBoxOnly}));
  const auto r = Requests();
  // 0x21 fails, 0x13 0x15 0x12, four {0x24,0x01}, 0x14, four 0x2D, 0x13: no motor.
  ASSERT_GE(r.size(), 18u);
  EXPECT_EQ(r[13], (Bytes{0x13}));
  EXPECT_EQ(r[14], (Bytes{0x19, 0x00}));
  EXPECT_EQ(r[15], (Bytes{0x19, 0x02}));
  EXPECT_EQ(r[16], (Bytes{0x19, 0x04}));
}

TEST_F(TransferTest, DownloadFromABoxWithoutParametersKeepsTheSetBeingWorkedOn) {
  box->SetMotorPresent(false);
  box->SetBoxHasParameters(false);
  FillImage();
  image.m_valid = 1;
  const ParameterImage before = image;
  EXPECT_EQ(Download(), 0);
  EXPECT_EQ(sink.PostedNumbers(),
            (std::vector<std::uint32_t>{kMsgRefresh, kMsgNoParameters, kMsgRefresh}));
  EXPECT_TRUE(SameSet(image, before));
  EXPECT_EQ(CountCommand(0x19), 1);
  EXPECT_FALSE(State().Has(kLinkDownload));
  EXPECT_EQ(link->Lock().Depth(), 0);
}

TEST_F(TransferTest, DownloadThatFailsHalfWayKeepsTheSetBeingWorkedOn) {
  FillImage();
  image.m_valid = 1;
  const ParameterImage before = image;
  box->SilenceCommand(0x30, 6);
  EXPECT_EQ(Download(), 0);
  EXPECT_TRUE(SameSet(image, before));
  // The wire is as it always was: the blocks up to 0x30, six tries of it, no connection end.
  EXPECT_EQ(Commands(), (Bytes{0x21, 0x34, 0x22, 0x2E, 0x32, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30}));
  EXPECT_EQ(sink.PostedNumbers(),
            (std::vector<std::uint32_t>{kMsgRefresh, kMsgTransferFailed, kMsgRefresh}));
}

TEST_F(TransferTest, DownloadRefusesWrongMaskWrongModeAndAClosedPort) {
  State().m_jobMask = 2;
  EXPECT_EQ(DownloadThread(&State()), 0);
  State().m_jobMask = 1;
  State().m_mode = 2;
  EXPECT_EQ(DownloadThread(&State()), 0);
  const auto boxes = sink.Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "Fehlerhafte Maskierung");
  EXPECT_EQ(boxes[1].text, "Falscher Thread gestartet");
  EXPECT_EQ(boxes[1].caption, "Fehler...");
  EXPECT_EQ(boxes[1].style, kMbTopmost);
  EXPECT_EQ(sink.PostedNumbers(),
            (std::vector<std::uint32_t>{kMsgTransferFailed, kMsgTransferFailed}));
  link->ClosePort();
  sink.Clear();
  EXPECT_EQ(Download(), 0);
  EXPECT_EQ(sink.PostedNumbers(), (std::vector<std::uint32_t>{kMsgTransferFailed}));
  EXPECT_TRUE(Requests().empty());
}

TEST_F(TransferTest, UploadToAMotorOfTheSameType) {
  FillImage();
  const ParameterImage before = image;
  clock.SetLocal({2011, 3, 1, 14, 9, 30, 0, 0});
  ASSERT_EQ(Upload(), 1);
  const auto r = Requests();
  std::vector<Bytes> headers;
  for (const auto& q : r) {
    headers.push_back(q[0] == 0x19 || (q[0] == 0x13 && q.size() == 2) ? Bytes{q[0], q[1]}
                                                                      : Bytes{q[0]});
  }
  const std::vector<Bytes> expected = {
      {0x21}, {0x39}, {0x19, 0x08}, {0x10}, {0x35},       {0x2E},       {0x2E},       {0x2F},
      {0x3A}, {0x23}, {0x33},       {0x3C}, {0x19, 0x01}, {0x19, 0x03}, {0x19, 0x05}, {0x13, 0x01}};
  EXPECT_EQ(headers, expected);
  EXPECT_EQ(box->BadSealWrites(), 0);

  // The motor holds the set; block B keeps the motor's flag bit and the second form clears it.
  EXPECT_EQ(box->MotorBlock(0x34), Sealed(ImageBlock(0x34)));
  Bytes b = ImageBlock(0x2E);
  EXPECT_EQ(b[8] & 0x80, 0x80);  // taken over from the motor's block (0x85)
  EXPECT_EQ(b[0], 0x4A);         // box serial from the identification
  b[8] &= 0x7F;
  EXPECT_EQ(box->MotorBlock(0x2E), Sealed(b));
  EXPECT_EQ(box->MotorBlock(0x3B), Sealed(ImageBlock(0x3B)));
  // The stamp of 14 March 2011, 9 o'clock, and the written mark.
  const Bytes motor39 = box->MotorBlock(0x39);
  EXPECT_EQ(Bytes(motor39.begin() + 11, motor39.begin() + 15), (Bytes{0xB6, 0x6E, 0x48, 0x01}));
  const Bytes image39 = ImageBlock(0x39);
  EXPECT_EQ(Bytes(motor39.begin() + 6, motor39.end()), Bytes(image39.begin() + 6, image39.end()));
  // The box holds the three sealed blocks.
  EXPECT_EQ(box->BoxBlock(0), Sealed(ImageBlock(0x39)));
  EXPECT_EQ(box->BoxBlock(1), Sealed(ImageBlock(0x2E)));
  EXPECT_EQ(box->BoxBlock(2), Sealed(ImageBlock(0x34)));
  // Sealing works on the copies sent, not on the image.
  EXPECT_EQ(ImageBlock(0x34), Bytes(before.Block(0x34).begin(), before.Block(0x34).end()));
  EXPECT_EQ(sink.PostedNumbers(), (std::vector<std::uint32_t>{kMsgRefresh, kMsgTransferDone}));
  EXPECT_EQ(sink.Posts().back().wParam, 0u);
  EXPECT_EQ(State().m_progress.load(), 100);
  EXPECT_FALSE(State().Has(kLinkUpload));
}

TEST_F(TransferTest, UploadToAMotorOfAnotherTypeWritesNothing) {
  FillImage();
  auto motor39 = box->MotorBlock(0x39);
  motor39[2] = 0x48;  // other upper bits of byte 2
  box->SetMotorBlock(0x39, motor39);
  const auto motorBefore = box->MotorBlock(0x34);
  const auto boxBefore = box->BoxBlock(0);
  ASSERT_EQ(Upload(), 1);
  EXPECT_EQ(Commands(), (Bytes{0x21, 0x39, 0x13}));
  EXPECT_EQ(box->MotorBlock(0x34), motorBefore);
  EXPECT_EQ(box->BoxBlock(0), boxBefore);
  EXPECT_TRUE(Posted(kMsgTransferDone, 1));
  EXPECT_FALSE(Posted(kMsgIdentifyFailed));
  EXPECT_TRUE(State().Has(kLinkOtherMotor));
}

TEST_F(TransferTest, UploadWithoutMotorWritesTheBoxOnly) {
  FillImage();
  box->SetMotorPresent(false);
  ASSERT_EQ(Upload(), 1);
  EXPECT_EQ(CountCommand(0x35), 0);
  EXPECT_EQ(box->BoxBlock(1), Sealed(ImageBlock(0x2E)));
  EXPECT_TRUE(Posted(kMsgBoxOnly));
}

TEST_F(TransferTest, UploadGoesOnAfterAFailedStampWrite) {
  FillImage();
  box->SilenceCommand(0x3A, 1);
  ASSERT_EQ(Upload(), 1);
  EXPECT_EQ(CountCommand(0x3A), 1);
  EXPECT_EQ(box->MotorBlock(0x3B), Sealed(ImageBlock(0x3B)));
  EXPECT_TRUE(Posted(kMsgTransferDone, 0));
}

TEST_F(TransferTest, IdentificationThatUsesUpTheAttemptsFailsTheUploadBeforeItsFirstWrite) {
  FillImage();
  box->SetIdentifyError(true);
  for (const bool motor : {true, false}) {
    box->SetMotorPresent(motor);
    box->ClearRequests();
    sink.Clear();
    EXPECT_EQ(Upload(), 0) << motor;
    EXPECT_EQ(sink.PostedNumbers(), (std::vector<std::uint32_t>{kMsgRefresh, kMsgIdentifyFailed,
                                                                kMsgTransferFailed, kMsgRefresh}))
        << motor;
    // Three identification tries with the box's error answer, then nothing written.
    EXPECT_EQ(Requests().back(), (Bytes{0x19, 0x08}));
    EXPECT_EQ(CountCommand(0x19), 3);
    EXPECT_EQ(CountCommand(0x35), 0);
  }
}

TEST_F(TransferTest, UploadFailsWhenAStepKeepsFailing) {
  FillImage();
  box->SilenceCommand(0x2F, 6);
  EXPECT_EQ(Upload(), 0);
  EXPECT_EQ(sink.PostedNumbers(),
            (std::vector<std::uint32_t>{kMsgRefresh, kMsgTransferFailed, kMsgRefresh}));
  EXPECT_EQ(CountCommand(0x23), 0);
  EXPECT_EQ(CountCommand(0x19), 1);  // only the identification
}

class VariantTest : public TransferTest {
 protected:
  void SetMotorVariant(int variant) {
    auto b = box->MotorBlock(0x39);
    b[2] = static_cast<std::uint8_t>(0x40 | variant);
    box->SetMotorBlock(0x39, b);
  }
  Catalogue catalogue;
};

TEST_F(VariantTest, TakesOverTheMotorsVariantAndItsFactoryLines) {
  FillImage();
  SetMotorVariant(2);
  MotorRecord& record = catalogue.motors[2];
  record.strGuidNQB = "{NQB}";
  record.strGuidUMode = "{UMODE}";
  for (auto& b : record.block) b = 0x77;
  State().m_catalogue = &catalogue;
  ASSERT_EQ(Upload(), 1);
  EXPECT_EQ(image.Variant(), 2);
  EXPECT_EQ(ImageBlock(0x30), Bytes(22, 0x77));
  EXPECT_EQ(ImageBlock(0x3B), Bytes(18, 0x77));
  EXPECT_NE(ImageBlock(0x34), Bytes(13, 0x77));
  EXPECT_EQ(box->MotorBlock(0x3B), Sealed(Bytes(18, 0x77)));
  EXPECT_TRUE(sink.Boxes().empty());
}

TEST_F(VariantTest, VariantOutsideTheCatalogueOrWithoutIdentifiersStopsWithTheFatalBox) {
  FillImage();
  State().m_catalogue = &catalogue;
  SetMotorVariant(3);
  EXPECT_EQ(Upload(), 0);
  SetMotorVariant(1);
  catalogue.motors[1].strGuidNQB = "{NQB}";  // strGuidUMode stays empty
  EXPECT_EQ(Upload(), 0);
  const auto boxes = sink.Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text,
            "Motor konnte nicht beschrieben werden.\nKontaktieren Sie bitte den Trevanic "
            "Support.\n\nFehlercode 569320");
  EXPECT_EQ(boxes[1].text,
            "Motor konnte nicht beschrieben werden.\nKontaktieren Sie bitte den Trevanic "
            "Support.\n\nFehlercode 569340");
  EXPECT_EQ(boxes[0].caption, "Schwerer Ausnahmefehler...");
  EXPECT_EQ(boxes[0].style, kMbIconError | kMbTopmost);
  // Nothing written, and the screen is told of the failure with the box's code.
  EXPECT_EQ(sink.PostedNumbers(),
            (std::vector<std::uint32_t>{kMsgRefresh, kMsgRefresh, kMsgTransferFailed, kMsgRefresh,
                                        kMsgRefresh, kMsgTransferFailed}));
  EXPECT_EQ(sink.Posts()[2].wParam, 569320u);
  EXPECT_EQ(sink.Posts()[5].wParam, 569340u);
  EXPECT_EQ(CountCommand(0x35), 0);
  EXPECT_EQ(CountCommand(0x19), 0);
  EXPECT_EQ(image.Variant(), 0);
  EXPECT_FALSE(State().Has(kLinkUpload));
  EXPECT_EQ(link->Lock().Depth(), 0);
}

TEST(UploadStampBytes, FourteenthOfMarch2011AtNine) {
  EXPECT_EQ(EncodeUploadStamp(2011, 3, 14, 9), (std::array<std::uint8_t, 3>{0xB6, 0x6E, 0x48}));
}

}  // namespace
}  // namespace roviro::test
