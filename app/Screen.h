#pragma once
// CScreen: one full-window page of the program. The main dialog keeps at most one current
// screen, creates it by number, forwards every event it does not handle itself through the 41
// operations below (in their fixed slot order) and destroys it when the fitter moves on.
// Screens own no windows: they borrow controls from the dialog's pools.
//
// CScreenDefaults gives every operation the behaviour most screens want, so that a concrete
// screen overrides only what it does differently.

#include <array>
#include <cstdint>

#include "controls/geometry/ControlGeometry.h"
#include "pages/ScreenDescription.h"
#include "platform/Result.h"

class QPainter;
class QTreeWidget;
class QWidget;

namespace roviro {

class CMyButton;
class CVQZodavaRozeDlg;
struct Telegram;

// What a control notification carries: the sending control, its ID and the notification code.
struct NotifyHeader {
  QWidget* from = nullptr;
  int id = 0;
  int code = 0;
};

// A list item's state change.
inline constexpr std::uint32_t kListItemSelected = 0x2;
inline constexpr std::uint32_t kListItemFocused = 0x1;
struct ListViewNotify {
  NotifyHeader header;
  int item = -1;
  int subItem = 0;
  std::uint32_t newState = 0;
  std::uint32_t oldState = 0;
  std::uint32_t changed = 0;
};

// A slider's custom-draw notification (code kNotifyCustomDraw): the stage (pre-paint 0x1,
// post-paint 0x2), the painter that paints into the slider and its client rectangle. A screen
// that has drawn the slider itself at the pre-paint stage answers 0x4 (skip the default
// drawing) in the result.
inline constexpr int kNotifyCustomDraw = -12;
struct CustomDrawNotify {
  NotifyHeader header;
  unsigned drawStage = 0;
  QPainter* dc = nullptr;
  Rect rect;
};

// Scroll codes of the sliders' scroll notifications.
enum ScrollCode : unsigned {
  kScrollLineUp = 0,
  kScrollLineDown = 1,
  kScrollPageUp = 2,
  kScrollPageDown = 3,
  kScrollThumbPosition = 4,
  kScrollThumbTrack = 5,
  kScrollTop = 6,
  kScrollBottom = 7,
  kScrollEnd = 8,
};

// Screen flag bits shared by every screen.
inline constexpr std::uint32_t kScreenFlag4 = 0x04;
inline constexpr std::uint32_t kScreenBound = 0x20;
inline constexpr std::uint32_t kScreenDirty = 0x40;

inline constexpr int kFocusTableSize = 35;
inline constexpr int kFocusNextEntry = 33;
inline constexpr int kFocusBackEntry = 34;

class CScreen {
 public:
  // Clears the focus table and puts the dialog's next and back buttons in entries 33 and 34.
  CScreen(CVQZodavaRozeDlg* dlg, int screenId);

  // Slot 0.
  virtual ~CScreen();
  CScreen(const CScreen&) = delete;
  CScreen& operator=(const CScreen&) = delete;

