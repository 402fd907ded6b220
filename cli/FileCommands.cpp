#include "cli/FileCommands.h"

#include <tinyxml2.h>

#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "catalogue/Archive.h"
#include "catalogue/ContactProfile.h"
#include "catalogue/ParameterImage.h"
#include "catalogue/XmlSupport.h"
#include "pages/ScreenDescription.h"
#include "pages/TextHelpers.h"
#include "platform/Paths.h"
#include "records/Backups.h"
#include "records/ParameterFile.h"
#include "records/ProgramSettings.h"
#include "records/ServiceHistory.h"
#include "rules/MotorList.h"

namespace roviro::cli {

namespace {

// The texts of a parameter file's document besides the seven blocks.
struct FileTexts {
  std::vector<std::pair<std::string, std::string>> contact;  // element, text
  std::string moName, name, firma, kommentar, datum, boxVersion, boxSerial, programVersion, guid;
};

struct InspectedFile {
  ParameterImage image;
  FileTexts texts;
  int catalogueIndex = -1;  // the catalogue the file's GUID names, -1 = none
};

std::string ChildText(const tinyxml2::XMLElement* parent, const char* name) {
  std::string text;
  if (parent != nullptr) FirstChildText(parent->FirstChildElement(name), &text);
  return text;
}

// Reads the file as the load-data screen does, but without needing a matching catalogue:
// a file whose GUID names no loaded catalogue is still shown.
int Inspect(const std::string& path, const CatalogueList& catalogues, InspectedFile* out) {
  std::string resolved;
  std::string title;
  if (const int rc = CheckParameterFile(path, &resolved, &title); rc != kExitOk) return rc;
  std::string xml;
  if (ReadArchiveEntry(resolved, ParameterDocumentEntry(resolved, title), &xml) != 1) {
    PrintPathError(resolved, "cannot be read");
    return kExitFile;
  }
  StderrMessageSink sink;
  int selection = -1;
  auto result = ReadParameterDocument(xml, out->image, catalogues, &selection, &sink);
  if (result.status == ParameterFileStatus::kNoSelection) {
    const CatalogueList none;
    selection = 0;
    result = ReadParameterDocument(xml, out->image, none, &selection, &sink);
    selection = -1;
  }
  if (!result.Ok()) {
    PrintPathError(resolved, result.status == ParameterFileStatus::kUnparsable
                                 ? "the document is not well-formed XML"
                                 : "the document lacks a required element or holds an empty one");
    return kExitFile;
  }
  out->catalogueIndex = selection;

  tinyxml2::XMLDocument doc;
  ParseXml(doc, xml);
  const tinyxml2::XMLElement* root = doc.FirstChildElement("Inhalt");
  if (const auto* contact = root->FirstChildElement("Kontakt")) {
    for (const auto& field : kContactFields) {
      const std::string value = ChildText(contact, field.element);
      if (!value.empty()) out->texts.contact.emplace_back(field.element, value);
    }
  }
  FileTexts& t = out->texts;
  t.moName = out->image.m_moName;
  t.name = out->image.m_name;
  t.firma = out->image.m_firma;
  t.kommentar = out->image.m_kommentar;
  t.datum = ChildText(root, "Datum");
  t.boxVersion = ChildText(root, "Version_VQ-ZodavaRoze");
  t.boxSerial = ChildText(root, "Seriennummer_VQ-ZodavaRoze");
  t.programVersion = ChildText(root, "Version_PC-Software");
  t.guid = ChildText(root, "GUID");
  return kExitOk;
}

CatalogueList LoadCataloguesQuietly(const GlobalOptions& options) {
  const Folders folders = MakeFolders(options);
  NullMessageSink quiet;
  CatalogueLoadContext context{folders.Program(), folders.Temp(), &quiet};
  CatalogueList list;
  LoadCatalogues(context, list);
  return list;
}

std::string Hex(std::uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

std::string LineName(const BlockInfo& b) { return "Zeile_" + std::to_string(b.line); }

std::string StampText(const ParameterImage& image) {
  const auto b39 = image.Block(0x39);
  const auto stamp = DecodeUploadStamp(std::span<const std::uint8_t, 3>(b39.subspan(11, 3)));
  if (!stamp) return {};
  // The stamp keeps the year modulo 128; read it within 1920..2047.
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d h", 1920 + stamp->yearMod128, stamp->month,
                stamp->day, stamp->hour);
  return text;
}

std::string FirmwareText(const ParameterImage& image) {
  std::string text = MotorFirmwareText(image.Block(0x39)[16]);
  if (text.rfind(" - ", 0) == 0) text.erase(0, 3);
  return text;
}

void PrintText(const char* label, const std::string& value) {
  std::cout << label << Latin1ToUtf8(value) << '\n';
}

}  // namespace

int CheckParameterFile(const std::string& path, std::string* resolved, std::string* title) {
  if (!ResolveParameterFilePath(path, resolved, title)) {
    PrintPathError(path, "not a parameter file name (*.kxmc)");
    return kExitFile;
  }
  *resolved = NormalisePath(*resolved);
  std::string problem = InputFileProblem(*resolved);
  if (problem.empty()) {
    problem = ArchiveEntryProblem(*resolved, ParameterDocumentEntry(*resolved, *title));
    // The entry is named after the file, so a renamed file loses it.
    if (problem.rfind("holds no entry", 0) == 0) problem += " (renamed after saving?)";
  }
  if (!problem.empty()) {
    PrintPathError(*resolved, problem);
    return kExitFile;
  }
  return kExitOk;
}

int RunShow(const GlobalOptions& options, const std::string& file, bool json) {
  const CatalogueList catalogues = LoadCataloguesQuietly(options);
  InspectedFile f;
  if (const int rc = Inspect(file, catalogues, &f); rc != kExitOk) return rc;
  const ParameterImage& image = f.image;
  // The catalogue motor's name as the load-data screen's list words it.
  ScreenDescription language;
  language.Load(LanguageFolder(MakeFolders(options), options.language), 0, 15);
  const std::string catalogueName =
      f.catalogueIndex >= 0
          ? MotorListLine(catalogues[static_cast<std::size_t>(f.catalogueIndex)].get(), language)
          : std::string();

  if (json) {
    nlohmann::ordered_json doc;
    nlohmann::ordered_json contact = nlohmann::ordered_json::object();
    for (const auto& [element, value] : f.texts.contact) contact[element] = Latin1ToUtf8(value);
    doc["contact"] = contact;
    doc["moName"] = Latin1ToUtf8(f.texts.moName);
    doc["name"] = Latin1ToUtf8(f.texts.name);
    doc["firma"] = Latin1ToUtf8(f.texts.firma);
    doc["kommentar"] = Latin1ToUtf8(f.texts.kommentar);
    doc["datum"] = Latin1ToUtf8(f.texts.datum);
    doc["boxVersion"] = Latin1ToUtf8(f.texts.boxVersion);
    doc["boxSerial"] = Latin1ToUtf8(f.texts.boxSerial);
    doc["programVersion"] = Latin1ToUtf8(f.texts.programVersion);
    doc["guid"] = Latin1ToUtf8(f.texts.guid);
    doc["catalogue"] = f.catalogueIndex >= 0 ? nlohmann::ordered_json(Latin1ToUtf8(catalogueName))
                                             : nlohmann::ordered_json(nullptr);
    nlohmann::ordered_json blocks = nlohmann::ordered_json::object();
    for (const auto& b : kBlocks) {
      const auto bytes = image.Block(b.command);
      blocks[Hex(b.command, 2)] = BytesToHex(bytes.data(), static_cast<int>(bytes.size()));
    }
    doc["blocks"] = blocks;
    nlohmann::ordered_json decoded;
    decoded["motorIdentity"] = Hex(image.MotorIdentity(), 6);
    decoded["variant"] = image.Variant();
    decoded["firmware"] = FirmwareText(image);
    const std::string stamp = StampText(image);
    decoded["uploadStamp"] =
        stamp.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(stamp);
    doc["decoded"] = decoded;
    std::cout << doc.dump(2) << '\n';
    return kExitOk;
  }

  std::cout << "Contact:\n";
  for (const auto& [element, value] : f.texts.contact) {
    std::cout << "  " << element << ": " << Latin1ToUtf8(value) << '\n';
  }
  PrintText("Motor name:      ", f.texts.moName);
  PrintText("Set name:        ", f.texts.name);
  PrintText("Company:         ", f.texts.firma);
  std::string comment = f.texts.kommentar;
  for (std::size_t pos = 0; (pos = comment.find('\n', pos)) != std::string::npos; pos += 18) {
    comment.replace(pos, 1, "\n                 ");
  }
  PrintText("Comment:         ", comment);
  PrintText("Saved:           ", f.texts.datum);
  PrintText("Box version:     ", f.texts.boxVersion);
  PrintText("Box serial:      ", f.texts.boxSerial);
  PrintText("Program version: ", f.texts.programVersion);
  PrintText("GUID:            ", f.texts.guid);
  PrintText("Catalogue motor: ", f.catalogueIndex >= 0 ? catalogueName : "(none loaded matches)");
  std::cout << "Motor identity:  " << Hex(image.MotorIdentity(), 6) << ", variant "
            << image.Variant() << '\n';
  const std::string firmware = FirmwareText(image);
  std::cout << "Firmware:        " << (firmware.empty() ? "(none)" : firmware) << '\n';
  const std::string stamp = StampText(image);
  std::cout << "Upload stamp:    " << (stamp.empty() ? "(none)" : stamp) << '\n';
  std::cout << "Blocks:\n";
  for (const auto& b : kBlocks) {
    const auto bytes = image.Block(b.command);
    std::cout << "  " << Hex(b.command, 2) << " " << LineName(b) << ": "
              << BytesToHex(bytes.data(), static_cast<int>(bytes.size())) << '\n';
  }
  return kExitOk;
}

int RunDiff(const GlobalOptions& options, const std::string& fileA, const std::string& fileB) {
  const CatalogueList catalogues = LoadCataloguesQuietly(options);
  InspectedFile a;
  InspectedFile b;
  if (const int rc = Inspect(fileA, catalogues, &a); rc != kExitOk) return rc;
  if (const int rc = Inspect(fileB, catalogues, &b); rc != kExitOk) return rc;
  int differences = 0;
  for (const auto& info : kBlocks) {
    const auto x = a.image.Block(info.command);
    const auto y = b.image.Block(info.command);
    for (std::size_t i = 0; i < x.size(); ++i) {
      if (x[i] == y[i]) continue;
      char line[96];
      std::snprintf(line, sizeof line, "block 0x%02X (%s) byte %2zu: %02X %02X", info.command,
                    LineName(info).c_str(), i, x[i], y[i]);
      std::cout << line << '\n';
      ++differences;
    }
  }
  return differences > 0 ? kExitDifferences : kExitOk;
}

int RunWhere(const GlobalOptions& options) {
  const Folders folders = MakeFolders(options);
  const std::string& shared = folders.SharedData();
  auto line = [](const char* what, const std::string& path) {
    std::cout << what
              << (path.empty() ? std::string("(unknown: set HOME or XDG_DATA_HOME)")
                               : DisplayPath(path))
              << '\n';
  };
  line("program data (read-only): ", JoinPath(folders.Program(), "LoaderDaten"));
  line("contact data:             ", shared.empty() ? shared : ContactProfilePath(shared));
  line("program settings:         ", ProgramSettingsPath(shared));
  line("screen settings:          ", folders.ScreenSettings());
  line("backups:                  ", BackupRootFolder(shared));
  line("service history:          ", HistoryFolder(shared));
  line("motor data, scratch files: ", folders.Temp());
  std::cout << "logs:                      none are kept; --trace FILE writes a telegram "
               "trace where asked\n";
  return kExitOk;
}

}  // namespace roviro::cli
