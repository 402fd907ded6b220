#pragma once
// The box's own view of the wire frame: 0x02, LEN, LEN payload bytes (header and data),
// checksum (sum of the payload modulo 256), 0x03. Written apart from the program's framing on
// purpose, so that a fault on either side shows up as a failing test.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace roviro::sim {

inline constexpr std::uint8_t kStart = 0x02;
inline constexpr std::uint8_t kEnd = 0x03;
inline constexpr int kMaxPayload = 251;

std::uint8_t PayloadSum(std::span<const std::uint8_t> payload);

// The whole frame for a payload; empty when the payload is empty or longer than 251 bytes.
std::vector<std::uint8_t> EncodeFrame(std::span<const std::uint8_t> payload);

// Collects incoming bytes into frames the way the box firmware does: it waits for a start byte,
// takes LEN + 3 more, and accepts the frame only with the right checksum and end byte. A frame
// that pauses longer than the inter-byte time-out is thrown away, so a lost byte costs one
// request and not every following one.
class FrameDecoder {
 public:
  explicit FrameDecoder(std::int64_t interByteTimeoutUs = 20000)
      : m_timeoutUs(interByteTimeoutUs) {}

  // Feeds one byte that arrived at `nowUs`; returns the payload when it completed a good frame.
  std::optional<std::vector<std::uint8_t>> Feed(std::uint8_t byte, std::int64_t nowUs);

  // Frames thrown away so far (bad checksum, bad end byte, bad length, time-out).
  int Rejected() const { return m_rejected; }

 private:
  std::vector<std::uint8_t> m_buffer;
  std::int64_t m_lastUs = 0;
  std::int64_t m_timeoutUs;
  int m_rejected = 0;
};

}  // namespace roviro::sim
