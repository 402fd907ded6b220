#include "device/VerifyUpload.h"

#include <cstdio>
#include <mutex>

#include "device/ReadSet.h"

namespace roviro {

namespace {

// Written to the motor but not expected back as sent. The check byte of block 0x2E is
// compared on its own (CheckByteMatches): it covers the flag bit, so it has two valid values.
constexpr UnverifiedByte kMotorUnverified[] = {
    {0x2E, 8, 0x80,
     "flag bit 7: the upload sends it as the motor had it (0x2F) and then cleared (0x33); "
     "which of the two the motor keeps is the motor's own business"},
    {0x39, 16, 0xFF, "motor firmware version: the motor reports its own, whatever the set says"},
    {0x39, 24, 0xFF,
     "last byte of block 0x39: the stamp block goes out unsealed, so the motor may keep a "
     "check byte of its own here"},
};

// Written into the box but not returned by the read-back.
constexpr UnverifiedByte kBoxUnverified[] = {
    {0x39, 24, 0xFF, "the box's check byte of block 0x39: the read-back leaves it out"},
};

bool WrittenBlock(VerifyTarget target, std::uint8_t block) {
  if (target == VerifyTarget::kBox) return block == 0x39 || block == 0x2E || block == 0x34;
  return block == 0x34 || block == 0x2E || block == 0x39 || block == 0x3B;
}

}  // namespace

std::span<const UnverifiedByte> UnverifiedBytes(VerifyTarget target) {
  if (target == VerifyTarget::kBox) return kBoxUnverified;
  return kMotorUnverified;
}

std::uint8_t ComparedBits(VerifyTarget target, std::uint8_t block, int byte) {
  const BlockInfo* info = FindBlock(block);
  if (info == nullptr || byte < 0 || byte >= info->size || !WrittenBlock(target, block)) return 0;
  // The motor's identity and the three bytes after it are not in the stamp block (0x3A),
  // which writes bytes 6..24 only.
  if (target == VerifyTarget::kMotor && block == 0x39 && byte < 6) return 0;
  std::uint8_t bits = 0xFF;
  for (const UnverifiedByte& u : UnverifiedBytes(target)) {
    if (u.block == block && u.byte == byte) bits = static_cast<std::uint8_t>(bits & ~u.bits);
  }
  return bits;
}

std::string DescribeDifference(const ByteDifference& d) {
  const BlockInfo* info = FindBlock(d.block);
  char text[96];
  std::snprintf(text, sizeof text, "%s block 0x%02X (Zeile_%d) byte %2d: written %02X, read %02X",
                d.device == VerifyTarget::kBox ? "box" : "motor", d.block,
                info != nullptr ? info->line : 0, d.byte, d.written, d.read);
  return text;
}

bool SetByUpload(std::uint8_t block, int byte) {
  return (block == 0x2E && (byte <= 1 || byte == 10)) ||
         (block == 0x39 && (byte == 15 || (byte >= 11 && byte <= 14)));
}

std::vector<ByteDifference> CompareWithWritten(VerifyTarget target, const ParameterImage& written,
                                               const ParameterImage& readBack) {
  std::vector<ByteDifference> out;
  for (const BlockInfo& info : kBlocks) {
    // Sealed as the upload sends it (the stamp block's last byte is not compared at all).
    const auto source = written.Block(info.command);
    std::vector<std::uint8_t> sent(source.begin(), source.end());
    SealBlock(sent);
    const auto back = readBack.Block(info.command);
    for (int i = 0; i < info.size; ++i) {
      const std::uint8_t bits = ComparedBits(target, info.command, i);
      const auto k = static_cast<std::size_t>(i);
      if (target == VerifyTarget::kMotor && info.command == 0x2E && i == 10) {
        // The motor's check byte of block 0x2E: the seal of what was sent with the flag bit
        // set (0x2F) or cleared (0x33); anything else is a block the motor did not keep whole.
        std::vector<std::uint8_t> set = sent;
        std::vector<std::uint8_t> cleared = sent;
        set[8] |= 0x80;
        cleared[8] &= 0x7F;
        SealBlock(set);
        SealBlock(cleared);
        if (back[k] != set[k] && back[k] != cleared[k]) {
          out.push_back({target, info.command, i, sent[k], back[k]});
        }
        continue;
      }
      if (((sent[k] ^ back[k]) & bits) != 0) {
        out.push_back({target, info.command, i, sent[k], back[k]});
      }
    }
  }
  return out;
}

VerifyReport VerifyWrittenSet(CDeviceLink& link, const ParameterImage& written,
                              VerifyTarget target) {
  VerifyReport report;
  LinkState& s = link.State();
  if (!link.IsOpen() || s.Has(kLinkBusy) || s.Stopping()) return report;
  if (s.m_link == nullptr || s.m_clock == nullptr) return report;
  s.Set(kLinkUpload);
  s.Post(kMsgRefresh);
  ParameterImage readBack;
  SetReadOutcome outcome;
  ParameterImage boxBack;
  SetReadOutcome boxOutcome = SetReadOutcome::kBox;
  {
    std::lock_guard lock(link.Lock());
    outcome = ReadSetInto(s, readBack);
    // The upload wrote the box as well: its three blocks are read back after the motor's.
    if (outcome == SetReadOutcome::kMotor && target == VerifyTarget::kMotor) {
      s.m_attempts = 0;
      boxOutcome = ReadBoxBlocksInto(s, boxBack);
    }
  }
  s.Clear(kLinkUpload);
  s.Post(kMsgRefresh);

  if (outcome == SetReadOutcome::kFailed || outcome == SetReadOutcome::kNoParameters) {
    return report;
  }
  const VerifyTarget reached =
      outcome == SetReadOutcome::kMotor ? VerifyTarget::kMotor : VerifyTarget::kBox;
  if (reached == VerifyTarget::kMotor) report.firmware = readBack.Block(0x39)[16];
  if (reached != target) {
    report.outcome = VerifyOutcome::kOtherTarget;
    return report;
  }
  report.differences = CompareWithWritten(target, written, readBack);
  if (target == VerifyTarget::kMotor) {
    // A box that does not give its blocks back is not a verified box.
    if (boxOutcome != SetReadOutcome::kBox) {
      report.differences.clear();
      return report;
    }
    const std::vector<ByteDifference> box =
        CompareWithWritten(VerifyTarget::kBox, written, boxBack);
    report.differences.insert(report.differences.end(), box.begin(), box.end());
  }
  report.outcome = report.differences.empty() ? VerifyOutcome::kMatch : VerifyOutcome::kMismatch;
  return report;
}

}  // namespace roviro
