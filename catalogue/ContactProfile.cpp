#include "catalogue/ContactProfile.h"

#include <tinyxml2.h>

#include "catalogue/Archive.h"
#include "catalogue/XmlSupport.h"
#include "pages/TextHelpers.h"
#include "platform/Folders.h"
#include "platform/Paths.h"

namespace roviro {

namespace {

constexpr const char* kRootName = "Kontakt";

// Fills the record from the document; false at the first defect.
bool TakeValues(const tinyxml2::XMLDocument& doc, ContactRecord* record) {
  if (!HasProgramDeclaration(doc)) return false;
  const tinyxml2::XMLElement* root = doc.FirstChildElement(kRootName);
  if (root == nullptr) return false;
  for (const ContactField& field : kContactFields) {
    std::string value;
    if (!FirstChildText(root->FirstChildElement(field.element), &value)) continue;
    if (value.empty()) return false;
    record->*field.member = value;
  }
  // A company name of fewer than three real characters identifies nobody.
  const std::string& company = record->company;
  return company.empty() || RemoveBlanks(company).size() >= 3;
}

}  // namespace

std::string ContactProfilePath(const std::string& sharedDataFolder) {
  return NormalisePath(sharedDataFolder + kCompanyFolder + kContactProfileName);
}

HResult ReadContactProfile(const std::string& sharedDataFolder, ContactRecord* record) {
  if (record == nullptr) return E_FAIL;
  record->Clear();
  // Without a shared folder the path would point into the working folder.
  if (sharedDataFolder.empty()) return E_FAIL;
  std::string text;
  if (!ReadWholeFile(ContactProfilePath(sharedDataFolder), &text)) return E_FAIL;
  tinyxml2::XMLDocument doc;
  if (!ParseXml(doc, text) || !TakeValues(doc, record)) {
    record->Clear();
    return E_FAIL;
  }
  return S_OK;
}

HResult WriteContactProfile(const std::string& sharedDataFolder, const ContactRecord& record) {
  if (sharedDataFolder.empty()) return E_FAIL;
  if (!CreateFolderTree(NormalisePath(sharedDataFolder + kCompanyFolder))) return E_FAIL;

  tinyxml2::XMLDocument doc;
  AddProgramDeclaration(doc);
  tinyxml2::XMLElement* root = doc.NewElement(kRootName);
  doc.InsertEndChild(root);
  for (const ContactField& field : kContactFields) {
    const std::string& value = record.*field.member;
    if (!value.empty()) AddTextElement(root, field.element, value);
  }
  return ReplaceFileAtomically(ContactProfilePath(sharedDataFolder), PrintXml(doc)) ? S_OK : E_FAIL;
}

}  // namespace roviro
