#include "screens/data/ScreenDatenspeichern.h"

#include <cstdio>

#include "controls/Fonts.h"
#include "platform/Paths.h"
#include "platform/TextEncoding.h"
#include "platform/Translation.h"
#include "records/ParameterFile.h"
#include "records/ScreenSettingsFile.h"
#include "rules/MotorList.h"

namespace roviro {

namespace {

constexpr int kObjIntro = 1;
constexpr int kObjSave = 2;
constexpr int kObjResult = 3;  // 0 ready ... 6 saved
constexpr int kObjUpload = 4;
constexpr int kObjUploadAnswers = 5;  // 0 other motor type, 1 failure, 2 success
constexpr int kObjStatusCaption = 6;
constexpr int kObjResultCaption = 7;
constexpr int kObjVerify = 8;  // 0 check box, 1 reading back, 2 every byte arrived

constexpr const char* kBoxOnlyUpload =
    TX_NOOP("Upload in ZodavaRoze erfolgreich.\nKein Rohrmotor angeschlossen.");
constexpr const char* kOkCaption = TX_NOOP("Ok...");
constexpr const char* kSettingNotKept =
    TX_NOOP("Die Einstellung konnte nicht gespeichert werden:\n");
// Why neither button can use the set, instead of a click that does nothing.
constexpr const char* kNoCompleteSet = TX_NOOP(
    "Es ist kein vollst\xE4ndiger Parametersatz vorhanden.\nW\xE4hlen Sie auf der Seite "
    "\"Daten laden\" einen Motortyp, \xF6"
    "ffnen Sie eine Parameterdatei oder laden Sie die "
    "Parameter aus dem Rohrmotor.");
// How many differing bytes the message box lists.
constexpr std::size_t kListedDifferences = 12;

constexpr int kLabelIntro = 0;
constexpr int kLabelStatusCaption = 1;
constexpr int kLabelStatus = 2;
constexpr int kLabelResultCaption = 3;
constexpr int kLabelResult = 4;

}  // namespace

CScreenDatenspeichern::CScreenDatenspeichern(CVQZodavaRozeDlg* dlg)
    : CDataScreen(dlg, 6, 20, kSettingsFileSaveData, 5, 7) {}

HResult CScreenDatenspeichern::TakeControls() {
  TakeLabel(kLabelIntro, PageText(kObjIntro, 0))->setFont(FontCache::Instance().Font(0));
  TakeLabel(kLabelStatusCaption, PageText(kObjStatusCaption, 0));
  TakeLabel(kLabelResultCaption, PageText(kObjResultCaption, 0));
  m_status = TakeLabel(kLabelStatus, {});
  m_result = TakeLabel(kLabelResult, {});
  for (CMyStatic* line : {m_status, m_result}) line->setFont(FontCache::Instance().Font(0));
  m_save = TakeCommandButton(0, PageText(kObjSave, 0));
  m_upload = TakeCommandButton(1, PageText(kObjUpload, 0));
  m_verify = TakeCheckButton(0, PageText(kObjVerify, 0));
  AddTip(m_verify, kObjVerify);
  AddTip(m_save, kObjSave);
  AddTip(m_upload, kObjUpload);
  AddFocus(m_save);
  AddFocus(m_upload);
  AddFocus(m_verify);
  m_progress = m_dlg->Pools().progress.Take(0);
  m_progress->show();
  return S_OK;
}

void CScreenDatenspeichern::ArrangeControls() {
  ControlPools& pools = m_dlg->Pools();
  pools.statics.At(kLabelIntro)->setGeometry(40, 60, 720, 52);
  m_save->setGeometry(210, 130, 200, 34);
  m_upload->setGeometry(430, 130, 200, 34);
  m_verify->setGeometry(430, 170, 330, 22);
  pools.statics.At(kLabelStatusCaption)->setGeometry(40, 200, 165, 20);
  m_status->setGeometry(210, 200, 550, 20);
  pools.statics.At(kLabelResultCaption)->setGeometry(40, 226, 165, 20);
  m_result->setGeometry(210, 226, 550, 20);
  m_progress->setGeometry(210, 256, 550, 18);
}

HResult CScreenDatenspeichern::FillControls() {
  ShowBoxStatus(m_status);
  m_result->SetText(PageText(kObjResult, 0));
  m_progress->setRange(0, 100);
  m_progress->setValue(0);
  m_verify->SetChecked(Settings().verifyUpload);
  return S_OK;
}

void CScreenDatenspeichern::OnTimer(unsigned id) {
  if (id == 0) ShowTransferProgress(m_progress);
}

void CScreenDatenspeichern::UpdateControls() {
  const bool uploading = Link().Has(kLinkUpload);
  m_save->setEnabled(!uploading);
  m_upload->setEnabled(!uploading && BoxConnected());
  // The choice is kept in the data folder; without one it cannot be kept.
  m_verify->setEnabled(!uploading && !m_dlg->Folder(FolderKind::SharedData).empty());
  EnableTabs(uploading);
  m_dlg->BackButton()->show();
  if (!uploading) {
    m_dlg->BackButton()->setEnabled(true);
    m_dlg->NextButton()->setEnabled(DataLoaded());
  }
}

void CScreenDatenspeichern::ClearJob() {
  Link().m_jobMask &= ~static_cast<std::uint32_t>(Link().m_mode.load());
}

int CScreenDatenspeichern::OnWindowMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t,
                                           std::intptr_t*) {
  switch (msg) {
    case kMsgSearchBegins:
      ShowBoxStatus(m_status);
      break;
    case kMsgBoxFound:
      ShowBoxStatus(m_status);
      m_dlg->KillTimer(0);
      m_progress->setValue(0);
      break;
    case kMsgTransferDone:
      ClearJob();
      m_dlg->State() &= ~kStateDataLoaded;
      m_dlg->KillTimer(0);
      // Written into the motor: the set is kept there.
      if (wParam != 1) m_dlg->MarkSetKept();
      if (wParam == 1) {
        // A motor of another type: nothing was written.
        m_progress->setValue(0);
        m_result->SetText(PageText(kObjResult, 3));
        RecordVisit(VisitKind::kUpload, false, false, "motor", kVisitOtherMotor);
        ErrorBox(PageText(kObjUploadAnswers, 0), CommonText(0));
      } else if (Settings().verifyUpload) {
        const char* result =
            VerifyAndTell(VerifyTarget::kMotor, PageText(kObjUploadAnswers, 2), Tx(kOkCaption));
        RecordVisit(VisitKind::kUpload, true, false, "motor", result);
        m_dlg->State() |= kStateDataLoaded;
      } else {
        m_progress->setValue(m_progress->maximum());
        m_result->SetText(PageText(kObjResult, 1));
        RecordVisit(VisitKind::kUpload, true, false, "motor", kVisitOk);
        InfoBox(PageText(kObjUploadAnswers, 2), Tx(kOkCaption));
        m_dlg->State() |= kStateDataLoaded;
      }
      m_dlg->PostMessage(kMsgRefresh);
      break;
    case kMsgTransferFailed:
      if ((Link().m_mode.load() & 2) == 0) break;
      Link().m_mode &= ~2;
      m_progress->setValue(0);
      m_dlg->KillTimer(0);
      if (wParam != 0) {
        // The worker has shown its error box with this code; nothing was written.
        const std::string code = std::to_string(wParam);
        m_result->SetText(PageText(kObjResult, 3) + " - " + Tx("Fehlercode %1", {code}));
        RecordVisit(VisitKind::kUpload, true, false, "motor",
                    (std::string(kVisitRefused) + "-" + code).c_str());
      } else {
        m_result->SetText(PageText(kObjResult, 3));
        RecordVisit(VisitKind::kUpload, true, false, "-", kVisitFailed);
        ErrorBox(PageText(kObjUploadAnswers, 1), CommonText(0));
      }
      m_dlg->PostMessage(kMsgRefresh);
      break;
    case kMsgBoxOnly:
      ClearJob();
      m_dlg->KillTimer(0);
      if (Settings().verifyUpload) {
        RecordVisit(VisitKind::kUpload, true, false, "box",
                    VerifyAndTell(VerifyTarget::kBox, Tx(kBoxOnlyUpload), CommonText(3)));
      } else {
        m_progress->setValue(m_progress->maximum());
        m_result->SetText(PageText(kObjResult, 2));
        RecordVisit(VisitKind::kUpload, true, false, "box", kVisitOk);
        InfoBox(Tx(kBoxOnlyUpload), CommonText(3));
      }
      m_dlg->PostMessage(kMsgRefresh);
      break;
    default:
      break;
  }
  return 0;
}

