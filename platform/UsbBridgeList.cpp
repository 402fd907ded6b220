#include "platform/UsbBridgeList.h"

#include <libserialport.h>

#include <cctype>
#include <cstring>

namespace roviro {

namespace {

void CopyText(char* target, std::size_t size, const std::string& text) {
  std::memset(target, 0, size);
  std::memcpy(target, text.data(), text.size() < size ? text.size() : size - 1);
}

std::string Text(const char* s) { return s != nullptr ? std::string(s) : std::string(); }

// n of a trailing decimal number after `prefix` (COMn, /dev/ttyUSBn), else -1.
std::int32_t NumberAfter(const std::string& name, const std::string& prefix) {
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return -1;
  std::int32_t n = 0;
  for (std::size_t i = prefix.size(); i < name.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i])) || n > 100000) return -1;
    n = n * 10 + (name[i] - '0');
  }
  return n;
}

}  // namespace

void LibSerialPortBridgeList::Refresh() {
  m_entries.clear();
  struct sp_port** ports = nullptr;
  if (sp_list_ports(&ports) != SP_OK || ports == nullptr) return;
  for (int i = 0; ports[i] != nullptr; ++i) {
    struct sp_port* p = ports[i];
    if (sp_get_port_transport(p) != SP_TRANSPORT_USB) continue;
    int vid = 0;
    int pid = 0;
    if (sp_get_port_usb_vid_pid(p, &vid, &pid) != SP_OK || vid != kBridgeVendorId) continue;
    Entry e;
    e.name = Text(sp_get_port_name(p));
    e.manufacturer = Text(sp_get_port_usb_manufacturer(p));
    e.product = Text(sp_get_port_usb_product(p));
    e.serial = Text(sp_get_port_usb_serial(p));
    e.vid = static_cast<std::uint16_t>(vid);
    e.pid = static_cast<std::uint16_t>(pid);
    m_entries.push_back(std::move(e));
  }
  sp_free_port_list(ports);
  m_open.assign(m_entries.size(), false);
}

BridgeStatus LibSerialPortBridgeList::DeviceCount(std::uint32_t* count) {
  if (count == nullptr) return kBridgeOtherError;
  std::lock_guard lock(m_mutex);
  Refresh();
  *count = static_cast<std::uint32_t>(m_entries.size());
  return kBridgeOk;
}

BridgeStatus LibSerialPortBridgeList::DeviceList(BridgeDeviceRecord* records,
                                                 std::uint32_t* count) {
  if (records == nullptr || count == nullptr) return kBridgeOtherError;
  std::lock_guard lock(m_mutex);
  const std::uint32_t n =
      *count < m_entries.size() ? *count : static_cast<std::uint32_t>(m_entries.size());
  for (std::uint32_t i = 0; i < n; ++i) {
    BridgeDeviceRecord r;
    // Whether another program holds the port cannot be asked without opening it; the open in
    // discovery finds out (it is exclusive).
    r.flags = 0;
    r.id = (std::uint32_t{m_entries[i].vid} << 16) | m_entries[i].pid;
    CopyText(r.serialNumber, sizeof(r.serialNumber), m_entries[i].serial);
    CopyText(r.description, sizeof(r.description), m_entries[i].product);
    records[i] = r;
  }
  *count = n;
  return kBridgeOk;
}

BridgeStatus LibSerialPortBridgeList::OpenByIndex(std::uint32_t index, BridgeHandle* handle) {
  if (handle == nullptr) return kBridgeOtherError;
  std::lock_guard lock(m_mutex);
  if (index >= m_entries.size()) return kBridgeDeviceNotFound;
  m_open[index] = true;
  *handle = index + 1;
  return kBridgeOk;
}

BridgeStatus LibSerialPortBridgeList::ReadEeprom(BridgeHandle handle, BridgeEeprom* eeprom) {
  if (eeprom == nullptr) return kBridgeOtherError;
  std::lock_guard lock(m_mutex);
  if (handle == 0 || handle > m_entries.size() || !m_open[handle - 1]) {
    return kBridgeInvalidHandle;
  }
  const Entry& e = m_entries[handle - 1];
  eeprom->vendorId = e.vid;
  eeprom->productId = e.pid;
  CopyText(eeprom->manufacturer, sizeof(eeprom->manufacturer), e.manufacturer);
  CopyText(eeprom->description, sizeof(eeprom->description), e.product);
  CopyText(eeprom->serialNumber, sizeof(eeprom->serialNumber), e.serial);
  return kBridgeOk;
}

BridgeStatus LibSerialPortBridgeList::ComPortNumber(BridgeHandle handle, std::int32_t* port) {
  if (port == nullptr) return kBridgeOtherError;
  std::lock_guard lock(m_mutex);
  if (handle == 0 || handle > m_entries.size() || !m_open[handle - 1]) {
    return kBridgeInvalidHandle;
  }
  const std::string& name = m_entries[handle - 1].name;
#ifdef _WIN32
  const std::int32_t n = NumberAfter(name, "COM");
#else
  const std::int32_t n = NumberAfter(name, "/dev/ttyUSB");
#endif
  if (n >= 0) *port = n;
  return kBridgeOk;
}

