#include "rules/SettingsRules.h"

#include <climits>
#include <cstdio>

namespace roviro {

int ReadNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

int ClampValue(int value, ValueRange range) {
  if (value < range.min) value = range.min;
  if (value > range.max) value = range.max;
  return value;
}

ValueRange Ordered(ValueRange range) {
  if (range.min > range.max) return {range.max, range.min};
  return range;
}

ValueRange ObjectRange(const CatalogueObject& object) {
  return Ordered({object.iMin, object.iMax});
}

ValueRange Intersect(ValueRange first, ValueRange second) {
  const ValueRange a = Ordered(first);
  const ValueRange b = Ordered(second);
  const ValueRange both{a.min > b.min ? a.min : b.min, a.max < b.max ? a.max : b.max};
  return both.min <= both.max ? both : a;
}

ValueRange ByteRange(ValueRange range) {
  auto cut = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
  return {cut(range.min), cut(range.max)};
}

ValueRange PageRange(const ScreenDescription& page, int textObject) {
  return Ordered({ReadNumber(page.Text(textObject, 0)), ReadNumber(page.Text(textObject, 1))});
}

const CatalogueBranch* RecordBranch(const ScreenRecord* record, int branch) {
  if (record == nullptr || branch < 0 || branch >= kBranchCount) return nullptr;
  return &record->branches[static_cast<std::size_t>(branch)];
}

const CatalogueObject* RecordObject(const ScreenRecord* record, int branch, int object) {
  const CatalogueBranch* b = RecordBranch(record, branch);
  if (b == nullptr || object < 0 || object >= kObjectCount) return nullptr;
  const CatalogueObject& o = b->objects[static_cast<std::size_t>(object)];
  return o.present ? &o : nullptr;
}

ValueRange ValueRangeFor(const ScreenRecord* record, int branch, int object,
                         const ScreenDescription& page, int textObject) {
  if (const CatalogueObject* o = RecordObject(record, branch, object)) {
    return ByteRange(ObjectRange(*o));
  }
  return ByteRange(PageRange(page, textObject));
}

std::string FormatValue(int value, ValueFormat format) {
  char text[16];
  std::snprintf(text, sizeof text, format == ValueFormat::kOneDigit ? "%1.1d" : "%d", value);
  return text;
}

SettledValue SettleValue(const std::string& typed, ValueRange bounds, ValueFormat format) {
  SettledValue out;
  out.value = ClampValue(ReadNumber(typed), bounds);
  out.text = FormatValue(out.value, format);
  out.textChanged = out.text != typed;
  return out;
}

bool ClampByteToRecord(std::uint8_t& byte, const ScreenRecord* record, int branch, int object) {
  const CatalogueObject* o = RecordObject(record, branch, object);
  if (o == nullptr) return false;
  const auto clamped = static_cast<std::uint8_t>(ClampValue(byte, ByteRange(ObjectRange(*o))));
  const bool changed = clamped != byte;
  byte = clamped;
  return changed;
}

std::vector<bool> ReadSwitches(std::span<const std::uint8_t> block,
                               std::span<const SwitchBit> switches) {
  std::vector<bool> on;
  for (const SwitchBit& s : switches) {
    on.push_back(s.byte >= 0 && static_cast<std::size_t>(s.byte) < block.size() &&
                 (block[static_cast<std::size_t>(s.byte)] & s.bit) != 0);
  }
  return on;
}

void WriteSwitches(std::span<std::uint8_t> block, std::span<const OwnedBits> owned,
                   std::span<const SwitchBit> switches, const std::vector<bool>& checked) {
  for (const OwnedBits& o : owned) {
    if (o.byte < 0 || static_cast<std::size_t>(o.byte) >= block.size()) continue;
    block[static_cast<std::size_t>(o.byte)] &= o.keep;
  }
  for (std::size_t i = 0; i < switches.size() && i < checked.size(); ++i) {
    const SwitchBit& s = switches[i];
    if (!checked[i] || s.byte < 0 || static_cast<std::size_t>(s.byte) >= block.size()) continue;
    block[static_cast<std::size_t>(s.byte)] |= s.bit;
  }
}

const MotorRecord* CurrentMotorRecord(const Catalogue* catalogue, const ParameterImage& image) {
  if (catalogue == nullptr) return nullptr;
  int variant = image.Variant();
  if (variant >= kMotorCount) variant = 0;
  return &catalogue->motors[static_cast<std::size_t>(variant)];
}

int DivisionIndex(const MotorRecord* motor, std::uint8_t high, std::uint8_t low) {
  if (motor == nullptr) return 0;
  for (int i = 0; i < kDivisionTableSize; ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (motor->ucHB[k] == high && motor->ucLB[k] == low) return i;
  }
  return 2;
}

namespace {

// index + min, bounded by the range; in a wider type, so that no sum overflows.
int BoundedSum(int index, ValueRange range) {
  const long long s = static_cast<long long>(index) + range.min;
  if (s < range.min) return range.min;
  if (s > range.max) return range.max;
  return static_cast<int>(s);
}

}  // namespace

int StepNumberOnLoad(int index, const CatalogueObject* stepObject, ValueRange pageRange,
                     StepArithmetic arithmetic) {
  if (stepObject == nullptr) return BoundedSum(index, Ordered(pageRange));
  const ValueRange range = ObjectRange(*stepObject);
  if (arithmetic == StepArithmetic::kByte) {
    // The sum is kept in a byte; the bounds are compared with that byte's value and, when
    // they apply, stored into it.
    auto s =
        static_cast<std::uint8_t>(static_cast<unsigned>(index) + static_cast<unsigned>(range.min));
    if (s < range.min) s = static_cast<std::uint8_t>(range.min);
    if (s > range.max) s = static_cast<std::uint8_t>(range.max);
    return s;
  }
  return BoundedSum(index, range);
}

int StepUp(int shown, const CatalogueObject* stepObject) {
  int s = shown == INT_MAX ? shown : shown + 1;
  if (stepObject != nullptr && s > ObjectRange(*stepObject).max) s = ObjectRange(*stepObject).max;
  return s;
}

int StepDown(int shown, const CatalogueObject* stepObject) {
  int s = shown == INT_MIN ? shown : shown - 1;
  if (stepObject != nullptr && s < ObjectRange(*stepObject).min) s = ObjectRange(*stepObject).min;
  return s;
}

bool StoreStepValue(std::span<std::uint8_t> block, int n, int shown,
                    const CatalogueObject* stepObject, const MotorRecord* motor, bool changed) {
  if (!changed || stepObject == nullptr || motor == nullptr) return false;
  if (n < 0 || static_cast<std::size_t>(n) + 1 >= block.size()) return false;
  const auto d = static_cast<std::uint8_t>(static_cast<unsigned>(shown) -
                                           static_cast<unsigned>(ObjectRange(*stepObject).min));
  if (d >= kDivisionTableSize) return false;
  block[static_cast<std::size_t>(n)] = motor->ucHB[d];
  block[static_cast<std::size_t>(n) + 1] = motor->ucLB[d];
  return true;
}

}  // namespace roviro
