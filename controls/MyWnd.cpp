#include "controls/MyWnd.h"

#include <QCoreApplication>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace roviro {

ControlCommandEvent::ControlCommandEvent(unsigned msg, std::uintptr_t w, std::intptr_t l)
    : QEvent(EventType()), message(msg), wParam(w), lParam(l) {}

QEvent::Type ControlCommandEvent::EventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

bool SendCommand(QWidget* window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                 std::intptr_t* result) {
  if (!window) {
    return false;
  }
  ControlCommandEvent event(message, wParam, lParam);
  QCoreApplication::sendEvent(window, &event);
  if (result) {
    *result = event.result;
  }
  return event.handled;
}

void PostCommand(QWidget* window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  if (window) {
    QCoreApplication::postEvent(window, new ControlCommandEvent(message, wParam, lParam));
  }
}

namespace {

bool HasAmount(const Rect& margins) {
  return margins.left != 0 || margins.top != 0 || margins.right != 0 || margins.bottom != 0;
}

}  // namespace

CMyWnd::CMyWnd(QWidget* window) : m_window(window) { Clear(); }

CMyWnd::~CMyWnd() { Clear(); }

std::uint32_t CMyWnd::GetFlags() const { return m_flags; }

std::uint32_t CMyWnd::SetFlags(std::uint32_t value) {
  m_flags = value;
  if (m_window) {
    m_window->setAttribute(Qt::WA_NoSystemBackground, !NeedsErase());
  }
  FlagsChanged();
  return m_flags;
}

std::uint32_t CMyWnd::ModifyFlags(std::uint32_t remove, std::uint32_t add) {
  return SetFlags((m_flags & ~remove) | add);
}

bool CMyWnd::HasBackground() const { return !m_background.isNull(); }
bool CMyWnd::IsInitialised() const { return m_initialised == 1; }
bool CMyWnd::IsFlag0() const { return m_flags & kFlagOwnDraw; }
bool CMyWnd::IsFlag2() const { return m_flags & kFlag2; }
bool CMyWnd::IsTransparent() const { return m_flags & kFlagTransparent; }
bool CMyWnd::IsGradientHorizontal() const { return m_flags & kFlagGradientHorizontal; }
bool CMyWnd::IsGradientVertical() const { return m_flags & kFlagGradientVertical; }
bool CMyWnd::UsesGradientArea() const {
  return (m_flags & kFlagGradientArea) && !m_gradientArea.IsEmpty();
}
// Margins are amounts, not a rectangle: any non-zero amount counts.
bool CMyWnd::UsesGradientMargins() const {
  return (m_flags & kFlagGradientMargins) && HasAmount(m_gradientMargins);
}
bool CMyWnd::ShowsPicture() const { return (m_flags & kFlagPicture) && m_picture.IsLoaded(); }
bool CMyWnd::UsesPictureArea() const {
  return (m_flags & kFlagPictureArea) && !m_pictureArea.IsEmpty();
}
bool CMyWnd::UsesPictureMargins() const {
  return (m_flags & kFlagPictureMargins) && HasAmount(m_pictureMargins);
}
bool CMyWnd::IsFlag11() const { return m_flags & kFlag11; }
bool CMyWnd::IsFlag12() const { return m_flags & kFlag12; }
bool CMyWnd::IsFlag13() const { return m_flags & kFlag13; }
bool CMyWnd::IsTimerRunning() const { return m_flags & kFlagTimer; }

bool CMyWnd::ReleaseBackground() {
  if (m_background.isNull()) {
    return false;
  }
  m_background = QImage();
  return true;
}

bool CMyWnd::NeedsErase() const { return !(m_flags & kFlagTransparent); }

bool CMyWnd::ExecuteCommand(unsigned message, std::uintptr_t wParam, std::intptr_t /*lParam*/,
                            std::intptr_t* result) {
  if (!m_window) {
    return false;
  }
  if (message == kMsgEnable) {
    m_window->setEnabled(wParam != 0);
  } else if (message == kMsgShow) {
    m_window->setVisible(wParam != 0);
  } else {
    return false;
  }
  if (result) {
    *result = 0;
  }
  return true;
}

