#pragma once
// What the four data screens share: their page, their settings file, the controls they take
// from the pools and dress the same way, the status line, the progress bar fed by the
// workers, the message boxes and the enabling of the dialog's frame buttons.

#include <QPlainTextEdit>

#include <string>

#include "app/AppMessages.h"
#include "app/ControlPools.h"
#include "app/Screen.h"
#include "app/VQZodavaRozeDlg.h"
#include "device/VerifyUpload.h"
#include "records/Backups.h"
#include "records/ProgramSettings.h"
#include "records/ServiceHistory.h"

namespace roviro {

class CDataScreen : public CScreenDefaults {
 public:
  // Reads the page of `screenId` with `capacity` objects; `settingsFile` is the number of the
  // screen's "Screen 00N.sav".
  CDataScreen(CVQZodavaRozeDlg* dlg, int screenId, int capacity, int settingsFile, int fallbackPrev,
              int fallbackNext);

  // The settings file is created empty on leaving and read (and not used) on entering.
  void OnLeave() override;
  void OnEnter() override;

 protected:
  // Pooled controls, dressed, labelled and shown; each call takes element `index` of its
  // pool. ArrangeControls places them.
  CMyStatic* TakeLabel(int index, const std::string& text);
  CMyButton* TakeCommandButton(int index, const std::string& caption);
  CMyButton* TakeCheckButton(int index, const std::string& caption);
  QPlainTextEdit* TakeEdit(int index);
  // Appends `control` to the focus table.
  void AddFocus(QWidget* control);
  // The tooltip of page object `object` for `control`.
  void AddTip(QWidget* control, int object);

  // Replaces an edit's text without reaching the screen's change handler.
  static void SetEditText(QPlainTextEdit* edit, const std::string& text);
  static std::string EditText(const QPlainTextEdit* edit);

  // Text n of page object k, and line n of the dialog's message table.
  std::string PageText(int k, int n) const { return m_desc.Text(k, n); }
  std::string CommonText(int n) const { return m_dlg->CommonText(n); }

  // Message boxes on the dialog; `style` adds to top-most.
  int ErrorBox(const std::string& text, const std::string& caption);
  int InfoBox(const std::string& text, const std::string& caption);

  ParameterImage& Image() { return m_dlg->Image(); }
  LinkState& Link() { return m_dlg->Link().State(); }
  bool BoxConnected() const { return (m_dlg->StateFlags() & kStateBoxPresent) != 0; }
  bool DataLoaded() const { return (m_dlg->StateFlags() & kStateDataLoaded) != 0; }
  bool LinkBusy() const { return m_dlg->Link().State().Has(kLinkBusy); }

  // The status line: text (0, 1) with the port number when the box is connected, else (0, 0).
  void ShowBoxStatus(CMyStatic* line);
  // The timer-0 tick of a transfer: the workers' progress while the link is busy, otherwise the
  // top of the bar's range.
  void ShowTransferProgress(CMyProgressCtrl* bar);
  // Starts a transfer as the load-data and save-data screens do: the bar at 0 of 0..100,
  // timer 0 at 200 ms, job mask and mode in the link state.
  void PrepareTransfer(CMyProgressCtrl* bar, std::uint32_t job, int mode);

  // The folder the parameter-file dialogs offer: the one last used, also in an earlier run
  // (kept in Einstellungen.ini), at first the fitter's documents folder.
  std::string ParameterFolder() const;
  void RememberParameterFolder(const std::string& chosenFile);

  // The dialog's frame while this screen is current: every tab and both navigation buttons
  // off while `busy`; otherwise tabs 0 to 2 on, 3 and 4 only with a parameter set loaded.
  void EnableTabs(bool busy);

  // ---- the safety net (DataScreenSafety.cpp) ----
  // The program's settings, read afresh from Einstellungen.ini.
  ProgramSettings Settings() const;
  // The automatic backup of the set in the image, as the save-data screen saves it.
  BackupResult WriteSetBackup(BackupKind kind);
  // Tells the fitter of a failed backup, the first time in this run only.
  void TellBackupFailure(const BackupResult& result);
  // Appends a visit to the service history: `motor` false for a motor that could not be told
  // (the image does not hold its set), `operatingData` when block 0x30 came from the motor.
  void RecordVisit(VisitKind kind, bool motor, bool operatingData, const char* source,
                   const char* result);
  // Reads the written set back on a helper thread while the window keeps painting.
  VerifyReport VerifyWhilePainting(VerifyTarget target);

 private:
  int m_settingsFile;
  int m_focusCount = 0;
};

}  // namespace roviro
