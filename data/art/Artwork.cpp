#include "Artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <functional>

namespace roviro::art {
namespace {

// The palette: one deep blue for everything active, an amber accent used sparingly for the
// current step, greys for disabled pictures and panels.
const QColor kBlueTop(0x2F, 0x66, 0x94);
const QColor kBlueBottom(0x1D, 0x44, 0x68);
const QColor kBlueEdge(0x15, 0x34, 0x52);
const QColor kHoverTop(0x3E, 0x7F, 0xB5);
const QColor kHoverBottom(0x27, 0x58, 0x85);
const QColor kHoverRing(0x9C, 0xC3, 0xE4);
const QColor kPressedTop(0x14, 0x31, 0x4D);
const QColor kPressedBottom(0x1D, 0x44, 0x68);
const QColor kGreyFace(0xE3, 0xE7, 0xEB);
const QColor kGreyEdge(0xC3, 0xCA, 0xD2);
const QColor kGreyGlyph(0xA5, 0xAF, 0xB9);
const QColor kAccent(0xE8, 0x9B, 0x2E);
const QColor kPanelTop(0xF5, 0xF7, 0xF9);
const QColor kPanelBottom(0xE6, 0xEB, 0xF0);
const QColor kRule(0xC6, 0xCF, 0xD8);
const QColor kInk(0x1D, 0x44, 0x68);
const QColor kMuted(0x7B, 0x87, 0x93);
const QColor kMagenta(0xFF, 0x00, 0xFF);

const char* const kFontFamily = "DejaVu Sans";

enum class Shape { RoundedSquare, Circle };

// A transparent picture of w x h pixels at scale 1; at scale 2 it has twice the pixels and is
// drawn on in the same coordinates.
QImage Canvas(int w, int h, int scale = 1) {
  QImage image(w * scale, h * scale, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(scale);
  image.fill(Qt::transparent);
  return image;
}

// Turns an antialiased picture with alpha into the keyed form the buttons draw: pixels that
// are mostly covered are laid over the dialog's white background (so their soft edges fit
// it), the rest become magenta and are not drawn at all.
QImage KeyOnMagenta(const QImage& source) {
  QImage out(source.size(), QImage::Format_RGB32);
  out.setDevicePixelRatio(source.devicePixelRatio());
  const QImage argb = source.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < argb.height(); ++y) {
    const QRgb* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < argb.width(); ++x) {
      const int a = qAlpha(in[x]);
      if (a < 110) {
        line[x] = kMagenta.rgb();
        continue;
      }
      auto over = [a](int c) { return (c * a + 255 * (255 - a)) / 255; };
      line[x] = qRgb(over(qRed(in[x])), over(qGreen(in[x])), over(qBlue(in[x])));
    }
  }
  return out;
}

QImage Opaque(const QImage& source) {
  QImage out(source.size(), QImage::Format_RGB32);
  out.setDevicePixelRatio(source.devicePixelRatio());
  out.fill(Qt::white);
  QPainter p(&out);
  p.drawImage(0, 0, source);
  p.end();
  return out;
}

void Antialias(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
}

// The face of a button: a gradient tile with a hairline edge, lighter with a halo when the
// mouse is over it, darker and without the top sheen when pressed, flat grey when disabled.
void DrawFace(QPainter& p, const QRectF& box, Shape shape, ButtonState state) {
  const qreal radius = shape == Shape::Circle ? box.width() / 2 : box.width() * 0.17;
  auto path = [&](const QRectF& r, qreal rr) {
    QPainterPath pp;
    if (shape == Shape::Circle) {
      pp.addEllipse(r);
    } else {
      pp.addRoundedRect(r, rr, rr);
    }
    return pp;
  };
  if (state == ButtonState::Hover) {
    p.setPen(Qt::NoPen);
    p.setBrush(kHoverRing);
    p.drawPath(path(box.adjusted(-2, -2, 2, 2), radius + 2));
  }
  QColor top = kBlueTop;
  QColor bottom = kBlueBottom;
  QColor edge = kBlueEdge;
  switch (state) {
    case ButtonState::Disabled:
      top = bottom = kGreyFace;
      edge = kGreyEdge;
      break;
    case ButtonState::Hover:
      top = kHoverTop;
      bottom = kHoverBottom;
      break;
    case ButtonState::Pressed:
      top = kPressedTop;
      bottom = kPressedBottom;
      break;
    case ButtonState::Normal:
      break;
  }
  QLinearGradient gradient(box.topLeft(), box.bottomLeft());
  gradient.setColorAt(0, top);
  gradient.setColorAt(1, bottom);
  p.setPen(QPen(edge, 1));
  p.setBrush(gradient);
  p.drawPath(path(box.adjusted(0.5, 0.5, -0.5, -0.5), radius));
  if (state == ButtonState::Normal || state == ButtonState::Hover) {
    // A faint sheen along the upper edge gives the tile some depth without a drop shadow.
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path(box.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1));
  }
}

