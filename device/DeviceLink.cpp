#include "device/DeviceLink.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "device/OperatingData.h"
#include "pages/TextHelpers.h"
#include "platform/Paths.h"
#include "platform/Translation.h"

namespace roviro {

namespace {

constexpr const char* kFtCaption = TX_NOOP("FT-Fehler");
constexpr std::uint32_t kFtStyle = kMbIconError | kMbTopmost;

void ShowFtError(MessageSink* sink, const char* text) {
  if (sink != nullptr) sink->MessageBox(Tx(text), Tx(kFtCaption), kFtStyle);
}

// Without blanks and tabs at either end ("COM4 // printer" leaves "COM4 " after the comment).
std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

CDeviceLink::CDeviceLink(Clock& clock, UsbBridgeList* bridges, PortResolver& resolver,
                         ParameterImage& image)
    : m_clock(clock), m_bridges(bridges), m_resolver(resolver) {
  if (m_bridges == nullptr) {
    m_ownBridges = std::make_unique<LibSerialPortBridgeList>();
    m_bridges = m_ownBridges.get();
  }
  m_state.m_link = this;
  m_state.m_clock = &clock;
  m_state.m_image = &image;
  m_state.m_dialogFlags = &m_ownDialogFlags;
}

CDeviceLink::~CDeviceLink() { Stop(); }

void CDeviceLink::SetDialogFlags(std::atomic<std::uint32_t>* flags) {
  m_state.m_dialogFlags = flags != nullptr ? flags : &m_ownDialogFlags;
}

// ---------------------------------------------------------------------------------------------
// Discovery

HResult CDeviceLink::Init(MessageSink* window, int rangeStart, int rangeEnd) {
  if (window == nullptr || rangeEnd < rangeStart) return E_FAIL;
  m_rangeStart = rangeStart;
  m_rangeEnd = rangeEnd;
  m_portNumber = -1;
  SetDevicePath({});
  m_state.Clear(kLinkOpen);
  // The workers need the receiver of their messages before the first discovery succeeds.
  m_state.m_window = window;
  return S_OK;
}

void CDeviceLink::LoadIgnoreList() {
  std::lock_guard lock(m_lock);
  const std::string path = JoinPath(m_state.m_programFolder, "IgnorePortList.txt");
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (file == nullptr) return;
  int section = 0;
  for (;;) {
    std::string line = ReadLine(file);
    if (line.empty()) break;
    CleanLine(line, kCleanLineFeed | kCleanComment);
    // A file written on Windows keeps its carriage returns when read here.
    while (!line.empty() && line.back() == '\r') line.pop_back();
    line = std::string(TrimBlanks(line));
    if (line.empty()) continue;
    if (EqualsNoCase(line, "[START]")) {
      section = 1;
    } else if (EqualsNoCase(line, "[END]")) {
      section = 2;
    } else if (EqualsNoCase(line, "[IGNORE]")) {
      section = 3;
    } else if (line.find_first_of("[]") != std::string::npos) {
      section = 0;
    } else if (section == 1) {
      m_rangeStart = std::atoi(line.c_str());
    } else if (section == 2) {
      m_rangeEnd = std::atoi(line.c_str());
    } else if (section == 3) {
      AddIgnored(line);
    }
  }
  std::fclose(file);
}

bool CDeviceLink::IsIgnored(std::string_view name) {
  std::lock_guard lock(m_lock);
  const std::string canonical = CanonicalPortName(name);
  for (const auto& entry : m_ignore) {
    if (EqualsNoCase(entry, canonical)) return true;
  }
  return false;
}

void CDeviceLink::AddIgnored(std::string_view name) {
  std::lock_guard lock(m_lock);
  const std::string canonical = CanonicalPortName(TrimBlanks(name));
  if (canonical.empty() || IsIgnored(canonical)) return;
  m_ignore.push_back(canonical);
}

std::vector<std::string> CDeviceLink::IgnoreList() {
  std::lock_guard lock(m_lock);
  return m_ignore;
}

bool CDeviceLink::IsOpen() const { return m_state.Has(kLinkOpen); }

HResult CDeviceLink::Discover() {
  std::uint32_t count = 0;
  if (m_bridges->DeviceCount(&count) != kBridgeOk || count == 0) return E_FAIL;
  std::vector<BridgeDeviceRecord> list(count);
  if (m_bridges->DeviceList(list.data(), &count) != kBridgeOk) return E_FAIL;
  if (count > list.size()) count = static_cast<std::uint32_t>(list.size());
  MessageSink* sink = m_state.m_window;
  for (std::uint32_t i = 0; i < count; ++i) {
    if ((list[i].flags & kBridgeOpenedFlag) != 0) continue;
    if (i > 0) m_clock.SleepMs(100);
    BridgeHandle handle = 0;
    if (m_bridges->OpenByIndex(i, &handle) != kBridgeOk) continue;
    BridgeEeprom eeprom;
    if (m_bridges->ReadEeprom(handle, &eeprom) != kBridgeOk) {
      ShowFtError(sink, TX_NOOP("Fehler bei FT_EE_Read"));
      m_bridges->Close(handle);
      continue;
    }
    std::int32_t port = -1;
    if (m_bridges->ComPortNumber(handle, &port) != kBridgeOk) {
      ShowFtError(sink, TX_NOOP("Fehler bei FT_GetComPortNumber"));
    }
    if (port == -1) {
      m_bridges->Close(handle);
      continue;
    }
    if (m_bridges->Close(handle) != kBridgeOk) ShowFtError(sink, TX_NOOP("Fehler bei FT_Close"));
    char name[32];
    std::snprintf(name, sizeof(name), "\\\\.\\COM%d", static_cast<int>(port));
    if (Succeeded(OpenPort(name, 9600, 8, 0, 0))) {
      m_state.Set(kLinkOpen);
      m_portNumber = port;
      return S_OK;
    }
  }
  return E_FAIL;
}

HResult CDeviceLink::OpenPort(const std::string& name, int baudRate, int dataBits, int parity,
                              int stopBits) {
  if (IsIgnored(name)) return E_FAIL;
  std::lock_guard lock(m_lock);
  if (m_state.m_port) {
    m_state.m_port->Close();
    m_state.m_port.reset();
  }
  if (name.empty()) return E_FAIL;
  std::string device;
  std::unique_ptr<BytePort> port = m_resolver.CreatePort(name, &device);
  if (!port) return E_FAIL;
  LineSettings settings;
  settings.baudRate = baudRate;
  settings.dataBits = dataBits;
  settings.parity = parity;
  settings.stopBits = stopBits;
  if (Failed(port->Open(device, settings))) {
    const OpenFailure why = port->LastOpenFailure();
    if (why.accessDenied || why.inUse) NoteAccessDenied(device, why.group, why.inUse);
    return E_FAIL;
  }
  m_state.m_port = std::move(port);
  // The back pointer was set when the link was made; the workers read it without a lock, so
  // it is not written again here.
  Telegram probe;
  probe.SetCommand(0x01);
  if (Succeeded(Transact(probe)) && probe.m_command == 0x81) {
    SetDevicePath(device.starts_with('/') ? device : std::string());
    return S_OK;
  }
  // Close restores the line settings the port had before.
  m_state.m_port->Close();
  m_state.m_port.reset();
  return E_FAIL;
}

std::string CDeviceLink::DevicePath() const {
  std::lock_guard lock(m_deviceMutex);
  return m_devicePath;
}

void CDeviceLink::SetDevicePath(std::string path) {
  std::lock_guard lock(m_deviceMutex);
  m_devicePath = std::move(path);
}

bool CDeviceLink::TakeReadSet(ParameterImage& image) {
  std::lock_guard lock(m_state.m_handoverMutex);
  if (!m_state.m_handover) return false;
  image = *m_state.m_handover;
  m_state.m_handover.reset();
  return true;
}

void CDeviceLink::NoteAccessDenied(const std::string& device, const std::string& group,
                                   bool inUse) {
  {
    std::lock_guard lock(m_deniedMutex);
    m_denied = {device, group, inUse};
    for (const auto& reported : m_deniedReported) {
      if (reported == device) return;
    }
    m_deniedReported.push_back(device);
  }
  m_state.Post(kMsgPortAccessDenied);
}

CDeviceLink::DeniedDevice CDeviceLink::AccessDenied() const {
  std::lock_guard lock(m_deniedMutex);
  return m_denied;
}

void CDeviceLink::ClosePort() {
  std::lock_guard lock(m_lock);
  if (m_state.m_port) {
    m_state.m_port->Close();
    m_state.m_port.reset();
  }
  m_state.Clear(kLinkOpen);
  m_portNumber = -1;
  SetDevicePath({});
}

// ---------------------------------------------------------------------------------------------
// Transactions

HResult CDeviceLink::Drain() {
  std::lock_guard lock(m_lock);
  BytePort* port = m_state.m_port.get();
  if (port == nullptr || !port->IsOpen()) return E_FAIL;
  std::uint8_t scratch[sizeof(Telegram)];
  // Bounded, so that a line that never falls silent cannot hold the link forever.
  for (int i = 0; i < 1000; ++i) {
    const int n = port->Read(scratch, static_cast<int>(sizeof(scratch)));
    if (n < 0) {
      MarkDeviceGone();
      return E_FAIL;
    }
    if (n == 0) return S_OK;
    Tap(TraceDirection::kFromBox, scratch, n);
  }
  return S_OK;
}

void CDeviceLink::MarkDeviceGone() {
  m_state.Set(kLinkDeviceGone);
  m_portNumber = -1;
  SetDevicePath({});
}

HResult CDeviceLink::Transact(Telegram& telegram) {
  // The whole exchange, the drain included, runs under the link lock so that no other thread
  // can read this request's reply or write between drain and request.
  std::lock_guard lock(m_lock);
  if (!m_state.m_port) return E_FAIL;
  if (Failed(Drain())) return E_FAIL;
  telegram.m_checksum = FrameChecksum(telegram);
  std::uint8_t frame[kMaxFrameBytes];
  const int length = BuildFrame(telegram, frame);
  if (length == 0) return E_FAIL;
  const int written = m_state.m_port->Write(frame, length);
  const std::int64_t writeReturned = m_clock.NowMs();
  Tap(TraceDirection::kToBox, frame, written < length ? written : length);
  if (written != length) return E_FAIL;
  // The box is given 30 ms from the write's return. A reply that is complete by then waits in
  // the port; one still on its way is taken as soon as its last byte is in. Nothing is gained
  // by waiting for the request's own time on the wire: the box answers only once it has it.
  const std::int64_t settleLeft = writeReturned + kRequestSettleMs - m_clock.NowMs();
  if (settleLeft > 0) m_clock.SleepMs(settleLeft);
  return Receive(telegram);
}

HResult CDeviceLink::Receive(Telegram& telegram) {
  return ReceiveFrame(telegram) == Reception::kFrame ? S_OK : E_FAIL;
}

Reception CDeviceLink::ReceiveFrame(Telegram& telegram, std::int64_t beginWaitMs) {
  std::lock_guard lock(m_lock);
  BytePort* port = m_state.m_port.get();
  if (port == nullptr) return Reception::kBad;
  const int h = telegram.m_headerLength;
  std::uint8_t buffer[sizeof(Telegram)] = {};
  int expected = 2;
  int received = 0;
  bool discard = false;
  const std::int64_t start = m_clock.NowMs();
  std::int64_t lastProgress = start;
  // Reads whatever has arrived, never past the current frame; waits only when nothing has.
  // A frame must begin within `beginWaitMs`; once begun it is read to its end unless it falls
  // silent for the stall limit, so that one beginning at the last moment is neither lost nor
  // left half in the port to be taken for the start of the next frame.
  // What this reception read goes to the trace once, whichever way it ends.
  const auto traced = [&](Reception r) {
    Tap(TraceDirection::kFromBox, buffer, received);
    return r;
  };
  for (;;) {
    const int n = port->Read(buffer + received, expected - received);
    if (n < 0) {
      MarkDeviceGone();
      return traced(Reception::kGone);
    }
    if (n > 0) {
      received += n;
      lastProgress = m_clock.NowMs();
      if (received >= 2 && expected == 2) {
        const int len = buffer[1];
        // A length beyond what a frame may carry: its end cannot be known, so the line is
        // cleared. One shorter than the header: only this frame is read off and dropped, so
        // that the telegrams behind it are kept.
        if (len > kMaxFrameLen) {
          traced(Reception::kBad);
          received = 0;
          Drain();
          return Reception::kBad;
        }
        discard = len < h;
        expected = len + 4;
      }
      if (received >= 4 && received >= expected) break;
      continue;  // the rest may be there already
    }
    const std::int64_t now = m_clock.NowMs();
    const std::int64_t deadline = received > 0 ? lastProgress + kReplyStallMs : start + beginWaitMs;
    if (now >= deadline || m_state.Stopping()) {
      return traced(received > 0 ? Reception::kBad : Reception::kNothing);
    }
    const std::int64_t left = deadline - now;
    port->WaitReadable(left < LinkState::kStopCheckMs ? left : LinkState::kStopCheckMs, m_clock);
  }
  if (discard) return traced(Reception::kBad);
  return traced(ParseFrame(buffer, received, telegram) ? Reception::kFrame : Reception::kBad);
}

int CDeviceLink::SendCommand(std::uint8_t command, std::uint8_t expectedReply) {
  Telegram t;
  int attempts = 0;
  // An abort (test screen) or a stop request (closing) ends the retries as if answered.
  while (!m_state.Has(kLinkAbort | kLinkStop)) {
    t.SetCommand(command);
    if (attempts >= 5) return 0;
    if (Succeeded(Transact(t)) && t.m_command == expectedReply) return 1;
    ++attempts;
  }
  return 1;
}

int CDeviceLink::SendHeader(const std::uint8_t* header, const std::uint8_t* expected, int count) {
  if (header == nullptr || count < 1 || count > 2) return 0;
  Telegram t;
  int attempts = 0;
  while (!m_state.Has(kLinkAbort | kLinkStop)) {
    if (count == 2) {
      t.SetHeader(header[0], header[1]);
    } else {
      t.SetCommand(header[0]);
    }
    if (attempts >= 5) return 0;
    if (Succeeded(Transact(t))) {
      // The reply header is compared, but a different one does not change the result.
      (void)(expected != nullptr && t.m_command == expected[0] &&
             (count < 2 || t.m_subCode == expected[1]));
      return 1;
    }
    ++attempts;
  }
  return 1;
}

int CDeviceLink::IdentifyBox() { return IdentifyBox(*m_state.m_image); }

int CDeviceLink::IdentifyBox(ParameterImage& image) {
  std::lock_guard lock(m_lock);
  Telegram t;
  bool boxError = false;
  // Step 1: the box serial number; the counter advances by 2 per attempt.
  for (m_state.m_attempts = 0; m_state.m_attempts < 5; m_state.m_attempts += 2) {
    if (m_state.Stopping()) return 0;
    t.SetHeader(0x19, 0x08);
    if (Failed(Transact(t))) continue;
    if (t.m_command == 0x99 && t.m_length >= 2) {
      image.Block(0x2E)[0] = t.m_data[0];
      image.Block(0x2E)[1] = t.m_data[1];
      break;
    }
    if (t.m_subCode == 0x08 && t.m_length >= 1 && t.m_data[0] == 1) boxError = true;
  }
  if (boxError) return 0;
  // Step 3: the box version, up to six attempts; only the first five can make it a success.
  for (m_state.m_attempts = 0; m_state.m_attempts <= 5; ++m_state.m_attempts) {
    if (m_state.Stopping()) return 0;
    t.SetCommand(0x10);
    if (Succeeded(Transact(t)) && t.m_command == 0x90 && t.m_length >= 1 && t.m_data[0] != 0) {
      image.Block(0x39)[15] = t.m_data[0];
      return m_state.m_attempts < 5 ? 1 : 0;
    }
  }
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Queue of telegrams the box sent by itself

HResult CDeviceLink::PushTelegram(const Telegram& telegram) {
  std::lock_guard lock(m_queueMutex);
  if (m_queueFull) return E_FAIL;
  m_queue[m_writeIndex] = telegram;
  m_writeIndex = (m_writeIndex + 1) % kQueueSize;
  if (m_writeIndex == m_readIndex) m_queueFull = true;
  return S_OK;
}

HResult CDeviceLink::PopTelegram(Telegram& telegram) {
  std::lock_guard lock(m_queueMutex);
  if (!m_queueFull && m_readIndex == m_writeIndex) return E_FAIL;
  telegram = m_queue[m_readIndex];
  m_readIndex = (m_readIndex + 1) % kQueueSize;
  m_queueFull = false;
  return S_OK;
}

// ---------------------------------------------------------------------------------------------
// Workers

bool CDeviceLink::StartWorker(std::function<void()> body) {
  ReapFinished();
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::lock_guard lock(m_workersMutex);
  m_workers.push_back({std::thread([body = std::move(body), done] {
                         body();
                         done->store(true);
                       }),
                       done});
  return true;
}

void CDeviceLink::ReapFinished() {
  std::vector<Worker> finished;
  {
    std::lock_guard lock(m_workersMutex);
    for (auto it = m_workers.begin(); it != m_workers.end();) {
      if (it->done->load()) {
        finished.push_back(std::move(*it));
        it = m_workers.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (auto& w : finished) w.thread.join();
}

void CDeviceLink::JoinWorkers() {
  for (;;) {
    std::vector<Worker> all;
    {
      std::lock_guard lock(m_workersMutex);
      all.swap(m_workers);
    }
    if (all.empty()) return;
    for (auto& w : all) {
      if (w.thread.get_id() == std::this_thread::get_id()) {
        w.thread.detach();  // never reached by the workers themselves; guards a self-join
        continue;
      }
      w.thread.join();
    }
  }
}

int CDeviceLink::RunningWorkers() const {
  std::lock_guard lock(m_workersMutex);
  int n = 0;
  for (const auto& w : m_workers) n += w.done->load() ? 0 : 1;
  return n;
}

void CDeviceLink::Stop() {
  // Only the stop request: the abort bit belongs to the test screen and counts as busy.
  m_state.Set(kLinkStop);
  JoinWorkers();
  ClosePort();
}

bool CDeviceLink::StartPortWatch() {
  return StartWorker([this] { PortWatchThread(&m_state); });
}
bool CDeviceLink::StartDownload() {
  return StartWorker([this] { DownloadThread(&m_state); });
}
bool CDeviceLink::StartUpload() {
  return StartWorker([this] { UploadThread(&m_state); });
}
bool CDeviceLink::StartTestConnection() {
  return StartWorker([this] { TestConnectionThread(&m_state); });
}
bool CDeviceLink::StartTestCommand() {
  return StartWorker([this] { TestCommandThread(&m_state); });
}
bool CDeviceLink::StartTestRequest() {
  return StartWorker([this] { TestRequestThread(&m_state); });
}

std::uint32_t CDeviceLink::StartOperatingDataRead(bool withIdentity) {
  std::uint32_t read = 0;
  {
    std::lock_guard lock(m_opDataMutex);
    read = ++m_opDataRead;
    m_opData.reset();
  }
  const bool started = StartWorker([this, read, withIdentity] {
    OperatingDataResult r;
    {
      // Waits here while a transfer or a test worker holds the link.
      std::lock_guard link(m_lock);
      m_state.Post(kMsgOperatingData, kOperatingDataReading);
      r.result = ReadOperatingData(*this, withIdentity ? &r.identity : nullptr, &r.block);
    }
    {
      std::lock_guard lock(m_opDataMutex);
      if (read != m_opDataRead) return;  // a later read has been asked for
      m_opData = std::move(r);
    }
    m_state.Post(kMsgOperatingData, kOperatingDataDone);
  });
  return started ? read : 0;
}

bool CDeviceLink::TakeOperatingData(std::uint32_t read, OperatingDataResult* result) {
  std::lock_guard lock(m_opDataMutex);
  if (read == 0 || read != m_opDataRead || !m_opData) return false;
  if (result != nullptr) *result = std::move(*m_opData);
  m_opData.reset();
  return true;
}

}  // namespace roviro
