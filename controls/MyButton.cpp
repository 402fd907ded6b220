#include "controls/MyButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

#include <utility>

#include "controls/Fonts.h"

namespace roviro {

namespace {

QColor ToQColor(Colour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

// Two one-pixel rings: the outer and inner top and left lines, the outer and inner bottom and
// right lines.
void Draw3DFrame(QPainter& p, const Rect& r, const QColor& outerTopLeft, const QColor& innerTopLeft,
                 const QColor& outerBottomRight, const QColor& innerBottomRight) {
  auto ring = [&p](int l, int t, int right, int bottom, const QColor& tl, const QColor& br) {
    p.fillRect(QRect(l, t, right - l, 1), tl);
    p.fillRect(QRect(l, t, 1, bottom - t), tl);
    p.fillRect(QRect(l, bottom - 1, right - l, 1), br);
    p.fillRect(QRect(right - 1, t, 1, bottom - t), br);
  };
  if (r.Width() < 2 || r.Height() < 2) {
    return;
  }
  ring(r.left, r.top, r.right, r.bottom, outerTopLeft, outerBottomRight);
  if (r.Width() >= 4 && r.Height() >= 4) {
    ring(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1, innerTopLeft, innerBottomRight);
  }
}

Qt::Alignment ToAlignment(TextAlign h, TextAlign v) {
  Qt::Alignment a = h == TextAlign::kCentre ? Qt::AlignHCenter
                    : h == TextAlign::kFar  ? Qt::AlignRight
                                            : Qt::AlignLeft;
  a |= v == TextAlign::kCentre ? Qt::AlignVCenter
       : v == TextAlign::kFar  ? Qt::AlignBottom
                               : Qt::AlignTop;
  return a;
}

}  // namespace

CMyButton::CMyButton(QWidget* parent) : QAbstractButton(parent), CMyWnd(this) {
  setCheckable(true);
  setMouseTracking(true);
  ResetToDefaults();
  InitialiseOnce();
  // A button with bit 22 hands the keyboard focus back to the window that had it.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
    if (now == this && Bit(22) && !IsCheckBox() && !IsRadio()) {
      if (old) {
        old->setFocus(Qt::OtherFocusReason);
      } else {
        clearFocus();
      }
    }
  });
}

CMyButton::~CMyButton() { LeaveAllGroups(); }

// The one-time set-up, done when the window comes into being (and again on close).
void CMyButton::InitialiseOnce() {
  m_initialised = 1;
  ReleaseBackground();
  m_itemState = 0;
  m_layout = kButtonOwnLayout;
  RequestState(kRequestUncheck);
  m_statePictures.SetDrawMode(kButtonPictureDrawMode);
  m_statePictures.SetKey(kButtonPictureKey);
}

bool CMyButton::IsCheckedToggle() const {
  return (m_state & kStateChecked) &&
         (GetFlags() & (kButtonToggle | kButtonRadio | kButtonCheckBox));
}

bool CMyButton::IsHovering() const { return (m_state & kStateHover) && Bit(30); }

bool CMyButton::SetStatePictures(const std::string& pressed, const std::string& hover,
                                 const std::string& disabledChecked, const std::string& disabled,
                                 const std::string& checked, const std::string& normal) {
  for (const std::string* name :
       {&pressed, &hover, &disabledChecked, &disabled, &checked, &normal}) {
    if (!m_statePictures.AddFrame(*name)) {
      return false;
    }
  }
  UpdateFrame();
  update();
  return true;
}

bool CMyButton::SetStatePicture(const std::string& name, bool clearFirst) {
  if (clearFirst) {
    m_statePictures.Clear();
  }
  if (GetFlags() & kButtonNamedPictures) {
    const std::array<std::string, 6> n = NamedStatePictures(name);
    return SetStatePictures(n[0], n[1], n[2], n[3], n[4], n[5]);
  }
  const bool ok = m_statePictures.AddFrame(name);
  update();
  return ok;
}

void CMyButton::SetLayout(std::uint32_t layout) {
  m_layout = layout;
  update();
}

void CMyButton::SetChecked(bool on) { RequestState(on ? kRequestCheck : kRequestUncheck); }

