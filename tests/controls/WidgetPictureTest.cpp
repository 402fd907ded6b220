// The shared picture cache, the picture holder's frames and drawing, the font cache and text
// measuring with real fonts.

#include <gtest/gtest.h>

#include <QPainter>

#include "TestPictures.h"
#include "controls/Fonts.h"
#include "controls/Pictures.h"
#include "platform/Paths.h"

namespace roviro {
namespace {

using test::SaveImage;
using test::SolidImage;
using test::TempFolder;

TEST(PictureCache, SameFileInAnyCaseIsLoadedOnceAndFreedWithTheLastRelease) {
  TempFolder folder;
  ASSERT_TRUE(CreateFolderTree(folder.File("Bilder")));
  SaveImage(folder, "Bilder/Taste.bmp", SolidImage(4, 3, Qt::red));
  PictureCache& cache = PictureCache::Instance();
  const int entries = cache.EntryCount();

  const std::string name = folder.File("Bilder/Taste.bmp");
  std::string other = folder.File("bilder/taste.BMP");
  const PictureRecord* first = cache.Acquire(name);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->image.size(), QSize(4, 3));
  EXPECT_EQ(cache.Acquire(other), first);
  EXPECT_EQ(cache.EntryCount(), entries + 1);
  EXPECT_EQ(cache.ReferenceCount(name), 2);

