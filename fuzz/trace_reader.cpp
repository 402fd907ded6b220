// Arbitrary bytes as a telegram trace, read as `sim --replay` reads it, then replayed: every
// recorded request is asked for again. Also: what the reader accepts stays within its bounds,
// and no reply is scheduled later than the replay's longest delay.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/TraceReplay.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<roviro::sim::TraceLine> lines;
  std::string error;
  std::string note;
  if (!roviro::sim::ParseTrace(text, &lines, &error, &note)) {
    Check(!error.empty() && lines.empty());
    return 0;
  }
  Check(lines.size() <= roviro::sim::kMaxTraceLines);
  roviro::sim::TraceReplay replay(lines);
  for (const auto& line : lines) {
    if (!line.toBox || line.bytes.size() < 5) continue;
    const std::vector<std::uint8_t> payload(line.bytes.begin() + 2, line.bytes.end() - 2);
    for (const auto& output : replay.Answer(payload)) {
      Check(output.delayUs >= 0 && output.delayUs <= roviro::sim::kReplayLongestDelayUs);
    }
  }
  return 0;
}
