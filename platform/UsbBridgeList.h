#pragma once
// The USB-serial bridges that may carry the programming box, reached through exactly the six
// calls discovery makes: device count, device list (with the "already opened" bit), open by
// index, EEPROM read, COM port number, close. Every call returns a status, 0 = success.
// LibSerialPortBridgeList enumerates real USB serial ports with the bridge vendor id;
// SimulatedBridgeList holds a scripted list (the simulator's pseudo-terminal, test devices).

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace roviro {

using BridgeStatus = int;
inline constexpr BridgeStatus kBridgeOk = 0;
inline constexpr BridgeStatus kBridgeInvalidHandle = 1;
inline constexpr BridgeStatus kBridgeDeviceNotFound = 2;
inline constexpr BridgeStatus kBridgeIoError = 4;
inline constexpr BridgeStatus kBridgeOtherError = 18;

inline constexpr std::uint16_t kBridgeVendorId = 0x0403;

// One entry of the device list, 100 bytes.
struct BridgeDeviceRecord {
  std::uint32_t flags = 0;  // bit 0: already opened by someone
  std::uint32_t type = 0;
  std::uint32_t id = 0;  // vendor id << 16 | product id
  std::uint32_t location = 0;
  char serialNumber[16] = {};
  char description[64] = {};
  std::uint32_t reserved = 0;
};
static_assert(sizeof(BridgeDeviceRecord) == 100);

inline constexpr std::uint32_t kBridgeOpenedFlag = 0x1;

// What an EEPROM read fills in; discovery does not use the strings further.
struct BridgeEeprom {
  std::uint32_t signature1 = 0x00000000;
  std::uint32_t signature2 = 0xFFFFFFFF;
  std::uint32_t version = 5;
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  char manufacturer[32] = {};
  char manufacturerId[16] = {};
  char description[64] = {};
  char serialNumber[16] = {};
};

using BridgeHandle = std::uintptr_t;

class UsbBridgeList {
 public:
  virtual ~UsbBridgeList() = default;
  virtual BridgeStatus DeviceCount(std::uint32_t* count) = 0;
  // Fills `records` (room for *count entries) and sets *count to the number filled.
  virtual BridgeStatus DeviceList(BridgeDeviceRecord* records, std::uint32_t* count) = 0;
  virtual BridgeStatus OpenByIndex(std::uint32_t index, BridgeHandle* handle) = 0;
  virtual BridgeStatus ReadEeprom(BridgeHandle handle, BridgeEeprom* eeprom) = 0;
  // Leaves *port as it is (callers preset -1) when the device has no COM port.
  virtual BridgeStatus ComPortNumber(BridgeHandle handle, std::int32_t* port) = 0;
  virtual BridgeStatus Close(BridgeHandle handle) = 0;
};

// Real bridges: USB serial ports with vendor id 0x0403 as libserialport lists them. The port
// number is n of COMn on Windows and of /dev/ttyUSBn on Linux.
class LibSerialPortBridgeList final : public UsbBridgeList {
 public:
  BridgeStatus DeviceCount(std::uint32_t* count) override;
  BridgeStatus DeviceList(BridgeDeviceRecord* records, std::uint32_t* count) override;
  BridgeStatus OpenByIndex(std::uint32_t index, BridgeHandle* handle) override;
  BridgeStatus ReadEeprom(BridgeHandle handle, BridgeEeprom* eeprom) override;
  BridgeStatus ComPortNumber(BridgeHandle handle, std::int32_t* port) override;
  BridgeStatus Close(BridgeHandle handle) override;

 private:
  struct Entry {
    std::string name;
    std::string manufacturer;
    std::string product;
    std::string serial;
    std::uint16_t vid = 0;
    std::uint16_t pid = 0;
  };
  void Refresh();
  std::mutex m_mutex;
  std::vector<Entry> m_entries;
  std::vector<bool> m_open;
};

// A scripted list: each device says whether it is already opened, its port number and which
// call should fail. The simulator registers its pseudo-terminal as one of these.
class SimulatedBridgeList final : public UsbBridgeList {
 public:
  struct Device {
    bool alreadyOpened = false;
    std::int32_t comPort = -1;
    std::string description = "ZodavaRoze";
    std::string serial = "SIM00001";
    bool failOpen = false;
    bool failEeprom = false;
    bool failComPort = false;
    bool failClose = false;
  };

  void Add(const Device& device);
  void Clear();
  // Makes the count query fail.
  void SetCountFails(bool fails);

  // Calls made so far, for tests: "count", "list", "open 1", "eeprom 1", "port 1", "close 1".
  std::vector<std::string> Calls() const;

  BridgeStatus DeviceCount(std::uint32_t* count) override;
  BridgeStatus DeviceList(BridgeDeviceRecord* records, std::uint32_t* count) override;
  BridgeStatus OpenByIndex(std::uint32_t index, BridgeHandle* handle) override;
  BridgeStatus ReadEeprom(BridgeHandle handle, BridgeEeprom* eeprom) override;
  BridgeStatus ComPortNumber(BridgeHandle handle, std::int32_t* port) override;
  BridgeStatus Close(BridgeHandle handle) override;

 private:
  const Device* Find(BridgeHandle handle) const;
  mutable std::mutex m_mutex;
  std::vector<Device> m_devices;
  std::vector<std::string> m_calls;
  bool m_countFails = false;
};

}  // namespace roviro
