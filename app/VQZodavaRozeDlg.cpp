// The main dialog: construction, initialisation, folders, language, the start file, the
// contact profile, the catalogues, painting and shutdown. Screen switching, message handling
// and the keyboard are in DlgRouting.cpp.

#include "app/VQZodavaRozeDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QPainter>

#include <cstdio>

#include "app/AboutDlg.h"
#include "app/AppMessages.h"
#include "app/DlgFirstStart.h"
#include "app/Screen.h"
#include "app/ScreenFactory.h"
#include "app/Translations.h"
#include "app/VQZodavaRozeApp.h"
#include "catalogue/ContactProfile.h"
#include "catalogue/LudFile.h"
#include "controls/Fonts.h"
#include "pages/TextHelpers.h"
#include "platform/Paths.h"
#include "platform/Translation.h"
#include "records/ProgramSettings.h"
#include "rules/DataScreenRules.h"

namespace roviro {

namespace {

constexpr const char* kStartIniName = "StartIni.dat";
constexpr const char* kStartIniSection = "[STARTUP_LANGUAGE]";
constexpr const char* kTemplateCaption = "RE DeririViru";
constexpr int kMainObjects = 18;
constexpr int kLanguageObjects = 15;

// Main-description objects; the pictures of language buttons 0 to 4 (the first two from the
// start, the later three after the main tabs' objects).
constexpr int kObjLanguageButton[kLanguageCount] = {1, 2, 15, 16, 17};
constexpr int kObjStart = 4;
constexpr int kObjLogo = 5;
constexpr int kObjNavigation = 6;
constexpr int kObjBack = 7;
constexpr int kObjNext = 8;
constexpr int kObjDefaultButton = 9;
constexpr int kObjTab0 = 10;

// Language-description objects.
constexpr int kLangLanguageTips = 1;
constexpr int kLangNavigationTips = 2;
constexpr int kLangMessages = 3;
constexpr int kLangStartTip = 4;

// Frame button pictures: picture only, centred, the mouse tracked.
constexpr std::uint32_t kFrameButtonFlags = kButtonStatePicture | kButtonTrackMouse;
constexpr std::uint32_t kFrameButtonLayout = 0x22;

CMyButton* MakeFrameButton(QWidget* parent, int id, const QRect& r) {
  auto* b = new CMyButton(parent);
  SetControlId(b, id);
  b->SetFlags(kFrameButtonFlags);
  b->SetLayout(kFrameButtonLayout);
  b->setGeometry(r);
  b->setFocusPolicy(Qt::TabFocus);
  return b;
}

}  // namespace

CVQZodavaRozeDlg::CVQZodavaRozeDlg(DialogEnvironment env, QWidget* parent)
    : QDialog(parent), m_env(std::move(env)) {
  if (m_env.prompts == nullptr) {
    m_ownPrompts = std::make_unique<QtPrompts>(this);
    m_prompts = m_ownPrompts.get();
  } else {
    m_prompts = m_env.prompts;
  }
  m_factory = m_env.factory != nullptr ? m_env.factory : &TheScreenFactory();
  m_sink = std::make_unique<QtMessageSink>(this, m_prompts);
  m_clockDriven = m_env.clock != nullptr;
  m_clock = m_env.clock != nullptr ? m_env.clock : &RealClock();
  m_image = m_env.image != nullptr ? m_env.image : &TheParameterImage();
  m_link = std::make_unique<CDeviceLink>(
      *m_clock, m_env.bridges, m_env.resolver != nullptr ? *m_env.resolver : ThePortResolver(),
      *m_image);
  m_link->SetDialogFlags(&m_state);
  m_commandLine = m_env.commandLine;

  // The named mutex lives below the shared data folder.
  const std::string shared =
      m_env.sharedDataFolder.empty() ? Folders::DefaultSharedDataFolder() : m_env.sharedDataFolder;
  if (!shared.empty()) m_mutex.Create(NormalisePath(shared + kCompanyFolder));

  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFixedSize(kDialogWidth, kDialogHeight);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setWindowTitle(QString::fromLatin1(kTemplateCaption));
  // Screens draw on white; the controls take their colours from the dialog.
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);

  CreateFrameControls();
  m_pools.CreateAll(this);
  ConnectPools();
  qApp->installEventFilter(this);
}

