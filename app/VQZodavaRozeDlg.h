#pragma once
// CVQZodavaRozeDlg: the program window. It owns every control any screen shows (the frame
// buttons, the heading and the pools), the folders, the language texts, the catalogues, the
// device link and the current screen; it handles painting, the keyboard, the main tabs, the
// start view and its application messages, and forwards everything else to the screen.

#include <QDialog>
#include <QMenu>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/AppMessages.h"
#include "app/ControlPools.h"
#include "app/HistoryDlg.h"
#include "app/NamedMutex.h"
#include "app/Prompts.h"
#include "app/QtMessageSink.h"
#include "app/ToolTips.h"
#include "catalogue/Catalogue.h"
#include "catalogue/ContactRecord.h"
#include "controls/Pictures.h"
#include "device/DeviceLink.h"
#include "pages/ScreenDescription.h"
#include "platform/Folders.h"
#include "records/VisitRecorder.h"

namespace roviro {

class CAboutDlg;
class CDlgFirstStart;
class CScreen;
class ScreenFactory;

// What the dialog works with; every null or empty member takes the program's own.
struct DialogEnvironment {
  std::string programFolder;     // empty: the executable's folder
  std::string sharedDataFolder;  // empty: the platform's shared data folder
  std::string commandLine;
  Prompts* prompts = nullptr;        // null: the real dialogs
  ScreenFactory* factory = nullptr;  // null: TheScreenFactory()
  Clock* clock = nullptr;            // null: the real clock
  UsbBridgeList* bridges = nullptr;  // null: the real USB bridges
  PortResolver* resolver = nullptr;  // null: ThePortResolver()
  ParameterImage* image = nullptr;   // null: TheParameterImage()
  // Runs the first-start dialog; null: modally.
  std::function<void(CDlgFirstStart&)> runFirstStart;
  // Runs the about box; null: modally.
  std::function<void(CAboutDlg&)> runAbout;
  // Runs the history dialog; null: modally.
  std::function<void(CHistoryDlg&)> runHistory;
  // Appended to the window caption (for example when the box is simulated).
  std::string captionSuffix;
};

inline constexpr int kMessageTableSize = 32;
// Window menu commands: the about and contact entries the program adds, and two of the
// window's own.
inline constexpr unsigned kIdmAboutBox = 0x10;
inline constexpr unsigned kIdmContactData = 0x20;
inline constexpr unsigned kIdmHistory = 0x30;
inline constexpr unsigned kScMinimize = 0xF020;
inline constexpr unsigned kScClose = 0xF060;
inline constexpr int kTabCount = 5;
// The dialog's own timers, beside the screens' 0 to 9 and 20: the pending motor stop and the
// close that waits for it; both look every 20 ms.
inline constexpr unsigned kStopTimer = 30;
inline constexpr unsigned kCloseTimer = 31;
inline constexpr int kOwnTimerMs = 20;

class CVQZodavaRozeDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CVQZodavaRozeDlg(DialogEnvironment env, QWidget* parent = nullptr);
  ~CVQZodavaRozeDlg() override;

  // The dialog's initialisation; false when it fails (the program then ends).
  bool OnInitDialog();

