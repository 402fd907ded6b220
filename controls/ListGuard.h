#pragma once
// Lists change only by a deliberate choice. ListGuard sits on a list control (combo box, report
// list, time picker) and drops the mouse wheel while the control does not have the keyboard
// focus, so that a wheel turned to scroll the window never picks another entry. A control
// marked "choice only" also ignores the arrow keys: its entries are chosen from the opened
// list (a click, or Enter in it), never by stepping through them.

#include <QObject>

class QWidget;

namespace roviro {

class ListGuard final : public QObject {
  Q_OBJECT

 public:
  explicit ListGuard(QObject* parent = nullptr) : QObject(parent) {}

  // Guards `control` (and the viewport of a scrolled list): it no longer takes the focus from
  // a wheel either.
  void Guard(QWidget* control);
  static void SetChoiceOnly(QWidget* control, bool choiceOnly);
  static bool ChoiceOnly(const QWidget* control);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace roviro
