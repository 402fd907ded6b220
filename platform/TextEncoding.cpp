#include "platform/TextEncoding.h"

#include <cstdint>

namespace roviro {

std::string Latin1ToUtf8(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x80) {
      out.push_back(c);
    } else {
      out.push_back(static_cast<char>(0xC0 | (u >> 6)));
      out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    }
  }
  return out;
}

std::string Utf8ToLatin1(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto u = static_cast<unsigned char>(text[i]);
    if (u < 0x80) {
      out.push_back(text[i]);
      ++i;
      continue;
    }
    // Length of the sequence from its lead byte; stray continuation bytes count as one.
    std::size_t len = 1;
    std::uint32_t cp = 0;
    if ((u & 0xE0) == 0xC0) {
      len = 2;
      cp = u & 0x1F;
    } else if ((u & 0xF0) == 0xE0) {
      len = 3;
      cp = u & 0x0F;
    } else if ((u & 0xF8) == 0xF0) {
      len = 4;
      cp = u & 0x07;
    }
    bool valid = len > 1 && i + len <= text.size();
    for (std::size_t k = 1; valid && k < len; ++k) {
      const auto cont = static_cast<unsigned char>(text[i + k]);
      if ((cont & 0xC0) != 0x80) valid = false;
      cp = (cp << 6) | (cont & 0x3F);
    }
    if (!valid) {
      out.push_back('?');
      ++i;
      continue;
    }
    out.push_back(cp <= 0xFF ? static_cast<char>(cp) : '?');
    i += len;
  }
  return out;
}

}  // namespace roviro