using Glyph = std::function<void(QPainter&, const QColor&)>;

QPen Stroke(const QColor& c, qreal width) {
  return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A button picture of `size` pixels: face plus glyph drawn in a 64-unit design space.
QImage Button(int size, Shape shape, ButtonState state, const Glyph& glyph, int scale) {
  QImage image = Canvas(size, size, scale);
  QPainter p(&image);
  Antialias(p);
  const qreal inset = size >= 64 ? 3 : 2;
  DrawFace(p, QRectF(inset, inset, size - 2 * inset, size - 2 * inset), shape, state);
  const QColor ink = state == ButtonState::Disabled ? kGreyGlyph : QColor(Qt::white);
  p.save();
  if (state == ButtonState::Pressed) p.translate(1, 1);
  p.scale(size / 64.0, size / 64.0);
  glyph(p, ink);
  p.restore();
  p.end();
  return KeyOnMagenta(image);
}

// --- glyphs (64 x 64 design space) ---------------------------------------------------------

void GlyphLoad(QPainter& p, const QColor& c) {
  p.setPen(Stroke(c, 4));
  p.setBrush(Qt::NoBrush);
  QPainterPath tray;
  tray.moveTo(17, 36);
  tray.lineTo(17, 45);
  tray.quadTo(17, 48, 20, 48);
  tray.lineTo(44, 48);
  tray.quadTo(47, 48, 47, 45);
  tray.lineTo(47, 36);
  p.drawPath(tray);
  p.drawLine(QPointF(32, 15), QPointF(32, 38));
  QPainterPath head;
  head.moveTo(23.5, 29.5);
  head.lineTo(32, 38);
  head.lineTo(40.5, 29.5);
  p.drawPath(head);
}

void GlyphSettings(QPainter& p, const QColor& c) {
  const qreal ys[3] = {21, 32, 43};
  const qreal knobs[3] = {39, 25, 34};
  for (int i = 0; i < 3; ++i) {
    p.setPen(Stroke(c, 3));
    p.drawLine(QPointF(16, ys[i]), QPointF(48, ys[i]));
    // The knob's rim takes the face colour so that it seems to sit in a gap of the line.
    p.setPen(QPen(c == QColor(Qt::white) ? kBlueBottom : kGreyFace, 2));
    p.setBrush(c);
    p.drawEllipse(QPointF(knobs[i], ys[i]), 5, 5);
  }
}

void GlyphSave(QPainter& p, const QColor& c) {
  p.setPen(Stroke(c, 3.5));
  p.setBrush(Qt::NoBrush);
  QPainterPath body;
  body.moveTo(18, 17);
  body.lineTo(40, 17);
  body.lineTo(47, 24);
  body.lineTo(47, 46);
  body.quadTo(47, 48, 45, 48);
  body.lineTo(19, 48);
  body.quadTo(17, 48, 17, 46);
  body.lineTo(17, 19);
  body.quadTo(17, 17, 18, 17);
  p.drawPath(body);
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawRoundedRect(QRectF(23, 17, 15, 9), 1.5, 1.5);
  p.setPen(Stroke(c, 3));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(23, 34, 18, 14), 1.5, 1.5);
}