CVQZodavaRozeDlg::~CVQZodavaRozeDlg() {
  qApp->removeEventFilter(this);
  // The background sync ends first: it posts to this dialog.
  m_records.reset();
  RemoveTranslators();
  // No worker may outlive the objects it points at, and none may wait for a box.
  m_sink->Shutdown();
  m_link->Stop();
  m_currentScreen.reset();
  for (const auto& [id, timer] : m_timers) {
    if (timer.qtId != 0) killTimer(timer.qtId);
  }
  m_timers.clear();
}

std::string CVQZodavaRozeDlg::GetFolder(int kind) {
  std::string folder;
  switch (kind) {
    case 0:
      folder = Folders::ExecutableFolder();
      break;
    case 1:
    case 2:
      folder = Folders::DefaultSharedDataFolder();
      break;
    default:
      return {};
  }
  return folder.empty() ? folder : folder + kPathSeparator;
}

void CVQZodavaRozeDlg::SetCurrentCatalogue(const Catalogue* catalogue) {
  m_currentCatalogue = catalogue;
  m_link->State().m_catalogue = catalogue;
}

int CVQZodavaRozeDlg::CurrentCatalogueIndex() const {
  for (std::size_t i = 0; i < m_catalogues.size(); ++i) {
    if (m_catalogues[i].get() == m_currentCatalogue && m_currentCatalogue != nullptr) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

const std::string& CVQZodavaRozeDlg::CommonText(int n) const {
  static const std::string empty;
  return n >= 0 && n < kMessageTableSize ? m_messages[n] : empty;
}

QWidget* CVQZodavaRozeDlg::Control(int id) const {
  for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (ControlId(w) == id) return w;
  }
  return nullptr;
}

void CVQZodavaRozeDlg::CreateFrameControls() {
  m_title = new CMyStatic(this);
  SetControlId(m_title, kIdTitle);
  m_title->SetFlags(kFlagOwnDraw);
  m_title->setGeometry(QRect(QPoint(21, 7), QPoint(571 - 1, 47 - 1)));
  // Slot 6 as the heading font: Arial, cell height 35 (a character height of about 28 pixels),
  // width 15, weight 500.
  m_title->setFont(FontCache::Instance().Font(6, -28, 15, 500, 0, "Arial"));
  m_title->SetTextOptions(m_title->GetTextOptions() | 0x1000);  // vertically centred

  m_btnBack = MakeFrameButton(this, kIdBack, QRect(575, 526, 64, 64));
  m_btnNext = MakeFrameButton(this, kIdNext, QRect(675, 526, 64, 64));
  for (int i = 0; i < kTabCount; ++i) {
    m_btnTab[i] = MakeFrameButton(this, kIdTab0 + i, QRect(25 + i * 74, 526, 64, 64));
  }
  // The language buttons in one row above the start button, centred on it like the logo.
  constexpr int kLanguagePitch = 84;
  const int firstLanguageX = kDialogWidth / 2 - ((kLanguageCount - 1) * kLanguagePitch + 64) / 2;
  for (int i = 0; i < kLanguageCount; ++i) {
    m_btnLanguage[i] = MakeFrameButton(this, kIdLanguage0 + i,
                                       QRect(firstLanguageX + i * kLanguagePitch, 330, 64, 64));
  }
  m_btnStart = MakeFrameButton(this, kIdStart, QRect(368, 500, 64, 64));

  for (CMyButton* b : {m_btnBack, m_btnNext, m_btnStart}) {
    connect(b, &QAbstractButton::clicked, this, [this, b] { OnFrameButton(ControlId(b), b); });
  }
  for (int i = 0; i < kTabCount; ++i) {
    connect(m_btnTab[i], &QAbstractButton::clicked, this, [this, i] { OnMainTab(i); });
  }
  for (int i = 0; i < kLanguageCount; ++i) {
    connect(m_btnLanguage[i], &QAbstractButton::clicked, this, [this, i] { SetLanguage(i); });
  }
}

std::vector<std::string> CVQZodavaRozeDlg::PictureNames(int object) const {
  std::vector<std::string> out;
  for (int n = 0; n < 5; ++n) {
    const std::string name = m_descMain.Bitmap(object, n);
    out.push_back(name.empty() ? std::string() : JoinPath(Folder(FolderKind::Program), name));
  }
  return out;
}

bool CVQZodavaRozeDlg::OnInitDialog() {
  // 2. The diagnostic switch of the command line.
  if (m_commandLine.find("-EW") != std::string::npos) m_prompts->MessageBox("EW", "", kMbOk);

  // 3. The window menu with the about entry.
  CreateSystemMenu();

  // 4. The device link, owned by this dialog.
  m_link->Init(m_sink.get(), 1, 100);

  // 5. Folders; the icons are found beside the program folder.
  m_folders.Init(m_env.programFolder, m_env.sharedDataFolder);
  m_link->State().m_programFolder = Folder(FolderKind::Program);
  // The program's own messages speak the language chosen before, before a choice the
  // desktop's, from here on.
  ReadStartIni();
  TranslateQtTexts(ShownLanguage());
  // Without a data folder the program runs but keeps nothing; the fitter is told once.
  if (const std::string text = m_folders.DataFolderMessage(); !text.empty()) {
    m_prompts->MessageBox(text, Tx("Fehler..."), kMbOk | kMbIconWarning | kMbTopmost);
  }
  setWindowIcon(LoadProgramIcon(Folder(FolderKind::Program)));
  // The message boxes and the first-start dialog show it too.
  if (QApplication::windowIcon().isNull()) QApplication::setWindowIcon(windowIcon());

  // 6. The ignore list, then the port watch once the message loop runs.
  m_link->LoadIgnoreList();
  PostMessage(kMsgBoxLost);

  // 7. The main description.
  m_descMain.Load(Folder(FolderKind::Program) + kScreenFolder, 999, kMainObjects);

  // 8. The language choice.
  ReadStartIni();

  // 9. The contact profile, asked for at first start.
  if (Failed(ReadContactProfile())) {
    RunFirstStart();
    ReadContactProfile();
  }

  // 10. Catalogues and the parameter image.
  LoadCatalogues();

  // 11. Tooltips.
  m_toolTip.SetMaxTipWidth(300);

  // 12. Controls, caption and pictures.
  PlaceControls();
  LoadFrameBitmaps();

  // 13. Language, logo and navigation strip; before a choice the start view speaks the
  // desktop's language without choosing it.
  if (!LanguageChosen()) PreviewLanguage(ShownLanguage());
  SetLanguage(m_languageIndex);
  m_logo.Clear();
  for (int n = 0; n < 2; ++n) {
    m_logo.AddFrame(JoinPath(Folder(FolderKind::Program), m_descMain.Bitmap(kObjLogo, n)));
  }
  m_logo.SetFrame(1);
  const Size logo = m_logo.FrameSize();
  m_logoRect = QRect(kDialogWidth - logo.cx, 5, logo.cx, logo.cy);
  m_navStrip.Clear();
  for (int n = 0;; ++n) {
    const std::string name = m_descMain.Bitmap(kObjNavigation, n);
    if (name.empty()) break;
    m_navStrip.AddFrame(JoinPath(Folder(FolderKind::Program), name));
  }
  m_navStrip.SetFrame(0);
  const Size strip = m_navStrip.FrameSize();
  m_navRect = QRect(0, kDialogHeight - strip.cy, strip.cx, strip.cy);

  // 14. The start view.
  m_btnBack->setEnabled(false);
  m_btnNext->setEnabled(false);
  m_btnStart->setEnabled(LanguageChosen());
  for (CMyButton* tab : m_btnTab) tab->setEnabled(false);
  for (CMyButton* b : m_btnLanguage) b->setEnabled(true);
  m_pools.ResetAll(PictureNames(kObjDefaultButton), &m_toolTip);
  ShowFrameControls();
  return true;
}

namespace {

// The window menu's entries in menu order, translated when the language changes.
struct MenuEntry {
  unsigned command;
  const char* german;
};
constexpr MenuEntry kMenuEntries[] = {
    {kScMinimize, TX_NOOP("Minimieren")},
    {kScClose, TX_NOOP("Schlie\xDF"
                       "en")},
    {kIdmContactData, TX_NOOP("Kontaktdaten...")},
    {kIdmHistory, TX_NOOP("Verlauf...")},
    {kIdmAboutBox, TX_NOOP("Info \xFC"
                           "ber RoviroDazo...")},
};

}  // namespace

void CVQZodavaRozeDlg::CreateSystemMenu() {
  if (m_systemMenu != nullptr) return;
  m_systemMenu = new QMenu(this);
  for (const MenuEntry& entry : kMenuEntries) {
    // The program's own entries, each after a separator.
    if (entry.command == kIdmContactData || entry.command == kIdmAboutBox) {
      m_systemMenu->addSeparator();
    }
    const unsigned command = entry.command;
    m_systemMenu->addAction(QString(), this, [this, command] { OnSysCommand(command); });
  }
  TranslateSystemMenu();
}

void CVQZodavaRozeDlg::TranslateSystemMenu() {
  if (m_systemMenu == nullptr) return;
  int n = 0;
  for (QAction* action : m_systemMenu->actions()) {
    if (action->isSeparator()) continue;
    action->setText(QTx(kMenuEntries[n++].german));
  }
}

VisitRecorder& CVQZodavaRozeDlg::Records() {
  if (m_records == nullptr) {
    const std::string& shared = Folder(FolderKind::SharedData);
    m_records = std::make_unique<VisitRecorder>(shared, ReadProgramSettings(shared), m_contact);
    // A notice of the sync thread is shown on the user-interface thread; a call queued for a
    // dialog that is gone is dropped by Qt.
    m_records->OnNotice([this] {
      QMetaObject::invokeMethod(
          this, [this] { ShowRecordsNotice(); }, Qt::QueuedConnection);
    });
  }
  m_records->SetFitter(m_contact);
  return *m_records;
}

void CVQZodavaRozeDlg::ShowRecordsNotice() {
  if (m_records == nullptr) return;
  const std::string notice = m_records->TakeNotice();
  if (!notice.empty()) {
    Sink().MessageBox(notice, "Verlauf", kMbOk | kMbIconWarning | kMbTopmost);
  }
}

void CVQZodavaRozeDlg::EditContactData() {
  // The first-start dialog again, filled in and with a way out that keeps the contact data.
  RunContactDialog(true);
}

int CVQZodavaRozeDlg::RunContactDialog(bool edit) {
  // Before a language is chosen (a genuine first start) the desktop's language speaks. A
  // language without a start page of its own shows the dialog's own texts, translated.
  const std::string folder = m_descMain.Text(kObjLogo, ShownLanguage());
  const std::string startPage = folder.empty()
                                    ? std::string()
                                    : NormalisePath(Folder(FolderKind::Program) + kScreenFolder +
                                                    folder + "\\ScreenStart.dat");
  CDlgFirstStart dlg(Folder(FolderKind::SharedData), startPage, this);
  dlg.OnInitDialog();
  if (edit) {
    dlg.Fill(m_contact);
    dlg.AllowCancel(true);
  }
  if (m_env.runFirstStart) {
    m_env.runFirstStart(dlg);
  } else {
    dlg.exec();
  }
  if (edit && dlg.result() == QDialog::Accepted) ReadContactProfile();
  return dlg.result();
}

void CVQZodavaRozeDlg::OnSysCommand(unsigned id) {
  switch (id & 0xFFF0u) {
    case kIdmAboutBox: {
      CAboutDlg about(windowIcon(), this);
      if (m_env.runAbout) {
        m_env.runAbout(about);
      } else {
        about.exec();
      }
      break;
    }
    case kIdmContactData:
      EditContactData();
      break;
    case kIdmHistory:
      ShowHistory();
      break;
    case kScMinimize:
      showMinimized();
      break;
    case kScClose:
      OnCloseRequest();
      break;
    default:
      break;
  }
}

void CVQZodavaRozeDlg::contextMenuEvent(QContextMenuEvent* event) {
  if (m_systemMenu == nullptr) return;
  m_systemMenu->popup(event->globalPos());
  event->accept();
}

void CVQZodavaRozeDlg::PlaceControls() {
  char caption[256];
  std::snprintf(caption, sizeof(caption), "%s - V%.1d.%.1d.%.1d.%3.3d", kTemplateCaption, 1, 5, 1,
                1);
  setWindowTitle(QString::fromLatin1(caption) + QString::fromLatin1(m_env.captionSuffix.c_str()));
  m_title->SetText(m_descMain.Heading());
  if (auto* screen = QApplication::primaryScreen();
      screen != nullptr && parentWidget() == nullptr) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(kDialogWidth / 2, kDialogHeight / 2));
  }
}

