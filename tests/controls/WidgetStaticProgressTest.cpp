// The static, the progress bar, the slider and the dialog base drawn offscreen, and the
// folder choice.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

#include <functional>

#include "TestPictures.h"
#include "controls/MyDialog.h"
#include "controls/MyProgressCtrl.h"
#include "controls/MySliderCtrl.h"
#include "controls/MyStatic.h"

namespace roviro {
namespace {

int CountPixels(const QImage& image, const QColor& colour,
                const std::function<bool(int, int)>& where = {}) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((!where || where(x, y)) && image.pixelColor(x, y) == colour) {
        ++n;
      }
    }
  }
  return n;
}

QFont BigFont() {
  QFont font("Arial");
  font.setPixelSize(24);
  font.setBold(true);
  return font;
}

TEST(MyStatic, OwnTextInItsColourAndGreyWhenDisabled) {
  QWidget parent;
  CMyStatic s(&parent);
  s.resize(140, 40);
  s.setFont(BigFont());
  s.SetFlags(kFlagOwnDraw);
  s.SetTextColour(MakeColour(0, 0, 160));
  s.SetText("WWW");
  EXPECT_EQ(s.GetText(), "WWW");
  const QColor own(0, 0, 160);
  const QColor grey = s.palette().color(QPalette::Disabled, QPalette::WindowText);
  EXPECT_GT(CountPixels(s.grab().toImage(), own), 30);
  s.setEnabled(false);
  const QImage disabled = s.grab().toImage();
  EXPECT_EQ(CountPixels(disabled, own), 0);
  EXPECT_GT(CountPixels(disabled, grey), 30);
}

TEST(MyStatic, CentredTextSitsInTheMiddle) {
  QWidget parent;
  CMyStatic s(&parent);
  s.resize(200, 60);
  s.setFont(BigFont());
  s.SetFlags(kFlagOwnDraw);
  s.SetTextColour(MakeColour(0, 0, 0));
  s.SetText("I");
  s.SetStyle(kStyleCentre);
  const QImage centred = s.grab().toImage();
  EXPECT_EQ(CountPixels(centred, Qt::black, [](int x, int) { return x < 80 || x > 120; }), 0);
  EXPECT_EQ(CountPixels(centred, Qt::black, [](int, int y) { return y < 12 || y > 48; }), 0);
  EXPECT_GT(CountPixels(centred, Qt::black), 0);
  s.SetStyle(0);
  s.SetTextOptions(0x40);  // top-left, no vertical centring
  EXPECT_EQ(CountPixels(s.grab().toImage(), Qt::black, [](int x, int) { return x > 40; }), 0);
}

TEST(MyStatic, PreferredSizeAndReset) {
  CMyStatic s;
  s.resize(50, 20);
  EXPECT_EQ(s.GetPreferredSize(-1), (Size{50, 20}));
  EXPECT_EQ(s.GetPreferredSize(0), Size{});  // no text
  s.SetText("Zeile eins\\nZeile zwei");
  const Size two = s.GetPreferredSize(0);
  s.SetTextOptions(0);
  const Size one = s.GetPreferredSize(0);
  EXPECT_EQ(two.cy, 2 * one.cy);
  s.SetTextOptions(0x40);
  EXPECT_GT(s.GetPreferredSize(0x20000000).cy, two.cy);  // cut to the client width
  s.ResetToDefaults();
  EXPECT_EQ(s.GetTextOptions(), kStaticDefaultOptions);
}

class Progress : public ::testing::Test {
 protected:
  QWidget parent;
  CMyProgressCtrl bar{&parent};
  const QColor caption0{255, 0, 0};
  const QColor caption1{255, 255, 0};
  const QColor background{0, 0, 0};
  const QColor fill{0, 0, 255};

  void SetUp() override {
    bar.resize(200, 40);
    bar.setFont(BigFont());
    bar.setRange(0, 100);
    bar.setValue(50);
    bar.SetFlags(kFlagOwnDraw | kProgressSolid | kProgressCaption);
    bar.SetColour(0, MakeColour(255, 0, 0));
    bar.SetColour(1, MakeColour(255, 255, 0));
    bar.SetColour(2, MakeColour(0, 0, 0));
    bar.SetColour(3, MakeColour(0, 0, 255));
  }
};

TEST_F(Progress, CaptionChangesColourAtTheBarsEdge) {
  EXPECT_EQ(bar.Caption(), "50%");
  const QImage shot = bar.grab().toImage();
  auto left = [](int x, int) { return x < 100; };
  auto right = [](int x, int) { return x >= 100; };
  EXPECT_GT(CountPixels(shot, caption1, left), 10);
  EXPECT_EQ(CountPixels(shot, caption0, left), 0);
  EXPECT_GT(CountPixels(shot, caption0, right), 10);
  EXPECT_EQ(CountPixels(shot, caption1, right), 0);
  EXPECT_EQ(shot.pixelColor(2, 2), fill);
  EXPECT_EQ(shot.pixelColor(197, 2), background);
}

TEST_F(Progress, EmptyRangeHasNoBarAndNoCaption) {
  bar.setRange(5, 5);
  EXPECT_EQ(bar.Caption(), "");
  const QImage shot = bar.grab().toImage();
  EXPECT_EQ(CountPixels(shot, background), 200 * 40);
}

