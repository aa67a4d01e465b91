// Fuzzed settings values on their way into the pages: the settings record's table, the hotkey
// values, the saved clocks on the overclocking sliders, the saved quality values and the gamma
// ramp, the command line's start mode and the autostart value.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "app/core/CommandLine.h"
#include "display/core/DisplayModes.h"
#include "display/core/GammaRampCurve.h"
#include "display/core/QualityRanges.h"
#include "gpu/core/OverclockValues.h"
#include "gpu/core/ThreeDGamma.h"
#include "options/core/AutoRunValue.h"
#include "settings/core/HotkeyDefinitions.h"
#include "settings/core/SettingsTable.h"
#include "shortcuts/core/HotKeyValue.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using fuzz::Random;
using fuzz::Tally;

// A value for one settings row: a plausible one (a small index, a captured hotkey) or, at the
// case's rate, garbage (GetPrivateProfileInt hands the program any 32-bit pattern the text
// spells).
std::int32_t SettingValue(Random& random, const SettingField& row, int garbledPercent) {
    if (random.Chance(garbledPercent)) {
        return random.Hostile32();
    }
    if (row.section == std::wstring_view(hotkeys::kSection)) {
        return static_cast<std::int32_t>(shortcuts::kAloneModifiers | (0x41 + random.Below(26)));
    }
    return static_cast<std::int32_t>(random.Between(0, 1));
}

// The text a hotkey field may show: the modifier names and one key name joined by "+".
bool IsHotKeyText(const std::wstring& text) {
    if (text.size() > 20) {
        return false;
    }
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t plus = std::min(text.find(L'+', start), text.size());
        const std::wstring part = text.substr(start, plus - start);
        if (part.empty()) {
            return false;
        }
        for (wchar_t c : part) {
            if (!((c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9'))) {
                return false;
            }
        }
        start = plus + 1;
    }
    return true;
}

TEST(FuzzSettings, AnyFileValuesLoadIntoTheRecordAndSaveBackUnchanged) {
    Tally tally("settings table (INI values)");
    Random random(0x5E771);
    const auto rows = SettingFields();
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        static const int kGarbledPercent[] = {1, 5, 20, 100};
        const int garbled = kGarbledPercent[random.Below(std::size(kGarbledPercent))];
        std::vector<std::int32_t> file(rows.size());
        RunSettings loaded{};
        for (std::size_t i = 0; i < rows.size(); ++i) {
            file[i] = SettingValue(random, rows[i], garbled);
            StoreFileValue(rows[i], loaded, file[i]);
        }
        RunSettings reloaded{};
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const std::int32_t saved = FileValue(rows[i], loaded);
            const bool onOff = rows[i].field(loaded).onOff != nullptr;
            // Numbers are written back as read; on/off keys as 1 or 0, as the value said.
            const std::int32_t expected = onOff ? (file[i] != 0 ? 1 : 0) : file[i];
            if (saved != expected) {
                tally.Fault(fuzz::Printable(rows[i].key) + " read " + std::to_string(file[i]) +
                            " saves " + std::to_string(saved));
            }
            StoreFileValue(rows[i], reloaded, saved);
        }
        // A second load of what was saved is the same record: saving is stable.
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (FileValue(rows[i], reloaded) != FileValue(rows[i], loaded)) {
                tally.Fault(fuzz::Printable(rows[i].key) + " changes on a second load");
            }
        }
        // The display-modes page selects one of its own choices for any stored index, and
        // what it would apply is a real mode.
        const std::pair<display::Category, std::int32_t> stored[] = {
            {display::kResolution, loaded.Display.Desktoparea},
            {display::kColourQuality, loaded.Display.ColorQuality},
            {display::kRefreshRate, loaded.Display.RefreshRate},
            {display::kRotation, loaded.Display.Rotation}};
        bool fellBack = false;
        for (const auto& [category, value] : stored) {
            const int index = display::LoadedIndex(category, value);
            fellBack = fellBack || index != value;
            if (index < 0 || index >= display::ChoiceCount(category) ||
                display::ChoiceText(category, index).empty()) {
                tally.Fault("stored display index " + std::to_string(value) + " selects " +
                            std::to_string(index));
            }
        }
        if (fellBack) {
            tally.Rejected();  // at least one stored index was none of its list's
        }
        if (!display::ResolutionAt(
                display::LoadedIndex(display::kResolution, loaded.Display.Desktoparea)) ||
            !display::RefreshRateAt(
                display::LoadedIndex(display::kRefreshRate, loaded.Display.RefreshRate))) {
            tally.Fault("a stored display index applies no mode");
        }
        // Every stored 3D preset gives a ramp the safe band lets through.
        for (const ThreeDPreset& preset : loaded.ThreeD) {
            std::array<bool, gpu::kThreeDRowCount> rows{};
            std::copy(std::begin(preset.Set), std::end(preset.Set), rows.begin());
            if (!display::IsSafeGammaExponent(gpu::ThreeDGammaExponent(rows))) {
                tally.Fault("a 3D preset leaves the safe gamma band");
            }
        }
        // The options dialog's choice from any stored RunValue is one of its five or none.
        const std::wstring_view choice = options::StartSwitch(loaded.App.RunValue);
        if (!options::IsStartChoice(loaded.App.RunValue) && !choice.empty()) {
            tally.Fault("RunValue " + std::to_string(loaded.App.RunValue) + " gives a switch");
        }
    }
}

