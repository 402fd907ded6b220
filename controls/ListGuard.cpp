#include "controls/ListGuard.h"

#include <QAbstractScrollArea>
#include <QKeyEvent>
#include <QVariant>
#include <QWidget>

namespace roviro {

namespace {

constexpr const char* kChoiceOnlyProperty = "roviroChoiceOnly";

// The control a watched object belongs to: the list itself for its viewport.
QWidget* OwnerOf(QObject* watched) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr) return nullptr;
  if (auto* area = qobject_cast<QAbstractScrollArea*>(widget->parentWidget());
      area != nullptr && area->viewport() == widget) {
    return area;
  }
  return widget;
}

bool IsStepKey(int key) {
  switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
      return true;
    default:
      return false;
  }
}

}  // namespace

void ListGuard::Guard(QWidget* control) {
  if (control == nullptr) return;
  if (control->focusPolicy() == Qt::WheelFocus) control->setFocusPolicy(Qt::StrongFocus);
  control->installEventFilter(this);
  if (auto* area = qobject_cast<QAbstractScrollArea*>(control)) {
    area->viewport()->installEventFilter(this);
  }
}

void ListGuard::SetChoiceOnly(QWidget* control, bool choiceOnly) {
  if (control != nullptr) control->setProperty(kChoiceOnlyProperty, choiceOnly);
}

bool ListGuard::ChoiceOnly(const QWidget* control) {
  return control != nullptr && control->property(kChoiceOnlyProperty).toBool();
}

bool ListGuard::eventFilter(QObject* watched, QEvent* event) {
  QWidget* owner = OwnerOf(watched);
  if (owner == nullptr) return false;
  if (event->type() == QEvent::Wheel) {
    // Swallowed: the window behind does not scroll either, it has nothing to scroll.
    if (!owner->hasFocus()) {
      event->ignore();
      return true;
    }
    return ChoiceOnly(owner);
  }
  if (event->type() == QEvent::KeyPress && watched == owner && ChoiceOnly(owner)) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (IsStepKey(key->key()) && !(key->modifiers() & Qt::AltModifier)) return true;
  }
  return false;
}

}  // namespace roviro
