#include "pages/TextHelpers.h"

#include <cctype>
#include <cstdlib>

namespace roviro {

namespace {

// The value a "%x" scan reads from a two-character text: optional sign, optional "0x",
// hex digits. Text without any digit reads as 0.
std::uint8_t ScanHexPair(char first, char second) {
  const char pair[3] = {first, second, '\0'};
  char* end = nullptr;
  const long v = std::strtol(pair, &end, 16);
  if (end == pair) return 0;
  return static_cast<std::uint8_t>(static_cast<unsigned long>(v) & 0xFFu);
}

}  // namespace

std::uint8_t* HexToBytes(std::uint8_t* buffer, std::string_view text, int byteCount) {
  if (buffer == nullptr || text.empty()) return nullptr;
  const std::string digits = RemoveBlanks(text);
  if (byteCount <= 0) return buffer;
  std::size_t limit = static_cast<std::size_t>(byteCount) * 2;
  if (limit > digits.size()) limit = digits.size();
  std::size_t i = 0;
  int out = 0;
  for (; i + 1 < limit; i += 2) buffer[out++] = ScanHexPair(digits[i], digits[i + 1]);
  if (i < limit) buffer[out] = ScanHexPair('0', digits[i]);
  return buffer;
}

std::string BytesToHex(const std::uint8_t* bytes, int length) {
  if (length <= 0 || bytes == nullptr) return "Kein Sting zum wandeln vorhanden!";
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(static_cast<std::size_t>(length) * 3);
  for (int i = 0; i < length; ++i) {
    if (i > 0) out.push_back(' ');
    out.push_back(kDigits[bytes[i] >> 4]);
    out.push_back(kDigits[bytes[i] & 0x0F]);
  }
  return out;
}

std::uint32_t HexToValue(std::string_view text) {
  std::string digits = RemoveBlanks(text);
  if (digits.size() > 8) digits.resize(8);
  digits.insert(0, 8 - digits.size(), '0');
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) {
    value = (value << 8) | ScanHexPair(digits[2 * i], digits[2 * i + 1]);
  }
  return value;
}

std::string ValueToHex(std::uint32_t value) {
  const std::uint8_t bytes[4] = {
      static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
      static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
  return BytesToHex(bytes, 4);
}

bool BytesEqual(const std::uint8_t* a, const std::uint8_t* b, int lengthA, int lengthB) {
  if (a == nullptr || b == nullptr || lengthA != lengthB) return false;
  for (int i = 0; i < lengthA; ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

std::uint8_t TrimChar(std::string* s, char c) {
  if (s == nullptr) return 0;
  const auto first = s->find_first_not_of(c);
  if (first == std::string::npos) {
    s->clear();
    return 0;
  }
  const auto last = s->find_last_not_of(c);
  *s = s->substr(first, last - first + 1);
  return static_cast<std::uint8_t>(s->back());
}

std::string ReadLine(std::FILE* file) {
  if (file == nullptr) return {};
  char buffer[500] = {};
  if (std::fgets(buffer, 490, file) == nullptr) return {};
  return std::string(buffer);
}

std::string CleanLine(std::string& line, int options) {
  if ((options & kCleanLineFeed) && !line.empty() && line.back() == '\n') line.pop_back();
  if (options & kCleanComment) {
    const auto pos = line.find("//");
    if (pos != std::string::npos) line.erase(pos);
  }
  if (options & kCleanCutToColon) {
    const auto pos = line.find(':');
    if (pos != std::string::npos) line.erase(0, pos + 1);
  }
  return line;
}

std::string ExpandLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
      out.push_back('\n');
      ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

std::vector<std::string> ReadSettingLines(std::FILE* file) {
  std::vector<std::string> lines;
  for (;;) {
    std::string line = ReadLine(file);
    if (line.empty()) break;
    CleanLine(line, kCleanLineFeed | kCleanComment);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(std::move(line));
  }
  return lines;
}

std::string ReplaceAll(std::string text, std::string_view what, std::string_view with) {
  if (what.empty()) return text;
  for (std::size_t pos = 0; (pos = text.find(what, pos)) != std::string::npos; pos += with.size()) {
    text.replace(pos, what.size(), with);
  }
  return text;
}

std::string RemoveBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != ' ') out.push_back(c);
  }
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    if (ca == cb) continue;
    if (ca < 128 && cb < 128 && std::tolower(ca) == std::tolower(cb)) continue;
    return false;
  }
  return true;
}

HResult LocalTime(SystemTime* out, Clock& clock) {
  if (out == nullptr) return E_FAIL;
  *out = clock.LocalNow();
  return IsValidSystemTime(*out) ? S_OK : E_FAIL;
}

}  // namespace roviro
