#pragma once
// roviro-cli station: a production line's programming station. It writes one parameter file into
// one motor after another: waits for a motor, writes (and reads back), records, prints one line,
// waits until the motor has been taken away, and so on until N motors came past or it is told
// to stop (Ctrl+C, SIGTERM), never in the middle of a transfer.

#include <CLI/CLI.hpp>

#include "cli/CliSupport.h"

namespace roviro::cli {

// Registers `station` on `app`; it sets `rc` when it runs.
void AddStationCommand(CLI::App& app, const GlobalOptions& options, int& rc);

}  // namespace roviro::cli