TEST(FuzzSettings, StoredHotkeyValuesShowOnlyWhatACaptureCouldMakeAndSurviveSaving) {
    Tally tally("hotkey values (decode/encode)");
    Random random(0x40771);
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        std::int64_t stored = random.Hostile64();
        if (random.Chance(40)) {
            // A valid value with one byte garbled.
            const auto valid = static_cast<std::uint32_t>(
                shortcuts::ModifierPart(random.Chance(50), random.Chance(50), random.Chance(50)) |
                (0x25 + random.Below(0x60)));
            stored =
                valid ^ (std::uint32_t{random.Chance(50) ? 0xFFu : 0x01u} << (8 * random.Below(4)));
        }
        const shortcuts::HotKeyValue bound = shortcuts::BoundHotKey(stored);
        if (bound == 0) {
            tally.Rejected();
            continue;
        }
        // The settings file holds it as a signed 32-bit decimal: reading that back changes nothing.
        if (shortcuts::BoundHotKey(static_cast<std::int32_t>(bound)) != bound) {
            tally.Fault("value " + std::to_string(bound) + " changes when saved and read");
        }
        const unsigned modifiers = shortcuts::RegisterModifiers(bound);
        const bool onlyMarkers =
            (bound & 0xFFFFFF00u) == shortcuts::ModifierPart(shortcuts::HasShift(bound),
                                                             shortcuts::HasCtrl(bound),
                                                             shortcuts::HasAlt(bound));
        if (!onlyMarkers) {
            tally.Fault("value " + std::to_string(bound) + " keeps bytes that are no marker");
        }
        // What is registered is what the field shows: a named key with one or two modifiers.
        if (modifiers == 0 || modifiers == 7 ||
            shortcuts::GetKeyName(shortcuts::KeyOf(bound)).empty()) {
            tally.Fault("value " + std::to_string(bound) + " would register as it cannot show");
        }
        const shortcuts::HotKeyText shown = shortcuts::FormatHotKey(bound);
        if (shown.value != bound || !IsHotKeyText(shown.text)) {
            tally.Fault("value " + std::to_string(bound) + " shows as \"" +
                        fuzz::Printable(shown.text) + "\"");
        }
    }
}

