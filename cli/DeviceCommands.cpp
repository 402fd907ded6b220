#include "cli/DeviceCommands.h"

namespace roviro::cli {

void AddDeviceCommands(CLI::App& app, const GlobalOptions& options, int& rc) {
  (void)app;
  (void)options;
  (void)rc;
}

}  // namespace roviro::cli
