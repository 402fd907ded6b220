// Arbitrary bytes as a whole archive file, read every way the program reads one: as a catalogue
// "fuzz.kxbmc" (manifest "fuzz.md6", digests, documents) and as a parameter file "fuzz.kxmc"
// (entry "fuzz.kxm"), plus the entry list, unpacking into memory and unpacking into a file.
// Both names are links to one file, written afresh for every input.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/Archive.h"
#include "catalogue/Catalogue.h"
#include "catalogue/ParameterImage.h"
#include "platform/MessageSink.h"
#include "platform/Paths.h"
#include "records/ParameterFile.h"

namespace {

struct Scratch {
  std::string folder;
  std::string catalogue;
  std::string parameterFile;
  std::string extracted;

  Scratch() {
    // In memory where the system offers it: the input is written for every run.
    std::string base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string pattern = base + "/roviro-fuzz-archive-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    folder = pattern;
    catalogue = folder + "/fuzz.kxbmc";
    parameterFile = folder + "/fuzz.kxmc";
    extracted = folder + "/out.tmp";
    if (!roviro::WriteTextFile("", catalogue)) std::abort();
    std::filesystem::create_hard_link(catalogue, parameterFile);
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
};

Scratch& TheScratch() {
  static Scratch scratch;
  return scratch;
}

// Every box must be a complete error box; nothing is answered but OK.
class CheckingSink final : public roviro::MessageSink {
 public:
  void Post(std::uint32_t, std::uintptr_t, std::intptr_t) override {}
  int MessageBox(const std::string& text, const std::string&, std::uint32_t) override {
    if (text.empty()) std::abort();
    return roviro::kIdOk;
  }
};

const roviro::CatalogueList& KnownCatalogues() {
  static const roviro::CatalogueList list = [] {
    roviro::CatalogueList l;
    auto a = std::make_unique<roviro::Catalogue>();
    a->motors[0].strGuidNQB = "{11111111-2222-3333-4444-555555555555}";
    a->motors[0].strGuidUMode = "{11111111-2222-3333-4444-5555555555FF}";
    l.push_back(std::move(a));
    return l;
  }();
  return list;
}

void CheckCatalogueRead(const Scratch& s) {
  CheckingSink sink;
  roviro::CatalogueLoadContext context;
  context.sink = &sink;
  context.note = [](const std::string& text) {
    if (text.empty()) std::abort();
  };
  roviro::CatalogueList list;
  roviro::CatalogueArchiveSummary found;
  const int result = roviro::LoadCatalogueArchive(context, s.catalogue, list, &found);
  if (result != 0 && result != 1) std::abort();
  if (found.accepted != static_cast<int>(list.size())) std::abort();
  if (found.accepted > found.documentsRead || found.documentsRead > found.manifestLines) {
    std::abort();
  }
  for (const auto& catalogue : list) {
    bool anyNqb = false;
    bool anyUMode = false;
    for (const roviro::MotorRecord& m : catalogue->motors) {
      anyNqb = anyNqb || !m.strGuidNQB.empty();
      anyUMode = anyUMode || !m.strGuidUMode.empty();
    }
    if (!anyNqb || !anyUMode) std::abort();
  }
}

void CheckEntries(const Scratch& s) {
  std::vector<std::string> names;
  if (!roviro::ListArchiveEntries(s.catalogue, &names)) return;
  // The names an archive stores never choose where anything is written: the target name is
  // the caller's. Looking up every stored name (dots, separators and all) must stay inside.
  std::size_t looked = 0;
  for (const std::string& name : names) {
    if (++looked > 16) break;
    std::string text;
    const int read = roviro::ReadArchiveEntry(s.catalogue, name, &text);
    if (read == 1 && text.size() > roviro::kMaxArchiveEntrySize) std::abort();
    const int unpacked = roviro::ExtractArchiveEntry(s.catalogue, name, "out.tmp", s.folder);
    if (unpacked == 1) {
      std::string onDisk;
      if (!roviro::ReadWholeFile(s.extracted, &onDisk)) std::abort();
      if (read == 1 && onDisk != text) std::abort();
      roviro::RemoveFile(s.extracted);
    } else if (roviro::FileExists(s.extracted)) {
      std::abort();  // a failed unpack leaves no partial file
    }
  }
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(s.folder)) {
    (void)entry;
    ++files;
  }
  if (files != 2) std::abort();  // only the two names of the input
}

void CheckParameterFileRead(const Scratch& s) {
  roviro::ParameterImage image;
  CheckingSink sink;
  int selection = -1;
  const roviro::ParameterFileLoadResult result =
      roviro::LoadParameterFile(s.parameterFile, image, KnownCatalogues(), &selection, &sink);
  if (result.Ok() && (selection != 0 || image.m_valid != 1)) std::abort();
  if (!result.Ok() && result.status != roviro::ParameterFileStatus::kNoDocument &&
      (image.m_valid != 0 || image.m_block != roviro::DefaultParameterBlock())) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Scratch& s = TheScratch();
  std::FILE* f = std::fopen(s.catalogue.c_str(), "wb");
  if (f == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);

  CheckCatalogueRead(s);
  CheckEntries(s);
  CheckParameterFileRead(s);
  return 0;
}
