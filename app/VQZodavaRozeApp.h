#pragma once
// CVQZodavaRozeApp: the application object. It reads the command line, sets up the box the
// program talks to (the real USB bridges, an explicit port, or the simulated box), builds and
// initialises the main dialog and runs until the dialog closes.

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/TelegramTrace.h"
#include "platform/UsbBridgeList.h"

namespace roviro {

class CVQZodavaRozeDlg;
namespace sim {
class BoxSimulator;
class PtyTransport;
}  // namespace sim

struct AppOptions {
  bool simulate = false;       // --simulate: the simulated box, in-process
  std::string simulatedMotor;  // --simulate-motor NAME: its motor is of catalogue NAME
  std::string port;            // --port PATH: this device is the box's port
  std::string programDir;      // --program-dir DIR
  std::string dataDir;         // --data-dir DIR
  std::string screenshot;      // --screenshot FILE: render the start view to FILE and quit
  std::string trace;           // --trace FILE: every telegram sent and received into FILE
  bool help = false;           // --help
  bool version = false;        // --version
  std::string commandLine;     // every argument, blank-separated (for -EW)
};

// Reads the arguments after the program name. False with `error` set for an unknown option,
// a missing value, --port together with --simulate, or --simulate-motor without --simulate.
bool ParseAppOptions(const std::vector<std::string>& args, AppOptions* options, std::string* error);

// The usage text of --help.
std::string AppUsage();

// The port number a device path stands for: the trailing digits of its name (ttyUSB3 gives 3),
// 1 when it has none.
int PortNumberOfPath(const std::string& path);

class CVQZodavaRozeApp {
 public:
  explicit CVQZodavaRozeApp(AppOptions options);
  ~CVQZodavaRozeApp();
  CVQZodavaRozeApp(const CVQZodavaRozeApp&) = delete;
  CVQZodavaRozeApp& operator=(const CVQZodavaRozeApp&) = delete;

  // The application-wide critical section (the language files and StartIni.dat are read under
  // it).
  static std::recursive_mutex& CriticalSection();

  // Builds the dialog and runs its initialisation; false when that fails.
  bool InitInstance();
  // Shows the dialog and runs the event loop until it closes; the exit code.
  int Run();
  CVQZodavaRozeDlg* Dialog() const { return m_dlg.get(); }

 private:
  bool SetUpDevice(std::string* captionSuffix);
  // Gives the simulated motor the factory lines of its catalogue; false when the catalogue
  // named by --simulate-motor cannot be read.
  bool LoadSimulatedMotor();
  int RunScreenshot();

  AppOptions m_options;
  SimulatedBridgeList m_bridges;
  std::shared_ptr<sim::BoxSimulator> m_box;
  std::unique_ptr<sim::PtyTransport> m_pty;
  bool m_useOwnBridges = false;
  TelegramTrace m_trace;
  std::unique_ptr<CVQZodavaRozeDlg> m_dlg;  // last: gone before the box it may talk to
};

}  // namespace roviro
