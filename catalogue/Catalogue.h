#pragma once
// A parameter catalogue: one family of motors. Which screens follow which, the limits and
// visibility of each screen's controls, up to three motor types (the variants 0..2) with their
// identifiers, factory parameter lines and division tables. Loaded once at start-up from the
// "*.kxbmc" archives; never written back.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/ParameterImage.h"
#include "platform/MessageSink.h"
#include "platform/Result.h"

namespace roviro {

inline constexpr int kCatalogueScreenCount = 30;
inline constexpr int kBranchCount = 10;
inline constexpr int kObjectCount = 10;
inline constexpr int kMotorCount = 3;
inline constexpr int kDivisionTableSize = 6;

struct CatalogueObject {
  int iMin = 0;
  int iMax = 0;
  int bEnable = 1;
  int bShow = 1;
  // The record names this object (an element of its branch); an object it lacks gives no
  // range, and its value is left as it is.
  bool present = false;
};

struct CatalogueBranch {
  int bUse = 1;
  int bHide = 0;
  std::array<CatalogueObject, kObjectCount> objects{};
};

struct ScreenRecord {
  std::array<CatalogueBranch, kBranchCount> branches{};
  int Prev = -1;
  int Next = -1;
};

struct MotorRecord {
  std::string strGuidNQB;
  std::string strGuidUMode;
  std::string strMoNa;
  std::uint32_t dhMoNa = 0;
  // Same layout as the parameter image's block: the factory lines in their slots.
  ParameterBlock block = DefaultParameterBlock();
  std::array<std::uint8_t, kDivisionTableSize> ucHB{};
  std::array<std::uint8_t, kDivisionTableSize> ucLB{};
};

struct Catalogue {
  std::array<std::unique_ptr<ScreenRecord>, kCatalogueScreenCount> screens;
  std::int32_t dVerMain = 0;
  std::int32_t dVerRel = 0;
  std::int32_t dVerBld = 0;
  std::string text0;    // not filled by the loader
  std::string strFrm;   // format name
  std::string text2;    // not filled by the loader; copied into the set's name
  std::string comment;  // Kmmntr, backslash-n already turned into line feeds
  std::string date;     // Dtm
  std::int32_t dUseKom = -1;
  std::array<MotorRecord, kMotorCount> motors{};
};

// The main dialog's list of accepted catalogues, in load order.
using CatalogueList = std::vector<std::unique_ptr<Catalogue>>;

// Where the loader finds its input and tells about problems.
struct CatalogueLoadContext {
  std::string programFolder;  // holds "\LoaderDaten\Config\"
  // No longer used by the loader, which checks the digests in memory; kept so that callers
  // stay as they are.
  std::string tempFolder;
  MessageSink* sink = nullptr;
  // Told about what the program passes over silently (digest mismatch, unreadable entry,
  // refused catalogue, ...). The program leaves it empty; checking tools print it.
  std::function<void(const std::string&)> note = {};
};

// Loads every "*.kxbmc" below programFolder + "\LoaderDaten\Config\" into `list`. Returns 1
// when the folder was processed to its end, 0 when loading stopped early.
int LoadCatalogues(const CatalogueLoadContext& context, CatalogueList& list);

// Loads every "*.kxbmc" file of `folder` in the order the file system gives them.
int LoadCatalogueFolder(const CatalogueLoadContext& context, const std::string& folder,
                        CatalogueList& list);

// True for a catalogue archive's file name: it ends in ".kxbmc" in any case.
bool IsCatalogueArchiveName(std::string_view name);

// The catalogue archives (regular files) of `folder`, in the order the file system gives them.
std::vector<std::string> CatalogueArchivesIn(const std::string& folder);

// What loading one archive found, so that a tool can say why it gave no catalogue.
struct CatalogueArchiveSummary {
  bool manifestRead = false;   // the entry title + ".md6" could be read
  int manifestLines = 0;       // entries the manifest lists
  int unreadableEntries = 0;   // listed entries missing from the archive or damaged
  int digestsUnavailable = 0;  // entries whose MD5 could not be computed
  int digestMismatches = 0;    // entries whose digest differs from the listed one
  int documentsRead = 0;       // entries that passed the check and were read as documents
  int accepted = 0;            // catalogues added to the list
  bool stopped = false;        // loading stopped in this archive
};

// Loads one archive file as start-up does (manifest, digests, documents). Returns 1 when the
// archive was processed to its end, 0 when loading must stop (wrong declaration, empty root).
// The digest of each listed entry is computed over its bytes in memory.
int LoadCatalogueArchive(const CatalogueLoadContext& context, const std::string& archivePath,
                         CatalogueList& list);
int LoadCatalogueArchive(const CatalogueLoadContext& context, const std::string& archivePath,
                         CatalogueList& list, CatalogueArchiveSummary* summary);

// Reads one catalogue document (the text of archive entry `entryName`) and hands the catalogue
// to AddCatalogue. Returns 1 when loading goes on (also for a skipped or refused document), 0
// when it must stop: wrong declaration, root element without content, out of memory.
int ReadCatalogueDocument(const CatalogueLoadContext& context, const std::string& archivePath,
                          const std::string& entryName, std::string_view text, CatalogueList& list);

// One line of a catalogue manifest: the listed digest and the entry it belongs to.
struct ManifestLine {
  std::string digest;
  std::string name;
};

// Splits a manifest text ("DIGEST;name;\n" per line) as the loader reads it.
std::vector<ManifestLine> ParseCatalogueManifest(std::string_view manifest);

// Validates and appends; false when refused (the catalogue is then left to the caller).
bool AddCatalogue(CatalogueList& list, std::unique_ptr<Catalogue>& catalogue);

// The screen record of `number`, or null (also for numbers outside 0..29 or a null catalogue).
const ScreenRecord* GetScreenRecord(const Catalogue* catalogue, int number);

// Copies motor `index` (0..2) of the catalogue into the image; E_FAIL for a bad index or a
// missing catalogue or image.
HResult CopyMotorToParameterImage(const Catalogue* catalogue, ParameterImage* image, int index);

// Writes a catalogue archive: every document as an entry, and the manifest entry
// title + ".md6" with one "DIGEST;name;\n" line per document, as the loader reads it. The
// archive replaces an existing one only when complete and on the disk; false (nothing
// replaced) when any entry or digest fails.
struct ArchiveEntryText {
  std::string name;
  std::string text;
};
bool WriteCatalogueArchive(const std::string& archivePath,
                           const std::vector<ArchiveEntryText>& documents);

}  // namespace roviro
