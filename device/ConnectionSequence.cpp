#include "device/ConnectionSequence.h"

#include "device/DeviceLink.h"

namespace roviro {

namespace {

bool Exchange(LinkState& s, Telegram& t, std::uint8_t expected) {
  return Succeeded(s.m_link->Transact(t)) && t.m_command == expected;
}

}  // namespace

void RunConnectionStart(LinkState& s, const ConnectionStartOptions& options,
                        std::array<std::uint8_t, 3>* motorIdentity) {
  Telegram t;
  int state = 0;
  const auto fail = [&s] { ++s.m_attempts; };
  while (s.m_attempts <= 4) {
    // A stop request ends the sequence as if no motor answered.
    if (s.Stopping()) break;
    s.AddProgress(6);
    t.Reset();
    switch (state) {
      case 0:
      case 10:
        t.SetCommand(0x21);
        if (!Exchange(s, t, 0xA1)) {
          if (state == 0) {
            state = 1;
          } else {
            fail();
          }
          break;
        }
        if (!options.checkMotorType) {
          s.Set(kLinkMotor);
          return;
        }
        t.SetCommand(0x39);
        if (Exchange(s, t, 0xB9) && t.m_length >= 3) {
          const auto image = s.m_image->Block(0x39);
          const bool same = t.m_data[0] == image[0] && t.m_data[1] == image[1] &&
                            (t.m_data[2] & 0xF8) == (image[2] & 0xF8);
          if (motorIdentity != nullptr) *motorIdentity = {t.m_data[0], t.m_data[1], t.m_data[2]};
          s.Set(same ? kLinkMotor : kLinkOtherMotor);
          return;
        }
        fail();  // the next cycle starts again with 0x21
        break;
      case 1:
        t.SetCommand(0x13);
        if (Exchange(s, t, 0x93))
          state = 2;
        else
          fail();
        break;
      case 2:
        t.SetCommand(0x15);
        if (Exchange(s, t, 0x95))
          state = 3;
        else
          fail();
        break;
      case 3:
        t.SetCommand(0x12);
        if (Exchange(s, t, 0x92))
          state = 4;
        else
          fail();
        break;
      case 4:
        if (!s.Sleep(250)) break;
        t.SetHeader(0x24, 0x01);
        if (Exchange(s, t, 0xA4)) {
          state = 10;
          if (options.markBranches) s.Set(kLinkState4);
        } else if (++s.m_attempts == 4) {
          state = 5;
          s.m_attempts = 0;
        }
        break;
      case 5:
        t.SetCommand(0x14);
        if (Exchange(s, t, 0x94))
          state = 6;
        else
          fail();
        break;
      case 6: {
        if (!s.Sleep(250)) break;
        t.SetCommand(0x2D);
        const std::uint8_t zero = 0;
        t.AppendData(&zero, 1);
        if (Exchange(s, t, 0xAD)) {
          state = 10;
          if (options.markBranches) s.Set(kLinkState6);
        } else if (++s.m_attempts == 4) {
          state = 7;
          s.m_attempts = 0;
        }
        break;
      }
      case 7:
        t.SetCommand(0x13);
        if (Exchange(s, t, 0x93)) return;  // no motor
        fail();
        break;
      default:
        return;
    }
  }
  // Out of attempts: no motor.
  s.Clear(kLinkMotor);
}

void RunConnectionEnd(LinkState& s) {
  Telegram t;
  while (s.m_attempts <= 4) {
    if (!s.Sleep(250)) return;
    t.SetHeader(0x13, 0x01);
    if (Exchange(s, t, 0x93)) return;
    ++s.m_attempts;
  }
}

}  // namespace roviro
