// Renders every custom control in every state onto one 800 x 600 sheet and saves it as a PNG
// (the path is the first argument), so a person can look at the controls as the fitter will.

#include <QApplication>
#include <QPainter>
#include <QWidget>

#include <cstdio>
#include <string>
#include <vector>

#include "TestPictures.h"
#include "controls/Fonts.h"
#include "controls/MyButton.h"
#include "controls/MyProgressCtrl.h"
#include "controls/MySliderCtrl.h"
#include "controls/MyStatic.h"

namespace roviro {
namespace {

// The sheet: a soft gradient with diagonal stripes, so transparent controls show what is
// behind them, plus the row titles and a label under every control.
class Sheet : public QWidget {
 public:
  Sheet() { resize(800, 600); }

  void Label(const QRect& under, const QString& text) { m_labels.push_back({under, text}); }
  void Title(int y, const QString& text) { m_titles.push_back({QRect(8, y, 780, 14), text}); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(236, 240, 246));
    g.setColorAt(1, QColor(206, 216, 230));
    p.fillRect(rect(), g);
    p.setPen(QPen(QColor(190, 200, 220), 3));
    for (int x = -600; x < 800; x += 24) {
      p.drawLine(x, 600, x + 600, 0);
    }
    p.setPen(QColor(40, 50, 70));
    p.setFont(FontCache::Instance().Font(1));
    for (const auto& [r, text] : m_titles) {
      p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    p.setFont(FontCache::Instance().Font(2));
    p.setPen(QColor(60, 60, 60));
    for (const auto& [r, text] : m_labels) {
      p.drawText(QRect(r.left() - 10, r.bottom() + 2, r.width() + 20, 12),
                 Qt::AlignHCenter | Qt::AlignTop, text);
    }
  }

 private:
  std::vector<std::pair<QRect, QString>> m_titles;
  std::vector<std::pair<QRect, QString>> m_labels;
};

template <typename T>
T* Place(Sheet& sheet, int x, int y, int w, int h, const QString& label) {
  auto* control = new T(&sheet);
  control->setGeometry(x, y, w, h);
  sheet.Label(control->geometry(), label);
  return control;
}

struct Pictures {
  test::TempFolder folder;
  std::vector<std::string> states;  // pressed, hover, disabled+checked, disabled, checked, normal
  std::string tile;
  std::string progressBackground;
  std::string progressBar;

