#include "catalogue/ParameterImage.h"

#include <cassert>
#include <cstdio>

namespace roviro {

const BlockInfo* FindBlock(std::uint8_t command) {
  for (const auto& b : kBlocks) {
    if (b.command == command) return &b;
  }
  return nullptr;
}

const BlockInfo* FindBlockByLine(int line) {
  for (const auto& b : kBlocks) {
    if (b.line == line) return &b;
  }
  return nullptr;
}

ParameterBlock DefaultParameterBlock() {
  ParameterBlock block{};
  const int base = FindBlock(0x39)->offset;
  for (int i = 3; i <= 8; ++i) block[base + i] = 0xFF;
  for (int i = 11; i <= 13; ++i) block[base + i] = 0xFF;
  block[base + 14] = 1;
  block[base + 15] = 0xFF;
  block[base + 16] = 0xFF;
  return block;
}

void ParameterImage::Clear() {
  m_valid = 0;
  m_block = DefaultParameterBlock();
  m_moName.clear();
  m_firma.clear();
  m_name.clear();
  m_kommentar.clear();
  m_datum.clear();
  m_useKom = -1;
  m_guid.clear();
}

std::span<std::uint8_t> ParameterImage::Block(std::uint8_t command) {
  const BlockInfo* info = FindBlock(command);
  assert(info != nullptr);
  if (info == nullptr) return {};
  return std::span<std::uint8_t>(m_block).subspan(static_cast<std::size_t>(info->offset),
                                                  static_cast<std::size_t>(info->size));
}

std::span<const std::uint8_t> ParameterImage::Block(std::uint8_t command) const {
  const BlockInfo* info = FindBlock(command);
  assert(info != nullptr);
  if (info == nullptr) return {};
  return std::span<const std::uint8_t>(m_block).subspan(static_cast<std::size_t>(info->offset),
                                                        static_cast<std::size_t>(info->size));
}

int ParameterImage::Variant() const { return Block(0x39)[2] & 7; }

std::uint32_t ParameterImage::MotorIdentity() const {
  const auto b = Block(0x39);
  return (std::uint32_t{b[0]} << 16) | (std::uint32_t{b[1]} << 8) | b[2];
}

std::array<std::uint8_t, 3> EncodeUploadStamp(int year, int month, int day, int hour) {
  const std::uint32_t packed = (static_cast<std::uint32_t>(year % 128) << 17) |
                               (static_cast<std::uint32_t>(month & 0xF) << 13) |
                               (static_cast<std::uint32_t>(day & 0x1F) << 8) |
                               (static_cast<std::uint32_t>(hour & 0x1F) << 3);
  return {static_cast<std::uint8_t>(packed >> 16), static_cast<std::uint8_t>(packed >> 8),
          static_cast<std::uint8_t>(packed)};
}

std::optional<UploadStamp> DecodeUploadStamp(std::span<const std::uint8_t, 3> bytes) {
  if (bytes[0] == 0xFF && bytes[1] == 0xFF && bytes[2] == 0xFF) return std::nullopt;
  const std::uint32_t packed =
      (std::uint32_t{bytes[0]} << 16) | (std::uint32_t{bytes[1]} << 8) | bytes[2];
  UploadStamp s;
  s.yearMod128 = static_cast<int>((packed >> 17) & 0x7F);
  s.month = static_cast<int>((packed >> 13) & 0xF);
  s.day = static_cast<int>((packed >> 8) & 0x1F);
  s.hour = static_cast<int>((packed >> 3) & 0x1F);
  return s;
}

std::string MotorFirmwareText(std::uint8_t version) {
  char text[64] = {};
  if (version == 0) return {};
  if (version < 0x47) {
    // Tenths in whole numbers: the text keeps its decimal point whatever the desktop's
    // locale (a printed double would take the locale's decimal comma).
    std::snprintf(text, sizeof text, " - Motor Firmware V%d.%d", version / 10, version % 10);
  } else {
    std::snprintf(text, sizeof text, " - Motor Firmware V%1.1d.%1.1d", version >> 4, version & 0xF);
  }
  return text;
}

ParameterImage& TheParameterImage() {
  static ParameterImage image;
  return image;
}

void SealBlock(std::span<std::uint8_t> block) {
  if (block.empty()) return;
  unsigned sum = 0;
  for (std::size_t i = 0; i + 1 < block.size(); ++i) sum += block[i];
  block.back() = static_cast<std::uint8_t>(sum & 0xFF);
}

std::map<std::uint8_t, std::vector<std::uint8_t>> SealedMotorBlocks(const ParameterImage& image) {
  std::map<std::uint8_t, std::vector<std::uint8_t>> out;
  for (const BlockInfo& info : kBlocks) {
    if (info.command == 0x30) continue;
    const auto block = image.Block(info.command);
    std::vector<std::uint8_t> bytes(block.begin(), block.end());
    SealBlock(bytes);
    out[info.command] = std::move(bytes);
  }
  return out;
}

}  // namespace roviro