void CVQZodavaRozeDlg::LoadFrameBitmaps() {
  SetButtonPictures(m_btnBack, PictureNames(kObjBack));
  SetButtonPictures(m_btnNext, PictureNames(kObjNext));
  for (int i = 0; i < kTabCount; ++i) SetButtonPictures(m_btnTab[i], PictureNames(kObjTab0 + i));
  SetButtonPictures(m_btnStart, PictureNames(kObjStart));
  for (int i = 0; i < kLanguageCount; ++i) {
    SetButtonPictures(m_btnLanguage[i], PictureNames(kObjLanguageButton[i]));
  }
}

std::string CVQZodavaRozeDlg::StartIniPath() const {
  const std::string& program = Folder(FolderKind::Program);
  const std::string& shared = Folder(FolderKind::SharedData);
  const bool programWritable = !program.empty() && !m_folders.ProgramFolderInstalled() &&
                               QFileInfo(QString::fromLocal8Bit(program.c_str())).isWritable();
  if (!programWritable && !shared.empty()) {
    return NormalisePath(shared + kCompanyFolder + kStartIniName);
  }
  return program.empty() ? std::string() : JoinPath(program, kStartIniName);
}

void CVQZodavaRozeDlg::ReadStartIni() {
  std::lock_guard lock(CVQZodavaRozeApp::CriticalSection());
  const std::string path = StartIniPath();
  std::FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "r");
  // A program folder that cannot take the file may still hold one from before.
  const std::string old = JoinPath(Folder(FolderKind::Program), kStartIniName);
  if (file == nullptr && path != old) file = std::fopen(old.c_str(), "r");
  if (file == nullptr) return;
  bool inSection = false;
  for (;;) {
    std::string line = ReadLine(file);
    if (line.empty()) break;
    CleanLine(line, kCleanLineFeed | kCleanComment);
    // A file written on Windows keeps its carriage return here.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line == kStartIniSection) {
      inSection = true;
    } else if (inSection && line.find_first_of("[]") == std::string::npos) {
      m_languageIndex = static_cast<int>(HexToValue(line));
    } else {
      inSection = false;
    }
  }
  std::fclose(file);
}

