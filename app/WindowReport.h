#pragma once
// WindowReport: what the program's windows show, kept in a text file for tools that drive the
// program from outside through the display server (the real-window test). It only looks: it
// never changes, focuses or presses a control, so every action still has to arrive as real
// input. The program writes it when the environment variable ROVIRO_WINDOW_REPORT names a
// file.
//
// One line per thing shown, fields separated by tabs, positions in screen pixels:
//   window   <class> <x> <y> <w> <h> <active 0|1> <title>
//   control  <class> <id> <x> <y> <w> <h> <enabled 0|1> <focus 0|1> <text>
//   item     <class> <row> <x> <y> <w> <h> <text>      (rows of lists and entries of menus)
// Texts are UTF-8 with line breaks written as "\n" and tabs as blanks. The file is replaced
// as a whole (written beside it, then renamed), so a reader never sees half a report.

#include <QObject>
#include <QString>

class QTimer;

namespace roviro {

class WindowReport : public QObject {
 public:
  // Looks at the windows every `intervalMs` and rewrites `path` when what they show changed.
  WindowReport(QString path, int intervalMs, QObject* parent = nullptr);

  // The report of what is shown now.
  static QString Describe();

 private:
  void Refresh();

  QString m_path;
  QString m_last;
  QTimer* m_timer;
};

}  // namespace roviro
