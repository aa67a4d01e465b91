// The operations the program needs from a card's Overdrive interface, whatever generation the
// card speaks. Values cross this interface in the program's units: clocks in MHz, voltage in
// millivolts, fan in percent, temperature in thousandths of a degree Celsius. Each backend
// converts to and from its generation's units and checks what the driver answers.
//
// Every backend keeps one shape for writes: it reads what the card runs into scratch records,
// checks each requested value against the ranges the driver reports right before writing,
// puts back what was there when the driver refuses a write, and reports success only when the
// driver accepted everything that was written. A failed operation leaves its outputs alone.
#pragma once

#include <cstdint>
#include <optional>

enum class OverdriveGeneration { None, Atidl, Od5, Od6, OdN, Od8 };

// The outcome of a write the program may decline to make: a write not made (its entry is
// missing, the generation has no such control, or nothing safe is known to write) counts
// neither as a success nor as a failure.
enum class DriverWrite { NotMade, Accepted, Refused };

// An inclusive range with minimum <= maximum.
struct OverdriveRange {
    int minimum;
    int maximum;

    bool Contains(int value) const { return value >= minimum && value <= maximum; }
};

// What the driver lets the program change, and within which ranges. A missing range means the
// value is not editable on this card: its slider is disabled and the stored value is held.
struct OverdriveCapabilities {
    std::optional<OverdriveRange> engineMHz;
    std::optional<OverdriveRange> memoryMHz;
    std::optional<OverdriveRange> voltageMilliVolts;
    // Missing where the generation has no percent fan control: automatic fan only.
    std::optional<OverdriveRange> fanPercent;
};

// The editable level's clocks and voltage (the highest enabled level, or the clock maxima).
struct OverdriveSettings {
    int engineMHz = 0;
    int memoryMHz = 0;
    int voltageMilliVolts = 0;
    // False where the generation has no voltage per level or the driver did not report it.
    bool voltageKnown = false;
};

// The values to write; a missing one is left as the card has it.
struct OverdriveRequest {
    std::optional<int> engineMHz;
    std::optional<int> memoryMHz;
    std::optional<int> voltageMilliVolts;
};

struct OverdriveClocks {
    int engineMHz = 0;
    int memoryMHz = 0;
};

class OverdriveBackend {
  public:
    virtual ~OverdriveBackend() = default;

    virtual OverdriveGeneration generation() const = 0;

    // The ranges of the editable values; nothing when the card's Overdrive cannot be read.
    [[nodiscard]] virtual std::optional<OverdriveCapabilities> Capabilities() = 0;
    // The driver's default (`defaults` true) or current settings of the editable level.
    [[nodiscard]] virtual std::optional<OverdriveSettings> Settings(bool defaults) = 0;
    // Writes the requested values. Refused before anything is written when a value lies
    // outside its range, is not editable, or nothing is requested.
    [[nodiscard]] virtual bool Apply(const OverdriveRequest& request) = 0;
    // Puts the driver's default clocks and voltage back.
    [[nodiscard]] virtual bool RestoreDefaults() = 0;

    // The clocks the card runs at now (the gauge, the tray tip and the hardware page).
    [[nodiscard]] virtual std::optional<OverdriveClocks> CurrentClocks() = 0;
    // The core temperature in thousandths of a degree Celsius.
    [[nodiscard]] virtual std::optional<int32_t> Temperature() = 0;

    // The fan as a percentage, where the generation sets one: the range is read for each write
    // (without one nothing is written) and a percent outside it is refused before the write.
    // By default the generation has no sound percent mapping: nothing to read, nothing written.
    [[nodiscard]] virtual std::optional<int> FanPercent() { return std::nullopt; }
    [[nodiscard]] virtual DriverWrite SetFanPercent(int) { return DriverWrite::NotMade; }
    // Hands the fan back to the driver's automatic control.
    [[nodiscard]] virtual DriverWrite SetFanAutomatic() = 0;
};
