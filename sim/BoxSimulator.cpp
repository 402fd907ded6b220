#include "sim/BoxSimulator.h"

#include <algorithm>

#include "sim/TraceReplay.h"

namespace roviro::sim {

namespace {

// Block sizes by the motor's read command.
const std::map<std::uint8_t, std::size_t> kBlockSizes = {
    {0x34, 13}, {0x22, 13}, {0x2E, 11}, {0x32, 11}, {0x30, 22}, {0x39, 25}, {0x3B, 18}};

constexpr std::size_t kBoxSizes[3] = {25, 11, 13};

}  // namespace

BoxSimulator::BoxSimulator(Clock& clock) : m_nowUs([c = &clock] { return c->NowMs() * 1000; }) {
  m_motor = StandardMotorBlocks(0);
  m_factory = m_motor;
  const std::uint8_t sources[3] = {0x39, 0x2E, 0x34};
  for (int i = 0; i < 3; ++i) {
    m_box[i] = m_motor[sources[i]];
    m_box[i][3] = static_cast<std::uint8_t>(m_box[i][3] + 1);  // tell box from motor in tests
    Seal(m_box[i]);
  }
}

void BoxSimulator::UseMicrosecondSource(std::function<std::int64_t()> nowUs) {
  std::lock_guard lock(m_mutex);
  m_nowUs = std::move(nowUs);
}

std::int64_t BoxSimulator::NowUs() const { return m_nowUs(); }

void BoxSimulator::Seal(std::vector<std::uint8_t>& block) {
  if (block.empty()) return;
  unsigned sum = 0;
  for (std::size_t i = 0; i + 1 < block.size(); ++i) sum += block[i];
  block.back() = static_cast<std::uint8_t>(sum & 0xFFu);
}

bool BoxSimulator::SealOk(const std::vector<std::uint8_t>& block) {
  if (block.empty()) return false;
  std::vector<std::uint8_t> copy = block;
  Seal(copy);
  return copy.back() == block.back();
}

std::map<std::uint8_t, std::vector<std::uint8_t>> BoxSimulator::StandardMotorBlocks(int variant) {
  std::map<std::uint8_t, std::vector<std::uint8_t>> blocks;
  for (const auto& [cmd, size] : kBlockSizes) {
    std::vector<std::uint8_t> b(size);
    for (std::size_t i = 0; i < size; ++i) b[i] = static_cast<std::uint8_t>(cmd + 7 * i + 3);
    blocks[cmd] = b;
  }
  auto& id = blocks[0x39];
  id[0] = 0x12;
  id[1] = 0x34;
  id[2] = static_cast<std::uint8_t>(0x40 | (variant & 7));
  id[16] = 0x52;           // motor firmware
  blocks[0x2E][8] = 0x85;  // the flag bit an upload takes over from the motor
  // Operating data: 90061 s running time, two counters, ten event codes.
  auto& op = blocks[0x30];
  std::fill(op.begin(), op.end(), 0);
  op[0] = 0xCD;
  op[1] = 0x5F;
  op[2] = 0x01;
  op[5] = 7;
  op[7] = 3;
  // Oldest first: switched on, end stops, an obstacle, a parameter write.
  static constexpr std::uint8_t kEvents[10] = {0x01, 0x02, 0x03, 0x02, 0x04,
                                               0x03, 0x0B, 0x02, 0x03, 0x01};
  for (int k = 0; k < 10; ++k) op[11 + k] = kEvents[k];
  for (auto& [cmd, b] : blocks) Seal(b);
  return blocks;
}

// ---- wire ----

bool BoxSimulator::FromProgram(const std::uint8_t* bytes, std::size_t count) {
  std::lock_guard lock(m_mutex);
  if (m_vanished) return false;
  const std::int64_t now = m_nowUs();
  m_bytesIn += static_cast<std::int64_t>(count);
  // One write is one frame: a flipped bit hits it as a whole.
  std::size_t flipAt = count;
  std::uint8_t flipMask = 0;
  if (count > 0 && Chance(m_faults.flipFramePpm)) {
    flipAt = Random(static_cast<std::uint32_t>(count));
    flipMask = static_cast<std::uint8_t>(1u << Random(8));
    ++m_counts.flippedFrames;
  }
  for (std::size_t i = 0; i < count; ++i) {
    // Paced, the bytes follow each other on the line, also across writes: a write made while
    // the previous one is still on its way queues behind it.
    std::int64_t at = now;
    if (m_pacing) {
      at = std::max(now, m_lineFreeUs) + kByteTimeUs;
      m_lineFreeUs = at;
    }
    if (Chance(m_faults.dropBytePpm)) {
      ++m_counts.droppedBytes;
      continue;
    }
    std::uint8_t b = bytes[i];
    if (i == flipAt) b ^= flipMask;
    auto payload = m_decoder.Feed(b, at);
    if (!payload) continue;
    m_requests.push_back(*payload);
    if (m_onRequest) m_onRequest(*payload);
    if (m_unplugAfter > 0 && --m_unplugAfter == 0) {
      m_vanished = true;
      m_unplugAfter = -1;
    }
    if (!m_vanished && Chance(m_faults.unplugPpm)) {
      m_vanished = true;
      ++m_counts.unplugs;
    }
    if (m_vanished) {
      m_out.clear();
      return true;  // the write itself went out; the box is gone afterwards
    }
    if (m_replay) {
      Replay(*payload, at);
    } else {
      AdvanceLine(at);
      // A new connection start while the motor is about to leave: it is still being worked on
      // (a read-back after the write). Requests to the box alone do not keep it.
      if ((*payload)[0] == 0x21) m_leaveAtUs = -1;
      Handle(*payload, at);
      const bool connectionEnd = (*payload)[0] == 0x13 && payload->size() >= 2;
      if (connectionEnd && !m_line.empty() && m_motorPresent) m_leaveAtUs = at + m_lineDwellUs;
    }
  }
  return true;
}

void BoxSimulator::SetReplay(std::shared_ptr<TraceReplay> replay) {
  std::lock_guard lock(m_mutex);
  m_replay = std::move(replay);
}

void BoxSimulator::Replay(const std::vector<std::uint8_t>& payload, std::int64_t arrivedUs) {
  for (const auto& output : m_replay->Answer(payload)) {
    std::int64_t due = arrivedUs + output.delayUs;
    if (!m_out.empty()) due = std::max(due, m_out.back().dueUs);
    for (std::uint8_t b : output.bytes) {
      if (m_pacing) due += kByteTimeUs;
      m_out.push_back({b, due});
    }
  }
}

int BoxSimulator::ToProgram(std::uint8_t* buffer, int capacity) {
  std::lock_guard lock(m_mutex);
  if (m_vanished) return -1;
  const std::int64_t now = m_nowUs();
  int n = 0;
  while (n < capacity && !m_out.empty() && m_out.front().dueUs <= now) {
    buffer[n++] = m_out.front().byte;
    ++m_bytesOut;
    m_out.pop_front();
  }
  return n;
}

std::int64_t BoxSimulator::NextDueUs() const {
  std::lock_guard lock(m_mutex);
  return m_out.empty() ? -1 : m_out.front().dueUs;
}

bool BoxSimulator::AcquirePort() {
  std::lock_guard lock(m_mutex);
  if (m_vanished || m_portOpen) return false;
  m_portOpen = true;
  return true;
}

void BoxSimulator::ReleasePort() {
  std::lock_guard lock(m_mutex);
  m_portOpen = false;
}

bool BoxSimulator::Vanished() const {
  std::lock_guard lock(m_mutex);
  return m_vanished;
}

void BoxSimulator::Unplug() {
  std::lock_guard lock(m_mutex);
  m_vanished = true;
  m_out.clear();
}

void BoxSimulator::Replug() {
  std::lock_guard lock(m_mutex);
  m_vanished = false;
  m_portOpen = false;
  m_out.clear();
  m_decoder = FrameDecoder();
  m_lineFreeUs = 0;
  m_awake = false;
}

// ---- the line of motors ----

void BoxSimulator::SetLine(const std::vector<std::array<std::uint8_t, 3>>& identities,
                           std::int64_t dwellUs, std::int64_t gapUs) {
  std::lock_guard lock(m_mutex);
  m_line = identities;
  m_lineBlocks = m_motor;
  m_lineNext = 0;
  m_lineDwellUs = dwellUs > 0 ? dwellUs : 0;
  m_lineGapUs = gapUs > 0 ? gapUs : 0;
  m_leaveAtUs = -1;
  m_arriveAtUs = -1;
  m_arrivals.clear();
  m_motorPresent = false;
  if (!m_line.empty()) NextLineMotor(m_nowUs());
}

int BoxSimulator::LineArrivals() const {
  std::lock_guard lock(m_mutex);
  return static_cast<int>(m_arrivals.size());
}

std::vector<std::int64_t> BoxSimulator::LineArrivalTimesUs() const {
  std::lock_guard lock(m_mutex);
  return m_arrivals;
}

void BoxSimulator::NextLineMotor(std::int64_t nowUs) {
  m_arriveAtUs = -1;
  if (m_lineNext >= m_line.size()) return;
  const std::array<std::uint8_t, 3>& identity = m_line[m_lineNext++];
  m_motor = m_lineBlocks;
  std::vector<std::uint8_t>& id = m_motor[0x39];
  if (id.size() >= 3) {
    std::copy(identity.begin(), identity.end(), id.begin());
    Seal(id);
  }
  m_factory = m_motor;
  m_motorPresent = true;
  m_awake = false;
  m_arrivals.push_back(nowUs);
}

void BoxSimulator::AdvanceLine(std::int64_t nowUs) {
  if (m_line.empty()) return;
  if (m_leaveAtUs >= 0 && nowUs >= m_leaveAtUs) {
    m_motorPresent = false;
    m_awake = false;
    if (m_lineNext < m_line.size()) m_arriveAtUs = m_leaveAtUs + m_lineGapUs;
    m_leaveAtUs = -1;
  }
  if (m_arriveAtUs >= 0 && nowUs >= m_arriveAtUs) NextLineMotor(m_arriveAtUs);
}

// ---- faults and randomness ----

bool BoxSimulator::Chance(int ppm) {
  if (ppm <= 0) return false;
  return static_cast<int>(m_rng() % 1000000u) < ppm;
}

std::uint32_t BoxSimulator::Random(std::uint32_t bound) {
  return bound == 0 ? 0 : static_cast<std::uint32_t>(m_rng() % bound);
}

void BoxSimulator::SetFaults(const FaultConfig& faults) {
  std::lock_guard lock(m_mutex);
  m_faults = faults;
  m_rng.seed(faults.seed);
}

void BoxSimulator::OnRequest(std::function<void(const std::vector<std::uint8_t>&)> hook) {
  std::lock_guard lock(m_mutex);
  m_onRequest = std::move(hook);
}

FaultCounts BoxSimulator::Counts() const {
  std::lock_guard lock(m_mutex);
  return m_counts;
}

void BoxSimulator::DropNextReplies(int count) {
  std::lock_guard lock(m_mutex);
  m_dropReplies = count;
}
void BoxSimulator::DelayNextReply(std::int64_t ms) {
  std::lock_guard lock(m_mutex);
  m_delayNextMs = ms;
}
void BoxSimulator::CorruptNextReplyChecksum() {
  std::lock_guard lock(m_mutex);
  m_corruptNext = true;
}
void BoxSimulator::StallNextReply(std::int64_t ms, int afterBytes) {
  std::lock_guard lock(m_mutex);
  m_stallNextMs = ms;
  m_stallAfter = afterBytes;
}
void BoxSimulator::SilenceCommand(std::uint8_t command, int count) {
  std::lock_guard lock(m_mutex);
  m_silenced[{command, -1}] = count;
}
void BoxSimulator::SilenceRequest(std::uint8_t command, std::uint8_t subCode, int count) {
  std::lock_guard lock(m_mutex);
  m_silenced[{command, subCode}] = count;
}
void BoxSimulator::UnplugAfterRequests(int count) {
  std::lock_guard lock(m_mutex);
  m_unplugAfter = count;
}

// ---- sending ----

void BoxSimulator::Reply(const std::vector<std::uint8_t>& payload, std::int64_t earliestUs,
                         bool randomFaults) {
  std::vector<std::uint8_t> frame = EncodeFrame(payload);
  if (frame.empty()) return;
  if (m_dropReplies > 0) {
    --m_dropReplies;
    return;
  }
  if (m_corruptNext) {
    frame[frame.size() - 2] ^= 0x5A;
    m_corruptNext = false;
  }
  std::int64_t start = earliestUs;
  if (m_delayNextMs > 0) {
    start += m_delayNextMs * 1000;
    m_delayNextMs = 0;
  }
  std::size_t stallAt = frame.size();
  std::int64_t stallUs = 0;
  if (m_stallNextMs > 0) {
    stallAt = static_cast<std::size_t>(
        std::clamp<int>(m_stallAfter, 1, static_cast<int>(frame.size()) - 1));
    stallUs = m_stallNextMs * 1000;
    m_stallNextMs = 0;
  }
  if (randomFaults) {
    if (Chance(m_faults.flipFramePpm) || Chance(m_faults.flipReplyPpm)) {
      frame[Random(static_cast<std::uint32_t>(frame.size()))] ^=
          static_cast<std::uint8_t>(1u << Random(8));
      ++m_counts.flippedFrames;
    }
    if (Chance(m_faults.latePpm)) {
      start += m_faults.lateMs * 1000;
      ++m_counts.lateReplies;
    }
    if (stallUs == 0 && Chance(m_faults.stallPpm)) {
      stallAt = 1 + Random(static_cast<std::uint32_t>(frame.size() - 1));
      stallUs = m_faults.stallMs * 1000;
      ++m_counts.stalls;
    }
  }
  if (!m_out.empty()) start = std::max(start, m_out.back().dueUs);
  std::int64_t due = start;
  for (std::size_t i = 0; i < frame.size(); ++i) {
    if (m_pacing) due += kByteTimeUs;
    if (i == stallAt) due += stallUs;
    if (randomFaults && Chance(m_faults.dropBytePpm)) {
      ++m_counts.droppedBytes;
      continue;
    }
    m_out.push_back({frame[i], due});
  }
}

void BoxSimulator::SendUnsolicited(const std::vector<std::uint8_t>& payload, std::int64_t delayMs) {
  std::lock_guard lock(m_mutex);
  if (m_vanished) return;
  Reply(payload, m_nowUs() + delayMs * 1000);
}

void BoxSimulator::SendRawBytes(const std::vector<std::uint8_t>& bytes, std::int64_t delayMs) {
  std::lock_guard lock(m_mutex);
  if (m_vanished) return;
  std::int64_t due = m_nowUs() + delayMs * 1000;
  if (!m_out.empty()) due = std::max(due, m_out.back().dueUs);
  for (std::uint8_t b : bytes) m_out.push_back({b, due});
}

bool BoxSimulator::MotorAnswers() const {
  return m_motorPresent && (m_awake || m_reach == MotorReach::kDirect);
}

// ---- the box and the motor ----

void BoxSimulator::Handle(const std::vector<std::uint8_t>& p, std::int64_t at) {
  const std::uint8_t cmd = p[0];
  const auto own = m_processingByCommand.find(cmd);
  at += own != m_processingByCommand.end() ? own->second : m_processingUs;
  const std::size_t len = p.size();
  // A silenced command and sub-code first, then the command whatever its sub-code.
  const int silencedSub = len >= 2 ? p[1] : -2;
  for (const int anySub : {silencedSub, -1}) {
    const std::pair<std::uint8_t, int> key{cmd, anySub};
    if (auto it = m_silenced.find(key); it != m_silenced.end() && it->second > 0) {
      --it->second;
      return;
    }
  }
  auto data = [&](std::size_t from) {
    return std::vector<std::uint8_t>(p.begin() + from, p.end());
  };
  auto storeMotor = [&](std::uint8_t block, std::size_t from) {
    std::vector<std::uint8_t> d = data(from);
    if (!MotorAnswers()) return;
    if (d.size() != kBlockSizes.at(block) || !SealOk(d)) {
      ++m_badSeals;
      return;  // the motor refuses the block and stays silent
    }
    m_motor[block] = d;
    Reply({static_cast<std::uint8_t>(cmd | 0x80)}, at);
  };

  switch (cmd) {
    case 0x01:
    case 0x11:
    case 0x12:
    case 0x14:
    case 0x15:
      Reply({static_cast<std::uint8_t>(cmd | 0x80)}, at);
      return;
    case 0x13:
      if (len >= 2) {
        m_awake = false;  // end of a motor connection
        Reply({0x93, p[1]}, at);
      } else {
        Reply({0x93}, at);
      }
      return;
    case 0x0C: {
      if (!m_motorPresent) return;
      const std::uint16_t c =
          m_currentIndex < m_currents.size() ? m_currents[m_currentIndex++] : m_currentAfter;
      Reply({0x8C, static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c & 0xFF)}, at);
      return;
    }
    case 0x10:
      Reply({0x90, m_version}, at);
      return;
    case 0x19: {
      if (len < 2) return;
      const std::uint8_t sub = p[1];
      if (sub == 0x00 || sub == 0x02 || sub == 0x04) {
        if (!m_boxHasParameters) {
          Reply({0x99, sub, 0x01}, at);
          return;
        }
        std::vector<std::uint8_t> r = {0x19, static_cast<std::uint8_t>(sub + 1)};
        const auto& b = m_box[sub / 2];
        r.insert(r.end(), b.begin(), b.end());
        Reply(r, at);
      } else if (sub == 0x01 || sub == 0x03 || sub == 0x05) {
        const int index = sub / 2;
        std::vector<std::uint8_t> d = data(2);
        if (d.size() != kBoxSizes[index] || !SealOk(d)) {
          ++m_badSeals;
          Reply({0x99, sub, 0x01}, at);
          return;
        }
        m_box[index] = d;
        m_boxHasParameters = true;
        Reply({0x99, sub, 0x00}, at);
      } else if (sub == 0x08) {
        if (m_identifyError) {
          Reply({0x19, 0x08, 0x01}, at);
        } else {
          Reply({0x99, 0x08, m_serial[0], m_serial[1]}, at);
        }
      }
      return;
    }
    case 0x21:
      if (MotorAnswers()) Reply({0xA1}, at);
      return;
    case 0x22:
    case 0x2E:
    case 0x30:
    case 0x32:
    case 0x34:
    case 0x39:
    case 0x3B: {
      if (!MotorAnswers() || len != 1) return;
      std::vector<std::uint8_t> r = {static_cast<std::uint8_t>(cmd | 0x80)};
      r.insert(r.end(), m_motor[cmd].begin(), m_motor[cmd].end());
      Reply(r, at);
      return;
    }
    case 0x23:
    case 0x35:
      storeMotor(0x34, 1);
      return;
    case 0x2F:
    case 0x33:
      storeMotor(0x2E, 1);
      return;
    case 0x3C:
      storeMotor(0x3B, 1);
      return;
    case 0x3A: {
      if (!MotorAnswers()) return;
      if (len != 20) {
        ++m_badSeals;
        return;
      }
      std::copy(p.begin() + 1, p.end(), m_motor[0x39].begin() + 6);
      Reply({0xBA}, at);
      return;
    }
    case 0x24:
      if (len == 2 && p[1] == 0x01 && m_motorPresent && m_reach != MotorReach::kThroughState6) {
        m_awake = true;
        Reply({0xA4, 0x00}, at);
      }
      return;
    case 0x2D:
      if (!m_motorPresent) return;
      if (len == 2) {
        if (p[1] == 0x00) m_awake = true;
        Reply({0xAD}, at);
      } else if (len == 3) {
        Reply({0xAD, p[1]}, at);
      }
      return;
    case 0x27:
      if (m_motorPresent) Reply({0xA7}, at);
      return;
    case 0x28: {
      if (len != 2 || !m_motorPresent) return;
      const std::uint8_t sub = p[1];
      Reply({0xA8, 0x00}, at);
      for (int k = 0; k < m_testTelegrams; ++k) {
        Reply({0x28, sub, static_cast<std::uint8_t>(k)}, at + (k + 1) * 30000);
      }
      if (sub == 0x01) {
        m_motor = m_factory;
        Reply({0xA8, 0x01}, at + (m_testTelegrams + 1) * 30000);
      }
      return;
    }
    default:
      return;  // unknown command: the box stays silent
  }
}