void CMyWnd::Clear() {
  ReleaseBackground();
  ClearColours();
  m_picture.Clear();
  StopTimer(kBlinkTimer);
}

void CMyWnd::ResetAppearance(std::uint32_t flags) {
  Clear();
  m_pictureMargins = {};
  m_pictureArea = {};
  m_gradientMargins = {};
  m_gradientArea = {};
  SetFlags(flags);
}

Rect CMyWnd::SetPictureMargins(const Rect& r) { return std::exchange(m_pictureMargins, r); }
Rect CMyWnd::SetPictureArea(const Rect& r) { return std::exchange(m_pictureArea, r); }
Rect CMyWnd::SetGradientMargins(const Rect& r) { return std::exchange(m_gradientMargins, r); }
Rect CMyWnd::SetGradientArea(const Rect& r) { return std::exchange(m_gradientArea, r); }

void CMyWnd::AddColour(Colour rgb) { m_colours.push_back(FormatColourEntry(rgb)); }
void CMyWnd::ClearColours() { m_colours.clear(); }
Colour CMyWnd::GetColour(int index) const { return ColourAt(m_colours, index); }

HResult CMyWnd::LoadPicture(const std::string& file, std::uint32_t drawMode, std::uint32_t key) {
  if (!m_picture.AddFrame(file)) {
    return E_FAIL;
  }
  m_picture.SetDrawMode(drawMode);
  m_picture.SetKey(key);
  return S_OK;
}

Rect CMyWnd::ClientRect() const {
  if (!m_window) {
    return {};
  }
  return {0, 0, m_window->width(), m_window->height()};
}

HResult CMyWnd::CaptureBackgroundFrom(const QImage* source, const Rect& rect) {
  const Rect client = ClientRect();
  if (!source || source->isNull() || rect.IsEmpty() || !m_window || client.IsEmpty()) {
    return E_FAIL;
  }
  ReleaseBackground();
  const int w = std::min(rect.Width(), client.Width());
  const int h = std::min(rect.Height(), client.Height());
  QImage store(w, h, QImage::Format_ARGB32_Premultiplied);
  store.fill(Qt::transparent);
  QPainter p(&store);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(QPoint(0, 0), *source, QRect(rect.left, rect.top, w, h));
  p.end();
  m_background = std::move(store);
  return S_OK;
}

void CMyWnd::SetWindowTimer(unsigned id, unsigned interval) {
  if (!m_window) {
    return;
  }
  KillWindowTimer(id);
  const int qtId = m_window->startTimer(static_cast<int>(interval));
  if (qtId != 0) {
    m_timers[id] = qtId;
  }
}

void CMyWnd::KillWindowTimer(unsigned id) {
  auto it = m_timers.find(id);
  if (it == m_timers.end()) {
    return;
  }
  if (m_window) {
    m_window->killTimer(it->second);
  }
  m_timers.erase(it);
}

unsigned CMyWnd::TimerIdOf(int qtTimerId) const {
  for (const auto& [id, qtId] : m_timers) {
    if (qtId == qtTimerId) {
      return id;
    }
  }
  return 0;
}

void CMyWnd::StartTimer(unsigned id, unsigned interval) {
  SetWindowTimer(id, interval);
  m_flags |= kFlagTimer;
}

void CMyWnd::StopTimer(unsigned id) {
  KillWindowTimer(id);
  m_flags &= ~static_cast<std::uint32_t>(kFlagTimer);
}

void CMyWnd::OnTimer(unsigned id) {
  if (id == kBlinkTimer && m_window) {
    m_window->setEnabled(!m_window->isEnabled());
  }
}

bool CMyWnd::RouteEvent(QEvent* event) {
  if (!m_backgroundSource && m_window) {
    m_backgroundSource = m_window->parentWidget();
  }
  if (event->type() != ControlCommandEvent::EventType()) {
    return false;
  }
  auto* command = static_cast<ControlCommandEvent*>(event);
  std::intptr_t result = 0;
  if (ExecuteCommand(command->message, command->wParam, command->lParam, &result)) {
    command->handled = true;
    command->result = 0;
    return true;
  }
  return false;
}

