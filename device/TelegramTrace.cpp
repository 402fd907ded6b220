#include "device/TelegramTrace.h"

#include <chrono>

namespace roviro {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

std::int64_t SteadyMicroseconds() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

TelegramTrace::TelegramTrace(std::function<std::int64_t()> nowUs)
    : m_nowUs(nowUs ? std::move(nowUs) : SteadyMicroseconds) {}

TelegramTrace::~TelegramTrace() { Close(); }

HResult TelegramTrace::Open(const std::string& path, const SystemTime& started) {
  std::lock_guard lock(m_mutex);
  if (m_file != nullptr) std::fclose(m_file);
  m_file = std::fopen(path.c_str(), "wb");
  if (m_file == nullptr) return E_FAIL;
  m_writeFailed = false;
  m_startUs = m_nowUs();
  const int n = std::fprintf(m_file,
                             "%s\n# started %04d-%02d-%02d %02d:%02d:%02d\n"
                             "# microseconds since the start, > to the box, < from the box, "
                             "the bytes in hex\n",
                             kTraceFirstLine, started.year, started.month, started.day,
                             started.hour, started.minute, started.second);
  if (n < 0 || std::fflush(m_file) != 0) {
    std::fclose(m_file);
    m_file = nullptr;
    return E_FAIL;
  }
  return S_OK;
}

void TelegramTrace::Close() {
  std::lock_guard lock(m_mutex);
  if (m_file == nullptr) return;
  if (std::fclose(m_file) != 0) m_writeFailed = true;
  m_file = nullptr;
}

bool TelegramTrace::IsOpen() const {
  std::lock_guard lock(m_mutex);
  return m_file != nullptr;
}

bool TelegramTrace::WriteFailed() const {
  std::lock_guard lock(m_mutex);
  return m_writeFailed;
}

std::string TelegramTrace::FormatLine(std::int64_t timeUs, TraceDirection direction,
                                      const std::uint8_t* bytes, int count) {
  char head[32];
  const int n = std::snprintf(head, sizeof head, "%10lld %c", static_cast<long long>(timeUs),
                              direction == TraceDirection::kToBox ? '>' : '<');
  std::string line(head, static_cast<std::size_t>(n > 0 ? n : 0));
  line.reserve(line.size() + static_cast<std::size_t>(count) * 3);
  for (int i = 0; i < count; ++i) {
    line.push_back(' ');
    line.push_back(kHexDigits[bytes[i] >> 4]);
    line.push_back(kHexDigits[bytes[i] & 0x0F]);
  }
  return line;
}

void TelegramTrace::Record(TraceDirection direction, const std::uint8_t* bytes, int count) {
  if (bytes == nullptr || count <= 0) return;
  std::lock_guard lock(m_mutex);
  if (m_file == nullptr) return;
  std::string line = FormatLine(m_nowUs() - m_startUs, direction, bytes, count);
  line.push_back('\n');
  // Flushed line by line: the trace matters most when the program did not end well.
  if (std::fwrite(line.data(), 1, line.size(), m_file) != line.size() || std::fflush(m_file) != 0) {
    m_writeFailed = true;
  }
}

}  // namespace roviro