void CScreenDatenspeichern::OnCommand(QWidget* focus) {
  if (IgnoreCommandFrom(focus)) return;
  if (focus != nullptr && focus == m_save) {
    SaveFile();
  } else if (focus != nullptr && focus == m_upload) {
    StartUpload();
  } else {
    CScreenDefaults::OnCommand(focus);
  }
}

void CScreenDatenspeichern::OnButtonClicked(QWidget* focus) {
  if (focus == nullptr || focus != m_verify) return;
  ProgramSettings settings = Settings();
  settings.verifyUpload = (m_verify->State() & kStateChecked) != 0;
  if (!WriteProgramSettings(m_dlg->Folder(FolderKind::SharedData), settings)) {
    m_verify->SetChecked(!settings.verifyUpload);
    ErrorBox(Tx(kSettingNotKept) + ProgramSettingsPath(m_dlg->Folder(FolderKind::SharedData)),
             CommonText(0));
  }
}

const char* CScreenDatenspeichern::VerifyAndTell(VerifyTarget target,
                                                 const std::string& successText,
                                                 const std::string& successCaption) {
  m_result->SetText(PageText(kObjVerify, 1));
  m_progress->setValue(0);
  m_dlg->SetTimer(0, 200);
  const VerifyReport report = VerifyWhilePainting(target);
  m_dlg->KillTimer(0);
  if (report.outcome == VerifyOutcome::kMatch) {
    m_progress->setValue(m_progress->maximum());
    m_result->SetText(PageText(kObjVerify, 2));
    InfoBox(successText + "\n\n" + PageText(kObjVerify, 2), successCaption);
    return kVisitVerified;
  }
  m_progress->setValue(0);
  std::string text;
  if (report.outcome == VerifyOutcome::kMismatch) {
    text = Tx("Die Pr\xFC"
              "fung nach dem Upload hat %1 abweichende Bytes gefunden:",
              {std::to_string(report.differences.size())}) +
           "\n";
    for (std::size_t i = 0; i < report.differences.size() && i < kListedDifferences; ++i) {
      const ByteDifference& d = report.differences[i];
      char line[96];
      std::snprintf(line, sizeof line, "0x%02X", d.block);
      const std::string block = line;
      std::snprintf(line, sizeof line, "%02X", d.written);
      const std::string written = line;
      std::snprintf(line, sizeof line, "%02X", d.read);
      text += "\n" + Tx("%1 Block %2 Byte %3: geschrieben %4, gelesen %5",
                        {d.device == VerifyTarget::kBox ? Tx("Box") : Tx("Motor"), block,
                         std::to_string(d.byte), written, line});
    }
    if (report.differences.size() > kListedDifferences) text += "\n...";
  } else {
    text =
        Tx("Der Upload konnte nicht zur\xFC"
           "ckgelesen und gepr\xFC"
           "ft werden.");
  }
  m_result->SetText(text.substr(0, text.find('\n')));
  ErrorBox(text, CommonText(0));
  return report.outcome == VerifyOutcome::kMismatch ? kVisitMismatch : kVisitUnverified;
}

