#include "catalogue/LudFile.h"

#include <tinyxml2.h>

#include <cstdio>

#include "catalogue/Archive.h"
#include "catalogue/XmlSupport.h"
#include "platform/Paths.h"
#include "ui/TextHelpers.h"

namespace roviro {

namespace {

constexpr const char* kRootName = "LUD";

// Element names in file order, with the text each one is written from and read into.
struct LudField {
  const char* element;
  std::string LudTexts::*source;
  std::string ParameterImage::*target;
};
constexpr LudField kLudFields[] = {
    {"MN", &LudTexts::moName, &ParameterImage::m_moName},
    {"FN", &LudTexts::firma, &ParameterImage::m_firma},
    {"NM", &LudTexts::name, &ParameterImage::m_name},
    {"NT", &LudTexts::kommentar, &ParameterImage::m_kommentar},
};

}  // namespace

std::string LudFileName(std::uint32_t motorCode, std::uint8_t a, std::uint8_t b) {
  char tail[16];
  std::snprintf(tail, sizeof tail, "%2.2X%2.2X.lud", static_cast<unsigned>(a),
                static_cast<unsigned>(b));
  return ValueToHex(motorCode) + tail;
}

HResult ReadLudFile(ParameterImage* image, const Catalogue* current, int motorIndex,
                    const std::string& tempFolder, const ContactRecord& contact) {
  if (image == nullptr) return E_FAIL;
  image->m_firma = contact.company;
  if (tempFolder.empty() || current == nullptr) return S_OK;
  if (motorIndex < 0 || motorIndex >= kMotorCount) return E_FAIL;

  const std::uint32_t code = current->motors[static_cast<std::size_t>(motorIndex)].dhMoNa & ~7u;
  const auto line1 = image->Block(0x39);
  const std::string path = JoinPath(tempFolder, LudFileName(code, line1[9], line1[10]));

  std::string text;
  if (!ReadWholeFile(path, &text)) return E_FAIL;
  tinyxml2::XMLDocument doc;
  if (!ParseXml(doc, text) || !HasProgramDeclaration(doc)) return E_FAIL;
  const tinyxml2::XMLElement* root = doc.FirstChildElement(kRootName);
  if (root == nullptr) return E_FAIL;

  for (const LudField& field : kLudFields) {
    std::string value;
    if (!FirstChildText(root->FirstChildElement(field.element), &value)) continue;
    if (value.empty()) return E_FAIL;
    // A company of two characters or fewer would hide the fitter's own.
    if (field.target == &ParameterImage::m_firma && RemoveBlanks(value).size() <= 2) continue;
    image->*field.target = value;
  }
  return S_OK;
}

HResult WriteLudFile(const std::string& tempFolder, const Catalogue* current, std::uint8_t byte9,
                     std::uint8_t byte10, const LudTexts& texts) {
  if (tempFolder.empty() || current == nullptr) return E_FAIL;
  if (!CreateFolderTree(NormalisePath(tempFolder))) return E_FAIL;

  tinyxml2::XMLDocument doc;
  AddProgramDeclaration(doc);
  tinyxml2::XMLElement* root = doc.NewElement(kRootName);
  doc.InsertEndChild(root);
  for (const LudField& field : kLudFields) {
    const std::string& value = texts.*field.source;
    if (!value.empty()) AddTextElement(root, field.element, value);
  }
  const std::string path =
      JoinPath(tempFolder, LudFileName(current->motors[0].dhMoNa, byte9, byte10));
  return ReplaceFileAtomically(path, PrintXml(doc)) ? S_OK : E_FAIL;
}

}  // namespace roviro