void CMyWnd::PaintLayers(QPainter& painter) {
  PaintBackground(painter);
  if (m_flags & (kFlagGradientHorizontal | kFlagGradientVertical)) {
    PaintGradient(painter);
  }
  if (ShowsPicture()) {
    PaintPicture(painter);
  }
}

void CMyWnd::PaintBackground(QPainter& painter) {
  const Rect client = ClientRect();
  if (!m_window || !m_backgroundSource || !(m_flags & kFlagTransparent) || client.IsEmpty()) {
    return;
  }
  if (m_background.isNull()) {
    // The parent as it looks at the control's place, drawn without its child windows.
    const QPoint at = m_window->mapTo(m_backgroundSource, QPoint(0, 0));
    QImage parent(client.Width(), client.Height(), QImage::Format_ARGB32_Premultiplied);
    parent.fill(m_backgroundSource->palette().color(m_backgroundSource->backgroundRole()));
    m_backgroundSource->render(&parent, QPoint(),
                               QRegion(at.x(), at.y(), client.Width(), client.Height()),
                               QWidget::DrawWindowBackground);
    CaptureBackgroundFrom(&parent, client);
  }
  painter.drawImage(QPoint(0, 0), m_background);
}

void CMyWnd::PaintGradient(QPainter& painter) {
  Rect area = UsesGradientArea() ? m_gradientArea : ClientRect();
  if (UsesGradientMargins()) {
    area = Deflate(area, m_gradientMargins);
  }
  std::vector<Colour> colours;
  for (int i = 0; i < ColourCount(); ++i) {
    colours.push_back(GetColour(i));
  }
  const bool vertical = (m_flags & kFlagGradientVertical) != 0;
  for (const ColourFill& f : PlanGradient(area, colours, vertical, painter.device()->depth())) {
    painter.fillRect(ToQRect(f.rect), QColor(RedOf(f.colour), GreenOf(f.colour), BlueOf(f.colour)));
  }
}

void CMyWnd::PaintPicture(QPainter& painter) {
  Rect area = UsesPictureArea() ? m_pictureArea : ClientRect();
  if (UsesPictureMargins()) {
    area = Deflate(area, m_pictureMargins);
  }
  for (const Tile& t : TileArea(area, m_picture.FrameSize())) {
    m_picture.Draw(m_picture.Key(), t.target, &t.source, painter, m_picture.DrawMode());
  }
}

HResult CMyObjGroup::Add(QWidget* control) {
  if (!control) {
    return E_FAIL;
  }
  if (!Contains(control)) {
    m_members.emplace_back(control);
  }
  return S_OK;
}

HResult CMyObjGroup::Remove(QWidget* control) {
  if (!control) {
    m_members.clear();
    return S_OK;
  }
  auto it = std::find(m_members.begin(), m_members.end(), control);
  if (it == m_members.end()) {
    return E_FAIL;
  }
  m_members.erase(it);
  return S_OK;
}

bool CMyObjGroup::Contains(QWidget* control) const {
  return control && std::find(m_members.begin(), m_members.end(), control) != m_members.end();
}

QWidget* CMyObjGroup::Next(int& position) const {
  if (position < 0 || position >= Count()) {
    position = -1;
    return nullptr;
  }
  QWidget* member = m_members[position];
  ++position;
  if (position >= Count()) {
    position = -1;
  }
  return member;
}

HResult CMyObjGroup::Broadcast(unsigned code, QWidget* only, std::uintptr_t value,
                               std::intptr_t extra) {
  HResult r = S_OK;
  // A copy: a member may leave the group while it handles the command.
  const std::vector<QPointer<QWidget>> members = m_members;
  for (const QPointer<QWidget>& member : members) {
    if (!member) {
      r = E_FAIL;
      continue;
    }
    if (only && member != only) {
      continue;
    }
    if (code == kMsgShow) {
      member->setVisible(value != 0);
    } else if (code == kMsgEnable) {
      member->setEnabled(value != 0);
    } else if (code == kMsgInvalidate) {
      member->update();
    } else {
      PostCommand(member, code, value, extra);
    }
  }
  return r;
}

}  // namespace roviro
