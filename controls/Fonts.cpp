#include "controls/Fonts.h"

#include <QFontMetrics>
#include <QString>

#include <algorithm>
#include <cstdlib>

namespace roviro {

QFont FontCache::MakeFont(int height, int weight, const std::string& face) {
  QFont font(QString::fromLatin1(face.data(), static_cast<qsizetype>(face.size())));
  font.setPixelSize(std::max(1, std::abs(height)));
  font.setWeight(weight >= 700 ? QFont::Bold : QFont::Normal);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

FontCache::FontCache()
    : m_slots{MakeFont(-12, 400, "Arial"), MakeFont(-13, 700, "Arial"), MakeFont(-9, 400, "Arial"),
              MakeFont(-17, 700, "Arial"), MakeFont(-27, 700, "Arial"), MakeFont(-60, 700, "Arial"),
              MakeFont(-1, 400, "Arial")},
      m_other(MakeFont(-1, 400, "Arial")) {}

FontCache& FontCache::Instance() {
  static FontCache cache;
  return cache;
}

const QFont& FontCache::Font(int slot, int height, int /*width*/, int weight,
                             int /*pitchAndFamily*/, const std::string& face) {
  if (slot == 6 && height != 0 && weight != 0 && !face.empty()) {
    m_slots[6] = MakeFont(height, weight, face);
  }
  if (slot < 0 || slot >= static_cast<int>(m_slots.size())) {
    return m_other;
  }
  return m_slots[slot];
}

HResult TextExtent(const QFont& deviceFont, const std::string& text, Size* out, int maxWidth,
                   int options, const QFont* font) {
  if (!out || text.empty()) {
    return E_FAIL;
  }
  const QFontMetrics metrics(font ? *font : deviceFont);
  const MeasureLineFn measure = [&metrics](const std::string& line) {
    const QString s = QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
    return Size{metrics.horizontalAdvance(s), metrics.height()};
  };
  TextLayout layout;
  const HResult r = LayoutText(text, maxWidth, options, measure, &layout);
  if (Succeeded(r)) {
    *out = layout.size;
  }
  return r;
}

}  // namespace roviro
