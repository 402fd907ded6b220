// Arbitrary bytes as a service history file, fed to the line reader in two pieces split at the
// first byte's position, as the streamed read hands them over. Both splits give the same
// visits; every visit read formats back to a line that reads as the same visit, and its
// numbers are within the bytes they come from.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "records/ServiceHistory.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t split = data[0] % (text.size() + 1);
  roviro::HistoryFile pieces;
  roviro::HistoryLineReader reader;
  reader.Feed(text.substr(0, split), &pieces);
  reader.Feed(text.substr(split), &pieces);
  reader.Finish(&pieces);
  const roviro::HistoryFile whole = roviro::ParseHistory(text);
  Check(pieces.visits.size() == whole.visits.size());
  Check(pieces.ignoredLines == whole.ignoredLines);
  for (const roviro::Visit& v : whole.visits) {
    Check(v.runningSeconds >= -1 && v.runningSeconds <= 0xFFFFFFFFll);
    Check(v.counter1 >= -1 && v.counter1 <= 255 && v.counter2 >= -1 && v.counter2 <= 255);
    roviro::Visit again;
    Check(roviro::ParseVisitLine(roviro::FormatVisitLine(v), &again));
    Check(again.runningSeconds == v.runningSeconds && again.result == v.result &&
          again.motorKey == v.motorKey && again.events == v.events);
    for (const char c : roviro::EscapeControls(v.result)) {
      const auto u = static_cast<unsigned char>(c);
      Check(u >= 0x20 && u != 0x7F && (u < 0x80 || u >= 0xA0));
    }
  }
  return 0;
}
