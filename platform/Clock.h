#pragma once
// Time for the core: a monotonic millisecond count, sleeping, and the local calendar time.
// Everything that waits (settle times, telegram time-outs, retries) goes through a Clock so
// that tests can run it with ManualClock instead of really sleeping.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>

namespace roviro {

// Calendar time in the shape the program's formats expect.
struct SystemTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;      // 1..12
  std::uint16_t dayOfWeek = 0;  // 0 = Sunday
  std::uint16_t day = 0;        // 1..31
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t milliseconds = 0;
};

// True when the fields form a real date and time.
bool IsValidSystemTime(const SystemTime& t);

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds on a monotonic scale with an arbitrary origin.
  virtual std::int64_t NowMs() = 0;
  virtual void SleepMs(std::int64_t ms) = 0;
  virtual SystemTime LocalNow() = 0;
};

class SystemClock final : public Clock {
 public:
  std::int64_t NowMs() override;
  void SleepMs(std::int64_t ms) override;
  SystemTime LocalNow() override;
};

// The process-wide real clock.
Clock& RealClock();

// A clock that only moves when told to; SleepMs advances it at once instead of waiting.
class ManualClock final : public Clock {
 public:
  std::int64_t NowMs() override { return m_now.load(); }
  void SleepMs(std::int64_t ms) override { m_now += ms > 0 ? ms : 0; }
  SystemTime LocalNow() override {
    std::lock_guard lock(m_mutex);
    return m_local;
  }
  void Advance(std::int64_t ms) { m_now += ms; }
  void SetLocal(const SystemTime& t) {
    std::lock_guard lock(m_mutex);
    m_local = t;
  }

 private:
  std::atomic<std::int64_t> m_now{0};
  std::mutex m_mutex;
  SystemTime m_local{2011, 3, 1, 14, 9, 5, 0, 123};
};

}  // namespace roviro
