#pragma once
// The dialog's tooltip control: one text per control, shown only while the tooltips are
// active, wrapped to at most the maximum tip width.

#include <QPointer>
#include <QWidget>

#include <map>
#include <string>

namespace roviro {

class ToolTips {
 public:
  void SetMaxTipWidth(int pixels) { m_maxWidth = pixels; }
  int MaxTipWidth() const { return m_maxWidth; }

  // Adds or replaces the tip of `control` (ISO-8859-1 text).
  void AddTool(QWidget* control, const std::string& text);
  void DelTool(QWidget* control);
  void DelAll();
  void Activate(bool active);
  bool IsActive() const { return m_active; }
  // The tip stored for `control`, empty when none.
  std::string Text(QWidget* control) const;

  // `text` broken into lines no wider than `maxWidth` pixels in the tooltip font.
  static QString Wrap(const std::string& text, int maxWidth);

 private:
  void Apply(QWidget* control, const std::string& text) const;
  std::map<QWidget*, std::pair<QPointer<QWidget>, std::string>> m_tips;
  bool m_active = true;
  int m_maxWidth = 300;
};

}  // namespace roviro
