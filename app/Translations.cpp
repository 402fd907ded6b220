#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <atomic>
#include <cstdlib>
#include <memory>

#include "platform/Paths.h"
#include "platform/Translation.h"

namespace roviro {

namespace {

// One context for every message: the German text alone is the key.
constexpr const char* kContext = "RoviroDazo";
constexpr const char* kCodes[kLanguageCount] = {"de", "en", "fr", "it", "nl"};

std::unique_ptr<QTranslator> g_own;
std::unique_ptr<QTranslator> g_qt;
std::atomic<int> g_installed{0};

bool TranslateWithQt(const std::string& german, std::string* translated) {
  if (QCoreApplication::instance() == nullptr) return false;
  const QString source = QString::fromLatin1(german.data(), static_cast<qsizetype>(german.size()));
  const QByteArray key = source.toUtf8();
  const QString text = QCoreApplication::translate(kContext, key.constData());
  if (text == source) return false;
  // The core keeps ISO-8859-1; the translations are written in it (scripts/translations
  // checks that), so nothing is lost here.
  *translated = text.toLatin1().toStdString();
  return true;
}

void Remove(std::unique_ptr<QTranslator>& translator) {
  if (translator == nullptr) return;
  QCoreApplication::removeTranslator(translator.get());
  translator.reset();
}

}  // namespace

const char* LanguageCode(int index) {
  return index >= 0 && index < kLanguageCount ? kCodes[index] : kCodes[0];
}

int LanguageFromLocale(const std::string& locale) {
  // language[_territory][.codeset][@modifier]
  const std::string code = locale.substr(0, locale.find_first_of("_.@-"));
  for (int i = 0; i < kLanguageCount; ++i) {
    if (code == kCodes[i]) return i;
  }
  return 0;
}

int DesktopLanguage() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return LanguageFromLocale(value);
  }
  return 0;
}

bool InstallTranslator(int index, const std::string& programFolder) {
  if (index < 0 || index >= kLanguageCount) index = 0;
  Remove(g_own);
  Remove(g_qt);
  SetTextTranslator(&TranslateWithQt);
  g_installed = index;
  // Without Qt's translations installed the file dialogs keep Qt's English.
  g_qt = std::make_unique<QTranslator>();
  if (g_qt->load(QStringLiteral("qtbase_") + QLatin1String(kCodes[index]),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(g_qt.get());
  } else {
    g_qt.reset();
  }
  if (index == 0) return true;  // German is the source text
  g_own = std::make_unique<QTranslator>();
  const std::string folder = JoinPath(programFolder, "translations");
  if (!g_own->load(QStringLiteral("roviro_") + QLatin1String(kCodes[index]),
                   QString::fromLocal8Bit(folder.c_str()))) {
    g_own.reset();
    return false;
  }
  QCoreApplication::installTranslator(g_own.get());
  return true;
}

void RemoveTranslators() {
  Remove(g_own);
  Remove(g_qt);
  g_installed = 0;
}

int InstalledLanguage() { return g_installed; }

QString QTx(const char* german) { return QString::fromLatin1(Tx(german).c_str()); }

}  // namespace roviro
