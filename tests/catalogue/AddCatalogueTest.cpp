// Accepting catalogues into the list, and filling the parameter image from a motor type.

#include <gtest/gtest.h>

#include "catalogue/Catalogue.h"
#include "tests/catalogue/CatalogueDocuments.h"

namespace roviro {
namespace {

using test::GuidText;

std::unique_ptr<Catalogue> WithGuids(unsigned id) {
  auto c = std::make_unique<Catalogue>();
  for (unsigned k = 0; k < kMotorCount; ++k) {
    c->motors[k].strGuidNQB = GuidText(id, 0x100 + k);
    c->motors[k].strGuidUMode = GuidText(id, 0x200 + k);
  }
  return c;
}

std::span<const std::uint8_t> LineOne(const MotorRecord& m) {
  const BlockInfo* b = FindBlockByLine(1);
  return std::span<const std::uint8_t>(m.block).subspan(static_cast<std::size_t>(b->offset),
                                                        static_cast<std::size_t>(b->size));
}

TEST(AddCatalogue, RefusesWhenEitherKindOfGuidIsMissingEverywhere) {
  CatalogueList list;
  auto noUMode = WithGuids(1);
  for (auto& m : noUMode->motors) m.strGuidUMode.clear();
  EXPECT_FALSE(AddCatalogue(list, noUMode));
  EXPECT_NE(noUMode, nullptr);  // left to the caller

  auto noNqb = WithGuids(1);
  for (auto& m : noNqb->motors) m.strGuidNQB.clear();
  EXPECT_FALSE(AddCatalogue(list, noNqb));

  // One motor type with both GUIDs is enough.
  auto one = std::make_unique<Catalogue>();
  one->motors[2].strGuidNQB = GuidText(2, 1);
  one->motors[1].strGuidUMode = GuidText(2, 2);
  EXPECT_TRUE(AddCatalogue(list, one));
  EXPECT_EQ(one, nullptr);

  std::unique_ptr<Catalogue> none;
  EXPECT_FALSE(AddCatalogue(list, none));
  EXPECT_EQ(list.size(), 1u);
}

TEST(AddCatalogue, RefusesARepeatedGuidAtTheSameIndexOnly) {
  CatalogueList list;
  auto first = WithGuids(1);
  ASSERT_TRUE(AddCatalogue(list, first));

  auto sameNqb = WithGuids(2);
  sameNqb->motors[1].strGuidNQB = GuidText(1, 0x101);
  EXPECT_FALSE(AddCatalogue(list, sameNqb));

  auto sameUMode = WithGuids(3);
  sameUMode->motors[2].strGuidUMode = GuidText(1, 0x202);
  EXPECT_FALSE(AddCatalogue(list, sameUMode));

  // The first catalogue's motor 0 GUIDs at index 1: a different motor type, accepted.
  auto moved = WithGuids(4);
  moved->motors[1].strGuidNQB = GuidText(1, 0x100);
  moved->motors[1].strGuidUMode = GuidText(1, 0x200);
  EXPECT_TRUE(AddCatalogue(list, moved));

  // Empty GUIDs at the same index never clash.
  auto a = WithGuids(5);
  auto b = WithGuids(6);
  a->motors[2].strGuidNQB.clear();
  b->motors[2].strGuidNQB.clear();
  EXPECT_TRUE(AddCatalogue(list, a));
  EXPECT_TRUE(AddCatalogue(list, b));
  EXPECT_EQ(list.size(), 4u);
}

TEST(AddCatalogue, OverwritesTheHeadOfLineOneAndKeepsItsTail) {
  CatalogueList list;
  auto c = WithGuids(1);
  c->dVerMain = 0x1234;
  c->motors[0].dhMoNa = 0xAB123456u;
  c->motors[2].dhMoNa = 0x00000002u;
  for (auto& m : c->motors) std::fill(m.block.begin(), m.block.end(), std::uint8_t{0x77});
  ASSERT_TRUE(AddCatalogue(list, c));

  const Catalogue& added = *list[0];
  const std::vector<std::uint8_t> head0 = {0x12, 0x34, 0x56, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                           0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x01, 0xFF, 0x34};
  auto line = LineOne(added.motors[0]);
  EXPECT_EQ(std::vector<std::uint8_t>(line.begin(), line.begin() + 17), head0);
  EXPECT_EQ(std::vector<std::uint8_t>(line.begin() + 17, line.end()),
            std::vector<std::uint8_t>(8, 0x77));
  line = LineOne(added.motors[2]);
  EXPECT_EQ(line[0], 0);
  EXPECT_EQ(line[2], 2);
  EXPECT_EQ(line[16], 0x34);
  // Nothing outside the line-1 slot changes.
  const BlockInfo* b = FindBlockByLine(1);
  for (int i = 0; i < kParameterBlockSize; ++i) {
    if (i < b->offset || i >= b->offset + b->size) {
      EXPECT_EQ(added.motors[1].block[static_cast<std::size_t>(i)], 0x77) << i;
    }
  }
}

TEST(CopyMotorToParameterImage, CopiesBlockTextsAndGuidsAndLeavesMotorNameAndValid) {
  Catalogue c;
  c.text0 = "nie";
  c.strFrm = "Trevanic";
  c.text2 = "Satz";
  c.comment = "Zeile 1\nZeile 2";
  c.date = "01.02.2010";
  c.dUseKom = 1;
  c.motors[1].strGuidNQB = GuidText(1, 1);
  c.motors[1].strGuidUMode = GuidText(2, 2);
  for (int i = 0; i < kParameterBlockSize; ++i) {
    c.motors[1].block[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 3);
  }

  ParameterImage image;
  image.m_valid = 1;
  image.m_moName = "RM 10/16";
  ASSERT_EQ(CopyMotorToParameterImage(&c, &image, 1), S_OK);
  EXPECT_EQ(image.m_block, c.motors[1].block);
  EXPECT_EQ(image.m_firma, "Trevanic");
  EXPECT_EQ(image.m_name, "Satz");
  EXPECT_EQ(image.m_kommentar, "Zeile 1\nZeile 2");
  EXPECT_EQ(image.m_datum, "01.02.2010");
  EXPECT_EQ(image.m_useKom, 1);
  EXPECT_EQ(image.m_guid, GuidText(2, 2) + " " + GuidText(1, 1));
  EXPECT_EQ(image.m_moName, "RM 10/16");
  EXPECT_EQ(image.m_valid, 1);
}

TEST(CopyMotorToParameterImage, FailsForBadIndexOrMissingObjectsAndChangesNothing) {
  Catalogue c;
  c.strFrm = "X";
  ParameterImage image;
  for (int index : {-1, 3, 7}) {
    EXPECT_EQ(CopyMotorToParameterImage(&c, &image, index), E_FAIL) << index;
  }
  EXPECT_EQ(CopyMotorToParameterImage(nullptr, &image, 0), E_FAIL);
  EXPECT_EQ(CopyMotorToParameterImage(&c, nullptr, 0), E_FAIL);
  EXPECT_TRUE(image.m_firma.empty());
}

}  // namespace
}  // namespace roviro
