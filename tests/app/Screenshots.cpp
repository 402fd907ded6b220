// Renders the program window as the fitter sees it: the start view in all five languages (with
// that language chosen), the start view before any choice, a screen's frame (heading, small
// logo, navigation strip, tabs, back and next), the first-start dialog and the questions
// asked before what cannot be undone. Writes PNG files into the folder given as the only
// argument; fails when a picture is missing or blank.

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMessageBox>
#include <QTableWidget>

#include <cstdio>
#include <filesystem>
#include <iostream>

#include "AppFixture.h"
#include "app/DlgFirstStart.h"
#include "app/HistoryDlg.h"
#include "app/Translations.h"
#include "catalogue/ContactProfile.h"
#include "platform/Paths.h"

namespace {

using namespace roviro;
using namespace roviro::test;

bool Save(QWidget* w, const QString& folder, const char* name) {
  const QImage image = w->grab().toImage();
  // A window that drew nothing is one colour throughout.
  bool varied = false;
  const QRgb first = image.pixel(0, 0);
  for (int y = 0; y < image.height() && !varied; y += 7) {
    for (int x = 0; x < image.width() && !varied; x += 7) varied = image.pixel(x, y) != first;
  }
  const QString path = folder + "/" + name;
  const bool saved = image.save(path, "PNG");
  std::cout << (saved && varied ? "wrote " : "FAILED ") << path.toStdString() << "\n";
  return saved && varied;
}

// One program folder with the built tree, StartIni.dat and a contact profile.
struct Setup : DialogParts {
  explicit Setup(int language) {
    namespace fs = std::filesystem;
    fs::create_directory_symlink(BuiltLoaderDaten(), fs::path(program.Path()) / "LoaderDaten");
    fs::create_directory_symlink(fs::path(ROVIRO_BUILD_FOLDER) / "translations",
                                 fs::path(program.Path()) / "translations");
    if (language >= 0) {
      std::FILE* f = std::fopen(program.File("StartIni.dat").c_str(), "w");
      std::fprintf(f, "[STARTUP_LANGUAGE]\n00 00 00 %02X\n", language);
      std::fclose(f);
    }
    ContactRecord record;
    record.company = "Muster Rollladen GmbH";
    WriteContactProfile(data.Path(), record);
    factory.Register(
        1, [this](CVQZodavaRozeDlg* d) { return std::make_unique<TestScreen>(d, 1, &log, false); });
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setStyle("Fusion");
  if (argc != 2) {
    std::cerr << "usage: app_screenshots FOLDER\n";
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(folder);
  bool ok = true;

  const struct {
    int language;
    const char* name;
  } views[] = {{0, "start-de.png"}, {1, "start-en.png"}, {2, "start-fr.png"},
               {3, "start-it.png"}, {4, "start-nl.png"}, {-1, "start-no-language.png"}};
  for (const auto& view : views) {
    Setup setup(view.language);
    CVQZodavaRozeDlg dlg(setup.MakeEnvironment());
    ok = dlg.OnInitDialog() && ok;
    dlg.show();
    QApplication::processEvents();
    ok = Save(&dlg, folder, view.name) && ok;
    if (view.language == 0) {
      dlg.StartButton()->click();
      QApplication::processEvents();
      ok = dlg.CurrentScreen() != nullptr && ok;
      ok = Save(&dlg, folder, "screen-frame-de.png") && ok;
    }
  }

  // The questions before what cannot be undone, and the close question during an upload.
  // (French, Italian and Dutch: the program's own questions in their translations.)
  for (int language = 0; language < kLanguageCount; ++language) {
    Setup setup(language);
    CVQZodavaRozeDlg dlg(setup.MakeEnvironment());
    ok = dlg.OnInitDialog() && ok;
    if (language > 1) ok = InstallTranslator(language, setup.program.Path()) && ok;
    const std::string suffix = std::string("-") + LanguageCode(language) + ".png";
    const std::pair<const char*, std::string> questions[] = {
        {"question-write", QuestionText(Question::kWriteMotor, "R45, 20 Nm, 16 U/min", "Tor 1")},
        {"question-factory-reset", QuestionText(Question::kFactoryReset)},
        {"question-end-positions", QuestionText(Question::kClearEndPositions)},
        {"question-replace-set", QuestionText(Question::kReplaceSet)}};
    for (const auto& [name, text] : questions) {
      auto box = MakeMessageBox(text, QuestionCaption(),
                                kMbYesNo | kMbIconQuestion | kMbDefaultButton2, nullptr);
      box->show();
      ok = Save(box.get(), folder, (name + suffix).c_str()) && ok;
    }
    if (language > 1) continue;  // its words come from the page folders
    auto close = MakeMessageBox(dlg.CommonText(10) + "\n\n" + dlg.CommonText(5), dlg.CommonText(2),
                                kMbYesNo | kMbIconQuestion, nullptr);
    close->show();
    ok = Save(close.get(), folder, ("question-close-upload" + suffix).c_str()) && ok;
  }
  {
    // A character the contact file cannot store is refused with a word.
    TempFolder data;
    CDlgFirstStart dlg(data.Path(), JoinPath(BuiltLoaderDaten(), "Screen/Deutsch/ScreenStart.dat"));
    dlg.OnInitDialog();
    dlg.show();
    dlg.Edit(0)->setText("Muster Rollladen GmbH");
    dlg.Edit(4)->setText(QStringLiteral("\u0141\u00F3d\u017A"));
    dlg.SaveButton()->click();
    QApplication::processEvents();
    ok = Save(&dlg, folder, "contact-refused-de.png") && ok;
  }
  {
    TempFolder data;
    CDlgFirstStart dlg(data.Path(), JoinPath(BuiltLoaderDaten(), "Screen/Deutsch/ScreenStart.dat"));
    ok = dlg.OnInitDialog() && ok;
    dlg.show();
    dlg.Edit(0)->setText("Muster Rollladen GmbH");
    QApplication::processEvents();
    ok = Save(&dlg, folder, "first-start-de.png") && ok;
  }
  {
    // At the very first start no language is chosen yet: the template texts show.
    TempFolder data;
    CDlgFirstStart dlg(data.Path(), data.File("ScreenStart.dat"));
    dlg.OnInitDialog();
    dlg.show();
    QApplication::processEvents();
    ok = Save(&dlg, folder, "first-start-template.png") && ok;
  }
  {
    // The history of a motor visited at two stations, with a chart and the event codes.
    std::vector<StoredVisit> visits;
    const char* stations[] = {"Werk Nord", "Service Sued", "Werk Nord", "Service Sued"};
    for (int i = 0; i < 4; ++i) {
      Visit v;
      v.motorKey = "013210-1-2";
      v.kind = i == 1 ? VisitKind::kUpload : VisitKind::kDownload;
      v.time = SystemTime{2026, 12, 0, static_cast<std::uint16_t>(1 + i * 2), 9, 30, 0, 0};
      v.runningSeconds = i == 1 ? -1 : 36000 + i * 25000;
      v.counter1 = i == 1 ? -1 : 3 + i * 2;
      v.counter2 = i == 1 ? -1 : 1 + i;
      if (i != 1) v.events = {1, 2, 3, static_cast<std::uint8_t>(0x0B + i)};
      StoredVisit s = MakeStoredVisit(v, stations[i], i % 2 ? "Rolladen Meier" : "Werkstatt 3");
      if (i != 3) s.setDigest = "ab";
      visits.push_back(s);
    }
    CHistoryDlg dlg("013210-1-2", visits);
    dlg.show();
    dlg.Table()->selectRow(2);
    QApplication::processEvents();
    ok = Save(&dlg, folder, "history-de.png") && ok;
  }
  return ok ? 0 : 1;
}
