#include "screens/settings/ScreenEinstellungen4.h"

#include "records/ScreenSettingsFile.h"

namespace roviro {

namespace {

using K = SettingsControl;

// Control table indexes.
constexpr int kSwitchA = 0;
constexpr int kSwitchB = 1;
constexpr int kPlus = 2;
constexpr int kMinus = 3;
constexpr int kEditA = 4;
constexpr int kEditB = 5;
constexpr int kIntro = 6;
constexpr int kGroupCaption = 7;
constexpr int kCaptionA = 8;
constexpr int kStepCaption = 9;
constexpr int kStepLabel = 10;
constexpr int kCaptionB = 11;
constexpr int kSwitchBText = 12;
constexpr int kSliderA = 13;
constexpr int kSliderB = 14;

constexpr int kStepButtonSize = 32;
constexpr int kStepLabelWidth = 70;

// The page's object 6 holds the "+" pictures with the "-" tooltip and object 7 the reverse.
constexpr ControlSpec kControls[] = {
    {K::kSwitch, 2, 0, 2},
    {K::kSwitch, 8, 0, 8},
    {K::kStepButton, -1, 0, 7, 6},
    {K::kStepButton, -1, 0, 6, 7},
    {K::kValueEdit},
    {K::kValueEdit},
    {K::kLabel, 0},
    {K::kLabel, 1},
    {K::kLabel, 3},
    {K::kLabel, 5},
    {K::kLabel, -1, 0, -1, -1, true},
    {K::kLabel, 9},
    {K::kLabel, 8},
    {K::kValueSlider, -1, 0, 4},
    {K::kValueSlider, -1, 0, 10},
};
static_assert(std::size(kControls) == kSliderB + 1);

// Value A: byte 7 (branch 1 object 0, page object 4); value B: byte 3 (branch 3 object 0,
// page object 10). Both settle within their slider's range; every number is written "%1.1d".
constexpr ValuePairSpec kPairs[] = {
    {kEditA, kSliderA, 7, 1, 0, 4, SettleBounds::kSliderRange, ValueFormat::kOneDigit,
     ValueFormat::kOneDigit},
    {kEditB, kSliderB, 3, 3, 0, 10, SettleBounds::kSliderRange, ValueFormat::kOneDigit,
     ValueFormat::kOneDigit},
};

// The rated speed: block 0x34 bytes 0 and 1, step object branch 2 object 0, page object 11
// without a record; the step number is added up in a byte.
constexpr StepValueSpec kStepValues[] = {
    {.label = kStepLabel,
     .plus = kPlus,
     .minus = kMinus,
     .byte = 0,
     .branch = 2,
     .object = 0,
     .textObject = 11,
     .format = ValueFormat::kOneDigit,
     .arithmetic = StepArithmetic::kByte},
};

}  // namespace

CScreenEinstellungen4::CScreenEinstellungen4(CVQZodavaRozeDlg* dlg)
    : CSettingsScreen(dlg, {.screenId = 5,
                            .fallbackPrev = 4,
                            .fallbackNext = 6,
                            .settingsFile = kSettingsFileStepValues,
                            .controls = kControls,
                            .pairs = kPairs,
                            .steps = kStepValues,
                            .switches = kScreen5Switches,
                            .owned = kScreen5Owned,
                            .onlyScrolledPair = true,
                            .storeClearsDirty = false}) {}

bool CScreenEinstellungen4::ThresholdSwitchUsed() const { return BranchUsed(3); }

void CScreenEinstellungen4::LoadValues() {
  if (Record() != nullptr && !ThresholdSwitchUsed()) {
    std::uint8_t& byte = SettingsBytes()[kScreen5Switches[1].byte];
    byte = static_cast<std::uint8_t>(byte | kScreen5Switches[1].bit);
  }
  CSettingsScreen::LoadValues();
}

void CScreenEinstellungen4::UpdateScreenControls() {
  // The step value belongs to neither switch: its number stays usable like its buttons and
  // its caption.
  for (int i :
       {kIntro, kGroupCaption, kStepCaption, kStepLabel, kSwitchA, kSwitchB, kPlus, kMinus}) {
    Enable(i, true);
  }
  const bool a = Checked(kSwitchA);
  for (int i : {kCaptionA, kEditA, kSliderA}) Enable(i, a);
  const bool b = Checked(kSwitchB);
  for (int i : {kCaptionB, kSwitchBText, kEditB, kSliderB}) Enable(i, b);

  const bool used = ThresholdSwitchUsed();
  Show(kSwitchA, true);
  Show(kSwitchB, used);
  for (int i : {kPlus, kMinus, kEditA, kEditB, kSliderA, kSliderB}) Show(i, true);
  for (int i = kIntro; i <= kCaptionB; ++i) Show(i, true);
  Show(kSwitchBText, !used);
}

void CScreenEinstellungen4::ArrangeControls() {
  const Rect intro = PlaceTopLabel(kIntro);
  const Rect group = Below(intro, 20, 5, Preferred(kGroupCaption).cx, 18);
  Place(kGroupCaption, group);
  const Rect switchA = Below(group, 20, 5, Preferred(kSwitchA).cx, 18);
  Place(kSwitchA, switchA);
  const Rect captionA = Below(switchA, 22, 7, Preferred(kCaptionA).cx, 18);
  Place(kCaptionA, captionA);
  const Rect editA = MakeRect(captionA.right + 10, captionA.top - 2, 35, 22);
  Place(kEditA, editA);
  const Rect sliderA = MakeRect(editA.right + 10, editA.top, 235, 22);
  Place(kSliderA, sliderA);

  const int f = sliderA.bottom + 15;
  const Rect stepCaption =
      MakeRect(switchA.left, f + (86 - 36) / 2, Preferred(kStepCaption).cx, 36);
  Place(kStepCaption, stepCaption);
  const int centre = stepCaption.right + 45;
  const int buttonLeft = centre - kStepButtonSize / 2;
  Place(kPlus, MakeRect(buttonLeft, f, kStepButtonSize, kStepButtonSize));
  Place(kStepLabel, MakeRect(centre - kStepLabelWidth / 2, f + 34, kStepLabelWidth, 18));
  const Rect minus = MakeRect(buttonLeft, f + 54, kStepButtonSize, kStepButtonSize);
  Place(kMinus, minus);

  const Rect switchB = MakeRect(group.left, minus.bottom + 15, Preferred(kSwitchB).cx, 18);
  Place(kSwitchB, switchB);
  Place(kSwitchBText, switchB);
  const Rect captionB = Below(switchB, 22, 7, Preferred(kCaptionB).cx, 18);
  Place(kCaptionB, captionB);
  const Rect editB = MakeRect(captionB.right + 10, captionB.top - 2, 35, 22);
  Place(kEditB, editB);
  Place(kSliderB, MakeRect(editB.right + 10, editB.top, 185, 22));
}

}  // namespace roviro
