#pragma once
// What the seven settings screens share. Each screen describes itself by a control table
// (which pooled controls it takes, in which order, and how each is labelled), its value pairs
// (an edit and a slider that show one byte), its step values (a label with "+" and "-"
// buttons that pick a division table entry) and the bits its switches stand for. This class
// takes the controls, builds the screen in the fixed order, settles typed values, runs the
// sliders and step buttons, navigates back and next and keeps the settings file; a concrete
// screen adds its load, store, enabling and layout rules.

#include <QPlainTextEdit>

#include <span>
#include <string>
#include <vector>

#include "app/ControlPools.h"
#include "app/Screen.h"
#include "app/VQZodavaRozeDlg.h"
#include "rules/SettingsRules.h"

namespace roviro {

// The pool a control of the table is taken from.
enum class SettingsControl {
  kSwitch,      // buttons A: a check box standing for one bit
  kStepButton,  // buttons B: "+" or "-" of a step value
  kValueEdit,   // edits: the number of a value pair
  kLabel,       // statics: heading, captions, step numbers
  kValueSlider  // sliders H: the slider of a value pair
};

// One row of a control table. Switches and labels take text `textNumber` of `textObject`;
// step buttons take the state pictures of `pictureObject`.
struct ControlSpec {
  SettingsControl kind;
  int textObject = -1;
  int textNumber = 0;
  int tooltipObject = -1;
  int pictureObject = -1;
  bool centred = false;  // labels: text centred (the step numbers)
};

// Where the typed number of a value pair is bounded when it settles.
enum class SettleBounds {
  kSliderRange,   // the slider's own current range
  kRecordOrPage,  // the record's range, else the page range (as the slider's range)
  kPageOnly,      // the page range; the record is not consulted
  kPageAndRecord  // both the page range and the slider's (the record's) range: the number
                  // shown is the number stored
};

// An edit and a slider that show block 0x2E byte `byte`. The slider's range (and the clamp of
// the byte on load) come from the record's branch `branch` object `object`, else from texts 0
// and 1 of page object `textObject`.
struct ValuePairSpec {
  int edit;    // control table index
  int slider;  // control table index
  int byte;
  int branch;
  int object;
  int textObject;
  SettleBounds bounds = SettleBounds::kSliderRange;
  ValueFormat format = ValueFormat::kDecimal;      // settle step and slider step
  ValueFormat loadFormat = ValueFormat::kDecimal;  // load
  bool emptyForZero = false;                       // load leaves the edit empty for a 0
};

// A step value: block 0x34 bytes (byte, byte + 1), shown as a number in label `label` and
// moved by the step buttons `plus` and `minus` (control table indexes). Its step object is
// the record's branch `branch` object `object`; without a record, page object `textObject`
// gives the bounds.
struct StepValueSpec {
  int label;
  int plus;
  int minus;
  int byte;
  int branch;
  int object;
  int textObject;
  ValueFormat format = ValueFormat::kDecimal;
  StepArithmetic arithmetic = StepArithmetic::kInteger;
};

// Everything a settings screen declares about itself.
struct SettingsScreenDefinition {
  int screenId;
  int fallbackPrev;  // back and next without a current catalogue or record
  int fallbackNext;
  int settingsFile;  // "Screen 00N.sav"
  std::span<const ControlSpec> controls;
  std::span<const ValuePairSpec> pairs = {};
  std::span<const StepValueSpec> steps = {};
  // Switch i of the table (the switches come first) and the bits the screen clears on store.
  std::span<const SwitchBit> switches = {};
  std::span<const OwnedBits> owned = {};
  // The slider step handles only the pair whose slider scrolled (else every pair).
  bool onlyScrolledPair = false;
  // StoreValues itself clears the dirty flag (else only CommitIfChanged does).
  bool storeClearsDirty = true;
};

inline constexpr unsigned kSettleTimer = 20;
inline constexpr int kSettleDelayMs = 800;

class CSettingsScreen : public CScreenDefaults {
 public:
  CSettingsScreen(CVQZodavaRozeDlg* dlg, const SettingsScreenDefinition& definition);

