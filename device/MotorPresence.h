#pragma once
// Whether a motor is plugged into the box, asked with the bare connection request 0x21: a
// motor answers 0xA1, an empty box lets it go unanswered. A production station waits with it
// for the next motor and for the motor it has written to be taken away.

#include <cstdint>
#include <functional>

#include "device/DeviceLink.h"

namespace roviro {

// The station asks no more often than this while nothing else is under way.
inline constexpr std::int64_t kPresencePollMs = 250;

enum class Presence {
  kMotor,    // 0x21 answered by 0xA1
  kNoMotor,  // 0x21 unanswered (or answered otherwise)
  kNoBox,    // the port is closed or the device has gone
};

// One 0x21 exchange under the link lock.
Presence PollMotorPresence(CDeviceLink& link);

struct PresenceWait {
  Presence reached = Presence::kNoMotor;
  bool stopped = false;       // `stop` said so before the wanted state came
  std::int64_t waitedMs = 0;  // on the link's clock, from the call to the answer that ended it
  int polls = 0;
};

// Polls until the motor is there (`wantMotor`) or gone, on the link's clock: the polls begin at
// least kPresencePollMs apart, the first one `firstDelayMs` after the call. `stop` is looked at
// before every poll; when it returns true the wait ends without the wanted state. A box that is
// gone ends the wait at once (reached = kNoBox).
PresenceWait WaitForPresence(CDeviceLink& link, bool wantMotor, std::int64_t firstDelayMs,
                             const std::function<bool()>& stop);

}  // namespace roviro