  virtual void OnPrePaint() = 0;           // 1
  virtual void OnPaint(QPainter* dc) = 0;  // 2
  virtual void OnTimer(unsigned id) = 0;   // 3
  virtual HResult Create() = 0;            // 4
  virtual void UpdateControls() = 0;       // 5
  virtual void Spare6() = 0;               // 6
  virtual void ArrangeControls() = 0;      // 7
  virtual int OnWindowMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam,
                              std::intptr_t* result) = 0;       // 8
  virtual void OnLButtonDown(unsigned keys, int x, int y) = 0;  // 9
  virtual void OnLButtonUp(unsigned keys, int x, int y) = 0;    // 10
  virtual void Spare11(int a, int b, int c) = 0;                // 11
  virtual HResult BindControls() = 0;                           // 12
  virtual void ApplyDescription() = 0;                          // 13
  virtual void Spare14() = 0;                                   // 14
  virtual void StoreValues() = 0;                               // 15
  virtual HResult CommitIfChanged() = 0;                        // 16
  virtual void OnCommand(QWidget* focus) = 0;                   // 17
  virtual void OnButtonClicked(QWidget* focus) = 0;             // 18
  virtual void OnComboDblClk(QWidget* focus) = 0;               // 19
  virtual void OnComboEditChange(QWidget* focus) = 0;           // 20
  virtual void OnComboSelChange(QWidget* focus) = 0;            // 21
  virtual void OnEditChange(QWidget* focus) = 0;                // 22
  virtual void OnDateTimeChange(NotifyHeader* header, std::intptr_t* result,
                                QWidget* focus) = 0;  // 23
  virtual void OnListClick(NotifyHeader* header, std::intptr_t* result,
                           QTreeWidget* list) = 0;  // 24
  virtual void OnListNotify(NotifyHeader* header, std::intptr_t* result,
                            QTreeWidget* list) = 0;  // 25
  virtual void OnListColumnClick(NotifyHeader* header, std::intptr_t* result,
                                 QTreeWidget* list) = 0;  // 26
  virtual void OnListItemUnselecting(ListViewNotify* notify, std::intptr_t* result,
                                     QTreeWidget* list) = 0;  // 27
  virtual void OnListItemSelected(ListViewNotify* notify, std::intptr_t* result,
                                  QTreeWidget* list) = 0;  // 28
  virtual void OnCommandGroupC(QWidget* focus) = 0;        // 29
  virtual void Spare30(int a, int b, int c) = 0;           // 30
  virtual void Spare31(int a, int b, int c) = 0;           // 31
  virtual void Spare32(int a, int b, int c) = 0;           // 32
  virtual void Spare33(int a, int b, int c) = 0;           // 33
  virtual void OnCustomDraw(NotifyHeader* header, std::intptr_t* result,
                            QWidget* focus) = 0;  // 34
  virtual void OnHScroll(unsigned code, unsigned position, QWidget* scrollBar,
                         QWidget* focus) = 0;  // 35
  virtual void OnVScroll(unsigned code, unsigned position, QWidget* scrollBar,
                         QWidget* focus) = 0;             // 36
  virtual void OnRefreshRequest() = 0;                    // 37
  virtual void OnLeave() = 0;                             // 38
  virtual void OnEnter() = 0;                             // 39
  virtual void OnDeviceFrame(const Telegram* frame) = 0;  // 40

  // Moves the focus to the next usable entry of the focus table (not null, enabled, shown),
  // wrapping once; -1 when there is none.
  void FocusNext();
  void FocusPrevious();
  // With a painter: the dialog's navigation strip shows frame m_screenId - 1.
  void MarkNavigation(QPainter* dc);
  // Screens call it first in OnCommand; false.
  bool IgnoreCommandFrom(QWidget* window) const;
  CVQZodavaRozeDlg* GetDialog() const { return m_dlg; }
  // Gives the button the pictures of object `objectNumber` (states 1, 0, 2, 4, names relative
  // to the program folder) and the screens' button layout 0xC4082022.
  void LoadButtonBitmaps(CMyButton* button, int objectNumber);
  // Clears flag 0x04; 1.
  int ClearFlag4();

  int ScreenId() const { return m_screenId; }
  std::uint32_t Flags() const { return m_flags; }
  int FocusIndex() const { return m_focusIndex; }
  QWidget* FocusEntry(int index) const;
  // Entry `entry` of Tab's walk: the focus table, then the main tabs.
  QWidget* WalkEntry(int entry) const;
  // A control clicked into: Tab goes on from there.
  void NoteClickedFocus(const QWidget* control);
  void SetFocusEntry(int index, QWidget* control);
  const ScreenDescription& Description() const { return m_desc; }

 protected:
  // Reads the screen's page file from the language folder.
  HResult LoadDescription(int capacity);

  ScreenDescription m_desc;
  std::uint32_t m_flags = 0;
  CVQZodavaRozeDlg* m_dlg;
  int m_focusIndex = -1;
  std::array<QWidget*, kFocusTableSize> m_focusTable{};
  int m_screenId;

