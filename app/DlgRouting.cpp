// The main dialog at work: switching screens, the main tabs, application messages, timers,
// mouse and keyboard, and the routing of control notifications to the current screen.

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimerEvent>

#include "app/AppMessages.h"
#include "app/Screen.h"
#include "app/ScreenFactory.h"
#include "app/VQZodavaRozeDlg.h"
#include "platform/SerialPort.h"
#include "platform/Translation.h"

namespace roviro {

namespace {

constexpr int kObjDefaultButton = 9;

unsigned ScrollCodeOf(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
      return kScrollLineDown;
    case QAbstractSlider::SliderSingleStepSub:
      return kScrollLineUp;
    case QAbstractSlider::SliderPageStepAdd:
      return kScrollPageDown;
    case QAbstractSlider::SliderPageStepSub:
      return kScrollPageUp;
    case QAbstractSlider::SliderToMinimum:
      return kScrollTop;
    case QAbstractSlider::SliderToMaximum:
      return kScrollBottom;
    default:
      return kScrollThumbTrack;
  }
}

}  // namespace

// Counts the screen operations on the stack; the outermost one, when it returns, carries out a
// switch that was asked for meanwhile.
class CVQZodavaRozeDlg::ScreenCall {
 public:
  explicit ScreenCall(CVQZodavaRozeDlg& dlg) : m_dlg(dlg) { ++m_dlg.m_screenCallDepth; }
  ~ScreenCall() { m_dlg.FinishScreenCall(); }
  ScreenCall(const ScreenCall&) = delete;
  ScreenCall& operator=(const ScreenCall&) = delete;

 private:
  CVQZodavaRozeDlg& m_dlg;
};

void CVQZodavaRozeDlg::FinishScreenCall() {
  if (--m_screenCallDepth > 0 || m_pendingSwitch < 0) return;
  const int id = m_pendingSwitch;
  m_pendingSwitch = -1;
  // Posted rather than done here: the control whose notification is being handled may still
  // be on the stack.
  PostMessage(kMsgSwitchScreen, static_cast<std::uintptr_t>(id));
}

// ---------------------------------------------------------------------------------------------
// Screens

void CVQZodavaRozeDlg::ReleasePools() { m_pools.ReleaseAll(); }

HResult CVQZodavaRozeDlg::SwitchScreen(int id, bool isRetry) {
  if (m_screenCallDepth > 0) {
    // A screen operation (or this switch) is still running; the last request wins.
    m_pendingSwitch = id;
    return S_OK;
  }
  int previous = id;
  if (m_currentScreen != nullptr) {
    previous = m_currentScreen->ScreenId();
    if (previous == id) return S_OK;
    ScreenCall call(*this);
    m_currentScreen->OnLeave();
  }
  DropScreen();
  m_currentScreen = m_factory->Create(id, this);
  m_screenCreated = false;
  if (m_currentScreen == nullptr) {
    ShowFrameControls();
    update();
    return E_FAIL;
  }
  HResult created = E_FAIL;
  {
    ScreenCall call(*this);
    created = m_currentScreen->Create();
  }
  m_screenCreated = Succeeded(created);
  if (Failed(created)) {
    // A screen that cannot be built is never left current.
    DropScreen();
    if (isRetry) {
      ShowFrameControls();
      update();
      return E_FAIL;
    }
    m_pools.HideAndDisableAll();
    return SwitchScreen(previous, true);
  }
  ScreenCall call(*this);
  m_currentScreen->OnEnter();
  m_previousScreenId = previous;
  if (isRetry) m_fallbackScreenId = previous;
  HighlightTabOf(id);
  ShowFrameControls();
  PostMessage(kMsgRepaint, 1);
  m_currentScreen->UpdateControls();
  m_toolTip.Activate(true);
  return S_OK;
}

void CVQZodavaRozeDlg::DropScreen() {
  for (unsigned id = 0; id <= 9; ++id) KillTimer(id);
  m_currentScreen.reset();
  m_screenCreated = false;
  m_toolTip.Activate(false);
  m_title->hide();
  m_pools.ResetAll(PictureNames(kObjDefaultButton), &m_toolTip);
  m_listSelection.clear();
}

