#include "screens/data/ScreenDatenladen.h"

#include <QSignalBlocker>
#include <QTextCursor>

#include "app/AppMessages.h"
#include "catalogue/LudFile.h"
#include "controls/Fonts.h"
#include "platform/Paths.h"
#include "platform/Translation.h"
#include "records/ParameterFile.h"
#include "records/ScreenSettingsFile.h"
#include "rules/DataScreenRules.h"
#include "rules/MotorList.h"

namespace roviro {

namespace {

// Page objects: captions, buttons and their tooltips.
constexpr int kObjIntro = 1;
constexpr int kObjMotorList = 2;
constexpr int kObjVariant1 = 5;
constexpr int kObjVariant2 = 6;
constexpr int kObjOpenFile = 7;
constexpr int kObjDownload = 8;
constexpr int kObjFirstField = 9;  // 9 motor name .. 14 comment, in field order
constexpr int kObjStatusCaption = 15;

constexpr const char* kBoxOnlyDownload =
    TX_NOOP("Download aus ZodavaRoze erfolgreich.\nKein Rohrmotor angeschlossen.");
constexpr const char* kNoParametersInBox = TX_NOOP("Keine Parameter im ZodavaRoze vorhanden.");
// The result line for a motor of a type no catalogue knows, when the page has no text for it.
constexpr const char* kUnknownMotorType = TX_NOOP("Unbekannter Motortyp");
constexpr int kUnknownMotorText = 4;  // text (4, 4) of the page

// Statics: the intro, the caption of the motor list, the six field captions, the status
// caption, the status line and the result line.
constexpr int kLabelIntro = 0;
constexpr int kLabelMotorList = 1;
constexpr int kLabelFirstField = 2;
constexpr int kLabelStatusCaption = 8;
constexpr int kLabelStatus = 9;
constexpr int kLabelResult = 10;

}  // namespace

CScreenDatenladen::CScreenDatenladen(CVQZodavaRozeDlg* dlg)
    : CDataScreen(dlg, 1, 30, kSettingsFileLoadData, 1, 2) {}

HResult CScreenDatenladen::TakeControls() {
  ControlPools& pools = m_dlg->Pools();
  TakeLabel(kLabelIntro, PageText(kObjIntro, 0))->setFont(FontCache::Instance().Font(0));
  TakeLabel(kLabelMotorList, PageText(kObjMotorList, 0));
  for (int i = 0; i < kFieldCount; ++i) {
    TakeLabel(kLabelFirstField + i, PageText(kObjFirstField + i, 0));
  }
  TakeLabel(kLabelStatusCaption, PageText(kObjStatusCaption, 0));
  m_status = TakeLabel(kLabelStatus, {});
  m_result = TakeLabel(kLabelResult, {});
  for (CMyStatic* line : {m_status, m_result}) line->setFont(FontCache::Instance().Font(0));

  m_motorList = pools.combos.Take(0);
  m_motorList->setFont(FontCache::Instance().Font(0));
  m_motorList->show();
  AddTip(m_motorList, kObjMotorList);
  AddFocus(m_motorList);

  m_variant[0] = TakeCheckButton(0, PageText(kObjVariant1, 0));
  m_variant[1] = TakeCheckButton(1, PageText(kObjVariant2, 0));
  AddTip(m_variant[0], kObjVariant1);
  AddTip(m_variant[1], kObjVariant2);
  AddFocus(m_variant[0]);
  AddFocus(m_variant[1]);

  for (int i = 0; i < kFieldCount; ++i) {
    m_fields[i] = TakeEdit(i);
    AddTip(m_fields[i], kObjFirstField + i);
    AddFocus(m_fields[i]);
  }
  m_open = TakeCommandButton(0, PageText(kObjOpenFile, 0));
  m_download = TakeCommandButton(1, PageText(kObjDownload, 0));
  AddTip(m_open, kObjOpenFile);
  AddTip(m_download, kObjDownload);
  AddFocus(m_open);
  AddFocus(m_download);

  m_progress = pools.progress.Take(0);
  m_progress->show();
  return S_OK;
}

namespace {

// The download's answer, and once per run for a motor whose two numbers are both 0 the word
// that its backups and history are shared with every such motor of its type.
std::string WithSharedKeyNotice(const std::string& text, const ParameterImage& image) {
  if (!SharesMotorKey(image) || !FirstSharedKeyNoticeOfRun()) return text;
  return text + "\n\n" +
         Tx("Standort-Nr. und Motor-Nr. sind beide 0: Sicherungen und Verlauf k\xF6nnen diesen "
            "Motor nicht von anderen Motoren seines Typs mit 0/0 unterscheiden.");
}

}  // namespace

void CScreenDatenladen::ArrangeControls() {
  ControlPools& pools = m_dlg->Pools();
  constexpr int kLeft = 40;
  constexpr int kField = 210;
  constexpr int kFieldWidth = 330;
  pools.statics.At(kLabelIntro)->setGeometry(kLeft, 60, 720, 52);
  pools.statics.At(kLabelMotorList)->setGeometry(kLeft, 123, 165, 20);
  m_motorList->setGeometry(kField, 120, 352, 26);
  m_variant[0]->setGeometry(kField, 152, 160, 22);
  m_variant[1]->setGeometry(kField + 170, 152, 160, 22);
  m_open->setGeometry(574, 119, 186, 30);
  m_download->setGeometry(574, 157, 186, 30);

  // Motor name, the two numbers side by side, company, name; the comment gets three lines.
  const QRect fields[kFieldCount] = {{kField, 186, kFieldWidth, 26}, {kField, 220, 50, 26},
                                     {kField + 220, 220, 50, 26},    {kField, 254, kFieldWidth, 26},
                                     {kField, 288, kFieldWidth, 26}, {kField, 322, 550, 66}};
  const QRect captions[kFieldCount] = {{kLeft, 189, 165, 20},       {kLeft, 223, 165, 20},
                                       {kField + 70, 223, 145, 20}, {kLeft, 257, 165, 20},
                                       {kLeft, 291, 165, 20},       {kLeft, 325, 165, 20}};
  for (int i = 0; i < kFieldCount; ++i) {
    m_fields[i]->setGeometry(fields[i]);
    pools.statics.At(kLabelFirstField + i)->setGeometry(captions[i]);
  }

  pools.statics.At(kLabelStatusCaption)->setGeometry(kLeft, 408, 165, 20);
  m_status->setGeometry(kField, 408, 550, 20);
  m_result->setGeometry(kField, 432, 550, 20);
  m_progress->setGeometry(kField, 460, 550, 18);
}

HResult CScreenDatenladen::FillControls() {
  ShowOrigin();
  m_progress->setRange(0, 100);
  m_progress->setValue(0);
  RefreshMotorList(true);
  ShowBoxStatus(m_status);
  return S_OK;
}

// ---------------------------------------------------------------------------------------------

const Catalogue* CScreenDatenladen::SelectedCatalogue() const {
  const int i = m_motorList->currentIndex();
  if (i < 0 || i >= m_dlg->CatalogueCount()) return nullptr;
  return m_dlg->Catalogues()[static_cast<std::size_t>(i)].get();
}

void CScreenDatenladen::RefreshMotorList(bool readDataFile) {
  ParameterImage& image = Image();
  const int variant = image.Variant();
  m_variant[0]->SetChecked(variant == 1);
  m_variant[1]->SetChecked(variant == 2);

  const QSignalBlocker block(m_motorList);
  if (m_motorList->currentIndex() < 0) {
    m_motorList->clear();
    for (const auto& catalogue : m_dlg->Catalogues()) {
      const std::string line = MotorListLine(catalogue.get(), m_dlg->LanguageDescription());
      m_motorList->addItem(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
    }
  }
  // A filled combo box selects its first line by itself; no selection is a state of its own.
  // A motor that no catalogue knows is not taken for the first one: nothing is selected and
  // there is no current catalogue motor, the set itself is kept and shown.
  const bool unknown = IsUnknownMotor(m_dlg->Catalogues(), image);
  m_motorList->setCurrentIndex(unknown ? -1 : SelectMotorForImage(m_dlg->Catalogues(), image));
  if (unknown) {
    m_dlg->SetCurrentCatalogue(nullptr);
  } else if (const Catalogue* selected = SelectedCatalogue()) {
    m_dlg->SetCurrentCatalogue(selected);
  }

  if (!readDataFile) return;
  if (unknown) {
    const std::string text = PageText(kLoadFailureTexts, kUnknownMotorText);
    ShowResultWithFirmware(text.empty() ? Tx(kUnknownMotorType) : text);
  }
  ReadLudFile(&image, m_dlg->CurrentCatalogue(), variant, m_dlg->Folder(FolderKind::Temp),
              m_dlg->Contact());
  FillFields();
}

void CScreenDatenladen::FillFields() {
  const ParameterImage& image = Image();
  const auto identity = image.Block(0x39);
  SetEditText(m_fields[kMotorName], image.m_moName);
  SetEditText(m_fields[kNumber1], std::to_string(identity[9]));
  SetEditText(m_fields[kNumber2], std::to_string(identity[10]));
  SetEditText(m_fields[kCompany], image.m_firma);
  SetEditText(m_fields[kName], image.m_name);
  SetEditText(m_fields[kComment], image.m_kommentar);
}

void CScreenDatenladen::ShowResult(const std::string& text) { m_result->SetText(text); }

void CScreenDatenladen::ShowResultWithFirmware(const std::string& text) {
  ShowResult(text + MotorFirmwareText(Image().Block(0x39)[16]));
}

void CScreenDatenladen::ShowOrigin() {
  switch (m_dlg->SetOrigin()) {
    case kSetFromMotor:
      ShowResultWithFirmware(PageText(kLoadResultTexts, 3));
      break;
    case kSetFromBox:
      ShowResult(PageText(kLoadFailureTexts, 7));
      break;
    case kSetFromFile:
      ShowResult(CommonText(9));
      break;
    default:
      ShowResultWithFirmware(PageText(kLoadResultTexts, 0));
      break;
  }
}

// ---------------------------------------------------------------------------------------------

void CScreenDatenladen::OnTimer(unsigned id) {
  if (id == 0) ShowTransferProgress(m_progress);
}

void CScreenDatenladen::UpdateControls() {
  const bool downloading = Link().Has(kLinkDownload);
  m_motorList->setEnabled(!downloading);
  for (QPlainTextEdit* field : m_fields) field->setEnabled(!downloading);
  m_open->setEnabled(!downloading);
  const Catalogue* current = m_dlg->CurrentCatalogue();
  m_variant[0]->setEnabled(!downloading && HasVariant(current, 1));
  m_variant[1]->setEnabled(!downloading && HasVariant(current, 2));
  m_download->setEnabled(!downloading && BoxConnected());
  EnableTabs(downloading);
  if (!downloading) m_dlg->NextButton()->setEnabled(true);
  m_dlg->BackButton()->hide();
}

int CScreenDatenladen::OnWindowMessage(std::uint32_t msg, std::uintptr_t, std::intptr_t,
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
      Link().m_jobMask &= ~1u;
      m_dlg->KillTimer(0);
      m_progress->setValue(m_progress->maximum());
      m_dlg->SetOrigin() = kSetFromMotor;
      ShowOrigin();
      InfoBox(WithSharedKeyNotice(CommonText(6), Image()), CommonText(3));
      m_dlg->State() |= kStateDataLoaded;
      m_flags |= kScreenDirty;
      RefreshMotorList(true);
      m_dlg->MarkSetToKeep();
      KeepDownloadedSet(true);
      // The controls were disabled for the download; nothing else would enable them again.
      m_dlg->PostMessage(kMsgRefresh);
      break;
    case kMsgTransferFailed:
      m_dlg->KillTimer(0);
      m_progress->setValue(0);
      KeepLoadedFlag();
      ShowResult(PageText(kLoadFailureTexts, 0));
      ErrorBox(CommonText(7), CommonText(0));
      // The set the fitter was working on is still in the image and in the fields.
      RefreshMotorList(false);
      RecordVisit(VisitKind::kDownload, false, false, "-", kVisitFailed);
      break;
    case kMsgBoxOnly:
      Link().m_jobMask &= ~1u;
      m_dlg->KillTimer(0);
      m_progress->setValue(m_progress->maximum());
      m_dlg->SetOrigin() = kSetFromBox;
      ShowOrigin();
      InfoBox(WithSharedKeyNotice(Tx(kBoxOnlyDownload), Image()), CommonText(3));
      RefreshMotorList(true);
      m_dlg->MarkSetToKeep();
      KeepDownloadedSet(false);
      m_dlg->PostMessage(kMsgRefresh);
      break;
    case kMsgNoParameters:
      // A failure like any other: the bar does not fill, the result line says what happened
      // and the set (with its loaded flag) stays as it was.
      m_dlg->KillTimer(0);
      m_progress->setValue(0);
      ShowResult(Tx(kNoParametersInBox));
      KeepLoadedFlag();
      RecordVisit(VisitKind::kDownload, false, false, "box", kVisitNoParameters);
      ErrorBox(Tx(kNoParametersInBox), CommonText(0));
      m_dlg->PostMessage(kMsgRefresh);
      break;
    default:
      break;
  }
  return 0;
}

// ---------------------------------------------------------------------------------------------

void CScreenDatenladen::StoreValues() {
  ParameterImage& image = Image();
  image.m_moName = EditText(m_fields[kMotorName]);
  image.m_firma = EditText(m_fields[kCompany]);
  image.m_name = EditText(m_fields[kName]);
  image.m_kommentar = EditText(m_fields[kComment]);
  auto identity = image.Block(0x39);
  identity[9] = NumberFieldByte(EditText(m_fields[kNumber1]));
  identity[10] = NumberFieldByte(EditText(m_fields[kNumber2]));
}

HResult CScreenDatenladen::CommitIfChanged() {
  // A downloaded motor of a type no catalogue knows has its set without a list entry.
  const bool unknown = IsUnknownMotor(m_dlg->Catalogues(), Image());
  const int error = CheckLoadDataEntries(
      EditText(m_fields[kMotorName]), EditText(m_fields[kCompany]),
      unknown || m_motorList->currentIndex() >= 0, unknown || m_dlg->CurrentCatalogue() != nullptr);
  if (error >= 0) {
    ErrorBox(PageText(kLoadEntryErrors, error), CommonText(0));
    return E_FAIL;
  }
  LudTexts texts;
  texts.moName = EditText(m_fields[kMotorName]);
  texts.firma = EditText(m_fields[kCompany]);
  texts.name = EditText(m_fields[kName]);
  texts.kommentar = EditText(m_fields[kComment]);
  WriteLudFile(m_dlg->Folder(FolderKind::Temp), m_dlg->CurrentCatalogue(),
               NumberFieldByte(EditText(m_fields[kNumber1])),
               NumberFieldByte(EditText(m_fields[kNumber2])), texts);
  StoreValues();
  m_flags &= ~kScreenDirty;
  return S_OK;
}

void CScreenDatenladen::OnCommand(QWidget* focus) {
  if (IgnoreCommandFrom(focus)) return;
  if (focus != nullptr && focus == m_open) {
    OpenParameterFile();
  } else if (focus != nullptr && focus == m_download) {
    StartDownload();
  } else if (focus != nullptr && focus == m_dlg->NextButton()) {
    if (Failed(CommitIfChanged())) return;
    m_dlg->PostMessage(kMsgSwitchScreen, static_cast<std::uintptr_t>(NavigationTarget(false)));
  } else if (focus != m_dlg->BackButton()) {
    m_flags |= kScreenDirty;
  }
}

void CScreenDatenladen::OnButtonClicked(QWidget* focus) {
  const int clicked = focus == m_variant[0] ? 0 : focus == m_variant[1] ? 1 : -1;
  if (clicked < 0) return;
  CMyButton* other = m_variant[1 - clicked];
  if (other->State() & kStateChecked) other->SetChecked(false);
  const bool checked = (m_variant[clicked]->State() & kStateChecked) != 0;
  // What the fitter typed and has not stored yet outlives the variant's data file.
  std::array<std::string, kFieldCount> typed;
  const bool keepTyped = (m_flags & kScreenDirty) != 0;
  for (int i = 0; i < kFieldCount; ++i) typed[i] = EditText(m_fields[i]);
  ApplyVariantChoice(Image(), m_dlg->CurrentCatalogue(), checked ? clicked + 1 : 0);
  RefreshMotorList(true);
  if (!keepTyped) return;
  for (int i = 0; i < kFieldCount; ++i) SetEditText(m_fields[i], typed[i]);
  m_flags |= kScreenDirty;
}

void CScreenDatenladen::OnComboSelChange(QWidget* focus) {
  if (focus != m_motorList) return;
  const Catalogue* chosen = SelectedCatalogue();
  if (chosen == nullptr) return;
  if (!MayReplaceSet()) {
    const QSignalBlocker block(m_motorList);
    m_motorList->setCurrentIndex(m_dlg->CurrentCatalogueIndex());
    return;
  }
  ParameterImage& image = Image();
  image.Clear();
  m_dlg->SetCurrentCatalogue(chosen);
  CopyMotorToParameterImage(chosen, &image, 0);
  ReadLudFile(&image, chosen, 0, m_dlg->Folder(FolderKind::Temp), m_dlg->Contact());
  // The factory lines are a complete set: it may be saved and written like a downloaded one.
  image.m_valid = 1;
  m_variant[0]->SetChecked(false);
  m_variant[1]->SetChecked(false);
  FillFields();
  m_dlg->SetOrigin() = kSetFromCatalogue;
  m_dlg->MarkSetKept();
  ShowOrigin();
  ShowBoxStatus(m_status);
  m_dlg->PostMessage(kMsgRefresh);
}

bool CScreenDatenladen::MayReplaceSet() {
  // What is typed in the fields belongs to the set as leaving the screen would keep it.
  StoreValues();
  return !m_dlg->SetUnkept() || m_dlg->Confirm(Question::kReplaceSet);
}

void CScreenDatenladen::OnEditChange(QWidget* focus) {
  if (focus == nullptr) return;
  m_flags |= kScreenDirty;
  if (focus != m_fields[kNumber1] && focus != m_fields[kNumber2]) return;
  auto* edit = static_cast<QPlainTextEdit*>(focus);
  const std::string typed = EditText(edit);
  const NumberField field = ApplyNumberFieldRule(typed, edit->textCursor().position());
  if (field.text == typed) return;
  SetEditText(edit, field.text);
  QTextCursor cursor = edit->textCursor();
  cursor.setPosition(field.caret);
  edit->setTextCursor(cursor);
}

// ---------------------------------------------------------------------------------------------

void CScreenDatenladen::KeepDownloadedSet(bool fromMotor) {
  const BackupResult backup = WriteSetBackup(BackupKind::kRead);
  RecordVisit(VisitKind::kDownload, true, fromMotor, fromMotor ? "motor" : "box", kVisitOk);
  TellBackupFailure(backup);
}

std::string CScreenDatenladen::OpenFolder() const {
  // With the box connected, what this motor held before is one click away.
  const std::string backups =
      MotorBackupFolder(m_dlg->Folder(FolderKind::SharedData), m_dlg->Image());
  if (BoxConnected() && !backups.empty() && FolderExists(backups)) return backups;
  return ParameterFolder();
}

void CScreenDatenladen::OpenParameterFile() {
  std::string chosen;
  if (!m_dlg->GetPrompts().OpenFileName(CommonText(20), OpenFolder(), kParameterFileFilter,
                                        &chosen)) {
    return;  // cancelled: nothing changes
  }
  RememberParameterFolder(chosen);
  m_dlg->State() &= ~kStateDataLoaded;
  // A broken file must not cost the set the fitter is working on.
  ParameterImage scratch;
  int selection = m_dlg->CurrentCatalogueIndex();
  const ParameterFileLoadResult loaded =
      LoadParameterFile(chosen, scratch, m_dlg->Catalogues(), &selection, &m_dlg->Sink());
  if (!loaded.Ok()) {
    ShowResult(CommonText(7));
    ErrorBox(CommonText(7), CommonText(0));
    return;
  }
  if (!MayReplaceSet()) return;
  Image() = scratch;
  m_dlg->MarkSetToKeep();
  m_dlg->SetCurrentCatalogue(m_dlg->Catalogues()[static_cast<std::size_t>(selection)].get());
  {
    const QSignalBlocker block(m_motorList);
    m_motorList->setCurrentIndex(selection);
  }
  const int variant = Image().Variant();
  m_variant[0]->SetChecked(variant == 1);
  m_variant[1]->SetChecked(variant == 2);
  FillFields();
  m_dlg->SetOrigin() = kSetFromFile;
  ShowOrigin();
  InfoBox(CommonText(8), CommonText(1));
  m_dlg->PostMessage(kMsgRefresh);
}

void CScreenDatenladen::KeepLoadedFlag() {
  // A failed download keeps the set, so the tabs stay as they were before it.
  if (m_loadedBeforeDownload) m_dlg->State() |= kStateDataLoaded;
  m_loadedBeforeDownload = false;
}

void CScreenDatenladen::StartDownload() {
  if (LinkBusy()) {
    m_dlg->PostMessage(kMsgRefresh);
    InfoBox(CommonText(10), CommonText(1));
    return;
  }
  if (!MayReplaceSet()) return;
  m_loadedBeforeDownload = (m_dlg->State() & kStateDataLoaded) != 0;
  m_dlg->State() &= ~kStateDataLoaded;
  PrepareTransfer(m_progress, 1, 1);
  m_dlg->Link().StartDownload();
  m_dlg->PostMessage(kMsgRefresh);
}

}  // namespace roviro