BridgeStatus LibSerialPortBridgeList::Close(BridgeHandle handle) {
  std::lock_guard lock(m_mutex);
  if (handle == 0 || handle > m_entries.size() || !m_open[handle - 1]) {
    return kBridgeInvalidHandle;
  }
  m_open[handle - 1] = false;
  return kBridgeOk;
}

void SimulatedBridgeList::Add(const Device& device) {
  std::lock_guard lock(m_mutex);
  m_devices.push_back(device);
}

void SimulatedBridgeList::Clear() {
  std::lock_guard lock(m_mutex);
  m_devices.clear();
  m_calls.clear();
}

void SimulatedBridgeList::SetCountFails(bool fails) {
  std::lock_guard lock(m_mutex);
  m_countFails = fails;
}

std::vector<std::string> SimulatedBridgeList::Calls() const {
  std::lock_guard lock(m_mutex);
  return m_calls;
}

const SimulatedBridgeList::Device* SimulatedBridgeList::Find(BridgeHandle handle) const {
  if (handle == 0 || handle > m_devices.size()) return nullptr;
  return &m_devices[handle - 1];
}

BridgeStatus SimulatedBridgeList::DeviceCount(std::uint32_t* count) {
  std::lock_guard lock(m_mutex);
  m_calls.emplace_back("count");
  if (count == nullptr || m_countFails) return kBridgeOtherError;
  *count = static_cast<std::uint32_t>(m_devices.size());
  return kBridgeOk;
}

BridgeStatus SimulatedBridgeList::DeviceList(BridgeDeviceRecord* records, std::uint32_t* count) {
  std::lock_guard lock(m_mutex);
  m_calls.emplace_back("list");
  if (records == nullptr || count == nullptr) return kBridgeOtherError;
  const std::uint32_t n =
      *count < m_devices.size() ? *count : static_cast<std::uint32_t>(m_devices.size());
  for (std::uint32_t i = 0; i < n; ++i) {
    BridgeDeviceRecord r;
    r.flags = m_devices[i].alreadyOpened ? kBridgeOpenedFlag : 0;
    r.id = (std::uint32_t{kBridgeVendorId} << 16) | 0x6001;
    CopyText(r.serialNumber, sizeof(r.serialNumber), m_devices[i].serial);
    CopyText(r.description, sizeof(r.description), m_devices[i].description);
    records[i] = r;
  }
  *count = n;
  return kBridgeOk;
}

BridgeStatus SimulatedBridgeList::OpenByIndex(std::uint32_t index, BridgeHandle* handle) {
  std::lock_guard lock(m_mutex);
  m_calls.push_back("open " + std::to_string(index));
  if (handle == nullptr || index >= m_devices.size()) return kBridgeDeviceNotFound;
  if (m_devices[index].failOpen || m_devices[index].alreadyOpened) return kBridgeIoError;
  *handle = index + 1;
  return kBridgeOk;
}

BridgeStatus SimulatedBridgeList::ReadEeprom(BridgeHandle handle, BridgeEeprom* eeprom) {
  std::lock_guard lock(m_mutex);
  m_calls.push_back("eeprom " + std::to_string(handle - 1));
  const Device* d = Find(handle);
  if (d == nullptr || eeprom == nullptr) return kBridgeInvalidHandle;
  if (d->failEeprom) return kBridgeIoError;
  eeprom->vendorId = kBridgeVendorId;
  eeprom->productId = 0x6001;
  CopyText(eeprom->manufacturer, sizeof(eeprom->manufacturer), "Simulator");
  CopyText(eeprom->description, sizeof(eeprom->description), d->description);
  CopyText(eeprom->serialNumber, sizeof(eeprom->serialNumber), d->serial);
  return kBridgeOk;
}

BridgeStatus SimulatedBridgeList::ComPortNumber(BridgeHandle handle, std::int32_t* port) {
  std::lock_guard lock(m_mutex);
  m_calls.push_back("port " + std::to_string(handle - 1));
  const Device* d = Find(handle);
  if (d == nullptr || port == nullptr) return kBridgeInvalidHandle;
  if (d->failComPort) return kBridgeIoError;
  if (d->comPort >= 0) *port = d->comPort;
  return kBridgeOk;
}

BridgeStatus SimulatedBridgeList::Close(BridgeHandle handle) {
  std::lock_guard lock(m_mutex);
  m_calls.push_back("close " + std::to_string(handle - 1));
  const Device* d = Find(handle);
  if (d == nullptr) return kBridgeInvalidHandle;
  return d->failClose ? kBridgeIoError : kBridgeOk;
}

}  // namespace roviro
