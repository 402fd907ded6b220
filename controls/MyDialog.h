#pragma once
// CMyDialog: the program's dialog base, which leaves its background unerased while style bit
// 0x400000 is set; and ChooseFolder, the folder choice dialog.

#include <QDialog>

#include <cstdint>
#include <string>

#include "platform/Result.h"

namespace roviro {

inline constexpr std::uint32_t kDialogNoErase = 0x400000;

class CMyDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CMyDialog(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

  std::uint32_t GetStyle() const { return m_style; }
  void SetStyle(std::uint32_t style);
  // True while the background is erased before painting.
  bool ErasesBackground() const { return !(m_style & kDialogNoErase); }

 private:
  std::uint32_t m_style = kDialogNoErase;
};

// Asks for a folder; writes its path (at most 260 characters) to `path` and returns S_OK, or
// E_FAIL when the fitter cancels or the path does not fit. `browseFlags` are kept for callers
// that pass them; the folder dialog shows folders only.
HResult ChooseFolder(QWidget* owner, const std::string& title, std::string* path,
                     unsigned browseFlags = 0);

}  // namespace roviro
