#include "controls/MyProgressCtrl.h"

#include <QPainter>
#include <QTimerEvent>

#include <algorithm>
#include <utility>

#include "controls/Fonts.h"

namespace roviro {

namespace {

Colour FromQColor(const QColor& c) { return MakeColour(c.red(), c.green(), c.blue()); }
QColor ToQColor(Colour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

}  // namespace

CMyProgressCtrl::CMyProgressCtrl(QWidget* parent) : QProgressBar(parent), CMyWnd(this) {
  ResetToDefaults();
}

void CMyProgressCtrl::SetInsets(int left, int top, int right, int bottom) {
  m_insets = {std::max(0, left), std::max(0, top), std::max(0, right), std::max(0, bottom)};
  update();
}

void CMyProgressCtrl::SetInsets(int horizontal, int vertical) {
  SetInsets(horizontal, vertical, horizontal, vertical);
}

void CMyProgressCtrl::SetBlockLength(int length) { m_blockLength = LimitBlockLength(length); }

void CMyProgressCtrl::SetInterval(int interval) {
  m_interval = static_cast<unsigned>(LimitInterval(interval));
  if (m_animating) {
    StartAnimation();  // the new period takes effect at once
  }
}

void CMyProgressCtrl::SetStep(int step) { m_step = LimitStep(step); }

bool CMyProgressCtrl::SetColour(int index, Colour rgb) {
  if (index < 0 || index >= static_cast<int>(m_colours.size())) {
    return false;
  }
  m_colours[index] = rgb;
  update();
  return true;
}

Colour CMyProgressCtrl::GetColour(int index) const {
  if (index < 0 || index >= static_cast<int>(m_colours.size())) {
    return 0;
  }
  return m_colours[index];
}

std::string CMyProgressCtrl::SetCaptionTemplate(const std::string& text) {
  update();
  return std::exchange(m_captionTemplate, text);
}

std::string CMyProgressCtrl::Caption() const {
  return ProgressCaption(m_captionTemplate, minimum(), maximum(), value());
}

HResult CMyProgressCtrl::SetPictures(const std::string& background, const std::string& bar) {
  m_pictures.Clear();
  if (!m_pictures.AddFrame(background) || !m_pictures.AddFrame(bar)) {
    return E_FAIL;
  }
  update();
  return S_OK;
}

bool CMyProgressCtrl::IsFlag29AndMotion1() const {
  return (GetFlags() & kProgressFlag29) && (m_motion & kMotionFlag1);
}

void CMyProgressCtrl::StartAnimation() {
  SetWindowTimer(kAnimationTimer, m_interval);
  m_animating = true;
}

void CMyProgressCtrl::StopAnimation() {
  KillWindowTimer(kAnimationTimer);
  m_animating = false;
}

void CMyProgressCtrl::AnimationTick() {
  const int next = NextAnimationPosition(value(), minimum(), maximum(), m_step,
                                         (GetFlags() & kProgressBounce) != 0, &m_motion);
  setValue(next);
  update();
}

Size CMyProgressCtrl::GetPreferredSize(int /*options*/) { return {width(), height()}; }

void CMyProgressCtrl::ResetToDefaults() {
  StopAnimation();
  m_motion = 0;
  const QPalette& pal = palette();
  m_colours = {FromQColor(pal.color(QPalette::Active, QPalette::ButtonText)),
               FromQColor(pal.color(QPalette::Active, QPalette::HighlightedText)),
               FromQColor(pal.color(QPalette::Active, QPalette::Button)),
               FromQColor(pal.color(QPalette::Active, QPalette::Highlight)), 0xC0C0C0};
  m_insets = {};
  m_blockLength = 40;
  m_interval = 50;
  m_step = 10;
  m_captionTemplate = "%a%";
  m_pictures.Clear();
  Clear();
  update();
}

bool CMyProgressCtrl::event(QEvent* e) {
  if (RouteEvent(e)) {
    return true;
  }
  return QProgressBar::event(e);
}

void CMyProgressCtrl::timerEvent(QTimerEvent* e) {
  const unsigned id = TimerIdOf(e->timerId());
  if (!id) {
    QProgressBar::timerEvent(e);
    return;
  }
  OnTimer(id);
  if (id == kAnimationTimer) {
    AnimationTick();
  }
}

void CMyProgressCtrl::paintEvent(QPaintEvent* e) {
  if (!IsFlag0()) {
    QProgressBar::paintEvent(e);
    return;
  }
  QPainter p(this);
  PaintLayers(p);
  const Rect client{0, 0, width(), height()};
  const std::uint32_t flags = GetFlags();

  const bool havePictures = m_pictures.Count() >= 2;
  if (havePictures) {
    m_pictures.SetFrame(0);
    m_pictures.Draw(0, client, nullptr, p, 0);
  } else {
    p.fillRect(ToQRect(client), ToQColor(m_colours[2]));
  }

  ProgressBarInput in;
  in.area = Deflate(client, m_insets);
  in.minimum = minimum();
  in.maximum = maximum();
  in.position = value();
  in.vertical = orientation() == Qt::Vertical;
  in.flags = flags;
  in.motion = m_motion;
  in.blockLength = m_blockLength;
  const Rect bar = ProgressBarRect(in);
  if (!bar.IsEmpty()) {
    if (havePictures) {
      m_pictures.SetFrame(1);
      p.save();
      p.setClipRect(ToQRect(bar));
      m_pictures.Draw(0, (flags & kProgressStretch) ? bar : in.area, nullptr, p, 0);
      p.restore();
    } else if (flags & kProgressSolid) {
      p.fillRect(ToQRect(bar), ToQColor(m_colours[3]));
    } else {
      for (const ColourFill& f :
           PlanProgressShade(in, bar, m_colours[3], m_colours[4], p.device()->depth())) {
        p.fillRect(ToQRect(f.rect), ToQColor(f.colour));
      }
    }
  }

  const std::string caption = Caption();
  Size size;
  if ((flags & kProgressCaption) && !caption.empty() &&
      Succeeded(TextExtent(font(), caption, &size, 0, 15))) {
    const QRect rect = ToQRect(ProgressCaptionRect(client, in, bar, size));
    const QString text =
        QString::fromLatin1(caption.data(), static_cast<qsizetype>(caption.size()));
    p.setFont(font());
    // Outside the bar in colour 0, over the bar in colour 1.
    p.save();
    p.setClipRegion(QRegion(ToQRect(client)).subtracted(QRegion(ToQRect(bar))));
    p.setPen(ToQColor(m_colours[0]));
    p.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
    p.restore();
    if (!bar.IsEmpty()) {
      p.save();
      p.setClipRect(ToQRect(bar));
      p.setPen(ToQColor(m_colours[1]));
      p.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
      p.restore();
    }
  }
}

}  // namespace roviro
