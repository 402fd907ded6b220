// Reading the catalogue archives: the manifest and its digests, the documents, the screen
// records and the motor-type records with their parameter lines.

#include <tinyxml2.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <system_error>

#include "catalogue/Archive.h"
#include "catalogue/Catalogue.h"
#include "catalogue/XmlSupport.h"
#include "pages/TextHelpers.h"
#include "platform/Folders.h"
#include "platform/Paths.h"
#include "platform/TextEncoding.h"
#include "platform/Translation.h"

namespace roviro {

namespace {

using tinyxml2::XMLElement;

constexpr const char* kErrorCaption = TX_NOOP("Fehler...");
constexpr const char* kArchiveExtension = ".kxbmc";

// A parameter line holds at most this many bytes.
constexpr int kMaxLineBytes = 100;
// Room for the checksum bytes of the longest line a length byte can announce (L[n+2] with
// n = 255); bytes beyond the text read as 0.
constexpr std::size_t kLineBufferSize = 255 + 3 + 1;

struct DocumentReader {
  const CatalogueLoadContext& context;
  const std::string& archivePath;
  const std::string& entryName;

  void Error(const std::string& text) const {
    if (context.sink != nullptr) {
      context.sink->MessageBox(text, Tx(kErrorCaption), kMbIconError | kMbTopmost);
    }
  }

  void Note(const std::string& text) const {
    if (context.note) context.note(PathAsText(archivePath) + " - " + entryName + ": " + text);
  }

