// One display adapter's record, made from what the platform reports about it and what the
// device database knows of its ids.
#pragma once

#include <cstdint>
#include <string>

#include "libs/gfxprobe/DisplayInfoRecord.h"
#include "libs/gfxprobe/core/DeviceDatabase.h"

namespace gfxprobe {

// What the platform reports about one adapter; empty texts and negative sizes are not reported.
struct AdapterReport {
    std::u16string hardwareId;
    std::u16string description;    // the device's description
    std::u16string driverDesc;     // the driver key's "DriverDesc"
    std::u16string providerName;   // the driver key's "ProviderName"
    std::u16string driverVersion;  // the driver key's "DriverVersion"
    std::u16string chipType;       // the driver's HardwareInformation values from here on
    std::u16string adapterString;
    std::u16string biosString;
    std::u16string biosDate;
    std::u16string memoryType;
    int64_t memoryBytes = -1;
    // The adapter's dedicated memory as DXGI reports it, for drivers that do not write it.
    int64_t dxgiMemoryBytes = -1;
};

// The record: the card name from the database (its marketing name), else the driver's or the
// device's description; the board vendor from the database's subsystem vendor, else the chip
// vendor, else the driver's provider; memory type and reference clocks from the database where
// known, else what the driver reports; the memory size from the driver, else from DXGI. Every
// text is cut to its field and terminated; unknown facts keep the record's unknown values.
DisplayInfoRecord BuildRecord(const AdapterReport& report, const DeviceDatabase& database);

// The marketing name inside a PCI id name's last brackets ("RV770 [Radeon HD 4850]" gives
// "Radeon HD 4850"); the whole name when it has none.
std::u16string MarketingName(const std::u16string& name);

// Copies `text` into a record field, cut to leave room for the terminator and never inside a
// surrogate pair.
void CopyField(char16_t (&field)[kRecordTextUnits], const std::u16string& text);

}  // namespace gfxprobe
