// The program's own messages in the fitter's language: the desktop's language before a
// choice, the chosen one afterwards, the compiled translations of every language, and German
// where a translation is missing.

#include <QAction>
#include <QMenu>

#include "AppFixture.h"
#include "app/DlgFirstStart.h"
#include "app/Translations.h"
#include "platform/Folders.h"
#include "platform/Translation.h"
#include "records/Backups.h"

namespace roviro::test {
namespace {

std::string Text(const QString& s) { return s.toLatin1().toStdString(); }

std::vector<std::string> MenuTexts(CVQZodavaRozeDlg& d) {
  std::vector<std::string> out;
  for (QAction* a : d.SystemMenu()->actions()) {
    if (!a->isSeparator()) out.push_back(Text(a->text()));
  }
  return out;
}

using LanguageTest = AppTest;

TEST_F(LanguageTest, AFirstStartUnderAFrenchDesktopSpeaksFrenchWithoutChoosingIt) {
  const ScopedLocale locale(nullptr, nullptr, "fr_FR.UTF-8");
  std::string heading, street, save, hint;
  QString refused;
  env.runFirstStart = [&](CDlgFirstStart& d) {
    heading = Text(d.Heading()->text());
    street = Text(d.Label(1)->text());
    save = Text(d.SaveButton()->text());
    hint = Text(d.SaveHint()->text());
    d.Edit(0)->setText("Volets Dupont");
    d.Edit(4)->setText(QStringLiteral("\u0141\u00F3d\u017A"));  // not storable
    d.SaveButton()->click();
    refused = d.Problem()->text();
    d.Edit(4)->setText("Lyon");
    d.SaveButton()->click();
  };
  auto& d = Open();                                 // no StartIni.dat, no contact profile
  EXPECT_EQ(heading, "Bienvenue dans RoviroDazo");  // from the French start page
  EXPECT_EQ(street, "Rue :");
  EXPECT_EQ(save, "Enregistrer");
  EXPECT_EQ(hint.find("Speichern"), std::string::npos) << hint;
  EXPECT_TRUE(refused.startsWith(QStringLiteral("Le caract\u00E8re \u00AB \u0141 \u00BB")))
      << refused.toStdString();
  // The start view speaks French too, but nothing is chosen: Start waits for a language.
  EXPECT_FALSE(d.LanguageChosen());
  EXPECT_FALSE(d.StartButton()->isEnabled());
  EXPECT_EQ(MenuTexts(d).front(),
            "R\xE9"
            "duire");
  EXPECT_EQ(QuestionCaption(), "Avertissement");
  // The close question before a choice comes from the French message table: never empty.
  d.OnCloseRequest();
  EXPECT_NE(prompts.Calls().back().text, "");

  // The desktop's language: LC_ALL before LC_MESSAGES before LANG, the first one set; any
  // language but the five is German.
  {
    const ScopedLocale it("it_IT.UTF-8", "nl_NL", "fr_FR");
    EXPECT_EQ(DesktopLanguage(), 3);
  }
  {
    const ScopedLocale nl("", "nl_BE@euro", "fr_FR");
    EXPECT_EQ(DesktopLanguage(), 4);
  }
  {
    const ScopedLocale en(nullptr, nullptr, "en_GB.UTF-8");
    EXPECT_EQ(DesktopLanguage(), 1);
  }
  for (const char* other : {"es_ES.UTF-8", "C", "POSIX", "C.UTF-8", "frx", ""}) {
    const ScopedLocale german(nullptr, nullptr, other);
    EXPECT_EQ(DesktopLanguage(), 0) << other;
  }
}

TEST_F(LanguageTest, TheChosenLanguageSpeaksInTheWindowAndInTheCoresMessages) {
  const ScopedLocale locale(nullptr, nullptr, "C");
  WriteProfile();
  WriteStartIni("[STARTUP_LANGUAGE]\n0\n");
  auto& d = Open();
  EXPECT_EQ(MenuTexts(d), (std::vector<std::string>{"Minimieren",
                                                    "Schlie\xDF"
                                                    "en",
                                                    "Kontaktdaten...", "Verlauf...",
                                                    "Info \xFC"
                                                    "ber RoviroDazo..."}));
  const std::string german = QuestionText(Question::kClearEndPositions);
  d.LanguageButton(1)->click();
  EXPECT_EQ(MenuTexts(d).back(), "About RoviroDazo...");
  EXPECT_EQ(QuestionText(Question::kWriteMotor, "R45", "Tor 1"),
            "Write the parameters into the tubular motor?\n\nMotor type: R45\nMotor name: Tor 1");
  // Texts made in the core, also those with a part filled in.
  BackupResult failed;
  failed.path = "/nowhere/b.kxmc";
  EXPECT_EQ(BackupFailureText(failed).rfind("The automatic backup could not be written:\n"
                                            "/nowhere/b.kxmc\n\n",
                                            0),
            0u);
  d.LanguageButton(0)->click();
  EXPECT_EQ(QuestionText(Question::kClearEndPositions), german);
  EXPECT_EQ(Tx("Fehler..."), "Fehler...");

  // Every language's compiled file loads and speaks its language; a missing one leaves the
  // messages German (and says so) instead of leaving the last language's.
  const std::string programFolder = d.Folder(FolderKind::Program);
  const char* saves[] = {"Speichern", "Save", "Enregistrer", "Salva", "Opslaan"};
  for (int language = 0; language < kLanguageCount; ++language) {
    EXPECT_TRUE(InstallTranslator(language, programFolder)) << language;
    EXPECT_EQ(Tx("Speichern"), saves[language]) << language;
  }
  EXPECT_FALSE(InstallTranslator(3, data.Path()));
  EXPECT_EQ(Tx("Speichern"), "Speichern");
  EXPECT_EQ(Tx("Der Datenordner %1 kann nicht angelegt werden.", {"/x %2"}),
            "Der Datenordner /x %2 kann nicht angelegt werden.");
}

}  // namespace
}  // namespace roviro::test
