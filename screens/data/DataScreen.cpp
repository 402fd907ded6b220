#include "screens/data/DataScreen.h"

#include <QStandardPaths>

#include "app/AppMessages.h"
#include "controls/Fonts.h"
#include "platform/Paths.h"
#include "records/ScreenSettingsFile.h"
#include "rules/DataScreenRules.h"

namespace roviro {

namespace {

// Push buttons with a frame and their caption; check buttons with the box left of the caption.
constexpr std::uint32_t kCommandButtonFlags =
    kButtonPushFrame | kButtonCaption | kButtonTrackMouse | kButtonFocusCaption;
constexpr std::uint32_t kCommandButtonLayout = 0x14002200;
constexpr std::uint32_t kCheckButtonFlags =
    kButtonCheckBox | kButtonCaption | kButtonTrackMouse | kButtonFocusCaption;
constexpr std::uint32_t kCheckButtonLayout = 0x10082020;

QString Latin1(const std::string& s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

std::string& LastParameterFolder() {
  static std::string folder;
  return folder;
}

}  // namespace

CDataScreen::CDataScreen(CVQZodavaRozeDlg* dlg, int screenId, int capacity, int settingsFile,
                         int fallbackPrev, int fallbackNext)
    : CScreenDefaults(dlg, screenId, fallbackPrev, fallbackNext), m_settingsFile(settingsFile) {
  LoadDescription(capacity);
}

void CDataScreen::OnLeave() {
  CreateEmptyScreenSettings(m_dlg->Folder(FolderKind::ScreenSettings), m_settingsFile);
}

void CDataScreen::OnEnter() {
  ReadScreenSettings(m_dlg->Folder(FolderKind::ScreenSettings), m_settingsFile);
}

CMyStatic* CDataScreen::TakeLabel(int index, const std::string& text) {
  CMyStatic* label = m_dlg->Pools().statics.Take(index);
  label->SetTextOptions(label->GetTextOptions() | kStaticMultiLine);
  label->SetText(text);
  label->show();
  return label;
}

CMyButton* CDataScreen::TakeCommandButton(int index, const std::string& caption) {
  CMyButton* button = m_dlg->Pools().buttonsB.Take(index);
  button->SetFlags(kCommandButtonFlags);
  button->SetLayout(kCommandButtonLayout);
  button->SetCaption(caption);
  button->show();
  return button;
}

CMyButton* CDataScreen::TakeCheckButton(int index, const std::string& caption) {
  CMyButton* button = m_dlg->Pools().buttonsA.Take(index);
  button->SetFlags(kCheckButtonFlags);
  button->SetLayout(kCheckButtonLayout);
  button->SetCaption(caption);
  button->show();
  return button;
}

QPlainTextEdit* CDataScreen::TakeEdit(int index) {
  QPlainTextEdit* edit = m_dlg->Pools().edits.Take(index);
  edit->setFont(FontCache::Instance().Font(0));
  edit->show();
  return edit;
}

void CDataScreen::AddFocus(QWidget* control) {
  if (m_focusCount < kFocusNextEntry) m_focusTable[m_focusCount++] = control;
}

void CDataScreen::AddTip(QWidget* control, int object) {
  m_dlg->ToolTip().AddTool(control, m_desc.Tooltip(object));
}

void CDataScreen::SetEditText(QPlainTextEdit* edit, const std::string& text) {
  const QSignalBlocker block(edit);
  edit->setPlainText(Latin1(text));
}

std::string CDataScreen::EditText(const QPlainTextEdit* edit) {
  return edit->toPlainText().toLatin1().toStdString();
}

int CDataScreen::ErrorBox(const std::string& text, const std::string& caption) {
  // After a confirmed close nobody is left to read a box.
  if (m_dlg->StateFlags() & kStateCloseConfirmed) return kIdOk;
  return m_dlg->GetPrompts().MessageBox(text, caption, kMbOk | kMbIconError | kMbTopmost);
}

int CDataScreen::InfoBox(const std::string& text, const std::string& caption) {
  if (m_dlg->StateFlags() & kStateCloseConfirmed) return kIdOk;
  return m_dlg->GetPrompts().MessageBox(text, caption, kMbOk | kMbIconInformation | kMbTopmost);
}

void CDataScreen::ShowBoxStatus(CMyStatic* line) {
  line->SetText(BoxStatusText(m_desc, BoxConnected(), m_dlg->Link().PortNumber(),
                              m_dlg->Link().DevicePath()));
}

void CDataScreen::ShowTransferProgress(CMyProgressCtrl* bar) {
  bar->setValue(LinkBusy() ? Link().m_progress.load() : bar->maximum());
}

void CDataScreen::PrepareTransfer(CMyProgressCtrl* bar, std::uint32_t job, int mode) {
  bar->setRange(0, 100);
  bar->setValue(0);
  m_dlg->SetTimer(0, 200);
  Link().m_jobMask = job;
  Link().m_mode = mode;
}

std::string CDataScreen::ParameterFolder() const {
  // Kept in the settings for the next run; the run's own memory where they cannot be kept.
  if (const std::string kept = Settings().lastFolder; !kept.empty() && FolderExists(kept)) {
    return kept;
  }
  if (!LastParameterFolder().empty()) return LastParameterFolder();
  // A folder that is not there would be offered as the file's name; the home folder is.
  const std::string documents =
      QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
  if (!documents.empty() && FolderExists(documents)) return documents;
  return QStandardPaths::writableLocation(QStandardPaths::HomeLocation).toStdString();
}

void CDataScreen::RememberParameterFolder(const std::string& chosenFile) {
  LastParameterFolder() = FolderOf(chosenFile);
  WriteLastFolder(m_dlg->Folder(FolderKind::SharedData), LastParameterFolder());
}

void CDataScreen::EnableTabs(bool busy) {
  for (int i = 0; i < kTabCount; ++i) {
    m_dlg->TabButton(i)->setEnabled(!busy && (i < 3 || DataLoaded()));
  }
  if (busy) {
    m_dlg->BackButton()->setEnabled(false);
    m_dlg->NextButton()->setEnabled(false);
  }
}

}  // namespace roviro
