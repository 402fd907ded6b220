#include "rules/MotorList.h"

#include "pages/TextHelpers.h"

namespace roviro {

std::string BuildMotorName(const std::string& pattern, std::uint32_t code,
                           const ScreenDescription& language) {
  const int h = static_cast<int>((code >> 22) & 0x3);
  std::string name = ReplaceAll(pattern, "%a", language.Text(5, h));
  name = ReplaceAll(name, "%b", language.Text(h + 6, static_cast<int>((code >> 16) & 0x3F)));
  name = ReplaceAll(name, "%c", language.Text(10, static_cast<int>((code >> 12) & 0xF)));
  name = ReplaceAll(name, "%d", language.Text(11, static_cast<int>((code >> 8) & 0xF)));
  return ReplaceAll(name, "%e", language.Text(h + 12, static_cast<int>((code >> 4) & 0xF)));
}

std::string MotorListLine(const Catalogue* catalogue, const ScreenDescription& language) {
  if (catalogue == nullptr) return "??xx??";
  const MotorRecord& motor = catalogue->motors[0];
  return BuildMotorName(motor.strMoNa, motor.dhMoNa, language);
}

int SelectMotorForImage(const CatalogueList& catalogues, const ParameterImage& image) {
  int selection = -1;
  for (std::size_t i = 0; i < catalogues.size(); ++i) {
    if (catalogues[i] != nullptr) {
      selection = static_cast<int>(i);
      break;
    }
  }
  const std::uint32_t identity = image.MotorIdentity() & ~7u;
  if (identity == 0) return selection;
  for (std::size_t i = 0; i < catalogues.size(); ++i) {
    if (catalogues[i] == nullptr) continue;
    for (const MotorRecord& motor : catalogues[i]->motors) {
      if ((motor.dhMoNa & 0xFFFFF8u) == identity) selection = static_cast<int>(i);
    }
  }
  return selection;
}

bool IsUnknownMotor(const CatalogueList& catalogues, const ParameterImage& image) {
  const std::uint32_t identity = image.MotorIdentity() & ~7u;
  if (identity == 0) return false;
  for (const auto& catalogue : catalogues) {
    if (catalogue == nullptr) continue;
    for (const MotorRecord& motor : catalogue->motors) {
      if ((motor.dhMoNa & 0xFFFFF8u) == identity) return false;
    }
  }
  return true;
}

}  // namespace roviro
