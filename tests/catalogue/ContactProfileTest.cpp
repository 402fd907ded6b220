#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "catalogue/Archive.h"
#include "catalogue/ContactProfile.h"
#include "platform/Paths.h"
#include "support/TempFolder.h"

namespace roviro {
namespace {

// Where the profile lies below a shared data folder, spelled out independently of the code.
std::string ProfileFolder(const test::TempFolder& shared) {
  return NormalisePath(shared.Path() + "/Trevanic/DI DU-RoviroDazo");
}

void WriteProfile(const test::TempFolder& shared, const std::string& xml) {
  ASSERT_TRUE(CreateFolderTree(ProfileFolder(shared)));
  ASSERT_TRUE(WriteTextFile(xml, JoinPath(ProfileFolder(shared), "FS.xml")));
}

std::string Profile(
    const std::string& body,
    const std::string& declaration = "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>") {
  return declaration + "\n<Kontakt>\n" + body + "</Kontakt>\n";
}

ContactRecord FullRecord() {
  ContactRecord r;
  r.company = "M\xFCller Rolladen GmbH";
  r.street =
      "Hauptstra\xDF"
      "e";
  r.houseNumber = "12a";
  r.postcode = "12345";
  r.town = "Musterstadt";
  r.country = "Deutschland";
  r.email = "info@example.de";
  r.telephone = "0123 456";
  r.fax = "0123 457";
  return r;
}

TEST(ContactProfileWrite, RoundTripsAllNineValues) {
  test::TempFolder shared;
  const ContactRecord written = FullRecord();
  ASSERT_EQ(WriteContactProfile(shared.Path(), written), S_OK);

  ContactRecord read;
  ASSERT_EQ(ReadContactProfile(shared.Path(), &read), S_OK);
  for (const ContactField& field : kContactFields) {
    EXPECT_EQ(read.*field.member, written.*field.member) << field.element;
  }
}

TEST(ContactProfileWrite, WritesOnlyNonEmptyValuesInTableOrder) {
  test::TempFolder shared;
  ContactRecord r;
  r.fax = "99";
  r.company = "Muster GmbH";
  r.town = "Ort";
  ASSERT_EQ(WriteContactProfile(shared.Path(), r), S_OK);

  std::string text;
  ASSERT_TRUE(ReadWholeFile(JoinPath(ProfileFolder(shared), "FS.xml"), &text));
  EXPECT_EQ(text,
            "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\n"
            "<Kontakt>\n"
            "    <Firmenname>Muster GmbH</Firmenname>\n"
            "    <Ort>Ort</Ort>\n"
            "    <Fax>99</Fax>\n"
            "</Kontakt>\n");

  // A later read leaves the omitted values empty.
  ContactRecord read = FullRecord();
  ASSERT_EQ(ReadContactProfile(shared.Path(), &read), S_OK);
  EXPECT_EQ(read.company, "Muster GmbH");
  EXPECT_EQ(read.street, "");
  EXPECT_EQ(read.email, "");
  EXPECT_EQ(read.fax, "99");
}

TEST(ContactProfileWrite, CreatesMissingParentsAndReplacesWithoutLeftovers) {
  test::TempFolder base;
  const std::string shared = base.File("not/yet/there");
  ContactRecord r = FullRecord();
  ASSERT_EQ(WriteContactProfile(shared, r), S_OK);
  r.company = "Zweite Firma";
  ASSERT_EQ(WriteContactProfile(shared, r), S_OK);

  ContactRecord read;
  ASSERT_EQ(ReadContactProfile(shared, &read), S_OK);
  EXPECT_EQ(read.company, "Zweite Firma");
  int files = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(NormalisePath(shared + "/Trevanic/DI DU-RoviroDazo"))) {
    EXPECT_EQ(entry.path().filename().string(), "FS.xml");
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST(ContactProfileWrite, NothingWithoutSharedFolder) {
  EXPECT_EQ(WriteContactProfile("", FullRecord()), E_FAIL);
  ContactRecord read = FullRecord();
  EXPECT_EQ(ReadContactProfile("", &read), E_FAIL);
  EXPECT_EQ(read.company, "");
}

TEST(ContactProfileRead, ProfileWithoutCompanyIsAccepted) {
  test::TempFolder shared;
  WriteProfile(shared, Profile("<Ort>Berlin</Ort>\n"));
  ContactRecord read = FullRecord();  // values from before are cleared
  ASSERT_EQ(ReadContactProfile(shared.Path(), &read), S_OK);
  EXPECT_EQ(read.company, "");
  EXPECT_EQ(read.street, "");
  EXPECT_EQ(read.town, "Berlin");
}

TEST(ContactProfileRead, PresentButEmptyValueRejectsTheWholeProfile) {
  test::TempFolder shared;
  // An element whose text child is empty (an empty CDATA section is such a child).
  WriteProfile(shared, Profile("<Firmenname>Muster GmbH</Firmenname>\n"
                               "<Strasse><![CDATA[]]></Strasse>\n<Ort>Berlin</Ort>\n"));
  ContactRecord read;
  EXPECT_EQ(ReadContactProfile(shared.Path(), &read), E_FAIL);
  // Nothing of the rejected profile stays behind.
  EXPECT_EQ(read.company, "");
  EXPECT_EQ(read.town, "");
}

TEST(ContactProfileRead, ElementWithoutChildIsSkipped) {
  test::TempFolder shared;
  WriteProfile(shared, Profile("<Firmenname>Muster GmbH</Firmenname>\n<Strasse/>\n"));
  ContactRecord read;
  ASSERT_EQ(ReadContactProfile(shared.Path(), &read), S_OK);
  EXPECT_EQ(read.street, "");
}

TEST(ContactProfileRead, CompanyNeedsThreeCharactersBesidesBlanks) {
  test::TempFolder shared;
  ContactRecord read;
  WriteProfile(shared, Profile("<Firmenname>a b</Firmenname>\n"));
  EXPECT_EQ(ReadContactProfile(shared.Path(), &read), E_FAIL);

  WriteProfile(shared, Profile("<Firmenname>a b c</Firmenname>\n"));
  ASSERT_EQ(ReadContactProfile(shared.Path(), &read), S_OK);
  EXPECT_EQ(read.company, "a b c");
}

TEST(ContactProfileRead, RejectsWrongDeclarationRootOrMissingFile) {
  test::TempFolder shared;
  ContactRecord read;
  EXPECT_EQ(ReadContactProfile(shared.Path(), &read), E_FAIL);  // no file yet

  const std::string body = "<Firmenname>Muster GmbH</Firmenname>\n";
  WriteProfile(shared, Profile(body, "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>"));
  EXPECT_EQ(ReadContactProfile(shared.Path(), &read), E_FAIL);
  WriteProfile(shared, Profile(body, "<?xml version=\"1.1\" encoding=\"iso-8859-1\" ?>"));
  EXPECT_EQ(ReadContactProfile(shared.Path(), &read), E_FAIL);
  WriteProfile(shared, Profile(body, ""));
  EXPECT_EQ(ReadContactProfile(shared.Path(), &read), E_FAIL);
  WriteProfile(shared,
               "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\n<Kunde>" + body + "</Kunde>\n");
  EXPECT_EQ(ReadContactProfile(shared.Path(), &read), E_FAIL);
  WriteProfile(shared, "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\n<Kontakt>");
  EXPECT_EQ(ReadContactProfile(shared.Path(), &read), E_FAIL);
  EXPECT_EQ(ReadContactProfile(shared.Path(), nullptr), E_FAIL);
}

}  // namespace
}  // namespace roviro
