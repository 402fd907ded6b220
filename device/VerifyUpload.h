#pragma once
// Verified writes: after an upload the set is read back exactly as a download reads it and
// compared with what the upload wrote. Only bytes the upload really sends are compared, and of
// those not the few that need not come back as sent; UnverifiedBytes lists them with the reason.
// Nothing here is part of an upload itself: the read-back happens only when it is asked for.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "catalogue/ParameterImage.h"
#include "device/DeviceLink.h"

namespace roviro {

// What the upload wrote: the motor's blocks (and the box's) or, without a motor, the box's.
enum class VerifyTarget { kMotor, kBox };

// A written byte, or some of its bits, that the comparison leaves out, and why.
struct UnverifiedByte {
  std::uint8_t block;  // the read command that names the block
  int byte;
  std::uint8_t bits;  // the bits left out
  const char* reason;
};
std::span<const UnverifiedByte> UnverifiedBytes(VerifyTarget target);

// The bits of a byte the comparison looks at: none for a byte the upload does not write to the
// target (blocks 0x22, 0x30 and 0x32, block 0x39 bytes 0..5 of the motor) or that the read-back
// does not return (the box's check byte of block 0x39), all of them less UnverifiedBytes
// otherwise.
std::uint8_t ComparedBits(VerifyTarget target, std::uint8_t block, int byte);

struct ByteDifference {
  VerifyTarget device;  // where the byte was read back
  std::uint8_t block;
  int byte;
  std::uint8_t written;  // as sent: the image's byte, sealed where the upload seals
  std::uint8_t read;
};

// "motor block 0x3B (Zeile_3) byte  4: written 1F, read 20".
std::string DescribeDifference(const ByteDifference& difference);

// The compared bytes of `readBack` that differ from what writing `written` (the image as the
// upload left it: stamped, with the box's serial and version and the motor's flag bit) sent.
std::vector<ByteDifference> CompareWithWritten(VerifyTarget target, const ParameterImage& written,
                                               const ParameterImage& readBack);

// The bytes an upload takes from the box or the clock rather than from the set: block 0x2E
// bytes 0..1 (the box's serial) and its check byte, block 0x39 byte 15 (the box's version)
// and bytes 11..14 (the upload stamp and its written flag). A file and the motor it was
// written into differ there.
bool SetByUpload(std::uint8_t block, int byte);

enum class VerifyOutcome {
  kMatch,        // every compared byte came back as written
  kMismatch,     // see the differences
  kNotRead,      // the link was busy or closed, or the read-back failed
  kOtherTarget,  // the read-back reached the box although a motor was written, or the reverse
};

struct VerifyReport {
  VerifyOutcome outcome = VerifyOutcome::kNotRead;
  std::vector<ByteDifference> differences;
  int firmware = -1;  // the motor's firmware byte (block 0x39 byte 16) when it was read back
};

// Reads the set back into a scratch image (the download's telegrams, under the link lock, on
// the caller's thread) and compares it with `written`; after a motor, the box's three blocks
// are read back as well ({0x19, 0x00/0x02/0x04}) and compared with what the box was sent. The
// upload bit 0x2 is set meanwhile, so that the screens treat the read-back as part of the upload
// and start nothing else; a refresh (20025) is posted before and after. Refuses (kNotRead) while
// the link is busy.
VerifyReport VerifyWrittenSet(CDeviceLink& link, const ParameterImage& written,
                              VerifyTarget target);

}  // namespace roviro