 private:
  bool Usable(int index) const;
  void Take(int index);
  // Where Tab's walk stands; -1 before its start.
  int WalkPosition() const;
};

// The behaviour of the "usual" column: what a screen does when it has nothing special to do.
class CScreenDefaults : public CScreen {
 public:
  // `fallbackPrev` and `fallbackNext`: the targets of back and next when the current catalogue
  // has no record for this screen.
  CScreenDefaults(CVQZodavaRozeDlg* dlg, int screenId, int fallbackPrev, int fallbackNext);

  void OnPrePaint() override {}
  void OnPaint(QPainter* dc) override;
  void OnTimer(unsigned) override {}
  // BindControls, ApplyDescription, ArrangeControls, FillControls.
  HResult Create() override;
  void UpdateControls() override {}
  void Spare6() override {}
  void ArrangeControls() override {}
  int OnWindowMessage(std::uint32_t, std::uintptr_t, std::intptr_t, std::intptr_t*) override {
    return 0;
  }
  // Asks for a repaint (20012).
  void OnLButtonDown(unsigned keys, int x, int y) override;
  void OnLButtonUp(unsigned, int, int) override {}
  void Spare11(int, int, int) override {}
  // Fails without dialog; once bound returns at once; else releases the pools, takes the
  // screen's controls (TakeControls) and marks the screen bound.
  HResult BindControls() override;
  // Shows the page heading in the dialog's heading static.
  void ApplyDescription() override;
  void Spare14() override {}
  void StoreValues() override {}
  // With the dirty flag: StoreValues and clear it. 0.
  HResult CommitIfChanged() override;
  // Back and next through the current catalogue's screen record; any other control marks the
  // screen dirty.
  void OnCommand(QWidget* focus) override;
  void OnButtonClicked(QWidget*) override {}
  void OnComboDblClk(QWidget*) override {}
  void OnComboEditChange(QWidget*) override {}
  void OnComboSelChange(QWidget*) override {}
  void OnEditChange(QWidget*) override {}
  void OnDateTimeChange(NotifyHeader*, std::intptr_t*, QWidget*) override {}
  void OnListClick(NotifyHeader*, std::intptr_t*, QTreeWidget*) override {}
  void OnListNotify(NotifyHeader*, std::intptr_t*, QTreeWidget*) override {}
  void OnListColumnClick(NotifyHeader*, std::intptr_t*, QTreeWidget*) override {}
  void OnListItemUnselecting(ListViewNotify*, std::intptr_t*, QTreeWidget*) override {}
  void OnListItemSelected(ListViewNotify*, std::intptr_t*, QTreeWidget*) override {}
  void OnCommandGroupC(QWidget*) override {}
  void Spare30(int, int, int) override {}
  void Spare31(int, int, int) override {}
  void Spare32(int, int, int) override {}
  void Spare33(int, int, int) override {}
  void OnCustomDraw(NotifyHeader*, std::intptr_t*, QWidget*) override {}
  void OnHScroll(unsigned, unsigned, QWidget*, QWidget*) override {}
  void OnVScroll(unsigned, unsigned, QWidget*, QWidget*) override {}
  void OnRefreshRequest() override {}
  void OnLeave() override {}
  void OnEnter() override {}
  void OnDeviceFrame(const Telegram*) override {}

 protected:
  // Extra drawing of a screen into the back buffer; nothing by default.
  virtual void DrawScreenExtras(QPainter*) {}
  // Takes the screen's controls from the pools; S_OK by default (a screen without controls).
  virtual HResult TakeControls() { return S_OK; }
  // Fills the bound controls with their values after ArrangeControls; S_OK by default.
  virtual HResult FillControls() { return S_OK; }
  // The target of back (prev true) or next from the current catalogue, else the fallback.
  int NavigationTarget(bool prev) const;

  int m_fallbackPrev;
  int m_fallbackNext;
};

}  // namespace roviro
