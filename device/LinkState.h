#pragma once
// The control block the device link shares with its workers and the user-interface thread:
// the flag word (an atomic, each bit with one writer at a time), the open port, the receiver of
// posted messages, counters and the screens' requests to the workers. Also the numbers of the
// messages the workers post.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "catalogue/Catalogue.h"
#include "catalogue/ParameterImage.h"
#include "platform/BytePort.h"
#include "platform/Clock.h"
#include "platform/MessageSink.h"

namespace roviro {

class CDeviceLink;

// Flag bits of LinkState::m_flags.
inline constexpr std::uint32_t kLinkUpload = 0x2;
inline constexpr std::uint32_t kLinkDownload = 0x4;
inline constexpr std::uint32_t kLinkTestRequest = 0x8;
inline constexpr std::uint32_t kLinkPortWatch = 0x10;
inline constexpr std::uint32_t kLinkAbort = 0x20;
inline constexpr std::uint32_t kLinkTestCommand = 0x40;
inline constexpr std::uint32_t kLinkCurrentWatch = 0x80;
inline constexpr std::uint32_t kLinkTestConnection = 0x100;
inline constexpr std::uint32_t kLinkStop = 0x1000;
inline constexpr std::uint32_t kLinkOpen = 0x2000;
inline constexpr std::uint32_t kLinkDeviceGone = 0x4000;
inline constexpr std::uint32_t kLinkWatchEnded = 0x10000;
inline constexpr std::uint32_t kLinkMotor = 0x100000;
inline constexpr std::uint32_t kLinkOtherMotor = 0x200000;
inline constexpr std::uint32_t kLinkState4 = 0x1000000;
inline constexpr std::uint32_t kLinkState6 = 0x2000000;
// The link counts as busy while any of these is set.
inline constexpr std::uint32_t kLinkBusy = 0x1EE;

// Bits of the main dialog's flag word that the device layer touches.
inline constexpr std::uint32_t kDialogDataLoaded = 0x200;
inline constexpr std::uint32_t kDialogOutputA = 0x1000000;
inline constexpr std::uint32_t kDialogOutputB = 0x2000000;

// Messages posted to the main dialog.
inline constexpr std::uint32_t kMsgSearchBegins = 20020;
inline constexpr std::uint32_t kMsgBoxFound = 20021;
inline constexpr std::uint32_t kMsgTransferDone = 20022;
// wParam 0, or the error code (569320, 569340) of a box the upload worker has shown itself.
inline constexpr std::uint32_t kMsgTransferFailed = 20023;
inline constexpr std::uint32_t kMsgRefresh = 20025;
inline constexpr std::uint32_t kMsgTelegramQueued = 20029;
inline constexpr std::uint32_t kMsgBoxLost = 20030;
inline constexpr std::uint32_t kMsgWatchEnded = 20031;
inline constexpr std::uint32_t kMsgBoxOnly = 20035;
inline constexpr std::uint32_t kMsgNoParameters = 20037;
inline constexpr std::uint32_t kMsgIdentifyFailed = 20039;
inline constexpr std::uint32_t kMsgDisableTests = 20040;
inline constexpr std::uint32_t kMsgEnableTests = 20041;
inline constexpr std::uint32_t kMsgOutputsOff = 20042;
// The discovery met a device the user may not open (CDeviceLink::AccessDenied tells which);
// posted once per device.
inline constexpr std::uint32_t kMsgPortAccessDenied = 20043;
// The factory reset has read the motor's set back: the user-interface thread takes it over
// with CDeviceLink::TakeReadSet (a worker never replaces the set itself; a download's set
// waits there too when 20022 or 20035 is posted).
inline constexpr std::uint32_t kMsgResetSetRead = 20044;
// The operating-data read started with CDeviceLink::StartOperatingDataRead: wParam
// kOperatingDataReading once it has the link and talks to the motor, kOperatingDataDone when
// its result waits in TakeOperatingData.
inline constexpr std::uint32_t kMsgOperatingData = 20045;
inline constexpr std::uintptr_t kOperatingDataReading = 1;
inline constexpr std::uintptr_t kOperatingDataDone = 2;

struct LinkState {
  std::atomic<std::uint32_t> m_flags{0};
  // The open port; touched only under the link lock.
  std::unique_ptr<BytePort> m_port;
  MessageSink* m_window = nullptr;
  CDeviceLink* m_link = nullptr;
  std::atomic<std::uint32_t> m_attempts{0};
  std::atomic<int> m_mode{0};
  std::atomic<std::uint32_t> m_jobMask{0};
  std::string m_programFolder;
  std::atomic<int> m_progress{0};
  std::atomic<int> m_testMode{0};
  // Header length, command, sub-code, expected reply command, expected reply sub-code.
  std::array<std::uint8_t, 5> m_testRequest{};

  // What the workers work on: time, the parameter image, the current catalogue (for the
  // upload's variant adjustment) and the main dialog's flag word.
  Clock* m_clock = nullptr;
  ParameterImage* m_image = nullptr;
  std::atomic<const Catalogue*> m_catalogue{nullptr};
  std::atomic<std::uint32_t>* m_dialogFlags = nullptr;

  // A set a worker has read for the user-interface thread to take over; its own lock, so that
  // neither side waits for the link.
  std::mutex m_handoverMutex;
  std::optional<ParameterImage> m_handover;
  // The test buttons are blocked while a test request runs (from the command worker's start of
  // it to its end): the link's state, whichever screen instance shows the buttons.
  std::atomic<bool> m_testsBlocked{false};

  bool Has(std::uint32_t bits) const { return (m_flags.load() & bits) != 0; }
  void Set(std::uint32_t bits) { m_flags.fetch_or(bits); }
  void Clear(std::uint32_t bits) { m_flags.fetch_and(~bits); }
  // Sets the bits and tells whether any of them was set already.
  bool TestAndSet(std::uint32_t bits) { return (m_flags.fetch_or(bits) & bits) != 0; }
  void AddProgress(int step) {
    const int p = m_progress.load() + step;
    m_progress = p > 100 ? 100 : p;
  }
  void Post(std::uint32_t msg, std::uintptr_t wParam = 0) {
    if (m_window != nullptr) m_window->Post(msg, wParam, 0);
  }
  bool Stopping() const { return Has(kLinkStop); }
  // A worker's wait: cut short by a stop request, so that closing never waits for it. Returns
  // false when it was cut short.
  // The slices are measured against the end, so that what each oversleeps does not add up.
  bool Sleep(std::int64_t ms) {
    if (m_clock == nullptr) return !Stopping();
    const std::int64_t end = m_clock->NowMs() + ms;
    for (std::int64_t left = ms; left > 0 && !Stopping(); left = end - m_clock->NowMs()) {
      m_clock->SleepMs(left < kStopCheckMs ? left : kStopCheckMs);
    }
    return !Stopping();
  }
  // How often a waiting worker looks for a stop request.
  static constexpr std::int64_t kStopCheckMs = 10;
};

}  // namespace roviro
