// The eight texts of the hardware page, made from the probe's record and the driver's clocks.
// Nothing the library reports is trusted: texts end at their field, absurd numbers show nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "libs/gfxprobe/DisplayInfoRecord.h"

namespace hwinfo {

enum Row : size_t {
    kCardNameRow,
    kBiosDateRow,
    kMemorySizeRow,
    kMemoryTypeRow,
    kCoreClockRow,
    kMemoryClockRow,
    kVendorRow,
    kDriverVersionRow,
    kRowCount
};
using Rows = std::array<std::wstring, kRowCount>;

// A card name longer than this shows its first kCardNameShown characters and ". . .". Both cuts
// count characters: a surrogate pair is one and is never split.
inline constexpr size_t kCardNameShown = 32;
// A vendor is cut to this many characters, without a mark.
inline constexpr size_t kVendorShown = 21;
// Display counts a library may report; anything else counts as no display.
inline constexpr int32_t kMaxDisplays = 16;

[[nodiscard]] bool IsPlausibleDisplayCount(int32_t count);

// The text of a UTF-16 field of `units` code units: up to its first NUL, or the whole field when
// it has none.
[[nodiscard]] std::wstring FieldText(const char16_t* field, size_t units);

[[nodiscard]] std::wstring CardNameText(const std::wstring& name);
[[nodiscard]] std::wstring VendorText(const std::wstring& vendor);
// "%d MB"; empty for an unknown (negative) size.
[[nodiscard]] std::wstring MemorySizeText(int32_t megabytes);
// The library's clock as "%0.0f MHz"; empty when unknown (negative) or not a plausible clock.
[[nodiscard]] std::wstring LibraryClockText(float megahertz);
// A clock the driver reports, in whole MHz, as "%dMHz"; empty when it is no plausible clock.
[[nodiscard]] std::wstring ClockText(int32_t megahertz);

// Rows 1-7 from the record; row 8 (the driver version) is not the record's and stays as it was.
void FillRowsFromRecord(const DisplayInfoRecord& record, Rows& rows);

}  // namespace hwinfo
