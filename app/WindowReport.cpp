#include "app/WindowReport.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSaveFile>
#include <QTimer>

#include <algorithm>

#include "app/ControlPools.h"

namespace roviro {

namespace {

constexpr int kMaxRowsPerView = 200;

QString Clean(QString text) {
  text.replace(QLatin1Char('\t'), QLatin1Char(' '));
  text.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
  text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
  return text;
}

// A rectangle of `widget`'s coordinates in screen pixels (the display server's, also when the
// window is scaled).
QString Place(const QWidget* widget, const QRect& local) {
  const qreal ratio = widget->devicePixelRatioF();
  const QPoint origin = widget->mapToGlobal(local.topLeft());
  return QStringLiteral("%1\t%2\t%3\t%4")
      .arg(qRound(origin.x() * ratio))
      .arg(qRound(origin.y() * ratio))
      .arg(qRound(local.width() * ratio))
      .arg(qRound(local.height() * ratio));
}

// The text a control shows; false for widgets that are only parts of other controls.
bool ShownText(const QWidget* w, QString* text) {
  if (const auto* label = qobject_cast<const QLabel*>(w)) {
    *text = label->text();
  } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
    *text = button->text();
  } else if (const auto* line = qobject_cast<const QLineEdit*>(w)) {
    *text = line->text();
  } else if (const auto* edit = qobject_cast<const QPlainTextEdit*>(w)) {
    *text = edit->toPlainText();
  } else if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
    *text = combo->currentText();
  } else if (const auto* bar = qobject_cast<const QProgressBar*>(w)) {
    *text = QString::number(bar->value());
  } else if (const auto* slider = qobject_cast<const QAbstractSlider*>(w)) {
    *text = QString::number(slider->value());
  } else if (qobject_cast<const QAbstractItemView*>(w) != nullptr || ControlId(w) != 0) {
    text->clear();
  } else {
    return false;
  }
  return true;
}

void DescribeRows(const QAbstractItemView* view, QString* out) {
  const QAbstractItemModel* model = view->model();
  if (model == nullptr) return;
  const QModelIndex root = view->rootIndex();
  const QRect shown = view->viewport()->rect();
  const int rows = std::min(model->rowCount(root), kMaxRowsPerView);
  const int columns = model->columnCount(root);
  for (int r = 0; r < rows; ++r) {
    const QRect rect = view->visualRect(model->index(r, 0, root));
    if (!rect.intersects(shown)) continue;
    QStringList cells;
    for (int c = 0; c < columns; ++c) cells << model->index(r, c, root).data().toString();
    *out += QStringLiteral("item\t%1\t%2\t%3\t%4\n")
                .arg(QString::fromLatin1(view->metaObject()->className()))
                .arg(r)
                .arg(Place(view->viewport(), rect.intersected(shown)))
                .arg(Clean(cells.join(QLatin1String(" | "))));
  }
}

void DescribeMenu(const QMenu* menu, QString* out) {
  const QList<QAction*> actions = menu->actions();
  for (int i = 0; i < actions.size(); ++i) {
    if (actions[i]->isSeparator() || !actions[i]->isVisible()) continue;
    *out += QStringLiteral("item\tQMenu\t%1\t%2\t%3\n")
                .arg(i)
                .arg(Place(menu, menu->actionGeometry(actions[i])))
                .arg(Clean(actions[i]->text()));
  }
}

void DescribeWindow(const QWidget* window, QString* out) {
  *out += QStringLiteral("window\t%1\t%2\t%3\t%4\n")
              .arg(QString::fromLatin1(window->metaObject()->className()))
              .arg(Place(window, window->rect()))
              .arg(window->isActiveWindow() ? 1 : 0)
              .arg(Clean(window->windowTitle()));
  if (const auto* menu = qobject_cast<const QMenu*>(window)) DescribeMenu(menu, out);
  for (const QWidget* w : window->findChildren<QWidget*>()) {
    QString text;
    // Controls of a window of their own (a combo box's list) are described with that window.
    if (!w->isVisible() || w->window() != window || w->rect().isEmpty() || !ShownText(w, &text)) {
      continue;
    }
    *out += QStringLiteral("control\t%1\t%2\t%3\t%4\t%5\t%6\n")
                .arg(QString::fromLatin1(w->metaObject()->className()))
                .arg(ControlId(w))
                .arg(Place(w, w->rect()))
                .arg(w->isEnabled() ? 1 : 0)
                .arg(w->hasFocus() ? 1 : 0)
                .arg(Clean(text));
    if (const auto* view = qobject_cast<const QAbstractItemView*>(w)) DescribeRows(view, out);
  }
}

}  // namespace

WindowReport::WindowReport(QString path, int intervalMs, QObject* parent)
    : QObject(parent), m_path(std::move(path)), m_timer(new QTimer(this)) {
  connect(m_timer, &QTimer::timeout, this, &WindowReport::Refresh);
  m_timer->start(intervalMs);
}

QString WindowReport::Describe() {
  QString out;
  for (const QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible()) DescribeWindow(window, &out);
  }
  return out;
}

void WindowReport::Refresh() {
  const QString now = Describe();
  if (now == m_last) return;
  QSaveFile file(m_path);
  if (!file.open(QIODevice::WriteOnly)) return;
  file.write(now.toUtf8());
  if (file.commit()) m_last = now;
}

}  // namespace roviro