  Pictures() {
    const QColor colours[6] = {QColor(30, 90, 170),   QColor(90, 170, 250), QColor(120, 140, 160),
                               QColor(170, 175, 180), QColor(40, 160, 80),  QColor(60, 130, 220)};
    for (int i = 0; i < 6; ++i) {
      states.push_back(test::SaveImage(folder, "state" + std::to_string(i) + ".bmp",
                                       test::ButtonFace(40, 28, colours[i])));
    }
    tile = test::SaveImage(folder, "tile.png",
                           test::Checker(16, 16, QColor(250, 230, 180), QColor(235, 205, 150), 8));
    progressBackground = test::SaveImage(
        folder, "pbg.png", test::Checker(12, 12, QColor(60, 60, 70), QColor(75, 75, 88), 6));
    QImage bar(200, 22, QImage::Format_RGB32);
    for (int x = 0; x < bar.width(); ++x) {
      for (int y = 0; y < bar.height(); ++y) {
        bar.setPixelColor(x, y, QColor(40 + x / 2, 200 - x / 3, 90 + (y * 4)));
      }
    }
    progressBar = test::SaveImage(folder, "pbar.png", bar);
  }
};

void LoadStates(CMyButton* b, const Pictures& pics) {
  const auto& s = pics.states;
  b->SetStatePictures(s[0], s[1], s[2], s[3], s[4], s[5]);
}

enum class Look { kNormal, kHover, kPressed, kChecked, kDisabled, kDisabledChecked, kFocus };

void Apply(CMyButton* b, Look look) {
  switch (look) {
    case Look::kHover:
      b->ModifyFlags(0, kButtonTrackMouse);
      b->RequestState(kRequestHoverOn);
      break;
    case Look::kPressed:
      b->setDown(true);
      break;
    case Look::kChecked:
      b->SetChecked(true);
      break;
    case Look::kDisabled:
      b->setEnabled(false);
      break;
    case Look::kDisabledChecked:
      b->SetChecked(true);
      b->setEnabled(false);
      break;
    case Look::kFocus:
      b->ModifyFlags(0, kButtonFocusCaption);
      b->setProperty("focusLook", true);  // given the focus when the sheet is drawn
      break;
    case Look::kNormal:
      break;
  }
}

const std::vector<std::pair<Look, QString>> kLooks = {
    {Look::kNormal, "normal"},     {Look::kHover, "hover"},
    {Look::kPressed, "pressed"},   {Look::kChecked, "checked"},
    {Look::kDisabled, "disabled"}, {Look::kDisabledChecked, "disabled+checked"},
    {Look::kFocus, "focus"}};

void PictureButtons(Sheet& sheet, const Pictures& pics) {
  sheet.Title(6, "Picture buttons (state pictures, magenta transparent; toggle kind)");
  int x = 10;
  for (const auto& [look, name] : kLooks) {
    auto* b = Place<CMyButton>(sheet, x, 24, 52, 36, name);
    b->SetFlags(kButtonStatePicture | kButtonToggle);
    LoadStates(b, pics);
    Apply(b, look);
    x += 60;
  }
  for (const auto& [look, name] :
       std::vector<std::pair<Look, QString>>{{Look::kNormal, "caption"},
                                             {Look::kHover, "caption hover"},
                                             {Look::kDisabled, "caption disabled"}}) {
    auto* b = Place<CMyButton>(sheet, x, 24, 110, 36, name);
    b->SetFlags(kButtonStatePicture | kButtonCaption | kButtonNamedPictures | kButtonToggle);
    LoadStates(b, pics);
    b->SetLayout(kScreenButtonLayout & ~0x2u);  // picture at the left, caption beside it
    b->SetCaption("Laden");
    Apply(b, look);
    x += 118;
  }
}

void PushButtons(Sheet& sheet) {
  sheet.Title(80, "Push buttons with frame (bit 19), caption (bit 24)");
  int x = 10;
  for (const auto& [look, name] : kLooks) {
    auto* b = Place<CMyButton>(sheet, x, 98, 84, 28, name);
    b->SetFlags(kButtonPushFrame | kButtonCaption | kButtonToggle);
    b->SetLayout(0x04002200 | 0x10000000);
    b->SetCaption("Weiter");
    Apply(b, look);
    x += 92;
  }
  auto* empty = Place<CMyButton>(sheet, x, 98, 60, 28, "no content");
  empty->SetFlags(0);
}

void CheckAndRadio(Sheet& sheet) {
  sheet.Title(144, "Check boxes and radio buttons");
  const std::uint32_t captionLeft = 0x20 | 0x2000 | 0x80000 | 0x10000000;
  int x = 10;
  for (const auto& [look, name] : kLooks) {
    if (look == Look::kPressed) {
      continue;
    }
    auto* b = Place<CMyButton>(sheet, x, 162, 96, 22, name);
    b->SetFlags(kButtonCheckBox | kButtonCaption | kButtonFocusCaption);
    b->SetLayout(captionLeft);
    b->SetCaption("Auto");
    Apply(b, look);
    x += 100;
  }
  x = 10;
  for (const auto& [look, name] : kLooks) {
    if (look == Look::kPressed) {
      continue;
    }
    auto* b = Place<CMyButton>(sheet, x, 200, 96, 22, name);
    b->SetFlags(kButtonRadio | kButtonCaption | kButtonFocusCaption);
    b->SetLayout(captionLeft);
    b->SetCaption("Links");
    Apply(b, look);
    x += 100;
  }
}

CMyStatic* MakeStatic(Sheet& sheet, int x, int y, int w, int h, const QString& label,
                      const std::string& text) {
  auto* s = Place<CMyStatic>(sheet, x, y, w, h, label);
  s->SetFlags(kFlagOwnDraw);
  s->SetText(text);
  return s;
}

void Statics(Sheet& sheet, const Pictures& pics) {
  sheet.Title(240, "Statics (own drawing, bit 0)");
  const int y = 258;
  auto* plain = Place<CMyStatic>(sheet, 10, y, 80, 34, "platform");
  plain->SetText("Standard");
  MakeStatic(sheet, 98, y, 80, 34, "own, top-left", "Oben links")->SetTextOptions(0x3C0);
  MakeStatic(sheet, 186, y, 80, 34, "centred", "Mitte")->SetStyle(kStyleCentre);
  auto* right = MakeStatic(sheet, 274, y, 80, 34, "right", "Rechts");
  right->SetStyle(kStyleRight);
  right->SetTextOptions(0x13C0);
  MakeStatic(sheet, 362, y, 80, 34, "disabled", "Grau")->setEnabled(false);
  auto* coloured = MakeStatic(sheet, 450, y, 80, 34, "colour, 2 lines", "Zeile 1\\nZeile 2");
  coloured->SetTextColour(MakeColour(180, 20, 20));
  auto* transparent = MakeStatic(sheet, 538, y, 80, 34, "transparent", "Durchsicht");
  transparent->ModifyFlags(0, kFlagTransparent);
  auto* gradient = MakeStatic(sheet, 626, y, 80, 34, "gradient 3 col.", "Verlauf");
  gradient->ModifyFlags(0, kFlagGradientHorizontal);
  gradient->AddColour(MakeColour(255, 120, 120));
  gradient->AddColour(MakeColour(255, 255, 160));
  gradient->AddColour(MakeColour(120, 200, 255));
  gradient->SetStyle(kStyleCentre);
  auto* vertical = MakeStatic(sheet, 714, y, 76, 34, "gradient vert.", "Oben");
  vertical->ModifyFlags(0, kFlagGradientVertical);
  vertical->AddColour(MakeColour(40, 60, 120));
  vertical->AddColour(MakeColour(160, 190, 240));
  vertical->SetTextColour(MakeColour(255, 255, 255));
  vertical->SetStyle(kStyleCentre);

  const int y2 = 310;
  auto* tiled = MakeStatic(sheet, 10, y2, 120, 30, "tiled picture", "Kachel");
  tiled->ModifyFlags(0, kFlagPicture);
  tiled->LoadPicture(pics.tile, 0, 0);
  tiled->SetStyle(kStyleCentre);
  auto* margins = MakeStatic(sheet, 140, y2, 120, 30, "gradient+margins", "R\xE4nder");
  margins->ModifyFlags(0, kFlagGradientHorizontal | kFlagGradientMargins);
  margins->SetGradientMargins({6, 4, 6, 4});
  margins->AddColour(MakeColour(80, 160, 80));
  margins->AddColour(MakeColour(200, 240, 200));
  margins->SetStyle(kStyleCentre);
  auto* ellipsis =
      MakeStatic(sheet, 270, y2, 120, 30, "end ellipsis", "Ein sehr langer Text ohne Ende");
  ellipsis->SetStyle(kStyleEndEllipsis);
  ellipsis->SetTextOptions(0x1380);  // single line
  auto* big = MakeStatic(sheet, 400, y2, 120, 30, "font slot 3", "Gro\xDF");
  big->setFont(FontCache::Instance().Font(3));
  big->SetStyle(kStyleCentre);
}

CMyProgressCtrl* MakeProgress(Sheet& sheet, int x, int y, int w, int h, const QString& label,
                              int value, std::uint32_t flags) {
  auto* p = Place<CMyProgressCtrl>(sheet, x, y, w, h, label);
  p->setRange(0, 100);
  p->setValue(value);
  p->SetFlags(kFlagOwnDraw | flags);
  p->setFont(FontCache::Instance().Font(1));
  return p;
}

void ProgressBars(Sheet& sheet, const Pictures& pics) {
  sheet.Title(360, "Progress bars");
  const int y = 378;
  auto* platform = Place<CMyProgressCtrl>(sheet, 10, y, 140, 22, "platform");
  platform->setRange(0, 100);
  platform->setValue(40);
  MakeProgress(sheet, 160, y, 140, 22, "solid, caption 0%", 0, kProgressSolid | kProgressCaption);
  MakeProgress(sheet, 310, y, 140, 22, "solid, caption 50%", 50, kProgressSolid | kProgressCaption);
  MakeProgress(sheet, 460, y, 140, 22, "solid 100%", 100, kProgressSolid | kProgressCaption);
  auto* shaded = MakeProgress(sheet, 610, y, 180, 22, "shaded across", 65, kProgressCaption);
  shaded->SetColour(3, MakeColour(20, 90, 200));
  shaded->SetColour(4, MakeColour(200, 220, 255));

  const int y2 = 420;
  auto* along = MakeProgress(sheet, 10, y2, 140, 22, "shaded along", 70, kProgressShadeAlong);
  along->SetColour(3, MakeColour(200, 30, 30));
  along->SetColour(4, MakeColour(255, 230, 120));
  MakeProgress(sheet, 160, y2, 140, 22, "reversed", 30,
               kProgressSolid | kProgressReversed | kProgressCaption);
  auto* block =
      MakeProgress(sheet, 310, y2, 140, 22, "block mode", 55, kProgressSolid | kProgressBlock);
  block->SetBlockLength(30);
  auto* pictured = MakeProgress(sheet, 460, y2, 140, 22, "pictures", 60, kProgressCaption);
  pictured->SetPictures(pics.progressBackground, pics.progressBar);
  pictured->SetColour(0, MakeColour(255, 255, 255));
  pictured->SetColour(1, MakeColour(0, 0, 0));
  auto* empty =
      MakeProgress(sheet, 610, y2, 80, 22, "range 5..5", 0, kProgressSolid | kProgressCaption);
  empty->setRange(5, 5);
  auto* inset =
      MakeProgress(sheet, 700, y2, 90, 22, "insets 4/3", 45, kProgressSolid | kProgressCaption);
  inset->SetInsets(4, 3);

  auto* vertical = MakeProgress(sheet, 700, 468, 26, 70, "vertical", 60, kProgressSolid);
  vertical->setOrientation(Qt::Vertical);
  auto* verticalShade = MakeProgress(sheet, 750, 468, 26, 70, "v. shaded", 35, kProgressShadeAlong);
  verticalShade->setOrientation(Qt::Vertical);
  verticalShade->SetColour(3, MakeColour(30, 140, 60));
  verticalShade->SetColour(4, MakeColour(220, 250, 220));
}

void Sliders(Sheet& sheet) {
  sheet.Title(462, "Sliders");
  const int y = 482;
  auto* platform = Place<CMySliderCtrl>(sheet, 10, y, 150, 30, "platform");
  platform->setValue(30);
  auto* own = Place<CMySliderCtrl>(sheet, 170, y, 150, 30, "own, gradient");
  own->SetFlags(kFlagOwnDraw | kFlagGradientHorizontal);
  own->AddColour(MakeColour(255, 200, 120));
  own->AddColour(MakeColour(120, 200, 255));
  own->setValue(60);
  own->setTickPosition(QSlider::TicksBelow);
  auto* disabled = Place<CMySliderCtrl>(sheet, 330, y, 150, 30, "own, disabled");
  disabled->SetFlags(kFlagOwnDraw | kFlagGradientVertical);
  disabled->AddColour(MakeColour(230, 230, 230));
  disabled->AddColour(MakeColour(170, 170, 170));
  disabled->setValue(80);
  disabled->setEnabled(false);
  auto* vertical = new CMySliderCtrl(Qt::Vertical, &sheet);
  vertical->setGeometry(500, 470, 30, 80);
  sheet.Label(vertical->geometry(), "vertical");
  vertical->SetFlags(kFlagOwnDraw | kFlagGradientVertical);
  vertical->AddColour(MakeColour(200, 255, 200));
  vertical->AddColour(MakeColour(60, 140, 60));
  vertical->setValue(70);
  auto* transparent = Place<CMySliderCtrl>(sheet, 550, y, 130, 30, "transparent");
  transparent->SetFlags(kFlagOwnDraw | kFlagTransparent);
  transparent->setValue(20);
}

}  // namespace
}  // namespace roviro

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  QApplication::setStyle("Fusion");
  const std::string out = argc > 1 ? argv[1] : "gallery.png";

  roviro::Pictures pictures;
  roviro::Sheet sheet;
  roviro::PictureButtons(sheet, pictures);
  roviro::PushButtons(sheet);
  roviro::CheckAndRadio(sheet);
  roviro::Statics(sheet, pictures);
  roviro::ProgressBars(sheet, pictures);
  roviro::Sliders(sheet);
  sheet.show();
  QApplication::setActiveWindow(&sheet);
  QApplication::processEvents();

  QImage image = sheet.grab().toImage();
  // Only one control can hold the focus: draw each focus look in turn.
  {
    QPainter painter(&image);
    for (auto* b : sheet.findChildren<roviro::CMyButton*>()) {
      if (b->property("focusLook").toBool()) {
        b->setFocus();
        QApplication::processEvents();
        painter.drawImage(b->geometry().topLeft(), sheet.grab(b->geometry()).toImage());
      }
    }
  }
  if (image.size() != QSize(800, 600) || !image.save(QString::fromStdString(out))) {
    std::fprintf(stderr, "gallery: could not render or save %s\n", out.c_str());
    return 1;
  }
  std::printf("gallery: saved %s\n", out.c_str());
  return 0;
}
