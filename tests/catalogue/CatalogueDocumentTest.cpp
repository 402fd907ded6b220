// Reading one catalogue document: screen records, the header, motor types, GUID checks and
// parameter lines.

#include <gtest/gtest.h>

#include "catalogue/Catalogue.h"
#include "platform/RecordingMessageSink.h"
#include "tests/catalogue/CatalogueDocuments.h"

namespace roviro {
namespace {

using test::DocumentXml;
using test::GuidText;
using test::KxbmXml;
using test::LineBytes;
using test::LineElement;
using test::MotorEntry;
using test::MotorXml;

constexpr std::uint32_t kErrorStyle = kMbIconError | kMbTopmost;

// A motor type that passes every check, at index `index`, with the given lines.
MotorEntry Motor(std::uint32_t index, const std::string& lines = {}) {
  MotorEntry m;
  m.code = 0x00123400u + index;
  m.nqb = GuidText(77, index);
  m.umode = GuidText(78, index);
  m.lines = lines;
  return m;
}

class CatalogueDocumentTest : public ::testing::Test {
 protected:
  CatalogueDocumentTest() { m_context.sink = &m_sink; }

  // Reads a document made of `body` as entry "kat.xml" of "C:\\kat.kxbmc"; returns the one
  // catalogue it gave, or null.
  const Catalogue* Read(const std::string& body) {
    m_list.clear();
    EXPECT_EQ(
        ReadCatalogueDocument(m_context, "C:\\kat.kxbmc", "kat.xml", DocumentXml(body), m_list), 1);
    return m_list.size() == 1 ? m_list[0].get() : nullptr;
  }

  // A document with the given screens and one valid motor, so it is accepted.
  const Catalogue* ReadScreens(const std::string& screens) {
    return Read("<Scr>" + screens + "</Scr>" + KxbmXml(MotorXml(Motor(0))));
  }

  const Catalogue* ReadMotors(const std::string& motors) { return Read(KxbmXml(motors)); }

