#include <gtest/gtest.h>

#include <numeric>

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
