#pragma once
// The parameter set being worked on: seven blocks, 113 bytes back to back, plus its texts.
// One process-wide instance (TheParameterImage) lives for the whole run; functions take the
// image as an argument so that tests and the command-line tool can use their own.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace roviro {

inline constexpr int kParameterBlockSize = 113;

// One block of the parameter block: the motor read command that names it, its place, the
// catalogue / parameter-file line that carries it, the header under which a parameter file
// stores it.
struct BlockInfo {
  std::uint8_t command;
  int offset;
  int size;
  int line;
  std::uint8_t fileHeader;
};

// In the order the blocks lie in the parameter block.
inline constexpr std::array<BlockInfo, 7> kBlocks = {{
    {0x34, 0, 13, 4, 0x35},
    {0x22, 13, 13, 7, 0x23},
    {0x2E, 26, 11, 5, 0x2F},
    {0x32, 37, 11, 6, 0x33},
    {0x30, 48, 22, 2, 0x31},
    {0x39, 70, 25, 1, 0x3A},
    {0x3B, 95, 18, 3, 0x3C},
}};

// The block named by its read command, or nullptr.
const BlockInfo* FindBlock(std::uint8_t command);
// The block carried by line 1..7, or nullptr.
const BlockInfo* FindBlockByLine(int line);

using ParameterBlock = std::array<std::uint8_t, kParameterBlockSize>;

// The block defaults: all 0 except block 0x39 bytes 3..8, 11..13, 15, 16 = 255, byte 14 = 1.
ParameterBlock DefaultParameterBlock();

struct ParameterImage {
  std::int32_t m_valid = 0;
  ParameterBlock m_block = DefaultParameterBlock();
  std::string m_moName;     // motor name of the set
  std::string m_firma;      // company
  std::string m_name;       // set name
  std::string m_kommentar;  // comment, with real line breaks
  std::string m_datum;      // date text
  std::int32_t m_useKom = -1;
  std::string m_guid;  // identity text of the current catalogue motor

  void Clear();

  std::span<std::uint8_t> Block(std::uint8_t command);
  std::span<const std::uint8_t> Block(std::uint8_t command) const;

  // Lower three bits of block 0x39 byte 2.
  int Variant() const;
  // Block 0x39 bytes 0..2 as one 24-bit number, most significant first.
  std::uint32_t MotorIdentity() const;
};

// The upload date stamp in block 0x39 bytes 11..13: the local time packed as
// (year mod 128) << 17 | month << 13 | day << 8 | hour << 3, its three low bytes most
// significant first. 14 March 2011, 9 o'clock gives B6 6E 48.
struct UploadStamp {
  int yearMod128 = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
};
std::array<std::uint8_t, 3> EncodeUploadStamp(int year, int month, int day, int hour);
// Nothing for the unstamped bytes FF FF FF (a set that came from a file or the factory).
std::optional<UploadStamp> DecodeUploadStamp(std::span<const std::uint8_t, 3> bytes);

// The motor firmware version (block 0x39 byte 16) as the load-data screen shows it: nothing
// for 0; below 0x47 the value / 10 (" - Motor Firmware V3.5"); from 0x47 on the two nibbles
// (" - Motor Firmware V5.2").
std::string MotorFirmwareText(std::uint8_t version);

// The blocks a motor holding `image` would answer with, each sealed (its last byte the sum of
// the others), keyed by read command. Block 0x30, the motor's own operating data, is left out.
std::map<std::uint8_t, std::vector<std::uint8_t>> SealedMotorBlocks(const ParameterImage& image);

// The process-wide instance.
ParameterImage& TheParameterImage();

// The last byte of `block` becomes the sum of the others modulo 256.
void SealBlock(std::span<std::uint8_t> block);

}  // namespace roviro
