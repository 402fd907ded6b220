#pragma once
// The program's own messages in the fitter's language: Qt translators loaded from
// "<program folder>/translations/roviro_<code>.qm" (made from translations/*.ts at build time)
// and Qt's own texts (standard buttons, file dialogs) from Qt's translations. German is the
// source text, so German needs no file of ours.

#include <QString>

#include <string>

#include "app/AppMessages.h"  // kLanguageCount

namespace roviro {

// The language code of `index` ("de", "en", "fr", "it", "nl"); German for any other index.
const char* LanguageCode(int index);

// The language a locale setting names ("fr_FR.UTF-8", "it", "nl_BE@euro"): its index, German
// (0) for anything not among the five.
int LanguageFromLocale(const std::string& locale);
// The desktop's language: the first non-empty of LC_ALL, LC_MESSAGES and LANG.
int DesktopLanguage();

// Installs the translators of language `index` (replacing those installed before) and makes
// the core's Tx() ask them. False when the program's own file for it is missing or unreadable
// (the messages then stay German).
bool InstallTranslator(int index, const std::string& programFolder);
// Removes them again: German, as before any was installed.
void RemoveTranslators();
// The language whose translators are installed (0 before any).
int InstalledLanguage();

// A German text (ISO-8859-1, as written in the code) in the installed language.
QString QTx(const char* german);

}  // namespace roviro