int CVQZodavaRozeDlg::MainTabTarget(int index) const {
  auto lowest = [this](int from, int fallback) {
    for (int id = from; id <= 12; ++id) {
      if (GetScreenRecord(m_currentCatalogue, id) != nullptr) return id;
    }
    return fallback;
  };
  switch (index) {
    case 0:
      return lowest(1, 1);
    case 1: {
      // Nothing when the first screen's record is absent or names no screen (Next unset).
      const ScreenRecord* first = GetScreenRecord(m_currentCatalogue, 1);
      return first != nullptr && ScreenFactory::IsScreenId(first->Next) ? first->Next : 0;
    }
    case 2:
      return lowest(6, 6);
    case 3:
      return 7;
    case 4:
      return 8;
    default:
      return 0;
  }
}

void CVQZodavaRozeDlg::OnMainTab(int index) {
  if (index < 0 || index >= kTabCount) return;
  // The settings tab follows the first screen's record; without a screen to go to it does
  // nothing, and the fitter stays where he is.
  const int target = MainTabTarget(index);
  if (target == 0) return;
  if (Routed() != nullptr) {
    ScreenCall call(*this);
    if (Failed(Routed()->CommitIfChanged())) return;
    Routed()->StoreValues();
  }
  SwitchScreen(target);
  // The click let the pressed tab up; the current screen's tab is shown again, also when the
  // switch went nowhere.
  if (m_currentScreen != nullptr) HighlightTabOf(m_currentScreen->ScreenId());
}

void CVQZodavaRozeDlg::HighlightTabOf(int screenId) {
  // The tab that leads to the screen; every other screen with a record is a settings screen,
  // reached through the settings tab and Next.
  int tab = -1;
  for (int i = 0; i < kTabCount && tab < 0; ++i) {
    if (i != 1 && MainTabTarget(i) == screenId) tab = i;
  }
  if (tab < 0 && screenId >= 1 && screenId <= 12) tab = 1;
  for (int i = 0; i < kTabCount; ++i) m_btnTab[i]->Hold(i == tab);
}

// ---------------------------------------------------------------------------------------------
// Messages

void CVQZodavaRozeDlg::PostMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  m_sink->Post(msg, wParam, lParam);
}

bool CVQZodavaRozeDlg::event(QEvent* e) {
  if (IsAppMessageEvent(e)) {
    const auto* m = static_cast<AppMessageEvent*>(e);
    std::intptr_t result = 0;
    if (!WindowProc(m->message, m->wParam, m->lParam, &result)) return QDialog::event(e);
    return true;
  }
  return QDialog::event(e);
}

bool CVQZodavaRozeDlg::WindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam,
                                  std::intptr_t* result) {
  std::intptr_t ignored = 0;
  if (result == nullptr) result = &ignored;
  if ((m_state & kStateCloseConfirmed) && msg != kMsgWatchEnded) {
    // The window is closing: no result reaches a screen, none opens a box.
    return true;
  }
  auto forward = [&] {
    if (Routed() == nullptr) return;
    ScreenCall call(*this);
    Routed()->OnWindowMessage(msg, wParam, lParam, result);
  };
  switch (msg) {
    case kMsgRepaint:
      update();
      return true;
    case kMsgSearchBegins:
      m_state &= ~(kStateBoxPresent | kStateDataLoaded);
      PostMessage(kMsgRefresh);
      forward();
      *result = 1;
      return true;
    case kMsgBoxFound:
      if (!m_link->IsOpen()) {
        m_state &= ~(kStateBoxPresent | kStateDataLoaded);
      } else {
        m_state |= kStateBoxPresent;
      }
      PostMessage(kMsgRefresh);
      forward();
      *result = 1;
      return true;
    case kMsgTransferDone:
    case kMsgBoxOnly:
      // The set a download read or an upload wrote becomes the set here, before the screen
      // is told.
      m_link->TakeReadSet(Image());
      forward();
      return true;
    case kMsgTransferFailed:
      forward();
      KillTimer(0);
      PostMessage(kMsgRefresh);
      *result = 1;
      return true;
    case kMsgRefresh:
      if (Routed() != nullptr) {
        ScreenCall call(*this);
        Routed()->UpdateControls();
      }
      return true;
    case kMsgSwitchScreen:
      *result = Succeeded(SwitchScreen(static_cast<int>(wParam))) ? 1 : 0;
      return true;
    case kMsgTelegramQueued: {
      Telegram t;
      while (Succeeded(m_link->PopTelegram(t))) {
        if (Routed() == nullptr) continue;
        ScreenCall call(*this);
        Routed()->OnDeviceFrame(&t);
      }
      return true;
    }
    case kMsgBoxLost:
      m_link->StartPortWatch();
      return true;
    case kMsgPortAccessDenied:
      ShowAccessDenied();
      return true;
    case kMsgResetSetRead:
      // The set changes here, on the user-interface thread, and the screen is told.
      if (m_link->TakeReadSet(Image())) {
        forward();
        PostMessage(kMsgRefresh);
      }
      return true;
    case kMsgWatchEnded:
      QMetaObject::invokeMethod(
          this, [this] { OnCloseRequest(); }, Qt::QueuedConnection);
      return true;
    default:
      forward();
      return false;
  }
}

