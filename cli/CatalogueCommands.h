#pragma once
// roviro-cli catalogue check and catalogue pack.

#include <string>
#include <vector>

#include "cli/CliSupport.h"

namespace roviro::cli {

int RunCatalogueCheck(const GlobalOptions& options, const std::vector<std::string>& paths);
int RunCataloguePack(const std::vector<std::string>& sources, const std::string& output,
                     bool fixChecksums);

// Rewrites the two check bytes of every parameter line (children of KXBM/Rumpf/ParaDa) in a
// catalogue document; returns false when the text is not well-formed XML. `changed` counts
// the lines whose bytes differed.
bool FixCatalogueChecksums(const std::string& documentText, std::string* fixed, int* changed);

}  // namespace roviro::cli