void CMyButton::RequestState(std::uint32_t request) {
  if (IsTimerRunning()) {
    request = m_state;
  }
  switch (request) {
    case kRequestCheck:
      m_state |= kStateChecked;
      setChecked(true);
      if (IsRadio()) {
        // The other radio buttons of the group are unchecked at once. Nothing is queued: a
        // queued uncheck would also reach the group's plain buttons and check boxes, and
        // would undo a check given to a member before it arrives.
        int position = m_radioGroup.FirstPosition();
        while (position >= 0) {
          auto* other = qobject_cast<CMyButton*>(m_radioGroup.Next(position));
          if (other && other != this && (other->GetFlags() & kButtonRadio)) {
            other->RequestState(kRequestUncheck);
          }
        }
      }
      break;
    case kRequestUncheck:
      m_state &= ~static_cast<std::uint32_t>(kStateChecked);
      setChecked(false);
      break;
    case kRequestHoverOn:
      m_state |= kStateHover;
      break;
    case kRequestHoverOff:
      m_state &= ~static_cast<std::uint32_t>(kStateHover);
      break;
    default:
      break;
  }
  UpdateFrame();
  update();
}

void CMyButton::UpdateFrame() {
  if (GetFlags() & kButtonFrozenPicture) {
    return;
  }
  m_statePictures.SetFrame(
      ChooseStateFrame(!isEnabled(), IsCheckedToggle(), isDown(), IsHovering()));
}

Rect CMyButton::SetCaptionArea(const Rect& r) {
  update();
  return std::exchange(m_captionArea, r);
}

Rect CMyButton::SetPictureSlot(const Rect& r) {
  m_statePictures.SetTarget(r);
  update();
  return std::exchange(m_pictureSlot, r);
}

Rect CMyButton::SetMargins(const Rect& r) {
  update();
  return std::exchange(m_margins, r);
}

HResult CMyButton::JoinRadioGroup(CMyButton* other) {
  if (!other || other == this) {
    return E_FAIL;
  }
  m_radioGroup.Add(other);
  other->m_radioGroup.Add(this);
  return S_OK;
}

HResult CMyButton::LeaveRadioGroup(CMyButton* other) {
  if (!IsRadio()) {
    return E_FAIL;
  }
  if (!other) {
    int position = m_radioGroup.FirstPosition();
    while (position >= 0) {
      if (!m_radioGroup.Next(position)) {
        return E_FAIL;  // a member has gone away
      }
    }
    LeaveAllGroups();
    return S_OK;
  }
  m_radioGroup.Remove(other);
  other->m_radioGroup.Remove(this);
  return S_OK;
}

void CMyButton::LeaveAllGroups() {
  int position = m_radioGroup.FirstPosition();
  while (position >= 0) {
    if (auto* other = qobject_cast<CMyButton*>(m_radioGroup.Next(position))) {
      other->m_radioGroup.Remove(this);
    }
  }
  m_radioGroup.RemoveAll();
}

