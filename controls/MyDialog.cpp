#include "controls/MyDialog.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>

namespace roviro {

CMyDialog::CMyDialog(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {
  SetStyle(m_style);
}

void CMyDialog::SetStyle(std::uint32_t style) {
  m_style = style;
  setAttribute(Qt::WA_NoSystemBackground, !ErasesBackground());
  setAutoFillBackground(ErasesBackground());
  update();
}

HResult ChooseFolder(QWidget* owner, const std::string& title, std::string* path,
                     unsigned /*browseFlags*/) {
  if (!path) {
    return E_FAIL;
  }
  const QString chosen = QFileDialog::getExistingDirectory(
      owner, QString::fromLatin1(title.data(), static_cast<qsizetype>(title.size())), QString(),
      QFileDialog::ShowDirsOnly);
  if (chosen.isEmpty()) {
    return E_FAIL;
  }
  // The system's name of the folder (UTF-8), not an ISO-8859-1 text.
  const std::string native = QFile::encodeName(QDir::toNativeSeparators(chosen)).toStdString();
  if (native.size() >= 260) {
    return E_FAIL;  // longer than the program's path buffers
  }
  *path = native;
  return S_OK;
}

}  // namespace roviro
