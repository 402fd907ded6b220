#pragma once
// The parameter file "*.kxmc": a ZIP archive holding an XML document (entry title + ".kxm")
// and its MD5 manifest (entry title + ".md6"). The document names who made the set, for which
// motor, when, with which box and program version, and carries the seven blocks of the
// parameter image as ready-made box telegrams in hexadecimal text. The save-data screen, the
// load-data screen and the command-line tool all go through these functions; the file dialogs
// stay with the callers.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "catalogue/Catalogue.h"
#include "catalogue/ContactRecord.h"
#include "catalogue/ParameterImage.h"
#include "platform/Clock.h"
#include "platform/MessageSink.h"
#include "platform/Result.h"
#include "platform/Translation.h"

namespace roviro {

inline constexpr const char* kParameterFileExtension = "kxmc";
inline constexpr const char* kParameterFileFilter = "kxmc-File (*.kxmc)|*.kxmc||";
inline constexpr const char* kProgramVersionText = "V1.5 (Build 001)";
inline constexpr const char* kNoGuidText = "NOGUID";
inline constexpr const char* kParameterFileLoadError = TX_NOOP("Fehler beim Laden");

// The path rule of both directions. A chosen name whose extension is "kxmc" (any case) is
// kept; a name that holds ".kxmc" elsewhere (such as "name.kxmc.bak") is refused; any other
// name gets ".kxmc" appended. `title` is the file name without ".kxmc": the archive's entry
// names are built from it. False (outputs untouched) for a refused or empty name.
bool ResolveParameterFilePath(const std::string& chosen, std::string* path, std::string* title);
// The document entry of the parameter file `archive` with the title `title` (the system's
// name, UTF-8): the title in ISO-8859-1 followed by ".kxm", as files are written; the title's
// own bytes when only such an entry is there.
std::string ParameterDocumentEntry(const std::string& archive, const std::string& title);

// "02 LEN HH D0 D1 ... CS 03" for one block under a one-byte header: the data are a sealed
// copy of `block`, LEN = 1 + data bytes, CS = (header + data) mod 256, upper-case hex.
std::string ParameterLineText(std::uint8_t header, std::span<const std::uint8_t> block);

// Local time of saving: day.month.year - hour:minute.milliseconds ("14.03.2011 - 9:05.0123").
std::string FormatParameterFileDate(const SystemTime& t);

// Line feeds as backslash-n and carriage returns as backslash-r, and back.
std::string EscapeCommentText(std::string_view text);
std::string UnescapeCommentText(std::string_view text);

// The GUID text stored for the set: the current catalogue's motor record for the image's
// variant (taken as 0 above 2), or "NOGUID" without a current catalogue.
std::string ParameterFileGuid(const ParameterImage& image, const Catalogue* currentCatalogue);

// The whole XML document for `image` as it is stored (the image is used as it is; saving
// first stamps block 0x39, see SaveParameterFile).
std::string BuildParameterDocument(const ParameterImage& image, const ContactRecord& contact,
                                   const Catalogue* currentCatalogue, const SystemTime& now);

// Saves the set at `path` (resolved by the path rule). Block 0x39 bytes 11..13 of the image
// become 0xFF and byte 14 becomes 1: the upload's date stamp is not carried in a file. The
// archive is built beside the target under a temporary name, forced to the disk and only then
// renamed over the target, so a failed save (or a power cut) leaves an existing file as it
// was; the scratch files in `tempFolder` are removed on every path. E_FAIL when the path is
// refused, the temporary folder is empty or cannot be created, or any write fails.
HResult SaveParameterFile(const std::string& path, ParameterImage& image,
                          const ContactRecord& contact, const Catalogue* currentCatalogue,
                          const std::string& tempFolder, const SystemTime& now);

enum class ParameterFileStatus {
  kLoaded,       // the image holds the file's set, valid = 1
  kRefusedPath,  // the path rule refused the name; nothing changed
  kNoDocument,   // the archive or its ".kxm" entry could not be read; nothing changed
  kUnparsable,   // "Fehler beim Laden" was shown; image cleared
  kMalformed,    // declaration, root, a required element or a text was wrong; image cleared
  kNoSelection,  // no motor of the list matches the file and none was chosen; image cleared
};

struct ParameterFileLoadResult {
  ParameterFileStatus status = ParameterFileStatus::kMalformed;
  // The GUID element held several blank-separated GUIDs (an older form of the identity
  // text); each one was compared on its own.
  bool guidWasSplit = false;

  bool Ok() const { return status == ParameterFileStatus::kLoaded; }
  HResult Result() const { return Ok() ? S_OK : E_FAIL; }
};

// Reads a parameter document into the cleared image. `selection` is the load-data screen's
// motor-list selection (an index into `catalogues`, -1 = none): a catalogue whose GUID
// texts hold the file's GUID becomes the selection (the last one wins); the load succeeds
// only with a selection, and the selection is written back only then. On every failure the
// image is left cleared. Only an unparsable document is reported, through `sink` (may be
// null).
ParameterFileLoadResult ReadParameterDocument(std::string_view xml, ParameterImage& image,
                                              const CatalogueList& catalogues, int* selection,
                                              MessageSink* sink);

// Resolves the path, reads the entry title + ".kxm" into memory (a failure ends the load
// quietly with the image untouched) and reads it with ReadParameterDocument.
ParameterFileLoadResult LoadParameterFile(const std::string& path, ParameterImage& image,
                                          const CatalogueList& catalogues, int* selection,
                                          MessageSink* sink);

}  // namespace roviro