void GlyphTest(QPainter& p, const QColor& c) {
  p.setPen(QPen(c, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(c);
  QPolygonF up;
  up << QPointF(32, 12) << QPointF(42, 23) << QPointF(22, 23);
  p.drawPolygon(up);
  p.drawRoundedRect(QRectF(26.5, 27, 11, 10), 1.5, 1.5);
  QPolygonF down;
  down << QPointF(22, 41) << QPointF(42, 41) << QPointF(32, 52);
  p.drawPolygon(down);
}

void GlyphOperatingData(QPainter& p, const QColor& c) {
  p.setPen(Stroke(c, 3.5));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(32, 32), 16, 16);
  p.setPen(Stroke(c, 3.5));
  p.drawLine(QPointF(32, 32), QPointF(32, 22));
  p.drawLine(QPointF(32, 32), QPointF(39, 36));
  p.setPen(Stroke(c, 2));
  for (int i = 0; i < 4; ++i) {
    p.save();
    p.translate(32, 32);
    p.rotate(90.0 * i);
    p.drawLine(QPointF(0, -12.5), QPointF(0, -10.5));
    p.restore();
  }
}

void GlyphChevron(QPainter& p, const QColor& c, bool left) {
  p.setPen(Stroke(c, 5));
  p.setBrush(Qt::NoBrush);
  QPainterPath path;
  if (left) {
    path.moveTo(36, 19);
    path.lineTo(24, 32);
    path.lineTo(36, 45);
  } else {
    path.moveTo(28, 19);
    path.lineTo(40, 32);
    path.lineTo(28, 45);
  }
  p.drawPath(path);
}

void GlyphStart(QPainter& p, const QColor& c) {
  p.setPen(QPen(c, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(c);
  QPolygonF play;
  play << QPointF(27, 20) << QPointF(45, 32) << QPointF(27, 44);
  p.drawPolygon(play);
}

void GlyphLetters(QPainter& p, const QColor& c, const QString& letters) {
  QFont font(kFontFamily);
  font.setPixelSize(21);
  font.setBold(true);
  font.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
  p.setFont(font);
  p.setPen(c);
  p.drawText(QRectF(0, 14, 64, 30), Qt::AlignCenter, letters);
  p.setPen(Stroke(c, 2.5));
  p.drawLine(QPointF(22, 46), QPointF(42, 46));
}

void GlyphPlus(QPainter& p, const QColor& c) {
  p.setPen(Stroke(c, 6.5));
  p.drawLine(QPointF(32, 18), QPointF(32, 46));
  p.drawLine(QPointF(18, 32), QPointF(46, 32));
}

void GlyphMinus(QPainter& p, const QColor& c) {
  p.setPen(Stroke(c, 6.5));
  p.drawLine(QPointF(18, 32), QPointF(46, 32));
}

void GlyphDot(QPainter& p, const QColor& c) {
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawEllipse(QPointF(32, 32), 9, 9);
}

// --- logo and navigation strip --------------------------------------------------------------

// The emblem: a shutter box with its curtain half let down, in a blue tile.
void DrawEmblem(QPainter& p, const QRectF& r) {
  QLinearGradient gradient(r.topLeft(), r.bottomLeft());
  gradient.setColorAt(0, kBlueTop);
  gradient.setColorAt(1, kBlueBottom);
  p.setPen(Qt::NoPen);
  p.setBrush(gradient);
  p.drawRoundedRect(r, r.width() * 0.18, r.width() * 0.18);
  const qreal u = r.width() / 64.0;
  auto at = [&](qreal x, qreal y) { return QPointF(r.left() + x * u, r.top() + y * u); };
  // Guide rails left and right, the box at the top, the slats of the curtain below it.
  p.setBrush(QColor(255, 255, 255, 120));
  p.drawRoundedRect(QRectF(at(11, 14), at(13.5, 54)), 1 * u, 1 * u);
  p.drawRoundedRect(QRectF(at(50.5, 14), at(53, 54)), 1 * u, 1 * u);
  p.setBrush(QColor(255, 255, 255, 240));
  p.drawRoundedRect(QRectF(at(9, 10), at(55, 19)), 2.5 * u, 2.5 * u);
  p.setBrush(QColor(255, 255, 255, 205));
  for (int i = 0; i < 4; ++i) {
    const qreal y = 22 + i * 6.5;
    p.drawRoundedRect(QRectF(at(15, y), at(49, y + 4.5)), 1.2 * u, 1.2 * u);
  }
  p.setBrush(kAccent);
  p.drawRoundedRect(QRectF(at(15, 48), at(49, 50.5)), 1 * u, 1 * u);
}

QImage DrawLogo(int width, int height, qreal emblem, qreal nameSize, bool withMaker, int scale) {
  QImage image = Canvas(width, height, scale);
  QPainter p(&image);
  Antialias(p);
  const qreal top = (height - emblem) / 2;
  DrawEmblem(p, QRectF(4, top, emblem, emblem));
  QFont name(kFontFamily);
  name.setPixelSize(static_cast<int>(nameSize));
  name.setBold(true);
  p.setFont(name);
  p.setPen(kInk);
  const qreal textLeft = emblem + 4 + emblem * 0.28;
  if (withMaker) {
    p.drawText(QRectF(textLeft, top - 2, width - textLeft, emblem * 0.62),
               Qt::AlignLeft | Qt::AlignBottom, "RoviroDazo");
    QFont maker(kFontFamily);
    maker.setPixelSize(static_cast<int>(nameSize * 0.34));
    maker.setLetterSpacing(QFont::AbsoluteSpacing, nameSize * 0.07);
    p.setFont(maker);
    p.setPen(kMuted);
    p.drawText(QRectF(textLeft + 2, top + emblem * 0.66, width - textLeft, emblem * 0.3),
               Qt::AlignLeft | Qt::AlignTop, "TREVANIC  \xC2\xB7  ZODAVAROZE");
  } else {
    p.drawText(QRectF(textLeft, 0, width - textLeft, height), Qt::AlignLeft | Qt::AlignVCenter,
               "RoviroDazo");
  }
  p.end();
  return Opaque(image);
}

// The stations of the work flow, as the five main tabs order them.
int StationOfScreen(int id) {
  switch (id) {
    case 1:
      return 0;
    case 2:
    case 3:
    case 4:
    case 5:
    case 10:
    case 11:
    case 12:
      return 1;
    case 6:
      return 2;
    case 7:
      return 3;
    case 8:
      return 4;
    default:
      return -1;
  }
}

// For a settings screen: its place among the settings pages of its walk and their number.
std::pair<int, int> SettingsPage(int id) {
  switch (id) {
    case 2:
      return {0, 4};
    case 3:
    case 12:
      return {1, 4};
    case 4:
      return {2, 4};
    case 5:
      return {3, 4};
    case 10:
      return {0, 2};
    case 11:
      return {1, 2};
    default:
      return {-1, 0};
  }
}

QImage DrawNavigationStrip(int screenId, int scale) {
  const int width = 800;
  const int height = 90;
  QImage image = Canvas(width, height, scale);
  QPainter p(&image);
  Antialias(p);
  QLinearGradient panel(0, 0, 0, height);
  panel.setColorAt(0, kPanelTop);
  panel.setColorAt(1, kPanelBottom);
  p.fillRect(QRectF(0, 0, width, height), panel);
  p.fillRect(QRectF(0, 0, width, 1), kRule);
  p.fillRect(QRectF(0, 1, width, 1), Qt::white);

  // Five stations between the main tabs and the back button, joined by a rail.
  const qreal x0 = 414;
  const qreal step = 34;
  const qreal y = 46;
  p.setPen(QPen(kRule, 2));
  p.drawLine(QPointF(x0, y), QPointF(x0 + 4 * step, y));
  const int current = StationOfScreen(screenId);
  for (int i = 0; i < 5; ++i) {
    const QPointF c(x0 + i * step, y);
    if (i == current) {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(kAccent.red(), kAccent.green(), kAccent.blue(), 70));
      p.drawEllipse(c, 10, 10);
      p.setBrush(kBlueBottom);
      p.drawEllipse(c, 7, 7);
      p.setBrush(Qt::white);
      p.drawEllipse(c, 2.5, 2.5);
    } else {
      p.setPen(QPen(QColor(0xA9, 0xB4, 0xBF), 2));
      p.setBrush(Qt::white);
      p.drawEllipse(c, 5, 5);
    }
  }
  const auto [page, pages] = SettingsPage(screenId);
  if (page >= 0) {
    const qreal cx = x0 + step;
    const qreal gap = 8;
    const qreal left = cx - gap * (pages - 1) / 2.0;
    for (int i = 0; i < pages; ++i) {
      p.setPen(Qt::NoPen);
      p.setBrush(i == page ? kAccent : QColor(0xB9, 0xC3, 0xCD));
      p.drawEllipse(QPointF(left + i * gap, y + 17), 2.6, 2.6);
    }
  }
  p.end();
  return Opaque(image);
}

// --- the set --------------------------------------------------------------------------------

struct ButtonSpec {
  const char* stem;
  int size;
  Shape shape;
  Glyph glyph;
};

std::vector<ButtonSpec> Buttons() {
  return {
      {"TabLaden", 64, Shape::RoundedSquare, GlyphLoad},
      {"TabEinstellungen", 64, Shape::RoundedSquare, GlyphSettings},
      {"TabSpeichern", 64, Shape::RoundedSquare, GlyphSave},
      {"TabTest", 64, Shape::RoundedSquare, GlyphTest},
      {"TabBetrieb", 64, Shape::RoundedSquare, GlyphOperatingData},
      {"Zurueck", 64, Shape::RoundedSquare,
       [](QPainter& p, const QColor& c) { GlyphChevron(p, c, true); }},
      {"Weiter", 64, Shape::RoundedSquare,
       [](QPainter& p, const QColor& c) { GlyphChevron(p, c, false); }},
      {"Start", 64, Shape::Circle, GlyphStart},
      {"SpracheDE", 64, Shape::RoundedSquare,
       [](QPainter& p, const QColor& c) { GlyphLetters(p, c, "DE"); }},
      {"SpracheEN", 64, Shape::RoundedSquare,
       [](QPainter& p, const QColor& c) { GlyphLetters(p, c, "EN"); }},
      {"SpracheFR", 64, Shape::RoundedSquare,
       [](QPainter& p, const QColor& c) { GlyphLetters(p, c, "FR"); }},
      {"SpracheIT", 64, Shape::RoundedSquare,
       [](QPainter& p, const QColor& c) { GlyphLetters(p, c, "IT"); }},
      {"SpracheNL", 64, Shape::RoundedSquare,
       [](QPainter& p, const QColor& c) { GlyphLetters(p, c, "NL"); }},
      {"Plus", 32, Shape::Circle, GlyphPlus},
      {"Minus", 32, Shape::Circle, GlyphMinus},
      {"Taste", 32, Shape::RoundedSquare, GlyphDot},
  };
}

}  // namespace

std::vector<Picture> DrawAllPictures(int scale) {
  std::vector<Picture> out;
  const struct {
    const char* suffix;
    ButtonState state;
  } states[] = {{"Grey", ButtonState::Disabled},
                {"Inaktiv", ButtonState::Normal},
                {"Hover", ButtonState::Hover},
                {"Pressed", ButtonState::Pressed}};
  for (const ButtonSpec& b : Buttons()) {
    for (const auto& s : states) {
      out.push_back({QString("%1%2.bmp").arg(b.stem, s.suffix),
                     Button(b.size, b.shape, s.state, b.glyph, scale), true});
    }
  }
  out.push_back({"LogoGross.bmp", DrawLogo(400, 110, 84, 40, true, scale), false});
  out.push_back({"LogoKlein.bmp", DrawLogo(210, 44, 34, 21, false, scale), false});
  for (int id = 1; id <= 12; ++id) {
    out.push_back({QString("Navigation%1.bmp").arg(id, 2, 10, QChar('0')),
                   DrawNavigationStrip(id, scale), false});
  }
  return out;
}

QImage DrawIcon(int size) {
  QImage image = Canvas(size, size);
  QPainter p(&image);
  Antialias(p);
  // A small margin, as desktop icons keep; none at the smallest sizes, where every pixel counts.
  const qreal margin = size >= 32 ? size / 16.0 : 0;
  DrawEmblem(p, QRectF(margin, margin, size - 2 * margin, size - 2 * margin));
  p.end();
  return image;
}

QImage DrawContactSheet(const std::vector<Picture>& pictures) {
  const int width = 860;
  const int margin = 20;
  const int cell = 84;
  std::vector<const Picture*> buttons;
  std::vector<const Picture*> others;
  for (const Picture& pic : pictures) (pic.keyed ? buttons : others).push_back(&pic);
  const int rows = static_cast<int>(buttons.size() + 3) / 4;
  const int halfRows = (rows + 1) / 2;
  int height = margin * 2 + 30 + halfRows * cell + 20;
  int strips = 0;
  for (const Picture* pic : others) {
    if (pic->name.startsWith("Navigation")) {
      ++strips;
    } else {
      height += pic->image.height() + 28;
    }
  }
  height += (strips + 2) / 3 * (90 + 28);
  QImage sheet(width, height, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter p(&sheet);
  Antialias(p);
  QFont font(kFontFamily);
  font.setPixelSize(11);
  p.setFont(font);
  p.setPen(kMuted);
  const char* heads[] = {"disabled", "normal", "hover", "pressed"};
  for (int half = 0; half < 2; ++half) {
    for (int s = 0; s < 4; ++s) {
      p.drawText(QRectF(margin + half * 420 + 110 + s * 74, margin, 74, 20), Qt::AlignCenter,
                 heads[s]);
    }
  }
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    const int row = static_cast<int>(i / 4);
    const int half = row / halfRows;
    const int r = row % halfRows;
    const int s = static_cast<int>(i % 4);
    const QImage& img = buttons[i]->image;
    QImage keyed = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < keyed.height(); ++y) {
      QRgb* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
      for (int x = 0; x < keyed.width(); ++x) {
        if ((line[x] & 0xFFFFFFu) == 0xFF00FFu) line[x] = 0;
      }
    }
    const int cx = margin + half * 420 + 110 + s * 74 + 37;
    const int cy = margin + 30 + r * cell + 34;
    p.drawImage(cx - img.width() / 2, cy - img.height() / 2, keyed);
    if (s == 0) {
      QString stem = buttons[i]->name;
      stem.chop(static_cast<int>(QString("Grey.bmp").size()));
      p.setPen(kInk);
      p.drawText(QRectF(margin + half * 420, cy - 10, 104, 20), Qt::AlignLeft | Qt::AlignVCenter,
                 stem);
    }
  }
  // Logos whole; of the navigation frames only the part with the station marks, three in a
  // row, since the rest of every frame is the same plain panel.
  int y = margin + 30 + halfRows * cell + 20;
  const QRect stations(370, 0, 240, 90);
  int column = 0;
  for (const Picture* pic : others) {
    const bool strip = pic->name.startsWith("Navigation");
    const QImage shown = strip ? pic->image.copy(stations) : pic->image;
    const int x = margin + column * 275;
    p.setPen(kInk);
    p.drawText(QRectF(x, y, 260, 18), Qt::AlignLeft | Qt::AlignVCenter, pic->name);
    p.drawImage(x, y + 20, shown);
    p.setPen(QPen(kRule, 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(x - 0.5, y + 19.5, shown.width() + 1, shown.height() + 1));
    if (strip && column < 2) {
      ++column;
    } else {
      column = 0;
      y += shown.height() + 28;
    }
  }
  p.end();
  return sheet;
}

}  // namespace roviro::art
