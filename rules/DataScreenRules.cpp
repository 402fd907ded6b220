#include "rules/DataScreenRules.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "pages/TextHelpers.h"
#include "platform/TextEncoding.h"

namespace roviro {

std::string BoxStatusText(const ScreenDescription& page, bool connected, int portNumber,
                          const std::string& devicePath) {
  if (!connected) return page.Text(kLoadStatusTexts, 0);
  std::string text = ReplaceAll(page.Text(kLoadStatusTexts, 1), "%s", std::to_string(portNumber));
  // The page texts are ISO-8859-1, the device's name the system's.
  if (!devicePath.empty()) text += " (" + PathAsText(devicePath) + ")";
  return text;
}

NumberField ApplyNumberFieldRule(const std::string& typed, int caret) {
  NumberField field;
  std::string text = typed;
  if (text.size() > 3) text.erase(3, 1);
  long value = std::strtol(text.c_str(), nullptr, 10);
  value = std::min(value, 255L);
  if (value > 0) {
    field.value = static_cast<int>(value);
    field.text = std::to_string(value);
  }
  field.caret = std::clamp(caret, 0, std::min(3, static_cast<int>(field.text.size())));
  return field;
}

std::uint8_t NumberFieldByte(const std::string& text) {
  const long value = std::strtol(text.c_str(), nullptr, 10);
  return static_cast<std::uint8_t>(std::clamp(value, 0L, 255L));
}

int CheckLoadDataEntries(const std::string& motorName, const std::string& company,
                         bool hasSelection, bool hasCatalogue) {
  if (RemoveBlanks(motorName).empty()) return 0;
  if (RemoveBlanks(company).size() < 3) return 1;
  if (!hasSelection) return 2;
  if (!hasCatalogue) return 3;
  return -1;
}

bool HasVariant(const Catalogue* catalogue, int variant) {
  if (catalogue == nullptr || variant < 0 || variant >= kMotorCount) return false;
  const MotorRecord& motor = catalogue->motors[static_cast<std::size_t>(variant)];
  // The upload can use a variant only with both of its GUIDs.
  return !motor.strGuidNQB.empty() && !motor.strGuidUMode.empty();
}

void ApplyVariantChoice(ParameterImage& image, const Catalogue* catalogue, int variant) {
  const int v = variant >= 0 && variant < kMotorCount ? variant : 0;
  auto identity = image.Block(0x39);
  identity[2] = static_cast<std::uint8_t>((identity[2] & ~7u) | static_cast<unsigned>(v));
  if (catalogue == nullptr) return;
  const BlockInfo* info = FindBlock(0x3B);
  const ParameterBlock& factory = catalogue->motors[static_cast<std::size_t>(v)].block;
  auto target = image.Block(0x3B);
  std::memcpy(target.data(), factory.data() + info->offset, target.size());
}

int TestModeForButton(int button, bool reachedThroughState6) {
  if (button < 0 || button > 5) return 0;
  if (button <= 2 && reachedThroughState6) return 11 + button;
  return button + 1;
}

}  // namespace roviro