  RecordingMessageSink m_sink;
  CatalogueLoadContext m_context;
  CatalogueList m_list;
};

// A motor block no line has touched, once AddCatalogue has written the head of line 1 (motor
// code in bytes 0..2, main version 2 as KxbmXml writes it).
ParameterBlock UntouchedBlock(std::uint32_t code = 0) {
  ParameterBlock block = DefaultParameterBlock();
  const auto base = static_cast<std::size_t>(FindBlockByLine(1)->offset);
  block[base] = static_cast<std::uint8_t>(code >> 16);
  block[base + 1] = static_cast<std::uint8_t>(code >> 8);
  block[base + 2] = static_cast<std::uint8_t>(code);
  block[base + 16] = 2;
  return block;
}

std::vector<std::uint8_t> Slot(const Catalogue& c, int motor, int line) {
  const BlockInfo* b = FindBlockByLine(line);
  const auto& block = c.motors[static_cast<std::size_t>(motor)].block;
  return {block.begin() + b->offset, block.begin() + b->offset + b->size};
}

// ---- screen records ----------------------------------------------------------------------

TEST_F(CatalogueDocumentTest, ScreenRecordsAreNumberedByTheirNames) {
  const Catalogue* c = ReadScreens(
      "<Scr2><Next stNext=\"3\"/><Prev stPrev=\"1\"/></Scr2>"
      "<Scr12><Prev stPrev=\"11\"/></Scr12>"
      "<Scr0/><ScrScr5/><Scr07/>");
  ASSERT_NE(c, nullptr);
  const ScreenRecord* s2 = GetScreenRecord(c, 2);
  ASSERT_NE(s2, nullptr);
  EXPECT_EQ(s2->Next, 3);
  EXPECT_EQ(s2->Prev, 1);
  const ScreenRecord* s12 = GetScreenRecord(c, 12);
  ASSERT_NE(s12, nullptr);
  EXPECT_EQ(s12->Next, -1);  // no Next element
  EXPECT_EQ(s12->Prev, 11);
  EXPECT_NE(GetScreenRecord(c, 0), nullptr);
  EXPECT_NE(GetScreenRecord(c, 5), nullptr);  // every "Scr" is removed
  EXPECT_NE(GetScreenRecord(c, 7), nullptr);
  EXPECT_EQ(GetScreenRecord(c, 1), nullptr);
  EXPECT_EQ(GetScreenRecord(c, 30), nullptr);
  EXPECT_EQ(GetScreenRecord(c, -1), nullptr);
  EXPECT_EQ(GetScreenRecord(nullptr, 2), nullptr);
}

TEST_F(CatalogueDocumentTest, BranchesAndObjectsTakeTheirAttributesAndKeepDefaults) {
  const Catalogue* c = ReadScreens(
      "<Scr3><Brch>"
      "<Brch0 bUse=\"1\" bHide=\"1\"><Obj2 iMin=\"-5\" iMax=\"250\" bEnable=\"0\" bShow=\"0\"/>"
      "<Obj4 iMax=\"9\"/></Brch0>"
      "<Brch4 bHide=\"0\"/>"
      "</Brch></Scr3>");
  ASSERT_NE(c, nullptr);
  const ScreenRecord* s = GetScreenRecord(c, 3);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Next, -1);
  EXPECT_EQ(s->Prev, -1);
  EXPECT_EQ(s->branches[0].bUse, 1);
  EXPECT_EQ(s->branches[0].bHide, 1);
  const CatalogueObject& o2 = s->branches[0].objects[2];
  EXPECT_EQ(o2.iMin, -5);
  EXPECT_EQ(o2.iMax, 250);
  EXPECT_EQ(o2.bEnable, 0);
  EXPECT_EQ(o2.bShow, 0);
  const CatalogueObject& o4 = s->branches[0].objects[4];
  EXPECT_EQ(o4.iMin, 0);
  EXPECT_EQ(o4.iMax, 9);
  EXPECT_EQ(o4.bEnable, 1);
  EXPECT_EQ(o4.bShow, 1);
  // A branch element without bUse is switched off; branches not mentioned stay in use.
  EXPECT_EQ(s->branches[4].bUse, 0);
  EXPECT_EQ(s->branches[4].bHide, 0);
  EXPECT_EQ(s->branches[5].bUse, 1);
  EXPECT_EQ(s->branches[5].objects[0].bShow, 1);
}

TEST_F(CatalogueDocumentTest, OutOfRangeScreenBranchAndObjectNumbersAreIgnored) {
  const Catalogue* c = ReadScreens(
      "<Scr30><Next stNext=\"1\"/></Scr30><Scr-1/><Scr99999999999/>"
      "<Scr4><Brch><Brch10 bUse=\"0\"/><Brch-1 bUse=\"0\"/>"
      "<Brch1 bUse=\"0\"><Obj10 iMin=\"7\"/><Obj-2 iMin=\"7\"/><Obj9 iMin=\"8\"/></Brch1>"
      "</Brch></Scr4>");
  ASSERT_NE(c, nullptr);
  for (int n = 0; n < kCatalogueScreenCount; ++n) {
    EXPECT_EQ(GetScreenRecord(c, n) != nullptr, n == 4) << n;
  }
  const ScreenRecord* s = GetScreenRecord(c, 4);
  for (int b = 0; b < kBranchCount; ++b) EXPECT_EQ(s->branches[b].bUse, b == 1 ? 0 : 1) << b;
  for (int o = 0; o < 9; ++o) EXPECT_EQ(s->branches[1].objects[o].iMin, 0) << o;
  EXPECT_EQ(s->branches[1].objects[9].iMin, 8);
}

TEST_F(CatalogueDocumentTest, ALaterRecordOfTheSameNumberReplacesTheEarlierOne) {
  const Catalogue* c = ReadScreens(
      "<Scr1><Next stNext=\"2\"/><Brch><Brch0 bUse=\"0\"/></Brch></Scr1>"
      "<Scr1><Prev stPrev=\"8\"/></Scr1>");
  ASSERT_NE(c, nullptr);
  const ScreenRecord* s = GetScreenRecord(c, 1);
  EXPECT_EQ(s->Next, -1);
  EXPECT_EQ(s->Prev, 8);
  EXPECT_EQ(s->branches[0].bUse, 1);
}

// ---- document structure ------------------------------------------------------------------

TEST_F(CatalogueDocumentTest, HeaderFieldsAreRead) {
  const Catalogue* c = ReadMotors(MotorXml(Motor(0)));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->dVerMain, 2);
  EXPECT_EQ(c->dVerRel, 1);
  EXPECT_EQ(c->dVerBld, 7);
  EXPECT_EQ(c->date, "12.03.2009");
  EXPECT_EQ(c->strFrm, "Trevanic");
  EXPECT_EQ(c->comment, "Werkseinstellung\nSerie R");
  EXPECT_EQ(c->dUseKom, 1);
  EXPECT_TRUE(c->text0.empty());
  EXPECT_TRUE(c->text2.empty());

