// roviro-dazo: the program window.

#include <QApplication>

#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "app/AboutDlg.h"
#include "app/ScreenFactory.h"
#include "app/VQZodavaRozeApp.h"
#include "app/WindowReport.h"
#include "screens/data/RegisterScreens.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Qt takes the desktop's locale for the C library; numbers in page texts and stored files
  // keep their decimal point whatever the desktop writes.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName("roviro-dazo");
  // The desktop environment matches the window with the installed .desktop file by this.
  QGuiApplication::setDesktopFileName(roviro::kDesktopId);

  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  roviro::AppOptions options;
  std::string error;
  if (!roviro::ParseAppOptions(args, &options, &error)) {
    std::cerr << "roviro-dazo: " << error << "\n" << roviro::AppUsage();
    return 2;
  }
  if (options.help) {
    std::cout << roviro::AppUsage();
    return 0;
  }
  roviro::RegisterScreens(roviro::TheScreenFactory());
  // For tools that drive the window from outside: what it shows, kept in this file.
  const QString report = qEnvironmentVariable("ROVIRO_WINDOW_REPORT");
  if (!report.isEmpty()) new roviro::WindowReport(report, 50, &app);
  roviro::CVQZodavaRozeApp application(options);
  if (!application.InitInstance()) return 1;
  return application.Run();
}
