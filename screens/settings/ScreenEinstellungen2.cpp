#include "screens/settings/ScreenEinstellungen2.h"

#include "records/ScreenSettingsFile.h"

namespace roviro {

namespace {

using K = SettingsControl;

// Control table indexes.
constexpr int kMain = 0;
constexpr int kSub = 1;
constexpr int kFirstPlus = 2;   // 2 .. 6
constexpr int kFirstMinus = 7;  // 7 .. 11
constexpr int kValueEdit = 12;
constexpr int kIntro = 13;
constexpr int kValueCaption = 14;
constexpr int kStepCaption = 15;
constexpr int kFirstUnused = 16;     // 16, 17: never shown
constexpr int kFirstStepLabel = 18;  // 18 .. 22
constexpr int kFirstStepName = 23;   // 23 .. 27
constexpr int kValueSlider = 28;
constexpr int kSteps = 5;

constexpr int kStepColumnWidth = 70;
constexpr int kStepButtonSize = 32;

constexpr ControlSpec kControls[] = {
    {K::kSwitch, 1, 0, 1},
    {K::kSwitch, 2, 0, 2},
    {K::kStepButton, -1, 0, 7, 7},
    {K::kStepButton, -1, 0, 7, 7},
    {K::kStepButton, -1, 0, 7, 7},
    {K::kStepButton, -1, 0, 7, 7},
    {K::kStepButton, -1, 0, 7, 7},
    {K::kStepButton, -1, 0, 8, 8},
    {K::kStepButton, -1, 0, 8, 8},
    {K::kStepButton, -1, 0, 8, 8},
    {K::kStepButton, -1, 0, 8, 8},
    {K::kStepButton, -1, 0, 8, 8},
    {K::kValueEdit, -1, 0, 10},
    {K::kLabel, 0},
    {K::kLabel, 3},
    {K::kLabel, 5},
    {K::kLabel, 6, 0},
    {K::kLabel, 6, 1},
    {K::kLabel, -1, 0, -1, -1, true},
    {K::kLabel, -1, 0, -1, -1, true},
    {K::kLabel, -1, 0, -1, -1, true},
    {K::kLabel, -1, 0, -1, -1, true},
    {K::kLabel, -1, 0, -1, -1, true},
    {K::kLabel, 9, 0, -1, -1, true},
    {K::kLabel, 9, 1, -1, -1, true},
    {K::kLabel, 9, 2, -1, -1, true},
    {K::kLabel, 9, 3, -1, -1, true},
    {K::kLabel, 9, 4, -1, -1, true},
    {K::kValueSlider, -1, 0, 4},
};
static_assert(std::size(kControls) == kValueSlider + 1);

// Block 0x2E byte 2, bounded by branch 1 object 0 (else page object 4). Load leaves the edit
// empty for a 0; the settle step during creation then writes the bounded value there.
constexpr ValuePairSpec PairSettledBy(SettleBounds bounds) {
  return {.edit = kValueEdit,
          .slider = kValueSlider,
          .byte = 2,
          .branch = 1,
          .object = 0,
          .textObject = 4,
          .bounds = bounds,
          .emptyForZero = true};
}
constexpr ValuePairSpec kScreen3Pairs[] = {PairSettledBy(SettleBounds::kRecordOrPage)};
constexpr ValuePairSpec kScreen12Pairs[] = {PairSettledBy(SettleBounds::kPageAndRecord)};

// Step value i: block 0x34 bytes 2 + 2i and 3 + 2i, step object branch 2 object i, page
// object 11 without a record; added up as plain integers.
constexpr StepValueSpec Step(int i) {
  return {.label = kFirstStepLabel + i,
          .plus = kFirstPlus + i,
          .minus = kFirstMinus + i,
          .byte = 2 + 2 * i,
          .branch = 2,
          .object = i,
          .textObject = 11};
}
constexpr StepValueSpec kStepValues[] = {Step(0), Step(1), Step(2), Step(3), Step(4)};

SettingsScreenDefinition SpeedProfileSpec(int screenId, std::span<const ValuePairSpec> pairs) {
  return {.screenId = screenId,
          .fallbackPrev = 2,
          .fallbackNext = 4,
          .settingsFile = kSettingsFileSettings,
          .controls = kControls,
          .pairs = pairs,
          .steps = kStepValues,
          .switches = kScreen3Switches,
          .owned = kScreen3Owned,
          .storeClearsDirty = false};
}

}  // namespace

CSpeedProfileScreen::CSpeedProfileScreen(CVQZodavaRozeDlg* dlg, int screenId,
                                         std::span<const ValuePairSpec> pairs)
    : CSettingsScreen(dlg, SpeedProfileSpec(screenId, pairs)) {}

CScreenEinstellungen2::CScreenEinstellungen2(CVQZodavaRozeDlg* dlg)
    : CSpeedProfileScreen(dlg, 3, kScreen3Pairs) {}

CScreenEinstellungen12::CScreenEinstellungen12(CVQZodavaRozeDlg* dlg)
    : CSpeedProfileScreen(dlg, 12, kScreen12Pairs) {}

bool CSpeedProfileScreen::SwitchesUsed() const { return BranchUsed(1); }

void CSpeedProfileScreen::UpdateScreenControls() {
  const bool used = SwitchesUsed();
  Enable(kIntro, true);
  Enable(kMain, true);
  // Where the switches are not used the step values are always editable.
  const bool main = used ? Checked(kMain) : true;
  for (int i : {kSub, kStepCaption}) Enable(i, main);
  for (int i = 0; i < 2 * kSteps; ++i) {
    Enable(kFirstStepLabel + i, main);
    Enable(kFirstPlus + i, main);
  }
  const bool value = main && Checked(kSub);
  for (int i : {kValueCaption, kValueEdit, kValueSlider}) Enable(i, value);

  for (int i : {kMain, kSub, kValueEdit, kValueSlider}) Show(i, used);
  for (int i = 0; i < 2 * kSteps; ++i) Show(kFirstPlus + i, true);
  for (int i = 0; i < 2; ++i) Show(kFirstUnused + i, false);
  Show(kValueCaption, used);
  for (int i : {kIntro, kStepCaption}) Show(i, true);
  for (int i = 0; i < 2 * kSteps; ++i) Show(kFirstStepLabel + i, true);
}

void CSpeedProfileScreen::ArrangeControls() {
  const Rect intro = PlaceTopLabel(kIntro);
  // Without the switches the rows below start from the heading's bottom.
  Rect column = Offset(intro, 20, 0);
  int below = intro.bottom;
  if (SwitchesUsed()) {
    const Rect main = Below(intro, 20, 5, Preferred(kMain).cx, 18);
    Place(kMain, main);
    column = Below(main, 20, 5, Preferred(kSub).cx, 18);
    Place(kSub, column);
    const Rect caption = Below(column, 22, 5, Preferred(kValueCaption).cx, 18);
    Place(kValueCaption, caption);
    const Rect edit = MakeRect(caption.right + 10, caption.top - 2, 35, 22);
    Place(kValueEdit, edit);
    const Rect slider = MakeRect(edit.right + 10, edit.top, 185, 22);
    Place(kValueSlider, slider);
    below = slider.bottom;
  }
  const int f = below + 20;
  const Rect stepCaption =
      MakeRect(column.left, f + (106 - 54) / 2, Preferred(kStepCaption).cx, 54);
  Place(kStepCaption, stepCaption);
  for (int i = 0; i < kSteps; ++i) {
    const int centre = stepCaption.right + 45 + kStepColumnWidth * i;
    const int buttonLeft = centre - kStepButtonSize / 2;
    const int labelLeft = centre - kStepColumnWidth / 2;
    Place(kFirstPlus + i, MakeRect(buttonLeft, f, kStepButtonSize, kStepButtonSize));
    Place(kFirstStepLabel + i, MakeRect(labelLeft, f + 34, kStepColumnWidth, 18));
    Place(kFirstMinus + i, MakeRect(buttonLeft, f + 54, kStepButtonSize, kStepButtonSize));
    Place(kFirstStepName + i, MakeRect(labelLeft, f + 88, kStepColumnWidth, 18));
  }
}

}  // namespace roviro
