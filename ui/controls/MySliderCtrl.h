#pragma once
// CMySliderCtrl: a slider whose background, with flag bit 0, is painted by the shared layers
// before the style draws the tick marks, the channel and the thumb.

#include <QSlider>

#include "ui/controls/MyWnd.h"

namespace roviro {

class CMySliderCtrl : public QSlider, public CMyWnd {
  Q_OBJECT

 public:
  explicit CMySliderCtrl(QWidget* parent = nullptr);
  explicit CMySliderCtrl(Qt::Orientation orientation, QWidget* parent = nullptr);

  Size GetPreferredSize(int options) override;
  void ResetToDefaults() override;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
};

}  // namespace roviro