HResult CVQZodavaRozeDlg::WriteStartIni() const {
  const std::string path = StartIniPath();
  if (path.empty()) return E_FAIL;
  // Written beside and renamed over the old file, which survives every failure.
  const std::string sibling = UniqueSiblingPath(path);
  std::FILE* file = sibling.empty() ? nullptr : std::fopen(sibling.c_str(), "w");
  if (file == nullptr) return E_FAIL;
  const std::string text = std::string(kStartIniSection) + "\n" +
                           ValueToHex(static_cast<std::uint32_t>(m_languageIndex)) + "\n";
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const bool closed = std::fclose(file) == 0;
  if (written && closed && CommitReplacement(sibling, path)) return S_OK;
  RemoveFile(sibling);
  return E_FAIL;
}

void CVQZodavaRozeDlg::MarkSetKept() {
  m_keptSet = *m_image;
  m_setToKeep = false;
}

void CVQZodavaRozeDlg::MarkSetToKeep() {
  m_keptSet = *m_image;
  m_setToKeep = true;
}

bool CVQZodavaRozeDlg::SetUnkept() const {
  const ParameterImage& now = *m_image;
  return m_setToKeep || now.m_block != m_keptSet.m_block || now.m_moName != m_keptSet.m_moName ||
         now.m_firma != m_keptSet.m_firma || now.m_name != m_keptSet.m_name ||
         now.m_kommentar != m_keptSet.m_kommentar;
}

