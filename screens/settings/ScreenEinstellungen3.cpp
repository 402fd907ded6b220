#include "screens/settings/ScreenEinstellungen3.h"

#include "records/ScreenSettingsFile.h"

namespace roviro {

namespace {

using K = SettingsControl;

// Control table indexes.
constexpr int kFunction = 0;
constexpr int kPlus = 1;
constexpr int kMinus = 2;
constexpr int kEditA = 3;
constexpr int kEditB = 4;
constexpr int kEditC = 5;
constexpr int kIntro = 6;
constexpr int kCaptionA = 7;
constexpr int kStepCaption = 8;
constexpr int kStepLabel = 9;
constexpr int kCaptionB = 10;
constexpr int kCaptionC = 11;
constexpr int kUnitB = 12;
constexpr int kUnitC = 13;
constexpr int kFunctionText = 14;
constexpr int kSliderA = 15;
constexpr int kSliderB = 16;
constexpr int kSliderC = 17;

constexpr int kStepButtonSize = 32;
constexpr int kStepLabelWidth = 70;

constexpr ControlSpec kControls[] = {
    {K::kSwitch, 6, 0, 6},
    {K::kStepButton, -1, 0, 4, 4},
    {K::kStepButton, -1, 0, 5, 5},
    {K::kValueEdit, -1, 0, 9},
    {K::kValueEdit, -1, 0, 10},
    {K::kValueEdit, -1, 0, 13},
    {K::kLabel, 0},
    {K::kLabel, 1},
    {K::kLabel, 3},
    {K::kLabel, -1, 0, -1, -1, true},
    {K::kLabel, 7},
    {K::kLabel, 12},
    {K::kLabel, 15},
    {K::kLabel, 16},
    {K::kLabel, 6},
    {K::kValueSlider, -1, 0, 2},
    {K::kValueSlider, -1, 0, 8},
    {K::kValueSlider, -1, 0, 14},
};
static_assert(std::size(kControls) == kSliderC + 1);

// Value A: byte 4 (branch 1 object 0, page object 2); value B: byte 6 (branch 2 object 0,
// page object 8); value C: byte 5 (branch 2 object 1, page object 14). Each settles within
// its record range (else its page range).
constexpr ValuePairSpec kPairs[] = {
    {kEditA, kSliderA, 4, 1, 0, 2, SettleBounds::kRecordOrPage},
    {kEditB, kSliderB, 6, 2, 0, 8, SettleBounds::kRecordOrPage},
    {kEditC, kSliderC, 5, 2, 1, 14, SettleBounds::kRecordOrPage},
};

// The rated speed: block 0x34 bytes 0 and 1, step object branch 1 object 1, page object 11
// without a record; the step number is added up in a byte.
constexpr StepValueSpec kStepValues[] = {
    {.label = kStepLabel,
     .plus = kPlus,
     .minus = kMinus,
     .byte = 0,
     .branch = 1,
     .object = 1,
     .textObject = 11,
     .arithmetic = StepArithmetic::kByte},
};

}  // namespace

CScreenEinstellungen3::CScreenEinstellungen3(CVQZodavaRozeDlg* dlg)
    : CSettingsScreen(dlg, {.screenId = 4,
                            .fallbackPrev = 3,
                            .fallbackNext = 5,
                            .settingsFile = kSettingsFileStepValues,
                            .controls = kControls,
                            .pairs = kPairs,
                            .steps = kStepValues,
                            .switches = kScreen4Switches,
                            .owned = kScreen4Owned,
                            .onlyScrolledPair = true,
                            .storeClearsDirty = false}) {}

bool CScreenEinstellungen3::FunctionUsed() const { return BranchUsed(2); }

bool CScreenEinstellungen3::FunctionHidden() const {
  const CatalogueBranch* branch = Branch(2);
  return Record() != nullptr && branch != nullptr && branch->bHide != 0;
}

void CScreenEinstellungen3::LoadValues() {
  if (Record() != nullptr && !FunctionUsed()) {
    std::uint8_t& byte = SettingsBytes()[kScreen4Switches[0].byte];
    byte = static_cast<std::uint8_t>(byte | kScreen4Switches[0].bit);
  }
  CSettingsScreen::LoadValues();
}

void CScreenEinstellungen3::UpdateScreenControls() {
  const bool withRecord = Record() != nullptr;
  const bool used = FunctionUsed();
  const bool hidden = FunctionHidden();
  for (int i : {kIntro, kCaptionA, kStepCaption, kStepLabel, kFunctionText, kEditA, kSliderA, kPlus,
                kMinus, kFunction}) {
    Enable(i, true);
  }
  const bool on = Checked(kFunction);
  for (int i : {kCaptionB, kCaptionC, kUnitB, kUnitC, kEditB, kEditC, kSliderB, kSliderC}) {
    Enable(i, on);
  }

  Show(kFunction, used && !hidden);
  for (int i : {kPlus, kMinus, kEditA, kIntro, kCaptionA, kStepCaption, kStepLabel, kSliderA}) {
    Show(i, true);
  }
  // Value B needs the switch; value C stays (with its captions, without its slider) where the
  // function is always on.
  for (int i : {kEditB, kSliderB, kCaptionB, kUnitB, kSliderC}) Show(i, used && !hidden);
  for (int i : {kEditC, kCaptionC, kUnitC}) Show(i, !hidden);
  Show(kFunctionText, withRecord && !used && !hidden);
}

void CScreenEinstellungen3::ArrangeControls() {
  const Rect intro = PlaceTopLabel(kIntro);
  const Rect captionA = Below(intro, 42, 5, Preferred(kCaptionA).cx, 32);
  Place(kCaptionA, captionA);
  const Rect editA = MakeRect(captionA.right + 10, captionA.top + 5, 35, 22);
  Place(kEditA, editA);
  Place(kSliderA, Rect{editA.right + 10, editA.top, editA.right + 150, editA.bottom});

  const Rect stepCaption =
      MakeRect(captionA.left, captionA.bottom + 5 + (86 - 36) / 2, Preferred(kStepCaption).cx, 36);
  Place(kStepCaption, stepCaption);
  const int f = captionA.bottom + 5;
  const int centre = stepCaption.right + 45;
  const int buttonLeft = centre - kStepButtonSize / 2;
  Place(kPlus, MakeRect(buttonLeft, f, kStepButtonSize, kStepButtonSize));
  Place(kStepLabel, MakeRect(centre - kStepLabelWidth / 2, f + 34, kStepLabelWidth, 18));
  const Rect minus = MakeRect(buttonLeft, f + 54, kStepButtonSize, kStepButtonSize);
  Place(kMinus, minus);

  const Rect function =
      MakeRect(captionA.left - 20, minus.bottom + 15, Preferred(kFunction).cx, 18);
  Place(kFunction, function);
  Place(kFunctionText, function);

  // Without a record the times of the intermediate position are all on the page; they are
  // placed as where the record uses branch 2.
  Rect captionC = Below(function, 22, 7, Preferred(kCaptionC).cx, 18);
  if (Record() == nullptr || FunctionUsed()) {
    const Rect captionB = Below(function, 22, 7, Preferred(kCaptionB).cx, 18);
    Place(kCaptionB, captionB);
    const Rect editB = MakeRect(captionB.right + 2, captionB.top - 2, 35, 22);
    Place(kEditB, editB);
    const Rect unitB = MakeRect(editB.right + 5, editB.top + 2, Preferred(kUnitB).cx, 18);
    Place(kUnitB, unitB);
    const Rect sliderB{unitB.right + 10, unitB.top - 2, unitB.right + 150, unitB.top + 20};
    Place(kSliderB, sliderB);
    captionC = MakeRect(captionB.left, sliderB.bottom + 7, Preferred(kCaptionC).cx, 18);
  }
  Place(kCaptionC, captionC);
  const Rect editC = MakeRect(captionC.right + 2, captionC.top - 2, 35, 22);
  Place(kEditC, editC);
  const Rect unitC = MakeRect(editC.right + 5, editC.top + 2, Preferred(kUnitC).cx, 18);
  Place(kUnitC, unitC);
  Place(kSliderC, Rect{unitC.right + 10, unitC.top - 2, unitC.right + 150, unitC.top + 20});
}

}  // namespace roviro