  EXPECT_EQ(cache.Release(first), S_OK);
  EXPECT_EQ(cache.ReferenceCount(name), 1);
  EXPECT_EQ(cache.Release(first), S_OK);
  EXPECT_EQ(cache.ReferenceCount(name), 0);
  EXPECT_EQ(cache.EntryCount(), entries);
  EXPECT_EQ(cache.Release(first), E_FAIL);  // no longer known
  EXPECT_EQ(cache.Release(nullptr), E_FAIL);
}

TEST(PictureCache, UnreadableFilesAreNotKept) {
  TempFolder folder;
  PictureCache& cache = PictureCache::Instance();
  const int entries = cache.EntryCount();
  EXPECT_EQ(cache.Acquire(folder.File("missing.bmp")), nullptr);
  EXPECT_EQ(cache.Acquire(""), nullptr);
  std::FILE* f = std::fopen(folder.File("broken.bmp").c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("BM this is not a picture", f);
  std::fclose(f);
  EXPECT_EQ(cache.Acquire(folder.File("broken.bmp")), nullptr);
  EXPECT_EQ(cache.EntryCount(), entries);
}

TEST(PictureHolder, FramesStepAndAFailedLoadIsRemembered) {
  TempFolder folder;
  const std::string a = SaveImage(folder, "a.png", SolidImage(5, 5, Qt::red));
  const std::string b = SaveImage(folder, "b.png", SolidImage(6, 6, Qt::green));
  const std::string c = SaveImage(folder, "c.png", SolidImage(7, 7, Qt::blue));
  {
    PictureHolder holder;
    EXPECT_FALSE(holder.IsLoaded());
    EXPECT_EQ(holder.FrameSize(), Size{});
    ASSERT_TRUE(holder.AddFrame(a));
    ASSERT_TRUE(holder.AddFrame(b));
    ASSERT_TRUE(holder.AddFrame(c));
    EXPECT_EQ(holder.Current(), 2);
    holder.NextFrame();
    EXPECT_EQ(holder.Current(), 2);
    holder.SetOptions(kPictureWrap);
    holder.NextFrame();
    EXPECT_EQ(holder.Current(), 0);
    EXPECT_EQ(holder.FrameSize(), (Size{5, 5}));
    holder.PreviousFrame();
    EXPECT_EQ(holder.Current(), 2);
    EXPECT_FALSE(holder.SetFrame(3));
    EXPECT_TRUE(holder.SetFrame(1));
    EXPECT_EQ(holder.FrameSize(), (Size{6, 6}));

    EXPECT_FALSE(holder.AddFrame(folder.File("none.png")));
    EXPECT_EQ(holder.Count(), 3);
    EXPECT_EQ(holder.Current(), 3);
    EXPECT_FALSE(holder.IsLoaded());
    QImage target = SolidImage(10, 10, Qt::white);
    QPainter p(&target);
    EXPECT_EQ(holder.Draw(0, {0, 0, 10, 10}, nullptr, p, 0), kDrawNothingLoaded);
    EXPECT_EQ(PictureCache::Instance().ReferenceCount(a), 1);
  }
  // The holder's destruction released every frame.
  EXPECT_EQ(PictureCache::Instance().ReferenceCount(a), 0);
  EXPECT_EQ(PictureCache::Instance().ReferenceCount(c), 0);
}

TEST(PictureHolder, KeyColourStaysTransparentAndModesPlaceThePicture) {
  TempFolder folder;
  QImage picture = SolidImage(10, 10, test::kMagenta);
  for (int y = 3; y < 7; ++y) {
    for (int x = 3; x < 7; ++x) {
      picture.setPixelColor(x, y, Qt::blue);
    }
  }
  PictureHolder holder;
  ASSERT_TRUE(holder.AddFrame(SaveImage(folder, "key.bmp", picture)));

  QImage target = SolidImage(20, 20, Qt::green);
  {
    QPainter p(&target);
    EXPECT_EQ(holder.Draw(0x50FF00FF, {0, 0, 20, 20}, nullptr, p, 0x472), kDrawOk);
  }
  EXPECT_EQ(target.pixelColor(5, 5), QColor(Qt::green));  // magenta corner of the picture
  EXPECT_EQ(target.pixelColor(10, 10), QColor(Qt::blue));
  EXPECT_EQ(target.pixelColor(2, 2), QColor(Qt::green));  // outside the centred picture

  // Without the key mode magenta is copied like any colour.
  target = SolidImage(20, 20, Qt::green);
  {
    QPainter p(&target);
    holder.Draw(0x50FF00FF, {0, 0, 20, 20}, nullptr, p, 0x10);
  }
  EXPECT_EQ(target.pixelColor(1, 1), test::kMagenta);

  // Blending with opacity 0x80 mixes the two colours about half and half.
  target = SolidImage(10, 10, Qt::black);
  {
    QPainter p(&target);
    holder.Draw(0x80000000, {0, 0, 10, 10}, nullptr, p, 0x1);
  }
  EXPECT_NEAR(target.pixelColor(0, 0).red(), 128, 2);
  EXPECT_EQ(target.pixelColor(0, 0).green(), 0);

  // Fitting a 10 x 10 picture into 20 x 10 keeps it square, centred.
  target = SolidImage(20, 10, Qt::green);
  {
    QPainter p(&target);
    holder.Draw(0, {0, 0, 20, 10}, nullptr, p, kDrawFit | kDrawCentreX);
  }
  EXPECT_EQ(target.pixelColor(2, 5), QColor(Qt::green));
  EXPECT_EQ(target.pixelColor(10, 5), QColor(Qt::blue));
  EXPECT_EQ(target.pixelColor(6, 1), test::kMagenta);

  QImage small = SolidImage(4, 4, Qt::white);
  QPainter p(&small);
  EXPECT_EQ(holder.Draw(0, {0, 0, 0, 4}, nullptr, p, 0), kDrawEmptyTarget);
  const Rect outside{50, 50, 60, 60};
  EXPECT_EQ(holder.Draw(0, {0, 0, 4, 4}, &outside, p, 0), kDrawEmptySource);
}

TEST(PictureHolder, AScaledWindowDrawsTheDetailPictureOfTwiceTheSize) {
  TempFolder folder;
  SaveImage(folder, "Logo.bmp", SolidImage(4, 3, Qt::red));
  SaveImage(folder, "Logo@2x.bmp", SolidImage(8, 6, Qt::blue));
  SaveImage(folder, "Odd.bmp", SolidImage(4, 3, Qt::red));
  SaveImage(folder, "Odd@2x.bmp", SolidImage(5, 5, Qt::blue));  // not twice the size: unused
  EXPECT_EQ(DetailPictureName("a.b/Logo.bmp"), "a.b/Logo@2x.bmp");
  EXPECT_EQ(DetailPictureName("a.b/Logo"), "a.b/Logo@2x");
  PictureHolder logo, odd;
  ASSERT_TRUE(logo.AddFrame(folder.File("Logo.bmp")));
  ASSERT_TRUE(odd.AddFrame(folder.File("Odd.bmp")));
  EXPECT_EQ(logo.FrameSize().cx, 4);  // places and sizes follow the picture itself

  auto draw = [](const PictureHolder& holder, qreal ratio) {
    QImage target(QSize(10, 10) * ratio, QImage::Format_RGB32);
    target.setDevicePixelRatio(ratio);
    target.fill(Qt::white);
    QPainter p(&target);
    EXPECT_EQ(holder.Draw(0, {1, 1, 5, 4}, nullptr, p, 0), kDrawOk);
    return target;
  };
  const QImage sharp = draw(logo, 2);
  EXPECT_EQ(sharp.pixelColor(2, 2), QColor(Qt::blue));  // device pixels of the logical (1, 1)
  EXPECT_EQ(sharp.pixelColor(9, 7), QColor(Qt::blue));
  EXPECT_EQ(sharp.pixelColor(10, 8), QColor(Qt::white));
  EXPECT_EQ(draw(logo, 1).pixelColor(2, 2), QColor(Qt::red));
  EXPECT_EQ(draw(odd, 2).pixelColor(4, 4), QColor(Qt::red));
}

TEST(FontCache, PreparedSlotsAndTheFreeSlot) {
  FontCache& fonts = FontCache::Instance();
  EXPECT_EQ(fonts.Font(0).pixelSize(), 12);
  EXPECT_EQ(fonts.Font(1).weight(), QFont::Bold);
  EXPECT_EQ(fonts.Font(1).pixelSize(), 13);
  EXPECT_EQ(fonts.Font(4).pixelSize(), 27);
  EXPECT_EQ(fonts.Font(0).family(), QString("Arial"));
  // Asking slot 5 for Helvetica at -12 still answers the prepared font.
  EXPECT_EQ(fonts.Font(5, -12, 0, 400, 0, "Helvetica").pixelSize(), 60);
  EXPECT_EQ(fonts.Font(6, -20, 0, 700, 0, "Courier").pixelSize(), 20);
  EXPECT_EQ(fonts.Font(6).family(), QString("Courier"));  // stays until asked again
  EXPECT_EQ(fonts.Font(6, -20, 0, 0, 0, "Arial").family(), QString("Courier"));
  EXPECT_EQ(fonts.Font(9).pixelSize(), 1);
  EXPECT_EQ(fonts.Font(-1).pixelSize(), 1);
}

TEST(TextExtentWithFont, MeasuresLinesAndFailsOnEmptyText) {
  const QFont& font = FontCache::Instance().Font(0);
  Size one;
  Size two;
  ASSERT_EQ(TextExtent(font, "Wert", &one, 0, 0), S_OK);
  ASSERT_EQ(TextExtent(font, "Wert\\nWert", &two, 0, kExtentMultiLine), S_OK);
  EXPECT_GT(one.cx, 2);
  EXPECT_EQ(two.cx, one.cx);
  EXPECT_EQ(two.cy, 2 * one.cy);
  Size big;
  ASSERT_EQ(TextExtent(font, "Wert", &big, 0, 0, &FontCache::Instance().Font(4)), S_OK);
  EXPECT_GT(big.cy, one.cy);
  EXPECT_EQ(TextExtent(font, "", &one, 0, 0), E_FAIL);
  EXPECT_EQ(TextExtent(font, "x", nullptr, 0, 0), E_FAIL);
}

}  // namespace
}  // namespace roviro
