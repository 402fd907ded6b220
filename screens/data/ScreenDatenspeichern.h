#pragma once
// Screen 6, save data: the end of the work flow. The set in the parameter image is saved as a
// parameter file or written into the motor and the box by the upload worker.

#include "screens/data/DataScreen.h"

namespace roviro {

class CScreenDatenspeichern final : public CDataScreen {
 public:
  explicit CScreenDatenspeichern(CVQZodavaRozeDlg* dlg);

  void OnTimer(unsigned id) override;
  void UpdateControls() override;
  void ArrangeControls() override;
  int OnWindowMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam,
                      std::intptr_t* result) override;
  void OnCommand(QWidget* focus) override;
  void OnButtonClicked(QWidget* focus) override;

 protected:
  HResult TakeControls() override;
  HResult FillControls() override;

 private:
  // Whether the set can be saved or written; if not, the fitter is told why.
  bool SetUsable();
  void SaveFile();
  // What the save dialog offers: the set's motor name as the file's name.
  std::string ProposedFileName();
  void StartUpload();
  // Clears the bits of the current mode in the job mask.
  void ClearJob();
  // With the read-back switched on: reads the written set back and tells how it compared
  // (instead of the plain success box); the result word for the service history.
  const char* VerifyAndTell(VerifyTarget target, const std::string& successText,
                            const std::string& successCaption);

  CMyButton* m_save = nullptr;
  CMyButton* m_upload = nullptr;
  CMyButton* m_verify = nullptr;  // read back after an upload (Einstellungen.ini)
  CMyStatic* m_status = nullptr;
  CMyStatic* m_result = nullptr;
  CMyProgressCtrl* m_progress = nullptr;
};

}  // namespace roviro
