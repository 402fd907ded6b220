#pragma once
// The two encodings the program meets: texts are ISO-8859-1 bytes, as the stored files hold
// them; file names and paths are the system's (UTF-8 on Linux, also on the command line and in
// the terminal). These convert between the two where one crosses into the other.

#include <string>

namespace roviro {

// ISO-8859-1 bytes as UTF-8, for the terminal, JSON and file names made from texts.
std::string Latin1ToUtf8(const std::string& text);
// UTF-8 as ISO-8859-1 bytes; characters outside it (and broken sequences) become "?".
std::string Utf8ToLatin1(const std::string& text);
// A path as a text of a message or a stored file: its UTF-8 name in ISO-8859-1.
inline std::string PathAsText(const std::string& path) { return Utf8ToLatin1(path); }

}  // namespace roviro