namespace {

// What the fitter reads when his user may not open the box's serial device.
std::string AccessDeniedText(const std::string& device, const std::string& group,
                             const std::string& user) {
  std::string text = user.empty()
                         ? Tx("Die Programmierbox an %1 kann nicht ge\xF6"
                              "ffnet werden: Ihr Benutzer darf dieses Ger\xE4t nicht \xF6"
                              "ffnen.",
                              {device})
                         : Tx("Die Programmierbox an %1 kann nicht ge\xF6"
                              "ffnet werden: Ihr Benutzer \"%2\" darf dieses Ger\xE4t nicht \xF6"
                              "ffnen.",
                              {device, user});
  text += "\n\n";
  const std::string command = "sudo usermod -aG " +
                              (group.empty() ? std::string("dialout") : group) + " " +
                              (user.empty() ? Tx("BENUTZER") : user);
  if (group.empty()) {
    text +=
        Tx("Nehmen Sie den Benutzer in die Gruppe auf, der das Ger\xE4t geh\xF6rt (ls -l %1 "
           "zeigt sie), meist \"dialout\":",
           {device});
  } else {
    text += Tx("Nehmen Sie den Benutzer in die Gruppe \"%1\" auf, der das Ger\xE4t geh\xF6rt:",
               {group});
  }
  text += "\n    " + command + "\n";
  return text + Tx("Melden Sie sich danach ab und wieder an und starten Sie das Programm neu.");
}

// What the fitter reads when another program (a second window, the command-line tool) holds
// the box's serial device.
std::string DeviceInUseText(const std::string& device) {
  return Tx(
      "Die Programmierbox an %1 wird bereits von einem anderen Programm benutzt (einem "
      "zweiten Fenster dieses Programms oder roviro-cli).\n\nDieses Programm spricht die "
      "Box nicht an, solange das andere sie h\xE4lt. Beenden Sie das andere Programm; die "
      "Box wird danach von selbst gefunden.",
      {device});
}

}  // namespace

void CVQZodavaRozeDlg::ShowAccessDenied() {
  // Once per run: the port watch keeps searching meanwhile, and a box that cannot be opened
  // stays unopened until the fitter has changed the group membership.
  if (m_accessDeniedShown) return;
  const CDeviceLink::DeniedDevice denied = m_link->AccessDenied();
  if (denied.device.empty()) return;
  m_accessDeniedShown = true;
  m_prompts->MessageBox(denied.inUse
                            ? DeviceInUseText(denied.device)
                            : AccessDeniedText(denied.device, denied.group, CurrentUserName()),
                        Tx("Fehler..."), kMbOk | kMbIconError | kMbTopmost);
}

// ---------------------------------------------------------------------------------------------
// Timers and mouse

void CVQZodavaRozeDlg::SetTimer(unsigned id, int intervalMs) {
  KillTimer(id);
  Timer timer;
  timer.interval = intervalMs < 0 ? 0 : intervalMs;
  timer.due = m_clock->NowMs() + timer.interval;
  if (!m_clockDriven) {
    timer.qtId = startTimer(timer.interval);
    if (timer.qtId == 0) return;
  }
  m_timers[id] = timer;
}

