#pragma once
// Hexadecimal text, line reading and small string helpers shared by the whole program.
// Strings hold ISO-8859-1 bytes.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/Result.h"

namespace roviro {

// Reads hex pairs from `text` (blanks removed) into `buffer`, at most `byteCount` bytes, two
// digits at a time from the left; a lone last digit c counts as "0c". Bytes not reached keep
// their value. Returns `buffer`, or null when the buffer is missing or the text is empty.
std::uint8_t* HexToBytes(std::uint8_t* buffer, std::string_view text, int byteCount);

// "0A FF": each byte as two upper-case digits, one blank between them.
std::string BytesToHex(const std::uint8_t* bytes, int length);

// The 32-bit value of a hex word: blanks removed, digits after the eighth ignored, padded on
// the left with "0", read as four bytes, most significant first.
std::uint32_t HexToValue(std::string_view text);

// The four bytes of `value`, most significant first, as BytesToHex writes them.
std::string ValueToHex(std::uint32_t value);

// True only when both are present, the lengths are equal and every byte matches.
bool BytesEqual(const std::uint8_t* a, const std::uint8_t* b, int lengthA, int lengthB);

// Removes every leading and trailing `c`; returns the last character left, or 0 when nothing
// is left or `s` is missing.
std::uint8_t TrimChar(std::string* s, char c);

// One line of at most 489 characters, with its line feed; empty at the end of the file or
// without a file.
std::string ReadLine(std::FILE* file);

// Every line of a settings text file as the program reads them: without its line feed (and a
// carriage return a file written on Windows keeps), without everything from "//" on; lines
// that are then empty are left out.
std::vector<std::string> ReadSettingLines(std::FILE* file);

enum CleanLineOption : int {
  kCleanCutToColon = 1,  // remove everything up to and including the first ":"
  kCleanLineFeed = 2,    // remove one trailing line feed
  kCleanComment = 4,     // remove everything from the first "//" on
};

// Applies the options in the order 2, 4, 1 to `line` itself and returns the result.
std::string CleanLine(std::string& line, int options);

// Replaces every two-character sequence backslash-n by a line feed.
std::string ExpandLineBreaks(std::string_view text);

// `text` with every occurrence of `what` replaced by `with` (nothing for an empty `what`).
std::string ReplaceAll(std::string text, std::string_view what, std::string_view with);

// Removes every blank.
std::string RemoveBlanks(std::string_view text);

// Case-insensitive comparison of ASCII letters; other bytes compare exactly.
bool EqualsNoCase(std::string_view a, std::string_view b);

// Fills `out` with the local time from `clock`; S_OK when it is a valid date and time,
// E_FAIL when `out` is missing or the value is not valid.
HResult LocalTime(SystemTime* out, Clock& clock = RealClock());

}  // namespace roviro
