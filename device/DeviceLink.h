#pragma once
// The link to the programming box: finding the box among the USB-serial bridges, opening its
// port, single transactions and the retry helpers on top of them, the queue of telegrams the box
// sends by itself, the list of ports never to be used, and the worker threads. One recursive
// lock (the link lock) serialises every transaction, the queue and the ignore list.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "device/LinkState.h"
#include "device/Telegram.h"
#include "device/TelegramTrace.h"
#include "platform/PortResolver.h"
#include "platform/Result.h"
#include "platform/UsbBridgeList.h"

namespace roviro {

// The link lock: recursive, and it knows how deeply it is held.
class LinkLock {
 public:
  void lock() {
    m_mutex.lock();
    ++m_depth;
  }
  bool try_lock() {
    if (!m_mutex.try_lock()) return false;
    ++m_depth;
    return true;
  }
  void unlock() {
    --m_depth;
    m_mutex.unlock();
  }
  int Depth() const { return m_depth.load(); }

 private:
  std::recursive_mutex m_mutex;
  std::atomic<int> m_depth{0};
};

inline constexpr int kQueueSize = 100;

// The times the exchange with the box is built on.
inline constexpr std::int64_t kRequestSettleMs = 30;  // from the request's write
inline constexpr std::int64_t kReplyBeginMs = 500;    // for a reply to begin
inline constexpr std::int64_t kReplyStallMs = 40;     // of silence within a begun frame

// The header length telegrams the box sends by itself are received with: 2, so that the
// command and sub-code it sent (0xF1 0x08, 0xA8 0x01) land in the telegram's command and
// sub-code bytes, where the test screen looks for them.
inline constexpr std::uint8_t kUnsolicitedHeaderLength = 2;

// What one reception came to.
enum class Reception {
  kFrame,    // a complete frame with the right checksum
  kNothing,  // no frame began in the time allowed
  kBad,      // a frame began but stalled, did not fit or failed its checksum; or no port
  kGone,     // the port failed on a read: device gone
};

class CDeviceLink {
 public:
  // `bridges` null: the real USB bridges. The clock, resolver and image are borrowed and must
  // outlive the link.
  explicit CDeviceLink(Clock& clock = RealClock(), UsbBridgeList* bridges = nullptr,
                       PortResolver& resolver = ThePortResolver(),
                       ParameterImage& image = TheParameterImage());
  ~CDeviceLink();
  CDeviceLink(const CDeviceLink&) = delete;
  CDeviceLink& operator=(const CDeviceLink&) = delete;

  // ---- discovery ----
  HResult Init(MessageSink* window, int rangeStart, int rangeEnd);
  void LoadIgnoreList();
  HResult Discover();
  HResult OpenPort(const std::string& name, int baudRate, int dataBits, int parity, int stopBits);
  bool IsIgnored(std::string_view name);
  void AddIgnored(std::string_view name);
  bool IsOpen() const;
  // Closes the port (the program is closing, or a test is done with it).
  void ClosePort();

  // ---- transactions ----
  HResult Transact(Telegram& telegram);
  HResult Receive(Telegram& telegram);
  // Receive with its outcome told apart: waits `beginWaitMs` for a frame to begin (0: takes
  // only a frame that has begun already, and gives the lock back at once otherwise), then reads
  // it as its bytes arrive until it is complete or stalls. Ends early on a stop request.
  Reception ReceiveFrame(Telegram& telegram, std::int64_t beginWaitMs = kReplyBeginMs);
  HResult Drain();
  int SendCommand(std::uint8_t command, std::uint8_t expectedReply);
  int SendHeader(const std::uint8_t* header, const std::uint8_t* expected, int count);
  // Writes the box serial and version into the shared image, or into `image`.
  int IdentifyBox();
  int IdentifyBox(ParameterImage& image);
  // Moves a set a worker read or wrote (a download's or an upload's, announced by 20022 or
  // 20035; the factory reset's, by kMsgResetSetRead) into `image`; false, and `image`
  // untouched, when there is none.
  bool TakeReadSet(ParameterImage& image);
  HResult PushTelegram(const Telegram& telegram);
  HResult PopTelegram(Telegram& telegram);

