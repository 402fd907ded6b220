#pragma once
// CMyStatic: a text label that, with flag bit 0, paints its own text over the shared layers,
// placed and greyed by its text options and style.

#include <QLabel>

#include <cstdint>
#include <string>

#include "controls/MyWnd.h"
#include "controls/geometry/ProgressGeometry.h"

namespace roviro {

class CMyStatic : public QLabel, public CMyWnd {
  Q_OBJECT

 public:
  explicit CMyStatic(QWidget* parent = nullptr);

  // Stores the text and repaints the part of the parent under the static, so that a
  // transparent static is drawn again over the parent's content.
  void SetText(const std::string& text);
  const std::string& GetText() const { return m_text; }
  void SetTextColour(Colour rgb);
  Colour GetTextColour() const { return m_textColour; }
  void SetTextOptions(std::uint32_t options);
  std::uint32_t GetTextOptions() const { return m_textOptions; }
  // The window style bits that shape the text (SS_CENTER, SS_RIGHT, SS_CENTERIMAGE,
  // SS_NOPREFIX, the ellipsis bits).
  void SetStyle(std::uint32_t style);
  std::uint32_t GetStyle() const { return m_style; }

  Size GetPreferredSize(int options) override;
  void ResetToDefaults() override;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  Colour m_textColour = 0;
  std::uint32_t m_textOptions = kStaticDefaultOptions;
  std::string m_text;
  std::uint32_t m_style = 0;
};

}  // namespace roviro
