#include "device/MotorPresence.h"

namespace roviro {

Presence PollMotorPresence(CDeviceLink& link) {
  std::lock_guard lock(link.Lock());
  LinkState& s = link.State();
  if (!link.IsOpen() || s.Has(kLinkDeviceGone)) return Presence::kNoBox;
  Telegram t;
  t.SetCommand(0x21);
  const bool answered = Succeeded(link.Transact(t)) && t.m_command == 0xA1;
  if (s.Has(kLinkDeviceGone)) return Presence::kNoBox;
  return answered ? Presence::kMotor : Presence::kNoMotor;
}

PresenceWait WaitForPresence(CDeviceLink& link, bool wantMotor, std::int64_t firstDelayMs,
                             const std::function<bool()>& stop) {
  Clock& clock = link.GetClock();
  const Presence wanted = wantMotor ? Presence::kMotor : Presence::kNoMotor;
  const std::int64_t begin = clock.NowMs();
  std::int64_t due = begin + (firstDelayMs > 0 ? firstDelayMs : 0);
  PresenceWait wait;
  for (;;) {
    // Waits in short steps so that a stop request is seen while the next poll is not yet due.
    for (std::int64_t left = due - clock.NowMs(); left > 0; left = due - clock.NowMs()) {
      if (stop && stop()) break;
      clock.SleepMs(left < 10 ? left : 10);
    }
    if (stop && stop()) {
      wait.stopped = true;
      wait.waitedMs = clock.NowMs() - begin;
      return wait;
    }
    const std::int64_t started = clock.NowMs();
    wait.reached = PollMotorPresence(link);
    ++wait.polls;
    if (wait.reached == wanted || wait.reached == Presence::kNoBox) {
      wait.waitedMs = clock.NowMs() - begin;
      return wait;
    }
    // An unanswered poll lasts longer than the pause: the next one may follow at once.
    due = started + kPresencePollMs;
  }
}

}  // namespace roviro
