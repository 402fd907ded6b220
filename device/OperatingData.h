#pragma once
// Reads the motor's 22-byte operating-data block (block 0x30 of the parameter image) directly,
// for the operating-parameters screen.

#include <array>
#include <cstdint>
#include <vector>

#include "device/DeviceLink.h"

namespace roviro {

// Clears the dialog's data-loaded bit, then under the link lock: connects to the motor
// (0x12, {0x24, 0x01} after 250 ms, 0x21; a 100 ms wait before each exchange; more than four
// failed exchanges fail), reads block 0x30 (0x30 -> 0xB0, at most six tries; the image's
// block is replaced only by a complete reply), ends the connection (0x11, then {0x13, 0x01}
// after 250 ms). Sets the data-loaded bit and returns S_OK on success; E_FAIL otherwise, also
// at once on a stop request. A read that fails after 0x12 was answered sends 0x13 -> 0x93
// (output A off) before it returns, unless a stop request ends it.
// With `motorIdentity`, block 0x39 (0x39 -> 0xB9, at most six tries) is read after the motor
// was reached and before block 0x30; it holds the 25 bytes then, and is empty when they could
// not be read.
// With `into`, the 22 bytes go there and the image is not touched (a worker's read, handed
// over to the user-interface thread).
HResult ReadOperatingData(CDeviceLink& link, std::vector<std::uint8_t>* motorIdentity = nullptr,
                          std::array<std::uint8_t, 22>* into = nullptr);

}  // namespace roviro