void CMyButton::SetCaption(const std::string& text) {
  setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

std::string CMyButton::Caption() const { return text().toLatin1().toStdString(); }

Size CMyButton::GetPreferredSize(int options) {
  if (options & 0x2000) {
    return {width(), height()};
  }
  Size size;
  const int maxWidth = (options & 0x800) ? width() : 0;
  if (Failed(TextExtent(CaptionFont(), Caption(), &size, maxWidth, kExtentMultiLine))) {
    return {};
  }
  return PreferredButtonSize(size);
}

QSize CMyButton::sizeHint() const {
  Size size;
  if (Failed(TextExtent(CaptionFont(), Caption(), &size, 0, kExtentMultiLine))) {
    return {20, 18};
  }
  const Size s = PreferredButtonSize(size);
  return {s.cx, s.cy};
}

void CMyButton::ResetToDefaults() {
  m_itemState = 0;
  m_state = 0;
  m_layout = 0;
  setChecked(false);
  m_statePictures.Clear();
  m_captionArea = {};
  m_pictureSlot = {};
  m_statePictures.SetTarget({});
  m_margins = {2, 2, 2, 2};
  LeaveAllGroups();
  Clear();
  update();
}

QFont CMyButton::CaptionFont() const {
  if (testAttribute(Qt::WA_SetFont)) {
    return font();
  }
  return FontCache::Instance().Font(1, -12, 0, 400, 0, "Helvetica");
}

void CMyButton::HoverOn() {
  if (Bit(30) && !(m_state & kStateHover)) {
    RequestState(kRequestHoverOn);
    update();
  }
}

void CMyButton::HoverOff() {
  if (m_state & kStateHover) {
    RequestState(kRequestHoverOff);
    update();
  }
}

bool CMyButton::event(QEvent* e) {
  if (RouteEvent(e)) {
    return true;
  }
  if (e->type() == ControlCommandEvent::EventType()) {
    auto* command = static_cast<ControlCommandEvent*>(e);
    if (command->message == kMsgSetCheck) {
      RequestState(command->wParam ? kRequestCheck : kRequestUncheck);
      update();
      command->handled = true;
      return true;
    }
    return false;
  }
  switch (e->type()) {
    case QEvent::Close:
      InitialiseOnce();
      break;
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
      ReleaseBackground();  // captured again at the next paint
      break;
    default:
      break;
  }
  return QAbstractButton::event(e);
}

void CMyButton::mouseMoveEvent(QMouseEvent* e) {
  if (!(e->buttons() & Qt::LeftButton) || (m_state & kStateHover)) {
    if (rect().contains(e->position().toPoint())) {
      HoverOn();
    } else {
      HoverOff();
    }
  }
  QAbstractButton::mouseMoveEvent(e);
}

void CMyButton::enterEvent(QEnterEvent* e) {
  if (!(QApplication::mouseButtons() & Qt::LeftButton)) {
    HoverOn();
  }
  QAbstractButton::enterEvent(e);
}

void CMyButton::leaveEvent(QEvent* e) {
  HoverOff();
  QAbstractButton::leaveEvent(e);
}

void CMyButton::focusOutEvent(QFocusEvent* e) {
  HoverOff();
  // Qt lets a button up when it loses the focus; one the program holds stays down.
  QAbstractButton::focusOutEvent(e);
  if (m_held && !isDown()) setDown(true);
}

void CMyButton::Hold(bool held) {
  m_held = held;
  setDown(held);
}

void CMyButton::changeEvent(QEvent* e) {
  if (e->type() == QEvent::ActivationChange && !isActiveWindow()) {
    HoverOff();
  } else if (e->type() == QEvent::EnabledChange) {
    if (!isEnabled()) {
      HoverOff();
      if (hasFocus() && parentWidget()) {
        parentWidget()->setFocus(Qt::OtherFocusReason);
      }
    }
    UpdateFrame();
  }
  QAbstractButton::changeEvent(e);
  // Qt lets a button up when it is disabled; one the program holds is down again once enabled.
  if (e->type() == QEvent::EnabledChange && m_held && isEnabled() && !isDown()) setDown(true);
}

void CMyButton::ReleasedInside() {
  if (IsRadio()) {
    RequestState(kRequestCheck);
  } else if (IsCheckBox() || (GetFlags() & kButtonToggle)) {
    RequestState((m_state & kStateChecked) ? kRequestUncheck : kRequestCheck);
  }
}

void CMyButton::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) {
    if (rect().contains(e->position().toPoint())) {
      ReleasedInside();
    } else if (IsRadio()) {
      RequestState((m_state & kStateChecked) ? kRequestCheck : kRequestUncheck);
    }
  }
  QAbstractButton::mouseReleaseEvent(e);
}

// Space pressed on a focused button and released: a click, as the mouse gives it.
void CMyButton::keyReleaseEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Space && !e->isAutoRepeat() && isDown()) ReleasedInside();
  QAbstractButton::keyReleaseEvent(e);
}

void CMyButton::timerEvent(QTimerEvent* e) {
  if (const unsigned id = TimerIdOf(e->timerId())) {
    OnTimer(id);
    return;
  }
  QAbstractButton::timerEvent(e);
}