  void ValidateGuid(const std::string& value, const char* which) const;
  void ReadScreens(const XMLElement& scr, Catalogue& catalogue) const;
  void ReadBranches(const XMLElement& brch, ScreenRecord& record) const;
  void ReadHeader(const XMLElement& kxbm, Catalogue& catalogue) const;
  void ReadMotor(const XMLElement& rumpf, Catalogue& catalogue) const;
  void ReadLine(const XMLElement& line, MotorRecord& motor) const;
};

// Reads a decimal number as the catalogue files have always been read: leading blanks, an
// optional sign, digits up to the first other character; no digits read as 0. Values beyond
// the 32-bit range are clamped.
int ReadDecimal(const char* text) {
  if (text == nullptr) return 0;
  const long long v = std::strtoll(text, nullptr, 10);
  return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

// Sets `target` from a decimal attribute when it is present.
void ReadOptional(const XMLElement& element, const char* name, int& target) {
  if (const char* v = element.Attribute(name)) target = ReadDecimal(v);
}

// The number in an element name such as "Scr12": every occurrence of `prefix` removed, the
// rest read as a decimal number.
int NumberInName(const char* name, std::string_view prefix) {
  std::string rest = name != nullptr ? name : "";
  for (auto pos = rest.find(prefix); pos != std::string::npos; pos = rest.find(prefix, pos)) {
    rest.erase(pos, prefix.size());
  }
  return ReadDecimal(rest.c_str());
}

bool NameIs(const XMLElement& element, const char* name) {
  return element.Name() != nullptr && std::string_view(element.Name()) == name;
}

std::string Format(const char* format, auto... args) {
  const int size = std::snprintf(nullptr, 0, format, args...);
  if (size <= 0) return {};
  std::string out(static_cast<std::size_t>(size) + 1, '\0');
  std::snprintf(out.data(), out.size(), format, args...);
  out.resize(static_cast<std::size_t>(size));
  return out;
}

void DocumentReader::ValidateGuid(const std::string& value, const char* which) const {
  const std::string head = entryName + " - " + value;
  if (value.empty()) {
    Error(head + " - " + Tx("GUID %1 falsch identifiziert!", {which}));
    return;
  }
  if (value.size() != 38) {
    Error(head + " - " + Tx("GUID %1 falsch L\xE4nge!", {which}));
    return;
  }
  if (value.find('{') != 0) Error(head + " - " + Tx("Format GUID %1 \"{\" falsch!", {which}));
  if (value.find('}') != 37) Error(head + " - " + Tx("Format GUID %1 \"}\" falsch!", {which}));
}

void DocumentReader::ReadScreens(const XMLElement& scr, Catalogue& catalogue) const {
  for (const XMLElement* s = scr.FirstChildElement(); s != nullptr; s = s->NextSiblingElement()) {
    const int number = NumberInName(s->Name(), "Scr");
    // The dialog knows screens 0..29 only; other numbers have no place to go.
    if (number < 0 || number >= kCatalogueScreenCount) continue;
    auto record = std::make_unique<ScreenRecord>();
    for (const XMLElement* c = s->FirstChildElement(); c != nullptr; c = c->NextSiblingElement()) {
      if (NameIs(*c, "Next")) {
        ReadOptional(*c, "stNext", record->Next);
      } else if (NameIs(*c, "Prev")) {
        ReadOptional(*c, "stPrev", record->Prev);
      } else if (NameIs(*c, "Brch")) {
        ReadBranches(*c, *record);
      }
    }
    catalogue.screens[static_cast<std::size_t>(number)] = std::move(record);
  }
}

void DocumentReader::ReadBranches(const XMLElement& brch, ScreenRecord& record) const {
  for (const XMLElement* b = brch.FirstChildElement(); b != nullptr; b = b->NextSiblingElement()) {
    const int index = NumberInName(b->Name(), "Brch");
    if (index < 0 || index >= kBranchCount) continue;
    CatalogueBranch& branch = record.branches[static_cast<std::size_t>(index)];
    branch.bUse = ReadDecimal(b->Attribute("bUse"));  // 0 when the attribute is missing
    ReadOptional(*b, "bHide", branch.bHide);
    for (const XMLElement* o = b->FirstChildElement(); o != nullptr; o = o->NextSiblingElement()) {
      const int obj = NumberInName(o->Name(), "Obj");
      if (obj < 0 || obj >= kObjectCount) continue;
      CatalogueObject& object = branch.objects[static_cast<std::size_t>(obj)];
      object.present = true;
      ReadOptional(*o, "iMin", object.iMin);
      ReadOptional(*o, "iMax", object.iMax);
      ReadOptional(*o, "bEnable", object.bEnable);
      ReadOptional(*o, "bShow", object.bShow);
    }
  }
}

void DocumentReader::ReadHeader(const XMLElement& kxbm, Catalogue& catalogue) const {
  ReadOptional(kxbm, "dVerMain", catalogue.dVerMain);
  ReadOptional(kxbm, "dVerRel", catalogue.dVerRel);
  ReadOptional(kxbm, "dVerBld", catalogue.dVerBld);
  for (const XMLElement* c = kxbm.FirstChildElement(); c != nullptr; c = c->NextSiblingElement()) {
    if (NameIs(*c, "Dtm")) {
      FirstChildText(c, &catalogue.date);
    } else if (NameIs(*c, "Frm")) {
      if (const char* v = c->Attribute("strFrm")) catalogue.strFrm = v;
    } else if (NameIs(*c, "Kmmntr")) {
      std::string text;
      if (FirstChildText(c, &text)) catalogue.comment = ExpandLineBreaks(text);
      ReadOptional(*c, "dUseKom", catalogue.dUseKom);
    } else if (NameIs(*c, "Rumpf")) {
      ReadMotor(*c, catalogue);
    }
  }
}

void DocumentReader::ReadMotor(const XMLElement& rumpf, Catalogue& catalogue) const {
  const XMLElement* mona = rumpf.FirstChildElement("MoNa");
  const char* code = mona != nullptr ? mona->Attribute("dhMoNa") : nullptr;
  if (code == nullptr) {
    Note("Rumpf without MoNa/dhMoNa, skipped");
    return;
  }
  const std::uint32_t index = HexToValue(code) & 7u;
  if (index >= static_cast<std::uint32_t>(kMotorCount)) {
    Note(std::string("Rumpf with dhMoNa ") + code + " names variant " + std::to_string(index) +
         " (only 0 to 2 exist), skipped");
    return;
  }
  MotorRecord& motor = catalogue.motors[index];

  for (const XMLElement* c = rumpf.FirstChildElement(); c != nullptr; c = c->NextSiblingElement()) {
    if (NameIs(*c, "MoNa")) {
      if (const char* v = c->Attribute("dhMoNa")) motor.dhMoNa = HexToValue(v);
      if (const char* v = c->Attribute("strMoNa")) motor.strMoNa = v;
    } else if (NameIs(*c, "Guid")) {
      // A value that fails the check is kept all the same; the fitter has been told.
      const char* nqb = c->Attribute("strGuidNQB");
      motor.strGuidNQB = nqb != nullptr ? nqb : "";
      ValidateGuid(motor.strGuidNQB, "NQB");
      const char* umode = c->Attribute("strGuidUMode");
      motor.strGuidUMode = umode != nullptr ? umode : "";
      ValidateGuid(motor.strGuidUMode, "uMode");
    } else if (NameIs(*c, "DivTab")) {
      for (const XMLElement* t = c->FirstChildElement(); t != nullptr;
           t = t->NextSiblingElement()) {
        std::array<std::uint8_t, kDivisionTableSize>* table = NameIs(*t, "ucHB")   ? &motor.ucHB
                                                              : NameIs(*t, "ucLB") ? &motor.ucLB
                                                                                   : nullptr;
        if (table == nullptr) continue;
        table->fill(0);
        std::string text;
        if (FirstChildText(t, &text)) HexToBytes(table->data(), text, kDivisionTableSize);
      }
    } else if (NameIs(*c, "ParaDa")) {
      for (const XMLElement* line = c->FirstChildElement(); line != nullptr;
           line = line->NextSiblingElement()) {
        ReadLine(*line, motor);
      }
    }
  }
}

void DocumentReader::ReadLine(const XMLElement& element, MotorRecord& motor) const {
  // Zero-filled and long enough for every index a length byte can produce, so a short line
  // reads its missing checksum bytes as 0 instead of reading past its end.
  std::array<std::uint8_t, kLineBufferSize> L{};
  std::string text;
  if (FirstChildText(&element, &text)) HexToBytes(L.data(), text, kMaxLineBytes);

  const std::string name = element.Name() != nullptr ? element.Name() : "";
  int lineNumber = 0;
  if (name.size() == 3) {
    const char digit[2] = {name[2], '\0'};
    lineNumber = ReadDecimal(digit);
  } else {
    Error(entryName + " - " + name + " - " + Tx("Para falsch identifiziert!"));
  }

  const int n = L[1];
  if (n == 0) return;  // nothing to check and nothing to copy

  unsigned see = 0;
  for (int i = 3; i <= n; ++i) see += L[static_cast<std::size_t>(i)];
  see &= 0xFFu;
  const unsigned expectedSee = L[static_cast<std::size_t>(n) + 1];
  const unsigned smsg = (L[2] + see + expectedSee) & 0xFFu;
  const unsigned expectedSmsg = L[static_cast<std::size_t>(n) + 2];
  if (see != expectedSee || smsg != expectedSmsg) {
    // The translated format keeps the placeholders in their order (scripts/translations).
    Error(Format(Tx("%s\n%s\nZeile: %1.1d\nChSee : %2.2X - erwartet: %2.2X\nChSmsg: %2.2X - "
                    "erwartet: %2.2X")
                     .c_str(),
                 PathAsText(archivePath).c_str(), entryName.c_str(), lineNumber, see, expectedSee,
                 smsg, expectedSmsg) +
          " - CHSee");
  }

  // "Zl1" to "Zl7" carry the factory lines; the line is used even with a bad checksum.
  if (name.size() != 3 || name[0] != 'Z' || name[1] != 'l' || name[2] < '1' || name[2] > '7') {
    return;
  }
  const BlockInfo* slot = FindBlockByLine(name[2] - '0');
  if (slot == nullptr) return;
  // A line longer than its slot is cut to the slot.
  const int count = std::min(n - 1, slot->size);
  std::copy_n(L.begin() + 3, count, motor.block.begin() + slot->offset);
}

}  // namespace

std::vector<ManifestLine> ParseCatalogueManifest(std::string_view manifest) {
  std::vector<ManifestLine> lines;
  std::string_view rest = manifest;
  while (rest.size() > 30) {
    const auto digestEnd = rest.find(';');
    if (digestEnd == std::string_view::npos) break;
    ManifestLine line;
    for (char c : rest.substr(0, digestEnd)) {
      if (c != '\n' && c != '\r' && c != ';') line.digest.push_back(c);
    }
    rest.remove_prefix(digestEnd + 1);
    const auto nameEnd = rest.find(';');
    if (nameEnd == std::string_view::npos) break;
    line.name = std::string(rest.substr(0, nameEnd));
    rest.remove_prefix(nameEnd + 1);
    while (!rest.empty() && rest.front() == '\n') rest.remove_prefix(1);
    lines.push_back(std::move(line));
  }
  return lines;
}

int ReadCatalogueDocument(const CatalogueLoadContext& context, const std::string& archivePath,
                          const std::string& entryName, std::string_view text,
                          CatalogueList& list) {
  const auto note = [&](const std::string& what) {
    if (context.note) context.note(PathAsText(archivePath) + " - " + entryName + ": " + what);
  };
  tinyxml2::XMLDocument doc;
  if (!ParseXml(doc, text)) {
    note("not well-formed XML, skipped");
    return 1;
  }
  const XMLElement* root = doc.RootElement();
  if (root == nullptr) {
    note("no element, skipped");
    return 1;
  }
  if (!HasProgramDeclaration(doc) || root->FirstChild() == nullptr) {
    note(HasProgramDeclaration(doc)
             ? "root element without content, loading stops"
             : "declaration is not version \"1.0\" with encoding \"iso-8859-1\", loading stops");
    return 0;
  }

  std::unique_ptr<Catalogue> catalogue(new (std::nothrow) Catalogue());
  if (!catalogue) return 0;

  const DocumentReader reader{context, archivePath, entryName};
  for (const XMLElement* e = root->FirstChildElement(); e != nullptr; e = e->NextSiblingElement()) {
    if (NameIs(*e, "Scr")) {
      reader.ReadScreens(*e, *catalogue);
    } else if (NameIs(*e, "KXBM")) {
      reader.ReadHeader(*e, *catalogue);
      // The catalogue is complete with its header: it is handed over now, and whatever
      // follows in the document has nothing left to fill.
      if (!AddCatalogue(list, catalogue)) {
        note(
            "catalogue refused: a GUID kind is empty for every motor, or a GUID repeats one "
            "of an earlier catalogue at the same motor index");
      }
      return 1;
    }
  }
  note("no KXBM element, skipped");
  return 1;  // never reached a header: nothing to offer, the catalogue is dropped
}

int LoadCatalogueArchive(const CatalogueLoadContext& context, const std::string& archivePath,
                         CatalogueList& list) {
  return LoadCatalogueArchive(context, archivePath, list, nullptr);
}

int LoadCatalogueArchive(const CatalogueLoadContext& context, const std::string& archivePath,
                         CatalogueList& list, CatalogueArchiveSummary* summary) {
  CatalogueArchiveSummary counts;
  const auto finish = [&](int result) {
    counts.stopped = result == 0;
    if (summary != nullptr) *summary = counts;
    return result;
  };
  const auto note = [&](const std::string& text) {
    if (context.note) context.note(text);
  };

  std::string title = FileNameOf(archivePath);
  if (const auto dot = title.rfind('.'); dot != std::string::npos) title.erase(dot);

  std::string manifest;
  if (ReadArchiveEntry(archivePath, title + ".md6", &manifest) != 1) {
    note(PathAsText(archivePath) + ": no readable manifest " + title + ".md6, skipped");
    return finish(1);
  }
  counts.manifestRead = true;

  for (const ManifestLine& line : ParseCatalogueManifest(manifest)) {
    ++counts.manifestLines;
    // The digest is taken over the entry's bytes in memory, the very bytes that are parsed
    // below: no scratch file, so neither a missing nor a read-only data folder can fail it.
    std::string text;
    if (ReadArchiveEntry(archivePath, line.name, &text) != 1) {
      ++counts.unreadableEntries;
      note(PathAsText(archivePath) + " - " + line.name + ": entry missing or unreadable, skipped");
      continue;
    }
    const std::string digest = Md5OfBytes(text);
    if (digest.empty()) {
      ++counts.digestsUnavailable;
      note(PathAsText(archivePath) + " - " + line.name +
           ": no MD5 digest can be computed, skipped");
      continue;
    }
    if (digest != line.digest) {
      ++counts.digestMismatches;
      note(PathAsText(archivePath) + " - " + line.name + ": digest " + line.digest +
           " does not match " + digest + ", skipped");
      continue;
    }
    ++counts.documentsRead;
    const std::size_t before = list.size();
    const int goOn = ReadCatalogueDocument(context, archivePath, line.name, text, list);
    counts.accepted += static_cast<int>(list.size() - before);
    if (goOn == 0) return finish(0);
  }
  return finish(1);
}

bool IsCatalogueArchiveName(std::string_view name) {
  // The catalogues come from systems whose file names ignore case: "X.KXBMC" is one too.
  const std::string_view extension = kArchiveExtension;
  return name.size() >= extension.size() &&
         EqualsNoCase(name.substr(name.size() - extension.size()), extension);
}

std::vector<std::string> CatalogueArchivesIn(const std::string& folderPath) {
  std::vector<std::string> paths;
  std::error_code ec;
  std::filesystem::directory_iterator it(FsPath(NormalisePath(folderPath)), ec);
  for (const std::filesystem::directory_iterator end; !ec && it != end; it.increment(ec)) {
    if (!IsCatalogueArchiveName(FsName(it->path().filename()))) continue;
    std::error_code typeEc;
    if (it->is_regular_file(typeEc)) paths.push_back(FsName(it->path()));
  }
  return paths;
}

int LoadCatalogues(const CatalogueLoadContext& context, CatalogueList& list) {
  return LoadCatalogueFolder(context, context.programFolder + kConfigFolder, list);
}

int LoadCatalogueFolder(const CatalogueLoadContext& context, const std::string& folderPath,
                        CatalogueList& list) {
  for (const std::string& path : CatalogueArchivesIn(folderPath)) {
    if (LoadCatalogueArchive(context, path, list) == 0) return 0;
  }
  return 1;
}

}  // namespace roviro
