#include "controls/MySliderCtrl.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimerEvent>

namespace roviro {

CMySliderCtrl::CMySliderCtrl(QWidget* parent) : CMySliderCtrl(Qt::Horizontal, parent) {}

CMySliderCtrl::CMySliderCtrl(Qt::Orientation orientation, QWidget* parent)
    : QSlider(orientation, parent), CMyWnd(this) {
  ResetToDefaults();
  connect(this, &QAbstractSlider::actionTriggered, this, &CMySliderCtrl::OnActionTriggered);
}

// The action is announced before the slider takes its new position. When the position will
// not change (already at the end) it is reported at once, otherwise as soon as the new value
// is in place.
void CMySliderCtrl::OnActionTriggered(int action) {
  if (sliderPosition() == value()) {
    m_pendingAction = -1;
    emit Scrolled(action);
    return;
  }
  m_pendingAction = action;
}

void CMySliderCtrl::sliderChange(SliderChange change) {
  QSlider::sliderChange(change);
  if (change == SliderValueChange && m_pendingAction >= 0) {
    const int action = m_pendingAction;
    m_pendingAction = -1;
    emit Scrolled(action);
  }
}

Size CMySliderCtrl::GetPreferredSize(int /*options*/) { return {width(), height()}; }

void CMySliderCtrl::ResetToDefaults() {
  Clear();
  update();
}

bool CMySliderCtrl::event(QEvent* e) {
  if (RouteEvent(e)) {
    return true;
  }
  return QSlider::event(e);
}

void CMySliderCtrl::timerEvent(QTimerEvent* e) {
  if (const unsigned id = TimerIdOf(e->timerId())) {
    OnTimer(id);
    return;
  }
  QSlider::timerEvent(e);
}

void CMySliderCtrl::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  SliderDraw draw;
  draw.painter = &p;
  draw.rect = {0, 0, width(), height()};
  emit CustomDraw(&draw);
  if (!(draw.answer & kDrawSkipDefault)) {
    if (!IsFlag0()) {
      p.end();
      QSlider::paintEvent(e);
      p.begin(this);
    } else {
      p.save();
      PaintLayers(p);
      p.restore();
      QStyleOptionSlider option;
      initStyleOption(&option);
      option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
      if (tickPosition() != QSlider::NoTicks) {
        option.subControls |= QStyle::SC_SliderTickmarks;
      }
      // Two pixels less at the far end, so the thumb never covers the layers' right edge.
      if (orientation() == Qt::Horizontal) {
        option.rect.setWidth(option.rect.width() - 2);
      } else {
        option.rect.setHeight(option.rect.height() - 2);
      }
      style()->drawComplexControl(QStyle::CC_Slider, &option, &p, this);
    }
  }
  draw.stage = kDrawPostPaint;
  draw.answer = 0;
  emit CustomDraw(&draw);
}

}  // namespace roviro
