// HexToBytes may write at most byteCount bytes: the buffer is exactly that large and followed
// by a guard area that must stay untouched. Also: HexToValue never reads past its text, and
// bytes written by BytesToHex read back unchanged through HexToBytes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "pages/TextHelpers.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

constexpr std::size_t kGuard = 64;
constexpr std::uint8_t kGuardByte = 0xA5;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int byteCount = data[0];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  // Exactly byteCount bytes, then the guard. Address sanitizer would also catch a write past
  // the vector, the guard catches it even without it.
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(byteCount) + kGuard, kGuardByte);
  std::uint8_t* result = roviro::HexToBytes(buffer.data(), text, byteCount);
  Check(text.empty() ? result == nullptr : result == buffer.data());
  for (std::size_t i = static_cast<std::size_t>(byteCount); i < buffer.size(); ++i) {
    Check(buffer[i] == kGuardByte);
  }
  // Bytes beyond what the digits reach keep their value.
  const std::string digits = roviro::RemoveBlanks(text);
  const std::size_t reached = (std::min<std::size_t>(digits.size(), 2u * byteCount) + 1) / 2;
  for (std::size_t i = reached; i < static_cast<std::size_t>(byteCount); ++i) {
    Check(buffer[i] == kGuardByte);
  }
  Check(roviro::HexToBytes(nullptr, text, byteCount) == nullptr);

  // HexToValue agrees with HexToBytes on the padded word, and ValueToHex reads back.
  const std::uint32_t value = roviro::HexToValue(text);
  std::string word = digits.substr(0, 8);
  word.insert(0, 8 - word.size(), '0');
  std::uint8_t four[4] = {};
  roviro::HexToBytes(four, word, 4);
  Check(value == (std::uint32_t{four[0]} << 24 | std::uint32_t{four[1]} << 16 |
                  std::uint32_t{four[2]} << 8 | four[3]));
  Check(roviro::HexToValue(roviro::ValueToHex(value)) == value);

  // Round trip: any bytes written as hex read back as the same bytes.
  const auto* bytes = data + 1;
  const int length = static_cast<int>(size - 1);
  if (length > 0) {
    const std::string hex = roviro::BytesToHex(bytes, length);
    Check(hex.size() == static_cast<std::size_t>(length) * 3 - 1);
    std::vector<std::uint8_t> back(static_cast<std::size_t>(length) + kGuard, kGuardByte);
    Check(roviro::HexToBytes(back.data(), hex, length) == back.data());
    Check(std::memcmp(back.data(), bytes, static_cast<std::size_t>(length)) == 0);
    Check(back[static_cast<std::size_t>(length)] == kGuardByte);
    Check(roviro::BytesEqual(back.data(), bytes, length, length));
  } else {
    Check(roviro::BytesToHex(bytes, 0) == "Kein Sting zum wandeln vorhanden!");
  }
  return 0;
}
