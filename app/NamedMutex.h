#pragma once
// The program's named mutex: a lock file below the shared data folder, created (not owned)
// when the main dialog is built and kept open while it lives. The program goes on whether or
// not it existed before. On Linux the lock file is named without the Windows program suffix
// and removed at a clean exit by the last instance that holds it.

#include <string>

namespace roviro {

inline constexpr const char* kNamedMutexName = "DI DU RoviroDazo.exe";
// The lock file that stands for it.
inline constexpr const char* kLockFileName = "DI DU RoviroDazo.lock";

class NamedMutex {
 public:
  NamedMutex() = default;
  ~NamedMutex();
  NamedMutex(const NamedMutex&) = delete;
  NamedMutex& operator=(const NamedMutex&) = delete;

  // Creates or opens the lock file in `folder`; false when that is impossible.
  bool Create(const std::string& folder);
  bool AlreadyExisted() const { return m_existed; }
  const std::string& Path() const { return m_path; }

 private:
  int m_fd = -1;
  bool m_existed = false;
  std::string m_path;
};

}  // namespace roviro
