#include "ui/controls/MySliderCtrl.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimerEvent>

namespace roviro {

CMySliderCtrl::CMySliderCtrl(QWidget* parent) : CMySliderCtrl(Qt::Horizontal, parent) {}

CMySliderCtrl::CMySliderCtrl(Qt::Orientation orientation, QWidget* parent)
    : QSlider(orientation, parent), CMyWnd(this) {
  ResetToDefaults();
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
  if (!IsFlag0()) {
    QSlider::paintEvent(e);
    return;
  }
  QPainter p(this);
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

}  // namespace roviro
