// The owner-drawn button clicked, hovered, disabled and checked for real, with its look read
// back from grab() where the look is the behaviour.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <array>

#include "TestPictures.h"
#include "controls/MyButton.h"

namespace roviro {
namespace {

using test::SaveImage;
using test::SolidImage;

constexpr std::uint32_t kRadio = kButtonRadio | kButtonCaption;
constexpr std::uint32_t kCheck = kButtonCheckBox | kButtonCaption;

void Click(QWidget* w) {
  QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
  QCoreApplication::processEvents();
}

// A mouse move without buttons held, delivered straight to the button.
void MoveMouse(QWidget* w, QPoint at) {
  QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(w->mapToGlobal(at)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &move);
}

// Press inside, release outside the button.
void PressAndSlideOff(QWidget* w) {
  QTest::mousePress(w, Qt::LeftButton, {}, w->rect().center());
  QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(w->width() + 10, w->height() + 10));
  QCoreApplication::processEvents();
}

TEST(MyButton, InitialLook) {
  CMyButton b;
  EXPECT_TRUE(b.IsInitialised());
  EXPECT_EQ(b.GetLayout(), kButtonOwnLayout);
  EXPECT_EQ(b.StatePictures().DrawMode(), 0x472u);
  EXPECT_EQ(b.StatePictures().Key(), 0x50FF00FFu);
  EXPECT_EQ(b.Margins(), (Rect{2, 2, 2, 2}));
}

TEST(MyButton, RadioClickUnchecksTheOthersButNotPlainButtons) {
  QWidget parent;
  CMyButton r1(&parent);
  CMyButton r2(&parent);
  CMyButton r3(&parent);
  CMyButton plain(&parent);
  for (CMyButton* r : {&r1, &r2, &r3}) {
    r->SetFlags(kRadio);
    r->resize(60, 20);
  }
  plain.SetFlags(kButtonCaption | kButtonTrackMouse);
  plain.resize(60, 20);
  r1.JoinRadioGroup(&r2);
  r1.JoinRadioGroup(&r3);
  r2.JoinRadioGroup(&r3);
  r1.RadioGroup().Add(&plain);
  plain.RequestState(kRequestHoverOn);

  QSignalSpy clicked(&r2, &QAbstractButton::clicked);
  Click(&r1);
  EXPECT_TRUE(r1.IsCheckedToggle());
  Click(&r2);
  EXPECT_EQ(clicked.count(), 1);
  EXPECT_TRUE(r2.IsCheckedToggle());
  EXPECT_FALSE(r1.IsCheckedToggle());
  EXPECT_FALSE(r3.IsCheckedToggle());
  Click(&r2);  // clicking a checked radio button keeps it checked
  EXPECT_TRUE(r2.IsCheckedToggle());
  EXPECT_TRUE(plain.IsHovering());
  EXPECT_EQ(plain.State(), kStateHover);

  r3.SetChecked(true);
  QCoreApplication::processEvents();
  EXPECT_TRUE(r3.IsCheckedToggle());
  EXPECT_FALSE(r2.IsCheckedToggle());

  // A check box in the group list keeps its state, and a check given right after another
  // one's is not undone later by the event loop.
  CMyButton box(&parent);
  box.SetFlags(kCheck);
  r1.RadioGroup().Add(&box);
  box.SetChecked(true);
  r1.SetChecked(true);
  r2.SetChecked(true);
  QCoreApplication::processEvents();
  EXPECT_TRUE(box.IsCheckedToggle());
  EXPECT_TRUE(r2.IsCheckedToggle());
  EXPECT_FALSE(r1.IsCheckedToggle());
  r1.RadioGroup().Remove(&box);

  EXPECT_EQ(r1.LeaveRadioGroup(&r2), S_OK);
  EXPECT_FALSE(r1.RadioGroup().Contains(&r2));
  EXPECT_FALSE(r2.RadioGroup().Contains(&r1));
  EXPECT_EQ(plain.LeaveRadioGroup(), E_FAIL);  // only radio buttons
  EXPECT_EQ(r3.LeaveRadioGroup(), S_OK);
  EXPECT_FALSE(r1.RadioGroup().Contains(&r3));
  EXPECT_EQ(r3.RadioGroup().Count(), 0);
}

TEST(MyButton, ReleaseInsideFlipsReleaseOutsideKeeps) {
  QWidget parent;
  CMyButton box(&parent);
  box.SetFlags(kCheck);
  box.resize(80, 20);
  PressAndSlideOff(&box);
  EXPECT_FALSE(box.IsCheckedToggle());
  Click(&box);
  EXPECT_TRUE(box.IsCheckedToggle());
  PressAndSlideOff(&box);
  EXPECT_TRUE(box.IsCheckedToggle());
  Click(&box);
  EXPECT_FALSE(box.IsCheckedToggle());

  CMyButton radio(&parent);
  radio.SetFlags(kRadio);
  radio.resize(80, 20);
  PressAndSlideOff(&radio);
  EXPECT_FALSE(radio.IsCheckedToggle());
  Click(&radio);
  PressAndSlideOff(&radio);
  EXPECT_TRUE(radio.IsCheckedToggle());

  CMyButton push(&parent);
  push.SetFlags(kButtonCaption);
  push.resize(80, 20);
  Click(&push);
  EXPECT_EQ(push.State() & kStateChecked, 0u);
}

TEST(MyButton, CheckMessageAndBlinkingFreezeTheState) {
  CMyButton b;
  b.SetFlags(kButtonToggle | kButtonCaption);
  EXPECT_TRUE(SendCommand(&b, kMsgSetCheck, 1));
  EXPECT_TRUE(b.IsCheckedToggle());
  EXPECT_TRUE(b.isChecked());
  EXPECT_TRUE(SendCommand(&b, kMsgSetCheck, 0));
  EXPECT_FALSE(b.IsCheckedToggle());
  b.StartTimer(kBlinkTimer, 1000);
  b.SetChecked(true);  // replaced by the current state word while blinking
  EXPECT_FALSE(b.IsCheckedToggle());
  b.StopTimer(kBlinkTimer);
  b.SetChecked(true);
  EXPECT_TRUE(b.IsCheckedToggle());
}

class PictureButtons : public ::testing::Test {
 protected:
  // One colour per state frame: pressed, hover, disabled+checked, disabled, checked, normal.
  const std::array<QColor, 6> colours{QColor(200, 0, 0),  QColor(0, 200, 0),
                                      QColor(90, 90, 90), QColor(150, 150, 150),
                                      QColor(0, 0, 200),  QColor(200, 200, 0)};
  std::array<std::string, 6> names;
  test::TempFolder folder;

