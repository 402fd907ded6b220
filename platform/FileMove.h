#pragma once
// Moving a completed file to its final name without ever replacing a file of that name, for
// files that must never overwrite an older one (the automatic backups).

#include <string>

namespace roviro {

enum class MoveResult {
  kMoved,
  kExists,  // a file of that name is there already; nothing was moved
  kFailed,
};

// Moves `from` to `to` (on one file system) unless `to` exists. Where the system offers an
// atomic "rename unless it exists" it is used; otherwise a hard link and the removal of `from`.
MoveResult MoveFileNoReplace(const std::string& from, const std::string& to);

}  // namespace roviro
