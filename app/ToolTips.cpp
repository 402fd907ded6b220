#include "app/ToolTips.h"

#include <QFontMetrics>
#include <QStringList>
#include <QToolTip>

namespace roviro {

QString ToolTips::Wrap(const std::string& text, int maxWidth) {
  const QString all = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  if (maxWidth <= 0) return all;
  const QFontMetrics metrics(QToolTip::font());
  QStringList out;
  for (const QString& paragraph : all.split('\n')) {
    QString line;
    for (const QString& word : paragraph.split(' ')) {
      const QString candidate = line.isEmpty() ? word : line + ' ' + word;
      if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > maxWidth) {
        out.push_back(line);
        line = word;
      } else {
        line = candidate;
      }
    }
    out.push_back(line);
  }
  return out.join('\n');
}

void ToolTips::Apply(QWidget* control, const std::string& text) const {
  control->setToolTip(m_active && !text.empty() ? Wrap(text, m_maxWidth) : QString());
}

void ToolTips::AddTool(QWidget* control, const std::string& text) {
  if (control == nullptr) return;
  m_tips[control] = {QPointer<QWidget>(control), text};
  Apply(control, text);
}

void ToolTips::DelTool(QWidget* control) {
  const auto it = m_tips.find(control);
  if (it == m_tips.end()) return;
  if (it->second.first) it->second.first->setToolTip(QString());
  m_tips.erase(it);
}

void ToolTips::DelAll() {
  for (auto& [key, entry] : m_tips) {
    if (entry.first) entry.first->setToolTip(QString());
  }
  m_tips.clear();
}

void ToolTips::Activate(bool active) {
  m_active = active;
  for (auto& [key, entry] : m_tips) {
    if (entry.first) Apply(entry.first, entry.second);
  }
}

std::string ToolTips::Text(QWidget* control) const {
  const auto it = m_tips.find(control);
  return it == m_tips.end() ? std::string() : it->second.second;
}

}  // namespace roviro