// ---- scenario setters ----

void BoxSimulator::SetPacing(bool on) {
  std::lock_guard lock(m_mutex);
  m_pacing = on;
}
void BoxSimulator::SetProcessingDelayUs(std::int64_t us) {
  std::lock_guard lock(m_mutex);
  m_processingUs = us > 0 ? us : 0;
}
void BoxSimulator::SetProcessingDelayUs(std::uint8_t command, std::int64_t us) {
  std::lock_guard lock(m_mutex);
  m_processingByCommand[command] = us > 0 ? us : 0;
}
void BoxSimulator::SetMotorPresent(bool present) {
  std::lock_guard lock(m_mutex);
  m_motorPresent = present;
}
void BoxSimulator::SetMotorReach(MotorReach reach) {
  std::lock_guard lock(m_mutex);
  m_reach = reach;
  m_awake = false;
}
void BoxSimulator::SetMotorBlock(std::uint8_t readCommand, const std::vector<std::uint8_t>& bytes) {
  std::lock_guard lock(m_mutex);
  m_motor[readCommand] = bytes;
}
std::vector<std::uint8_t> BoxSimulator::MotorBlock(std::uint8_t readCommand) const {
  std::lock_guard lock(m_mutex);
  const auto it = m_motor.find(readCommand);
  return it == m_motor.end() ? std::vector<std::uint8_t>{} : it->second;
}
void BoxSimulator::LoadMotor(const std::map<std::uint8_t, std::vector<std::uint8_t>>& blocks) {
  for (const auto& [command, bytes] : blocks) {
    SetMotorBlock(command, bytes);
    SetFactoryBlock(command, bytes);
  }
}

