#include "libs/gfxprobe/core/RecordBuilder.h"

#include <algorithm>

#include "framework/core/Utf16Cut.h"

namespace gfxprobe {

namespace {

constexpr int64_t kBytesPerMb = int64_t{1024} * 1024;
// More than this is no graphics card's memory: a broken report.
constexpr int64_t kMaxMemoryMb = int64_t{1024} * 1024;

const std::u16string& FirstKnown(std::initializer_list<const std::u16string*> texts) {
    for (const std::u16string* text : texts) {
        if (!text->empty()) {
            return *text;
        }
    }
    return **(texts.end() - 1);
}

int32_t MemoryMb(int64_t bytes) {
    if (bytes <= 0 || bytes / kBytesPerMb > kMaxMemoryMb) {
        return kUnknownNumber;
    }
    return static_cast<int32_t>(bytes / kBytesPerMb);
}

}  // namespace

std::u16string MarketingName(const std::u16string& name) {
    const size_t open = name.rfind(u'[');
    const size_t close = name.rfind(u']');
    if (open == std::u16string::npos || close == std::u16string::npos || close <= open + 1) {
        return name;
    }
    return name.substr(open + 1, close - open - 1);
}

void CopyField(char16_t (&field)[kRecordTextUnits], const std::u16string& text) {
    const size_t length =
        text::WholeCharacterUnits(std::u16string_view(text), kRecordTextUnits - 1);
    std::copy_n(text.begin(), length, field);
    field[length] = u'\0';
}

DisplayInfoRecord BuildRecord(const AdapterReport& report, const DeviceDatabase& database) {
    DisplayInfoRecord record = UnknownDisplayInfo();
    const auto ids = ParsePciHardwareId(report.hardwareId);
    std::optional<DeviceFacts> device;
    std::u16string boardVendor;
    if (ids) {
        device = database.Device(ids->vendor, ids->device);
        if (ids->subVendor != 0) {
            boardVendor = database.VendorName(ids->subVendor).value_or(u"");
        }
        if (boardVendor.empty()) {
            boardVendor = database.VendorName(ids->vendor).value_or(u"");
        }
    }
    const std::u16string known = device ? MarketingName(device->name) : std::u16string();
    CopyField(record.cardName,
              FirstKnown({&known, &report.driverDesc, &report.adapterString, &report.description}));
    CopyField(record.cardVendor, FirstKnown({&boardVendor, &report.providerName}));
    const std::u16string knownMemory = device ? device->memoryType : std::u16string();
    CopyField(record.memoryType, FirstKnown({&knownMemory, &report.memoryType}));
    CopyField(record.chipType, report.chipType);
    CopyField(record.adapterString, report.adapterString);
    CopyField(record.biosDate, report.biosDate);
    CopyField(record.biosString, report.biosString);
    CopyField(record.driverVersion, report.driverVersion);
    CopyField(record.hardwareId, report.hardwareId);
    CopyField(record.driverProvider, report.providerName);
    CopyField(record.deviceName, report.description);
    if (device && device->coreClockMhz != 0) {
        record.coreClock = device->coreClockMhz;
        record.coreClockPeak = device->coreClockMhz;
    }
    if (device && device->memoryClockMhz != 0) {
        record.memoryClock = device->memoryClockMhz;
        record.memoryClockPeak = device->memoryClockMhz;
    }
    record.memorySizeMb = MemoryMb(report.memoryBytes);
    if (record.memorySizeMb == kUnknownNumber) {
        record.memorySizeMb = MemoryMb(report.dxgiMemoryBytes);
    }
    return record;
}

}  // namespace gfxprobe
