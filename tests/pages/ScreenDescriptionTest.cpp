#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "pages/ScreenDescription.h"
#include "platform/Paths.h"
#include "support/TempFolder.h"

namespace roviro {
namespace {

// Writes page `number` into `folder` byte for byte (no line-end translation).
void WritePage(const std::string& folder, int number, const std::string& content) {
  std::FILE* f = std::fopen(ScreenDescription::PagePath(folder, number).c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(content.data(), 1, content.size(), f);
  std::fclose(f);
}

// Loads `content` both from a real file and from memory; the two must agree.
HResult LoadBoth(ScreenDescription& d, const std::string& content, int capacity = 20) {
  test::TempFolder folder;
  WritePage(folder.Path(), 4, content);
  ScreenDescription fromText;
  const HResult textResult = fromText.LoadFromText(content, 4, capacity);
  const HResult fileResult = d.Load(folder.Path(), 4, capacity);
  EXPECT_EQ(fileResult, textResult);
  EXPECT_EQ(d.Heading(), fromText.Heading());
  EXPECT_EQ(d.ScreenFlag(), fromText.ScreenFlag());
  for (int k = 0; k < capacity; ++k) {
    for (int n = 0; n < 4; ++n) EXPECT_EQ(d.Text(k, n), fromText.Text(k, n)) << k << "/" << n;
  }
  return fileResult;
}

TEST(ScreenDescriptionLines, LongLinesAreCutAt489AndTheRestIsTheNextLine) {
  ScreenDescription d;
  const std::string longText(489, 'a');
  ASSERT_EQ(LoadBoth(d, "[OBJEKT_NR]\n0\n[TEXT]\n" + longText + std::string(111, 'b') + "\n" +
                            longText + "\nlast\n"),
            S_OK);
  EXPECT_EQ(d.Text(0, 0), longText);
  EXPECT_EQ(d.Text(0, 1), std::string(111, 'b'));
  // Exactly 489 characters: the line feed comes alone as an empty line and is skipped.
  EXPECT_EQ(d.Text(0, 2), longText);
  EXPECT_EQ(d.Text(0, 3), "last");
}

TEST(ScreenDescriptionLines, CommentsBlanksAndWindowsLineEnds) {
  ScreenDescription d;
  ASSERT_EQ(LoadBoth(d,
                     "Kopf\r\n\r\n// nur Kommentar\r\n[OBJEKT_NR]\r\n1\r\n[TEXT]\r\n"
                     "Datei // Kommentar\r\n   \r\n" +
                         std::string(488, 'c') + "\r\nEnde"),
            S_OK);
  EXPECT_EQ(d.Heading(), "Kopf");
  EXPECT_EQ(d.Text(1, 0), "Datei ");
  EXPECT_EQ(d.Text(1, 1), "   ");  // blanks are kept: such a line is not empty
  // 488 characters and "\r" fill one read; the "\r" goes, the lone line feed is skipped.
  EXPECT_EQ(d.Text(1, 2), std::string(488, 'c'));
  EXPECT_EQ(d.Text(1, 3), "Ende");  // a last line without line feed counts
}

TEST(ScreenDescriptionSections, HeadersIgnoreCaseAndUnknownOnesSilence) {
  ScreenDescription d;
  ASSERT_EQ(LoadBoth(d,
                     "erste\nzweite\n[objekt_nr]\n2\n[text]\neins\n[TEXT] \nstumm\n"
                     "[Text]\nzwei\nWert [mm]\nweg\n[BITMAP]\nBild\\n1\n[TEXT]\ndrei\n"),
            S_OK);
  EXPECT_EQ(d.Heading(), "zweite");  // before any header the lines are headings, last wins
  EXPECT_EQ(d.Text(2, 0), "eins");
  EXPECT_EQ(d.Text(2, 1), "zwei");
  EXPECT_EQ(d.Text(2, 2), "drei");  // a second [TEXT] section appends
  EXPECT_EQ(d.Text(2, 3), "");
  EXPECT_EQ(d.Bitmap(2, 0), "Bild\\n1");  // bitmap names are handed out unchanged
}

TEST(ScreenDescriptionSections, LastValueWinsForSingleFields) {
  ScreenDescription d;
  ASSERT_EQ(LoadBoth(d,
                     "[OBJEKT_NR]\n3\n[FONT]\nArial\nCourier\n[TOOLTIP]\nalt\nHilfe\\nneu\n"
                     "[FLAG]\n1\nc408 2022\n[POSITION]\n1 2 3 4\n-5 6 70 80 rest\n"),
            S_OK);
  EXPECT_EQ(d.ObjectFont(3), "Courier");
  EXPECT_EQ(d.Tooltip(3), "Hilfe\nneu");
  EXPECT_EQ(d.ObjectFlag(3), 0xC4082022u);
  EXPECT_EQ(d.ObjectPosition(3), (ScreenRect{-5, 6, 70, 80}));
}

TEST(ScreenDescriptionObjects, NumbersOutsideTheCapacityAddressNothing) {
  ScreenDescription d;
  ASSERT_EQ(LoadBoth(d,
                     "[OBJEKT_NR]\n25\n[TEXT]\nverloren\n[POSITION]\n1 2\n[OBJEKT_NR]\n"
                     "-1\n[TEXT]\nauch weg\n[OBJEKT_NR]\n7x\n[TEXT]\nsieben\n[OBJEKT_NR]\n"
                     "kein\n[TEXT]\nnull\n[OBJEKT_NR]\n19\n20\n[TEXT]\nzu gross\n"),
            S_OK);  // the short [POSITION] line had no object, so it could not fail the load
  EXPECT_EQ(d.Text(7, 0), "sieben");  // leading digits count
  EXPECT_EQ(d.Text(0, 0), "null");    // no digits read as 0
  EXPECT_EQ(d.Text(19, 0), "");       // the last number (20) was out of range
  EXPECT_EQ(d.Text(20, 0), "Error");
  for (int k = 1; k < 20; ++k) {
    if (k != 7) {
      EXPECT_EQ(d.Text(k, 0), "") << k;
    }
  }
}

TEST(ScreenDescriptionObjects, CapacityLimits) {
  ScreenDescription d;
  EXPECT_EQ(d.LoadFromText("[OBJEKT_NR]\n0\n[TEXT]\nx\n", 1, -1), E_FAIL);
  EXPECT_EQ(d.Text(0, 0), "Error");
  EXPECT_EQ(d.LoadFromText("[OBJEKT_NR]\n0\n[TEXT]\nx\n", 1, ScreenDescription::kMaxCapacity + 1),
            E_FAIL);
  EXPECT_EQ(d.Text(0, 0), "Error");
  EXPECT_EQ(d.LoadFromText("[OBJEKT_NR]\n0\n[TEXT]\nx\n", 1, 0), S_OK);
  EXPECT_EQ(d.Text(0, 0), "Error");
  EXPECT_EQ(d.LoadFromText("[OBJEKT_NR]\n0\n[TEXT]\nx\n", 1, 1), S_OK);
  EXPECT_EQ(d.Text(0, 0), "x");
}

TEST(ScreenDescriptionHex, FlagWordsArePaddedOrCut) {
  ScreenDescription d;
  ASSERT_EQ(d.LoadFromText("[SCREEN_FLAG]\n123456789\n", 0, 1), S_OK);
  EXPECT_EQ(d.ScreenFlag(), 0x12345678u);
  ASSERT_EQ(d.LoadFromText("[SCREEN_FLAG]\n1\n", 0, 1), S_OK);
  EXPECT_EQ(d.ScreenFlag(), 0x00000001u);
  ASSERT_EQ(d.LoadFromText("[SCREEN_FLAG]\n00000200\n[OBJEKT_NR]\n0\n[FLAG]\n  2 2 \n", 0, 1),
            S_OK);
  EXPECT_EQ(d.ScreenFlag(), 0x200u);
  EXPECT_EQ(d.ObjectFlag(0), 0x22u);
}

TEST(ScreenDescriptionGetters, OutOfRangeAnswers) {
  ScreenDescription d;
  EXPECT_EQ(d.Heading(), "Error");
  EXPECT_EQ(d.Text(0, 0), "Error");  // nothing loaded
  EXPECT_EQ(d.Bitmap(0, 0), "");
  EXPECT_EQ(d.Tooltip(0), "");

  ASSERT_EQ(d.LoadFromText("[OBJEKT_NR]\n1\n[TEXT]\na\\nb\nzwei\n[BITMAP]\nB0\n", 3, 5), S_OK);
  EXPECT_EQ(d.ScreenNumber(), 3);
  EXPECT_EQ(d.Capacity(), 5);
  EXPECT_EQ(d.Text(1, 0), "a\nb");
  EXPECT_EQ(d.Text(1, 2), "");
  EXPECT_EQ(d.Text(1, -1), "");
  EXPECT_EQ(d.Text(-1, 0), "Error");
  EXPECT_EQ(d.Text(5, 0), "Error");
  EXPECT_EQ(d.Bitmap(1, 1), "");
  EXPECT_EQ(d.Bitmap(5, 0), "");
  EXPECT_EQ(d.Tooltip(-1), "");
  EXPECT_EQ(d.ObjectFlag(9), 0u);
  EXPECT_EQ(d.ObjectPosition(-3), ScreenRect{});
  EXPECT_EQ(d.ObjectFont(7), "");
}

TEST(ScreenDescriptionFailures, ShortPositionFailsButKeepsWhatWasRead) {
  ScreenDescription d;
  ASSERT_EQ(LoadBoth(d,
                     "Kopf\n[OBJEKT_NR]\n1\n[TEXT]\nvorher\n[POSITION]\n5 6 7 8\n"
                     "[OBJEKT_NR]\n2\n[POSITION]\n10 20 30\n[TEXT]\nnachher\n"),
            E_FAIL);
  EXPECT_EQ(d.Heading(), "Kopf");
  EXPECT_EQ(d.Text(1, 0), "vorher");
  EXPECT_EQ(d.ObjectPosition(1), (ScreenRect{5, 6, 7, 8}));
  EXPECT_EQ(d.ObjectPosition(2), ScreenRect{});  // not half-filled
  EXPECT_EQ(d.Text(2, 0), "");                   // reading stopped at the failure
}

TEST(ScreenDescriptionFailures, LoadKeepsHeadingAndFlagAndResetClears) {
  test::TempFolder folder;
  ScreenDescription d;
  EXPECT_EQ(d.Load(folder.Path(), 1, 10), E_FAIL);  // no such file
  EXPECT_EQ(d.Heading(), "Error");
  EXPECT_EQ(d.Text(0, 0), "Error");

  ASSERT_EQ(d.LoadFromText("Seite\n[SCREEN_FLAG]\nFF\n[OBJEKT_NR]\n0\n[TEXT]\nt\n", 1, 10), S_OK);
  ASSERT_EQ(d.LoadFromText("[OBJEKT_NR]\n1\n[TEXT]\nneu\n", 2, 10), S_OK);
  EXPECT_EQ(d.Heading(), "Seite");
  EXPECT_EQ(d.ScreenFlag(), 0xFFu);
  EXPECT_EQ(d.Text(0, 0), "");  // the old objects are gone
  EXPECT_EQ(d.Text(1, 0), "neu");

  EXPECT_EQ(d.Load(folder.Path(), 3, 10), E_FAIL);
  EXPECT_EQ(d.Text(1, 0), "Error");  // a failed load drops the objects too
  EXPECT_EQ(d.Heading(), "Seite");
  d.Reset();
  EXPECT_EQ(d.Heading(), "Error");
  EXPECT_EQ(d.ScreenFlag(), 0u);
}

TEST(ScreenDescriptionFiles, PageFileNameIsBuiltAndNormalised) {
  const std::string sep(1, kPathSeparator);
  EXPECT_EQ(ScreenDescription::PagePath("C:/Daten//Screen", 7),
            "C:" + sep + "Daten" + sep + "Screen" + sep + "Screen007.dat");
  EXPECT_EQ(ScreenDescription::PagePath("Daten\\", 999), "Daten" + sep + "Screen999.dat");
  EXPECT_EQ(ScreenDescription::PagePath("Daten", 1234), "Daten" + sep + "Screen1234.dat");

  test::TempFolder folder;
  WritePage(folder.Path(), 7, "Sieben\n");
  ScreenDescription d;
  ASSERT_EQ(d.Load(folder.Path() + "\\\\//", 7, 1), S_OK);
  EXPECT_EQ(d.Heading(), "Sieben");
}

}  // namespace
}  // namespace roviro
