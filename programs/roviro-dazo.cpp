// roviro-dazo: the program window.

#include <QApplication>

#include <algorithm>
#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "BuildInfo.h"
#include "app/AboutDlg.h"
#include "app/ScreenFactory.h"
#include "app/VQZodavaRozeApp.h"
#include "app/WindowReport.h"
#include "screens/data/RegisterScreens.h"

namespace {

std::vector<std::string> Arguments(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return args;
}

// Qt's own options (-platform, -display, -style, ...) start with one dash; ours start with two,
// except -EW and -h.
bool MayBeQtOption(const std::string& arg) {
  return arg.size() > 1 && arg[0] == '-' && arg[1] != '-' && arg != "-EW" && arg != "-h";
}

// --help and --version: prints the answer and says so.
bool Answered(const roviro::AppOptions& options) {
  if (options.help) {
    std::cout << roviro::AppUsage();
  } else if (options.version) {
    std::cout << "roviro-dazo " ROVIRO_VERSION " (revision " ROVIRO_REVISION ")\n";
  }
  return options.help || options.version;
}

}  // namespace

int main(int argc, char** argv) {
  // The options are read before Qt connects to a display, so that --help, --version and a
  // mistyped option answer on a machine without one.
  roviro::AppOptions options;
  std::string error;
  std::vector<std::string> args = Arguments(argc, argv);
  const bool parsed = roviro::ParseAppOptions(args, &options, &error);
  const bool qtOptions = std::any_of(args.begin(), args.end(), MayBeQtOption);
  if (!parsed && !qtOptions) {
    std::cerr << "roviro-dazo: " << error << "\n" << roviro::AppUsage();
    return 2;
  }
  if (parsed && Answered(options)) return 0;

  QApplication app(argc, argv);
  // Qt takes the desktop's locale for the C library; numbers in page texts and stored files
  // keep their decimal point whatever the desktop writes.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName("roviro-dazo");
  QApplication::setApplicationVersion(ROVIRO_VERSION);
  // The desktop environment matches the window with the installed .desktop file by this.
  QGuiApplication::setDesktopFileName(roviro::kDesktopId);
  if (!parsed) {
    // Qt has taken its own options out of argv; what is left must be ours.
    if (!roviro::ParseAppOptions(Arguments(argc, argv), &options, &error)) {
      std::cerr << "roviro-dazo: " << error << "\n" << roviro::AppUsage();
      return 2;
    }
    if (Answered(options)) return 0;
  }

  roviro::RegisterScreens(roviro::TheScreenFactory());
  // For tools that drive the window from outside: what it shows, kept in this file.
  const QString report = qEnvironmentVariable("ROVIRO_WINDOW_REPORT");
  if (!report.isEmpty()) new roviro::WindowReport(report, 50, &app);
  roviro::CVQZodavaRozeApp application(options);
  if (!application.InitInstance()) return 1;
  return application.Run();
}