  const Catalogue* bare = Read("<KXBM>" + MotorXml(Motor(1)) + "</KXBM>");
  ASSERT_NE(bare, nullptr);
  EXPECT_EQ(bare->dVerMain, 0);
  EXPECT_EQ(bare->dUseKom, -1);
  EXPECT_TRUE(bare->comment.empty());
}

TEST_F(CatalogueDocumentTest, ElementsAfterTheHeaderAndUnknownElementsAreIgnored) {
  const Catalogue* c = Read("<Fremd><Scr1/></Fremd><Scr><Scr1/></Scr>" +
                            KxbmXml(MotorXml(Motor(0))) + "<Scr><Scr2/></Scr><KXBM/>");
  ASSERT_NE(c, nullptr);
  EXPECT_NE(GetScreenRecord(c, 1), nullptr);
  EXPECT_EQ(GetScreenRecord(c, 2), nullptr);
}

TEST_F(CatalogueDocumentTest, DocumentWithoutHeaderGivesNoCatalogue) {
  EXPECT_EQ(Read("<Scr><Scr1/></Scr>" + MotorXml(Motor(0))), nullptr);
  EXPECT_TRUE(m_list.empty());
}

// ---- motor records -----------------------------------------------------------------------

TEST_F(CatalogueDocumentTest, MotorIndexIsTheLowerThreeBitsOfTheCode) {
  MotorEntry m = Motor(0);
  m.code = 0x0012340Au;  // 0x0A AND 7 = 2
  m.name = "RM 20/12";
  const Catalogue* c = ReadMotors(MotorXml(m));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->motors[2].dhMoNa, 0x0012340Au);
  EXPECT_EQ(c->motors[2].strMoNa, "RM 20/12");
  EXPECT_EQ(c->motors[2].strGuidNQB, m.nqb);
  EXPECT_TRUE(c->motors[0].strGuidNQB.empty());
  EXPECT_EQ(c->motors[0].dhMoNa, 0u);
}

TEST_F(CatalogueDocumentTest, RumpfIsSkippedWithoutUsableMotorCode) {
  MotorEntry high = Motor(5);  // index 5 has no record
  MotorEntry noCode = Motor(1);
  std::string noCodeXml = MotorXml(noCode);
  noCodeXml.replace(noCodeXml.find("dhMoNa=\""), std::string("dhMoNa=\"00 12 34 01\"").size(), "");
  ASSERT_EQ(noCodeXml.find("dhMoNa"), std::string::npos);
  const std::string noMoNa = "<Rumpf><Guid strGuidNQB=\"" + GuidText(5, 5) + "\" strGuidUMode=\"" +
                             GuidText(6, 6) + "\"/></Rumpf>";
  const Catalogue* c = ReadMotors(MotorXml(Motor(0)) + MotorXml(high) + noCodeXml + noMoNa);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->motors[0].strGuidNQB, GuidText(77, 0));
  for (int k = 1; k < kMotorCount; ++k) {
    EXPECT_TRUE(c->motors[k].strGuidNQB.empty()) << k;
    EXPECT_EQ(c->motors[k].block, UntouchedBlock()) << k;
  }
}

