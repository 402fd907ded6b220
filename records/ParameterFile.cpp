#include "records/ParameterFile.h"

#include <tinyxml2.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <vector>

#include "catalogue/Archive.h"
#include "catalogue/XmlSupport.h"
#include "pages/TextHelpers.h"
#include "platform/Paths.h"
#include "platform/TextEncoding.h"
#include "platform/Translation.h"

namespace roviro {

namespace {

constexpr const char* kRootName = "Inhalt";
constexpr const char* kContactName = "Kontakt";
constexpr const char* kMoNameName = "MoName";
constexpr const char* kNameName = "Name";
constexpr const char* kFirmaName = "Firma";
constexpr const char* kCommentName = "Kommentar";
constexpr const char* kDateName = "Datum";
constexpr const char* kBoxVersionName = "Version_VQ-ZodavaRoze";
constexpr const char* kBoxSerialName = "Seriennummer_VQ-ZodavaRoze";
constexpr const char* kProgramVersionName = "Version_PC-Software";
constexpr const char* kGuidName = "GUID";
constexpr const char* kLinesName = "Parametrierdaten";

constexpr int kLineCount = 7;
// A line is read as at most this many hex values: start, LEN, header, data, checksum, end.
constexpr int kLineBufferSize = 100;
constexpr int kLineDataOffset = 3;

std::string LineElementName(int line) {
  char name[16];
  std::snprintf(name, sizeof name, "Zeile_%d", line);
  return name;
}

std::string ToLowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 128) c = static_cast<char>(std::tolower(u));
  }
  return out;
}

// Removes a file on every way out of the scope unless released.
class ScratchFile {
 public:
  explicit ScratchFile(std::string path) : m_path(std::move(path)) {}
  ~ScratchFile() {
    if (!m_path.empty()) RemoveFile(m_path);
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  const std::string& Path() const { return m_path; }
  void Release() { m_path.clear(); }

 private:
  std::string m_path;
};

// Splits the GUID text at blanks. One element normally holds one GUID; files that carry the
// joined identity text ("uMode NQB") are read by comparing each part.
std::vector<std::string> GuidTokens(std::string_view text) {
  std::vector<std::string> tokens;
  std::size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    const std::size_t end = std::min(text.find(' ', pos), text.size());
    if (end > pos) tokens.emplace_back(text.substr(pos, end - pos));
    pos = end;
  }
  return tokens;
}

bool CatalogueHoldsGuid(const Catalogue& catalogue, const std::vector<std::string>& tokens) {
  for (const MotorRecord& motor : catalogue.motors) {
    for (const std::string* guid : {&motor.strGuidNQB, &motor.strGuidUMode}) {
      // An empty GUID identifies nothing and must not match an empty file text.
      if (guid->empty()) continue;
      for (const std::string& token : tokens) {
        if (EqualsNoCase(*guid, token)) return true;
      }
    }
  }
  return false;
}

// The element's text as the program's readers take it. Absent element or no child node:
// kAbsent; a first child node with an empty value: kEmpty.
enum class TextState { kAbsent, kEmpty, kText };
TextState ElementText(const tinyxml2::XMLElement* parent, const char* name, std::string* out) {
  if (parent == nullptr) return TextState::kAbsent;
  if (!FirstChildText(parent->FirstChildElement(name), out)) return TextState::kAbsent;
  return out->empty() ? TextState::kEmpty : TextState::kText;
}

}  // namespace

std::string ParameterDocumentEntry(const std::string& archive, const std::string& title) {
  const std::string stored = PathAsText(title) + ".kxm";
  if (stored == title + ".kxm") return stored;
  // A file written by a tool that named the entry with the file name's own bytes.
  std::vector<std::string> names;
  if (!ListArchiveEntries(archive, &names)) return stored;
  const std::string raw = title + ".kxm";
  for (const std::string& name : names) {
    if (EqualsNoCase(name, stored)) return stored;
  }
  for (const std::string& name : names) {
    if (EqualsNoCase(name, raw)) return raw;
  }
  return stored;
}

bool ResolveParameterFilePath(const std::string& chosen, std::string* path, std::string* title) {
  const std::string name = FileNameOf(chosen);
  if (name.empty()) return false;
  const std::size_t dot = name.find_last_of('.');
  const std::string_view extension =
      dot == std::string::npos ? std::string_view{} : std::string_view(name).substr(dot + 1);
  std::string resolved;
  if (EqualsNoCase(extension, kParameterFileExtension)) {
    resolved = chosen;
  } else if (ToLowerAscii(name).find(".kxmc") != std::string::npos) {
    return false;
  } else {
    resolved = chosen + "." + kParameterFileExtension;
  }
  std::string fileTitle = FileNameOf(resolved);
  fileTitle.resize(fileTitle.size() - 5);  // ".kxmc", in whatever case it was chosen
  if (fileTitle.empty()) return false;
  if (path != nullptr) *path = std::move(resolved);
  if (title != nullptr) *title = std::move(fileTitle);
  return true;
}

