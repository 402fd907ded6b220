#include "sim/SimCodec.h"

namespace roviro::sim {

std::uint8_t PayloadSum(std::span<const std::uint8_t> payload) {
  unsigned sum = 0;
  for (std::uint8_t b : payload) sum += b;
  return static_cast<std::uint8_t>(sum & 0xFFu);
}

std::vector<std::uint8_t> EncodeFrame(std::span<const std::uint8_t> payload) {
  if (payload.empty() || payload.size() > kMaxPayload) return {};
  std::vector<std::uint8_t> frame;
  frame.reserve(payload.size() + 4);
  frame.push_back(kStart);
  frame.push_back(static_cast<std::uint8_t>(payload.size()));
  frame.insert(frame.end(), payload.begin(), payload.end());
  frame.push_back(PayloadSum(payload));
  frame.push_back(kEnd);
  return frame;
}

std::optional<std::vector<std::uint8_t>> FrameDecoder::Feed(std::uint8_t byte, std::int64_t nowUs) {
  if (!m_buffer.empty() && nowUs - m_lastUs > m_timeoutUs) {
    m_buffer.clear();
    ++m_rejected;
  }
  m_lastUs = nowUs;
  if (m_buffer.empty()) {
    if (byte == kStart) m_buffer.push_back(byte);
    return std::nullopt;  // anything else between frames is line noise
  }
  m_buffer.push_back(byte);
  const std::size_t len = m_buffer[1];
  if (m_buffer.size() == 2 && (len == 0 || len > kMaxPayload)) {
    m_buffer.clear();
    ++m_rejected;
    if (byte == kStart) m_buffer.push_back(byte);
    return std::nullopt;
  }
  if (m_buffer.size() < len + 4) return std::nullopt;
  const std::span<const std::uint8_t> payload(m_buffer.data() + 2, len);
  const bool good = m_buffer[len + 2] == PayloadSum(payload) && m_buffer[len + 3] == kEnd;
  std::optional<std::vector<std::uint8_t>> result;
  if (good) {
    result.emplace(payload.begin(), payload.end());
  } else {
    ++m_rejected;
  }
  m_buffer.clear();
  return result;
}

}  // namespace roviro::sim