bool CVQZodavaRozeDlg::Confirm(Question question, const std::string& motorType,
                               const std::string& motorName) {
  const bool ask = ReadProgramSettings(Folder(FolderKind::SharedData)).askQuestions;
  return roviro::Confirm(*m_prompts, ask, question, motorType, motorName);
}

HResult CVQZodavaRozeDlg::ReadContactProfile() {
  return roviro::ReadContactProfile(Folder(FolderKind::SharedData), &m_contact);
}

void CVQZodavaRozeDlg::RunFirstStart() { RunContactDialog(false); }

void CVQZodavaRozeDlg::LoadCatalogues() {
  CatalogueLoadContext context;
  context.programFolder = Folder(FolderKind::Program);
  context.tempFolder = Folder(FolderKind::Temp);
  context.sink = m_sink.get();
  m_catalogues.clear();
  roviro::LoadCatalogues(context, m_catalogues);
  for (const auto& catalogue : m_catalogues) {
    CopyMotorToParameterImage(catalogue.get(), m_image, 0);
    SetCurrentCatalogue(catalogue.get());
    ReadLudFile(m_image, m_currentCatalogue, 0, Folder(FolderKind::Temp), m_contact);
  }
  // The set shown at start is the first catalogue's factory set (not whichever catalogue was
  // read last), complete, so that it can be saved and written like a chosen one.
  if (!m_catalogues.empty()) {
    m_image->Clear();
    CopyMotorToParameterImage(m_catalogues.front().get(), m_image, 0);
    SetCurrentCatalogue(m_catalogues.front().get());
    ReadLudFile(m_image, m_currentCatalogue, 0, Folder(FolderKind::Temp), m_contact);
    m_image->m_valid = 1;
  }
  MarkSetKept();
}