std::string ParameterLineText(std::uint8_t header, std::span<const std::uint8_t> block) {
  std::vector<std::uint8_t> data(block.begin(), block.end());
  SealBlock(data);
  unsigned checksum = header;
  for (std::uint8_t b : data) checksum += b;
  char head[16];
  std::snprintf(head, sizeof head, "02 %2.2X %2.2X ", static_cast<unsigned>(data.size() + 1) & 0xFF,
                static_cast<unsigned>(header));
  char tail[16];
  std::snprintf(tail, sizeof tail, " %2.2X 03", checksum & 0xFF);
  std::string line = head;
  line += BytesToHex(data.data(), static_cast<int>(data.size()));
  line += tail;
  return line;
}

std::string FormatParameterFileDate(const SystemTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%1.1d.%2.2d.%4.4d - %1.1d:%2.2d.%4.4d", int{t.day},
                int{t.month}, int{t.year}, int{t.hour}, int{t.minute}, int{t.milliseconds});
  return text;
}

std::string EscapeCommentText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string UnescapeCommentText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == 'r')) {
      out.push_back(text[i + 1] == 'n' ? '\n' : '\r');
      ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

std::string ParameterFileGuid(const ParameterImage& image, const Catalogue* currentCatalogue) {
  if (currentCatalogue == nullptr) return kNoGuidText;
  int variant = image.Variant();
  if (variant >= kMotorCount) variant = 0;
  const MotorRecord& motor = currentCatalogue->motors[static_cast<std::size_t>(variant)];
  // The loader compares against single GUIDs; a record without an NQB GUID is still found by
  // its uMode GUID.
  return motor.strGuidNQB.empty() ? motor.strGuidUMode : motor.strGuidNQB;
}

std::string BuildParameterDocument(const ParameterImage& image, const ContactRecord& contact,
                                   const Catalogue* currentCatalogue, const SystemTime& now) {
  tinyxml2::XMLDocument doc;
  AddProgramDeclaration(doc);
  tinyxml2::XMLElement* root = doc.NewElement(kRootName);
  doc.InsertEndChild(root);

  tinyxml2::XMLElement* contactElement = root->InsertNewChildElement(kContactName);
  for (const ContactField& field : kContactFields) {
    const std::string& value = contact.*field.member;
    if (!value.empty()) AddTextElement(contactElement, field.element, value);
  }
  AddTextElement(root, kMoNameName, image.m_moName);
  AddTextElement(root, kNameName, image.m_name);
  AddTextElement(root, kFirmaName, image.m_firma);
  AddTextElement(root, kCommentName, EscapeCommentText(image.m_kommentar));
  AddTextElement(root, kDateName, FormatParameterFileDate(now));

  const auto line1 = image.Block(0x39);
  const auto line5 = image.Block(0x2E);
  char text[32];
  std::snprintf(text, sizeof text, "%1.X", static_cast<unsigned>(line1[15]));
  AddTextElement(root, kBoxVersionName, text);
  std::snprintf(text, sizeof text, "%1.1X%1.1X", static_cast<unsigned>(line5[0]),
                static_cast<unsigned>(line5[1]));
  AddTextElement(root, kBoxSerialName, text);
  AddTextElement(root, kProgramVersionName, kProgramVersionText);
  AddTextElement(root, kGuidName, ParameterFileGuid(image, currentCatalogue));

  tinyxml2::XMLElement* lines = root->InsertNewChildElement(kLinesName);
  for (int k = 1; k <= kLineCount; ++k) {
    const BlockInfo* info = FindBlockByLine(k);
    AddTextElement(lines, LineElementName(k).c_str(),
                   ParameterLineText(info->fileHeader, image.Block(info->command)));
  }
  return PrintXml(doc);
}

HResult SaveParameterFile(const std::string& path, ParameterImage& image,
                          const ContactRecord& contact, const Catalogue* currentCatalogue,
                          const std::string& tempFolder, const SystemTime& now) {
  std::string resolved;
  std::string title;
  if (!ResolveParameterFilePath(path, &resolved, &title)) return E_FAIL;
  if (tempFolder.empty()) return E_FAIL;
  const std::string scratchFolder = NormalisePath(tempFolder);
  if (!CreateFolderTree(scratchFolder)) return E_FAIL;
  const std::string target = NormalisePath(resolved);

  auto line1 = image.Block(0x39);
  line1[11] = 0xFF;
  line1[12] = 0xFF;
  line1[13] = 0xFF;
  line1[14] = 1;

  // The archive is built from bytes in memory: parallel saves (other processes, or two files
  // of the same name into different folders) never share a scratch file.
  // The file's name is the system's (UTF-8); the names inside the archive are ISO-8859-1, as
  // every stored file of the program holds its texts.
  const std::string documentEntry = PathAsText(title) + ".kxm";
  const std::string manifestEntry = PathAsText(title) + ".md6";
  const std::string document = BuildParameterDocument(image, contact, currentCatalogue, now);
  const std::string digest = Md5OfBytes(document);
  if (digest.empty()) return E_FAIL;
  const std::string manifest = digest + ";" + documentEntry + "\n";
  ScratchFile partial(UniqueSiblingPath(target));
  ArchiveWriter archive;
  if (!archive.Create(partial.Path())) return E_FAIL;
  if (!archive.AddBytes(documentEntry, document)) return E_FAIL;
  if (!archive.AddBytes(manifestEntry, manifest)) return E_FAIL;
  if (!archive.Close()) return E_FAIL;
  if (!CommitReplacement(partial.Path(), target)) return E_FAIL;
  partial.Release();
  return S_OK;
}

ParameterFileLoadResult ReadParameterDocument(std::string_view xml, ParameterImage& image,
                                              const CatalogueList& catalogues, int* selection,
                                              MessageSink* sink) {
  ParameterFileLoadResult result;
  image.Clear();
  // Every failure from here on leaves the image cleared: no half-loaded set remains.
  const auto fail = [&](ParameterFileStatus status) {
    image.Clear();
    result.status = status;
    return result;
  };

  tinyxml2::XMLDocument doc;
  if (!ParseXml(doc, xml)) {
    if (sink != nullptr) {
      sink->MessageBox(Tx(kParameterFileLoadError), "", kMbOk | kMbIconError | kMbTopmost);
    }
    return fail(ParameterFileStatus::kUnparsable);
  }
  if (!HasProgramDeclaration(doc)) return fail(ParameterFileStatus::kMalformed);
  const tinyxml2::XMLElement* root = doc.FirstChildElement(kRootName);
  if (root == nullptr || root->FirstChildElement(kFirmaName) == nullptr) {
    return fail(ParameterFileStatus::kMalformed);
  }
  const tinyxml2::XMLElement* lines = root->FirstChildElement(kLinesName);
  if (lines == nullptr) return fail(ParameterFileStatus::kMalformed);

  struct TextField {
    const char* element;
    std::string ParameterImage::*target;
  };
  static constexpr TextField kTextFields[] = {
      {kMoNameName, &ParameterImage::m_moName},
      {kNameName, &ParameterImage::m_name},
      {kFirmaName, &ParameterImage::m_firma},
      {kCommentName, &ParameterImage::m_kommentar},
  };
  for (const TextField& field : kTextFields) {
    std::string value;
    const TextState state = ElementText(root, field.element, &value);
    if (state == TextState::kEmpty) return fail(ParameterFileStatus::kMalformed);
    if (state == TextState::kText) {
      image.*field.target =
          field.target == &ParameterImage::m_kommentar ? UnescapeCommentText(value) : value;
    }
  }

  int chosen = selection != nullptr ? *selection : -1;
  std::string guid;
  if (ElementText(root, kGuidName, &guid) == TextState::kText) {
    const std::vector<std::string> tokens = GuidTokens(guid);
    result.guidWasSplit = tokens.size() > 1;
    for (std::size_t i = 0; i < catalogues.size(); ++i) {
      if (catalogues[i] != nullptr && CatalogueHoldsGuid(*catalogues[i], tokens)) {
        chosen = static_cast<int>(i);
      }
    }
  }

  for (int k = 1; k <= kLineCount; ++k) {
    std::string text;
    if (ElementText(lines, LineElementName(k).c_str(), &text) != TextState::kText) {
      return fail(ParameterFileStatus::kMalformed);
    }
    std::array<std::uint8_t, kLineBufferSize> values{};
    HexToBytes(values.data(), text, kLineBufferSize);
    const BlockInfo* info = FindBlockByLine(k);
    const auto block = image.Block(info->command);
    // LEN counts the header and the data; never copy more than the block holds or the line
    // provides.
    std::size_t count = values[1] > 0 ? values[1] - 1u : 0u;
    count = std::min({count, block.size(), values.size() - kLineDataOffset});
    std::copy_n(values.begin() + kLineDataOffset, count, block.begin());
  }

  if (chosen < 0) return fail(ParameterFileStatus::kNoSelection);
  if (selection != nullptr) *selection = chosen;
  image.m_valid = 1;
  result.status = ParameterFileStatus::kLoaded;
  return result;
}

ParameterFileLoadResult LoadParameterFile(const std::string& path, ParameterImage& image,
                                          const CatalogueList& catalogues, int* selection,
                                          MessageSink* sink) {
  ParameterFileLoadResult result;
  std::string resolved;
  std::string title;
  if (!ResolveParameterFilePath(path, &resolved, &title)) {
    result.status = ParameterFileStatus::kRefusedPath;
    return result;
  }
  std::string xml;
  const std::string archive = NormalisePath(resolved);
  if (ReadArchiveEntry(archive, ParameterDocumentEntry(archive, title), &xml) != 1) {
    result.status = ParameterFileStatus::kNoDocument;
    return result;
  }
  return ReadParameterDocument(xml, image, catalogues, selection, sink);
}

}  // namespace roviro
