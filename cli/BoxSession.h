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
  // kExitOk, or kExitNoBox with a message on standard error (kExitFile when the telegram
  // trace of --trace cannot be written).
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
  std::unique_ptr<CDeviceLink> m_link;
};

// The blocks of `image`, sealed, as the simulated motor holds them (all but the operating
// data, which the simulated motor keeps).
void LoadSimulatedMotor(sim::BoxSimulator& box, const ParameterImage& image);

}  // namespace roviro::cli
