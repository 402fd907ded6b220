#include "platform/FileMove.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace roviro {

MoveResult MoveFileNoReplace(const std::string& from, const std::string& to) {
#ifdef _WIN32
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) return MoveResult::kMoved;
  const DWORD error = GetLastError();
  return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? MoveResult::kExists
                                                                     : MoveResult::kFailed;
#else
#if defined(__linux__) && defined(RENAME_NOREPLACE)
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return MoveResult::kMoved;
  }
  if (errno == EEXIST) return MoveResult::kExists;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return MoveResult::kFailed;
#endif
  // A hard link cannot replace a file either.
  if (::link(from.c_str(), to.c_str()) != 0) {
    return errno == EEXIST ? MoveResult::kExists : MoveResult::kFailed;
  }
  ::unlink(from.c_str());
  return MoveResult::kMoved;
#endif
}

}  // namespace roviro
