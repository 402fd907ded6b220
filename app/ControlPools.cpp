#include "app/ControlPools.h"

#include <QHeaderView>
#include <QVariant>

#include "app/ToolTips.h"
#include "controls/Fonts.h"

namespace roviro {

namespace {

constexpr const char* kIdProperty = "roviroControlId";

template <class T, int N, class Make>
void Fill(ControlPool<T, N>& pool, QWidget* parent, Make make) {
  for (int i = 0; i < N; ++i) {
    T* control = make(parent);
    SetControlId(control, pool.FirstId() + i);
    control->hide();
    control->setGeometry(0, 0, 0, 0);
    pool.Set(i, control);
  }
}

template <class Pool, class Fn>
void ForEach(const Pool& pool, Fn fn) {
  for (auto* control : pool.All()) {
    if (control != nullptr) fn(control);
  }
}

void ResetCommon(QWidget* control) {
  control->hide();
  control->setEnabled(true);
  control->setGeometry(0, 0, 0, 0);
  control->setFont(FontCache::Instance().Font(1));
}

void ResetButton(CMyButton* button, std::uint32_t layout) {
  button->ResetToDefaults();
  button->ResetAppearance(kPoolButtonFlags);
  ResetCommon(button);
  button->SetLayout(layout);
  button->StatePictures().SetDrawMode(kButtonPictureDrawMode);
  button->StatePictures().SetKey(kPoolButtonKey);
  button->SetCaption({});
  button->Hold(false);
  button->SetChecked(false);
}

}  // namespace

int ControlId(const QWidget* control) {
  if (control == nullptr) return 0;
  const QVariant v = control->property(kIdProperty);
  return v.isValid() ? v.toInt() : 0;
}

void SetControlId(QWidget* control, int id) {
  control->setProperty(kIdProperty, id);
  control->setObjectName(QStringLiteral("ctrl%1").arg(id));
}

bool SetButtonPictures(CMyButton* button, const std::vector<std::string>& entries) {
  auto entry = [&](std::size_t i) { return i < entries.size() ? entries[i] : std::string(); };
  button->StatePictures().Clear();
  return button->SetStatePictures(entry(4), entry(2), entry(0), entry(0), entry(1), entry(1));
}

void ControlPools::CreateAll(QWidget* parent) {
  auto makeButton = [](QWidget* p) {
    auto* b = new CMyButton(p);
    b->SetFlags(kPoolButtonFlags);
    return b;
  };
  Fill(buttonsA, parent, makeButton);
  Fill(buttonsB, parent, makeButton);
  Fill(buttonsC, parent, makeButton);
  Fill(edits, parent, [](QWidget* p) {
    // A multi-line edit that scrolls instead of wrapping and keeps its selection shown.
    auto* e = new QPlainTextEdit(p);
    e->setLineWrapMode(QPlainTextEdit::NoWrap);
    e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    e->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    e->setTabChangesFocus(true);
    e->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    return e;
  });
  Fill(statics, parent, [](QWidget* p) {
    auto* s = new CMyStatic(p);
    s->SetFlags(kFlagOwnDraw);
    return s;
  });
  Fill(lists, parent, [](QWidget* p) {
    auto* l = new QTreeWidget(p);
    l->setRootIsDecorated(false);
    l->setItemsExpandable(false);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    l->setSelectionBehavior(QAbstractItemView::SelectRows);
    l->setAllColumnsShowFocus(true);
    l->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    l->setColumnCount(0);
    return l;
  });
  Fill(combos, parent, [](QWidget* p) {
    auto* c = new QComboBox(p);
    c->setEditable(false);
    return c;
  });
  Fill(slidersV, parent, [](QWidget* p) {
    auto* s = new CMySliderCtrl(Qt::Vertical, p);
    s->setTickPosition(QSlider::NoTicks);
    return s;
  });
  Fill(slidersH, parent, [](QWidget* p) {
    auto* s = new CMySliderCtrl(Qt::Horizontal, p);
    s->setTickPosition(QSlider::NoTicks);
    return s;
  });
  Fill(progress, parent, [](QWidget* p) {
    auto* bar = new CMyProgressCtrl(p);
    bar->setTextVisible(false);
    return bar;
  });
  Fill(timePickers, parent, [](QWidget* p) {
    auto* t = new QTimeEdit(p);
    t->setDisplayFormat(QStringLiteral("H:mm"));
    return t;
  });
  listGuard = new ListGuard(parent);
  ForEach(lists, [this](QWidget* w) { listGuard->Guard(w); });
  ForEach(combos, [this](QWidget* w) { listGuard->Guard(w); });
  ForEach(timePickers, [this](QWidget* w) { listGuard->Guard(w); });
}

void ControlPools::ReleaseAll() {
  buttonsA.Release();
  buttonsB.Release();
  buttonsC.Release();
  edits.Release();
  statics.Release();
  lists.Release();
  combos.Release();
  slidersV.Release();
  slidersH.Release();
  progress.Release();
  timePickers.Release();
}

void ControlPools::ResetAll(const std::vector<std::string>& defaultPictures, ToolTips* tips) {
  ForEach(buttonsA, [](CMyButton* b) { ResetButton(b, kPoolButtonLayoutAC); });
  ForEach(buttonsB, [](CMyButton* b) { ResetButton(b, kPoolButtonLayoutB); });
  ForEach(buttonsC, [&](CMyButton* b) {
    ResetButton(b, kPoolButtonLayoutAC);
    SetButtonPictures(b, defaultPictures);
  });
  ForEach(edits, [](QPlainTextEdit* e) {
    ResetCommon(e);
    e->setReadOnly(false);
    e->clear();
  });
  ForEach(statics, [](CMyStatic* s) {
    s->ResetToDefaults();
    s->ResetAppearance(kFlagOwnDraw);
    ResetCommon(s);
    s->SetStyle(0);
    s->SetText({});
  });
  ForEach(lists, [](QTreeWidget* l) {
    ResetCommon(l);
    l->clear();
    l->setColumnCount(0);
    l->setHeaderHidden(false);
    l->header()->show();
    l->header()->setStretchLastSection(true);
  });
  ForEach(combos, [](QComboBox* c) {
    ResetCommon(c);
    c->clear();
    ListGuard::SetChoiceOnly(c, false);
  });
  for (auto& text : comboTexts) text.clear();
  auto resetSlider = [](CMySliderCtrl* s) {
    s->ResetToDefaults();
    s->ResetAppearance(0);
    ResetCommon(s);
    s->setRange(0, 100);
    s->setValue(0);
    s->setSingleStep(1);
    s->setPageStep(10);
    s->setInvertedAppearance(false);
    s->setTickPosition(QSlider::NoTicks);
  };
  ForEach(slidersV, resetSlider);
  ForEach(slidersH, resetSlider);
  ForEach(progress, [](CMyProgressCtrl* p) {
    p->ResetToDefaults();
    p->ResetAppearance(0);
    ResetCommon(p);
    p->setRange(0, 100);
    p->setValue(0);
    p->setOrientation(Qt::Horizontal);
    p->setInvertedAppearance(false);
    p->setTextVisible(false);
  });
  ForEach(timePickers, [](QTimeEdit* t) {
    ResetCommon(t);
    t->setTime(QTime(0, 0));
  });
  if (tips != nullptr) {
    for (QWidget* control : AllControls()) tips->DelTool(control);
  }
}

void ControlPools::HideAndDisableAll() {
  for (QWidget* control : AllControls()) {
    control->hide();
    control->setEnabled(false);
  }
}

std::vector<QWidget*> ControlPools::AllControls() const {
  std::vector<QWidget*> out;
  auto add = [&out](const auto& pool) {
    for (auto* c : pool.All()) {
      if (c != nullptr) out.push_back(c);
    }
  };
  add(buttonsA);
  add(buttonsB);
  add(buttonsC);
  add(edits);
  add(statics);
  add(lists);
  add(combos);
  add(slidersV);
  add(slidersH);
  add(progress);
  add(timePickers);
  return out;
}

QWidget* ControlPools::Control(int id) const {
  for (QWidget* control : AllControls()) {
    if (ControlId(control) == id) return control;
  }
  return nullptr;
}

}  // namespace roviro