  // ---- used by the screens ----
  HResult SwitchScreen(int id, bool isRetry = false);
  void ReleasePools();
  // 0 to 4 choose a language; any other index only releases the language buttons.
  void SetLanguage(int index);
  // The message table of language `index` without choosing the language.
  void SetMessageTable(int index);
  // The program's own messages and Qt's texts in language `index` (app/Translations.h).
  void TranslateQtTexts(int index);
  // The language the window speaks: the chosen one, before a choice the desktop's.
  int ShownLanguage() const;
  // `index` when its page folder is shipped, else 0 (German).
  int PageLanguage(int index) const;
  // Before a choice: the start view's texts in language `index`, nothing chosen.
  void PreviewLanguage(int index);
  // Kind 0: the program folder; 1: the per-user data folder; 2: the shared data folder. Each
  // ends in a separator; empty when unknown.
  static std::string GetFolder(int kind);
  const std::string& Folder(FolderKind kind) const { return m_folders.Get(kind); }
  ControlPools& Pools() { return m_pools; }
  CDeviceLink& Link() { return *m_link; }
  const CatalogueList& Catalogues() const { return m_catalogues; }
  int CatalogueCount() const { return static_cast<int>(m_catalogues.size()); }
  const Catalogue* CurrentCatalogue() const { return m_currentCatalogue; }
  // The catalogue motor the screens work with. The upload compares the connected motor with
  // it, so the link's copy is kept in step.
  void SetCurrentCatalogue(const Catalogue* catalogue);
  // The index of the current catalogue in the list; -1 for none.
  int CurrentCatalogueIndex() const;
  // The parameter set being worked on and the clock the dialog and its link run on.
  ParameterImage& Image() { return *m_image; }
  Clock& GetClock() { return *m_clock; }
  // Line n of the language's message table ("" outside 0..31).
  const std::string& CommonText(int n) const;
  const ContactRecord& Contact() const { return m_contact; }
  // The records of visits (text history, local store, background sync), made on first use.
  VisitRecorder& Records();
  // Shows what the records have to tell the fitter (once per run each), if anything.
  void ShowRecordsNotice();
  // "Verlauf...": the motor's visits from every station; a chosen set is loaded into screen 1
  // as a parameter file is (into a scratch image first).
  void ShowHistory();
  // Loads the set's bytes as a parameter file: false (the set as it was) when they are not one.
  bool LoadRecordedSet(const std::string& bytes);
  // Whether replacing the set being worked on would lose it: it was downloaded or loaded from
  // a file and neither saved nor written since, or it was changed since it was kept.
  void MarkSetKept();
  void MarkSetToKeep();
  bool SetUnkept() const;
  // Asks `question` in the chosen language (before a choice in the first one), unless
  // Einstellungen.ini turns the questions off; true to go on.
  bool Confirm(Question question, const std::string& motorType = {},
               const std::string& motorName = {});
  const ScreenDescription& MainDescription() const { return m_descMain; }
  const ScreenDescription& LanguageDescription() const { return m_descLanguage; }
  Prompts& GetPrompts() { return *m_prompts; }
  MessageSink& Sink() { return *m_sink; }
  ToolTips& ToolTip() { return m_toolTip; }
  PictureHolder& NavigationStrip() { return m_navStrip; }
  QRect NavigationStripRect() const { return m_navRect; }
  // Posts an application message to this dialog.
  void PostMessage(std::uint32_t msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
  // The dialog's timers (0 to 9 belong to the current screen, 20 is free for screens too);
  // ticks reach the screen's OnTimer. Setting a running timer restarts it. With a clock handed
  // in (tests) the timers run on that clock: RunDueTimers fires every timer whose time has
  // come; with the real clock they are Qt timers.
  void SetTimer(unsigned id, int intervalMs);
  void KillTimer(unsigned id);
  bool HasTimer(unsigned id) const { return m_timers.count(id) != 0; }
  // The interval of a running timer; -1 when it does not run.
  int TimerInterval(unsigned id) const;
  void RunDueTimers();

  std::atomic<std::uint32_t>& State() { return m_state; }
  std::uint32_t StateFlags() const { return m_state.load(); }
  // Where the set in the image came from, as the load-data screen records it (its own
  // numbering; 0 until it says otherwise), so that it tells the same when built again.
  int& SetOrigin() { return m_setOrigin; }
  CScreen* CurrentScreen() const { return m_currentScreen.get(); }
  // The current screen once its Create has succeeded: events reach nothing before, for an
  // event loop running inside Create (a screen that waits for the box) must not find the
  // screen half-built.
  CScreen* Routed() const { return m_screenCreated ? m_currentScreen.get() : nullptr; }
  int PreviousScreenId() const { return m_previousScreenId; }
  int FallbackScreenId() const { return m_fallbackScreenId; }
  int LanguageIndex() const { return m_languageIndex; }
  // True for the indexes 0 to 4. Any other value read from StartIni.dat (also one that does
  // not fit an int, such as FF FF FF FF) counts as no choice.
  bool LanguageChosen() const { return m_languageIndex >= 0 && m_languageIndex < kLanguageCount; }

  CMyStatic* Title() const { return m_title; }
  CMyButton* BackButton() const { return m_btnBack; }
  CMyButton* NextButton() const { return m_btnNext; }
  CMyButton* TabButton(int i) const { return i >= 0 && i < kTabCount ? m_btnTab[i] : nullptr; }
  CMyButton* LanguageButton(int i) const {
    return i >= 0 && i < kLanguageCount ? m_btnLanguage[i] : nullptr;
  }
  CMyButton* StartButton() const { return m_btnStart; }
  // Any control of the dialog by ID, null when there is none.
  QWidget* Control(int id) const;

  // ---- start-up and shutdown pieces ----
  // StartIni.dat (the language choice) is kept in the program folder, unless that folder is an
  // installed program's read-only data folder or cannot be written: then below the shared
  // data folder. It is read from there and, when absent, from the program folder.
  std::string StartIniPath() const;
  void ReadStartIni();
  HResult WriteStartIni() const;
  HResult ReadContactProfile();
  void StartFirstScreen();
  // The main tab 1000 + index was pressed.
  void OnMainTab(int index);
  // The screen a main tab leads to in the current catalogue; 0 for none.
  int MainTabTarget(int index) const;
  // Shows the main tab of screen `screenId` pressed, and no other.
  void HighlightTabOf(int screenId);
  // The motor test's stop: a test request and its current watch are aborted, and the stop
  // command (test mode `mode`) is sent as soon as no other test command holds the link, also
  // after the screen has gone. While one is pending StopPending() is true.
  void StopMotor(int mode);
  bool StopPending() const { return m_stopMode != 0; }
  // Whether the motor may be running: an output switched on, or a test worker at work.
  bool MotorMayRun() const;
  // The close box: closes at once after a stop was confirmed or the port watch has ended,
  // else asks. True when the dialog closed.
  bool OnCloseRequest();
  // What the yes to the close question does: keeps what was typed on the screen, lets no
  // worker result open a box any more, hides the window, sends the motor's stop first and
  // lets an upload end; then asks the port watch to end, whose end (20031) closes it.
  void ConfirmClose();
  // Handles one application message; true when it was the dialog's own.
  bool WindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam,
                  std::intptr_t* result);
  // A command of the window menu (the system menu of the platform's windows, here the menu
  // the window opens on a right click): the about box, minimise, close.
  void OnSysCommand(unsigned id);
  // The window menu; null before the initialisation.
  QMenu* SystemMenu() const { return m_systemMenu; }

