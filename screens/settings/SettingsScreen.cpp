#include "screens/settings/SettingsScreen.h"

#include <algorithm>

#include "app/AppMessages.h"
#include "controls/Fonts.h"
#include "platform/Translation.h"
#include "records/ScreenSettingsFile.h"

namespace roviro {

namespace {

// Switches are check boxes with the box left of the caption, as on the data screens.
constexpr std::uint32_t kSwitchFlags =
    kButtonCheckBox | kButtonCaption | kButtonTrackMouse | kButtonFocusCaption;
constexpr std::uint32_t kSwitchLayout = 0x10082020;
constexpr int kSwitchSizeOptions = 0x1000;
// The preferred width of a button is its caption plus 20; a switch draws its box (15 pixels,
// inside the button's 2-pixel border) and a 4-pixel gap before the caption, which needs 3
// pixels more, or the caption is cut at its end.
constexpr int kSwitchBoxExtra = 3;
constexpr int kLabelSizeOptions = 0x40000000;
constexpr std::uint32_t kStaticCentre = 0x1;  // window style: text centred
constexpr int kPageCapacity = 30;
constexpr int kSettingsTab = 1;

}  // namespace

CSettingsScreen::CSettingsScreen(CVQZodavaRozeDlg* dlg, const SettingsScreenDefinition& definition)
    : CScreenDefaults(dlg, definition.screenId, definition.fallbackPrev, definition.fallbackNext),
      m_definition(definition),
      m_controls(definition.controls.size(), nullptr),
      m_stepChanged(definition.steps.size(), false) {
  // Without a dialog the page is looked for in an empty folder (and not found).
  m_desc.Load(m_dlg != nullptr ? m_dlg->Folder(FolderKind::Language) : std::string(), m_screenId,
              kPageCapacity);
  m_flags = m_desc.ScreenFlag() & ~kScreenBound;
}

// ---------------------------------------------------------------------------------------------
// Controls

HResult CSettingsScreen::TakeControls() {
  ControlPools& pools = m_dlg->Pools();
  // Each pool is taken from its element 0 on, in the order of the table.
  int switches = 0, stepButtons = 0, edits = 0, labels = 0, sliders = 0;
  int focus = 0;
  QWidget* previousFocus = nullptr;
  for (std::size_t i = 0; i < m_definition.controls.size(); ++i) {
    const SettingsControl kind = m_definition.controls[i].kind;
    QWidget* control = nullptr;
    switch (kind) {
      case SettingsControl::kSwitch:
        control = pools.buttonsA.Take(switches++);
        break;
      case SettingsControl::kStepButton:
        control = pools.buttonsB.Take(stepButtons++);
        break;
      case SettingsControl::kValueEdit:
        control = pools.edits.Take(edits++);
        break;
      case SettingsControl::kLabel:
        control = pools.statics.Take(labels++);
        break;
      case SettingsControl::kValueSlider:
        control = pools.slidersH.Take(sliders++);
        break;
    }
    if (control == nullptr) return E_FAIL;  // the table asks for more than a pool holds
    m_controls[i] = control;
    // Tab follows the control table.
    if (kind != SettingsControl::kLabel && focus < kFocusNextEntry) {
      m_focusTable[focus++] = control;
      if (previousFocus != nullptr) QWidget::setTabOrder(previousFocus, control);
      previousFocus = control;
    }
  }
  return S_OK;
}

QWidget* CSettingsScreen::Control(int index) const {
  return index >= 0 && index < ControlCount() ? m_controls[static_cast<std::size_t>(index)]
                                              : nullptr;
}

CMyButton* CSettingsScreen::Button(int index) const {
  return qobject_cast<CMyButton*>(Control(index));
}

QPlainTextEdit* CSettingsScreen::Edit(int index) const {
  return qobject_cast<QPlainTextEdit*>(Control(index));
}

CMyStatic* CSettingsScreen::Label(int index) const {
  return qobject_cast<CMyStatic*>(Control(index));
}

CMySliderCtrl* CSettingsScreen::Slider(int index) const {
  return qobject_cast<CMySliderCtrl*>(Control(index));
}

bool CSettingsScreen::Checked(int index) const {
  const CMyButton* b = Button(index);
  return b != nullptr && b->IsCheckedToggle();
}

void CSettingsScreen::Enable(int index, bool on) {
  QWidget* w = Control(index);
  if (w == nullptr || w->isEnabled() == on) return;
  if (Label(index) != nullptr) {
    SendCommand(w, kMsgEnable, on ? 1 : 0);
  } else {
    w->setEnabled(on);
  }
}

void CSettingsScreen::Show(int index, bool on) {
  QWidget* w = Control(index);
  if (w != nullptr && w->isHidden() == on) w->setVisible(on);
}

void CSettingsScreen::SetEditText(QPlainTextEdit* edit, const std::string& text) {
  if (edit == nullptr) return;
  const QSignalBlocker block(edit);
  edit->setPlainText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

std::string CSettingsScreen::EditText(const QPlainTextEdit* edit) {
  return edit != nullptr ? edit->toPlainText().toLatin1().toStdString() : std::string();
}

// ---------------------------------------------------------------------------------------------
// The catalogue and the image

const ScreenRecord* CSettingsScreen::Record() const {
  return m_dlg != nullptr ? GetScreenRecord(m_dlg->CurrentCatalogue(), m_screenId) : nullptr;
}

const MotorRecord* CSettingsScreen::Motor() const {
  return m_dlg != nullptr ? CurrentMotorRecord(m_dlg->CurrentCatalogue(), m_dlg->Image()) : nullptr;
}

std::span<std::uint8_t> CSettingsScreen::SettingsBytes() {
  return m_dlg->Image().Block(kSettingsBlock);
}

std::span<std::uint8_t> CSettingsScreen::StepBytes() {
  return m_dlg->Image().Block(kStepValueBlock);
}

// ---------------------------------------------------------------------------------------------
// Creation

HResult CSettingsScreen::Create() {
  if (m_dlg == nullptr || Failed(BindControls())) return E_FAIL;
  if (m_dlg->Title() != nullptr) m_dlg->Title()->SetText(m_desc.Heading());

  for (int i = 0; i < ControlCount(); ++i) {
    const ControlSpec& c = m_definition.controls[static_cast<std::size_t>(i)];
    if (c.tooltipObject >= 0) m_dlg->ToolTip().AddTool(Control(i), m_desc.Tooltip(c.tooltipObject));
  }
  for (const ValuePairSpec& p : m_definition.pairs) {
    if (CMySliderCtrl* s = Slider(p.slider)) {
      const ValueRange r = ValueRangeFor(Record(), p.branch, p.object, m_desc, p.textObject);
      s->setRange(r.min, r.max);
    }
  }
  bool firstLabel = true;
  for (int i = 0; i < ControlCount(); ++i) {
    const ControlSpec& c = m_definition.controls[static_cast<std::size_t>(i)];
    if (c.kind == SettingsControl::kStepButton && c.pictureObject >= 0) {
      LoadButtonBitmaps(Button(i), c.pictureObject);
    } else if (c.kind == SettingsControl::kLabel) {
      CMyStatic* label = Label(i);
      label->SetTextOptions(label->GetTextOptions() | kStaticMultiLine);
      if (c.centred) label->SetStyle(label->GetStyle() | kStaticCentre);
      // Made by the font cache without replacing its slot 6, which the heading was made from.
      if (firstLabel) label->setFont(FontCache::MakeFont(-12, 400, "Helvetica"));
      firstLabel = false;
      if (c.textObject >= 0) label->SetText(m_desc.Text(c.textObject, c.textNumber));
    } else if (c.kind == SettingsControl::kSwitch) {
      CMyButton* button = Button(i);
      button->SetFlags(kSwitchFlags);
      button->SetLayout(kSwitchLayout);
      if (c.textObject >= 0) button->SetCaption(m_desc.Text(c.textObject, c.textNumber));
    } else if (c.kind == SettingsControl::kValueEdit) {
      Edit(i)->setFont(FontCache::Instance().Font(0));
    }
  }

  ApplyDescription();
  OnTimer(kSettleTimer);
  NoteUnrangedValues();
  ArrangeControls();

  for (int i = 0; i < kTabCount; ++i) m_dlg->TabButton(i)->setDown(false);
  m_dlg->TabButton(kSettingsTab)->setDown(true);
  return S_OK;
}

void CSettingsScreen::NoteUnrangedValues() {
  m_unrangedLoad.assign(m_definition.pairs.size(), -1);
  if (Record() == nullptr) return;
  bool unranged = false;
  for (std::size_t i = 0; i < m_definition.pairs.size(); ++i) {
    const ValuePairSpec& p = m_definition.pairs[i];
    const CMySliderCtrl* slider = Slider(p.slider);
    if (slider == nullptr || Object(p.branch, p.object) != nullptr) continue;
    m_unrangedLoad[i] = slider->value();
    unranged = true;
  }
  // Said once per screen and run; the value stays usable within the page's range.
  static std::vector<int> told;
  if (!unranged || std::find(told.begin(), told.end(), m_screenId) != told.end()) return;
  told.push_back(m_screenId);
  m_dlg->GetPrompts().MessageBox(
      Tx("Der Katalog gibt f\xFCr einen Wert dieser Seite keinen Bereich an.\nDer gespeicherte "
         "Wert bleibt, wie er ist, solange Sie ihn nicht \xE4ndern."),
      m_dlg->CommonText(1), kMbOk | kMbIconInformation | kMbTopmost);
}

void CSettingsScreen::ApplyDescription() {
  LoadValues();
  m_flags &= ~kScreenDirty;
}

void CSettingsScreen::LoadValues() {
  LoadSwitches();
  for (const ValuePairSpec& p : m_definition.pairs) LoadValuePair(p);
  for (int i = 0; i < static_cast<int>(m_definition.steps.size()); ++i) LoadStepValue(i);
}

void CSettingsScreen::LoadSwitches() {
  const std::vector<bool> on = ReadSwitches(SettingsBytes(), m_definition.switches);
  for (int i = 0; i < static_cast<int>(on.size()); ++i) {
    // A switch whose bit is clear keeps the state the pool gave it (unchecked).
    if (on[static_cast<std::size_t>(i)] && Button(i) != nullptr) Button(i)->SetChecked(true);
  }
}

void CSettingsScreen::LoadValuePair(const ValuePairSpec& p) {
  std::uint8_t& byte = SettingsBytes()[static_cast<std::size_t>(p.byte)];
  ClampByteToRecord(byte, Record(), p.branch, p.object);
  SetEditText(Edit(p.edit),
              p.emptyForZero && byte == 0 ? std::string() : FormatValue(byte, p.loadFormat));
}

void CSettingsScreen::LoadStepValue(int step) {
  const StepValueSpec& s = m_definition.steps[static_cast<std::size_t>(step)];
  const auto bytes = StepBytes();
  const int index = DivisionIndex(Motor(), bytes[static_cast<std::size_t>(s.byte)],
                                  bytes[static_cast<std::size_t>(s.byte) + 1]);
  const int shown = StepNumberOnLoad(index, Object(s.branch, s.object),
                                     PageRange(m_desc, s.textObject), s.arithmetic);
  if (CMyStatic* label = Label(s.label)) label->SetText(FormatValue(shown, s.format));
  m_stepChanged[static_cast<std::size_t>(step)] = false;
}

// ---------------------------------------------------------------------------------------------
// Value pairs

void CSettingsScreen::OnTimer(unsigned id) {
  if (id != kSettleTimer || m_dlg == nullptr) return;
  m_dlg->KillTimer(kSettleTimer);
  for (const ValuePairSpec& p : m_definition.pairs) SettlePair(p);
}

void CSettingsScreen::SettlePair(const ValuePairSpec& p) {
  QPlainTextEdit* edit = Edit(p.edit);
  CMySliderCtrl* slider = Slider(p.slider);
  if (edit == nullptr || slider == nullptr) return;
  ValueRange bounds{slider->minimum(), slider->maximum()};
  if (p.bounds == SettleBounds::kRecordOrPage) {
    bounds = ValueRangeFor(Record(), p.branch, p.object, m_desc, p.textObject);
  } else if (p.bounds == SettleBounds::kPageOnly) {
    bounds = ValueRangeFor(nullptr, p.branch, p.object, m_desc, p.textObject);
  } else if (p.bounds == SettleBounds::kPageAndRecord) {
    bounds = Intersect(bounds, ValueRangeFor(nullptr, p.branch, p.object, m_desc, p.textObject));
  }
  const SettledValue settled = SettleValue(EditText(edit), bounds, p.format);
  if (settled.textChanged) {
    m_flags |= kScreenDirty;
    SetEditText(edit, settled.text);
  }
  if (slider->value() != settled.value) {
    m_flags |= kScreenDirty;
    slider->setValue(settled.value);
    slider->update();
  }
}

void CSettingsScreen::FollowSlider(const ValuePairSpec& p) {
  QPlainTextEdit* edit = Edit(p.edit);
  CMySliderCtrl* slider = Slider(p.slider);
  if (edit == nullptr || slider == nullptr) return;
  if (ReadNumber(EditText(edit)) != slider->value()) {
    m_flags |= kScreenDirty;
    SetEditText(edit, FormatValue(slider->value(), p.format));
  }
}

void CSettingsScreen::OnEditChange(QWidget* focus) {
  if (focus != nullptr && m_dlg != nullptr) m_dlg->SetTimer(kSettleTimer, kSettleDelayMs);
}

void CSettingsScreen::OnHScroll(unsigned, unsigned, QWidget* scrollBar, QWidget*) {
  for (const ValuePairSpec& p : m_definition.pairs) {
    if (m_definition.onlyScrolledPair && Control(p.slider) != scrollBar) continue;
    FollowSlider(p);
  }
}

void CSettingsScreen::OnVScroll(unsigned, unsigned, QWidget*, QWidget*) { m_flags |= kScreenDirty; }

// ---------------------------------------------------------------------------------------------
// Storing

void CSettingsScreen::SettleIfPending() {
  if (m_dlg != nullptr && m_dlg->HasTimer(kSettleTimer)) OnTimer(kSettleTimer);
}

HResult CSettingsScreen::CommitIfChanged() {
  SettleIfPending();
  if (m_flags & kScreenDirty) {
    StoreValues();
    m_flags &= ~kScreenDirty;
  }
  return S_OK;
}

void CSettingsScreen::StoreValues() {
  if (m_dlg == nullptr) return;
  SettleIfPending();
  m_dlg->KillTimer(kSettleTimer);
  StoreScreenValues();
  if (m_definition.storeClearsDirty) m_flags &= ~kScreenDirty;
}

void CSettingsScreen::StoreScreenValues() {
  for (const ValuePairSpec& p : m_definition.pairs) StoreValuePair(p);
  StoreSwitches();
  for (int i = 0; i < static_cast<int>(m_definition.steps.size()); ++i) StoreStepValue(i);
}

void CSettingsScreen::StoreValuePair(const ValuePairSpec& p) {
  const auto index = static_cast<std::size_t>(&p - m_definition.pairs.data());
  if (const CMySliderCtrl* slider = Slider(p.slider)) {
    // Without a range from the catalogue the byte is the fitter's, or stays as it was.
    if (index < m_unrangedLoad.size() && m_unrangedLoad[index] >= 0 &&
        m_unrangedLoad[index] == slider->value()) {
      return;
    }
    SettingsBytes()[static_cast<std::size_t>(p.byte)] =
        static_cast<std::uint8_t>(slider->value() & 0xFF);
  }
}

void CSettingsScreen::StoreSwitches() {
  std::vector<bool> checked;
  for (int i = 0; i < static_cast<int>(m_definition.switches.size()); ++i)
    checked.push_back(Checked(i));
  WriteSwitches(SettingsBytes(), m_definition.owned, m_definition.switches, checked);
}

void CSettingsScreen::StoreStepValue(int step) {
  const StepValueSpec& s = m_definition.steps[static_cast<std::size_t>(step)];
  const CMyStatic* label = Label(s.label);
  if (label == nullptr) return;
  roviro::StoreStepValue(StepBytes(), s.byte, ReadNumber(label->GetText()),
                         Object(s.branch, s.object), Motor(), StepChanged(step));
}

bool CSettingsScreen::StepChanged(int step) const {
  return step >= 0 && step < static_cast<int>(m_stepChanged.size()) &&
         m_stepChanged[static_cast<std::size_t>(step)];
}

// ---------------------------------------------------------------------------------------------
// Step values

void CSettingsScreen::StepUp(int step) {
  const StepValueSpec& s = m_definition.steps[static_cast<std::size_t>(step)];
  CMyStatic* label = Label(s.label);
  if (label == nullptr) return;
  const std::string text = FormatValue(
      roviro::StepUp(ReadNumber(label->GetText()), Object(s.branch, s.object)), s.format);
  if (text != label->GetText()) {
    label->SetText(text);
    m_stepChanged[static_cast<std::size_t>(step)] = true;
  }
  m_flags |= kScreenDirty;  // also at the limit
}

void CSettingsScreen::StepDown(int step) {
  const StepValueSpec& s = m_definition.steps[static_cast<std::size_t>(step)];
  CMyStatic* label = Label(s.label);
  if (label == nullptr) return;
  const std::string text = FormatValue(
      roviro::StepDown(ReadNumber(label->GetText()), Object(s.branch, s.object)), s.format);
  if (text != label->GetText()) {
    label->SetText(text);
    m_stepChanged[static_cast<std::size_t>(step)] = true;
  }
  m_flags |= kScreenDirty;
}

// ---------------------------------------------------------------------------------------------
// Commands

void CSettingsScreen::OnCommand(QWidget* focus) {
  if (IgnoreCommandFrom(focus) || m_dlg == nullptr) return;
  if (focus != nullptr && (focus == m_dlg->BackButton() || focus == m_dlg->NextButton())) {
    const bool back = focus == m_dlg->BackButton();
    if (Failed(CommitIfChanged())) return;
    m_dlg->PostMessage(kMsgSwitchScreen, static_cast<std::uintptr_t>(NavigationTarget(back)), 0);
    return;
  }
  if (m_definition.steps.empty()) {
    m_flags |= kScreenDirty;
    return;
  }
  for (int i = 0; i < static_cast<int>(m_definition.steps.size()); ++i) {
    const StepValueSpec& s = m_definition.steps[static_cast<std::size_t>(i)];
    if (focus != nullptr && focus == Control(s.plus)) return StepUp(i);
    if (focus != nullptr && focus == Control(s.minus)) return StepDown(i);
  }
}

void CSettingsScreen::OnButtonClicked(QWidget* focus) {
  for (int i = 0; i < static_cast<int>(m_definition.switches.size()); ++i) {
    if (focus != nullptr && focus == Control(i)) {
      m_flags |= kScreenDirty;
      UpdateControls();
      return;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Enabling

void CSettingsScreen::UpdateControls() {
  if (m_dlg == nullptr) return;
  for (CMyButton* b : {m_dlg->BackButton(), m_dlg->NextButton()}) {
    if (!b->isEnabled()) b->setEnabled(true);
  }
  const bool loaded = (m_dlg->StateFlags() & kStateDataLoaded) != 0;
  for (int i = 0; i < kTabCount; ++i) {
    const bool on = i < 3 || loaded;
    if (m_dlg->TabButton(i)->isEnabled() != on) m_dlg->TabButton(i)->setEnabled(on);
  }
  UpdateScreenControls();
  if (m_dlg->Title() != nullptr && m_dlg->Title()->isHidden()) m_dlg->Title()->show();
  for (CMyButton* b : {m_dlg->BackButton(), m_dlg->NextButton()}) {
    if (b->isHidden()) b->show();
  }
  for (int i = 0; i < kTabCount; ++i) {
    if (m_dlg->TabButton(i)->isHidden()) m_dlg->TabButton(i)->show();
  }
}

// ---------------------------------------------------------------------------------------------
// Layout

Size CSettingsScreen::Preferred(int index) const {
  if (CMyButton* b = Button(index)) {
    Size size = b->GetPreferredSize(kSwitchSizeOptions);
    if (m_definition.controls[static_cast<std::size_t>(index)].kind == SettingsControl::kSwitch &&
        size.cx > 0) {
      size.cx += kSwitchBoxExtra;
    }
    return size;
  }
  if (CMyStatic* l = Label(index)) return l->GetPreferredSize(kLabelSizeOptions);
  QWidget* w = Control(index);
  return w != nullptr ? Size{w->width(), w->height()} : Size{};
}

Rect CSettingsScreen::Geometry(int index) const {
  QWidget* w = Control(index);
  return w != nullptr ? FromQRect(w->geometry()) : Rect{};
}

void CSettingsScreen::Place(int index, const Rect& r) {
  if (QWidget* w = Control(index)) w->setGeometry(ToQRect(r));
}

Rect CSettingsScreen::Below(const Rect& from, int dx, int gap, int width, int height) {
  return MakeRect(from.left + dx, from.bottom + gap, width, height);
}

Rect CSettingsScreen::PlaceTopLabel(int index) {
  const Rect r{120, 140, 520, 140 + Preferred(index).cy};
  Place(index, r);
  return r;
}

// ---------------------------------------------------------------------------------------------
// The settings file

void CSettingsScreen::OnLeave() {
  if (m_dlg == nullptr) return;
  // A settle still due belongs to this screen only.
  m_dlg->KillTimer(kSettleTimer);
  CreateEmptyScreenSettings(m_dlg->Folder(FolderKind::ScreenSettings), m_definition.settingsFile);
}

void CSettingsScreen::OnEnter() {
  if (m_dlg != nullptr)
    ReadScreenSettings(m_dlg->Folder(FolderKind::ScreenSettings), m_definition.settingsFile);
}

}  // namespace roviro