TEST_F(CatalogueDocumentTest, MoNaNeedNotBeTheVeryFirstChild) {
  const std::string rumpf = "<Rumpf><Guid strGuidNQB=\"" + GuidText(1, 1) + "\" strGuidUMode=\"" +
                            GuidText(2, 2) + "\"/><MoNa dhMoNa=\"01\"/></Rumpf>";
  const Catalogue* c = ReadMotors(rumpf);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->motors[1].strGuidNQB, GuidText(1, 1));
}

TEST_F(CatalogueDocumentTest, DivisionTableIsClearedThenReadAsAtMostSixBytes) {
  MotorEntry a = Motor(0);
  a.divHB = "12 34";
  a.divLB = "01 02 03 04 05 06 07 08";
  MotorEntry b = Motor(1);
  b.divHB = "";
  b.divLB = "f";
  const Catalogue* c = ReadMotors(MotorXml(a) + MotorXml(b));
  ASSERT_NE(c, nullptr);
  using Table = std::array<std::uint8_t, kDivisionTableSize>;
  EXPECT_EQ(c->motors[0].ucHB, (Table{0x12, 0x34, 0, 0, 0, 0}));
  EXPECT_EQ(c->motors[0].ucLB, (Table{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(c->motors[1].ucHB, (Table{}));
  EXPECT_EQ(c->motors[1].ucLB, (Table{0x0F, 0, 0, 0, 0, 0}));
}

TEST_F(CatalogueDocumentTest, FactoryLinesLandInTheirSlots) {
  const Catalogue* c = ReadMotors(MotorXml(Motor(1, test::AllFactoryLines(9))));
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(m_sink.Boxes().empty());
  for (int line = 2; line <= 7; ++line) {
    std::vector<std::uint8_t> expected = test::FactoryPayload(line, 9);
    unsigned sum = 0;
    for (auto b : expected) sum += b;
    expected.push_back(static_cast<std::uint8_t>(sum & 0xFF));
    EXPECT_EQ(Slot(*c, 1, line), expected) << line;
  }
  // Line 1 keeps its tail; its head is the motor code and version (AddCatalogue).
  const auto line1 = Slot(*c, 1, 1);
  const auto payload1 = test::FactoryPayload(1, 9);
  EXPECT_EQ(std::vector<std::uint8_t>(line1.begin() + 17, line1.end() - 1),
            std::vector<std::uint8_t>(payload1.begin() + 17, payload1.end()));
  EXPECT_EQ(c->motors[0].block, UntouchedBlock());
}

TEST_F(CatalogueDocumentTest, OversizedLineIsClippedToItsSlot) {
  // Line 5 (11 bytes) announced with 40 bytes: the next slot (line 6) stays untouched.
  std::vector<std::uint8_t> payload(39);
  for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i + 1);
  const Catalogue* c = ReadMotors(MotorXml(Motor(0, LineElement("Zl5", LineBytes(5, payload)))));
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(m_sink.Boxes().empty());
  EXPECT_EQ(Slot(*c, 0, 5), std::vector<std::uint8_t>(payload.begin(), payload.begin() + 11));
  EXPECT_EQ(Slot(*c, 0, 6), std::vector<std::uint8_t>(11, 0));
}

TEST_F(CatalogueDocumentTest, ZeroLengthAndUnknownLinesCopyNothing) {
  const std::string lines = "<Zl3>3C 00 3B 11 22 33</Zl3>" +
                            LineElement("Zl8", LineBytes(3, test::FactoryPayload(3, 1))) +
                            LineElement("Zl0", LineBytes(3, test::FactoryPayload(3, 1))) +
                            LineElement("Ab4", LineBytes(4, test::FactoryPayload(4, 1)));
  const Catalogue* c = ReadMotors(MotorXml(Motor(0, lines)));
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(m_sink.Boxes().empty());
  EXPECT_EQ(c->motors[0].block, UntouchedBlock(Motor(0).code));
}

TEST_F(CatalogueDocumentTest, ShortLineReadsMissingChecksumBytesAsZero) {
  // n = 0xFF announces far more bytes than the text holds (and than a line may hold).
  const Catalogue* c = ReadMotors(MotorXml(Motor(0, "<Zl2>31 FF 30 01 02</Zl2>")));
  ASSERT_NE(c, nullptr);
  ASSERT_EQ(m_sink.Boxes().size(), 1u);
  EXPECT_EQ(m_sink.Boxes()[0].text,
            "C:\\kat.kxbmc\nkat.xml\nZeile: 2\nChSee : 03 - erwartet: 00\n"
            "ChSmsg: 33 - erwartet: 00 - CHSee");
  std::vector<std::uint8_t> expected(22, 0);
  expected[0] = 1;
  expected[1] = 2;
  EXPECT_EQ(Slot(*c, 0, 2), expected);
}

// ---- messages ----------------------------------------------------------------------------

TEST_F(CatalogueDocumentTest, WrongChecksumIsReportedAndTheLineStillCopied) {
  // n = 3: ChSee = 10 against 11; ChSmsg = 2E + 10 + 11 = 4F against 4E.
  const Catalogue* c = ReadMotors(MotorXml(Motor(0, "<Zl5>2F 03 2E 10 11 4E</Zl5>")));
  ASSERT_NE(c, nullptr);
  ASSERT_EQ(m_sink.Boxes().size(), 1u);
  const auto box = m_sink.Boxes()[0];
  EXPECT_EQ(box.text,
            "C:\\kat.kxbmc\nkat.xml\nZeile: 5\nChSee : 10 - erwartet: 11\n"
            "ChSmsg: 4F - erwartet: 4E - CHSee");
  EXPECT_EQ(box.caption, "Fehler...");
  EXPECT_EQ(box.style, kErrorStyle);
  std::vector<std::uint8_t> expected(11, 0);
  expected[0] = 0x10;
  expected[1] = 0x11;
  EXPECT_EQ(Slot(*c, 0, 5), expected);

  // Only the second checksum wrong: reported as well.
  m_sink.Clear();
  ReadMotors(MotorXml(Motor(0, "<Zl5>2F 03 2E 10 10 00</Zl5>")));
  ASSERT_EQ(m_sink.Boxes().size(), 1u);
  EXPECT_NE(m_sink.Boxes()[0].text.find("ChSmsg: 4E - erwartet: 00 - CHSee"), std::string::npos);
}

TEST_F(CatalogueDocumentTest, LineNameNotThreeLongIsReported) {
  const Catalogue* c =
      ReadMotors(MotorXml(Motor(0, LineElement("Zeile1", LineBytes(1, test::FactoryPayload(1, 2))) +
                                       "<Z1>2F 03 2E 10 11 4E</Z1>")));
  ASSERT_NE(c, nullptr);
  const auto boxes = m_sink.Boxes();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].text, "kat.xml - Zeile1 - Para falsch identifiziert!");
  EXPECT_EQ(boxes[0].caption, "Fehler...");
  EXPECT_EQ(boxes[0].style, kErrorStyle);
  EXPECT_EQ(boxes[1].text, "kat.xml - Z1 - Para falsch identifiziert!");
  // The checksum message of a misnamed line shows line 0.
  EXPECT_EQ(boxes[2].text,
            "C:\\kat.kxbmc\nkat.xml\nZeile: 0\nChSee : 10 - erwartet: 11\n"
            "ChSmsg: 4F - erwartet: 4E - CHSee");
  EXPECT_EQ(c->motors[0].block, UntouchedBlock(Motor(0).code));
}