  // The start view or the current screen as the window shows it, in device pixels (the image
  // carries the window's device pixel ratio).
  QImage Render();
  bool IsClosed() const { return m_closed; }

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void reject() override;

 private:
  void CreateFrameControls();
  void CreateSystemMenu();
  // The window menu's texts in the chosen language (German before a choice).
  void TranslateSystemMenu();
  // "Kontaktdaten...": the first-start dialog filled in with the contact data.
  void EditContactData();
  // The contact dialog: at the first start empty, with `edit` filled in and cancellable.
  // Returns the dialog's result.
  int RunContactDialog(bool edit);
  void ConnectPools();
  void PlaceControls();
  void LoadFrameBitmaps();
  void LoadCatalogues();
  void RunFirstStart();
  void DropScreen();
  // Which frame controls show: the start view's or a screen's.
  void ShowFrameControls();
  void FinishClose();
  // The dialog's own timers (not the screen's): the pending stop and the deferred close.
  void OnOwnTimer(unsigned id);
  void SendStopWhenFree();
  void StopLinkWhenDone();
  void OnFrameButton(int id, QWidget* control);
  // Runs `fn` on the current screen between the two data exchanges.
  template <class Fn>
  void Route(Fn fn);
  // Controls to variables; answers the variables as they were taken.
  std::array<std::string, kComboCount> ExchangeFromControls();
  // Variables to controls: only those the screen changed since `taken`, so that a selection
  // the screen made in the control itself is not undone.
  void ExchangeToControls(const std::array<std::string, kComboCount>& taken);
  // While a screen operation runs (it may open a message box or a file dialog, whose event
  // loop delivers queued messages), the screen must not be deleted: a switch asked for then
  // waits until the outermost operation has returned.
  class ScreenCall;
  friend class ScreenCall;
  void FinishScreenCall();
  void RouteSliderAction(CMySliderCtrl* slider, int action);
  void RouteSliderDraw(CMySliderCtrl* slider, SliderDraw* draw);
  void RouteListSelection(QTreeWidget* list);
  std::vector<std::string> PictureNames(int object) const;
  bool HandleKey(QKeyEvent* event);
  void TrackShift(bool held);
  // The message that the user may not open the box's serial device, once per run.
  void ShowAccessDenied();

