// The device database "DeviceManuf.db3": PCI vendor, device and board (subsystem) names, and
// for some devices their memory type and reference clocks. Built from the PCI id repository by
// tools/devicedb; the layout is described in tools/devicedb/README.md.
//
// The file is not trusted: a database whose tables do not fit the file is refused, and a name
// whose offset or terminator lies outside the string pool reads as unknown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace gfxprobe {

struct PciIds {
    uint16_t vendor = 0;
    uint16_t device = 0;
    uint16_t subVendor = 0;
    uint16_t subDevice = 0;
};

// What the database knows of one device beyond its name; empty texts and 0 clocks are unknown.
struct DeviceFacts {
    std::u16string name;
    std::u16string memoryType;
    uint16_t coreClockMhz = 0;
    uint16_t memoryClockMhz = 0;
};

class DeviceDatabase {
  public:
    // An empty database: every lookup misses.
    DeviceDatabase() = default;
    // The database in `bytes`, or nothing when they do not hold a well-formed one.
    static std::optional<DeviceDatabase> Parse(std::vector<uint8_t> bytes);

    [[nodiscard]] std::optional<std::u16string> VendorName(uint16_t vendor) const;
    [[nodiscard]] std::optional<DeviceFacts> Device(uint16_t vendor, uint16_t device) const;
    // The board's own name, as its maker sells it.
    [[nodiscard]] std::optional<std::u16string> SubsystemName(const PciIds& ids) const;

    [[nodiscard]] size_t vendorCount() const { return vendorCount_; }
    [[nodiscard]] size_t deviceCount() const { return deviceCount_; }
    [[nodiscard]] size_t subsystemCount() const { return subsystemCount_; }

    static constexpr char kMagic[4] = {'V', 'M', 'D', 'B'};
    static constexpr uint32_t kVersion = 1;
    static constexpr size_t kHeaderBytes = 32;
    static constexpr size_t kVendorBytes = 8;
    static constexpr size_t kDeviceBytes = 16;
    static constexpr size_t kSubsystemBytes = 12;
    static constexpr uint32_t kNoString = 0xFFFFFFFFu;

  private:
    [[nodiscard]] std::optional<std::u16string> String(uint32_t offset) const;
    [[nodiscard]] uint16_t U16(size_t at) const;
    [[nodiscard]] uint32_t U32(size_t at) const;

    std::vector<uint8_t> bytes_;
    size_t vendorCount_ = 0;
    size_t deviceCount_ = 0;
    size_t subsystemCount_ = 0;
    size_t vendorsAt_ = 0;
    size_t devicesAt_ = 0;
    size_t subsystemsAt_ = 0;
    size_t stringsAt_ = 0;
    size_t stringBytes_ = 0;
};

// UTF-8 to UTF-16; a malformed sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(const char* text, size_t length);

// The ids of a hardware id such as "PCI\VEN_1002&DEV_9442&SUBSYS_0502174B&REV_00" (SUBSYS is the
// board's device id followed by its vendor id); nothing for a hardware id that is not PCI's.
std::optional<PciIds> ParsePciHardwareId(const std::u16string& hardwareId);

}  // namespace gfxprobe
