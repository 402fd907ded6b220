// roviro-artgen: draws the shipped pictures, or checks a shipped tree.
//
//   roviro-artgen OUTDIR [--sheet FILE.png]   writes every picture into OUTDIR (BMP), each
//                                             also at twice the size as <name>@2x.bmp, and
//                                             optionally a contact sheet of the whole set
//   roviro-artgen --icons THEMEDIR NAME       writes the program's icon as
//                                             THEMEDIR/<n>x<n>/apps/NAME.png for every size
//   roviro-artgen --check PROGRAMDIR          loads every page file below
//                                             PROGRAMDIR/LoaderDaten/Screen and every picture
//                                             it names; exit code 1 on the first kind of fault

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "Artwork.h"
#include "pages/ScreenDescription.h"

namespace {

// Writes the picture to a neighbour first and renames it over the target, so an interrupted
// run never leaves a torn picture behind.
bool SaveReplacing(const QImage& image, const QString& path, const char* format) {
  const QString part = path + ".part." + QString::fromLatin1(format).toLower();
  if (!image.save(part, format)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(part));
    return false;
  }
  QFile::remove(path);
  if (!QFile::rename(part, path)) {
    std::fprintf(stderr, "cannot replace %s\n", qPrintable(path));
    return false;
  }
  return true;
}

using roviro::ScreenDescription;

int Generate(const QString& outDir, const QString& sheet) {
  if (!QDir().mkpath(outDir)) {
    std::fprintf(stderr, "cannot create %s\n", qPrintable(outDir));
    return 1;
  }
  const std::vector<roviro::art::Picture> pictures = roviro::art::DrawAllPictures();
  std::vector<roviro::art::Picture> all = pictures;
  for (roviro::art::Picture& pic : roviro::art::DrawAllPictures(2)) {
    pic.name.replace(QStringLiteral(".bmp"), QStringLiteral("@2x.bmp"));
    all.push_back(std::move(pic));
  }
  for (const auto& pic : all) {
    const QString path = QDir(outDir).filePath(pic.name);
    if (!SaveReplacing(pic.image.convertToFormat(QImage::Format_RGB888), path, "BMP")) return 1;
  }
  if (!sheet.isEmpty() && !roviro::art::DrawContactSheet(pictures).save(sheet, "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(sheet));
    return 1;
  }
  return 0;
}

int GenerateIcons(const QString& themeDir, const QString& name) {
  for (int size : roviro::art::kIconSizes) {
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(themeDir).arg(size);
    if (!QDir().mkpath(folder)) {
      std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
      return 1;
    }
    const QString path = QDir(folder).filePath(name + ".png");
    if (!SaveReplacing(roviro::art::DrawIcon(size), path, "PNG")) return 1;
  }
  return 0;
}

// The main description is read with room for 18 objects and names five language folders.
constexpr int kMainObjects = 18;
constexpr int kLanguages = 5;

// The pages of one language folder and the capacity each is read with.
const std::vector<std::pair<int, int>>& LanguagePages() {
  static const std::vector<std::pair<int, int>> pages = {
      {0, 15}, {1, 30}, {2, 30},  {3, 30},  {4, 30},  {5, 30},  {6, 20},
      {7, 20}, {8, 20}, {10, 30}, {11, 30}, {12, 30}, {999, 89}};
  return pages;
}

struct Checker {
  QString programDir;
  int faults = 0;
  std::map<QString, QSize> seen;

  void Fault(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    ++faults;
  }

  QImage Load(const std::string& name, const std::string& where) {
    QString relative = QString::fromLatin1(name.c_str());
    relative.replace('\\', '/');
    const QString path = QDir(programDir).filePath(relative);
    QImage image(path);
    if (image.isNull()) Fault(where + ": picture \"" + name + "\" does not load");
    return image;
  }

  // Every picture named by every object of the page; the pictures of one object are the
  // states of one button and must share their size and keep magenta corners.
  void CheckPage(const ScreenDescription& page, int capacity, const std::string& where) {
    for (int k = 0; k < capacity; ++k) {
      QSize size;
      for (int n = 0;; ++n) {
        const std::string name = page.Bitmap(k, n);
        if (name.empty()) break;
        const std::string at =
            where + " object " + std::to_string(k) + " bitmap " + std::to_string(n);
        const QImage image = Load(name, at);
        if (image.isNull()) continue;
        const bool strip = name.find("Navigation") != std::string::npos;
        const bool logo = name.find("Logo") != std::string::npos;
        if (!strip && !logo) {
          if (size.isValid() && image.size() != size) Fault(at + ": size differs from state 0");
          size = image.size();
          if ((image.pixel(0, 0) & 0xFFFFFFu) != 0xFF00FFu) {
            Fault(at + ": button picture without transparent corner");
          }
        }
        if (strip && image.width() != 800) Fault(at + ": navigation frame is not 800 wide");
      }
    }
  }

  void CheckTree() {
    const QString screenDir = QDir(programDir).filePath("LoaderDaten/Screen");
    ScreenDescription main;
    if (main.Load(screenDir.toStdString(), 999, kMainObjects) != 0) {
      Fault("main description Screen999.dat does not load");
      return;
    }
    CheckPage(main, kMainObjects, "Screen999.dat");
    // Every language that object 5 names; the start view offers five.
    for (int language = 0;; ++language) {
      const std::string folder = main.Text(5, language);
      if (folder.empty() || folder == "Error") {
        if (language < kLanguages) Fault("no folder name for language " + std::to_string(language));
        break;
      }
      for (const auto& [number, capacity] : LanguagePages()) {
        ScreenDescription page;
        const std::string where = folder + "/Screen" + std::to_string(number) + ".dat";
        if (page.Load(QDir(screenDir).filePath(QString::fromLatin1(folder.c_str())).toStdString(),
                      number, capacity) != 0) {
          Fault(where + " does not load");
          continue;
        }
        CheckPage(page, capacity, where);
      }
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  // Drawing text needs the font database, which needs a platform; none needs a screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() == 3 && args[1] == "--check") {
    Checker checker{args[2], 0, {}};
    checker.CheckTree();
    if (checker.faults != 0) {
      std::fprintf(stderr, "%d fault(s) in the shipped tree\n", checker.faults);
      return 1;
    }
    std::printf("shipped tree below %s: every page loads, every picture loads\n",
                qPrintable(args[2]));
    return 0;
  }
  if (args.size() == 4 && args[1] == "--icons") return GenerateIcons(args[2], args[3]);
  if (args.size() == 2) return Generate(args[1], QString());
  if (args.size() == 4 && args[2] == "--sheet") return Generate(args[1], args[3]);
  std::fprintf(stderr,
               "usage: roviro-artgen OUTDIR [--sheet FILE.png]\n"
               "       roviro-artgen --icons THEMEDIR NAME\n"
               "       roviro-artgen --check PROGRAMDIR\n");
  return 2;
}
