#pragma once
// Reading the whole set, as the download does it: the connection start, the seven motor blocks
// (or, without a motor, the three blocks the box keeps), the connection end. The download
// worker and the read-back after an upload share it, so both send the same telegrams.

#include "catalogue/ParameterImage.h"
#include "device/LinkState.h"

namespace roviro {

enum class SetReadOutcome {
  kMotor,         // the seven blocks came from the motor
  kBox,           // no motor: blocks 0x39, 0x2E and 0x34 came from the box
  kNoParameters,  // no motor, and the box holds no parameters
  kFailed,        // attempts used up or a stop request; no connection end was sent
};

// Runs on the caller's thread, which holds the link lock; clears the motor bit 0x100000 first
// and sets it when the connection start reaches a motor. Fills `scratch` (cleared by the
// caller) block by block; block 0x39 from the box leaves out the box's check byte. Advances
// the progress and the attempt counter of `state` as the download does. Posts nothing.
SetReadOutcome ReadSetInto(LinkState& state, ParameterImage& scratch);

// The box's three blocks alone ({0x19, 0x00/0x02/0x04} into blocks 0x39, 0x2E, 0x34 of
// `scratch`), counting on the attempt counter as above: kBox, kNoParameters or kFailed.
SetReadOutcome ReadBoxBlocksInto(LinkState& state, ParameterImage& scratch);

}  // namespace roviro
