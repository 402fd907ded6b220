#include "device/OperatingData.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>

namespace roviro {

HResult ReadOperatingData(CDeviceLink& link, std::vector<std::uint8_t>* motorIdentity,
                          std::array<std::uint8_t, 22>* into) {
  LinkState& s = link.State();
  s.m_dialogFlags->fetch_and(~kDialogDataLoaded);
  std::lock_guard lock(link.Lock());
  // No exchange after a stop request: the read then fails at once.
  const auto exchange = [&link, &s](Telegram& t, std::uint8_t expected) {
    return !s.Stopping() && Succeeded(link.Transact(t)) && t.m_command == expected;
  };
  Telegram t;
  // Once 0x12 has switched output A on, a read that fails switches it off again (0x13) before
  // it returns, so that no failure leaves the motor's output on. A stop request (closing)
  // still ends the read within the telegram on the wire.
  bool outputOn = false;
  const auto fail = [&] {
    if (outputOn) {
      for (int i = 0; i < 3 && !s.Stopping(); ++i) {
        Telegram off;
        off.SetCommand(0x13);
        if (exchange(off, 0x93)) break;
      }
    }
    return E_FAIL;
  };

  // 1. Reach the motor.
  int attempts = 0;
  int state = 1;
  while (state <= 3) {
    if (attempts > 4 || !s.Sleep(100)) return fail();
    bool ok = false;
    if (state == 1) {
      t.SetCommand(0x12);
      ok = exchange(t, 0x92);
    } else if (state == 2) {
      if (!s.Sleep(250)) return fail();
      t.SetHeader(0x24, 0x01);
      ok = exchange(t, 0xA4);
    } else {
      t.SetCommand(0x21);
      ok = exchange(t, 0xA1);
    }
    if (ok) {
      if (state == 1) outputOn = true;
      ++state;
    } else {
      ++attempts;
    }
  }

  // 1a. Asked for: the connected motor's identity block, so that the visit is filed under the
  // motor read, not under whichever set is loaded.
  if (motorIdentity != nullptr) {
    motorIdentity->clear();
    for (int i = 0; i < 6 && motorIdentity->empty() && !s.Stopping(); ++i) {
      t.SetCommand(0x39);
      if (exchange(t, 0xB9) && t.m_length == 25) {
        motorIdentity->assign(t.m_data.begin(), t.m_data.begin() + 25);
      }
    }
  }

  // 2. The operating data, into a scratch block: the set's block 0x30 changes only when it
  // was read (until then it keeps what it held).
  std::array<std::uint8_t, 22> data{};
  bool read = false;
  for (int i = 0; i < 6 && !read && !s.Stopping(); ++i) {
    t.SetCommand(0x30);
    if (exchange(t, 0xB0) && t.m_length == data.size()) {
      std::memcpy(data.data(), t.m_data.data(), data.size());
      read = true;
    }
  }
  if (!read) return fail();
  if (into != nullptr) {
    *into = data;
  } else {
    auto block = s.m_image->Block(0x30);
    std::copy(data.begin(), data.end(), block.begin());
  }

  // 3. End the connection.
  attempts = 0;
  for (;;) {
    t.SetCommand(0x11);
    if (exchange(t, 0x91)) break;
    if (++attempts > 4) return fail();
  }
  for (;;) {
    if (!s.Sleep(250)) return fail();
    t.SetHeader(0x13, 0x01);
    if (exchange(t, 0x93)) break;
    if (++attempts > 4) return fail();
  }

  // 4. Done.
  s.m_dialogFlags->fetch_or(kDialogDataLoaded);
  return S_OK;
}

}  // namespace roviro
