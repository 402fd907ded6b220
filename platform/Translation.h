#pragma once
// The program's own fixed texts in the fitter's language. The German text (ISO-8859-1, as the
// core keeps every text) is both what is shown without a translation and the key under which
// the translation is found. The core stays free of the window system: the window installs a
// translator (app/Translations.*); without one (the command-line tool, the core's tests) every
// text stays as written.
//
// scripts/translations finds the texts to translate as the string literals inside Tx(...) and
// TX_NOOP(...), and checks that every one of them has a finished translation in each
// translations/roviro_<language>.ts.

#include <initializer_list>
#include <string>

// Marks a German text kept in a constant and translated where it is used (Tx(kConstant)).
#define TX_NOOP(text) text

namespace roviro {

// Answers the translation of `german` (ISO-8859-1), or nothing when it has none.
using TextTranslator = bool (*)(const std::string& german, std::string* translated);

// Installs the translator every Tx() asks (null: none). Safe against Tx() on other threads.
void SetTextTranslator(TextTranslator translator);

// The text in the fitter's language: the translation of `german`, else `german` itself.
std::string Tx(const std::string& german);
std::string Tx(const char* german);
// The same with %1, %2, ... %9 replaced by `args` in order; a translation may move them.
std::string Tx(const char* german, std::initializer_list<std::string> args);

}  // namespace roviro
