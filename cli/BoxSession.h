#pragma once
// A connection to the box for one roviro-cli command: through USB discovery, an explicit
// device (--port) or the built-in simulated box on a pseudo-terminal (--simulate).

#include <memory>
#include <string>

#include "catalogue/Catalogue.h"
#include "catalogue/ParameterImage.h"
#include "cli/CliSupport.h"
#include "device/DeviceLink.h"
#include "device/TelegramTrace.h"
#include "platform/PortResolver.h"
#include "platform/UsbBridgeList.h"
#include "sim/BoxSimulator.h"
#include "sim/SimTransport.h"

namespace roviro::cli {

class BoxSession {
 public:
  BoxSession(const GlobalOptions& options, const Folders& folders, ParameterImage& image);
  ~BoxSession();
  BoxSession(const BoxSession&) = delete;
  BoxSession& operator=(const BoxSession&) = delete;

  // Finds and opens the box; with --simulate the simulated motor first gets the factory
  // lines of `simMotorFrom` (when given), so that it is a motor of a known type.
  // kExitOk, or kExitNoBox with a message on standard error (kExitUsage when the file of
  // --trace is not a trace, kExitFile when the trace cannot be written). With --port the
  // probe is tried as often as any other exchange.
  int Connect(const Catalogue* simMotorFrom = nullptr);

  // Runs one worker (started by `start`) to its end, showing its progress on a terminal.
  void RunWorker(bool (CDeviceLink::*start)());

  CDeviceLink& Link() { return *m_link; }
  StderrMessageSink& Sink() { return m_sink; }
  std::string LogicalPort() const;
  std::string DevicePath() const;

 private:
  const GlobalOptions& m_options;
  StderrMessageSink m_sink;
  PortResolver m_resolver;
  SimulatedBridgeList m_simBridges;
  std::shared_ptr<sim::BoxSimulator> m_box;
  std::unique_ptr<sim::PtyTransport> m_pty;
  TelegramTrace m_trace;  // before the link, which writes into it
  std::string m_traceProblem;
  std::unique_ptr<CDeviceLink> m_link;
};

// True once a telegram trace of this process could not be written whole; the command then
// exits kExitFile.
bool TraceWasIncomplete();

// Why `path` must not be taken for a telegram trace (it holds something else), or empty when
// it is absent, empty or begins with the trace's first line.
std::string TraceFileProblem(const std::string& path);

// The blocks of `image`, sealed, as the simulated motor holds them (all but the operating
// data, which the simulated motor keeps).
void LoadSimulatedMotor(sim::BoxSimulator& box, const ParameterImage& image);

}  // namespace roviro::cli
