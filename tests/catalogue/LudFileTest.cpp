#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "catalogue/Archive.h"
#include "catalogue/LudFile.h"
#include "platform/Paths.h"
#include "support/TempFolder.h"

namespace roviro {
namespace {

Catalogue MakeCatalogue() {
  Catalogue c;
  c.motors[0].dhMoNa = 0x00012340;
  c.motors[1].dhMoNa = 0x00012341;
  c.motors[2].dhMoNa = 0x00055552;
  return c;
}

ContactRecord Contact() {
  ContactRecord r;
  r.company = "Fitter GmbH";
  return r;
}

// An image whose block 0x39 bytes 9 and 10 select the file "... 050A.lud".
ParameterImage ImageFor(std::uint8_t a = 0x05, std::uint8_t b = 0x0A) {
  ParameterImage image;
  image.Block(0x39)[9] = a;
  image.Block(0x39)[10] = b;
  return image;
}

std::string Lud(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\n<LUD>\n" + body + "</LUD>\n";
}

TEST(LudFileName, HexWordThenTwoUpperCaseBytes) {
  EXPECT_EQ(LudFileName(0x00012340, 0x05, 0x0A), "00 01 23 40050A.lud");
  EXPECT_EQ(LudFileName(0xFFFFFFF8, 0x00, 0xFF), "FF FF FF F800FF.lud");
  EXPECT_EQ(LudFileName(0, 0xAB, 0xCD), "00 00 00 00ABCD.lud");
}

TEST(LudFileWrite, WritesNonEmptyTextsUnderMotorZerosName) {
  test::TempFolder temp;
  const Catalogue c = MakeCatalogue();
  LudTexts texts;
  texts.moName = "RM 10";
  texts.name = "Wohnzimmer";
  ASSERT_EQ(WriteLudFile(temp.Path(), &c, 0x05, 0x0A, texts), S_OK);

  std::string text;
  ASSERT_TRUE(ReadWholeFile(temp.File("00 01 23 40050A.lud"), &text));
  EXPECT_EQ(text,
            "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\n"
            "<LUD>\n"
            "    <MN>RM 10</MN>\n"
            "    <NM>Wohnzimmer</NM>\n"
            "</LUD>\n");
}

TEST(LudFileWrite, CreatesTheTemporaryFolderAndRefusesWithoutFolderOrCatalogue) {
  test::TempFolder base;
  const Catalogue c = MakeCatalogue();
  const std::string temp = base.File("a/b/temp");
  LudTexts texts;
  texts.kommentar = "x";
  ASSERT_EQ(WriteLudFile(temp, &c, 1, 2, texts), S_OK);
  EXPECT_TRUE(FileExists(JoinPath(temp, "00 01 23 400102.lud")));

  EXPECT_EQ(WriteLudFile("", &c, 1, 2, texts), E_FAIL);
  EXPECT_EQ(WriteLudFile(base.File("other"), nullptr, 1, 2, texts), E_FAIL);
  EXPECT_FALSE(FolderExists(base.File("other")));
}

TEST(LudFileRoundTrip, ReaderFindsTheFileOfEveryVariantOfTheMotor) {
  test::TempFolder temp;
  const Catalogue c = MakeCatalogue();
  LudTexts texts{"RM 10", "Rolladen Bau", "Wohnzimmer", "Zeile 1\nZeile 2"};
  ASSERT_EQ(WriteLudFile(temp.Path(), &c, 0x05, 0x0A, texts), S_OK);

  // Motor 1's code 0x00012341 reads the file of 0x00012340: the variant bits are cleared.
  for (int motor : {0, 1}) {
    ParameterImage image = ImageFor();
    ASSERT_EQ(ReadLudFile(&image, &c, motor, temp.Path(), Contact()), S_OK) << motor;
    EXPECT_EQ(image.m_moName, "RM 10");
    EXPECT_EQ(image.m_firma, "Rolladen Bau");
    EXPECT_EQ(image.m_name, "Wohnzimmer");
    EXPECT_EQ(image.m_kommentar, "Zeile 1\nZeile 2");
  }
  // Another motor code or other bytes name another file.
  ParameterImage image = ImageFor();
  EXPECT_EQ(ReadLudFile(&image, &c, 2, temp.Path(), Contact()), E_FAIL);
  image = ImageFor(0x05, 0x0B);
  EXPECT_EQ(ReadLudFile(&image, &c, 0, temp.Path(), Contact()), E_FAIL);
}

// The load-data screen's comment is a multi-line edit; the file keeps it on one line.
TEST(LudFileComment, LineBreaksAreStoredAsBackslashNAndOldRawOnesStayReadable) {
  test::TempFolder temp;
  const Catalogue c = MakeCatalogue();
  LudTexts texts;
  texts.kommentar = "Tor 1\nOst\r\nSeite";
  ASSERT_EQ(WriteLudFile(temp.Path(), &c, 0x05, 0x0A, texts), S_OK);
  std::string stored;
  ASSERT_TRUE(ReadWholeFile(temp.File("00 01 23 40050A.lud"), &stored));
  EXPECT_NE(stored.find("<NT>Tor 1\\nOst\\nSeite</NT>"), std::string::npos) << stored;
  ParameterImage image = ImageFor();
  ASSERT_EQ(ReadLudFile(&image, &c, 0, temp.Path(), Contact()), S_OK);
  EXPECT_EQ(image.m_kommentar, "Tor 1\nOst\nSeite");

  ASSERT_TRUE(WriteTextFile(Lud("<NT>alt 1\nalt 2</NT>\n"), temp.File("00 01 23 40050A.lud")));
  ASSERT_EQ(ReadLudFile(&image, &c, 0, temp.Path(), Contact()), S_OK);
  EXPECT_EQ(image.m_kommentar, "alt 1\nalt 2");
}

TEST(LudFileRead, NothingToReadStillSetsTheContactCompany) {
  ParameterImage image = ImageFor();
  image.m_moName = "keep";
  EXPECT_EQ(ReadLudFile(&image, nullptr, 0, "/some/where", Contact()), S_OK);
  EXPECT_EQ(image.m_firma, "Fitter GmbH");
  EXPECT_EQ(image.m_moName, "keep");

  const Catalogue c = MakeCatalogue();
  image.m_firma.clear();
  EXPECT_EQ(ReadLudFile(&image, &c, 0, "", Contact()), S_OK);
  EXPECT_EQ(image.m_firma, "Fitter GmbH");

  EXPECT_EQ(ReadLudFile(nullptr, &c, 0, "/some/where", Contact()), E_FAIL);
}

TEST(LudFileRead, RefusesMotorIndexOutsideTheThreeVariants) {
  test::TempFolder temp;
  const Catalogue c = MakeCatalogue();
  ParameterImage image = ImageFor();
  EXPECT_EQ(ReadLudFile(&image, &c, 3, temp.Path(), Contact()), E_FAIL);
  EXPECT_EQ(ReadLudFile(&image, &c, -1, temp.Path(), Contact()), E_FAIL);
}

TEST(LudFileRead, CompanyOfTwoCharactersKeepsTheContactCompany) {
  test::TempFolder temp;
  const Catalogue c = MakeCatalogue();
  ASSERT_TRUE(WriteTextFile(Lud("<MN>RM</MN>\n<FN>A B</FN>\n"), temp.File("00 01 23 40050A.lud")));
  ParameterImage image = ImageFor();
  ASSERT_EQ(ReadLudFile(&image, &c, 0, temp.Path(), Contact()), S_OK);
  EXPECT_EQ(image.m_firma, "Fitter GmbH");
  EXPECT_EQ(image.m_moName, "RM");

  ASSERT_TRUE(WriteTextFile(Lud("<FN>A B C</FN>\n"), temp.File("00 01 23 40050A.lud")));
  ASSERT_EQ(ReadLudFile(&image, &c, 0, temp.Path(), Contact()), S_OK);
  EXPECT_EQ(image.m_firma, "A B C");
}

TEST(LudFileRead, EmptyElementFailsAfterEarlierTextsWereTaken) {
  test::TempFolder temp;
  const Catalogue c = MakeCatalogue();
  ASSERT_TRUE(WriteTextFile(Lud("<MN>RM 10</MN>\n<FN>Rolladen Bau</FN>\n"
                                "<NM><![CDATA[]]></NM>\n<NT>spaeter</NT>\n"),
                            temp.File("00 01 23 40050A.lud")));
  ParameterImage image = ImageFor();
  image.m_kommentar = "alt";
  EXPECT_EQ(ReadLudFile(&image, &c, 0, temp.Path(), Contact()), E_FAIL);
  EXPECT_EQ(image.m_moName, "RM 10");
  EXPECT_EQ(image.m_firma, "Rolladen Bau");
  EXPECT_EQ(image.m_kommentar, "alt");  // not reached
}

TEST(LudFileRead, RejectsWrongDeclarationRootOrGarbage) {
  test::TempFolder temp;
  const Catalogue c = MakeCatalogue();
  const std::string file = temp.File("00 01 23 40050A.lud");
  ParameterImage image = ImageFor();

  ASSERT_TRUE(
      WriteTextFile("<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<LUD><MN>x</MN></LUD>\n", file));
  EXPECT_EQ(ReadLudFile(&image, &c, 0, temp.Path(), Contact()), E_FAIL);
  ASSERT_TRUE(WriteTextFile(
      "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\n<DUL><MN>x</MN></DUL>\n", file));
  EXPECT_EQ(ReadLudFile(&image, &c, 0, temp.Path(), Contact()), E_FAIL);
  ASSERT_TRUE(WriteTextFile("\x01\x02<<<", file));
  EXPECT_EQ(ReadLudFile(&image, &c, 0, temp.Path(), Contact()), E_FAIL);
  EXPECT_EQ(image.m_moName, "");
}

}  // namespace
}  // namespace roviro