void BoxSimulator::SetFactoryBlock(std::uint8_t readCommand,
                                   const std::vector<std::uint8_t>& bytes) {
  std::lock_guard lock(m_mutex);
  m_factory[readCommand] = bytes;
}
void BoxSimulator::SetBoxBlock(int index, const std::vector<std::uint8_t>& bytes) {
  std::lock_guard lock(m_mutex);
  if (index >= 0 && index < 3) m_box[index] = bytes;
}
std::vector<std::uint8_t> BoxSimulator::BoxBlock(int index) const {
  std::lock_guard lock(m_mutex);
  return index >= 0 && index < 3 ? m_box[index] : std::vector<std::uint8_t>{};
}
void BoxSimulator::SetBoxHasParameters(bool has) {
  std::lock_guard lock(m_mutex);
  m_boxHasParameters = has;
}
bool BoxSimulator::BoxHasParameters() const {
  std::lock_guard lock(m_mutex);
  return m_boxHasParameters;
}
void BoxSimulator::SetBoxSerial(std::uint8_t high, std::uint8_t low) {
  std::lock_guard lock(m_mutex);
  m_serial[0] = high;
  m_serial[1] = low;
}
void BoxSimulator::SetBoxVersion(std::uint8_t version) {
  std::lock_guard lock(m_mutex);
  m_version = version;
}
void BoxSimulator::SetIdentifyError(bool error) {
  std::lock_guard lock(m_mutex);
  m_identifyError = error;
}
void BoxSimulator::SetCurrentSequence(const std::vector<std::uint16_t>& readings,
                                      std::uint16_t after) {
  std::lock_guard lock(m_mutex);
  m_currents = readings;
  m_currentIndex = 0;
  m_currentAfter = after;
}
void BoxSimulator::SetTestTelegramCount(int count) {
  std::lock_guard lock(m_mutex);
  m_testTelegrams = count;
}

std::vector<std::vector<std::uint8_t>> BoxSimulator::Requests() const {
  std::lock_guard lock(m_mutex);
  return m_requests;
}
void BoxSimulator::ClearRequests() {
  std::lock_guard lock(m_mutex);
  m_requests.clear();
}
int BoxSimulator::RejectedRequests() const {
  std::lock_guard lock(m_mutex);
  return m_decoder.Rejected();
}
std::int64_t BoxSimulator::BytesFromProgram() const {
  std::lock_guard lock(m_mutex);
  return m_bytesIn;
}
std::int64_t BoxSimulator::BytesToProgram() const {
  std::lock_guard lock(m_mutex);
  return m_bytesOut;
}
int BoxSimulator::BadSealWrites() const {
  std::lock_guard lock(m_mutex);
  return m_badSeals;
}

}  // namespace roviro::sim
