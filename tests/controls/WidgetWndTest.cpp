// The shared control features on real widgets: flags, colours, commands, groups, the captured
// background, the painted layers and the blink timer.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPainter>
#include <QWidget>

#include <memory>
#include <vector>

#include "TestPictures.h"
#include "controls/MySliderCtrl.h"
#include "controls/MyStatic.h"

namespace roviro {
namespace {

// A parent whose left half is red and right half blue.
class TwoColourSheet : public QWidget {
 public:
  TwoColourSheet() { resize(200, 50); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(0, 0, 100, 50, Qt::red);
    p.fillRect(100, 0, 100, 50, Qt::blue);
  }
};

// Records the control messages it receives.
class Recorder : public QWidget {
 public:
  std::vector<unsigned> messages;
  std::vector<std::intptr_t> extras;

 protected:
  bool event(QEvent* e) override {
    if (e->type() == ControlCommandEvent::EventType()) {
      auto* c = static_cast<ControlCommandEvent*>(e);
      messages.push_back(c->message);
      extras.push_back(c->lParam);
      return true;
    }
    return QWidget::event(e);
  }
};

TEST(MyWnd, FlagWordAndQueries) {
  CMyStatic s;
  s.SetFlags(0x0C);
  EXPECT_EQ(s.ModifyFlags(0x8, 0x10), 0x14u);
  EXPECT_EQ(s.GetFlags(), 0x14u);
  EXPECT_TRUE(s.IsFlag2());
  EXPECT_FALSE(s.IsTransparent());
  EXPECT_TRUE(s.NeedsErase());
  EXPECT_TRUE(s.IsGradientHorizontal());
  s.SetFlags(0x200 | 0x400 | 0x40 | 0x80 | 0x100 | 0x8);
  EXPECT_FALSE(s.NeedsErase());
  EXPECT_FALSE(s.UsesGradientArea());  // areas and margins still empty
  EXPECT_FALSE(s.UsesGradientMargins());
  EXPECT_FALSE(s.ShowsPicture());  // no picture loaded
  EXPECT_EQ(s.SetGradientArea({0, 0, 10, 10}), Rect{});
  EXPECT_EQ(s.SetGradientArea({1, 1, 5, 5}), (Rect{0, 0, 10, 10}));
  s.SetGradientMargins({2, 0, 0, 0});
  s.SetPictureArea({0, 0, 3, 3});
  s.SetPictureMargins({0, 0, 0, 1});
  EXPECT_TRUE(s.UsesGradientArea());
  EXPECT_TRUE(s.UsesGradientMargins());
  EXPECT_TRUE(s.UsesPictureArea());
  EXPECT_TRUE(s.UsesPictureMargins());
}

TEST(MyWnd, ColoursAndPictures) {
  test::TempFolder folder;
  CMySliderCtrl s;
  s.AddColour(0x0000FF);
  s.AddColour(0x00FF00);
  EXPECT_EQ(s.GetColour(1), 0x00FF00u);
  EXPECT_EQ(s.GetColour(3), 0xFF00FFu);
  s.ClearColours();
  EXPECT_EQ(s.GetColour(0), 0xFF00FFu);
  EXPECT_EQ(s.LoadPicture(folder.File("none.png"), 0, 0), E_FAIL);
  EXPECT_EQ(s.LoadPicture(test::SaveImage(folder, "t.png", test::SolidImage(3, 3, Qt::red)), 0x2,
                          0xFF00FF),
            S_OK);
  EXPECT_EQ(s.Picture().DrawMode(), 0x2u);
  s.SetFlags(0x40);
  EXPECT_TRUE(s.ShowsPicture());
  s.ResetToDefaults();
  EXPECT_FALSE(s.ShowsPicture());
}

TEST(MyWnd, CommandsEnableShowAndIgnoreInvalidate) {
  QWidget parent;
  CMyStatic s(&parent);
  std::intptr_t result = 7;
  EXPECT_TRUE(SendCommand(&s, kMsgEnable, 0, 0, &result));
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(s.isEnabled());
  EXPECT_TRUE(SendCommand(&s, kMsgEnable, 1));
  EXPECT_TRUE(s.isEnabled());
  EXPECT_TRUE(SendCommand(&s, kMsgShow, 0));
  EXPECT_TRUE(s.isHidden());
  PostCommand(&s, kMsgShow, 5);
  QCoreApplication::processEvents();
  EXPECT_FALSE(s.isHidden());
  EXPECT_FALSE(SendCommand(&s, kMsgInvalidate, 1));
  EXPECT_FALSE(SendCommand(&s, 0x10009, 1));
  // The first message gave the control its background source.
  EXPECT_EQ(s.BackgroundSource(), &parent);
}

TEST(MyObjGroup, MembershipAndWalking) {
  CMyObjGroup group;
  Recorder a;
  Recorder b;
  EXPECT_EQ(group.Add(nullptr), E_FAIL);
  EXPECT_EQ(group.Add(&a), S_OK);
  EXPECT_EQ(group.Add(&a), S_OK);
  EXPECT_EQ(group.Add(&b), S_OK);
  EXPECT_EQ(group.Count(), 2);
  int position = group.FirstPosition();
  EXPECT_EQ(group.Next(position), &a);
  EXPECT_EQ(group.Next(position), &b);
  EXPECT_EQ(position, -1);
  Recorder c;
  EXPECT_EQ(group.Remove(&c), E_FAIL);
  EXPECT_EQ(group.Remove(&a), S_OK);
  EXPECT_FALSE(group.Contains(&a));
  EXPECT_EQ(group.Remove(nullptr), S_OK);
  EXPECT_EQ(group.Count(), 0);
  EXPECT_EQ(group.FirstPosition(), -1);
}

TEST(MyObjGroup, BroadcastCommandsAndPostsUnknownCodes) {
  CMyObjGroup group;
  Recorder a;
  Recorder b;
  CMyStatic s;
  group.Add(&a);
  group.Add(&b);
  group.Add(&s);
  EXPECT_EQ(group.Broadcast(kMsgEnable, nullptr, 0, 0), S_OK);
  EXPECT_FALSE(a.isEnabled());
  EXPECT_FALSE(s.isEnabled());
  EXPECT_EQ(group.Broadcast(kMsgEnable, &b, 1, 0), S_OK);
  EXPECT_TRUE(b.isEnabled());
  EXPECT_FALSE(a.isEnabled());
  EXPECT_EQ(group.Broadcast(kMsgInvalidate, nullptr, 1, 0), S_OK);
  EXPECT_TRUE(a.messages.empty());  // commands are carried out, not posted

  EXPECT_EQ(group.Broadcast(0x12345, nullptr, 3, 44), S_OK);
  EXPECT_TRUE(a.messages.empty());  // posted, not sent
  QCoreApplication::processEvents();
  EXPECT_EQ(a.messages, std::vector<unsigned>{0x12345});
  EXPECT_EQ(b.messages, std::vector<unsigned>{0x12345});
  EXPECT_EQ(b.extras, std::vector<std::intptr_t>{44});

  auto gone = std::make_unique<Recorder>();
  group.Add(gone.get());
  gone.reset();
  EXPECT_EQ(group.Broadcast(kMsgEnable, nullptr, 1, 0), E_FAIL);
  EXPECT_TRUE(a.isEnabled());  // the living members still got it
}

TEST(MyWnd, TransparentControlKeepsItsFirstBackgroundUntilReleased) {
  TwoColourSheet sheet;
  CMyStatic s(&sheet);
  s.setGeometry(20, 10, 30, 30);
  s.SetFlags(kFlagOwnDraw | kFlagTransparent);
  QImage shot = sheet.grab().toImage();
  EXPECT_TRUE(s.HasBackground());
  EXPECT_EQ(shot.pixelColor(25, 15), QColor(Qt::red));

  s.move(120, 10);  // over the blue half now, still showing the red it captured
  shot = sheet.grab().toImage();
  EXPECT_EQ(shot.pixelColor(125, 15), QColor(Qt::red));

  EXPECT_TRUE(s.ReleaseBackground());
  EXPECT_FALSE(s.ReleaseBackground());
  shot = sheet.grab().toImage();
  EXPECT_EQ(shot.pixelColor(125, 15), QColor(Qt::blue));
}

TEST(MyWnd, CaptureBackgroundFromChecksItsInput) {
  CMyStatic s;
  s.resize(10, 10);
  const QImage source = test::SolidImage(40, 40, Qt::green);
  EXPECT_EQ(s.CaptureBackgroundFrom(nullptr, {0, 0, 5, 5}), E_FAIL);
  EXPECT_EQ(s.CaptureBackgroundFrom(&source, {0, 0, 0, 5}), E_FAIL);
  EXPECT_EQ(s.CaptureBackgroundFrom(&source, {5, 5, 40, 40}), S_OK);
  EXPECT_EQ(s.CapturedBackground().size(), QSize(10, 10));  // cut to the client
  CMyStatic empty;
  empty.resize(0, 10);
  EXPECT_EQ(empty.CaptureBackgroundFrom(&source, {0, 0, 5, 5}), E_FAIL);
}

TEST(MyWnd, GradientAndTiledPicturePaintTheClient) {
  test::TempFolder folder;
  QWidget parent;
  CMyStatic s(&parent);
  s.setGeometry(0, 0, 100, 20);
  s.SetFlags(kFlagOwnDraw | kFlagGradientHorizontal);
  s.AddColour(MakeColour(255, 0, 0));
  s.AddColour(MakeColour(0, 0, 255));
  s.AddColour(MakeColour(0, 255, 0));
  QImage shot = s.grab().toImage();
  EXPECT_EQ(shot.pixelColor(0, 10), QColor(255, 0, 0));
  EXPECT_EQ(shot.pixelColor(50, 10), QColor(0, 0, 255));
  EXPECT_EQ(shot.pixelColor(99, 10), QColor(0, 249, 5));

  s.SetGradientArea({0, 0, 100, 10});
  s.ModifyFlags(0, kFlagGradientArea);
  s.SetFlags(s.GetFlags() | kFlagPicture | kFlagPictureArea);
  s.SetPictureArea({0, 10, 100, 20});
  ASSERT_EQ(
      s.LoadPicture(test::SaveImage(folder, "c.png", test::Checker(8, 8, Qt::white, Qt::black, 4)),
                    0, 0),
      S_OK);
  shot = s.grab().toImage();
  EXPECT_EQ(shot.pixelColor(1, 11), QColor(Qt::white));
  EXPECT_EQ(shot.pixelColor(5, 11), QColor(Qt::black));
  EXPECT_EQ(shot.pixelColor(9, 11), QColor(Qt::white));  // the next tile
  EXPECT_EQ(shot.pixelColor(0, 5), QColor(255, 0, 0));   // gradient kept to its area
}

TEST(MyWnd, BlinkTimerTogglesTheEnabledState) {
  CMyStatic s;
  s.StartTimer(kBlinkTimer, 500);
  EXPECT_TRUE(s.IsTimerRunning());
  EXPECT_TRUE(s.GetFlags() & kFlagTimer);
  s.OnTimer(kBlinkTimer);
  EXPECT_FALSE(s.isEnabled());
  s.OnTimer(kBlinkTimer);
  EXPECT_TRUE(s.isEnabled());
  s.OnTimer(0x42);  // other timers do not blink
  EXPECT_TRUE(s.isEnabled());
  s.StopTimer(kBlinkTimer);
  EXPECT_FALSE(s.IsTimerRunning());
}

}  // namespace
}  // namespace roviro
