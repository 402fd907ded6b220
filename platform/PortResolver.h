#pragma once
// Maps the logical port names the program uses ("COM5", "\\.\COM5", "COM5:") to something that
// can be opened: an explicitly registered device path (from --port or the simulator's
// pseudo-terminal), an explicitly registered port factory (the in-memory simulator), or the
// platform's own device for that name (the name itself on Windows, /dev/ttyUSBn on Linux).

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/BytePort.h"

namespace roviro {

// "\\.\COM5" and "COM5:" become "COM5"; other names are returned unchanged apart from the
// removal of every "\\.\" and ":".
std::string CanonicalPortName(std::string_view name);

// The n of "COMn" (any case), or -1 when the name is not of that form.
int ComPortNumber(std::string_view name);

class PortResolver {
 public:
  using Factory = std::function<std::unique_ptr<BytePort>()>;

  // The logical name (any spelling) now stands for `devicePath`.
  void RegisterPath(std::string_view logicalName, std::string devicePath);
  // The logical name (any spelling) now opens whatever `factory` creates.
  void RegisterFactory(std::string_view logicalName, Factory factory);
  void Unregister(std::string_view logicalName);

  // The device path for the name: a registered path, else the platform's device.
  std::string DevicePath(std::string_view logicalName) const;
  // A not yet opened port for the name together with the device to pass to its Open.
  std::unique_ptr<BytePort> CreatePort(std::string_view logicalName, std::string* device) const;

 private:
  mutable std::mutex m_mutex;
  std::map<std::string, std::string> m_paths;
  std::map<std::string, Factory> m_factories;
};

// The process-wide resolver, used by the program unless a caller passes its own.
PortResolver& ThePortResolver();

}  // namespace roviro
