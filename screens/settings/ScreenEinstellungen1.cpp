#include "screens/settings/ScreenEinstellungen1.h"

#include "records/ScreenSettingsFile.h"

namespace roviro {

namespace {

using K = SettingsControl;

// Control table indexes.
constexpr int kMain = 0;
constexpr int kSub = 1;
constexpr int kFirstSituation = 2;  // 2 .. 6
constexpr int kSituations = 5;
constexpr int kValueEdit = 7;
constexpr int kIntro = 8;
constexpr int kValueCaption = 9;
constexpr int kSituationCaption = 10;
constexpr int kValueSlider = 11;

constexpr ControlSpec kControls[] = {
    {K::kSwitch, 1, 0, 1}, {K::kSwitch, 2, 0, 2},
    {K::kSwitch, 6, 0, 6}, {K::kSwitch, 6, 1, 6},
    {K::kSwitch, 6, 2, 6}, {K::kSwitch, 6, 3, 6},
    {K::kSwitch, 6, 4, 6}, {K::kValueEdit, -1, 0, 7},
    {K::kLabel, 0},        {K::kLabel, 3},
    {K::kLabel, 5},        {K::kValueSlider, -1, 0, 4},
};

constexpr ValuePairSpec kPairs[] = {
    {kValueEdit, kValueSlider, 3, 1, 0, 4, SettleBounds::kSliderRange},
};

}  // namespace

CScreenEinstellungen1::CScreenEinstellungen1(CVQZodavaRozeDlg* dlg)
    : CSettingsScreen(dlg, {.screenId = 2,
                            .fallbackPrev = 1,
                            .fallbackNext = 3,
                            .settingsFile = kSettingsFileSettings,
                            .controls = kControls,
                            .pairs = kPairs,
                            .switches = kScreen2Switches,
                            .owned = kScreen2Owned}) {}

bool CScreenEinstellungen1::SubSwitchOffered() const {
  const CatalogueObject* sub = Object(1, 1);
  return sub == nullptr || sub->bShow != 0;
}

void CScreenEinstellungen1::UpdateScreenControls() {
  const bool offered = SubSwitchOffered();
  Enable(kIntro, true);
  Enable(kMain, true);
  const bool main = Checked(kMain);
  Enable(kSub, offered ? main : true);
  Enable(kSituationCaption, main);
  for (int i = 0; i < kSituations; ++i) Enable(kFirstSituation + i, main);
  const bool value = offered ? Checked(kSub) && main : main;
  for (int i : {kValueCaption, kValueEdit, kValueSlider}) Enable(i, value);
  for (int i = kMain; i < kFirstSituation + kSituations; ++i) Show(i, i != kSub || offered);
  for (int i : {kValueEdit, kIntro, kValueCaption, kSituationCaption, kValueSlider}) Show(i, true);
}

void CScreenEinstellungen1::ArrangeControls() {
  const Rect intro = PlaceTopLabel(kIntro);
  Rect row = Below(intro, 20, 5, Preferred(kMain).cx, 18);
  Place(kMain, row);
  // The sub-switch gets a row of its own where it is offered (always without a record, where
  // it is shown and the value depends on it).
  if (SubSwitchOffered()) {
    row = Below(row, 20, 5, Preferred(kSub).cx, 18);
    Place(kSub, row);
  }
  const Rect caption = Below(row, 22, 5, Preferred(kValueCaption).cx, 18);
  Place(kValueCaption, caption);
  const Rect edit = MakeRect(caption.right + 10, caption.top - 2, 35, 22);
  Place(kValueEdit, edit);
  const Rect slider = MakeRect(edit.right + 10, edit.top, 185, 22);
  Place(kValueSlider, slider);
  const Rect situations =
      MakeRect(row.left, slider.bottom + 10, Preferred(kSituationCaption).cx, 54);
  Place(kSituationCaption, situations);
  const int left = situations.right + 10;
  const int top = situations.top + 6;
  for (int i = 0; i < kSituations; ++i) {
    const int column = i < 3 ? i : i - 3;
    const int line = i < 3 ? 0 : 1;
    Place(kFirstSituation + i, MakeRect(left + 80 * column, top + line * (18 + 5),
                                        Preferred(kFirstSituation + i).cx, 18));
  }
}

}  // namespace roviro
