// Arbitrary bytes as a file name in a backup folder, read as pruning reads it: a name taken
// for an automatic backup is one the backups themselves would write, and it reads back alike.

#include <cstddef>
#include <cstdint>
#include <string>

#include "records/Backups.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string name(reinterpret_cast<const char*>(data), size);
  roviro::BackupName parsed;
  if (!roviro::ParseBackupName(name, &parsed)) return 0;
  Check(parsed.stamp.size() == 19 && parsed.sequence >= 1 && parsed.sequence <= 999999);
  Check(parsed.word == roviro::kBackupReadWord || parsed.word == roviro::kBackupWrittenWord);
  std::string rebuilt = parsed.stamp + "_" + parsed.word;
  if (parsed.sequence > 1) rebuilt += "_" + std::to_string(parsed.sequence);
  rebuilt += ".kxmc";
  roviro::BackupName again;
  Check(roviro::ParseBackupName(rebuilt, &again));
  Check(again.stamp == parsed.stamp && again.word == parsed.word &&
        again.sequence == parsed.sequence);
  return 0;
}
