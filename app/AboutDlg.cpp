#include "app/AboutDlg.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Translations.h"
#include "platform/Translation.h"

namespace roviro {

std::string ProgramVersion() { return "1.5.1.001"; }

QIcon LoadProgramIcon(const std::string& programFolder) {
  QIcon icon;
  const QString program = QString::fromLocal8Bit(programFolder.c_str());
  for (const QString& theme : {program + "/icons/hicolor", program + "/../icons/hicolor"}) {
    const QDir dir(theme);
    for (const QString& size : dir.entryList({"*x*"}, QDir::Dirs)) {
      const QString file = dir.filePath(size + "/apps/" + kDesktopId + ".png");
      if (QFileInfo::exists(file)) icon.addFile(file);
    }
    if (!icon.isNull()) return icon;
  }
  return QIcon::fromTheme(QString::fromLatin1(kDesktopId));
}

CAboutDlg::CAboutDlg(const QIcon& icon, QWidget* parent) : QDialog(parent) {
  setWindowTitle(
      QTx("Info \xFC"
          "ber RoviroDazo"));
  setModal(true);
  auto* picture = new QLabel(this);
  if (!icon.isNull()) picture->setPixmap(icon.pixmap(64, 64));
  picture->setAlignment(Qt::AlignTop);
  m_text = new QLabel(this);
  m_text->setText(QString::fromLatin1(
      ("<b>RoviroDazo</b><br>" + Tx("Version %1", {ProgramVersion()}) + "<br><br>" +
       Tx("Einstellen von Rohrmotoren mit der Programmierbox ZodavaRoze.") + "<br>\xA9 Trevanic")
          .c_str()));
  m_text->setTextFormat(Qt::RichText);
  m_ok = new QPushButton(QStringLiteral("OK"), this);
  m_ok->setDefault(true);
  connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* row = new QHBoxLayout;
  row->addWidget(picture);
  row->addSpacing(12);
  row->addWidget(m_text, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(m_ok);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addSpacing(8);
  layout->addLayout(buttons);
}

QString CAboutDlg::Text() const { return m_text->text(); }

}  // namespace roviro
