#include "device/Telegram.h"

#include <cstring>
#include <span>

#include "catalogue/ParameterImage.h"

namespace roviro {

void Telegram::Reset() { *this = Telegram{}; }

void Telegram::SetCommand(std::uint8_t command) {
  Reset();
  m_command = command;
  m_headerLength = 1;
}

void Telegram::SetHeader(std::uint8_t command, std::uint8_t subCode) {
  Reset();
  m_command = command;
  m_subCode = subCode;
  m_headerLength = 2;
}

bool Telegram::AppendData(const std::uint8_t* bytes, int count) {
  if (count < 0 || m_headerLength + m_length + count > kMaxFrameLen) return false;
  if (count > 0) std::memcpy(m_data.data() + m_length, bytes, static_cast<std::size_t>(count));
  m_length = static_cast<std::uint8_t>(m_length + count);
  return true;
}

std::uint8_t FrameChecksum(const Telegram& t) {
  unsigned sum = 0;
  if (t.m_headerLength >= 1) sum += t.m_command;
  if (t.m_headerLength >= 2) sum += t.m_subCode;
  // N is one byte, so it can never exceed the 270 data bytes the record holds.
  static_assert(kTelegramDataSize > 0xFF);
  for (int i = 0; i < t.m_length; ++i) sum += t.m_data[i];
  return static_cast<std::uint8_t>(sum & 0xFFu);
}

int BuildFrame(const Telegram& t, std::uint8_t* out) {
  const int h = t.m_headerLength;
  const int n = t.m_length;
  if (h < 1 || h > 2 || h + n > kMaxFrameLen) return 0;
  int pos = 0;
  out[pos++] = 0x02;
  out[pos++] = static_cast<std::uint8_t>(h + n);
  out[pos++] = t.m_command;
  if (h == 2) out[pos++] = t.m_subCode;
  std::memcpy(out + pos, t.m_data.data(), static_cast<std::size_t>(n));
  pos += n;
  out[pos++] = FrameChecksum(t);
  out[pos++] = 0x03;
  return pos;
}

bool ParseFrame(const std::uint8_t* frame, int length, Telegram& t) {
  const int h = t.m_headerLength;
  if (length < 4 || h < 0 || h > 2) return false;
  const int len = frame[1];
  if (len < h || len > kMaxFrameLen || length < len + 4) return false;
  const int n = len - h;
  Telegram reply = t;
  reply.m_length = static_cast<std::uint8_t>(n);
  if (h >= 1) reply.m_command = frame[2];
  if (h >= 2) reply.m_subCode = frame[3];
  reply.m_data.fill(0);
  std::memcpy(reply.m_data.data(), frame + 2 + h, static_cast<std::size_t>(n));
  reply.m_checksum = frame[2 + len];
  if (FrameChecksum(reply) != reply.m_checksum) return false;
  t = reply;
  return true;
}

void SealBlock(Telegram& t) {
  if (t.m_length == 0) return;
  SealBlock(std::span<std::uint8_t>(t.m_data.data(), t.m_length));
}

}  // namespace roviro
