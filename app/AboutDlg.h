#pragma once
// The about box (opened from the window menu's about entry) and the program's icon, which the
// window, its message boxes and the about box show.

#include <QDialog>
#include <QIcon>
#include <QPushButton>

#include <string>

class QLabel;

namespace roviro {

// The desktop id under which the program is installed: the name of its .desktop file, its
// AppStream component and its icon in the hicolor theme.
#ifdef ROVIRO_APP_ID
inline constexpr const char* kDesktopId = ROVIRO_APP_ID;
#else
inline constexpr const char* kDesktopId = "com.trevanic.RoviroDazo";
#endif

// The program's version as the caption and the about box give it ("1.5.1.001").
std::string ProgramVersion();

// The icon in every size found in the hicolor theme folder beside the program folder
// (<program>/icons/hicolor in the build tree, <program>/../icons/hicolor when installed),
// else the icon theme's; null when there is none.
QIcon LoadProgramIcon(const std::string& programFolder);

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(const QIcon& icon, QWidget* parent = nullptr);

  QString Text() const;
  QPushButton* OkButton() const { return m_ok; }

 private:
  QLabel* m_text = nullptr;
  QPushButton* m_ok = nullptr;
};

}  // namespace roviro