bool CScreenDatenspeichern::SetUsable() {
  if (Image().m_valid != 0) return true;
  m_result->SetText(Tx(kNoCompleteSet));
  InfoBox(Tx(kNoCompleteSet), CommonText(1));
  return false;
}

std::string CScreenDatenspeichern::ProposedFileName() {
  // The set's motor name (an ISO-8859-1 text) as a file name of the system's, with what a file
  // name cannot hold replaced, in the folder last used.
  std::string name = Latin1ToUtf8(Image().m_moName);
  for (char& c : name) {
    if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) c = '_';
  }
  const std::string folder = ParameterFolder();
  if (name.empty() || name == "." || name == "..") return folder;
  return JoinPath(folder, name + "." + kParameterFileExtension);
}

void CScreenDatenspeichern::SaveFile() {
  if (!SetUsable()) return;
  std::string chosen;
  if (!m_dlg->GetPrompts().SaveFileName(CommonText(21), ProposedFileName(), kParameterFileFilter,
                                        &chosen, kParameterFileExtension)) {
    return;  // cancelled: nothing changes
  }
  RememberParameterFolder(chosen);
  const HResult saved =
      SaveParameterFile(chosen, Image(), m_dlg->Contact(), m_dlg->CurrentCatalogue(),
                        m_dlg->Folder(FolderKind::Temp), m_dlg->GetClock().LocalNow());
  if (Failed(saved)) {
    ErrorBox(CommonText(18), CommonText(0));
    m_result->SetText(CommonText(18));
    return;
  }
  m_dlg->MarkSetKept();
  InfoBox(CommonText(19), CommonText(1));
  m_result->SetText(PageText(kObjResult, 6));
}

void CScreenDatenspeichern::StartUpload() {
  if (!SetUsable()) return;
  if (LinkBusy()) {
    m_dlg->PostMessage(kMsgRefresh);
    InfoBox(CommonText(10), CommonText(1));
    return;
  }
  if (!m_dlg->Confirm(Question::kWriteMotor,
                      MotorListLine(m_dlg->CurrentCatalogue(), m_dlg->LanguageDescription()),
                      Image().m_moName)) {
    return;
  }
  // What is about to be written is kept first; a failed backup does not hold the upload up.
  const BackupResult backup = WriteSetBackup(BackupKind::kWritten);
  PrepareTransfer(m_progress, 2, 2);
  m_dlg->Link().StartUpload();
  m_dlg->GetClock().SleepMs(100);
  m_dlg->PostMessage(kMsgRefresh);
  TellBackupFailure(backup);
}

}  // namespace roviro
