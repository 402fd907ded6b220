#pragma once
// The settings screens in the real dialog: a catalogue written by the test (screen records
// from XML snippets, one motor type per variant with a known division table), the image set
// before a screen is entered, the screen driven by clicks, keys and the manual clock.

#include <QTest>

#include <string>

#include "ScreensFixture.h"
#include "catalogue/CatalogueDocuments.h"
#include "device/LinkState.h"
#include "screens/settings/SettingsScreen.h"

namespace roviro::test {

// <ScrN> with Prev/Next and the given <BrchB ...> elements.
inline std::string SettingsScreenXml(int id, int prev, int next, const std::string& branches) {
  const std::string n = std::to_string(id);
  return "<Scr" + n + "><Prev stPrev=\"" + std::to_string(prev) + "\"/><Next stNext=\"" +
         std::to_string(next) + "\"/><Brch>" + branches + "</Brch></Scr" + n + ">";
}

// <BrchB bUse bHide> with objects "<Obj0 iMin=.. iMax=.. bShow=../>..." given as text.
inline std::string BranchXml(int branch, int use, int hide, const std::string& objects) {
  const std::string b = std::to_string(branch);
  return "<Brch" + b + " bUse=\"" + std::to_string(use) + "\" bHide=\"" + std::to_string(hide) +
         "\">" + objects + "</Brch" + b + ">";
}

inline std::string ObjXml(int object, int min, int max, int show = 1) {
  const std::string o = std::to_string(object);
  return "<Obj" + o + " iMin=\"" + std::to_string(min) + "\" iMax=\"" + std::to_string(max) +
         "\" bEnable=\"1\" bShow=\"" + std::to_string(show) + "\"/>";
}

class SettingsTest : public ScreensTest {
 protected:
  explicit SettingsTest(int languageIndex = 0) : ScreensTest(languageIndex) {}

  // One catalogue with `screens` (the <ScrN> elements) and three motor types whose division
  // tables are HB 01..06 / LB 0A..0F (variant 0), HB 11..16 (variant 1), HB 21..26 (variant
  // 2); then the dialog opened without a box. An empty text installs no catalogue at all.
  void OpenWith(const std::string& screens) {
    if (screens.empty()) {
      InstallCatalogues({});
    } else {
      std::string motors;
      std::vector<MotorEntry> entries = RealisticMotors(7);
      for (std::size_t k = 0; k < entries.size(); ++k) {
        const int h = static_cast<int>(k) * 0x10;
        char hb[40];
        std::snprintf(hb, sizeof hb, "%02X %02X %02X %02X %02X %02X", h + 1, h + 2, h + 3, h + 4,
                      h + 5, h + 6);
        entries[k].divHB = hb;
        motors += MotorXml(entries[k]);
      }
      InstallCatalogues({DocumentXml("<Scr>" + screens + "</Scr>" + KxbmXml(motors))});
    }
    OpenWithoutBox();
  }
  // The dialog without its port watch, so that nothing but the test moves the manual clock
  // (a port watch sleeps on it); the shipped catalogues unless the test installed its own.
  void OpenWithoutBox() {
    if (!treeLinked) LinkTree();
    dlg = std::make_unique<CVQZodavaRozeDlg>(env);
    dlg->Link().State().Set(kLinkWatchEnded);
    ASSERT_TRUE(dlg->OnInitDialog());
    dlg->show();
    QApplication::setActiveWindow(dlg.get());
    Pump();
  }
  // Switches to screen `id` (the image as the test left it).
  void Go(int id) {
    ASSERT_TRUE(Succeeded(dlg->SwitchScreen(id)));
    Pump();
    ASSERT_EQ(Current(), id);
  }
  CSettingsScreen* Screen() const { return dynamic_cast<CSettingsScreen*>(dlg->CurrentScreen()); }
  bool Dirty() const { return (dlg->CurrentScreen()->Flags() & kScreenDirty) != 0; }
  std::uint8_t& Byte(int n) { return image.Block(0x2E)[static_cast<std::size_t>(n)]; }
  std::uint8_t& StepByte(int n) { return image.Block(0x34)[static_cast<std::size_t>(n)]; }
  // Controls by control table index.
  CMyButton* Button(int i) const { return Screen()->Button(i); }
  QPlainTextEdit* Edit(int i) const { return Screen()->Edit(i); }
  CMyStatic* Label(int i) const { return Screen()->Label(i); }
  CMySliderCtrl* Slider(int i) const { return Screen()->Slider(i); }
  std::string Text(int editIndex) const {
    return Edit(editIndex)->toPlainText().toLatin1().toStdString();
  }
  // A fitter's click (switches flip only when really clicked).
  void Click(int i) {
    QTest::mouseClick(Button(i), Qt::LeftButton);
    Pump();
  }
  // Replaces the edit's text key by key, `stepMs` apart on the manual clock.
  void Type(int editIndex, const std::string& keys, int stepMs = 0) {
    QPlainTextEdit* e = Edit(editIndex);
    e->setFocus();
    e->selectAll();
    for (char c : keys) {
      QTest::keyClick(e, c);
      if (stepMs > 0) Advance(stepMs);
    }
  }
  void Next() {
    dlg->NextButton()->click();
    Pump();
  }
  void Back() {
    dlg->BackButton()->click();
    Pump();
  }
};

}  // namespace roviro::test
