#include "screens/settings/ScreenFek1.h"

#include "records/ScreenSettingsFile.h"

namespace roviro {

namespace {

using K = SettingsControl;

// Control table indexes.
constexpr int kSwitchA = 0;     // byte 8 bit 0
constexpr int kSwitchASub = 1;  // byte 8 bit 5
constexpr int kSwitchB = 2;     // byte 8 bit 1
constexpr int kSwitchBSub = 3;  // byte 8 bit 4
constexpr int kFunction = 4;    // byte 9 bit 0
constexpr int kValueEdit = 5;
constexpr int kIntro = 6;
constexpr int kValueCaption = 7;
constexpr int kValueSlider = 8;

constexpr ControlSpec kControls[] = {
    {K::kSwitch, 1, 0, 1}, {K::kSwitch, 2, 0, 2}, {K::kSwitch, 3, 0, 3},
    {K::kSwitch, 4, 0, 4}, {K::kSwitch, 5, 0, 5}, {K::kValueEdit, -1, 0, 7},
    {K::kLabel, 0},        {K::kLabel, 8},        {K::kValueSlider, -1, 0, 6},
};

constexpr ValuePairSpec kPairs[] = {
    {kValueEdit, kValueSlider, 4, 4, 0, 6, SettleBounds::kRecordOrPage, ValueFormat::kOneDigit,
     ValueFormat::kDecimal},
};

}  // namespace

CScreenFek_1::CScreenFek_1(CVQZodavaRozeDlg* dlg)
    : CSettingsScreen(dlg, {.screenId = 10,
                            .fallbackPrev = 1,
                            .fallbackNext = 3,
                            .settingsFile = kSettingsFileSettings,
                            .controls = kControls,
                            .pairs = kPairs,
                            .switches = kScreen10Switches,
                            .owned = kScreen10Owned,
                            .onlyScrolledPair = true}) {}

void CScreenFek_1::UpdateScreenControls() {
  for (int i : {kIntro, kSwitchA, kSwitchB, kFunction, kValueCaption, kValueEdit, kValueSlider}) {
    Enable(i, true);
  }
  Enable(kSwitchASub, Checked(kSwitchA));
  Enable(kSwitchBSub, Checked(kSwitchB));

  const CatalogueBranch* a = Branch(1);
  const CatalogueBranch* b = Branch(2);
  const CatalogueBranch* f = Branch(3);
  if (a == nullptr) {
    for (int i = kSwitchA; i <= kFunction; ++i) Show(i, false);
  } else {
    Show(kSwitchA, a->bHide == 0);
    Show(kSwitchASub, a->bHide == 0 && Object(1, 1)->bShow != 0);
    Show(kSwitchB, b->bHide == 0);
    Show(kSwitchBSub, b->bHide == 0);
    Show(kFunction, f->bHide == 0 && f->bUse != 0);
  }
  for (int i : {kValueEdit, kIntro, kValueCaption, kValueSlider}) Show(i, true);
}

void CScreenFek_1::ArrangeControls() {
  // Without a record every branch counts as hidden (all five switches are hidden then).
  const CatalogueBranch* a = Branch(1);
  const CatalogueBranch* b = Branch(2);
  const CatalogueBranch* f = Branch(3);
  const bool hideA = a == nullptr || a->bHide != 0;
  const bool hideB = b == nullptr || b->bHide != 0;
  const bool hideF = f == nullptr || f->bHide != 0;
  const bool useF = f != nullptr && f->bUse != 0;

  const Rect intro = PlaceTopLabel(kIntro);
  const Rect switchA = Below(intro, 20, 5, Preferred(kSwitchA).cx, hideA ? 0 : 18);
  Place(kSwitchA, switchA);
  Rect last = switchA;
  if (!hideA && Object(1, 1)->bShow != 0) {
    last = Below(switchA, 20, 5, Preferred(kSwitchASub).cx, 18);
    Place(kSwitchASub, last);
  }
  const Rect switchB =
      MakeRect(switchA.left, last.bottom + 20, Preferred(kSwitchB).cx, hideB ? 0 : 18);
  Place(kSwitchB, switchB);
  const Rect switchBSub = Below(switchB, 20, 5, Preferred(kSwitchBSub).cx, hideB ? 0 : 18);
  Place(kSwitchBSub, switchBSub);
  Rect reference = switchB;
  const bool functionPlaced = !hideF && useF;
  if (functionPlaced) {
    reference = MakeRect(switchA.left, switchBSub.bottom + 20, Preferred(kFunction).cx, 18);
    Place(kFunction, reference);
  }
  // The caption is 30 below its reference, 10 less below the function switch. Measured from
  // switch 2 it keeps the full 30, which clears switch 3 below it (a branch 3 that is shown
  // but not used would otherwise put the caption 3 pixels into switch 3).
  const int down = reference.Height() + 30 - (functionPlaced ? 10 : 0);
  const Rect caption =
      MakeRect(reference.left, reference.top + down, Preferred(kValueCaption).cx, 32);
  Place(kValueCaption, caption);
  const Rect edit = MakeRect(caption.right + 10, caption.top + 5, 35, 22);
  Place(kValueEdit, edit);
  Place(kValueSlider, Rect{edit.right + 10, edit.top, edit.right + 150, edit.bottom});
}

}  // namespace roviro