  // ---- workers: started here, owned here, joined when the link stops ----
  bool StartPortWatch();
  bool StartDownload();
  bool StartUpload();
  bool StartTestConnection();
  bool StartTestCommand();
  bool StartTestRequest();
  // The operating-data read as a worker (ReadOperatingData, with the motor's identity when
  // asked): it waits for the link while another worker holds it, and its result is taken on
  // the user-interface thread. Returns the read's number, 0 when it could not start.
  struct OperatingDataResult {
    HResult result = E_FAIL;
    std::array<std::uint8_t, 22> block{};
    std::vector<std::uint8_t> identity;
  };
  std::uint32_t StartOperatingDataRead(bool withIdentity);
  // The result of read number `read` once it has ended; false while it runs (or for a read
  // superseded by a later one).
  bool TakeOperatingData(std::uint32_t read, OperatingDataResult* result);
  // Asks every worker to end (the stop request: each ends within the telegram it is on), joins
  // them all and closes the port.
  void Stop();
  // Waits until every worker started so far has ended, without asking them to.
  void JoinWorkers();
  int RunningWorkers() const;

  // ---- state ----
  LinkLock& Lock() { return m_lock; }
  LinkState& State() { return m_state; }
  Clock& GetClock() { return m_clock; }
  int PortNumber() const { return m_portNumber.load(); }
  // The system's device of the open box ("/dev/ttyUSB0"); empty while none is open or when the
  // box is not a device of the system (the built-in simulated box).
  std::string DevicePath() const;
  int RangeStart() const { return m_rangeStart; }
  int RangeEnd() const { return m_rangeEnd; }
  std::vector<std::string> IgnoreList();
  // The last device the discovery could not open for want of permission or because another
  // program holds it, and the group that
  // owns it (empty when unknown); an empty device when there was none. Each such device is
  // reported once with kMsgPortAccessDenied; the words are the dialog's.
  // `inUse`: the device was not refused for want of permission but because another program
  // holds it (the window, or the command-line tool); it is then not talked to at all.
  struct DeniedDevice {
    std::string device;
    std::string group;
    bool inUse = false;
  };
  DeniedDevice AccessDenied() const;
  // The main dialog's flag word; the link keeps its own until the dialog hands over its word.
  void SetDialogFlags(std::atomic<std::uint32_t>* flags);
  // Every frame written and every run of bytes read from now on goes to `trace` as well
  // (null: no trace). The trace is borrowed and must outlive the link or be taken off first.
  void SetTrace(TelegramTrace* trace) { m_trace = trace; }

 private:
  struct Worker {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  bool StartWorker(std::function<void()> body);
  void ReapFinished();
  // A read failed: the device is gone and no port number holds any more.
  void MarkDeviceGone();
  void Tap(TraceDirection direction, const std::uint8_t* bytes, int count) {
    if (TelegramTrace* trace = m_trace.load()) trace->Record(direction, bytes, count);
  }

  Clock& m_clock;
  std::unique_ptr<UsbBridgeList> m_ownBridges;
  UsbBridgeList* m_bridges;
  PortResolver& m_resolver;
  LinkLock m_lock;
  LinkState m_state;
  std::atomic<std::uint32_t> m_ownDialogFlags{0};
  std::atomic<TelegramTrace*> m_trace{nullptr};

  std::atomic<int> m_portNumber{-1};
  void SetDevicePath(std::string path);
  mutable std::mutex m_deviceMutex;
  std::string m_devicePath;
  int m_rangeStart = 1;
  int m_rangeEnd = 100;
  std::vector<std::string> m_ignore;

  std::mutex m_opDataMutex;
  std::uint32_t m_opDataRead = 0;
  std::optional<OperatingDataResult> m_opData;

  // The queue has a lock of its own: the user-interface thread takes a telegram without
  // waiting for a worker that holds the link lock for a whole transfer.
  std::mutex m_queueMutex;
  std::array<Telegram, kQueueSize> m_queue{};
  int m_readIndex = 0;
  int m_writeIndex = 0;
  bool m_queueFull = false;

  void NoteAccessDenied(const std::string& device, const std::string& group, bool inUse);
  mutable std::mutex m_deniedMutex;
  DeniedDevice m_denied;
  std::vector<std::string> m_deniedReported;

  mutable std::mutex m_workersMutex;
  std::vector<Worker> m_workers;
};

// The worker thread procedures; each returns 1 on success, 0 otherwise.
int PortWatchThread(LinkState* state);
int DownloadThread(LinkState* state);
int UploadThread(LinkState* state);
// The test screen's workers.
int TestConnectionThread(LinkState* state);
int TestCommandThread(LinkState* state);
int TestRequestThread(LinkState* state);
// The test screen's current watch, run by the test-request worker under the link lock.
void RunCurrentWatch(LinkState* state);

}  // namespace roviro
