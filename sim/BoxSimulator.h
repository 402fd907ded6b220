#pragma once
// The programming box and a motor plugged into it, as the other end of the wire. It answers
// every command the program uses, keeps the box's three stored blocks and the motor's seven
// blocks, sends telegrams of its own, serves a motor-current sequence and the operating data,
// and misbehaves on request: no motor, a motor of another type, a motor reached only through
// the second or third branch of the connection start, no parameters in the box, an identify
// error, dropped, late, stalled or corrupted frames, a port that vanishes.
//
// Time: every byte the box sends gets a due time; the transport hands bytes to the program only
// once they are due. The time source is the injected Clock (in-memory tests) or a microsecond
// source (the pseudo-terminal transport), so tests stay deterministic and never sleep.

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <utility>
#include <vector>

#include "platform/Clock.h"
#include "sim/SimCodec.h"

namespace roviro::sim {

class TraceReplay;

enum class MotorReach {
  kDirect,         // answers 0x21 at once
  kThroughState4,  // answers only after {0x24, 0x01}
  kThroughState6,  // ignores {0x24, 0x01}; answers only after 0x2D 0x00
};

// Random faults, each a rate in parts per million, drawn from one seeded generator.
struct FaultConfig {
  std::uint32_t seed = 1;
  int dropBytePpm = 0;   // per byte, both directions
  int flipFramePpm = 0;  // per frame, both directions: one bit of one byte flipped
  int flipReplyPpm = 0;  // per reply only: one bit of one byte flipped
  int stallPpm = 0;      // per reply: it stops part-way for stallMs
  int latePpm = 0;       // per reply: it starts lateMs late
  int unplugPpm = 0;     // per request: the port vanishes instead of answering
  std::int64_t stallMs = 80;
  std::int64_t lateMs = 700;
};

struct FaultCounts {
  int droppedBytes = 0;
  int flippedFrames = 0;
  int stalls = 0;
  int lateReplies = 0;
  int unplugs = 0;
};

class BoxSimulator {
 public:
  static constexpr std::int64_t kByteTimeUs = 1042;  // 10 bits at 9600 baud

  explicit BoxSimulator(Clock& clock);

  // Replaces the clock as time source by a microsecond counter (real-time transports).
  void UseMicrosecondSource(std::function<std::int64_t()> nowUs);
  std::int64_t NowUs() const;

  // ---- the wire ----
  // Bytes from the program; false when the port has vanished.
  bool FromProgram(const std::uint8_t* bytes, std::size_t count);
  // Bytes to the program that are due by now; -1 when the port has vanished.
  int ToProgram(std::uint8_t* buffer, int capacity);
  // Due time of the next pending byte, or -1 when nothing is pending.
  std::int64_t NextDueUs() const;
  // Exclusive open of the box's port.
  bool AcquirePort();
  void ReleasePort();
  bool Vanished() const;
  void Unplug();
  // Plugged in again: pending output and half-received frames are gone.
  void Replug();

  // ---- scenario ----
  // 9600-baud byte timing in both directions: a request's bytes arrive one after the other,
  // and the reply starts only once the last of them is in.
  void SetPacing(bool on);
  // The time the box takes from a request's last byte to the start of its reply (0 by
  // default): for every command, or for one command code, which then takes its own.
  void SetProcessingDelayUs(std::int64_t us);
  void SetProcessingDelayUs(std::uint8_t command, std::int64_t us);
  void SetMotorPresent(bool present);
  void SetMotorReach(MotorReach reach);
  void SetMotorBlock(std::uint8_t readCommand, const std::vector<std::uint8_t>& bytes);
  std::vector<std::uint8_t> MotorBlock(std::uint8_t readCommand) const;
  // The motor's blocks and the ones a factory reset restores, both set to `blocks`.
  void LoadMotor(const std::map<std::uint8_t, std::vector<std::uint8_t>>& blocks);
  // The blocks a factory reset restores.
  void SetFactoryBlock(std::uint8_t readCommand, const std::vector<std::uint8_t>& bytes);
  // Box block 0 = block 0x39 (25 bytes), 1 = block 0x2E (11), 2 = block 0x34 (13).
  void SetBoxBlock(int index, const std::vector<std::uint8_t>& bytes);
  std::vector<std::uint8_t> BoxBlock(int index) const;
  void SetBoxHasParameters(bool has);
  bool BoxHasParameters() const;
  void SetBoxSerial(std::uint8_t high, std::uint8_t low);
  void SetBoxVersion(std::uint8_t version);  // 0: the 0x10 answer is refused
  void SetIdentifyError(bool error);         // {0x19, 0x08} gets the error answer
  // Motor-current readings for 0x0C, in order, then `after` for every further poll.
  void SetCurrentSequence(const std::vector<std::uint16_t>& readings, std::uint16_t after);
  // Telegrams the box sends after {0x28, x}: `count` of 0x28 frames, then for the factory
  // reset {0xA8, 0x01}.
  void SetTestTelegramCount(int count);
  // A telegram the box sends by itself, `delayMs` from now.
  void SendUnsolicited(const std::vector<std::uint8_t>& payload, std::int64_t delayMs = 0);

  // Raw bytes on the line, `delayMs` from now, framed or not.
  void SendRawBytes(const std::vector<std::uint8_t>& bytes, std::int64_t delayMs = 0);