TEST(FuzzSettings, CapturedKeysAreNamedAndKeepTheirValueThroughTheFile) {
    Tally tally("hotkey capture (key codes)");
    Random random(0xCA97);
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        const bool shift = random.Chance(50), ctrl = random.Chance(50), alt = random.Chance(50);
        std::optional<shortcuts::HotKeyValue> captured;
        if (random.Chance(50)) {
            const std::uint64_t key = random.Chance(70)
                                          ? random.Below(0x120)
                                          : static_cast<std::uint64_t>(random.Hostile64());
            captured = shortcuts::CaptureKeyDown(key, shift, ctrl, alt);
        } else {
            const std::int64_t character = random.Chance(70)
                                               ? static_cast<std::int64_t>(random.Below(0x180))
                                               : random.Hostile64();
            captured = shortcuts::CaptureAltCharacter(character, shift, alt);
        }
        if (!captured) {
            tally.Rejected();
            continue;
        }
        if (shortcuts::GetKeyName(shortcuts::KeyOf(*captured)).empty() ||
            shortcuts::RegisterModifiers(*captured) == 0) {
            tally.Fault("capture " + std::to_string(*captured) + " has no key name or modifier");
        }
        // What the field keeps of a capture (it refuses all three modifiers) is what a start
        // reads back from the file and registers.
        const shortcuts::HotKeyValue kept = shortcuts::FormatHotKey(*captured).value;
        if (shortcuts::BoundHotKey(static_cast<std::int32_t>(kept)) != kept) {
            tally.Fault("capture " + std::to_string(*captured) + " changes through the file");
        }
    }
}

ADLODParameterRange HostileRange(Random& random) {
    if (random.Chance(40)) {
        const std::int32_t low = static_cast<std::int32_t>(random.Between(10000, 100000));
        return {low, low + static_cast<std::int32_t>(random.Between(0, 60000)),
                static_cast<std::int32_t>(random.Between(0, 1000))};
    }
    return {random.Hostile32(), random.Hostile32(), random.Hostile32()};
}

TEST(FuzzSettings, SavedClocksLandOnSlidersInsideTheDriversRanges) {
    Tally tally("overclock values (saved clocks)");
    Random random(0xC10C);
    std::size_t clockEndsOutside = 0;
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        const ADLODParameterRange clock = HostileRange(random);
        const ADLODParameterRange vddc = HostileRange(random);
        ADLFanSpeedInfo fan{};
        fan.iMinPercent = random.Chance(50) ? static_cast<std::int32_t>(random.Between(-10, 60))
                                            : random.Hostile32();
        fan.iMaxPercent = random.Chance(50) ? static_cast<std::int32_t>(random.Between(40, 120))
                                            : random.Hostile32();
        const std::int32_t stored = random.Hostile32();
        const std::optional<int> current =
            random.Chance(50) ? std::optional<int>(random.Hostile32()) : std::nullopt;

        const auto clockRange = overclock::ClockSliderRange(clock);
        const auto vddcRange = overclock::VoltageSliderRange(vddc);
        const auto fanRange = overclock::FanSliderRange(fan);
        if (!clockRange || !vddcRange || !fanRange) {
            tally.Rejected();
        }
        if (clockRange.has_value() != (clock.iMin <= clock.iMax) ||
            vddcRange.has_value() != (vddc.iMin <= vddc.iMax)) {
            tally.Fault("an inverted range was taken or a sound one refused");
        }
        if (clockRange) {
            if (clockRange->minimum > clockRange->maximum) {
                tally.Fault("clock slider range inverted");
            }
            // Both ends of the slider, in the driver's unit, lie within a MHz of its range.
            const std::int64_t low = overclock::DriverClockFromMHz(clockRange->minimum);
            const std::int64_t high = overclock::DriverClockFromMHz(clockRange->maximum);
            if (low < std::int64_t{clock.iMin} - 99 || high > std::int64_t{clock.iMax} + 99) {
                tally.Fault("clock slider ends beyond the driver's range");
            }
            if (low < clock.iMin || high > clock.iMax) {
                ++clockEndsOutside;
            }
        }
        if (vddcRange && (vddcRange->minimum != vddc.iMin || vddcRange->maximum != vddc.iMax)) {
            tally.Fault("voltage slider range differs from the driver's");
        }
        if (fanRange && (fanRange->minimum < 0 || fanRange->maximum > 100 ||
                         fanRange->minimum > fanRange->maximum)) {
            tally.Fault("fan slider range outside 0..100");
        }
        const auto fanOnSlider = overclock::StoredFanOnSlider(stored, fanRange.has_value());
        if (fanOnSlider.has_value() != fanRange.has_value() ||
            (fanOnSlider && (*fanOnSlider < 0 || *fanOnSlider > 100))) {
            tally.Fault("stored fan " + std::to_string(stored) + " outside 0..100");
        }
        if (overclock::StoredClockOnSlider(stored, false, current)) {
            tally.Fault("a clock is put on a slider without a range");
        }
        const auto reading = overclock::FanPercentReading(random.Hostile32());
        if (reading && (*reading < 0 || *reading > 100)) {
            tally.Fault("fan reading outside 0..100");
        }
    }
    // Ranges whose ends are not whole MHz: the slider's end maps just outside, and the last guard
    // before the card (DriverOperations::SetPerformanceClocks) refuses that value.
    std::printf(
        "fuzz overclock values: %zu clock ranges with a slider end outside the driver's "
        "range by less than 1 MHz\n",
        clockEndsOutside);
}

