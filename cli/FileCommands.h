#pragma once
// roviro-cli show and diff: looking at parameter files without the window.

#include <string>

#include "cli/CliSupport.h"

namespace roviro::cli {

int RunShow(const GlobalOptions& options, const std::string& file, bool json);
int RunDiff(const GlobalOptions& options, const std::string& fileA, const std::string& fileB);

}  // namespace roviro::cli
