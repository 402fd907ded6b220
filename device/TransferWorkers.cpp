// The port watch, the download and the upload worker.

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>

#include "device/ConnectionSequence.h"
#include "device/DeviceLink.h"
#include "device/ReadSet.h"
#include "platform/Translation.h"

namespace roviro {

namespace {

constexpr std::uint8_t kDownloadOrder[7] = {0x34, 0x22, 0x2E, 0x32, 0x30, 0x39, 0x3B};

bool Usable(const LinkState* s) {
  return s != nullptr && s->m_link != nullptr && s->m_window != nullptr && s->m_clock != nullptr &&
         s->m_image != nullptr;
}

void CopyReply(const Telegram& t, std::span<std::uint8_t> block, std::size_t count) {
  std::memcpy(block.data(), t.m_data.data(), std::min(count, block.size()));
}

}  // namespace

// ---------------------------------------------------------------------------------------------

int PortWatchThread(LinkState* s) {
  if (!Usable(s)) return 0;
  if (s->Has(kLinkWatchEnded)) return 0;
  if (s->TestAndSet(kLinkPortWatch)) return 0;  // one port watch at a time
  CDeviceLink& link = *s->m_link;
  s->Clear(kLinkOpen);
  s->Post(kMsgSearchBegins);

  while (!s->Has(kLinkOpen) && !s->Stopping()) {
    if (Succeeded(link.Discover())) break;
    s->Sleep(500);
  }
  if (!s->Stopping()) s->Post(kMsgBoxFound);
  s->Clear(kLinkDeviceGone);

  Telegram t;
  while (!s->Stopping()) {
    Reception r;
    {
      // Only a frame the box has begun to send is read under the lock; an idle line gives
      // the lock back at once, so that a transfer or a queue pop never waits for a poll.
      std::unique_lock lock(link.Lock());
      t.Reset();
      t.m_headerLength = kUnsolicitedHeaderLength;
      r = link.ReceiveFrame(t, 0);
      if (r == Reception::kFrame && Succeeded(link.PushTelegram(t))) s->Post(kMsgTelegramQueued);
    }
    if (r != Reception::kFrame && s->Has(kLinkDeviceGone)) break;
    // Right after a telegram another may follow; otherwise the next poll is due in 100 ms.
    if (r != Reception::kFrame) s->Sleep(100);
  }

  s->Clear(kLinkPortWatch | kLinkDeviceGone);
  if (s->Stopping()) {
    // Workers still running get up to 5 s to end (each ends within its telegram). The abort
    // bit is a request to the test workers, not a running worker.
    constexpr std::uint32_t kRunning = kLinkBusy & ~kLinkAbort;
    const std::int64_t until = s->m_clock->NowMs() + 5000;
    while (s->Has(kRunning) && s->m_clock->NowMs() < until) {
      s->m_clock->SleepMs(LinkState::kStopCheckMs);
    }
    s->Set(kLinkWatchEnded);
    s->Post(kMsgWatchEnded);
    return 0;
  }
  s->Post(kMsgBoxLost);
  return 1;
}

// ---------------------------------------------------------------------------------------------

SetReadOutcome ReadBoxBlocksInto(LinkState& s, ParameterImage& scratch) {
  CDeviceLink& link = *s.m_link;
  static constexpr std::uint8_t kSubs[3] = {0x00, 0x02, 0x04};
  static constexpr std::uint8_t kTargets[3] = {0x39, 0x2E, 0x34};
  Telegram t;
  for (int i = 0; i < 3; ++i) {
    const auto block = scratch.Block(kTargets[i]);
    for (;;) {
      if (t.m_command == 0x99 && t.m_length >= 1 && t.m_data[0] == 1) {
        return SetReadOutcome::kNoParameters;
      }
      if (s.Stopping()) return SetReadOutcome::kFailed;
      s.AddProgress(8);
      t.SetHeader(0x19, kSubs[i]);
      if (Succeeded(link.Transact(t)) && t.m_command == 0x19 && t.m_subCode == kSubs[i] + 1 &&
          t.m_length == block.size()) {
        // Block 0x39 arrives with the box's check byte last, which is not taken over.
        CopyReply(t, block, kTargets[i] == 0x39 ? block.size() - 1 : block.size());
        break;
      }
      if (++s.m_attempts > 4) return SetReadOutcome::kFailed;
    }
  }
  return SetReadOutcome::kBox;
}

SetReadOutcome ReadSetInto(LinkState& s, ParameterImage& scratch) {
  CDeviceLink& link = *s.m_link;
  s.Clear(kLinkMotor);
  s.m_progress = 0;
  s.m_attempts = 0;
  RunConnectionStart(s, {});

  s.m_progress = 50;
  s.m_attempts = 0;
  // A failed or stopped reading: no connection end is sent.
  if (s.Stopping()) return SetReadOutcome::kFailed;

  Telegram t;
  const bool motor = s.Has(kLinkMotor);
  if (motor) {
    for (std::uint8_t cmd : kDownloadOrder) {
      const auto block = scratch.Block(cmd);
      for (;;) {
        if (s.Stopping()) return SetReadOutcome::kFailed;
        t.SetCommand(cmd);
        // Only a reply of the block's exact length is taken: a shorter or longer one would
        // leave stale bytes or spill into the next block.
        if (Succeeded(link.Transact(t)) && t.m_command == (cmd | 0x80) &&
            t.m_length == block.size()) {
          CopyReply(t, block, block.size());
          s.AddProgress(6);
          break;
        }
        if (++s.m_attempts > 5) return SetReadOutcome::kFailed;
      }
    }
  } else if (const SetReadOutcome box = ReadBoxBlocksInto(s, scratch);
             box != SetReadOutcome::kBox) {
    return box;
  }

  RunConnectionEnd(s);
  s.m_progress = 100;
  return motor ? SetReadOutcome::kMotor : SetReadOutcome::kBox;
}

// ---------------------------------------------------------------------------------------------

int DownloadThread(LinkState* s) {
  if (!Usable(s)) return 0;
  if ((s->m_jobMask.load() & 1u) == 0) {
    s->m_window->MessageBox(Tx("Fehlerhafte Maskierung"), Tx("Fehler..."), kMbTopmost);
    s->Clear(kLinkDownload);
    s->Post(kMsgTransferFailed);
    return 0;
  }
  if (s->m_mode.load() != 1) {
    s->m_window->MessageBox(Tx("Falscher Thread gestartet"), Tx("Fehler..."), kMbTopmost);
    s->Clear(kLinkDownload);
    s->Post(kMsgTransferFailed);
    return 0;
  }
  CDeviceLink& link = *s->m_link;
  if (!link.IsOpen()) {
    s->Clear(kLinkDownload);
    s->Post(kMsgTransferFailed);
    return 0;
  }
  if (s->TestAndSet(kLinkDownload)) return 0;  // a download is running
  s->Clear(kLinkMotor);
  std::unique_lock lock(link.Lock());
  s->Post(kMsgRefresh);
  // The set is read into a scratch image, cleared as the set would be; the set being worked
  // on is replaced only when the reading is complete, so that a failure loses nothing.
  ParameterImage scratch;
  const SetReadOutcome outcome = ReadSetInto(*s, scratch);
  if (outcome == SetReadOutcome::kNoParameters) {
    s->Post(kMsgNoParameters);
    s->Clear(kLinkDownload);
    lock.unlock();
    s->Post(kMsgRefresh);
    return 0;
  }
  if (outcome == SetReadOutcome::kFailed) {
    s->Post(kMsgTransferFailed);
    s->Clear(kLinkDownload);
    lock.unlock();
    s->Post(kMsgRefresh);
    return 0;
  }
  const bool motor = outcome == SetReadOutcome::kMotor;
  // Marked complete and handed over before anyone is told; the user-interface thread takes it
  // into the set when the message arrives (CDeviceLink::TakeReadSet), so that the set never
  // changes under a screen.
  scratch.m_valid = 1;
  {
    std::lock_guard handover(s->m_handoverMutex);
    s->m_handover = scratch;
  }
  s->Clear(kLinkDownload);
  if (s->m_mode.load() < 2) s->Sleep(500);
  lock.unlock();
  s->Post(motor ? kMsgTransferDone : kMsgBoxOnly);
  return 1;
}

// ---------------------------------------------------------------------------------------------

namespace {

// The box for a motor that cannot be written: no owner window, top-most, error icon.
void ShowUploadFatal(LinkState& s, const char* code) {
  const std::string text =
      Tx("Motor konnte nicht beschrieben werden.\nKontaktieren Sie bitte den Trevanic "
         "Support.\n\nFehlercode %1",
         {code});
  s.m_window->MessageBox(text, Tx("Schwerer Ausnahmefehler..."), kMbIconError | kMbTopmost);
}

void WriteStamp(ParameterImage& image, const std::array<std::uint8_t, 3>& stamp) {
  auto b = image.Block(0x39);
  b[11] = stamp[0];
  b[12] = stamp[1];
  b[13] = stamp[2];
  b[14] = 1;
}

void FillSealed(Telegram& t, std::span<const std::uint8_t> block) {
  t.AppendData(block.data(), static_cast<int>(block.size()));
  SealBlock(t);
}

}  // namespace

int UploadThread(LinkState* s) {
  if (!Usable(s)) return 0;
  if ((s->m_jobMask.load() & 2u) == 0) {
    s->m_window->MessageBox(Tx("Fehlerhafte Maskierung"), Tx("Fehler..."), kMbTopmost);
    s->Clear(kLinkUpload);
    s->Post(kMsgTransferFailed);
    return 0;
  }
  CDeviceLink& link = *s->m_link;
  // The upload works on a copy of the set: the variant's lines, the box's serial and the
  // upload stamp it writes reach the set on the user-interface thread with the message that
  // ends a completed upload (CDeviceLink::TakeReadSet); a failed one leaves the set as it was.
  ParameterImage image = *s->m_image;
  s->Set(kLinkUpload);
  s->Clear(kLinkMotor | kLinkOtherMotor);
  std::unique_lock lock(link.Lock());
  s->Post(kMsgRefresh);

  const SystemTime now = s->m_clock->LocalNow();
  const auto stamp = EncodeUploadStamp(now.year, now.month, now.day, now.hour);
  s->m_progress = 0;
  s->m_attempts = 0;
  std::array<std::uint8_t, 3> motorId{};
  RunConnectionStart(*s, {.checkMotorType = true, .markBranches = false}, &motorId);
  s->m_progress = 33;
  s->m_attempts = 0;

  // A failed or stopped transfer: no connection end is sent.
  const auto failed = [&] {
    s->Post(kMsgTransferFailed);
    s->Clear(kLinkUpload);
    lock.unlock();
    s->Post(kMsgRefresh);
    return 0;
  };
  if (s->Stopping()) return failed();

  // The connected motor is a different variant of the same type: take over its variant and
  // the variant's factory lines 2 and 3 from the current catalogue.
  if (s->Has(kLinkMotor) && (motorId[2] & 7) != (image.Block(0x39)[2] & 7)) {
    const int variant = motorId[2] & 7;
    const Catalogue* catalogue = s->m_catalogue.load();
    int code = 0;
    if (variant > 2) {
      code = 569320;
    } else if (catalogue == nullptr || catalogue->motors[variant].strGuidNQB.empty() ||
               catalogue->motors[variant].strGuidUMode.empty()) {
      code = 569340;
    }
    if (code != 0) {
      s->Clear(kLinkUpload);
      lock.unlock();
      s->Post(kMsgRefresh);
      ShowUploadFatal(*s, std::to_string(code).c_str());
      // The screen ends the transfer as failed (its timer, its bar, its result line, the
      // history); the error code travels along, the box above has already said it.
      s->Post(kMsgTransferFailed, static_cast<std::uintptr_t>(code));
      return 0;
    }
    const MotorRecord& record = catalogue->motors[variant];
    auto id = image.Block(0x39);
    id[2] = static_cast<std::uint8_t>((id[2] & 0xF8) | variant);
    const BlockInfo* line2 = FindBlockByLine(2);
    const BlockInfo* line3 = FindBlockByLine(3);
    std::memcpy(image.m_block.data() + line2->offset, record.block.data() + line2->offset,
                static_cast<std::size_t>(line2->size));
    std::memcpy(image.m_block.data() + line3->offset, record.block.data() + line3->offset,
                static_cast<std::size_t>(line3->size));
  }

  const bool other = s->Has(kLinkOtherMotor);
  if (!other) {
    if (link.IdentifyBox(image) == 0) s->Post(kMsgIdentifyFailed);
    // The identification counts on the transfer's attempts; one that used them up leaves
    // none for the writes, so the transfer fails before its first write and motor and box
    // keep their set whole.
    const std::uint32_t limit = s->Has(kLinkMotor) ? 5 : 4;
    if (s->m_attempts > limit || s->Stopping()) return failed();
  }

  Telegram t;
  if (s->Has(kLinkMotor) && !other) {
    // Each step: fill, send, and on the expected reply go on; else count and repeat.
    const auto step = [&](auto fill, std::uint8_t expected) {
      for (;;) {
        if (s->Stopping()) return false;
        t.Reset();
        fill();
        if (Succeeded(link.Transact(t)) && t.m_command == expected) return true;
        if (++s->m_attempts > 5) return false;
      }
    };
    const auto blockA = [&] { return image.Block(0x34); };
    if (!step(
            [&] {
              t.SetCommand(0x35);
              FillSealed(t, blockA());
            },
            0xB5)) {
      return failed();
    }
    s->AddProgress(8);
    // Read block B twice; the first answer hands over the motor's flag bit 7 of byte 8.
    for (;;) {
      if (s->Stopping()) return failed();
      t.SetCommand(0x2E);
      if (Succeeded(link.Transact(t)) && t.m_command == 0xAE && t.m_length == 11) {
        auto b = image.Block(0x2E);
        b[8] = static_cast<std::uint8_t>((b[8] & 0x7F) | (t.m_data[8] & 0x80));
        break;
      }
      if (++s->m_attempts > 5) return failed();
    }
    if (!step([&] { t.SetCommand(0x2E); }, 0xAE)) return failed();
    s->AddProgress(8);
    if (!step(
            [&] {
              t.SetCommand(0x2F);
              FillSealed(t, image.Block(0x2E));
            },
            0xAF)) {
      return failed();
    }
    s->AddProgress(8);
    // The stamp block: one try; a failure here does not stop the upload.
    if (s->Stopping()) return failed();
    WriteStamp(image, stamp);
    t.SetCommand(0x3A);
    t.AppendData(image.Block(0x39).data() + 6, 19);
    link.Transact(t);
    s->AddProgress(8);
    if (!step(
            [&] {
              t.SetCommand(0x23);
              FillSealed(t, blockA());
            },
            0xA3)) {
      return failed();
    }
    s->AddProgress(8);
    if (!step(
            [&] {
              t.SetCommand(0x33);
              std::array<std::uint8_t, 11> b{};
              std::memcpy(b.data(), image.Block(0x2E).data(), b.size());
              b[8] &= 0x7F;
              FillSealed(t, b);
            },
            0xB3)) {
      return failed();
    }
    s->AddProgress(8);
    if (!step(
            [&] {
              t.SetCommand(0x3C);
              FillSealed(t, image.Block(0x3B));
            },
            0xBC)) {
      return failed();
    }
    s->AddProgress(8);
    s->AddProgress(5);
  }

  if (!other) {
    static constexpr std::uint8_t kSubs[3] = {0x01, 0x03, 0x05};
    static constexpr std::uint8_t kSources[3] = {0x39, 0x2E, 0x34};
    for (int i = 0; i < 3; ++i) {
      s->AddProgress(5);
      if (i == 0) WriteStamp(image, stamp);
      for (;;) {
        if (s->Stopping()) return failed();
        t.SetHeader(0x19, kSubs[i]);
        FillSealed(t, image.Block(kSources[i]));
        if (Succeeded(link.Transact(t)) && t.m_command == 0x99 && t.m_subCode == kSubs[i] &&
            t.m_length >= 1 && t.m_data[0] == 0) {
          break;
        }
        if (++s->m_attempts > 4) return failed();
      }
    }
  }

  RunConnectionEnd(*s);
  s->m_progress = 100;
  {
    std::lock_guard handover(s->m_handoverMutex);
    s->m_handover = image;
  }
  s->Clear(kLinkUpload);
  lock.unlock();
  if (other) {
    s->Post(kMsgTransferDone, 1);
  } else {
    s->Post(s->Has(kLinkMotor) ? kMsgTransferDone : kMsgBoxOnly);
  }
  return 1;
}

}  // namespace roviro