  // A production line: the motors named by `identities` (block 0x39 bytes 0..2) come one after
  // the other, each with the motor's blocks as they are now and its own identity, the first
  // at once. A motor leaves `dwellUs` after the end of a motor connection ({0x13, 0x01}) unless
  // a connection starts again meanwhile (0x21: a read-back after the write); the next one
  // arrives `gapUs` after that. After the last one no motor is plugged in.
  void SetLine(const std::vector<std::array<std::uint8_t, 3>>& identities, std::int64_t dwellUs,
               std::int64_t gapUs);
  // Motors of the line that have arrived so far (the one plugged in included).
  int LineArrivals() const;
  // When each motor of the line arrived, on the box's time scale (microseconds).
  std::vector<std::int64_t> LineArrivalTimesUs() const;

  // Answers every request from a recorded trace instead of as the box would (null: as the
  // box). Requests are still collected; the scenario and the faults no longer apply.
  void SetReplay(std::shared_ptr<TraceReplay> replay);

  // One-shot faults for directed tests.
  void DropNextReplies(int count);
  void DelayNextReply(std::int64_t ms);
  void CorruptNextReplyChecksum();
  void StallNextReply(std::int64_t ms, int afterBytes);
  void UnplugAfterRequests(int count);
  // The next `count` requests with this command get no answer.
  void SilenceCommand(std::uint8_t command, int count);
  // The next `count` requests with this command and sub-code (its second byte) get no answer;
  // the command's other sub-codes are answered.
  void SilenceRequest(std::uint8_t command, std::uint8_t subCode, int count);
  void SetFaults(const FaultConfig& faults);
  FaultCounts Counts() const;
  // Called with every request the box accepts, before it is answered, under the box's own lock:
  // the hook may look at the request and act on the program side, never call back into the box.
  void OnRequest(std::function<void(const std::vector<std::uint8_t>&)> hook);

  // ---- observation ----
  // Payloads of every request frame the box accepted, in order.
  std::vector<std::vector<std::uint8_t>> Requests() const;
  void ClearRequests();
  // Request frames thrown away (bad checksum, end byte, length, pause).
  int RejectedRequests() const;
  // Writes refused because their block check byte was wrong.
  int BadSealWrites() const;
  // Bytes that went over the wire so far, each way.
  std::int64_t BytesFromProgram() const;
  std::int64_t BytesToProgram() const;

  // The standard test motor: identity 0x12 0x34 0x40 + variant, blocks with sealed check bytes.
  static std::map<std::uint8_t, std::vector<std::uint8_t>> StandardMotorBlocks(int variant = 0);
  static void Seal(std::vector<std::uint8_t>& block);
  static bool SealOk(const std::vector<std::uint8_t>& block);

 private:
  struct Pending {
    std::uint8_t byte;
    std::int64_t dueUs;
  };
  void Handle(const std::vector<std::uint8_t>& payload, std::int64_t arrivedUs);
  void Reply(const std::vector<std::uint8_t>& payload, std::int64_t earliestUs,
             bool randomFaults = true);
  bool Chance(int ppm);
  std::uint32_t Random(std::uint32_t bound);
  bool MotorAnswers() const;

  void Replay(const std::vector<std::uint8_t>& payload, std::int64_t arrivedUs);
  // The line's motor leaves, and the next arrives, once their time has come.
  void AdvanceLine(std::int64_t nowUs);
  void NextLineMotor(std::int64_t nowUs);

  std::function<std::int64_t()> m_nowUs;
  mutable std::mutex m_mutex;
  std::shared_ptr<TraceReplay> m_replay;

  FrameDecoder m_decoder;
  std::deque<Pending> m_out;
  bool m_vanished = false;
  bool m_portOpen = false;
  bool m_pacing = false;
  std::int64_t m_lineFreeUs = 0;  // paced: when the last byte from the program is in
  std::int64_t m_processingUs = 0;
  std::map<std::uint8_t, std::int64_t> m_processingByCommand;

  bool m_motorPresent = true;
  MotorReach m_reach = MotorReach::kDirect;
  bool m_awake = false;
  std::map<std::uint8_t, std::vector<std::uint8_t>> m_motor;
  std::map<std::uint8_t, std::vector<std::uint8_t>> m_factory;
  std::array<std::vector<std::uint8_t>, 3> m_box;
  bool m_boxHasParameters = true;
  std::uint8_t m_serial[2] = {0x4A, 0x11};
  std::uint8_t m_version = 0x23;
  bool m_identifyError = false;
  std::vector<std::uint16_t> m_currents;
  std::size_t m_currentIndex = 0;
  std::uint16_t m_currentAfter = 0;
  int m_testTelegrams = 3;

  int m_dropReplies = 0;
  std::int64_t m_delayNextMs = 0;
  bool m_corruptNext = false;
  std::int64_t m_stallNextMs = 0;
  int m_stallAfter = 0;
  int m_unplugAfter = -1;
  std::map<std::pair<std::uint8_t, int>, int> m_silenced;  // sub-code -1: every one
  FaultConfig m_faults;
  FaultCounts m_counts;
  std::mt19937 m_rng{1};

  std::vector<std::array<std::uint8_t, 3>> m_line;
  std::map<std::uint8_t, std::vector<std::uint8_t>> m_lineBlocks;
  std::size_t m_lineNext = 0;  // the next motor of the line to arrive
  std::int64_t m_lineDwellUs = 0;
  std::int64_t m_lineGapUs = 0;
  std::int64_t m_leaveAtUs = -1;   // the plugged-in motor leaves then (-1: it stays)
  std::int64_t m_arriveAtUs = -1;  // the next motor arrives then (-1: none is coming)
  std::vector<std::int64_t> m_arrivals;

  std::vector<std::vector<std::uint8_t>> m_requests;
  std::function<void(const std::vector<std::uint8_t>&)> m_onRequest;
  int m_badSeals = 0;
  std::int64_t m_bytesIn = 0;
  std::int64_t m_bytesOut = 0;
};

}  // namespace roviro::sim
