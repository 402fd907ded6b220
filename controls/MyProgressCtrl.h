#pragma once
// CMyProgressCtrl: a progress bar that, with flag bit 0, draws itself: background picture or
// colour, a growing bar or a moving block (picture, solid or shaded), and a caption that
// changes colour exactly at the bar's edge.

#include <QProgressBar>

#include <array>
#include <cstdint>
#include <string>

#include "controls/MyWnd.h"
#include "controls/Pictures.h"
#include "controls/geometry/ProgressGeometry.h"

namespace roviro {

inline constexpr unsigned kAnimationTimer = 0x200000;

class CMyProgressCtrl : public QProgressBar, public CMyWnd {
  Q_OBJECT

 public:
  explicit CMyProgressCtrl(QWidget* parent = nullptr);

  void SetInsets(int left, int top, int right, int bottom);  // negative amounts become 0
  void SetInsets(int horizontal, int vertical);
  Rect GetInsets() const { return m_insets; }
  void SetBlockLength(int length);
  int GetBlockLength() const { return m_blockLength; }
  void SetInterval(int interval);
  unsigned GetInterval() const { return m_interval; }
  void SetStep(int step);
  int GetStep() const { return m_step; }
  // Colours 0 and 1 caption, 2 background, 3 bar, 4 the second shade colour.
  bool SetColour(int index, Colour rgb);
  Colour GetColour(int index) const;
  std::string SetCaptionTemplate(const std::string& text);
  const std::string& CaptionTemplate() const { return m_captionTemplate; }
  std::string Caption() const;
  // Frame 0 background, frame 1 bar; E_FAIL when either file cannot be loaded.
  HResult SetPictures(const std::string& background, const std::string& bar);
  std::uint32_t Motion() const { return m_motion; }
  void SetMotion(std::uint32_t motion) { m_motion = motion; }
  bool IsFlag29AndMotion1() const;

  void StartAnimation();
  void StopAnimation();
  bool IsAnimating() const { return m_animating; }
  // One step of the animation, as the timer does it.
  void AnimationTick();

  Size GetPreferredSize(int options) override;
  void ResetToDefaults() override;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  std::uint32_t m_motion = 0;
  std::array<Colour, 5> m_colours{};
  Rect m_insets;
  int m_blockLength = 40;
  unsigned m_interval = 50;
  int m_step = 10;
  std::string m_captionTemplate = "%a%";
  PictureHolder m_pictures;
  bool m_animating = false;
};

}  // namespace roviro
