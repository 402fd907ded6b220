#include "app/VQZodavaRozeApp.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <cctype>
#include <iostream>

#include "app/DlgFirstStart.h"
#include "app/VQZodavaRozeDlg.h"
#include "platform/Folders.h"
#include "platform/Paths.h"
#include "platform/PortResolver.h"
#include "sim/BoxSimulator.h"
#include "sim/SimTransport.h"

namespace roviro {

namespace {

constexpr int kSimulatedComPort = 1;

bool SaveGrab(QWidget* widget, const std::string& file) {
  const QString path = QString::fromLocal8Bit(file.c_str());
  const QFileInfo info(path);
  QDir().mkpath(info.absolutePath());
  // No focus frame: the picture is the same from run to run.
  if (QWidget* focus = QApplication::focusWidget()) focus->clearFocus();
  return widget->grab().save(path, "PNG");
}

// "shots/start.png" gives "shots/start-first-start.png".
std::string FirstStartShotName(const std::string& file) {
  const std::size_t dot = file.rfind('.');
  const std::size_t slash = file.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
    return file + "-first-start.png";
  }
  return file.substr(0, dot) + "-first-start" + file.substr(dot);
}

}  // namespace

bool ParseAppOptions(const std::vector<std::string>& args, AppOptions* options,
                     std::string* error) {
  AppOptions out;
  auto fail = [error](const std::string& text) {
    if (error != nullptr) *error = text;
    return false;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!out.commandLine.empty()) out.commandLine += ' ';
    out.commandLine += a;
    auto value = [&](std::string* target) {
      if (i + 1 >= args.size() || args[i + 1].empty()) return false;
      *target = args[++i];
      out.commandLine += ' ' + *target;
      return true;
    };
    if (a == "--simulate") {
      out.simulate = true;
    } else if (a == "--simulate-motor") {
      if (!value(&out.simulatedMotor)) return fail("--simulate-motor needs a catalogue name");
    } else if (a == "--port") {
      if (!value(&out.port)) return fail("--port needs a device path");
    } else if (a == "--program-dir") {
      if (!value(&out.programDir)) return fail("--program-dir needs a folder");
    } else if (a == "--data-dir") {
      if (!value(&out.dataDir)) return fail("--data-dir needs a folder");
    } else if (a == "--screenshot") {
      if (!value(&out.screenshot)) return fail("--screenshot needs a file name");
    } else if (a == "--trace") {
      if (!value(&out.trace)) return fail("--trace needs a file name");
    } else if (a == "--help" || a == "-h") {
      out.help = true;
    } else if (a == "--version") {
      out.version = true;
    } else if (a == "-EW") {
      // Shown as a message box at start; changes nothing else.
    } else {
      return fail("unknown option: " + a);
    }
  }
  if (out.simulate && !out.port.empty()) return fail("--port and --simulate exclude each other");
  if (!out.simulatedMotor.empty() && !out.simulate)
    return fail("--simulate-motor needs --simulate");
  *options = std::move(out);
  return true;
}

std::string AppUsage() {
  return "Usage: roviro-dazo [options]\n"
         "Configures tubular roller-shutter motors through the ZodavaRoze programming box.\n"
         "\n"
         "Options:\n"
         "  --simulate          talk to the built-in simulated box instead of a real one\n"
         "                      (no hardware needed)\n"
         "  --simulate-motor NAME  the simulated motor is of the first motor type of the\n"
         "                      catalogue LoaderDaten/Config/NAME.kxbmc (default: of the\n"
         "                      first catalogue the program loads); needs --simulate\n"
         "  --port PATH         the box is on this serial device, e.g. /dev/ttyUSB0 (skips\n"
         "                      the USB search); not together with --simulate\n"
         "  --program-dir DIR   folder holding LoaderDaten/ and StartIni.dat\n"
         "                      (default: the executable's folder)\n"
         "  --data-dir DIR      shared data folder (default: $XDG_DATA_HOME or ~/.local/share)\n"
         "  --screenshot FILE   render the start view to FILE (PNG) and quit; a first-start\n"
         "                      dialog is rendered beside it and left unsaved\n"
         "  --trace FILE        write every telegram sent to and received from the box\n"
         "                      to FILE (roviro-cli sim --replay FILE answers from it)\n"
         "  -EW                 show a message box with the letters \"EW\" before the window\n"
         "                      opens; it changes nothing else (a check that the program\n"
         "                      starts)\n"
         "  -h, --help          print this help and exit\n"
         "  --version           print the program's version and build revision and exit\n"
         "\n"
         "The language (Deutsch, English, Francais, Italiano or Nederlands) is chosen with\n"
         "the language buttons in the window.\n"
         "roviro-cli offers the same work from a terminal (roviro-cli --help).\n";
}

int PortNumberOfPath(const std::string& path) {
  std::size_t end = path.size();
  std::size_t begin = end;
  while (begin > 0 && std::isdigit(static_cast<unsigned char>(path[begin - 1]))) --begin;
  if (begin == end || end - begin > 6) return 1;
  return std::stoi(path.substr(begin));
}

