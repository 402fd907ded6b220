#include "platform/PortResolver.h"

#include <cctype>

#include "platform/SerialPort.h"

namespace roviro {

namespace {

std::string UpperKey(std::string_view name) {
  std::string key = CanonicalPortName(name);
  for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return key;
}

}  // namespace

std::string CanonicalPortName(std::string_view name) {
  std::string out(name);
  static constexpr std::string_view kPrefix = "\\\\.\\";
  for (auto pos = out.find(kPrefix); pos != std::string::npos; pos = out.find(kPrefix)) {
    out.erase(pos, kPrefix.size());
  }
  std::string result;
  result.reserve(out.size());
  for (char c : out) {
    if (c != ':') result.push_back(c);
  }
  return result;
}

int ComPortNumber(std::string_view name) {
  const std::string n = CanonicalPortName(name);
  if (n.size() < 4) return -1;
  if (std::toupper(static_cast<unsigned char>(n[0])) != 'C' ||
      std::toupper(static_cast<unsigned char>(n[1])) != 'O' ||
      std::toupper(static_cast<unsigned char>(n[2])) != 'M') {
    return -1;
  }
  int value = 0;
  for (std::size_t i = 3; i < n.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(n[i])) || value > 100000) return -1;
    value = value * 10 + (n[i] - '0');
  }
  return value;
}

void PortResolver::RegisterPath(std::string_view logicalName, std::string devicePath) {
  std::lock_guard lock(m_mutex);
  m_paths[UpperKey(logicalName)] = std::move(devicePath);
}

void PortResolver::RegisterFactory(std::string_view logicalName, Factory factory) {
  std::lock_guard lock(m_mutex);
  m_factories[UpperKey(logicalName)] = std::move(factory);
}

void PortResolver::Unregister(std::string_view logicalName) {
  std::lock_guard lock(m_mutex);
  m_paths.erase(UpperKey(logicalName));
  m_factories.erase(UpperKey(logicalName));
}

std::string PortResolver::DevicePath(std::string_view logicalName) const {
  {
    std::lock_guard lock(m_mutex);
    const auto it = m_paths.find(UpperKey(logicalName));
    if (it != m_paths.end()) return it->second;
  }
#ifdef _WIN32
  return "\\\\.\\" + CanonicalPortName(logicalName);
#else
  const int n = ComPortNumber(logicalName);
  if (n >= 0) return "/dev/ttyUSB" + std::to_string(n);
  return CanonicalPortName(logicalName);
#endif
}

std::unique_ptr<BytePort> PortResolver::CreatePort(std::string_view logicalName,
                                                   std::string* device) const {
  Factory factory;
  {
    std::lock_guard lock(m_mutex);
    const auto it = m_factories.find(UpperKey(logicalName));
    if (it != m_factories.end()) factory = it->second;
  }
  if (factory) {
    if (device != nullptr) *device = CanonicalPortName(logicalName);
    return factory();
  }
  if (device != nullptr) *device = DevicePath(logicalName);
  return std::make_unique<SerialPort>();
}

PortResolver& ThePortResolver() {
  static PortResolver resolver;
  return resolver;
}

}  // namespace roviro