  // Timer 20: the settle step of every value pair.
  void OnTimer(unsigned id) override;
  // The creation sequence: bind, heading, tooltips, slider ranges, step pictures, the first
  // label's font, texts, load, settle once, arrange, main tab 1 marked.
  HResult Create() override;
  // The common part around the screen's own rules (UpdateScreenControls).
  void UpdateControls() override;
  // Load: LoadValues, then the dirty flag cleared.
  void ApplyDescription() override;
  // A settle that is still due is run first, so a value typed just before leaving is kept;
  // then timer 20 is killed and StoreScreenValues writes the image.
  void StoreValues() override;
  HResult CommitIfChanged() override;
  // Back and next; the step buttons; any other command marks a screen without step values
  // dirty.
  void OnCommand(QWidget* focus) override;
  void OnButtonClicked(QWidget* focus) override;
  void OnEditChange(QWidget* focus) override;
  void OnHScroll(unsigned code, unsigned position, QWidget* scrollBar, QWidget* focus) override;
  void OnVScroll(unsigned code, unsigned position, QWidget* scrollBar, QWidget* focus) override;
  // The settings file: created empty on leaving, read on entering.
  void OnLeave() override;
  void OnEnter() override;

  // The control at table index `index` (null when the index is not of that kind).
  QWidget* Control(int index) const;
  CMyButton* Button(int index) const;  // switches and step buttons
  QPlainTextEdit* Edit(int index) const;
  CMyStatic* Label(int index) const;
  CMySliderCtrl* Slider(int index) const;
  int ControlCount() const { return static_cast<int>(m_controls.size()); }

 protected:
  // ---- hooks ----
  // The load rules. By default: the switches from their bits, every value pair (clamped in
  // the image by the record, written into its edit) and every step value.
  virtual void LoadValues();
  // The store rules. By default: every value pair's byte from its slider, the switches'
  // bits, every step value whose number was changed.
  virtual void StoreScreenValues();
  // The screen's own enabling and visibility rules.
  virtual void UpdateScreenControls() = 0;

  HResult TakeControls() override;

  // ---- pieces for the rules ----
  void LoadSwitches();
  void StoreSwitches();
  void LoadValuePair(const ValuePairSpec& pair);
  void StoreValuePair(const ValuePairSpec& pair);
  void LoadStepValue(int step);
  void StoreStepValue(int step);
  void StepUp(int step);
  void StepDown(int step);
  // The settle step of one pair.
  void SettlePair(const ValuePairSpec& pair);
  // The slider step of one pair.
  void FollowSlider(const ValuePairSpec& pair);

  bool Checked(int index) const;
  // Enable and show change a control only when its state differs; labels are greyed
  // through their own command.
  void Enable(int index, bool on);
  void Show(int index, bool on);

  // The current catalogue's record of this screen, its branches and objects; null when there
  // is no catalogue or no record.
  const ScreenRecord* Record() const;
  const CatalogueBranch* Branch(int branch) const { return RecordBranch(Record(), branch); }
  // Whether the record uses the branch (`bUse`); without a record every branch counts as used.
  bool BranchUsed(int branch) const {
    const CatalogueBranch* b = Branch(branch);
    return b == nullptr || b->bUse != 0;
  }
  const CatalogueObject* Object(int branch, int object) const {
    return RecordObject(Record(), branch, object);
  }
  // The motor record of the image's current variant (its division table); null without a
  // current catalogue.
  const MotorRecord* Motor() const;
  std::span<std::uint8_t> SettingsBytes();
  std::span<std::uint8_t> StepBytes();

  // ---- layout ----
  // The preferred size: switches with the option word 0x1000, labels with 0x40000000.
  Size Preferred(int index) const;
  Rect Geometry(int index) const;
  void Place(int index, const Rect& r);
  // A rectangle `dx` right of `from` and `gap` below its bottom, `height` high, `width` wide.
  static Rect Below(const Rect& from, int dx, int gap, int width, int height);
  // The top label at left 120, top 140, right 520, as high as its text.
  Rect PlaceTopLabel(int index);

  static void SetEditText(QPlainTextEdit* edit, const std::string& text);
  static std::string EditText(const QPlainTextEdit* edit);

  const SettingsScreenDefinition& Definition() const { return m_definition; }
  // Whether "+" or "-" changed step value `step` since the load.
  bool StepChanged(int step) const;

 private:
  void SettleIfPending();
  // After the load: the value pairs without a range from the record, told once.
  void NoteUnrangedValues();

  // A value pair whose record lacks its object gives no range: its slider's position after
  // the load, so that its byte is stored only when the fitter moved it (else -1).
  std::vector<int> m_unrangedLoad;

  SettingsScreenDefinition m_definition;
  std::vector<QWidget*> m_controls;
  std::vector<bool> m_stepChanged;
};

}  // namespace roviro
