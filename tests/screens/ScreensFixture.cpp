#include "ScreensFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <filesystem>

#include "app/AppMessages.h"
#include "catalogue/Catalogue.h"
#include "controls/MyStatic.h"
#include "records/ProgramSettings.h"
#include "screens/data/RegisterScreens.h"
#include "sim/SimTransport.h"

namespace roviro::test {

std::vector<std::string> LayoutFaults(CVQZodavaRozeDlg& d) {
  std::vector<std::string> faults;
  std::vector<QWidget*> shown;
  for (QWidget* w : d.Pools().AllControls()) {
    if (w->isVisible()) shown.push_back(w);
  }
  const QRect page(0, 48, 800, 462);
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const QRect r = shown[i]->geometry();
    const std::string name = shown[i]->objectName().toStdString();
    if (!page.contains(r)) faults.push_back(name + " leaves the page");
    for (std::size_t j = i + 1; j < shown.size(); ++j) {
      if (r.intersects(shown[j]->geometry())) {
        faults.push_back(name + " overlaps " + shown[j]->objectName().toStdString());
      }
    }
    if (auto* label = qobject_cast<CMyStatic*>(shown[i]); label && !label->GetText().empty()) {
      const Size text = label->GetPreferredSize(0x40000000);
      if (text.cx > r.width() || text.cy > r.height()) faults.push_back(name + " cuts its text");
    }
    // Every entry of a list box fits its field, not only the one shown now.
    if (auto* combo = qobject_cast<QComboBox*>(shown[i])) {
      QStyleOptionComboBox option;
      option.initFrom(combo);
      const int room =
          combo->style()
              ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
              .width();
      for (int n = 0; n < combo->count(); ++n) {
        if (combo->fontMetrics().horizontalAdvance(combo->itemText(n)) > room) {
          faults.push_back(name + " cuts entry " + std::to_string(n));
        }
      }
    }
  }
  const Size heading = d.Title()->GetPreferredSize(0x40000000);
  if (d.Title()->isVisible() &&
      (heading.cx > d.Title()->width() || heading.cy > d.Title()->height())) {
    faults.push_back("the heading cuts its text");
  }
  for (int i = 0; d.CurrentScreen() == nullptr && i < kLanguageCount; ++i) {
    const QRect r = d.LanguageButton(i)->geometry();
    if (!d.LanguageButton(i)->isVisible() || !page.contains(r) ||
        r.intersects(d.StartButton()->geometry()) || r.top() != d.LanguageButton(0)->y() ||
        (i > 0 && r.left() <= d.LanguageButton(i - 1)->geometry().right())) {
      faults.push_back("language button " + std::to_string(i) + " is out of its row");
    }
  }
  return faults;
}

ScreensTest::ScreensTest(int languageIndex) : language(languageIndex) {
  WriteProfile();
  WriteStartIni("[STARTUP_LANGUAGE]\n00 00 00 0" + std::to_string(languageIndex) + "\n");
  AskQuestions(false);
  RegisterScreens(factory);
  box = std::make_shared<sim::BoxSimulator>(clock);
  sim::AttachInMemory(box, resolver, bridges, kSimComPort);
}

void ScreensTest::AskQuestions(bool ask) {
  const std::string path = ProgramSettingsPath(data.Path());
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::FILE* f = std::fopen(path.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs(ask ? "[BESTAETIGEN]\nFRAGEN=1\n" : "[BESTAETIGEN]\nFRAGEN=0\n", f);
  std::fclose(f);
}

void ScreensTest::InstallCatalogues(const std::vector<std::string>& documents) {
  namespace fs = std::filesystem;
  LinkTree(false);
  const fs::path config = fs::path(program.Path()) / "LoaderDaten" / "Config";
  fs::create_directories(config);
  for (std::size_t i = 0; i < documents.size(); ++i) {
    const std::string name = "Test" + std::to_string(i + 1);
    ASSERT_TRUE(WriteCatalogueArchive((config / (name + ".kxbmc")).string(),
                                      {{name + ".kxbm", documents[i]}}));
  }
}

CVQZodavaRozeDlg& ScreensTest::OpenConnected() {
  auto& d = Open();
  EXPECT_TRUE(WaitFor([&] { return (d.StateFlags() & kStateBoxPresent) != 0; }));
  return d;
}

void ScreensTest::LoadSimulatedMotor(int catalogueIndex, int variant) {
  ASSERT_LT(catalogueIndex, dlg->CatalogueCount());
  ParameterImage factoryImage;
  factoryImage.Clear();
  ASSERT_TRUE(Succeeded(CopyMotorToParameterImage(
      dlg->Catalogues()[static_cast<std::size_t>(catalogueIndex)].get(), &factoryImage, variant)));
  box->LoadMotor(SealedMotorBlocks(factoryImage));
}

bool ScreensTest::PressStart() {
  dlg->StartButton()->click();
  Pump();
  return Current() == 1;
}

int ScreensTest::Current() const {
  return dlg != nullptr && dlg->CurrentScreen() != nullptr ? dlg->CurrentScreen()->ScreenId() : 0;
}

bool ScreensTest::WaitIdle() {
  const bool idle = WaitFor(
      [&] { return dlg->Link().RunningWorkers() <= 1 && !dlg->Link().State().Has(kLinkBusy); });
  Pump();
  return idle;
}

void ScreensTest::Advance(std::int64_t ms) {
  clock.Advance(ms);
  dlg->RunDueTimers();
  Pump();
}

QImage ScreensTest::Screenshot() {
  // Whether a control shows its focus frame (or a text cursor) depends on when the window
  // system handed the window the focus; without focus every run draws the same picture.
  if (QWidget* focus = QApplication::focusWidget()) focus->clearFocus();
  Pump();
  return dlg->grab().toImage();
}

bool ScreensTest::SaveScreenshot(const std::string& name) {
  const QString folder = QString::fromLocal8Bit(ROVIRO_BUILD_FOLDER) + "/screenshots";
  QDir().mkpath(folder);
  const QImage shot = Screenshot();
  bool varied = false;
  const QRgb first = shot.pixel(0, 0);
  for (int y = 0; y < shot.height() && !varied; y += 5) {
    for (int x = 0; x < shot.width() && !varied; x += 5) varied = shot.pixel(x, y) != first;
  }
  return varied && shot.save(folder + "/" + QString::fromStdString(name) + ".png", "PNG");
}

std::vector<ScriptedPrompts::Call> ScreensTest::Boxes() const {
  std::vector<ScriptedPrompts::Call> out;
  for (const auto& call : prompts.Calls()) {
    if (call.kind == "box") out.push_back(call);
  }
  return out;
}

}  // namespace roviro::test
