#include "screens/data/ScreenDatenspeichern.h"

#include "screens/ParameterFile.h"
#include "screens/ScreenSettingsFile.h"
#include "ui/controls/Fonts.h"

namespace roviro {

namespace {

constexpr int kObjIntro = 1;
constexpr int kObjSave = 2;
constexpr int kObjResult = 3;  // 0 ready ... 6 saved
constexpr int kObjUpload = 4;
constexpr int kObjUploadAnswers = 5;  // 0 other motor type, 1 failure, 2 success
constexpr int kObjStatusCaption = 6;
constexpr int kObjResultCaption = 7;

constexpr const char* kBoxOnlyUpload =
    "Upload in ZodavaRoze erfolgreich.\nKein Rohrmotor angeschlossen.";
constexpr const char* kOkCaption = "Ok...";

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
  AddTip(m_save, kObjSave);
  AddTip(m_upload, kObjUpload);
  AddFocus(m_save);
  AddFocus(m_upload);
  m_progress = m_dlg->Pools().progress.Take(0);
  m_progress->show();
  return S_OK;
}

void CScreenDatenspeichern::ArrangeControls() {
  ControlPools& pools = m_dlg->Pools();
  pools.statics.At(kLabelIntro)->setGeometry(40, 60, 720, 52);
  m_save->setGeometry(210, 130, 200, 34);
  m_upload->setGeometry(430, 130, 200, 34);
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
  return S_OK;
}

void CScreenDatenspeichern::OnTimer(unsigned id) {
  if (id == 0) ShowTransferProgress(m_progress);
}

void CScreenDatenspeichern::UpdateControls() {
  const bool uploading = Link().Has(kLinkUpload);
  m_save->setEnabled(!uploading);
  m_upload->setEnabled(!uploading && BoxConnected());
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
      if (wParam == 1) {
        // A motor of another type: nothing was written.
        m_progress->setValue(0);
        m_result->SetText(PageText(kObjResult, 3));
        ErrorBox(PageText(kObjUploadAnswers, 0), CommonText(0));
      } else {
        m_progress->setValue(m_progress->maximum());
        m_result->SetText(PageText(kObjResult, 1));
        InfoBox(PageText(kObjUploadAnswers, 2), kOkCaption);
        m_dlg->State() |= kStateDataLoaded;
      }
      m_dlg->PostMessage(kMsgRefresh);
      break;
    case kMsgTransferFailed:
      if ((Link().m_mode.load() & 2) == 0) break;
      Link().m_mode &= ~2;
      m_progress->setValue(0);
      m_dlg->KillTimer(0);
      m_result->SetText(PageText(kObjResult, 3));
      ErrorBox(PageText(kObjUploadAnswers, 1), CommonText(0));
      m_dlg->PostMessage(kMsgRefresh);
      break;
    case kMsgBoxOnly:
      ClearJob();
      m_dlg->KillTimer(0);
      m_progress->setValue(m_progress->maximum());
      m_result->SetText(PageText(kObjResult, 2));
      InfoBox(kBoxOnlyUpload, CommonText(3));
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

void CScreenDatenspeichern::SaveFile() {
  if (Image().m_valid == 0) return;
  std::string chosen;
  if (!m_dlg->GetPrompts().SaveFileName({}, ParameterFolder(), kParameterFileFilter, &chosen,
                                        kParameterFileExtension)) {
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
  InfoBox(CommonText(19), CommonText(1));
  m_result->SetText(PageText(kObjResult, 6));
}

void CScreenDatenspeichern::StartUpload() {
  if (Image().m_valid == 0) return;
  if (LinkBusy()) {
    m_dlg->PostMessage(kMsgRefresh);
    InfoBox(CommonText(10), CommonText(1));
    return;
  }
  PrepareTransfer(m_progress, 2, 2);
  m_dlg->Link().StartUpload();
  m_dlg->GetClock().SleepMs(100);
  m_dlg->PostMessage(kMsgRefresh);
}

}  // namespace roviro