TEST_F(Progress, InsetsReversedAndPictures) {
  bar.SetInsets(-3, 4);
  EXPECT_EQ(bar.GetInsets(), (Rect{0, 4, 0, 4}));
  bar.ModifyFlags(kProgressCaption, kProgressReversed);
  QImage shot = bar.grab().toImage();
  EXPECT_EQ(shot.pixelColor(150, 2), background);  // the inset band
  EXPECT_EQ(shot.pixelColor(150, 20), fill);
  EXPECT_EQ(shot.pixelColor(50, 20), background);

  test::TempFolder folder;
  EXPECT_EQ(bar.SetPictures(test::SaveImage(folder, "bg.png", test::SolidImage(10, 10, Qt::green)),
                            folder.File("missing.png")),
            E_FAIL);
  ASSERT_EQ(bar.SetPictures(folder.File("bg.png"),
                            test::SaveImage(folder, "bar.png", test::SolidImage(4, 4, Qt::white))),
            S_OK);
  shot = bar.grab().toImage();
  EXPECT_EQ(shot.pixelColor(50, 20), QColor(Qt::green));
  EXPECT_EQ(shot.pixelColor(150, 20), QColor(Qt::white));
}

TEST_F(Progress, LimitsAndAnimation) {
  bar.SetInterval(5);
  EXPECT_EQ(bar.GetInterval(), 20u);
  bar.SetStep(0);
  EXPECT_EQ(bar.GetStep(), 1);
  bar.SetBlockLength(0);
  EXPECT_EQ(bar.GetBlockLength(), 1);
  EXPECT_EQ(bar.SetCaptionTemplate("%b von 100"), "%a%");
  EXPECT_EQ(bar.Caption(), "50 von 100");
  EXPECT_FALSE(bar.SetColour(5, 0));

  bar.SetStep(10);
  bar.setValue(95);
  bar.ModifyFlags(0, kProgressBounce);
  bar.AnimationTick();
  EXPECT_EQ(bar.value(), 95);
  EXPECT_EQ(bar.Motion() & kMotionBackwards, kMotionBackwards);
  bar.AnimationTick();
  EXPECT_EQ(bar.value(), 85);

  bar.ModifyFlags(kProgressBounce, 0);
  bar.SetMotion(0);
  bar.setValue(95);
  bar.AnimationTick();
  EXPECT_EQ(bar.value(), 0);

  bar.StartAnimation();
  EXPECT_TRUE(bar.IsAnimating());
  bar.ResetToDefaults();
  EXPECT_FALSE(bar.IsAnimating());
  EXPECT_EQ(bar.GetStep(), 10);
  EXPECT_EQ(bar.GetInterval(), 50u);
  EXPECT_EQ(bar.GetBlockLength(), 40);
  EXPECT_EQ(bar.GetColour(4), 0xC0C0C0u);
  EXPECT_EQ(bar.CaptionTemplate(), "%a%");
}

TEST(MySlider, OwnDrawShowsTheLayersBehindTheThumb) {
  QWidget parent;
  CMySliderCtrl slider(&parent);
  slider.resize(200, 30);
  slider.SetFlags(kFlagOwnDraw | kFlagGradientVertical);
  slider.AddColour(MakeColour(0, 128, 0));
  EXPECT_EQ(slider.grab().toImage().pixelColor(199, 1), QColor(0, 128, 0));
  slider.SetFlags(0);
  EXPECT_NE(slider.grab().toImage().pixelColor(199, 1), QColor(0, 128, 0));
  EXPECT_EQ(slider.GetPreferredSize(0), (Size{200, 30}));
}

TEST(MyDialog, BackgroundEraseFollowsTheStyleBit) {
  CMyDialog dialog;
  EXPECT_EQ(dialog.GetStyle(), kDialogNoErase);
  EXPECT_FALSE(dialog.ErasesBackground());
  EXPECT_TRUE(dialog.testAttribute(Qt::WA_NoSystemBackground));
  dialog.SetStyle(0);
  EXPECT_TRUE(dialog.ErasesBackground());
  EXPECT_FALSE(dialog.testAttribute(Qt::WA_NoSystemBackground));
  dialog.resize(40, 40);
  EXPECT_EQ(dialog.grab().toImage().pixelColor(20, 20), dialog.palette().color(QPalette::Window));
}

// Answers the folder dialog that ChooseFolder opens.
void AnswerFolderDialog(const QString& folder) {
  QTimer::singleShot(0, [folder] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    if (folder.isEmpty()) {
      dialog->reject();
    } else {
      dialog->setDirectory(folder);
      dialog->selectFile(folder);
      QMetaObject::invokeMethod(dialog, "accept");
    }
  });
}

TEST(ChooseFolder, ReturnsTheChosenFolderOrFailsOnCancel) {
  test::TempFolder folder;
  std::string path;
  AnswerFolderDialog(QString::fromStdString(folder.Path()));
  EXPECT_EQ(ChooseFolder(nullptr, "Ordner w\xE4hlen", &path), S_OK);
  EXPECT_EQ(path, folder.Path());
  AnswerFolderDialog(QString());
  path = "unchanged";
  EXPECT_EQ(ChooseFolder(nullptr, "Ordner", &path), E_FAIL);
  EXPECT_EQ(path, "unchanged");
  EXPECT_EQ(ChooseFolder(nullptr, "Ordner", nullptr), E_FAIL);
}

}  // namespace
}  // namespace roviro