void CVQZodavaRozeDlg::SetLanguage(int index) {
  if (index < 0 || index >= kLanguageCount) {
    for (CMyButton* b : m_btnLanguage) b->setDown(false);
    return;
  }
  m_languageIndex = index;
  TranslateQtTexts(index);
  m_folders.Set(FolderKind::Language,
                Folder(FolderKind::Program) + kScreenFolder + m_descMain.Text(kObjLogo, index));
  {
    std::lock_guard lock(CVQZodavaRozeApp::CriticalSection());
    m_descLanguage.Load(Folder(FolderKind::Language), 0, kLanguageObjects);
  }
  m_btnStart->setEnabled(true);
  for (int i = 0; i < kLanguageCount; ++i) m_btnLanguage[i]->setDown(i == index);

  m_toolTip.AddTool(m_btnBack, m_descLanguage.Text(kLangNavigationTips, 0));
  m_toolTip.AddTool(m_btnNext, m_descLanguage.Text(kLangNavigationTips, 1));
  m_toolTip.AddTool(m_btnStart, m_descLanguage.Text(kLangStartTip, 0));
  for (int i = 0; i < kLanguageCount; ++i) {
    m_toolTip.AddTool(m_btnLanguage[i], m_descLanguage.Text(kLangLanguageTips, i));
  }
  for (int n = 0; n < kMessageTableSize; ++n) m_messages[n] = m_descLanguage.Text(kLangMessages, n);
  TranslateSystemMenu();
  if (m_currentScreen == nullptr) m_title->SetText(m_descLanguage.Heading());
  update();
}

void CVQZodavaRozeDlg::TranslateQtTexts(int index) {
  // The program's own messages and Qt's texts; a language without its file speaks German.
  InstallTranslator(index, Folder(FolderKind::Program));
}

int CVQZodavaRozeDlg::ShownLanguage() const {
  return LanguageChosen() ? m_languageIndex : DesktopLanguage();
}

int CVQZodavaRozeDlg::PageLanguage(int index) const {
  // A language whose page folder is not (yet) shipped shows the first language's pages.
  const std::string folder = m_descMain.Text(kObjLogo, index);
  if (index < 0 || folder.empty()) return 0;
  const std::string first =
      NormalisePath(Folder(FolderKind::Program) + kScreenFolder + folder + "\\Screen000.dat");
  return FileExists(first) ? index : 0;
}

void CVQZodavaRozeDlg::PreviewLanguage(int index) {
  // The start view in `index` without a choice: the start button stays disabled and
  // StartIni.dat keeps saying that nothing has been chosen.
  const int none = m_languageIndex;
  const std::string noFolder = Folder(FolderKind::Language);
  SetLanguage(PageLanguage(index));
  m_languageIndex = none;
  m_folders.Set(FolderKind::Language, noFolder);
  // The program's own messages speak the desktop's language even where its pages are missing.
  TranslateQtTexts(index);
  TranslateSystemMenu();
  for (CMyButton* b : m_btnLanguage) b->setDown(false);
  m_btnStart->setEnabled(false);
}

