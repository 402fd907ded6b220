// The test screen's workers: the connection worker, the command worker, the test-request worker
// and the current watch it runs.

#include <cstdio>
#include <cstring>
#include <mutex>

#include "device/ConnectionSequence.h"
#include "device/DeviceLink.h"
#include "platform/Translation.h"

namespace roviro {

namespace {

constexpr std::uint8_t kReadOrder[7] = {0x34, 0x22, 0x2E, 0x32, 0x30, 0x39, 0x3B};

bool Usable(const LinkState* s) {
  return s != nullptr && s->m_link != nullptr && s->m_clock != nullptr && s->m_image != nullptr &&
         s->m_dialogFlags != nullptr;
}

// The main dialog's output bits ("mark" in the test sequences).
bool DialogHas(LinkState& s, std::uint32_t bits) { return (s.m_dialogFlags->load() & bits) != 0; }
void DialogSet(LinkState& s, std::uint32_t bits) { s.m_dialogFlags->fetch_or(bits); }
void DialogClear(LinkState& s, std::uint32_t bits) { s.m_dialogFlags->fetch_and(~bits); }

// One Transact, successful only with the expected reply command; none after a stop request.
bool Once(LinkState& s, Telegram& t, std::uint8_t expected) {
  return !s.Stopping() && Succeeded(s.m_link->Transact(t)) && t.m_command == expected;
}

bool OnceCommand(LinkState& s, std::uint8_t command, std::uint8_t expected) {
  Telegram t;
  t.SetCommand(command);
  return Once(s, t, expected);
}

void StartRequest(LinkState& s, std::uint8_t h, std::uint8_t cmd, std::uint8_t sub,
                  std::uint8_t replyCmd, std::uint8_t replySub, std::uintptr_t disableCode) {
  s.m_testRequest = {h, cmd, sub, replyCmd, replySub};
  s.m_testsBlocked = true;
  s.Post(kMsgDisableTests, disableCode);
  if (!s.m_link->StartTestRequest()) {
    s.m_testsBlocked = false;
    s.Post(kMsgEnableTests);
  }
}

// Modes 11, 12, 13: the motor commands reached through the 0x2D branch.
void RunBranchDrive(LinkState& s, std::uint8_t direction) {
  if (DialogHas(s, kDialogOutputB)) {
    if (!OnceCommand(s, 0x13, 0x93)) return;
    DialogClear(s, kDialogOutputB);
    if (!s.Sleep(50)) return;
  }
  if (!DialogHas(s, kDialogOutputA)) {
    if (!OnceCommand(s, 0x12, 0x92)) return;
    DialogSet(s, kDialogOutputA);
    if (!s.Sleep(100)) return;
  }
  Telegram t;
  t.SetCommand(0x2D);
  t.AppendData(&direction, 1);
  Once(s, t, 0xAD);
}

// Modes 20, 21, 22: the timed drive programs.
void RunDriveProgram(LinkState& s, int mode) {
  if (DialogHas(s, kDialogOutputB)) {
    if (!OnceCommand(s, 0x13, 0x93)) return;
    DialogClear(s, kDialogOutputB);
    if (!s.Sleep(50)) return;
  }
  if (!s.Sleep(200)) return;
  if (!DialogHas(s, kDialogOutputA)) {
    if (!OnceCommand(s, 0x12, 0x92)) return;
    DialogSet(s, kDialogOutputA);
    if (!s.Sleep(mode == 22 ? 200 : 100)) return;
  }
  if (!s.Sleep(200)) return;
  Telegram t;
  t.SetHeader(0x2D, 0x07);
  const std::uint8_t program = static_cast<std::uint8_t>(mode == 20 ? 3 : mode == 21 ? 2 : 1);
  t.AppendData(&program, 1);
  if (!Once(s, t, 0xAD)) return;
  if (!s.Sleep(200)) return;
  t.SetCommand(0x21);
  s.m_link->Transact(t);  // no reply required
  if (!s.Sleep(500)) return;
  if (!OnceCommand(s, 0x13, 0x93)) return;
  DialogClear(s, kDialogOutputA);
}

}  // namespace

int TestConnectionThread(LinkState* s) {
  if (!Usable(s)) return 0;
  if (s->TestAndSet(kLinkTestConnection)) return 0;
  CDeviceLink& link = *s->m_link;
  std::unique_lock lock(link.Lock());
  s->m_progress = 0;
  s->m_attempts = 0;
  s->Clear(kLinkState4 | kLinkState6 | kLinkMotor | kLinkOtherMotor);
  RunConnectionStart(*s, {.checkMotorType = true, .markBranches = true});
  Telegram t;
  while (s->m_attempts <= 4 && !s->Stopping()) {
    t.SetCommand(0x13);
    if (Once(*s, t, 0x93)) {
      DialogClear(*s, kDialogOutputA | kDialogOutputB);
      break;
    }
    ++s->m_attempts;
  }
  s->Clear(kLinkTestConnection);
  lock.unlock();
  s->Post(kMsgRefresh);
  return 1;
}

int TestCommandThread(LinkState* s) {
  if (!Usable(s)) return 0;
  if (s->TestAndSet(kLinkTestCommand)) return 0;
  CDeviceLink& link = *s->m_link;
  std::unique_lock lock(link.Lock());
  const int mode = s->m_testMode.load();
  switch (mode) {
    case 1:
      if (!DialogHas(*s, kDialogOutputA)) {
        DialogSet(*s, kDialogOutputA);
        DialogClear(*s, kDialogOutputB);
        link.SendCommand(0x13, 0x93);
        s->Sleep(20);
        link.SendCommand(0x12, 0x92);
      }
      break;
    case 2:
      if (s->Has(kLinkTestRequest) && !s->Has(kLinkAbort)) s->Set(kLinkAbort);
      DialogClear(*s, kDialogOutputA | kDialogOutputB);
      link.SendCommand(0x13, 0x93);
      break;
    case 3:
      if (!DialogHas(*s, kDialogOutputB)) {
        DialogSet(*s, kDialogOutputB);
        DialogClear(*s, kDialogOutputA);
        link.SendCommand(0x13, 0x93);
        s->Sleep(20);
        link.SendCommand(0x11, 0x91);
      }
      break;
    case 4:
      DialogClear(*s, kDialogOutputA | kDialogOutputB);
      StartRequest(*s, 1, 0x27, 0x00, 0xA7, 0x00, 3);
      break;
    case 5:
      if (DialogHas(*s, kDialogOutputA | kDialogOutputB)) {
        DialogClear(*s, kDialogOutputA | kDialogOutputB);
      }
      StartRequest(*s, 2, 0x28, 0x00, 0xA8, 0x00, 4);
      break;
    case 6:
      DialogClear(*s, kDialogOutputA | kDialogOutputB);
      StartRequest(*s, 2, 0x28, 0x01, 0xA8, 0x00, 5);
      break;
    case 11:
      RunBranchDrive(*s, 1);
      break;
    case 12:
      RunBranchDrive(*s, 0);
      break;
    case 13:
      RunBranchDrive(*s, 2);
      break;
    case 20:
    case 21:
    case 22:
      RunDriveProgram(*s, mode);
      break;
    default:
      break;
  }
  s->Clear(kLinkTestCommand);
  return 1;
}

void RunCurrentWatch(LinkState* s) {
  if (!Usable(s)) return;
  if (s->TestAndSet(kLinkCurrentWatch)) return;
  int failures = 0;
  int low = 0;
  Telegram t;
  // Until an abort (the test screen's stop) or a stop request (closing).
  while (!s->Has(kLinkAbort | kLinkStop)) {
    if (s->Has(kLinkDownload | kLinkUpload)) break;
    if (failures >= 7) break;
    if (low < 6) {
      s->Sleep(20);
      t.SetCommand(0x0C);
      if (Once(*s, t, 0x8C) && t.m_length >= 2) {
        const int current = (t.m_data[0] << 8) | t.m_data[1];
        if (current < 500) ++low;
      } else {
        ++failures;
      }
    } else {
      t.SetCommand(0x13);
      if (Once(*s, t, 0x93)) {
        s->Post(kMsgOutputsOff);
        break;
      }
      ++failures;
    }
  }
  s->Clear(kLinkCurrentWatch);
}

int TestRequestThread(LinkState* s) {
  if (!Usable(s)) return 0;
  s->Post(kMsgDisableTests, 0);
  if (s->TestAndSet(kLinkTestRequest)) return 0;
  CDeviceLink& link = *s->m_link;
  std::unique_lock lock(link.Lock());
  // A stop request (closing) ends the run like the test screen's abort.
  const auto aborted = [s] { return s->Has(kLinkAbort | kLinkStop); };
  const std::array<std::uint8_t, 5> request = s->m_testRequest;

  int last = link.SendCommand(0x13, 0x93);
  if (!aborted()) last = link.SendCommand(0x12, 0x92);
  if (!aborted()) {
    s->Sleep(250);
    const std::uint8_t header[2] = {0x24, 0x01};
    const std::uint8_t expected[2] = {0xA4, 0x00};
    last = link.SendHeader(header, expected, 2);
  }
  if (!aborted()) {
    const std::uint8_t header[2] = {request[1], request[2]};
    const std::uint8_t expected[2] = {request[3], request[4]};
    last = link.SendHeader(header, expected, request[0] == 2 ? 2 : 1);
  }

  if (request[1] == 0x28) {
    // What the box sends by itself while it works on the request, at most ten telegrams and
    // only until it falls silent for a receive time-out; queued, as the port watch would have,
    // for the test screen.
    Telegram t;
    for (int i = 0; i < 10 && !aborted(); ++i) {
      t.Reset();
      t.m_headerLength = kUnsolicitedHeaderLength;
      const Reception r = link.ReceiveFrame(t);
      if (r == Reception::kNothing || r == Reception::kGone) break;
      if (r == Reception::kFrame && Succeeded(link.PushTelegram(t))) s->Post(kMsgTelegramQueued);
    }
  }

  if (request[1] == 0x28 && request[2] == 0x01 && !aborted()) {
    // Factory reset: read the parameter set back from the motor, into a scratch image that
    // replaces the set being worked on only when the reading is complete.
    s->Sleep(50);
    ParameterImage scratch;
    bool complete = true;
    Telegram t;
    for (int index = 0; index < 7 && complete && !aborted(); ++index) {
      const std::uint8_t cmd = kReadOrder[index];
      const auto block = scratch.Block(cmd);
      int failures = 0;
      for (;;) {
        if (aborted()) {
          complete = false;
          break;
        }
        t.SetCommand(cmd);
        if (Once(*s, t, static_cast<std::uint8_t>(cmd | 0x80)) && t.m_length == block.size()) {
          std::memcpy(block.data(), t.m_data.data(), block.size());
          break;
        }
        if (++failures > 5) {
          const std::string text =
              Tx("Fehler beim Zur\xFC"
                 "cksetzen!\nBitte erneute ausf\xFChren.\nState: %1",
                 {std::to_string(index)});
          if (s->m_window != nullptr) {
            // The box waits for the user-interface thread, which may itself be waiting for the
            // link lock (a queue pop, the operating-data read): it is shown without the lock.
            lock.unlock();
            s->m_window->MessageBox(text, Tx("Error..."), kMbIconError | kMbTopmost);
            lock.lock();
          }
          complete = false;
          break;
        }
        s->Sleep(100);
      }
    }
    if (!aborted()) {
      if (link.IdentifyBox(scratch) == 0) s->Post(kMsgIdentifyFailed);
      // Only a complete reading becomes the set, and a valid one; the user-interface thread
      // takes it over, so the set never changes under a screen.
      if (complete) {
        scratch.m_valid = 1;
        {
          std::lock_guard handover(s->m_handoverMutex);
          s->m_handover = scratch;
        }
        s->Post(kMsgResetSetRead);
      }
    }
  }

  if (!aborted()) {
    link.SendCommand(0x11, 0x91);
    last = link.SendCommand(0x13, 0x93);
  }
  if (last != 0 || aborted()) {
    if (aborted()) {
      s->Clear(kLinkAbort);
    } else {
      RunCurrentWatch(s);
    }
  }
  s->Clear(kLinkTestRequest);
  s->m_testsBlocked = false;
  lock.unlock();
  s->Post(kMsgEnableTests);
  return 1;
}

}  // namespace roviro
