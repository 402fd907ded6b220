#pragma once
// roviro-cli commands that talk to the box: ports, download, upload, opdata, sim; and the
// upload's pieces that the production station shares.

#include <CLI/CLI.hpp>

#include <cstdint>
#include <string>

#include "catalogue/Catalogue.h"
#include "catalogue/ParameterImage.h"
#include "cli/BoxSession.h"
#include "cli/CliSupport.h"
#include "cli/SafetyCommands.h"
#include "device/VerifyUpload.h"

namespace roviro::cli {

// Registers the device commands on `app`; each sets `rc` when it runs.
void AddDeviceCommands(CLI::App& app, const GlobalOptions& options, int& rc);

// A parameter file loaded for writing, as `upload` loads it: the catalogues as start-up loads
// them, the file's set and the catalogue motor it belongs to.
struct UploadSet {
  CatalogueList catalogues;
  ParameterImage image;
  int selection = 0;
  const Catalogue* Current() const;
};
// kExitOk, or the exit code with its message printed.
int LoadUploadSet(const std::string& file, const Folders& folders, UploadSet* set);

struct UploadResult {
  int rc = kExitTransfer;   // as `upload` exits
  std::string visitResult;  // the word the service history records
  bool boxOnly = false;     // the upload reached the box only
  bool verified = false;    // a read-back was made; `verify` holds it
  VerifyReport verify;
  std::uint32_t failureCode = 0;  // the error code of an upload that could not start (variant)
};

// One upload on an open session, as `upload` makes it: the backup of the set written, the
// upload worker with its type check, the read-back with `verify`, the history record. With
// `tell` the outcome is told on standard error (and differing bytes on standard output).
UploadResult WriteSetIntoMotor(BoxSession& session, ParameterImage& image,
                               const Catalogue* catalogue, SafetyNet& net, bool verify,
                               bool boxOnlyAccepted, bool tell);

}  // namespace roviro::cli
