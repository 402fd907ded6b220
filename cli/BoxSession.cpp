#include "cli/BoxSession.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <thread>

#include "platform/Paths.h"

namespace roviro::cli {

namespace {

// The logical name under which an explicit device or the simulated box is reached.
constexpr int kExplicitComPort = 250;

// The probe of an explicit device: one try and five more, as every other exchange has.
constexpr int kProbeTries = 6;

std::atomic<bool> g_traceIncomplete{false};

}  // namespace

bool TraceWasIncomplete() { return g_traceIncomplete.load(); }

std::string TraceFileProblem(const std::string& path) {
  if (FolderExists(path)) return "is a folder, not a telegram trace";
  // A device or a pipe (/dev/stdout) holds no file that writing could replace.
  std::error_code ec;
  if (std::filesystem::exists(path, ec) && !std::filesystem::is_regular_file(path, ec)) return {};
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return {};  // absent (or unreadable: opening it for writing tells)
  const std::size_t headSize = std::strlen(kTraceFirstLine);
  std::string head(headSize, '\0');
  const std::size_t got = std::fread(head.data(), 1, headSize, file);
  std::fclose(file);
  if (got == 0) return {};
  if (got == headSize && head == kTraceFirstLine) return {};
  return "exists and is not a telegram trace; it is not replaced (remove it, or name another "
         "file)";
}

void LoadSimulatedMotor(sim::BoxSimulator& box, const ParameterImage& image) {
  // The simulated motor keeps its own operating data, which has running time and events.
  box.LoadMotor(SealedMotorBlocks(image));
}

BoxSession::BoxSession(const GlobalOptions& options, const Folders& folders, ParameterImage& image)
    : m_options(options) {
  if (options.simulate) {
    m_box = std::make_shared<sim::BoxSimulator>(RealClock());
    m_pty = std::make_unique<sim::PtyTransport>(m_box);
  }
  UsbBridgeList* bridges = options.simulate ? &m_simBridges : nullptr;
  m_link = std::make_unique<CDeviceLink>(RealClock(), bridges, m_resolver, image);
  m_link->Init(&m_sink, 1, 100);
  m_link->State().m_programFolder = folders.Program();
  m_link->LoadIgnoreList();
  // The session is made once the command's own arguments were checked; a file that holds
  // something other than a trace is never emptied.
  if (!options.trace.empty()) m_traceProblem = TraceFileProblem(options.trace);
  if (!options.trace.empty() && m_traceProblem.empty() &&
      Succeeded(m_trace.Open(options.trace, RealClock().LocalNow()))) {
    m_link->SetTrace(&m_trace);
  }
}

BoxSession::~BoxSession() {
  m_link->Stop();
  m_link->SetTrace(nullptr);
  m_trace.Close();
  if (!m_options.trace.empty() && m_trace.WriteFailed()) {
    g_traceIncomplete = true;
    std::cerr << "roviro-cli: " << m_options.trace << ": the telegram trace is incomplete\n";
  }
  if (m_pty) m_pty->Stop();
}

int BoxSession::Connect(const Catalogue* simMotorFrom) {
  if (!m_traceProblem.empty()) {
    PrintPathError(m_options.trace, m_traceProblem);
    return kExitUsage;
  }
  if (!m_options.trace.empty() && !m_trace.IsOpen()) {
    std::cerr << "roviro-cli: " << m_options.trace << ": the telegram trace cannot be written\n";
    return kExitFile;
  }
  if (m_pty) {
    if (simMotorFrom != nullptr) {
      ParameterImage factory;
      factory.Clear();
      CopyMotorToParameterImage(simMotorFrom, &factory, 0);
      LoadSimulatedMotor(*m_box, factory);
    }
    if (Failed(m_pty->Start())) {
      std::cerr << "roviro-cli: the simulated box cannot open a pseudo-terminal\n";
      return kExitNoBox;
    }
    m_pty->Attach(m_resolver, m_simBridges, kExplicitComPort);
  }
  if (!m_options.port.empty()) {
    std::error_code missing;
    if (!std::filesystem::exists(m_options.port, missing)) {
      std::cerr << "roviro-cli: " << m_options.port << ": no such device\n";
      return kExitNoBox;
    }
    const std::string name = "COM" + std::to_string(kExplicitComPort);
    m_resolver.RegisterPath(name, m_options.port);
    // One damaged reply on a noisy line is not "no box": the probe is repeated.
    bool opened = false;
    for (int attempt = 0; attempt < kProbeTries && !opened; ++attempt) {
      opened = Succeeded(m_link->OpenPort(name, 9600, 8, 0, 0));
    }
    if (!opened) {
      if (m_link->AccessDenied().inUse) {
        std::cerr << "roviro-cli: " << m_options.port
                  << ": in use by another program (the window or another roviro-cli); not "
                     "talked to\n";
      } else {
        std::cerr << "roviro-cli: " << m_options.port
                  << ": cannot be opened, or the box does not answer the probe\n";
      }
      return kExitNoBox;
    }
    m_link->State().Set(kLinkOpen);
    return kExitOk;
  }
  if (Failed(m_link->Discover())) {
    if (const CDeviceLink::DeniedDevice held = m_link->AccessDenied(); held.inUse) {
      std::cerr << "roviro-cli: " << held.device
                << ": the box is in use by another program (the window or another roviro-cli); "
                   "not talked to\n";
      return kExitNoBox;
    }
    std::cerr << "roviro-cli: no ZodavaRoze box found (USB serial bridges with vendor id 0403; "
                 "see IgnorePortList.txt, or use --port or --simulate)\n";
    return kExitNoBox;
  }
  return kExitOk;
}

void BoxSession::RunWorker(bool (CDeviceLink::*start)()) {
  if (!((*m_link).*start)()) return;
  const bool terminal = StderrIsTerminal();
  int shown = -1;
  while (m_link->RunningWorkers() > 0) {
    if (terminal) {
      const int progress = m_link->State().m_progress.load();
      if (progress != shown) {
        shown = progress;
        const int filled = progress * 30 / 100;
        std::cerr << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
                  << std::string(static_cast<std::size_t>(30 - filled), ' ') << "] " << progress
                  << "%" << std::flush;
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  m_link->JoinWorkers();
  // A set the worker read becomes the session's set.
  m_link->TakeReadSet(*m_link->State().m_image);
  if (terminal && shown >= 0) std::cerr << "\r\033[K" << std::flush;
}

std::string BoxSession::LogicalPort() const {
  const int n = m_link->PortNumber();
  return n >= 0 ? "COM" + std::to_string(n) : "COM" + std::to_string(kExplicitComPort);
}

std::string BoxSession::DevicePath() const { return m_resolver.DevicePath(LogicalPort()); }

}  // namespace roviro::cli