  DialogEnvironment m_env;
  std::unique_ptr<QtPrompts> m_ownPrompts;
  Prompts* m_prompts;
  ScreenFactory* m_factory;
  std::unique_ptr<QtMessageSink> m_sink;

  ScreenDescription m_descMain;
  ScreenDescription m_descLanguage;
  std::unique_ptr<CScreen> m_currentScreen;
  int m_previousScreenId = 0;
  int m_fallbackScreenId = 0;
  ToolTips m_toolTip;
  QMenu* m_systemMenu = nullptr;

  CMyStatic* m_title = nullptr;
  CMyButton* m_btnBack = nullptr;
  CMyButton* m_btnNext = nullptr;
  std::array<CMyButton*, kTabCount> m_btnTab{};
  std::array<CMyButton*, kLanguageCount> m_btnLanguage{};
  CMyButton* m_btnStart = nullptr;
  ControlPools m_pools;
  std::map<QWidget*, int> m_listSelection;  // last selected row per pooled list

  PictureHolder m_logo;
  PictureHolder m_navStrip;
  QRect m_logoRect;
  QRect m_navRect;
  Folders m_folders;
  std::unique_ptr<CDeviceLink> m_link;
  std::string m_commandLine;
  int m_languageIndex = kNoLanguage;
  CatalogueList m_catalogues;
  const Catalogue* m_currentCatalogue = nullptr;
  std::atomic<std::uint32_t> m_state{0};
  int m_setOrigin = 0;
  std::array<std::string, kMessageTableSize> m_messages;
  ContactRecord m_contact;
  std::unique_ptr<VisitRecorder> m_records;
  ParameterImage m_keptSet;
  bool m_setToKeep = false;
  NamedMutex m_mutex;
  struct Timer {
    int qtId = 0;  // 0 while the timer runs on the handed-in clock
    int interval = 0;
    std::int64_t due = 0;
  };
  std::map<unsigned, Timer> m_timers;
  bool m_clockDriven = false;
  Clock* m_clock = nullptr;
  ParameterImage* m_image = nullptr;
  bool m_screenCreated = false;
  int m_screenCallDepth = 0;
  int m_pendingSwitch = -1;  // the screen asked for while a screen operation ran; -1 none
  bool m_closed = false;
  bool m_accessDeniedShown = false;
  int m_stopMode = 0;  // the stop command waiting for the link; 0 none
  // Qt's own texts (file dialogs, standard buttons) in the chosen language.
};

}  // namespace roviro
