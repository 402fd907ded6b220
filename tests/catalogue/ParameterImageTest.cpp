#include <gtest/gtest.h>

#include <clocale>
#include <numeric>
#include <string>

#include "catalogue/ParameterImage.h"

namespace roviro {
namespace {

TEST(ParameterImage, BlocksTileTheWholeParameterBlock) {
  int covered = 0;
  int expectedOffset = 0;
  for (const auto& b : kBlocks) {
    EXPECT_EQ(b.offset, expectedOffset) << std::hex << int(b.command);
    expectedOffset += b.size;
    covered += b.size;
    EXPECT_EQ(FindBlockByLine(b.line), &b);
  }
  EXPECT_EQ(covered, kParameterBlockSize);
  EXPECT_EQ(FindBlock(0x99), nullptr);
  EXPECT_EQ(FindBlockByLine(8), nullptr);
}

TEST(ParameterImage, ClearSetsTheDefaultsOfBlock0x39AndEmptiesTheTexts) {
  ParameterImage image;
  image.m_valid = 1;
  image.m_block.fill(0xAA);
  image.m_moName = "m";
  image.m_firma = "f";
  image.m_name = "n";
  image.m_kommentar = "k";
  image.m_datum = "d";
  image.m_useKom = 3;
  image.m_guid = "g";
  image.Clear();

  EXPECT_EQ(image.m_valid, 0);
  const std::uint8_t expected39[25] = {0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                       0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x01, 0xFF, 0xFF, 0,
                                       0,    0,    0,    0,    0,    0,    0};
  const auto b39 = image.Block(0x39);
  ASSERT_EQ(b39.size(), 25u);
  for (int i = 0; i < 25; ++i) EXPECT_EQ(b39[i], expected39[i]) << "byte " << i;
  // Every other block is zero.
  const int sum = std::accumulate(image.m_block.begin(), image.m_block.end(), 0);
  EXPECT_EQ(sum, 0xFF * 11 + 1);
  EXPECT_TRUE(image.m_moName.empty() && image.m_firma.empty() && image.m_name.empty() &&
              image.m_kommentar.empty() && image.m_datum.empty() && image.m_guid.empty());
  EXPECT_EQ(image.m_useKom, -1);
}

TEST(ParameterImage, VariantAndIdentityComeFromBlock0x39) {
  ParameterImage image;
  auto b = image.Block(0x39);
  b[0] = 0x12;
  b[1] = 0x34;
  b[2] = 0x5A;
  EXPECT_EQ(image.Variant(), 2);
  EXPECT_EQ(image.MotorIdentity(), 0x12345Au);
  // Writes through the span land in the right place of the whole block.
  EXPECT_EQ(image.m_block[70], 0x12);
  image.Block(0x34)[12] = 7;
  EXPECT_EQ(image.m_block[12], 7);
  image.Block(0x3B)[17] = 9;
  EXPECT_EQ(image.m_block[112], 9);
}

TEST(SealBlock, LastByteIsTheSumOfTheOthers) {
  std::uint8_t block[5] = {0xFF, 0x02, 0x03, 0x00, 0x77};
  SealBlock(block);
  EXPECT_EQ(block[4], 0x04);  // 0xFF + 2 + 3 = 0x104
  std::uint8_t one[1] = {0x55};
  SealBlock(one);
  EXPECT_EQ(one[0], 0);
}

}  // namespace
}  // namespace roviro

namespace roviro {
namespace {

TEST(UploadStamp, PacksDateAndHourAndReadsThemBack) {
  const auto stamp = EncodeUploadStamp(2011, 3, 14, 9);
  EXPECT_EQ(stamp[0], 0xB6);
  EXPECT_EQ(stamp[1], 0x6E);
  EXPECT_EQ(stamp[2], 0x48);
  const auto back = DecodeUploadStamp(std::span<const std::uint8_t, 3>(stamp));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->yearMod128, 2011 % 128);
  EXPECT_EQ(back->month, 3);
  EXPECT_EQ(back->day, 14);
  EXPECT_EQ(back->hour, 9);
  // December 31st, 23 o'clock uses every bit of month, day and hour.
  const auto late = EncodeUploadStamp(2026, 12, 31, 23);
  const auto lateBack = DecodeUploadStamp(std::span<const std::uint8_t, 3>(late));
  ASSERT_TRUE(lateBack.has_value());
  EXPECT_EQ(lateBack->month, 12);
  EXPECT_EQ(lateBack->day, 31);
  EXPECT_EQ(lateBack->hour, 23);
  const std::uint8_t none[3] = {0xFF, 0xFF, 0xFF};
  EXPECT_FALSE(DecodeUploadStamp(std::span<const std::uint8_t, 3>(none)).has_value());
}

TEST(MotorFirmwareText, TwoFormatsSplitAt0x47) {
  EXPECT_EQ(MotorFirmwareText(0), "");
  EXPECT_EQ(MotorFirmwareText(0x23), " - Motor Firmware V3.5");
  EXPECT_EQ(MotorFirmwareText(0x46), " - Motor Firmware V7.0");
  EXPECT_EQ(MotorFirmwareText(0x47), " - Motor Firmware V4.7");
  EXPECT_EQ(MotorFirmwareText(0x52), " - Motor Firmware V5.2");
}

TEST(MotorFirmwareText, KeepsItsDecimalPointUnderADecimalCommaLocale) {
  const std::string before = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no de_DE locale";
  const std::string low = MotorFirmwareText(0x23);
  std::setlocale(LC_NUMERIC, before.c_str());
  EXPECT_EQ(low, " - Motor Firmware V3.5");
}

}  // namespace
}  // namespace roviro
