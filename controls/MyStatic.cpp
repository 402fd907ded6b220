#include "controls/MyStatic.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTimerEvent>

#include "controls/Fonts.h"
#include "pages/TextHelpers.h"

namespace roviro {

namespace {

Colour FromQColor(const QColor& c) { return MakeColour(c.red(), c.green(), c.blue()); }

}  // namespace

CMyStatic::CMyStatic(QWidget* parent) : QLabel(parent), CMyWnd(this) { ResetToDefaults(); }

void CMyStatic::SetText(const std::string& text) {
  m_text = text;
  setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
  if (parentWidget()) {
    parentWidget()->update(geometry());
  } else {
    update();
  }
}

void CMyStatic::SetTextColour(Colour rgb) {
  m_textColour = rgb;
  update();
}

void CMyStatic::SetTextOptions(std::uint32_t options) {
  m_textOptions = options;
  update();
}

void CMyStatic::SetStyle(std::uint32_t style) {
  m_style = style;
  update();
}

Size CMyStatic::GetPreferredSize(int options) {
  if (options < 0) {
    return {width(), height()};
  }
  Size size;
  const int maxWidth = (options & 0x20000000) ? width() : 0;
  if (Failed(TextExtent(font(), m_text, &size, maxWidth, StaticMeasureOptions(m_textOptions)))) {
    return {};
  }
  return size;
}

void CMyStatic::ResetToDefaults() {
  m_textOptions = kStaticDefaultOptions;
  m_textColour = FromQColor(palette().color(QPalette::Active, QPalette::WindowText));
  Clear();
  update();
}

bool CMyStatic::event(QEvent* e) {
  if (RouteEvent(e)) {
    return true;
  }
  return QLabel::event(e);
}

void CMyStatic::timerEvent(QTimerEvent* e) {
  if (const unsigned id = TimerIdOf(e->timerId())) {
    OnTimer(id);
    return;
  }
  QLabel::timerEvent(e);
}

void CMyStatic::paintEvent(QPaintEvent* e) {
  if (!IsFlag0()) {
    QLabel::paintEvent(e);
    return;
  }
  QPainter p(this);
  PaintLayers(p);
  if (m_text.empty()) {
    return;
  }
  const Rect client{0, 0, width(), height()};
  Size size;
  if (Failed(TextExtent(font(), m_text, &size, 0, StaticMeasureOptions(m_textOptions)))) {
    return;
  }
  const Rect rect = StaticTextRect(client, size, m_textOptions, m_style);
  const StaticTextFormat format = MakeStaticTextFormat(m_style, m_textOptions);
  int flags = format.right ? Qt::AlignRight : format.centre ? Qt::AlignHCenter : Qt::AlignLeft;
  flags |= format.vCentre ? Qt::AlignVCenter : Qt::AlignTop;
  flags |= format.singleLine ? Qt::TextSingleLine : 0;
  flags |= (format.wordBreak && !format.singleLine) ? Qt::TextWordWrap : 0;
  flags |= format.noPrefix ? 0 : Qt::TextShowMnemonic;
  QString text = QString::fromLatin1(ExpandLineBreaks(m_text).c_str());
  if (format.ellipsis != Ellipsis::kNone && format.singleLine) {
    text = QFontMetrics(font()).elidedText(
        text, format.ellipsis == Ellipsis::kPath ? Qt::ElideMiddle : Qt::ElideRight, rect.Width());
  }
  p.setFont(font());
  p.setPen(isEnabled() ? QColor(RedOf(m_textColour), GreenOf(m_textColour), BlueOf(m_textColour))
                       : palette().color(QPalette::Disabled, QPalette::WindowText));
  p.drawText(ToQRect(rect), flags, text);
}

}  // namespace roviro