void CVQZodavaRozeDlg::SetMessageTable(int index) {
  ScreenDescription page;
  {
    std::lock_guard lock(CVQZodavaRozeApp::CriticalSection());
    page.Load(Folder(FolderKind::Program) + kScreenFolder + m_descMain.Text(kObjLogo, index), 0,
              kLanguageObjects);
  }
  for (int n = 0; n < kMessageTableSize; ++n) m_messages[n] = page.Text(kLangMessages, n);
}

void CVQZodavaRozeDlg::StartFirstScreen() {
  WriteStartIni();
  for (CMyButton* b : m_btnLanguage) b->setDown(false);
  m_btnStart->setDown(false);
  if (Succeeded(SwitchScreen(1))) {
    for (int i = 0; i < kTabCount; ++i) {
      m_toolTip.AddTool(m_btnTab[i], m_descLanguage.Text(kLangNavigationTips, 2 + i));
    }
  }
}

void CVQZodavaRozeDlg::ShowFrameControls() {
  const bool screen = m_currentScreen != nullptr;
  for (CMyButton* b : m_btnLanguage) b->setVisible(!screen);
  m_btnStart->setVisible(!screen);
  for (CMyButton* tab : m_btnTab) tab->setVisible(screen);
  m_btnBack->setVisible(screen);
  m_btnNext->setVisible(screen);
  if (!screen) {
    m_title->SetText(LanguageChosen() ? m_descLanguage.Heading() : m_descMain.Heading());
    m_title->show();
  }
}

// ---------------------------------------------------------------------------------------------
// Painting

QImage CVQZodavaRozeDlg::Render() {
  // In device pixels, so that a window shown at 200 % draws its pictures and texts sharply.
  const qreal ratio = devicePixelRatioF();
  QImage buffer(size() * ratio, QImage::Format_RGB32);
  buffer.setDevicePixelRatio(ratio);
  buffer.fill(Qt::white);
  QPainter p(&buffer);
  if (m_currentScreen != nullptr) {
    if (m_logo.SetFrame(1) && m_logo.IsLoaded()) {
      const Size s = m_logo.FrameSize();
      m_logo.Draw(0, FromQRect(QRect(kDialogWidth - s.cx, m_logoRect.top(), s.cx, s.cy)), nullptr,
                  p, 0);
    }
    if (m_navStrip.IsLoaded() && !m_navRect.isEmpty()) {
      m_navStrip.Draw(0, FromQRect(m_navRect), nullptr, p, 0);
    }
    m_currentScreen->OnPrePaint();
    m_currentScreen->OnPaint(&p);
  } else if (m_logo.SetFrame(0) && m_logo.IsLoaded()) {
    const Size s = m_logo.FrameSize();
    m_logo.Draw(0, FromQRect(QRect(kDialogWidth / 2 - s.cx / 2, 130, s.cx, s.cy)), nullptr, p, 0);
  }
  return buffer;
}

void CVQZodavaRozeDlg::paintEvent(QPaintEvent*) {
  const QImage buffer = Render();
  QPainter p(this);
  p.drawImage(0, 0, buffer);
}

// ---------------------------------------------------------------------------------------------
// Shutdown

void CVQZodavaRozeDlg::reject() {
  // Escape never closes the program; only the close box with a yes, or the port watch's end.
}

void CVQZodavaRozeDlg::closeEvent(QCloseEvent* event) {
  if (m_closed) {
    event->accept();
    return;
  }
  event->ignore();
  OnCloseRequest();
}

bool CVQZodavaRozeDlg::OnCloseRequest() {
  if (m_closed) return true;
  if (m_state & kStateCloseConfirmed) {
    // Closing waits for the motor's stop and for a running upload; the watch's end follows.
    if (m_stopMode != 0 || HasTimer(kCloseTimer)) return false;
    FinishClose();
    return true;
  }
  if (m_link->State().Has(kLinkWatchEnded)) {
    FinishClose();
    return true;
  }
  // Before a language is chosen the desktop's language's table speaks.
  if (!LanguageChosen() && m_messages[5].empty()) SetMessageTable(PageLanguage(ShownLanguage()));
  // An upload is never cut off between two block writes: the fitter is told that closing
  // waits for its end.
  const bool uploading = m_link->State().Has(kLinkUpload);
  const std::string text = uploading ? CommonText(10) + "\n\n" + CommonText(5) : CommonText(5);
  const int answer =
      m_prompts->MessageBox(text, CommonText(2), kMbYesNo | kMbIconQuestion | kMbTopmost);
  if (answer == kIdYes) ConfirmClose();
  return false;
}

