#include "cli/CatalogueCommands.h"

#include <tinyxml2.h>

#include <array>
#include <cstdio>
#include <iostream>

#include "catalogue/Archive.h"
#include "catalogue/Catalogue.h"
#include "catalogue/XmlSupport.h"
#include "platform/Paths.h"
#include "ui/TextHelpers.h"

namespace roviro::cli {

namespace {

void PrintCatalogue(std::size_t index, const Catalogue& c) {
  std::cout << "catalogue " << index + 1 << ": " << Latin1ToUtf8(c.strFrm) << " (version "
            << c.dVerMain << '.' << c.dVerRel << '.' << c.dVerBld << ")\n";
  for (int k = 0; k < kMotorCount; ++k) {
    const MotorRecord& m = c.motors[static_cast<std::size_t>(k)];
    if (m.strGuidNQB.empty() && m.strGuidUMode.empty() && m.strMoNa.empty()) continue;
    std::cout << "  variant " << k << ": " << ValueToHex(m.dhMoNa) << "  "
              << Latin1ToUtf8(m.strMoNa) << "  NQB " << m.strGuidNQB << "  uMode " << m.strGuidUMode
              << '\n';
  }
}

}  // namespace

int RunCatalogueCheck(const GlobalOptions& options, const std::vector<std::string>& paths) {
  const Folders folders = MakeFolders(options);
  StderrMessageSink sink;
  int notes = 0;
  CatalogueLoadContext context{folders.Program(), folders.Temp(), &sink,
                               [&notes](const std::string& text) {
                                 ++notes;
                                 std::cerr << "note: " << Latin1ToUtf8(text) << '\n';
                               }};
  if (context.tempFolder.empty() || !FolderExists(context.tempFolder)) {
    std::cerr << "roviro-cli: no temporary folder below the data folder; use --data-dir\n";
    return kExitFile;
  }
  for (const std::string& path : paths) {
    if (!FolderExists(path) && !FileExists(path)) {
      std::cerr << "roviro-cli: " << path << ": no such file or folder\n";
      return kExitFile;
    }
  }
  CatalogueList list;
  for (const std::string& path : paths) {
    const int goOn = FolderExists(path) ? LoadCatalogueFolder(context, path, list)
                                        : LoadCatalogueArchive(context, NormalisePath(path), list);
    if (goOn == 0) {
      std::cerr << "note: loading stopped here, as the program stops at start-up\n";
      ++notes;
      break;
    }
  }
  for (std::size_t i = 0; i < list.size(); ++i) PrintCatalogue(i, *list[i]);
  if (list.empty()) std::cout << "no catalogue accepted\n";
  return sink.Count() > 0 || notes > 0 ? kExitDifferences : kExitOk;
}

bool FixCatalogueChecksums(const std::string& documentText, std::string* fixed, int* changed) {
  tinyxml2::XMLDocument doc;
  if (!ParseXml(doc, documentText)) return false;
  *changed = 0;
  tinyxml2::XMLElement* root = doc.RootElement();
  for (auto* kxbm = root ? root->FirstChildElement("KXBM") : nullptr; kxbm != nullptr;
       kxbm = kxbm->NextSiblingElement("KXBM")) {
    for (auto* rumpf = kxbm->FirstChildElement("Rumpf"); rumpf != nullptr;
         rumpf = rumpf->NextSiblingElement("Rumpf")) {
      for (auto* para = rumpf->FirstChildElement("ParaDa"); para != nullptr;
           para = para->NextSiblingElement("ParaDa")) {
        for (auto* line = para->FirstChildElement(); line != nullptr;
             line = line->NextSiblingElement()) {
          const char* text = line->GetText();
          if (text == nullptr) continue;
          const std::string digits = RemoveBlanks(text);
          const int count = static_cast<int>((digits.size() + 1) / 2);
          std::array<std::uint8_t, 100> bytes{};
          if (count < 2 || HexToBytes(bytes.data(), digits, 100) == nullptr) continue;
          const int n = bytes[1];
          // The two check bytes must lie inside what the line holds.
          if (n == 0 || n + 2 >= count || n + 2 >= 100) continue;
          unsigned chSee = 0;
          for (int i = 3; i <= n; ++i) chSee += bytes[static_cast<std::size_t>(i)];
          const unsigned chSmsg = bytes[2] + chSee + bytes[static_cast<std::size_t>(n + 1)];
          const auto see = static_cast<std::uint8_t>(chSee & 0xFF);
          const auto smsg = static_cast<std::uint8_t>(chSmsg & 0xFF);
          if (bytes[static_cast<std::size_t>(n + 1)] == see &&
              bytes[static_cast<std::size_t>(n + 2)] == smsg) {
            continue;
          }
          bytes[static_cast<std::size_t>(n + 1)] = see;
          // ChSmsg includes the byte just written.
          const unsigned smsgFixed = bytes[2] + chSee + see;
          bytes[static_cast<std::size_t>(n + 2)] = static_cast<std::uint8_t>(smsgFixed & 0xFF);
          line->SetText(BytesToHex(bytes.data(), count).c_str());
          ++*changed;
        }
      }
    }
  }
  *fixed = PrintXml(doc);
  return true;
}

int RunCataloguePack(const std::vector<std::string>& sources, const std::string& output,
                     bool fixChecksums) {
  std::string resolved = NormalisePath(output);
  const std::string name = FileNameOf(resolved);
  const auto dot = name.rfind('.');
  if (name.empty() || dot == 0 ||
      !EqualsNoCase(name.substr(dot == std::string::npos ? name.size() : dot), ".kxbmc")) {
    std::cerr << "roviro-cli: " << output << ": the catalogue archive must be named *.kxbmc\n";
    return kExitUsage;
  }
  std::vector<ArchiveEntryText> documents;
  for (const std::string& source : sources) {
    ArchiveEntryText entry;
    entry.name = FileNameOf(source);
    if (!ReadWholeFile(NormalisePath(source), &entry.text)) {
      std::cerr << "roviro-cli: " << source << ": cannot be read\n";
      return kExitFile;
    }
    tinyxml2::XMLDocument doc;
    if (!ParseXml(doc, entry.text)) {
      std::cerr << "roviro-cli: " << source << ": not well-formed XML (line " << doc.ErrorLineNum()
                << ")\n";
      return kExitFile;
    }
    if (!HasProgramDeclaration(doc)) {
      std::cerr << "roviro-cli: " << source
                << ": needs the declaration <?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\n";
      return kExitFile;
    }
    if (fixChecksums) {
      std::string fixed;
      int changed = 0;
      FixCatalogueChecksums(entry.text, &fixed, &changed);
      if (changed > 0) {
        std::cerr << source << ": " << changed << " parameter line(s) given new check bytes\n";
        entry.text = fixed;
      }
    }
    for (const auto& other : documents) {
      if (EqualsNoCase(other.name, entry.name)) {
        std::cerr << "roviro-cli: two sources named " << entry.name << "\n";
        return kExitUsage;
      }
    }
    documents.push_back(std::move(entry));
  }
  if (!WriteCatalogueArchive(resolved, documents)) {
    std::cerr << "roviro-cli: " << resolved << ": cannot be written\n";
    return kExitFile;
  }
  return kExitOk;
}

}  // namespace roviro::cli
