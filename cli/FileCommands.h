#pragma once
// roviro-cli show and diff: looking at parameter files without the window.

#include <string>

#include "cli/CliSupport.h"

namespace roviro::cli {

// Resolves a parameter file's path and checks that it is a readable archive holding its
// document entry; kExitOk, or kExitFile with a one-line reason on standard error.
int CheckParameterFile(const std::string& path, std::string* resolved, std::string* title);

int RunShow(const GlobalOptions& options, const std::string& file, bool json);
int RunDiff(const GlobalOptions& options, const std::string& fileA, const std::string& fileB);

// Prints where the programs keep what they store: contact data, settings, backups, history,
// scratch files, and that no logs are kept.
int RunWhere(const GlobalOptions& options);

}  // namespace roviro::cli