void CVQZodavaRozeDlg::KillTimer(unsigned id) {
  const auto it = m_timers.find(id);
  if (it == m_timers.end()) return;
  if (it->second.qtId != 0) killTimer(it->second.qtId);
  m_timers.erase(it);
}

int CVQZodavaRozeDlg::TimerInterval(unsigned id) const {
  const auto it = m_timers.find(id);
  return it == m_timers.end() ? -1 : it->second.interval;
}

void CVQZodavaRozeDlg::RunDueTimers() {
  const std::int64_t now = m_clock->NowMs();
  std::vector<unsigned> due;
  for (const auto& [id, timer] : m_timers) {
    if (timer.qtId == 0 && timer.due <= now) due.push_back(id);
  }
  for (unsigned id : due) {
    // A tick may kill or restart any timer, or switch the screen.
    const auto it = m_timers.find(id);
    if (it == m_timers.end() || it->second.due > now) continue;
    it->second.due = now + (it->second.interval > 0 ? it->second.interval : 1);
    if (id == kStopTimer || id == kCloseTimer) {
      OnOwnTimer(id);
    } else if (Routed() != nullptr) {
      ScreenCall call(*this);
      Routed()->OnTimer(id);
    }
  }
}

void CVQZodavaRozeDlg::timerEvent(QTimerEvent* e) {
  for (const auto& [id, timer] : m_timers) {
    if (timer.qtId != 0 && timer.qtId == e->timerId()) {
      if (id == kStopTimer || id == kCloseTimer) {
        const unsigned own = id;
        OnOwnTimer(own);
      } else if (Routed() != nullptr) {
        const unsigned tick = id;
        ScreenCall call(*this);
        Routed()->OnTimer(tick);
      }
      return;
    }
  }
  QDialog::timerEvent(e);
}

namespace {
unsigned KeyFlags(const QMouseEvent* e) {
  unsigned keys = 0;
  if (e->buttons() & Qt::LeftButton) keys |= 0x1;
  if (e->buttons() & Qt::RightButton) keys |= 0x2;
  if (e->modifiers() & Qt::ShiftModifier) keys |= 0x4;
  if (e->modifiers() & Qt::ControlModifier) keys |= 0x8;
  if (e->buttons() & Qt::MiddleButton) keys |= 0x10;
  return keys;
}
}  // namespace

void CVQZodavaRozeDlg::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && Routed() != nullptr) {
    const QPoint p = e->position().toPoint();
    ScreenCall call(*this);
    Routed()->OnLButtonDown(KeyFlags(e), p.x(), p.y());
  }
  QDialog::mousePressEvent(e);
}

void CVQZodavaRozeDlg::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && Routed() != nullptr) {
    const QPoint p = e->position().toPoint();
    ScreenCall call(*this);
    Routed()->OnLButtonUp(KeyFlags(e), p.x(), p.y());
  }
  QDialog::mouseReleaseEvent(e);
}

// ---------------------------------------------------------------------------------------------
// Keyboard: every key of the window passes here before its control sees it.

bool CVQZodavaRozeDlg::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::FocusIn && Routed() != nullptr &&
      static_cast<QFocusEvent*>(e)->reason() == Qt::MouseFocusReason) {
    Routed()->NoteClickedFocus(qobject_cast<QWidget*>(watched));
    return false;
  }
  if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr) return false;
  auto* key = static_cast<QKeyEvent*>(e);
  if (widget->window() != this) {
    // Shift released while another window (a message box) has the focus must not stay held.
    if (key->key() == Qt::Key_Shift) TrackShift(e->type() == QEvent::KeyPress);
    return false;
  }
  return HandleKey(key);
}

void CVQZodavaRozeDlg::TrackShift(bool held) {
  if (held) {
    m_state |= kStateShiftHeld;
  } else {
    m_state &= ~kStateShiftHeld;
  }
}