TEST_F(CatalogueDocumentTest, EveryGuidFaultHasItsMessageAndTheValueIsKept) {
  const std::string good = GuidText(1, 1);
  std::string noOpen = good;
  noOpen[0] = '(';
  std::string noClose = good;
  noClose[37] = ')';
  std::string neither = good;
  neither[0] = '[';
  neither[37] = ']';

  struct Case {
    std::string nqb, umode;
    std::vector<std::string> texts;
  };
  const std::vector<Case> cases = {
      {"", good, {"kat.xml -  - GUID NQB falsch identifiziert!"}},
      {good, "", {"kat.xml -  - GUID uMode falsch identifiziert!"}},
      {"{1234}", good, {"kat.xml - {1234} - GUID NQB falsch L\xE4nge!"}},
      {good, good + "x", {"kat.xml - " + good + "x - GUID uMode falsch L\xE4nge!"}},
      {noOpen, good, {"kat.xml - " + noOpen + " - Format GUID NQB \"{\" falsch!"}},
      {good, noOpen, {"kat.xml - " + noOpen + " - Format GUID uMode \"{\" falsch!"}},
      {noClose, good, {"kat.xml - " + noClose + " - Format GUID NQB \"}\" falsch!"}},
      {good, noClose, {"kat.xml - " + noClose + " - Format GUID uMode \"}\" falsch!"}},
      {neither,
       "",
       {"kat.xml - " + neither + " - Format GUID NQB \"{\" falsch!",
        "kat.xml - " + neither + " - Format GUID NQB \"}\" falsch!",
        "kat.xml -  - GUID uMode falsch identifiziert!"}},
  };
  for (const Case& k : cases) {
    m_sink.Clear();
    MotorEntry m = Motor(0);
    m.nqb = k.nqb;
    m.umode = k.umode;
    m_list.clear();
    ReadCatalogueDocument(m_context, "C:\\kat.kxbmc", "kat.xml",
                          DocumentXml(KxbmXml(MotorXml(m) + MotorXml(Motor(1)))), m_list);
    const auto boxes = m_sink.Boxes();
    ASSERT_EQ(boxes.size(), k.texts.size()) << k.nqb << " " << k.umode;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      EXPECT_EQ(boxes[i].text, k.texts[i]);
      EXPECT_EQ(boxes[i].caption, "Fehler...");
      EXPECT_EQ(boxes[i].style, kErrorStyle);
    }
    ASSERT_EQ(m_list.size(), 1u);
    EXPECT_EQ(m_list[0]->motors[0].strGuidNQB, k.nqb);
    EXPECT_EQ(m_list[0]->motors[0].strGuidUMode, k.umode);
  }
}

TEST_F(CatalogueDocumentTest, MissingGuidAttributeCountsAsEmpty) {
  const std::string rumpf = "<Rumpf><MoNa dhMoNa=\"00\"/><Guid strGuidUMode=\"" + GuidText(3, 3) +
                            "\"/></Rumpf>" + MotorXml(Motor(1));
  ASSERT_NE(ReadMotors(rumpf), nullptr);
  ASSERT_EQ(m_sink.Boxes().size(), 1u);
  EXPECT_EQ(m_sink.Boxes()[0].text, "kat.xml -  - GUID NQB falsch identifiziert!");
}

TEST_F(CatalogueDocumentTest, NoSinkMeansNoMessagesAndNoFault) {
  m_context.sink = nullptr;
  MotorEntry m = Motor(0, "<Zl5>2F 03 2E 10 11 4E</Zl5><Zeile>00</Zeile>");
  m.nqb = "falsch";
  EXPECT_NE(ReadMotors(MotorXml(m)), nullptr);
  EXPECT_TRUE(m_sink.Boxes().empty());
}

}  // namespace
}  // namespace roviro
