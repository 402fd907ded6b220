#include "screens/settings/ScreenFek2.h"

#include "records/ScreenSettingsFile.h"

namespace roviro {

namespace {

using K = SettingsControl;

// Control table indexes.
constexpr int kSwitchA = 0;  // byte 8 bit 4
constexpr int kSwitchB = 1;  // byte 8 bit 6
constexpr int kValueEdit = 2;
constexpr int kIntro = 3;
constexpr int kCaption = 4;
constexpr int kValueCaption = 5;
constexpr int kSwitchBText = 6;
constexpr int kValueSlider = 7;

constexpr ControlSpec kControls[] = {
    {K::kSwitch, 2, 0, 2},
    {K::kSwitch, 3, 0, 3},
    {K::kValueEdit, -1, 0, 6},
    {K::kLabel, 0},
    {K::kLabel, 1},
    {K::kLabel, 4},
    {K::kLabel, 3},
    {K::kValueSlider, -1, 0, 5},
};

// Byte 3 is bounded on load by the slider's own range (branch 2 object 0), the range the
// settle step bounds typed values with.
constexpr ValuePairSpec kPairs[] = {
    {kValueEdit, kValueSlider, 3, 2, 0, 5, SettleBounds::kRecordOrPage, ValueFormat::kOneDigit,
     ValueFormat::kOneDigit},
};

}  // namespace

CScreenFek_2::CScreenFek_2(CVQZodavaRozeDlg* dlg)
    : CSettingsScreen(dlg, {.screenId = 11,
                            .fallbackPrev = 1,
                            .fallbackNext = 3,
                            .settingsFile = kSettingsFileSettings,
                            .controls = kControls,
                            .pairs = kPairs,
                            .switches = kScreen11Switches,
                            .owned = kScreen11Owned,
                            .onlyScrolledPair = true}) {}

bool CScreenFek_2::SwitchBUsed() const { return BranchUsed(2); }

void CScreenFek_2::LoadValues() {
  // A catalogue that does not use branch 1 always has switch B's function on.
  const CatalogueBranch* forced = Branch(1);
  if (forced != nullptr && forced->bUse == 0) SettingsBytes()[8] |= 0x40;
  CSettingsScreen::LoadValues();
}

void CScreenFek_2::UpdateScreenControls() {
  for (int i : {kIntro, kCaption, kSwitchBText, kSwitchA}) Enable(i, true);
  const bool b = Checked(kSwitchB);
  for (int i : {kValueCaption, kValueEdit, kValueSlider}) Enable(i, b);
  const bool used = SwitchBUsed();
  Show(kSwitchA, true);
  Show(kSwitchB, used);
  for (int i : {kValueEdit, kIntro, kCaption, kValueCaption, kValueSlider}) Show(i, true);
  Show(kSwitchBText, !used);
}

void CScreenFek_2::ArrangeControls() {
  const Rect intro = PlaceTopLabel(kIntro);
  const Rect caption = Below(intro, 20, 5, Preferred(kCaption).cx, 18);
  Place(kCaption, caption);
  const Rect switchA = Below(caption, 20, 5, Preferred(kSwitchA).cx, 18);
  Place(kSwitchA, switchA);
  const Rect switchB = MakeRect(caption.left, switchA.bottom + 20, Preferred(kSwitchB).cx, 18);
  Place(kSwitchB, switchB);
  Place(kSwitchBText, switchB);
  const Rect valueCaption = Below(switchB, 20, 5, Preferred(kValueCaption).cx, 32);
  Place(kValueCaption, valueCaption);
  const Rect edit = MakeRect(valueCaption.right + 10, valueCaption.top + 5, 35, 22);
  Place(kValueEdit, edit);
  Place(kValueSlider, Rect{edit.right + 10, edit.top, edit.right + 150, edit.bottom});
}

}  // namespace roviro
