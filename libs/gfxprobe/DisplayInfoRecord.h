// One display's facts as the hardware probe library (GfxProbe.dll) fills them: 11288 bytes,
// little-endian, UTF-16 texts. The page reads the card name, vendor, memory type, BIOS date, the
// two current clocks and the memory size; the other fields are the library's own.
#pragma once

#include <cstddef>
#include <cstdint>

// Every text field holds 512 UTF-16 code units, its terminator included.
inline constexpr size_t kRecordTextUnits = 512;
// What a fact the library cannot learn reads as: empty text, -1 for numbers.
inline constexpr float kUnknownClock = -1.0f;
inline constexpr int32_t kUnknownNumber = -1;

struct DisplayInfoRecord {
    char16_t cardName[kRecordTextUnits];
    char16_t cardVendor[kRecordTextUnits];
    char16_t memoryType[kRecordTextUnits];
    char16_t chipType[kRecordTextUnits];
    char16_t adapterString[kRecordTextUnits];
    char16_t biosDate[kRecordTextUnits];
    char16_t biosString[kRecordTextUnits];
    char16_t driverVersion[kRecordTextUnits];
    char16_t hardwareId[kRecordTextUnits];
    char16_t driverProvider[kRecordTextUnits];
    char16_t deviceName[kRecordTextUnits];
    float coreClock;         // MHz
    float coreClockPeak;     // MHz
    float memoryClock;       // MHz
    float memoryClockPeak;   // MHz
    int32_t memoryBusWidth;  // bits
    int32_t memorySizeMb;
};

// A record with every fact unknown.
inline DisplayInfoRecord UnknownDisplayInfo() {
    DisplayInfoRecord record{};
    record.coreClock = kUnknownClock;
    record.coreClockPeak = kUnknownClock;
    record.memoryClock = kUnknownClock;
    record.memoryClockPeak = kUnknownClock;
    record.memoryBusWidth = kUnknownNumber;
    record.memorySizeMb = kUnknownNumber;
    return record;
}

static_assert(sizeof(DisplayInfoRecord) == 11288);
static_assert(offsetof(DisplayInfoRecord, cardName) == 0);
static_assert(offsetof(DisplayInfoRecord, cardVendor) == 1024);
static_assert(offsetof(DisplayInfoRecord, memoryType) == 2048);
static_assert(offsetof(DisplayInfoRecord, biosDate) == 5120);
static_assert(offsetof(DisplayInfoRecord, coreClock) == 11264);
static_assert(offsetof(DisplayInfoRecord, memoryClock) == 11272);
static_assert(offsetof(DisplayInfoRecord, memorySizeMb) == 11284);
