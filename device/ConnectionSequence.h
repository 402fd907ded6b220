#pragma once
// The motor connection start and end that the download, the upload and the test screen's
// connection worker share. They run under the link lock, on LinkState's attempt counter.

#include <array>
#include <cstdint>

#include "device/LinkState.h"

namespace roviro {

struct ConnectionStartOptions {
  // After 0x21 -> 0xA1, read block 0x39 and compare the motor type with the image's
  // (sets 0x100000 for the same type, 0x200000 for another); else 0xA1 alone sets 0x100000.
  bool checkMotorType = false;
  // Set 0x1000000 / 0x2000000 when the {0x24, 0x01} / 0x2D branch reached the motor.
  bool markBranches = false;
};

// Runs the start sequence; leaves the motor bits as found. `motorIdentity` receives the
// motor's block 0x39 bytes 0..2 when the type was checked.
void RunConnectionStart(LinkState& state, const ConnectionStartOptions& options,
                        std::array<std::uint8_t, 3>* motorIdentity = nullptr);

// Ends the motor connection with the attempts left: wait 250 ms, {0x13, 0x01} until 0x93.
void RunConnectionEnd(LinkState& state);

}  // namespace roviro
