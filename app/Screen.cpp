#include "app/Screen.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

#include "app/AppMessages.h"
#include "app/ControlPools.h"
#include "app/VQZodavaRozeDlg.h"
#include "catalogue/Catalogue.h"
#include "platform/Paths.h"

namespace roviro {

CScreen::CScreen(CVQZodavaRozeDlg* dlg, int screenId) : m_dlg(dlg), m_screenId(screenId) {
  m_focusTable.fill(nullptr);
  if (m_dlg != nullptr) {
    m_focusTable[kFocusNextEntry] = m_dlg->NextButton();
    m_focusTable[kFocusBackEntry] = m_dlg->BackButton();
  }
}

CScreen::~CScreen() = default;

HResult CScreen::LoadDescription(int capacity) {
  if (m_dlg == nullptr) return E_FAIL;
  return m_desc.Load(m_dlg->Folder(FolderKind::Language), m_screenId, capacity);
}

QWidget* CScreen::FocusEntry(int index) const {
  return index >= 0 && index < kFocusTableSize ? m_focusTable[index] : nullptr;
}

void CScreen::SetFocusEntry(int index, QWidget* control) {
  if (index >= 0 && index < kFocusTableSize) m_focusTable[index] = control;
}

namespace {

// The walk of Tab: the screen's own entries with next and back at their end, then the five
// main tabs (entries kFocusTableSize and up).
constexpr int kFocusWalkSize = kFocusTableSize + kTabCount;

}  // namespace

QWidget* CScreen::WalkEntry(int entry) const {
  if (entry >= 0 && entry < kFocusTableSize) return m_focusTable[entry];
  return m_dlg != nullptr ? m_dlg->TabButton(entry - kFocusTableSize) : nullptr;
}

bool CScreen::Usable(int entry) const {
  const QWidget* w = WalkEntry(entry);
  return w != nullptr && w->isEnabled() && !w->isHidden();
}

void CScreen::Take(int entry) {
  WalkEntry(entry)->setFocus(Qt::TabFocusReason);
  m_focusIndex = entry;
}

void CScreen::NoteClickedFocus(const QWidget* control) {
  if (control == nullptr) return;
  for (int p = 0; p < kFocusWalkSize; ++p) {
    if (WalkEntry(p) == control) {
      m_focusIndex = p;
      return;
    }
  }
}

int CScreen::WalkPosition() const {
  return m_focusIndex >= 0 && m_focusIndex < kFocusWalkSize ? m_focusIndex : -1;
}

void CScreen::FocusNext() {
  const int now = WalkPosition();
  for (int step = 1; step <= kFocusWalkSize; ++step) {
    const int p = now < 0 ? step - 1 : (now + step) % kFocusWalkSize;
    if (Usable(p)) return Take(p);
  }
  m_focusIndex = -1;
}

void CScreen::FocusPrevious() {
  const int now = WalkPosition();
  for (int step = 1; step <= kFocusWalkSize; ++step) {
    const int p = now < 0 ? kFocusWalkSize - step : (now - step + kFocusWalkSize) % kFocusWalkSize;
    if (Usable(p)) return Take(p);
  }
  m_focusIndex = -1;
}

void CScreen::MarkNavigation(QPainter* dc) {
  if (dc == nullptr || m_dlg == nullptr) return;
  PictureHolder& strip = m_dlg->NavigationStrip();
  strip.SetFrame(m_screenId - 1);
  const QRect r = m_dlg->NavigationStripRect();
  if (strip.IsLoaded() && !r.isEmpty()) strip.Draw(0, FromQRect(r), nullptr, *dc, 0);
}

bool CScreen::IgnoreCommandFrom(QWidget*) const { return false; }

void CScreen::LoadButtonBitmaps(CMyButton* button, int objectNumber) {
  if (button == nullptr || m_dlg == nullptr) return;
  const std::string& program = m_dlg->Folder(FolderKind::Program);
  std::vector<std::string> entries(5);
  for (int state : {1, 0, 2, 4}) {
    entries[state] = NormalisePath(program + "\\" + m_desc.Bitmap(objectNumber, state));
  }
  SetButtonPictures(button, entries);
  button->SetLayout(kScreenButtonLayout);
}

int CScreen::ClearFlag4() {
  m_flags &= ~kScreenFlag4;
  return 1;
}

// ---------------------------------------------------------------------------------------------

CScreenDefaults::CScreenDefaults(CVQZodavaRozeDlg* dlg, int screenId, int fallbackPrev,
                                 int fallbackNext)
    : CScreen(dlg, screenId), m_fallbackPrev(fallbackPrev), m_fallbackNext(fallbackNext) {}

void CScreenDefaults::OnPaint(QPainter* dc) {
  DrawScreenExtras(dc);
  MarkNavigation(dc);
}

HResult CScreenDefaults::Create() {
  const HResult bound = BindControls();
  if (Failed(bound)) return bound;
  ApplyDescription();
  ArrangeControls();
  return FillControls();
}

void CScreenDefaults::OnLButtonDown(unsigned, int, int) {
  if (m_dlg != nullptr) m_dlg->PostMessage(kMsgRepaint);
}

HResult CScreenDefaults::BindControls() {
  if (m_dlg == nullptr) return E_FAIL;
  if (m_flags & kScreenBound) return S_OK;
  m_dlg->ReleasePools();
  const HResult taken = TakeControls();
  if (Failed(taken)) return taken;
  m_flags |= kScreenBound;
  return S_OK;
}

void CScreenDefaults::ApplyDescription() {
  if (m_dlg == nullptr || m_dlg->Title() == nullptr) return;
  m_dlg->Title()->SetText(m_desc.Heading());
  m_dlg->Title()->show();
}

HResult CScreenDefaults::CommitIfChanged() {
  if (m_flags & kScreenDirty) {
    StoreValues();
    m_flags &= ~kScreenDirty;
  }
  return S_OK;
}

int CScreenDefaults::NavigationTarget(bool prev) const {
  const ScreenRecord* record =
      m_dlg != nullptr ? GetScreenRecord(m_dlg->CurrentCatalogue(), m_screenId) : nullptr;
  const int fallback = prev ? m_fallbackPrev : m_fallbackNext;
  if (record == nullptr) return fallback;
  const int target = prev ? record->Prev : record->Next;
  // A record that names no neighbour (never set) is treated like a missing record.
  return target < 0 ? fallback : target;
}

void CScreenDefaults::OnCommand(QWidget* focus) {
  if (IgnoreCommandFrom(focus) || m_dlg == nullptr) return;
  int target = 0;
  if (focus != nullptr && focus == m_dlg->BackButton()) {
    if (Failed(CommitIfChanged())) return;
    target = NavigationTarget(true);
  } else if (focus != nullptr && focus == m_dlg->NextButton()) {
    if (Failed(CommitIfChanged())) return;
    target = NavigationTarget(false);
  } else {
    m_flags |= kScreenDirty;
    return;
  }
  m_dlg->PostMessage(kMsgSwitchScreen, static_cast<std::uintptr_t>(target));
}

}  // namespace roviro
