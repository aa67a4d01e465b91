// The hardware page's texts: the cuts of the name and the vendor, the two clock formats, and
// nothing shown for what the library reports as unknown or absurd.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "hwinfo/core/HardwareRows.h"

namespace {

using namespace hwinfo;

TEST(HardwareRows, CardNameIsCutAfterThirtyTwoCharactersWithADottedMark) {
    const std::wstring exact(32, L'x');
    EXPECT_EQ(CardNameText(exact), exact);
    EXPECT_EQ(CardNameText(exact + L"y"), exact + L". . .");
    EXPECT_EQ(CardNameText(L""), L"");
}

TEST(HardwareRows, VendorIsCutToTwentyOneCharactersWithoutAMark) {
    EXPECT_EQ(VendorText(L"PC Partner Limited / Sapphire"), L"PC Partner Limited / ");
    EXPECT_EQ(VendorText(std::wstring(25, L'v')), std::wstring(21, L'v'));
    EXPECT_EQ(VendorText(L"ASUS"), L"ASUS");
}

// The row the page shows for a record text, unit for unit (wchar_t is wider off Windows).
std::wstring Units(const std::u16string& text) {
    return std::wstring(text.begin(), text.end());
}

TEST(HardwareRows, CutsCountASurrogatePairAsOneCharacterAndNeverSplitIt) {
    const std::u16string face = u"\U0001F600";  // two code units, one character
    const auto rowsOf = [](const std::u16string& name, const std::u16string& vendor) {
        DisplayInfoRecord record = UnknownDisplayInfo();
        name.copy(record.cardName, name.size());
        vendor.copy(record.cardVendor, vendor.size());
        Rows rows;
        FillRowsFromRecord(record, rows);
        return rows;
    };
    // 32 characters in 33 units: whole. 33 characters: the pair is kept whole before the mark.
    const std::u16string name32 = std::u16string(30, u'x') + face + u"y";
    EXPECT_EQ(rowsOf(name32, u"")[kCardNameRow], Units(name32));
    const std::u16string kept = std::u16string(31, u'x') + face;
    EXPECT_EQ(rowsOf(kept + u"y", u"")[kCardNameRow], Units(kept) + L". . .");
    // The vendor's 21st character is a pair: both halves stay.
    const std::u16string vendor = std::u16string(20, u'v') + face;
    EXPECT_EQ(rowsOf(u"", vendor + u"w")[kVendorRow], Units(vendor));
    EXPECT_EQ(rowsOf(u"", vendor)[kVendorRow], Units(vendor));
}

TEST(HardwareRows, DriverClocksAreWholeMegahertzWithoutASpace) {
    EXPECT_EQ(ClockText(625), L"625MHz");
    EXPECT_EQ(ClockText(0), L"0MHz");
    EXPECT_EQ(ClockText(-1), L"");
    EXPECT_EQ(ClockText(2147483646), L"");
}

TEST(HardwareRows, LibraryClocksAreRoundedWithASpaceAndUnknownOnesShowNothing) {
    EXPECT_EQ(LibraryClockText(624.6f), L"625 MHz");
    EXPECT_EQ(LibraryClockText(993.0f), L"993 MHz");
    EXPECT_EQ(LibraryClockText(0.0f), L"0 MHz");
    EXPECT_EQ(LibraryClockText(kUnknownClock), L"");
    EXPECT_EQ(LibraryClockText(-0.5f), L"");
    EXPECT_EQ(LibraryClockText(std::numeric_limits<float>::quiet_NaN()), L"");
    EXPECT_EQ(LibraryClockText(std::numeric_limits<float>::infinity()), L"");
    EXPECT_EQ(LibraryClockText(3.0e38f), L"");
}

TEST(HardwareRows, MemorySizeInMegabytesAndNothingWhenUnknown) {
    EXPECT_EQ(MemorySizeText(512), L"512 MB");
    EXPECT_EQ(MemorySizeText(0), L"0 MB");
    EXPECT_EQ(MemorySizeText(kUnknownNumber), L"");
}

TEST(HardwareRows, DisplayCountsFromOneToSixteenArePlausible) {
    EXPECT_FALSE(IsPlausibleDisplayCount(0));
    EXPECT_TRUE(IsPlausibleDisplayCount(1));
    EXPECT_TRUE(IsPlausibleDisplayCount(16));
    EXPECT_FALSE(IsPlausibleDisplayCount(17));
    EXPECT_FALSE(IsPlausibleDisplayCount(-5));
}

TEST(HardwareRows, FieldTextStopsAtTheTerminatorOrTheFieldsEnd) {
    const char16_t terminated[4] = {u'a', u'b', u'\0', u'c'};
    EXPECT_EQ(FieldText(terminated, 4), L"ab");
    const char16_t full[3] = {u'a', u'b', u'c'};
    EXPECT_EQ(FieldText(full, 3), L"abc");
}

TEST(HardwareRows, RecordFillsRowsOneToSevenAndLeavesTheDriverVersion) {
    DisplayInfoRecord record = UnknownDisplayInfo();
    const std::u16string name = u"ATI Radeon HD 4850 512MB GDDR3 PCI-E";  // 36 characters
    name.copy(record.cardName, name.size());
    const std::u16string vendor = u"PC Partner Limited / Sapphire Technology";
    vendor.copy(record.cardVendor, vendor.size());
    record.memorySizeMb = 512;
    record.coreClock = 625.0f;
    Rows rows;
    rows[kDriverVersionRow] = L"8.501.0.0";
    FillRowsFromRecord(record, rows);
    EXPECT_EQ(rows[kCardNameRow], L"ATI Radeon HD 4850 512MB GDDR3 P. . .");
    EXPECT_EQ(rows[kVendorRow], L"PC Partner Limited / ");
    EXPECT_EQ(rows[kMemorySizeRow], L"512 MB");
    EXPECT_EQ(rows[kCoreClockRow], L"625 MHz");
    EXPECT_EQ(rows[kMemoryClockRow], L"");
    EXPECT_EQ(rows[kBiosDateRow], L"");
    EXPECT_EQ(rows[kMemoryTypeRow], L"");
    EXPECT_EQ(rows[kDriverVersionRow], L"8.501.0.0");
}

}  // namespace