bool CVQZodavaRozeDlg::HandleKey(QKeyEvent* e) {
  const bool press = e->type() == QEvent::KeyPress;
  switch (e->key()) {
    case Qt::Key_Escape:
      return true;
    case Qt::Key_Shift:
      TrackShift(press);
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (Routed() != nullptr) {
        // Enter presses the focused button as Space does; an edit keeps its Enter.
        auto* button = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
        if (button == nullptr || button->window() != this) return false;
        if (press && !e->isAutoRepeat() && button->isEnabled() && button->isVisible()) {
          button->click();
        }
        return true;
      }
      // On the start view Enter presses the start button.
      if (m_currentScreen != nullptr) return false;
      if (press && !e->isAutoRepeat() && m_btnStart->isEnabled() && m_btnStart->isVisible()) {
        OnFrameButton(kIdStart, m_btnStart);
      }
      return true;
    case Qt::Key_Left:
    case Qt::Key_Right: {
      // Alt+Left and Alt+Right are back and next.
      if (!(e->modifiers() & Qt::AltModifier) || Routed() == nullptr) return false;
      CMyButton* button = e->key() == Qt::Key_Left ? m_btnBack : m_btnNext;
      if (press && !e->isAutoRepeat() && button->isEnabled() && button->isVisible()) {
        button->click();
      }
      return true;
    }
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      if (Routed() == nullptr) return false;
      if (press) {
        // The key's own modifiers tell the direction; the held-Shift flag may be stale when
        // Shift went up while another window had the keyboard.
        TrackShift((e->modifiers() & Qt::ShiftModifier) != 0);
        const bool back = e->key() == Qt::Key_Backtab || (e->modifiers() & Qt::ShiftModifier);
        ScreenCall call(*this);
        if (back) {
          Routed()->FocusPrevious();
        } else {
          Routed()->FocusNext();
        }
      }
      return true;
    default:
      return false;
  }
}

// ---------------------------------------------------------------------------------------------
// Routing of control notifications

std::array<std::string, kComboCount> CVQZodavaRozeDlg::ExchangeFromControls() {
  for (int i = 0; i < kComboCount; ++i) {
    QComboBox* combo = m_pools.combos.At(i);
    m_pools.comboTexts[i] =
        combo->currentIndex() < 0 ? std::string() : combo->currentText().toLatin1().toStdString();
  }
  return m_pools.comboTexts;
}

void CVQZodavaRozeDlg::ExchangeToControls(const std::array<std::string, kComboCount>& taken) {
  for (int i = 0; i < kComboCount; ++i) {
    if (m_pools.comboTexts[i] == taken[i]) continue;
    QComboBox* combo = m_pools.combos.At(i);
    const int found = m_pools.comboTexts[i].empty()
                          ? -1
                          : combo->findText(QString::fromLatin1(m_pools.comboTexts[i].c_str()));
    if (found != combo->currentIndex()) {
      const QSignalBlocker block(combo);
      combo->setCurrentIndex(found);
    }
  }
}

template <class Fn>
void CVQZodavaRozeDlg::Route(Fn fn) {
  if (Routed() == nullptr) return;
  const auto taken = ExchangeFromControls();
  {
    ScreenCall call(*this);
    fn(*Routed());
  }
  ExchangeToControls(taken);
}

void CVQZodavaRozeDlg::OnFrameButton(int id, QWidget* control) {
  if (Routed() != nullptr) {
    Route([control](CScreen& s) { s.OnCommand(control); });
    return;
  }
  if (id == kIdStart) StartFirstScreen();
}

void CVQZodavaRozeDlg::RouteSliderAction(CMySliderCtrl* slider, int action) {
  const unsigned code = ScrollCodeOf(action);
  const unsigned position =
      code == kScrollThumbTrack ? static_cast<unsigned>(slider->sliderPosition()) : 0u;
  const bool vertical = slider->orientation() == Qt::Vertical;
  Route([&](CScreen& s) {
    if (vertical) {
      s.OnVScroll(code, position, slider, slider);
    } else {
      s.OnHScroll(code, position, slider, slider);
    }
  });
}

void CVQZodavaRozeDlg::RouteSliderDraw(CMySliderCtrl* slider, SliderDraw* draw) {
  CustomDrawNotify n{
      {slider, ControlId(slider), kNotifyCustomDraw}, draw->stage, draw->painter, draw->rect};
  std::intptr_t result = 0;
  Route([&](CScreen& s) { s.OnCustomDraw(&n.header, &result, slider); });
  draw->answer = static_cast<unsigned>(result);
}

