#include "catalogue/XmlSupport.h"

#include <atomic>
#include <string>

#include "catalogue/Archive.h"
#include "platform/Paths.h"

// Every document the program reads comes from a file a fitter or another program may have
// damaged. The parser must refuse deep nesting itself instead of recursing until the stack
// runs out. The versions the build accepts (9 and later) do so with a fixed limit.
static_assert(TINYXML2_MAJOR_VERSION >= 9, "tinyxml2 9 or later is required (depth limit)");
static_assert(TINYXML2_MAX_ELEMENT_DEPTH <= 1000,
              "the parser's depth limit must stay far below what the stack holds");

namespace roviro {

std::string DeclarationAttribute(std::string_view declaration, std::string_view name) {
  std::size_t pos = 0;
  while ((pos = declaration.find(name, pos)) != std::string_view::npos) {
    // The name must stand on its own: preceded by a blank (or the start), followed by "=".
    const bool startOk = pos == 0 || declaration[pos - 1] == ' ' || declaration[pos - 1] == '\t' ||
                         declaration[pos - 1] == '\n' || declaration[pos - 1] == '\r';
    std::size_t p = pos + name.size();
    while (p < declaration.size() && (declaration[p] == ' ' || declaration[p] == '\t')) ++p;
    if (!startOk || p >= declaration.size() || declaration[p] != '=') {
      pos += name.size();
      continue;
    }
    ++p;
    while (p < declaration.size() && (declaration[p] == ' ' || declaration[p] == '\t')) ++p;
    if (p >= declaration.size()) return {};
    const char quote = declaration[p];
    if (quote != '"' && quote != '\'') return {};
    const std::size_t end = declaration.find(quote, p + 1);
    if (end == std::string_view::npos) return {};
    return std::string(declaration.substr(p + 1, end - p - 1));
  }
  return {};
}

bool HasProgramDeclaration(const tinyxml2::XMLDocument& doc) {
  const tinyxml2::XMLNode* first = doc.FirstChild();
  if (first == nullptr) return false;
  const tinyxml2::XMLDeclaration* decl = first->ToDeclaration();
  if (decl == nullptr || decl->Value() == nullptr) return false;
  const std::string_view text = decl->Value();
  return DeclarationAttribute(text, "version") == "1.0" &&
         DeclarationAttribute(text, "encoding") == "iso-8859-1";
}

void AddProgramDeclaration(tinyxml2::XMLDocument& doc) {
  // Printed as <?xml version="1.0" encoding="iso-8859-1" ?>.
  doc.InsertFirstChild(doc.NewDeclaration("xml version=\"1.0\" encoding=\"iso-8859-1\" "));
}

bool ParseXml(tinyxml2::XMLDocument& doc, std::string_view text) {
  if (text.empty()) return false;
  return doc.Parse(text.data(), text.size()) == tinyxml2::XML_SUCCESS;
}

std::string PrintXml(const tinyxml2::XMLDocument& doc) {
  tinyxml2::XMLPrinter printer;
  doc.Print(&printer);
  // CStrSize counts the terminating zero.
  return std::string(printer.CStr(), static_cast<std::size_t>(printer.CStrSize() - 1));
}

tinyxml2::XMLElement* AddTextElement(tinyxml2::XMLElement* parent, const char* name,
                                     const std::string& text) {
  tinyxml2::XMLElement* element = parent->InsertNewChildElement(name);
  if (!text.empty()) element->SetText(text.c_str());
  return element;
}

bool FirstChildText(const tinyxml2::XMLElement* element, std::string* out) {
  if (element == nullptr) return false;
  const tinyxml2::XMLNode* child = element->FirstChild();
  if (child == nullptr) return false;
  *out = child->Value() != nullptr ? child->Value() : "";
  return true;
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
  const std::string temp = UniqueSiblingPath(path);
  if (!WriteTextFile(bytes, temp)) {
    RemoveFile(temp);
    return false;
  }
  if (!CommitReplacement(temp, path)) {
    RemoveFile(temp);
    return false;
  }
  return true;
}

}  // namespace roviro