void CVQZodavaRozeDlg::ConfirmClose() {
  if (m_state & kStateCloseConfirmed) return;
  // What was typed on the screen is kept as leaving it would keep it; a check that fails says
  // nothing now (boxes are quiet from here on) and the set stays as it was.
  if (Routed() != nullptr) {
    m_state |= kStateCloseConfirmed;
    if (Succeeded(Routed()->CommitIfChanged())) Routed()->StoreValues();
  }
  m_state |= kStateCloseConfirmed;
  m_sink->Quiet();
  hide();
  if (MotorMayRun() || m_stopMode != 0) {
    StopMotor(m_stopMode != 0 ? m_stopMode
                              : TestModeForButton(1, m_link->State().Has(kLinkState6)));
  }
  StopLinkWhenDone();
}

void CVQZodavaRozeDlg::StopLinkWhenDone() {
  LinkState& s = m_link->State();
  if (m_stopMode != 0 || s.Has(kLinkUpload | kLinkTestCommand)) {
    SetTimer(kCloseTimer, kOwnTimerMs);
    return;
  }
  KillTimer(kCloseTimer);
  s.Set(kLinkStop);
  // Without a port watch nobody would report the end: one started now ends at once.
  if (m_link->RunningWorkers() == 0) m_link->StartPortWatch();
}

bool CVQZodavaRozeDlg::MotorMayRun() const {
  return (m_state.load() & (kDialogOutputA | kDialogOutputB)) != 0 ||
         m_link->State().Has(kLinkTestCommand | kLinkTestRequest | kLinkCurrentWatch);
}

void CVQZodavaRozeDlg::StopMotor(int mode) {
  LinkState& s = m_link->State();
  // The request and its current watch hold the link until they see the abort.
  if (s.Has(kLinkTestRequest | kLinkCurrentWatch)) s.Set(kLinkAbort);
  m_stopMode = mode;
  SendStopWhenFree();
}

void CVQZodavaRozeDlg::SendStopWhenFree() {
  if (m_stopMode == 0) return;
  LinkState& s = m_link->State();
  constexpr std::uint32_t kHolders =
      kLinkTestCommand | kLinkTestRequest | kLinkTestConnection | kLinkUpload | kLinkDownload;
  if (s.Has(kHolders)) {
    SetTimer(kStopTimer, kOwnTimerMs);
    return;
  }
  KillTimer(kStopTimer);
  // The aborted request is over; its abort must not end the next one at once.
  s.Clear(kLinkAbort);
  s.m_testMode = m_stopMode;
  m_stopMode = 0;
  if (m_state & kStateCloseConfirmed) {
    // Closing: sent here and now, so that the link's stop that follows cannot overtake it.
    TestCommandThread(&s);
  } else {
    m_link->StartTestCommand();
  }
}

void CVQZodavaRozeDlg::OnOwnTimer(unsigned id) {
  if (id == kStopTimer) SendStopWhenFree();
  if (id == kCloseTimer) StopLinkWhenDone();
}

void CVQZodavaRozeDlg::FinishClose() {
  if (m_screenCallDepth > 0) {
    // A screen operation is still on the stack (a read inside Create keeps the window
    // answering): the screen may go only once it has returned.
    QMetaObject::invokeMethod(
        this, [this] { FinishClose(); }, Qt::QueuedConnection);
    return;
  }
  m_closed = true;
  m_toolTip.DelAll();
  m_currentScreen.reset();
  for (const auto& [id, timer] : m_timers) {
    if (timer.qtId != 0) killTimer(timer.qtId);
  }
  m_timers.clear();
  m_pools.ReleaseAll();
  // What the window's destruction does: keep the language, drop the screen, stop the workers.
  WriteStartIni();
  m_sink->Shutdown();
  m_link->Stop();
  QDialog::done(QDialog::Rejected);
}

}  // namespace roviro
