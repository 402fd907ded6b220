#pragma once
// One request or reply to the programming box, as a fixed 275-byte record, and its wire frame:
// 0x02, LEN = H + N, the H header bytes, the N data bytes, the checksum (sum of header and data
// modulo 256), 0x03. No escaping: the frame is delimited by its length byte.

#include <array>
#include <cstdint>

#include "platform/Clock.h"

namespace roviro {

inline constexpr int kTelegramDataSize = 270;
inline constexpr int kMaxFrameLen = 251;  // the largest LEN the receiver can hold
inline constexpr int kMaxFrameBytes = kMaxFrameLen + 4;

struct Telegram {
  std::uint8_t m_length = 0;        // N, the number of data bytes
  std::uint8_t m_command = 0;       // first header byte
  std::uint8_t m_subCode = 0;       // second header byte, only with H = 2
  std::uint8_t m_headerLength = 0;  // H: 1 or 2 (0 for a receive that keeps the header as data)
  std::array<std::uint8_t, kTelegramDataSize> m_data{};
  std::uint8_t m_checksum = 0;

  // All 275 bytes to zero.
  void Reset();
  // A fresh request: command c with H = 1 and no data.
  void SetCommand(std::uint8_t command);
  // A fresh request: {command, subCode} with H = 2 and no data.
  void SetHeader(std::uint8_t command, std::uint8_t subCode);
  // Appends data bytes; false (and nothing appended) when they would not fit in one frame.
  bool AppendData(const std::uint8_t* bytes, int count);
};
static_assert(sizeof(Telegram) == 275, "the telegram record is 275 bytes");

// Sum of the H header bytes and the N data bytes, modulo 256.
std::uint8_t FrameChecksum(const Telegram& t);

// Writes the wire frame of `t` (its checksum computed afresh) into `out`, which holds at least
// kMaxFrameBytes bytes. Returns the frame length H + N + 4, or 0 when H is not 1 or 2 or
// H + N exceeds 251.
int BuildFrame(const Telegram& t, std::uint8_t* out);

// Parses a complete received frame of `length` bytes into `t`, reading the header length from
// t.m_headerLength. Fails when LEN is below H or above 251, when the frame is shorter than LEN
// promises, or when the checksum differs. The start and end bytes are not checked. On failure
// `t` is left unchanged.
bool ParseFrame(const std::uint8_t* frame, int length, Telegram& t);

// Sets the block check byte: the last data byte becomes the sum of the other data bytes.
void SealBlock(Telegram& t);

}  // namespace roviro
