#include "cli/CatalogueCommands.h"

#include <tinyxml2.h>

#include <array>
#include <cstdio>
#include <iostream>

#include "catalogue/Archive.h"
#include "catalogue/Catalogue.h"
#include "catalogue/XmlSupport.h"
#include "pages/ScreenDescription.h"
#include "pages/TextHelpers.h"
#include "platform/Paths.h"
#include "rules/MotorList.h"

namespace roviro::cli {

namespace {

// Each motor's name with its parts filled in from the language description, as the load-data
// screen's list shows it; without a description (null) the name as the catalogue stores it.
void PrintCatalogue(std::size_t index, const Catalogue& c, const ScreenDescription* language) {
  std::cout << "catalogue " << index + 1 << ": " << Latin1ToUtf8(c.strFrm) << " (version "
            << c.dVerMain << '.' << c.dVerRel << '.' << c.dVerBld << ")\n";
  for (int k = 0; k < kMotorCount; ++k) {
    const MotorRecord& m = c.motors[static_cast<std::size_t>(k)];
    if (m.strGuidNQB.empty() && m.strGuidUMode.empty() && m.strMoNa.empty()) continue;
    std::cout << "  variant " << k << ": " << ValueToHex(m.dhMoNa) << "  "
              << Latin1ToUtf8(language != nullptr ? BuildMotorName(m.strMoNa, m.dhMoNa, *language)
                                                  : m.strMoNa)
              << "  NQB " << m.strGuidNQB << "  uMode " << m.strGuidUMode << '\n';
  }
}

// Why an archive gave no catalogue, from what loading it found.
std::string WhyNothingAccepted(const std::string& path, const CatalogueArchiveSummary& found) {
  if (!found.manifestRead) {
    std::vector<std::string> names;
    if (!ListArchiveEntries(path, &names)) return "not an archive (no ZIP directory)";
    std::string title = FileNameOf(path);
    if (const auto dot = title.rfind('.'); dot != std::string::npos) title.erase(dot);
    return "no manifest " + title + ".md6";
  }
  if (found.manifestLines == 0) return "the manifest lists no entry";
  if (found.documentsRead == 0) {
    if (found.digestsUnavailable > 0) return "no MD5 digest can be computed";
    if (found.digestMismatches > 0) return "the digests do not match the manifest";
    return "the entries the manifest lists are missing or damaged";
  }
  if (found.stopped) return "loading stopped at a document with a wrong declaration or empty root";
  return "no valid catalogue document (see the notes above)";
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
  // Every path is checked before anything is loaded.
  std::vector<std::vector<std::string>> archives;
  for (const std::string& given : paths) {
    const std::string path = NormalisePath(given);
    if (FolderExists(path)) {
      archives.push_back(CatalogueArchivesIn(path));
      if (archives.back().empty()) {
        PrintPathError(path, "holds no catalogue archive (*.kxbmc)");
        return kExitFile;
      }
      continue;
    }
    if (!FileExists(path)) {
      PrintPathError(path, "no such file or folder");
      return kExitFile;
    }
    if (const std::string problem = InputFileProblem(path); !problem.empty()) {
      PrintPathError(path, problem);
      return kExitFile;
    }
    archives.push_back({path});
  }

  CatalogueList list;
  bool stopped = false;
  for (const auto& group : archives) {
    for (const std::string& archive : group) {
      CatalogueArchiveSummary found;
      const int goOn = LoadCatalogueArchive(context, archive, list, &found);
      if (found.accepted == 0) {
        std::cerr << "note: " << DisplayPath(archive)
                  << ": no catalogue accepted: " << WhyNothingAccepted(archive, found) << '\n';
        ++notes;
      }
      if (goOn == 0) {
        std::cerr << "note: loading stopped here, as the program stops at start-up\n";
        ++notes;
        stopped = true;
        break;
      }
    }
    if (stopped) break;
  }
  ScreenDescription language;
  const bool named = Succeeded(language.Load(LanguageFolder(folders, options.language), 0, 15));
  for (std::size_t i = 0; i < list.size(); ++i) {
    PrintCatalogue(i, *list[i], named ? &language : nullptr);
  }
  if (list.empty()) std::cout << "no catalogue accepted\n";
  return list.empty() || sink.Count() > 0 || notes > 0 ? kExitDifferences : kExitOk;
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
    PrintPathError(output, "the catalogue archive must be named *.kxbmc");
    return kExitUsage;
  }
  if (const std::string problem = OutputFileProblem(resolved); !problem.empty()) {
    PrintPathError(resolved, problem);
    return kExitFile;
  }
  // Without MD5 every manifest line would be empty and the archive would load nothing.
  if (Md5OfBytes("").empty()) {
    PrintPathError(resolved,
                   "no MD5 digest can be computed (the crypto library refuses MD5); "
                   "nothing written");
    return kExitFile;
  }
  std::vector<ArchiveEntryText> documents;
  for (const std::string& given : sources) {
    const std::string source = NormalisePath(given);
    ArchiveEntryText entry;
    entry.name = FileNameOf(source);
    if (const std::string problem = InputFileProblem(source); !problem.empty()) {
      PrintPathError(source, problem);
      return kExitFile;
    }
    if (!ReadWholeFile(source, &entry.text)) {
      PrintPathError(source, "cannot be read (larger than a catalogue document can be)");
      return kExitFile;
    }
    tinyxml2::XMLDocument doc;
    if (!ParseXml(doc, entry.text)) {
      PrintPathError(source,
                     "not well-formed XML (line " + std::to_string(doc.ErrorLineNum()) + ")");
      return kExitFile;
    }
    if (!HasProgramDeclaration(doc)) {
      PrintPathError(source,
                     "needs the declaration <?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>");
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
    PrintPathError(resolved, "cannot be written");
    return kExitFile;
  }
  return kExitOk;
}

}  // namespace roviro::cli
