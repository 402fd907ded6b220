#include "app/NamedMutex.h"

#include "platform/Paths.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace roviro {

NamedMutex::~NamedMutex() {
#ifndef _WIN32
  if (m_fd < 0) return;
  // Every running instance holds a shared lock on the file; whoever gets it exclusively at
  // its exit is the last one and takes the file away.
  if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) ::unlink(m_path.c_str());
  ::close(m_fd);
#endif
}

bool NamedMutex::Create(const std::string& folder) {
#ifdef _WIN32
  (void)folder;
  HANDLE h = ::CreateMutexA(nullptr, FALSE, kNamedMutexName);
  m_existed = h != nullptr && ::GetLastError() == ERROR_ALREADY_EXISTS;
  return h != nullptr;
#else
  if (folder.empty() || m_fd >= 0) return m_fd >= 0;
  CreateFolderTree(folder);
  m_path = JoinPath(folder, kLockFileName);
  m_existed = FileExists(m_path);
  m_fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (m_fd >= 0) ::flock(m_fd, LOCK_SH | LOCK_NB);
  return m_fd >= 0;
#endif
}

}  // namespace roviro