void CVQZodavaRozeDlg::RouteListSelection(QTreeWidget* list) {
  const QList<QTreeWidgetItem*> selected = list->selectedItems();
  const int now = selected.isEmpty() ? -1 : list->indexOfTopLevelItem(selected.front());
  const auto it = m_listSelection.find(list);
  const int before = it == m_listSelection.end() ? -1 : it->second;
  m_listSelection[list] = now;
  if (before == now) return;
  NotifyHeader header{list, ControlId(list), 0};
  std::intptr_t result = 0;
  if (before >= 0) {
    ListViewNotify n{header, before, 0, 0, kListItemSelected, kListItemSelected};
    Route([&](CScreen& s) { s.OnListItemUnselecting(&n, &result, list); });
  }
  if (now >= 0) {
    ListViewNotify n{header, now, 0, kListItemSelected, 0, kListItemSelected};
    Route([&](CScreen& s) { s.OnListItemSelected(&n, &result, list); });
  }
}

void CVQZodavaRozeDlg::ConnectPools() {
  for (CMyButton* b : m_pools.buttonsA.All()) {
    connect(b, &QAbstractButton::clicked, this,
            [this, b] { Route([b](CScreen& s) { s.OnButtonClicked(b); }); });
  }
  for (CMyButton* b : m_pools.buttonsB.All()) {
    connect(b, &QAbstractButton::clicked, this,
            [this, b] { Route([b](CScreen& s) { s.OnCommand(b); }); });
  }
  for (CMyButton* b : m_pools.buttonsC.All()) {
    connect(b, &QAbstractButton::clicked, this,
            [this, b] { Route([b](CScreen& s) { s.OnCommandGroupC(b); }); });
  }
  for (QPlainTextEdit* e : m_pools.edits.All()) {
    connect(e, &QPlainTextEdit::textChanged, this,
            [this, e] { Route([e](CScreen& s) { s.OnEditChange(e); }); });
  }
  for (QComboBox* c : m_pools.combos.All()) {
    connect(c, &QComboBox::activated, this,
            [this, c] { Route([c](CScreen& s) { s.OnComboSelChange(c); }); });
  }
  for (QTreeWidget* l : m_pools.lists.All()) {
    connect(l, &QTreeWidget::itemClicked, this, [this, l] {
      NotifyHeader header{l, ControlId(l), 0};
      std::intptr_t result = 0;
      Route([&](CScreen& s) { s.OnListClick(&header, &result, l); });
    });
    connect(l->header(), &QHeaderView::sectionClicked, this, [this, l](int column) {
      NotifyHeader header{l, ControlId(l), column};
      std::intptr_t result = 0;
      Route([&](CScreen& s) { s.OnListColumnClick(&header, &result, l); });
    });
    connect(l, &QTreeWidget::itemSelectionChanged, this, [this, l] { RouteListSelection(l); });
  }
  for (QTimeEdit* t : m_pools.timePickers.All()) {
    connect(t, &QTimeEdit::timeChanged, this, [this, t] {
      NotifyHeader header{t, ControlId(t), 0};
      std::intptr_t result = 0;
      Route([&](CScreen& s) { s.OnDateTimeChange(&header, &result, t); });
    });
  }
  for (auto* pool : {&m_pools.slidersV, &m_pools.slidersH}) {
    for (CMySliderCtrl* slider : pool->All()) {
      // Only what the fitter does is reported, after the position has changed, and at once:
      // a queued report could reach the next screen after a quick switch.
      connect(slider, &CMySliderCtrl::Scrolled, this,
              [this, slider](int action) { RouteSliderAction(slider, action); });
      connect(slider, &CMySliderCtrl::CustomDraw, this,
              [this, slider](SliderDraw* draw) { RouteSliderDraw(slider, draw); });
      connect(slider, &QAbstractSlider::sliderReleased, this, [this, slider] {
        const bool vertical = slider->orientation() == Qt::Vertical;
        Route([&](CScreen& s) {
          const auto pos = static_cast<unsigned>(slider->value());
          if (vertical) {
            s.OnVScroll(kScrollThumbPosition, pos, slider, slider);
            s.OnVScroll(kScrollEnd, 0, slider, slider);
          } else {
            s.OnHScroll(kScrollThumbPosition, pos, slider, slider);
            s.OnHScroll(kScrollEnd, 0, slider, slider);
          }
        });
      });
    }
  }
}

}  // namespace roviro
