// The first-start dialog: its texts, the save button's rule, the profile it writes, and the
// main dialog asking for it when the profile cannot be read.

#include <QKeyEvent>
#include <QSignalSpy>

#include <fstream>
#include <sstream>

#include "AppFixture.h"
#include "app/DlgFirstStart.h"
#include "catalogue/ContactProfile.h"

namespace roviro::test {
namespace {

std::string GermanStartPage() {
  return JoinPath(BuiltLoaderDaten(), "Screen/Deutsch/ScreenStart.dat");
}

std::string Latin1(const QString& s) { return s.toLatin1().toStdString(); }

TEST(FirstStart, SaveIsEnabledOnlyForMoreThanTwoLettersBesidesBlanks) {
  TempFolder data;
  CDlgFirstStart dlg(data.Path(), GermanStartPage());
  EXPECT_TRUE(dlg.OnInitDialog());
  EXPECT_FALSE(dlg.SaveButton()->isEnabled());
  dlg.Edit(0)->setText("a b");
  EXPECT_FALSE(dlg.SaveButton()->isEnabled());
  dlg.Edit(0)->setText("  a b  ");
  EXPECT_FALSE(dlg.SaveButton()->isEnabled());
  dlg.Edit(0)->setText("a b c");
  EXPECT_TRUE(dlg.SaveButton()->isEnabled());
  dlg.Edit(0)->setText("ab");
  EXPECT_FALSE(dlg.SaveButton()->isEnabled());
  dlg.Edit(0)->setText("abc");
  EXPECT_TRUE(dlg.SaveButton()->isEnabled());
}

TEST(FirstStart, TextsComeFromTheStartPage) {
  TempFolder data;
  CDlgFirstStart dlg(data.Path(), GermanStartPage());
  ASSERT_TRUE(dlg.OnInitDialog());
  EXPECT_EQ(Latin1(dlg.Heading()->text()), "Willkommen bei RoviroDazo");
  EXPECT_NE(Latin1(dlg.Intro()->text()).find('\n'), std::string::npos);  // "\n" became a break
  EXPECT_EQ(Latin1(dlg.Label(1)->text()),
            "Stra\xDF"
            "e:");
  EXPECT_EQ(Latin1(dlg.Edit(5)->text()), "Deutschland");  // strDefault of the country
  EXPECT_EQ(Latin1(dlg.SaveButton()->text()), "Speichern");
  EXPECT_EQ(ControlId(dlg.Edit(8)), 1032);
  EXPECT_EQ(ControlId(dlg.Label(8)), 1041);
}

TEST(FirstStart, AMissingOrBrokenStartPageLeavesTheTemplateTexts) {
  TempFolder data;
  CDlgFirstStart missing(data.Path(), data.File("ScreenStart.dat"));
  EXPECT_FALSE(missing.OnInitDialog());
  EXPECT_EQ(Latin1(missing.Label(0)->text()), "Firma:");
  EXPECT_EQ(Latin1(missing.SaveButton()->text()), "Speichern");

  std::ofstream(data.File("Broken.dat")) << "<?xml version=\"1.0\" encoding=\"utf-8\"?><A/>";
  CDlgFirstStart broken(data.Path(), data.File("Broken.dat"));
  EXPECT_FALSE(broken.OnInitDialog());
  EXPECT_EQ(Latin1(broken.Label(0)->text()), "Firma:");

  // Fields the page does not have read "Not Found".
  std::ofstream(data.File("Short.dat"))
      << "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?><S><Fld003 strText=\"Name\"/></S>";
  CDlgFirstStart shortPage(data.Path(), data.File("Short.dat"));
  EXPECT_TRUE(shortPage.OnInitDialog());
  EXPECT_EQ(Latin1(shortPage.Label(0)->text()), "Name");
  EXPECT_EQ(Latin1(shortPage.Label(1)->text()), "Not Found");
  EXPECT_EQ(Latin1(shortPage.Edit(1)->text()), "");
}

TEST(FirstStart, SaveWritesOnlyTheNonEmptyValues) {
  TempFolder data;
  CDlgFirstStart dlg(data.Path(), GermanStartPage());
  dlg.OnInitDialog();
  QSignalSpy accepted(&dlg, &QDialog::accepted);
  dlg.Edit(0)->setText(QString::fromLatin1("M\xFCller Rollladen"));
  dlg.Edit(4)->setText("Ulm");
  dlg.Edit(5)->setText("");
  dlg.SaveButton()->click();
  EXPECT_EQ(accepted.count(), 1);

  std::ifstream in(ContactProfilePath(data.Path()), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const std::string xml = text.str();
  EXPECT_NE(xml.find("<Firmenname>M\xFCller Rollladen</Firmenname>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<Ort>Ulm</Ort>"), std::string::npos);
  for (const char* absent : {"Strasse", "<Nr", "PLZ", "Land", "E-Mail", "Telefon", "Fax"}) {
    EXPECT_EQ(xml.find(absent), std::string::npos) << absent;
  }
  ContactRecord record;
  ASSERT_TRUE(Succeeded(ReadContactProfile(data.Path(), &record)));
  EXPECT_EQ(record.company, "M\xFCller Rollladen");
  EXPECT_EQ(record.town, "Ulm");
  EXPECT_EQ(record.country, "");
}

TEST(FirstStart, EscapeDoesNotEndTheDialog) {
  TempFolder data;
  CDlgFirstStart dlg(data.Path(), GermanStartPage());
  dlg.OnInitDialog();
  dlg.show();
  QSignalSpy finished(&dlg, &QDialog::finished);
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&dlg, &escape);
  QApplication::processEvents();
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(finished.count(), 0);
}

class FirstStartInMainDialog : public AppTest {};

TEST_F(FirstStartInMainDialog, AnUnreadableProfileAsksAndReadsTheNewOne) {
  WriteStartIni("[STARTUP_LANGUAGE]\n00 00 00 01\n");
  int shown = 0;
  std::string heading;
  env.runFirstStart = [&](CDlgFirstStart& fs) {
    ++shown;
    heading = Latin1(fs.Heading()->text());
    fs.Edit(0)->setText("Rollladenbau Nord");
    fs.Edit(7)->setText("0431 123");
    fs.SaveButton()->click();
  };
  auto& d = Open();
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(heading, "Welcome to RoviroDazo");  // the start page of the chosen language
  EXPECT_EQ(d.Contact().company, "Rollladenbau Nord");
  EXPECT_EQ(d.Contact().telephone, "0431 123");
}

TEST_F(FirstStartInMainDialog, AGenuineFirstStartSpeaksTheFirstLanguage) {
  std::string heading;
  env.runFirstStart = [&](CDlgFirstStart& fs) { heading = Latin1(fs.Heading()->text()); };
  Open();  // no StartIni.dat
  EXPECT_EQ(heading, "Willkommen bei RoviroDazo");
}

TEST_F(FirstStartInMainDialog, AProfileWithAnEmptyStreetIsRejectedSoTheDialogComesAgain) {
  const std::string folder = JoinPath(data.Path(), "Trevanic/DI DU-RoviroDazo");
  CreateFolderTree(folder);
  std::ofstream(JoinPath(folder, "FS.xml"))
      << "<?xml version=\"1.0\" encoding=\"iso-8859-1\" standalone=\"\" ?>\n"
         "<Kontakt><Firmenname>Nord GmbH</Firmenname><Strasse><![CDATA[]]></Strasse></Kontakt>\n";
  int shown = 0;
  env.runFirstStart = [&](CDlgFirstStart&) { ++shown; };  // closed without saving
  auto& d = Open();
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(d.Contact().company, "");  // the program goes on with empty values
  EXPECT_NE(d.CurrentCatalogue(), nullptr);
}

TEST_F(FirstStartInMainDialog, TheWindowMenuChangesTheContactDataAndRefusesWhatCannotBeKept) {
  WriteProfile("Nord GmbH");
  std::vector<std::string> said;  // the dialog's word after each save
  std::vector<QString> towns;     // typed into the town, one per save
  env.runFirstStart = [&](CDlgFirstStart& fs) {
    EXPECT_EQ(Latin1(fs.Edit(0)->text()), "Nord GmbH");  // filled in
    for (const QString& town : towns) {
      fs.Edit(4)->setText(town);
      fs.SaveButton()->click();
      said.push_back(fs.Problem()->text().toStdString());
    }
  };
  auto& d = Open();
  ASSERT_TRUE(said.empty());  // not asked at start
  auto fromMenu = [&] {
    for (QAction* a : d.SystemMenu()->actions()) {
      if (a->text() == QStringLiteral("Kontaktdaten...")) a->trigger();
    }
  };
  towns = {QStringLiteral("\u0141\u00F3d\u017A"), QStringLiteral("K\u00F6ln")};
  fromMenu();
  ASSERT_EQ(said.size(), 2u);
  EXPECT_NE(said[0].find("\xC5\x81"), std::string::npos);  // names the refused character
  EXPECT_EQ(said[1], "");
  EXPECT_EQ(d.Contact().town, "K\xF6ln");
  // A profile that cannot be written is told; the data stay as they were.
  const std::string profile = JoinPath(data.Path(), "Trevanic/DI DU-RoviroDazo/FS.xml");
  ASSERT_TRUE(RemoveFile(profile) && CreateFolderTree(profile));
  towns = {QStringLiteral("Kiel")};
  fromMenu();
  ASSERT_EQ(said.size(), 3u);
  EXPECT_NE(said[2], "");
  EXPECT_EQ(d.Contact().town, "K\xF6ln");
}

}  // namespace
}  // namespace roviro::test