TEST(FuzzSettings, SavedQualityValuesAndDriverScalesKeepTheGammaRampSafe) {
    Tally tally("quality ranges / gamma ramp");
    Random random(0x9A33A);
    std::size_t refusedSteps = 0, writtenSteps = 0;
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        const bool plausible = random.Chance(40);
        const std::int32_t minimum =
            plausible ? static_cast<std::int32_t>(random.Between(-5, 5)) : random.Hostile32();
        const std::int32_t maximum =
            plausible ? static_cast<std::int32_t>(random.Between(10, 40)) : random.Hostile32();
        const std::int32_t step =
            plausible ? static_cast<std::int32_t>(random.Between(0, 3)) : random.Hostile32();
        const std::int32_t reference =
            plausible ? static_cast<std::int32_t>(random.Between(0, 20)) : random.Hostile32();
        const auto scale = display::GammaScaleFromDriver(reference, minimum, maximum, step);
        const display::GammaScale used = scale.value_or(display::kFallbackGammaScale);
        if (!scale) {
            tally.Rejected();
        }
        const display::SliderRange& r = used.range;
        if (r.minimum >= r.maximum || r.step < 1 || r.step > r.maximum - r.minimum ||
            used.reference < r.minimum || used.reference > r.maximum) {
            tally.Fault("gamma scale without a usable range");
            continue;
        }
        // A saved gamma value on the slider, and the ramp it asks for.
        const std::int32_t stored = random.Hostile32();
        const std::int32_t shown = std::clamp(stored, r.minimum, r.maximum);
        const double exponent = display::QualityGammaExponent(shown, used.reference);
        if (!std::isfinite(exponent)) {
            tally.Fault("gamma exponent not finite");
        }
        if (!scale && !display::IsSafeGammaExponent(exponent)) {
            tally.Fault("the fallback scale's position " + std::to_string(shown) +
                        " leaves the safe band");
        }
        if (display::IsSafeGammaExponent(exponent)) {
            ++writtenSteps;
            const display::GammaCurve curve = display::GammaRampCurve(exponent);
            if (!std::is_sorted(curve.begin(), curve.end()) || curve.back() != 65535 ||
                curve.front() == 0) {
                tally.Fault("ramp for exponent " + std::to_string(exponent) + " not rising");
            }
        } else {
            ++refusedSteps;
        }
        // The value kept in the preset is the stored one or what the slider shows now.
        const std::int32_t current = random.Chance(50) ? shown : random.Hostile32();
        const std::int32_t kept = display::PresetValueToStore(
            scale.has_value(), display::LoadedValue{stored, shown}, current);
        if (kept != current && kept != stored) {
            tally.Fault("preset keeps a value it never had");
        }
        // Brightness and contrast ranges, shifted for the slider.
        const std::int32_t offset =
            random.Chance(70) ? display::kBrightnessOffset : random.Hostile32();
        if (const auto colour = display::ColorSliderRange(minimum, maximum, step, offset)) {
            if (colour->minimum >= colour->maximum || colour->step < 1 ||
                std::int64_t{colour->minimum} != std::int64_t{minimum} + offset) {
                tally.Fault("colour slider range unusable or shifted wrongly");
            }
        }
        const std::int64_t wide = std::int64_t{stored} + offset;
        const std::int32_t shifted = display::ShiftedValue(stored, offset);
        if (shifted != std::clamp<std::int64_t>(wide, std::numeric_limits<std::int32_t>::min(),
                                                std::numeric_limits<std::int32_t>::max())) {
            tally.Fault("shifted value does not saturate");
        }
        // Any exponent at all gives a ramp of valid entries; outside the band nothing is written.
        const double any = random.AnyDouble();
        const display::GammaCurve hostile = display::GammaRampCurve(any);
        if (!(any > 0.0) && std::isfinite(any) &&
            std::any_of(hostile.begin(), hostile.end(),
                        [](std::uint16_t v) { return v != 65535; })) {
            tally.Fault("exponent " + std::to_string(any) + " below 0 is not a white ramp");
        }
        if (display::IsSafeGammaExponent(any) && !(any >= 0.09 && any <= 2.01)) {
            tally.Fault("exponent " + std::to_string(any) + " taken as safe");
        }
    }
    std::printf("fuzz gamma slider steps: %zu inside the safe band (ramp written), %zu refused\n",
                writtenSteps, refusedSteps);
}

