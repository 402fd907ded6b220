#pragma once
// CMySliderCtrl: a slider whose background, with flag bit 0, is painted by the shared layers
// before the style draws the tick marks, the channel and the thumb.
//
// It reports what the fitter does (Scrolled, after the position has moved) and offers every
// paint to its parent before and after it draws (CustomDraw), as the platform's slider does
// with its scroll and custom-draw notifications. Both signals are emitted synchronously, so a
// notification can only reach whoever listens while the slider's own input is handled.

#include <QSlider>

#include "controls/MyWnd.h"

namespace roviro {

// Stages of a custom-draw notification.
inline constexpr unsigned kDrawPrePaint = 0x1;
inline constexpr unsigned kDrawPostPaint = 0x2;
// The listener's answer to the pre-paint stage: it has drawn the slider itself.
inline constexpr unsigned kDrawSkipDefault = 0x4;

struct SliderDraw {
  unsigned stage = kDrawPrePaint;
  QPainter* painter = nullptr;  // paints into the slider
  Rect rect;                    // the client rectangle
  unsigned answer = 0;          // set by the listener
};

class CMySliderCtrl : public QSlider, public CMyWnd {
  Q_OBJECT

 public:
  explicit CMySliderCtrl(QWidget* parent = nullptr);
  explicit CMySliderCtrl(Qt::Orientation orientation, QWidget* parent = nullptr);

  Size GetPreferredSize(int options) override;
  void ResetToDefaults() override;

 signals:
  // A QAbstractSlider action of the fitter's, once the slider's position shows its effect.
  void Scrolled(int action);
  void CustomDraw(SliderDraw* draw);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void sliderChange(SliderChange change) override;

 private:
  void OnActionTriggered(int action);

  int m_pendingAction = -1;  // an action whose new position is not applied yet
};

}  // namespace roviro
