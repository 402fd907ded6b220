#include "TestPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QString>

namespace roviro::test {

std::string SaveImage(const TempFolder& folder, const std::string& name, const QImage& image) {
  const std::string path = folder.File(name);
  image.save(QString::fromStdString(path));
  return path;
}

QImage SolidImage(int width, int height, const QColor& colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

QImage ButtonFace(int width, int height, const QColor& body) {
  QImage image = SolidImage(width, height, kMagenta);
  QPainter p(&image);
  // No smoothing: every pixel is either exactly magenta or part of the body.
  p.setPen(Qt::NoPen);
  p.setBrush(body);
  p.drawRoundedRect(QRect(2, 2, width - 4, height - 4), 6, 6);
  p.setBrush(body.lighter(160));
  p.drawRect(QRect(width / 2 - 3, height / 2 - 3, 6, 6));
  return image;
}

QImage Checker(int width, int height, const QColor& a, const QColor& b, int cell) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.setPixelColor(x, y, ((x / cell + y / cell) % 2) ? b : a);
    }
  }
  return image;
}

}  // namespace roviro::test
