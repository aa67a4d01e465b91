#include "hwinfo/core/HardwareRows.h"

#include <cmath>
#include <cwchar>

#include "framework/core/Utf16Cut.h"

namespace hwinfo {

namespace {

// No graphics clock comes near a million MHz: anything above is a broken report.
constexpr float kMaxPlausibleClock = 1.0e6f;

template <size_t N>
std::wstring Field(const char16_t (&field)[N]) {
    return FieldText(field, N);
}

}  // namespace

bool IsPlausibleDisplayCount(int32_t count) {
    return count >= 1 && count <= kMaxDisplays;
}

std::wstring FieldText(const char16_t* field, size_t units) {
    std::wstring text;
    for (size_t i = 0; i < units && field[i] != u'\0'; ++i) {
        text.push_back(static_cast<wchar_t>(field[i]));
    }
    return text;
}

std::wstring CardNameText(const std::wstring& name) {
    const std::size_t kept = text::UnitsOfCharacters(std::wstring_view(name), kCardNameShown);
    if (kept == name.size()) {
        return name;
    }
    return name.substr(0, kept) + L". . .";
}

std::wstring VendorText(const std::wstring& vendor) {
    return vendor.substr(0, text::UnitsOfCharacters(std::wstring_view(vendor), kVendorShown));
}

std::wstring MemorySizeText(int32_t megabytes) {
    if (megabytes < 0) {
        return {};
    }
    wchar_t text[32];
    std::swprintf(text, std::size(text), L"%d MB", megabytes);
    return text;
}

std::wstring LibraryClockText(float megahertz) {
    if (!std::isfinite(megahertz) || megahertz < 0.0f || megahertz >= kMaxPlausibleClock) {
        return {};
    }
    wchar_t text[32];
    std::swprintf(text, std::size(text), L"%0.0f MHz", static_cast<double>(megahertz));
    return text;
}

std::wstring ClockText(int32_t megahertz) {
    if (megahertz < 0 || megahertz >= kMaxPlausibleClock) {
        return {};
    }
    wchar_t text[32];
    std::swprintf(text, std::size(text), L"%dMHz", megahertz);
    return text;
}

void FillRowsFromRecord(const DisplayInfoRecord& record, Rows& rows) {
    rows[kBiosDateRow] = Field(record.biosDate);
    rows[kMemorySizeRow] = MemorySizeText(record.memorySizeMb);
    rows[kMemoryTypeRow] = Field(record.memoryType);
    rows[kCoreClockRow] = LibraryClockText(record.coreClock);
    rows[kMemoryClockRow] = LibraryClockText(record.memoryClock);
    rows[kCardNameRow] = CardNameText(Field(record.cardName));
    rows[kVendorRow] = VendorText(Field(record.cardVendor));
}

}  // namespace hwinfo
