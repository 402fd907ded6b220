#pragma once
// Screen 1, load data: the first screen of the work flow. The fitter obtains a parameter set
// by choosing a catalogue motor (its factory lines and its last data file), opening a
// parameter file, or downloading the set from the motor (or, without one, from the box).

#include <QComboBox>

#include "screens/data/DataScreen.h"

namespace roviro {

class CScreenDatenladen final : public CDataScreen {
 public:
  explicit CScreenDatenladen(CVQZodavaRozeDlg* dlg);

  void OnTimer(unsigned id) override;
  void UpdateControls() override;
  void ArrangeControls() override;
  int OnWindowMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam,
                      std::intptr_t* result) override;
  void StoreValues() override;
  HResult CommitIfChanged() override;
  void OnCommand(QWidget* focus) override;
  void OnButtonClicked(QWidget* focus) override;
  void OnComboSelChange(QWidget* focus) override;
  void OnEditChange(QWidget* focus) override;

 protected:
  HResult TakeControls() override;
  HResult FillControls() override;

 private:
  enum Field { kMotorName, kNumber1, kNumber2, kCompany, kName, kComment, kFieldCount };

  // Variant buttons, list line and selection, current catalogue motor. With `readDataFile`
  // the motor's data file is read and the six fields are filled from the image.
  void RefreshMotorList(bool readDataFile);
  void FillFields();
  void ShowResult(const std::string& text);
  void ShowResultWithFirmware(const std::string& text);
  // The result line for where the set came from (the dialog's SetOrigin()).
  enum SetOriginKind : int { kSetFromCatalogue = 0, kSetFromFile, kSetFromMotor, kSetFromBox };
  void ShowOrigin();
  void OpenParameterFile();
  // The folder the open-file dialog starts in: the motor's backups while the box is connected
  // and the motor has some, else the last one used.
  std::string OpenFolder() const;
  void StartDownload();
  // After a failed download: the loaded flag as it was before the download began.
  void KeepLoadedFlag();
  // Before the set is replaced: asks when it would be lost (typed texts count).
  bool MayReplaceSet();
  // After a download: the automatic backup and the visit in the service history.
  void KeepDownloadedSet(bool fromMotor);
  const Catalogue* SelectedCatalogue() const;

  std::array<QPlainTextEdit*, kFieldCount> m_fields{};
  std::array<CMyButton*, 2> m_variant{};
  CMyButton* m_open = nullptr;
  CMyButton* m_download = nullptr;
  QComboBox* m_motorList = nullptr;
  CMyStatic* m_status = nullptr;
  CMyStatic* m_result = nullptr;
  CMyProgressCtrl* m_progress = nullptr;
  bool m_loadedBeforeDownload = false;
};

}  // namespace roviro
