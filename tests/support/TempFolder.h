#pragma once
// A fresh folder below the system's temporary folder, removed with everything in it when the
// object goes away.

#include <string>

namespace roviro::test {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return m_path; }
  // Path + separator + name.
  std::string File(const std::string& name) const;

 private:
  std::string m_path;
};

}  // namespace roviro::test
