#include <gtest/gtest.h>

#include <array>
#include <cstdio>

#include "pages/TextHelpers.h"

namespace roviro {
namespace {

TEST(HexToBytes, PairsFromTheLeftAfterBlanksAreRemoved) {
  std::array<std::uint8_t, 4> buf{0xEE, 0xEE, 0xEE, 0xEE};
  ASSERT_EQ(HexToBytes(buf.data(), "1 2 3", 2), buf.data());
  EXPECT_EQ(buf[0], 0x12);
  EXPECT_EQ(buf[1], 0x03);  // the lone last digit reads as "03"
  EXPECT_EQ(buf[2], 0xEE);  // bytes not reached keep their value

  buf.fill(0);
  HexToBytes(buf.data(), "ABCD", 1);
  EXPECT_EQ(buf[0], 0xAB);
  EXPECT_EQ(buf[1], 0x00);

  HexToBytes(buf.data(), "0a ff 7", 4);
  EXPECT_EQ(buf[0], 0x0A);
  EXPECT_EQ(buf[1], 0xFF);
  EXPECT_EQ(buf[2], 0x07);
}

TEST(HexToBytes, RefusesMissingBufferOrEmptyText) {
  std::uint8_t b = 0x55;
  EXPECT_EQ(HexToBytes(nullptr, "12", 1), nullptr);
  EXPECT_EQ(HexToBytes(&b, "", 1), nullptr);
  EXPECT_EQ(b, 0x55);
  // A text of blanks is not empty: the buffer comes back untouched.
  EXPECT_EQ(HexToBytes(&b, "   ", 1), &b);
  EXPECT_EQ(b, 0x55);
}

TEST(HexToBytes, NonHexPairsReadAsZero) {
  std::array<std::uint8_t, 2> buf{0xEE, 0xEE};
  HexToBytes(buf.data(), "ZZ1G", 2);
  EXPECT_EQ(buf[0], 0x00);
  EXPECT_EQ(buf[1], 0x01);  // the scan stops at the first non-digit
}

TEST(BytesToHex, UpperCasePairsSeparatedByOneBlank) {
  const std::uint8_t one[] = {0x0A};
  EXPECT_EQ(BytesToHex(one, 1), "0A");
  const std::uint8_t two[] = {0x0A, 0xFF};
  EXPECT_EQ(BytesToHex(two, 2), "0A FF");
  EXPECT_EQ(BytesToHex(two, 0), "Kein Sting zum wandeln vorhanden!");
  EXPECT_EQ(BytesToHex(two, -3), "Kein Sting zum wandeln vorhanden!");
}

TEST(HexWord, ReadsBigEndianPaddedAndCutAtEightDigits) {
  EXPECT_EQ(HexToValue("C4082022"), 0xC4082022u);
  EXPECT_EQ(HexToValue("c408 2022"), 0xC4082022u);
  EXPECT_EQ(HexToValue("22"), 0x22u);
  EXPECT_EQ(HexToValue("1"), 0x1u);
  EXPECT_EQ(HexToValue("123456789"), 0x12345678u);
  EXPECT_EQ(HexToValue("00 01 23 40"), 0x00012340u);
  EXPECT_EQ(HexToValue(""), 0u);
}

TEST(HexWord, WritesFourPairsMostSignificantFirst) {
  EXPECT_EQ(ValueToHex(0xC4082022u), "C4 08 20 22");
  EXPECT_EQ(ValueToHex(1), "00 00 00 01");
  for (std::uint32_t v : {0u, 1u, 0x80000000u, 0xFFFFFFFFu, 0x00012340u}) {
    EXPECT_EQ(HexToValue(ValueToHex(v)), v);
  }
}

TEST(BytesEqual, NeedsBothPresentAndEqualLengths) {
  const std::uint8_t a[] = {1, 2, 3};
  const std::uint8_t b[] = {1, 2, 3};
  const std::uint8_t c[] = {1, 2, 4};
  EXPECT_TRUE(BytesEqual(a, b, 3, 3));
  EXPECT_FALSE(BytesEqual(a, c, 3, 3));
  EXPECT_FALSE(BytesEqual(a, b, 3, 2));
  EXPECT_FALSE(BytesEqual(nullptr, b, 3, 3));
  EXPECT_FALSE(BytesEqual(a, nullptr, 3, 3));
}

TEST(TrimChar, StripsBothEndsAndReportsTheLastCharacter) {
  std::string s = "\\\\path\\";
  EXPECT_EQ(TrimChar(&s, '\\'), 'h');
  EXPECT_EQ(s, "path");
  std::string only = "////";
  EXPECT_EQ(TrimChar(&only, '/'), 0);
  EXPECT_TRUE(only.empty());
  EXPECT_EQ(TrimChar(nullptr, 'x'), 0);
  std::string high = "x\xE4";
  EXPECT_EQ(TrimChar(&high, ' '), 0xE4);
}

TEST(CleanLine, AppliesLineFeedThenCommentThenColon) {
  std::string line = "Wert // Kommentar\n";
  EXPECT_EQ(CleanLine(line, 6), "Wert ");
  EXPECT_EQ(line, "Wert ");

  std::string port = "Port:COM3";
  EXPECT_EQ(CleanLine(port, 1), "COM3");

  // The comment is cut before the colon is looked for.
  std::string both = "a // b:c\n";
  EXPECT_EQ(CleanLine(both, 7), "a ");
  // Only one trailing line feed goes.
  std::string two = "x\n\n";
  EXPECT_EQ(CleanLine(two, 2), "x\n");
}

TEST(ReadLine, ReturnsAtMost489CharactersWithTheLineFeed) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  const std::string longLine(600, 'a');
  std::fputs((longLine + "\nshort\n").c_str(), f);
  std::rewind(f);
  EXPECT_EQ(ReadLine(f), std::string(489, 'a'));
  EXPECT_EQ(ReadLine(f), std::string(111, 'a') + "\n");
  EXPECT_EQ(ReadLine(f), "short\n");
  EXPECT_EQ(ReadLine(f), "");
  std::fclose(f);
  EXPECT_EQ(ReadLine(nullptr), "");
}

TEST(LocalTime, ValidatesTheFilledValue) {
  ManualClock clock;
  SystemTime t;
  clock.SetLocal({2011, 3, 1, 14, 9, 5, 0, 123});
  EXPECT_EQ(LocalTime(&t, clock), S_OK);
  EXPECT_EQ(t.day, 14);
  EXPECT_EQ(t.milliseconds, 123);
  EXPECT_EQ(LocalTime(nullptr, clock), E_FAIL);
  clock.SetLocal({2011, 2, 2, 29, 9, 5, 0, 0});  // 29 February 2011 does not exist
  EXPECT_EQ(LocalTime(&t, clock), E_FAIL);
  clock.SetLocal({2012, 2, 3, 29, 23, 59, 59, 999});
  EXPECT_EQ(LocalTime(&t, clock), S_OK);
  EXPECT_EQ(LocalTime(&t), S_OK);  // the real clock
}

TEST(ExpandLineBreaks, ReplacesEveryBackslashNPair) {
  EXPECT_EQ(ExpandLineBreaks("a\\nb\\n"), "a\nb\n");
  EXPECT_EQ(ExpandLineBreaks("\\\\n"), "\\\n");
  EXPECT_EQ(ExpandLineBreaks("ends\\"), "ends\\");
}

}  // namespace
}  // namespace roviro