// A module path as Windows hands it over: drive or UNC, any characters but the quote.
std::wstring RandomModulePath(Random& random) {
    std::wstring path = random.Chance(80) ? L"C:\\Program Files\\Velmora\\Velmora.exe"
                                          : L"\\\\server\\share\\tools\\Velmora.exe";
    path = fuzz::MutateWide(random, path);
    std::erase(path, L'"');
    std::erase(path, L'\0');
    return path;
}

TEST(FuzzSettings, CommandLinesGiveOneOfTheFourStartModes) {
    Tally tally("start mode (command line)");
    Random random(0x57A27);
    const std::wstring_view kOptions[] = {L"Min", L"MinTray", L"Apply_Exit"};
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        // The autostart value's own command line starts the mode it was written for, whatever
        // the path, in any letter case.
        const int choice = static_cast<int>(random.Between(0, 4));
        const std::wstring path = RandomModulePath(random);
        std::wstring written = options::RunValueData(path, options::StartSwitch(choice));
        const StartMode expected = choice < 2 ? StartMode::Normal : static_cast<StartMode>(choice);
        for (wchar_t& c : written) {
            const wchar_t lower = c | 0x20;
            if (lower >= L'a' && lower <= L'z' && random.Chance(30)) {
                c = static_cast<wchar_t>(c ^ 0x20);
            }
        }
        if (ParseStartMode(written) != expected) {
            tally.Fault("autostart line \"" + fuzz::Printable(written) + "\" not read as choice " +
                        std::to_string(choice));
        }
        // Anything else gives one of the four modes; an option with more after it is none.
        std::wstring line = L"\"" + path + L"\" /" + std::wstring(kOptions[random.Below(3)]);
        line = fuzz::MutateWide(random, line);
        const auto mode = static_cast<std::int32_t>(ParseStartMode(line));
        if (mode < 1 || mode > 4) {
            tally.Fault("mode " + std::to_string(mode));
        }
        if (mode == 1) {
            tally.Rejected();
        }
        if (ParseStartMode(written + L" " + fuzz::RandomWide(random, 8)) != StartMode::Normal &&
            expected != StartMode::Normal) {
            tally.Fault("an option with more after it is taken");
        }
    }
}

TEST(FuzzSettings, TheAutostartValueNamesTheProgramAndQuotesItsPath) {
    Tally tally("autostart value (Run key)");
    Random random(0xA0709);
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        const std::wstring path =
            random.Chance(70) ? RandomModulePath(random) : fuzz::RandomWide(random, 300);
        const std::wstring name = options::RunValueName(path);
        if (name.find_first_of(L"\\/") != std::wstring::npos || name.size() > path.size() ||
            path.find(name) == std::wstring::npos) {
            tally.Fault("value name \"" + fuzz::Printable(name) + "\" is not the file's name");
        }
        const int choice =
            static_cast<int>(random.Chance(80) ? random.Between(-1, 5) : random.Hostile32());
        const std::wstring_view switchName = options::StartSwitch(choice);
        const std::wstring data = options::RunValueData(path, switchName);
        const std::wstring quoted = L"\"" + path + L"\"";
        if (data.rfind(quoted, 0) != 0 ||
            data.size() != quoted.size() + (switchName.empty() ? 0 : 2 + switchName.size())) {
            tally.Fault("value data \"" + fuzz::Printable(data) + "\"");
        }
    }
}

}  // namespace
