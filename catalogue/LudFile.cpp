#include "catalogue/LudFile.h"

#include <tinyxml2.h>

#include <cstdio>
#include <string_view>

#include "catalogue/Archive.h"
#include "catalogue/XmlSupport.h"
#include "pages/TextHelpers.h"
#include "platform/Paths.h"

namespace roviro {

namespace {

constexpr const char* kRootName = "LUD";

// Element names in file order, with the text each one is written from and read into. The
// comment may have several lines; it keeps them as stored texts do, one backslash-n each.
struct LudField {
  const char* element;
  std::string LudTexts::*source;
  std::string ParameterImage::*target;
  bool multiLine;
};
constexpr LudField kLudFields[] = {
    {"MN", &LudTexts::moName, &ParameterImage::m_moName, false},
    {"FN", &LudTexts::firma, &ParameterImage::m_firma, false},
    {"NM", &LudTexts::name, &ParameterImage::m_name, false},
    {"NT", &LudTexts::kommentar, &ParameterImage::m_kommentar, true},
};

// Every line break (line feed, carriage return and line feed, or a lone carriage return) as
// the two characters backslash and n.
std::string StoredLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\\n";
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

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
    // Files written before the comment was stored this way hold raw line feeds; they stay
    // as they are.
    image->*field.target = field.multiLine ? ExpandLineBreaks(value) : value;
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
    if (!value.empty()) {
      AddTextElement(root, field.element, field.multiLine ? StoredLineBreaks(value) : value);
    }
  }
  const std::string path =
      JoinPath(tempFolder, LudFileName(current->motors[0].dhMoNa, byte9, byte10));
  return ReplaceFileAtomically(path, PrintXml(doc)) ? S_OK : E_FAIL;
}

}  // namespace roviro
