#pragma once
// What the settings screens decide without a widget: reading a typed number, bounding it to a
// byte range and writing it back, the switch bits each screen owns, and the step values of
// block 0x34 that can only take the values of the catalogue's division table. The screen
// classes only wire controls to these.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/ParameterImage.h"
#include "pages/ScreenDescription.h"

namespace roviro {

// The block that holds the switches and values, and the block of the step values.
inline constexpr std::uint8_t kSettingsBlock = 0x2E;
inline constexpr std::uint8_t kStepValueBlock = 0x34;

// ---- numbers ---------------------------------------------------------------------------------

// Reads a number as the C library's atoi does: leading blanks, an optional sign, then digits;
// text that does not start that way reads as 0. Numbers beyond an int stop at its limits.
int ReadNumber(std::string_view text);

struct ValueRange {
  int min = 0;
  int max = 0;
  bool operator==(const ValueRange&) const = default;
};

// Below the minimum becomes the minimum, then above the maximum becomes the maximum.
int ClampValue(int value, ValueRange range);

// A range whose ends came reversed (minimum above maximum) with its ends swapped.
ValueRange Ordered(ValueRange range);
// The record object's range `iMin`..`iMax`, ordered.
ValueRange ObjectRange(const CatalogueObject& object);

// The values both ranges allow; the first range where they share none.
ValueRange Intersect(ValueRange first, ValueRange second);

// A range cut to what a byte can hold: every value the settings screens store is one byte,
// and a wider catalogue range would otherwise wrap the stored value.
ValueRange ByteRange(ValueRange range);

// Texts 0 (minimum) and 1 (maximum) of page object `textObject`, read as numbers (a missing
// text reads as 0). Not cut to a byte.
ValueRange PageRange(const ScreenDescription& page, int textObject);

// The range of a value: the record's `iMin`/`iMax` of branch `branch` object `object`, or
// without a record (or when the record lacks the object) the page range of `textObject`;
// always ordered and cut to a byte.
ValueRange ValueRangeFor(const ScreenRecord* record, int branch, int object,
                         const ScreenDescription& page, int textObject);

// The object `object` of branch `branch` of `record`; null without a record, outside, or when
// the record lacks the object.
const CatalogueObject* RecordObject(const ScreenRecord* record, int branch, int object);
const CatalogueBranch* RecordBranch(const ScreenRecord* record, int branch);

// "%d" and "%1.1d" (which give the same digits; the screens name the one they use).
enum class ValueFormat { kDecimal, kOneDigit };
std::string FormatValue(int value, ValueFormat format);

// The settle step of one value pair: the edit's text read as a number, bounded, and the text
// the edit must show.
struct SettledValue {
  int value = 0;
  std::string text;
  bool textChanged = false;  // the edit's text differs from `text`
};
SettledValue SettleValue(const std::string& typed, ValueRange bounds, ValueFormat format);

// Bounds `byte` in place by the record's object range (ordered, cut to a byte); nothing without
// a record or without the object (the byte stays as it was). True when the byte changed.
bool ClampByteToRecord(std::uint8_t& byte, const ScreenRecord* record, int branch, int object);

// ---- switches --------------------------------------------------------------------------------

// The bit of block 0x2E that a switch stands for.
struct SwitchBit {
  int byte;
  std::uint8_t bit;
};

// A byte of block 0x2E of which a screen owns some bits: on store the byte is ANDed with
// `keep` before the switches' bits are set.
struct OwnedBits {
  int byte;
  std::uint8_t keep;
};

// True when the masks clear exactly the bits the switches stand for: every switch's bit is
// cleared by its byte's mask, and every cleared bit belongs to a switch.
constexpr bool MasksMatchSwitches(std::span<const SwitchBit> switches,
                                  std::span<const OwnedBits> owned) {
  for (const OwnedBits& o : owned) {
    std::uint8_t bits = 0;
    for (const SwitchBit& s : switches) {
      if (s.byte == o.byte) bits = static_cast<std::uint8_t>(bits | s.bit);
    }
    if (static_cast<std::uint8_t>(~o.keep) != bits) return false;
  }
  for (const SwitchBit& s : switches) {
    bool covered = false;
    for (const OwnedBits& o : owned) covered = covered || o.byte == s.byte;
    if (!covered) return false;
  }
  return true;
}

// The checked state of each switch as the block gives it.
std::vector<bool> ReadSwitches(std::span<const std::uint8_t> block,
                               std::span<const SwitchBit> switches);
// Clears the owned bits, then sets each checked switch's bit; every other bit stays.
void WriteSwitches(std::span<std::uint8_t> block, std::span<const OwnedBits> owned,
                   std::span<const SwitchBit> switches, const std::vector<bool>& checked);

// The switches of each settings screen in the order of its control table (the switches are
// always its first controls) and the bits each screen clears on store.
inline constexpr std::array<SwitchBit, 7> kScreen2Switches = {
    {{8, 0x01}, {8, 0x20}, {9, 0x02}, {9, 0x04}, {9, 0x08}, {9, 0x10}, {9, 0x20}}};
inline constexpr std::array<OwnedBits, 2> kScreen2Owned = {{{8, 0xDE}, {9, 0xC1}}};
inline constexpr std::array<SwitchBit, 2> kScreen3Switches = {{{8, 0x02}, {8, 0x10}}};
inline constexpr std::array<OwnedBits, 1> kScreen3Owned = {{{8, 0xED}}};
inline constexpr std::array<SwitchBit, 1> kScreen4Switches = {{{9, 0x01}}};
inline constexpr std::array<OwnedBits, 1> kScreen4Owned = {{{9, 0xFE}}};
inline constexpr std::array<SwitchBit, 2> kScreen5Switches = {{{8, 0x10}, {8, 0x40}}};
inline constexpr std::array<OwnedBits, 1> kScreen5Owned = {{{8, 0xAF}}};
inline constexpr std::array<SwitchBit, 5> kScreen10Switches = {
    {{8, 0x01}, {8, 0x20}, {8, 0x02}, {8, 0x10}, {9, 0x01}}};
inline constexpr std::array<OwnedBits, 2> kScreen10Owned = {{{8, 0xCC}, {9, 0xFE}}};
inline constexpr std::array<SwitchBit, 2> kScreen11Switches = {{{8, 0x10}, {8, 0x40}}};
inline constexpr std::array<OwnedBits, 1> kScreen11Owned = {{{8, 0xAF}}};

static_assert(MasksMatchSwitches(kScreen2Switches, kScreen2Owned));
static_assert(MasksMatchSwitches(kScreen3Switches, kScreen3Owned));
static_assert(MasksMatchSwitches(kScreen4Switches, kScreen4Owned));
static_assert(MasksMatchSwitches(kScreen5Switches, kScreen5Owned));
static_assert(MasksMatchSwitches(kScreen10Switches, kScreen10Owned));
static_assert(MasksMatchSwitches(kScreen11Switches, kScreen11Owned));

// ---- step values -----------------------------------------------------------------------------

// The motor record whose division table the step values use: the one of the image's current
// variant (variants beyond the three records count as variant 0); null without a catalogue.
const MotorRecord* CurrentMotorRecord(const Catalogue* catalogue, const ParameterImage& image);

// The division table entry a stored step value (high, low) stands for: the first entry that
// matches both bytes, else entry 2. Without a motor record (no catalogue): 0.
int DivisionIndex(const MotorRecord* motor, std::uint8_t high, std::uint8_t low);

// How the step number is added up on load: as a plain integer (screens 3 and 12) or as an
// unsigned byte that wraps at 256 (screens 4 and 5).
enum class StepArithmetic { kInteger, kByte };

// The step number shown for division index `index`: with the record's step object, the index
// plus the object's `iMin`, bounded by `iMin` and `iMax` (in `arithmetic`); without it, the
// index plus the page minimum, bounded by the page range. Ranges are ordered first; the sum
// cannot overflow.
int StepNumberOnLoad(int index, const CatalogueObject* stepObject, ValueRange pageRange,
                     StepArithmetic arithmetic);

// "+" and "-": one more or one less than the shown number; with the step object bounded by
// its `iMax` or `iMin`, without a record unbounded.
int StepUp(int shown, const CatalogueObject* stepObject);
int StepDown(int shown, const CatalogueObject* stepObject);

// Writes the division table entry of step number `shown` into block bytes (n, n + 1): only
// with a step object (a record) and a motor record (a catalogue), only when the step number
// was changed on the screen (`changed`), and only when shown - `iMin`, as a byte, is below 6.
// True when the bytes were written.
bool StoreStepValue(std::span<std::uint8_t> block, int n, int shown,
                    const CatalogueObject* stepObject, const MotorRecord* motor, bool changed);

}  // namespace roviro
