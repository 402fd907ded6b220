#pragma once
// roviro-cli commands that talk to the box: ports, download, upload, opdata, sim.

#include <CLI/CLI.hpp>

#include "cli/CliSupport.h"

namespace roviro::cli {

// Registers the device commands on `app`; each sets `rc` when it runs.
void AddDeviceCommands(CLI::App& app, const GlobalOptions& options, int& rc);

}  // namespace roviro::cli