void CMyButton::paintEvent(QPaintEvent* /*event*/) {
  m_itemState = (isDown() ? kItemPressed : 0u) | (isEnabled() ? 0u : kItemDisabled) |
                (hasFocus() ? kItemFocus : 0u);
  UpdateFrame();

  QPainter p(this);
  PaintLayers(p);

  const QFont captionFont = CaptionFont();
  const std::string caption = Caption();
  ButtonPaintInput in;
  in.client = {0, 0, width(), height()};
  in.flags = GetFlags();
  in.layout = m_layout;
  in.state = m_state;
  in.itemState = m_itemState;
  in.statePictureLoaded = m_statePictures.IsLoaded();
  in.frameSize = m_statePictures.FrameSize();
  in.pictureSlot = m_pictureSlot;
  in.captionArea = m_captionArea;
  in.margins = m_margins;
  in.measureCaption = [&](int maxWidth, int options) {
    Size size;
    TextExtent(captionFont, caption, &size, maxWidth, options);
    return size;
  };
  const ButtonPaintPlan plan = PlanButtonPaint(in);
  const QPalette& pal = palette();

  if (plan.blackFocusFrame) {
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(ToQRect(plan.blackFrameRect).adjusted(0, 0, -1, -1));
  }
  if (plan.frame == ButtonFrameKind::kHover3D) {
    const QColor outer =
        plan.frameSunken ? pal.color(QPalette::Shadow) : pal.color(QPalette::Highlight);
    const QColor inner = plan.frameSunken ? pal.color(QPalette::Dark) : pal.color(QPalette::Light);
    const QColor outerFar =
        plan.frameSunken ? pal.color(QPalette::Highlight) : pal.color(QPalette::Shadow);
    const QColor innerFar =
        plan.frameSunken ? pal.color(QPalette::Light) : pal.color(QPalette::Dark);
    Draw3DFrame(p, plan.frameRect, outer, inner, outerFar, innerFar);
  } else if (plan.frame == ButtonFrameKind::kStandard) {
    p.fillRect(ToQRect(plan.frameRect), pal.color(QPalette::Button));
    if (plan.frameSunken) {
      Draw3DFrame(p, plan.frameRect, pal.color(QPalette::Shadow), pal.color(QPalette::Dark),
                  pal.color(QPalette::Light), pal.color(QPalette::Midlight));
    } else {
      Draw3DFrame(p, plan.frameRect, pal.color(QPalette::Light), pal.color(QPalette::Midlight),
                  pal.color(QPalette::Shadow), pal.color(QPalette::Dark));
    }
  }

  if (plan.drawPicture) {
    p.save();
    p.setClipRect(ToQRect(plan.clip));
    m_statePictures.Draw(m_statePictures.Key(), plan.pictureRect, nullptr, p,
                         m_statePictures.DrawMode(), plan.pictureEnabled);
    p.restore();
  } else if (plan.checkMark != CheckMarkKind::kNone) {
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = ToQRect(plan.pictureRect);
    option.state = (plan.checkMarkChecked ? QStyle::State_On : QStyle::State_Off);
    if (!plan.checkMarkInactive) {
      option.state |= QStyle::State_Enabled;
    }
    style()->drawPrimitive(plan.checkMark == CheckMarkKind::kCheckBox
                               ? QStyle::PE_IndicatorCheckBox
                               : QStyle::PE_IndicatorRadioButton,
                           &option, &p, this);
  }

  if (plan.drawCaption && !caption.empty()) {
    p.setFont(captionFont);
    p.setPen(isEnabled() ? pal.color(QPalette::Active, QPalette::ButtonText)
                         : pal.color(QPalette::Disabled, QPalette::WindowText));
    const int flags = static_cast<int>(ToAlignment(plan.hAlign, plan.vAlign)) |
                      (plan.multiLine ? Qt::TextWordWrap : Qt::TextSingleLine);
    p.drawText(ToQRect(plan.captionRect), flags, text());
  }
  if (plan.focusRect) {
    p.setPen(QPen(pal.color(QPalette::WindowText), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(ToQRect(plan.captionArea).adjusted(0, 0, -1, -1));
  }
  if (plan.emptyFrame) {
    p.setPen(ToQColor(kEmptyFrameColour));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

}  // namespace roviro