  void SetUp() override {
    for (int i = 0; i < 6; ++i) {
      names[i] = SaveImage(folder, "state" + std::to_string(i) + ".bmp",
                           test::ButtonFace(30, 20, colours[i]));
    }
  }

  bool Load(CMyButton& b) {
    return b.SetStatePictures(names[0], names[1], names[2], names[3], names[4], names[5]);
  }

  // The colour at the middle-left of the button's body, read from the parent's surface.
  static QColor BodyColour(QWidget& parent, CMyButton& b) {
    const QImage shot = parent.grab().toImage();
    return shot.pixelColor(b.geometry().center() + QPoint(-8, 0));
  }
};

TEST_F(PictureButtons, FourthPictureMissingFailsAndKeepsTheFirstThree) {
  CMyButton b;
  EXPECT_FALSE(b.SetStatePictures(names[0], names[1], names[2], folder.File("missing.bmp"),
                                  names[4], names[5]));
  EXPECT_EQ(b.StatePictures().Count(), 3);
  CMyButton ok;
  EXPECT_TRUE(Load(ok));
  EXPECT_EQ(ok.StatePictures().Count(), 6);
  EXPECT_EQ(ok.StatePictures().Current(), kFrameNormal);
}

TEST_F(PictureButtons, InaktivNameRuleLoadsPressedAndGreyPictures) {
  SaveImage(folder, "BtnInaktiv.bmp", SolidImage(8, 8, Qt::green));
  SaveImage(folder, "BtnPressed.bmp", SolidImage(8, 8, Qt::red));
  SaveImage(folder, "BtnGrey.bmp", SolidImage(8, 8, Qt::gray));
  CMyButton b;
  b.SetFlags(kButtonNamedPictures | kButtonStatePicture);
  ASSERT_TRUE(b.SetStatePicture(folder.File("BtnInaktiv.bmp"), true));
  const PictureHolder& h = b.StatePictures();
  ASSERT_EQ(h.Count(), 6);
  EXPECT_NE(h.Frame(kFramePressed)->fileName.find("BtnPressed.bmp"), std::string::npos);
  EXPECT_NE(h.Frame(kFrameDisabled)->fileName.find("BtnGrey.bmp"), std::string::npos);
  EXPECT_NE(h.Frame(kFrameDisabledChecked)->fileName.find("BtnGrey.bmp"), std::string::npos);
  EXPECT_NE(h.Frame(kFrameNormal)->fileName.find("BtnInaktiv.bmp"), std::string::npos);
  // Without bit 14 the name is the only picture; clearFirst empties the holder.
  b.SetFlags(kButtonStatePicture);
  ASSERT_TRUE(b.SetStatePicture(folder.File("BtnGrey.bmp"), true));
  EXPECT_EQ(h.Count(), 1);
}

TEST_F(PictureButtons, MagentaStaysTransparentAndEachStateShowsItsFrame) {
  QWidget parent;
  parent.resize(100, 60);
  parent.setAutoFillBackground(true);
  QPalette pal = parent.palette();
  pal.setColor(QPalette::Window, QColor(0, 255, 255));
  parent.setPalette(pal);
  CMyButton b(&parent);
  b.setGeometry(10, 10, 40, 30);
  b.SetFlags(kButtonNamedPictures | kButtonStatePicture | kButtonToggle | kButtonTrackMouse);
  ASSERT_TRUE(Load(b));

  QImage shot = parent.grab().toImage();
  // Picture 30 x 20 centred in 40 x 30: it starts at (15, 15) in the parent; its corner pixel
  // is magenta in the file and must show the parent.
  EXPECT_EQ(shot.pixelColor(15, 15), QColor(0, 255, 255));
  EXPECT_EQ(shot.pixelColor(12, 12), QColor(0, 255, 255));
  EXPECT_EQ(BodyColour(parent, b), colours[kFrameNormal]);

  MoveMouse(&b, b.rect().center());
  EXPECT_TRUE(b.IsHovering());
  EXPECT_EQ(BodyColour(parent, b), colours[kFrameHover]);
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(&b, &leave);
  EXPECT_FALSE(b.IsHovering());

  b.setDown(true);
  EXPECT_EQ(BodyColour(parent, b), colours[kFramePressed]);
  b.setDown(false);
  b.SetChecked(true);
  EXPECT_EQ(BodyColour(parent, b), colours[kFrameChecked]);
  b.setEnabled(false);
  EXPECT_EQ(BodyColour(parent, b), colours[kFrameDisabledChecked]);
  b.SetChecked(false);
  EXPECT_EQ(BodyColour(parent, b), colours[kFrameDisabled]);

  // A frozen picture ignores state changes.
  b.setEnabled(true);
  b.ModifyFlags(0, kButtonFrozenPicture);
  b.SetChecked(true);
  EXPECT_EQ(BodyColour(parent, b), colours[kFrameNormal]);
}

TEST_F(PictureButtons, HoverNeedsMouseTrackingAndEndsWhenDisabled) {
  QWidget parent;
  CMyButton b(&parent);
  b.resize(40, 30);
  b.SetFlags(kButtonStatePicture);
  ASSERT_TRUE(Load(b));
  MoveMouse(&b, b.rect().center());
  EXPECT_FALSE(b.IsHovering());
  EXPECT_EQ(b.State() & kStateHover, 0u);

  b.ModifyFlags(0, kButtonTrackMouse);
  MoveMouse(&b, QPoint(3, 3));
  EXPECT_TRUE(b.IsHovering());
  b.setEnabled(false);
  EXPECT_FALSE(b.IsHovering());
}

TEST(MyButton, Bit22HandsTheFocusBack) {
  QWidget window;
  window.resize(200, 100);
  QLineEdit edit(&window);
  CMyButton push(&window);
  CMyButton box(&window);
  push.setGeometry(0, 40, 60, 20);
  box.setGeometry(80, 40, 60, 20);
  push.SetFlags(kButtonCaption | kButtonNoFocus);
  box.SetFlags(kCheck | kButtonNoFocus);
  window.show();
  QApplication::setActiveWindow(&window);
  edit.setFocus();
  ASSERT_TRUE(edit.hasFocus());
  QSignalSpy clicked(&push, &QAbstractButton::clicked);
  Click(&push);
  EXPECT_EQ(clicked.count(), 1);
  EXPECT_TRUE(edit.hasFocus());
  box.setFocus();  // check boxes keep it
  EXPECT_TRUE(box.hasFocus());
}

TEST(MyButton, NothingToShowDrawsTheMarkerFrame) {
  QWidget parent;
  CMyButton b(&parent);
  b.resize(30, 20);
  b.SetFlags(0);
  const QImage shot = b.grab().toImage();
  EXPECT_EQ(shot.pixelColor(0, 0), QColor(0x01, 0x10, 0x01));
  EXPECT_EQ(shot.pixelColor(29, 19), QColor(0x01, 0x10, 0x01));
  b.SetFlags(kButtonCaption);
  b.SetCaption("OK");
  EXPECT_NE(b.grab().toImage().pixelColor(0, 0), QColor(0x01, 0x10, 0x01));
}

TEST(MyButton, CaptionIsDrawnAndGreyedWhenDisabled) {
  QWidget parent;
  CMyButton b(&parent);
  b.resize(120, 40);
  QFont font("Arial");
  font.setPixelSize(28);
  font.setBold(true);
  b.setFont(font);
  b.SetFlags(kButtonCaption);
  b.SetLayout(0x04002200);
  b.SetCaption("WWW");
  const QColor text = b.palette().color(QPalette::Active, QPalette::ButtonText);
  const QColor grey = b.palette().color(QPalette::Disabled, QPalette::WindowText);
  ASSERT_NE(text, grey);
  auto count = [&b](const QColor& c) {
    const QImage shot = b.grab().toImage();
    int n = 0;
    for (int y = 0; y < shot.height(); ++y) {
      for (int x = 0; x < shot.width(); ++x) {
        n += shot.pixelColor(x, y) == c;
      }
    }
    return n;
  };
  EXPECT_GT(count(text), 30);
  b.setEnabled(false);
  EXPECT_EQ(count(text), 0);
  EXPECT_GT(count(grey), 30);
}

TEST(MyButton, PreferredSize) {
  CMyButton b;
  b.resize(77, 33);
  QFont font("Arial");
  font.setPixelSize(8);
  b.setFont(font);
  b.SetCaption("OK");
  const Size s = b.GetPreferredSize(0);
  EXPECT_EQ(s.cy, 18);
  EXPECT_GT(s.cx, 20);
  EXPECT_EQ(b.GetPreferredSize(0x2000), (Size{77, 33}));
  b.SetCaption("");
  EXPECT_EQ(b.GetPreferredSize(0), Size{});
}

TEST(MyButton, ResetRestoresDefaults) {
  CMyButton a;
  CMyButton b;
  a.SetFlags(kRadio);
  b.SetFlags(kRadio);
  a.JoinRadioGroup(&b);
  a.SetLayout(0x1234);
  a.SetMargins({5, 5, 5, 5});
  a.SetCaptionArea({1, 1, 9, 9});
  a.SetChecked(true);
  a.ResetToDefaults();
  EXPECT_EQ(a.GetLayout(), 0u);
  EXPECT_EQ(a.State(), 0u);
  EXPECT_EQ(a.Margins(), (Rect{2, 2, 2, 2}));
  EXPECT_EQ(a.CaptionArea(), Rect{});
  EXPECT_EQ(a.RadioGroup().Count(), 0);
  EXPECT_FALSE(b.RadioGroup().Contains(&a));
}

}  // namespace
}  // namespace roviro