CVQZodavaRozeApp::CVQZodavaRozeApp(AppOptions options) : m_options(std::move(options)) {
  CriticalSection();  // exists before anyone reads a language file
}

CVQZodavaRozeApp::~CVQZodavaRozeApp() {
  m_dlg.reset();
  if (m_pty) m_pty->Stop();
}

std::recursive_mutex& CVQZodavaRozeApp::CriticalSection() {
  static std::recursive_mutex section;
  return section;
}

bool CVQZodavaRozeApp::SetUpDevice(std::string* captionSuffix) {
  if (m_options.simulate) {
    m_box = std::make_shared<sim::BoxSimulator>(RealClock());
    // At the line's own 9600 baud, as a real box answers.
    m_box->SetPacing(true);
    m_pty = std::make_unique<sim::PtyTransport>(m_box);
    if (Succeeded(m_pty->Start())) {
      m_pty->Attach(ThePortResolver(), m_bridges, kSimulatedComPort);
    } else {
      // No pseudo-terminals here: the box is reached in memory instead.
      m_pty.reset();
      sim::AttachInMemory(m_box, ThePortResolver(), m_bridges, kSimulatedComPort);
    }
    m_useOwnBridges = true;
    *captionSuffix = " [Simulation]";
    return true;
  }
  if (!m_options.port.empty()) {
    const int number = PortNumberOfPath(m_options.port);
    ThePortResolver().RegisterPath("COM" + std::to_string(number), m_options.port);
    SimulatedBridgeList::Device device;
    device.comPort = number;
    device.description = m_options.port;
    m_bridges.Add(device);
    m_useOwnBridges = true;
    *captionSuffix = " [" + m_options.port + "]";
  }
  return true;
}

bool CVQZodavaRozeApp::InitInstance() {
  DialogEnvironment env;
  env.programFolder = m_options.programDir;
  env.sharedDataFolder = m_options.dataDir;
  env.commandLine = m_options.commandLine;
  SetUpDevice(&env.captionSuffix);
  if (m_useOwnBridges) env.bridges = &m_bridges;
  if (!m_options.screenshot.empty()) {
    const std::string shot = FirstStartShotName(m_options.screenshot);
    env.runFirstStart = [shot](CDlgFirstStart& dlg) {
      dlg.show();
      QApplication::processEvents();
      if (!SaveGrab(&dlg, shot)) std::cerr << "roviro-dazo: cannot write " << shot << "\n";
      dlg.hide();
    };
  }
  m_dlg = std::make_unique<CVQZodavaRozeDlg>(std::move(env));
  if (!m_options.trace.empty()) {
    if (Failed(m_trace.Open(m_options.trace, RealClock().LocalNow()))) {
      std::cerr << "roviro-dazo: " << m_options.trace << ": the telegram trace cannot be written\n";
      return false;
    }
    m_dlg->Link().SetTrace(&m_trace);
  }
  if (!m_dlg->OnInitDialog()) return false;
  return !m_box || LoadSimulatedMotor();
}

bool CVQZodavaRozeApp::LoadSimulatedMotor() {
  // The simulated motor is of a catalogue's type, so that downloads find their catalogue
  // motor and uploads are accepted.
  const Catalogue* type = m_dlg->CatalogueCount() > 0 ? m_dlg->Catalogues().front().get() : nullptr;
  CatalogueList named;
  if (!m_options.simulatedMotor.empty()) {
    const std::string archive = NormalisePath(m_dlg->Folder(FolderKind::Program) + kConfigFolder +
                                              m_options.simulatedMotor + ".kxbmc");
    CatalogueLoadContext context;
    context.programFolder = m_dlg->Folder(FolderKind::Program);
    context.tempFolder = m_dlg->Folder(FolderKind::Temp);
    LoadCatalogueArchive(context, archive, named);
    if (named.empty()) {
      std::cerr << "roviro-dazo: --simulate-motor " << m_options.simulatedMotor << ": " << archive
                << " holds no catalogue the program accepts\n";
      return false;
    }
    type = named.front().get();
  }
  if (type == nullptr) return true;
  ParameterImage factory;
  factory.Clear();
  CopyMotorToParameterImage(type, &factory, 0);
  m_box->LoadMotor(SealedMotorBlocks(factory));
  return true;
}

int CVQZodavaRozeApp::RunScreenshot() {
  int rc = 0;
  QTimer::singleShot(0, m_dlg.get(), [this, &rc] {
    QApplication::processEvents();
    if (!SaveGrab(m_dlg.get(), m_options.screenshot)) {
      std::cerr << "roviro-dazo: cannot write " << m_options.screenshot << "\n";
      rc = 1;
    }
    m_dlg->ConfirmClose();
  });
  QApplication::exec();
  return rc;
}

int CVQZodavaRozeApp::Run() {
  if (!m_dlg) return 1;
  QApplication::setQuitOnLastWindowClosed(false);
  QObject::connect(m_dlg.get(), &QDialog::finished, qApp, &QCoreApplication::quit,
                   Qt::QueuedConnection);
  m_dlg->show();
  if (!m_options.screenshot.empty()) return RunScreenshot();
  QApplication::exec();
  return 0;
}

}  // namespace roviro
