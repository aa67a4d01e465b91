// The device database: the generator's output read back, lookups by PCI ids, a hostile file
// refused, hardware ids parsed, and the record the probe library builds from the platform's
// report and the database.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "libs/gfxprobe/core/DeviceDatabase.h"
#include "libs/gfxprobe/core/RecordBuilder.h"
#include "tests/support/FileText.h"

namespace {

using namespace gfxprobe;

DeviceDatabase Sample() {
    auto db = DeviceDatabase::Parse(testkit::ReadFileBytes(SAMPLE_DB));
    EXPECT_TRUE(db.has_value());
    return db.value_or(DeviceDatabase{});
}

std::u16string Text(const char16_t* field) {
    return std::u16string(field);
}

TEST(DeviceDatabase, GeneratorKeepsGraphicsDevicesBoardsAndEveryVendorUpToTheClasses) {
    const DeviceDatabase db = Sample();
    EXPECT_EQ(db.vendorCount(), 4u);
    EXPECT_EQ(db.deviceCount(), 3u);  // the AMD ones; Trident's and Sapphire's are not graphics
    EXPECT_EQ(db.subsystemCount(), 2u);
    EXPECT_EQ(db.VendorName(0x1002), u"Advanced Micro Devices, Inc. [AMD/ATI]");
    EXPECT_EQ(db.VendorName(0x1f00), u"\u00DCn\u00EFcode Vendor");
    EXPECT_FALSE(db.VendorName(0x1003));
    EXPECT_FALSE(db.Device(0x1023, 0x9440));
    const auto hd4850 = db.Device(0x1002, 0x9442);
    ASSERT_TRUE(hd4850);
    EXPECT_EQ(hd4850->name, u"RV770 [Radeon HD 4850]");
    EXPECT_EQ(hd4850->memoryType, u"GDDR3");
    EXPECT_EQ(hd4850->coreClockMhz, 625);
    EXPECT_EQ(hd4850->memoryClockMhz, 993);
    const auto hd3870 = db.Device(0x1002, 0x9501);
    ASSERT_TRUE(hd3870);
    EXPECT_EQ(hd3870->memoryType, u"");
    EXPECT_EQ(hd3870->coreClockMhz, 0);
    EXPECT_EQ(db.SubsystemName({0x1002, 0x9442, 0x174b, 0xe810}), u"Radeon HD 4850 512MB GDDR3");
    EXPECT_FALSE(db.SubsystemName({0x1002, 0x9442, 0x174b, 0xe811}));
}

TEST(DeviceDatabase, TheBuiltDatabaseKnowsAnAmdCardAndItsBoardMaker) {
    auto db = DeviceDatabase::Parse(testkit::ReadFileBytes(FULL_DB));
    ASSERT_TRUE(db);
    EXPECT_GT(db->vendorCount(), 1000u);
    const auto hd4850 = db->Device(0x1002, 0x9442);
    ASSERT_TRUE(hd4850);
    EXPECT_EQ(MarketingName(hd4850->name), u"Radeon HD 4850");
    EXPECT_EQ(hd4850->memoryType, u"GDDR3");
    EXPECT_EQ(db->VendorName(0x174b), u"PC Partner Limited / Sapphire Technology");
    EXPECT_EQ(db->VendorName(0x1043), u"ASUSTeK Computer Inc.");
}

TEST(DeviceDatabase, MalformedFilesAreRefusedAndBadStringsReadAsUnknown) {
    const std::vector<uint8_t> good = testkit::ReadFileBytes(SAMPLE_DB);
    ASSERT_GT(good.size(), 32u);
    EXPECT_FALSE(DeviceDatabase::Parse({}));
    auto truncated = good;
    truncated.pop_back();
    EXPECT_FALSE(DeviceDatabase::Parse(truncated));
    auto badMagic = good;
    badMagic[0] = 'X';
    EXPECT_FALSE(DeviceDatabase::Parse(badMagic));
    auto hugeCount = good;
    std::memset(&hugeCount[8], 0xFF, 4);  // a vendor count near 2^32 must not wrap
    EXPECT_FALSE(DeviceDatabase::Parse(hugeCount));

    // The first vendor's name pointing past the pool, and the pool's last NUL gone.
    auto badOffset = good;
    std::memset(&badOffset[32 + 4], 0x7F, 4);
    auto db = DeviceDatabase::Parse(badOffset);
    ASSERT_TRUE(db);
    EXPECT_FALSE(db->VendorName(0x1002));
    auto unterminated = good;
    unterminated.back() = 'x';
    db = DeviceDatabase::Parse(unterminated);
    ASSERT_TRUE(db);
    EXPECT_TRUE(db->VendorName(0x1002));  // texts before the last still read
}

TEST(DeviceDatabase, PciHardwareIdsGiveChipAndBoardIds) {
    const auto ids = ParsePciHardwareId(u"PCI\\VEN_1002&DEV_9442&SUBSYS_E810174B&REV_00");
    ASSERT_TRUE(ids);
    EXPECT_EQ(ids->vendor, 0x1002);
    EXPECT_EQ(ids->device, 0x9442);
    EXPECT_EQ(ids->subVendor, 0x174b);
    EXPECT_EQ(ids->subDevice, 0xe810);
    const auto bare = ParsePciHardwareId(u"pci\\ven_10de&dev_0a20");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->vendor, 0x10de);
    EXPECT_EQ(bare->subVendor, 0);
    EXPECT_FALSE(ParsePciHardwareId(u"ROOT\\BASICDISPLAY"));
    EXPECT_FALSE(ParsePciHardwareId(u"PCI\\VEN_10&DEV_0A20"));
    EXPECT_FALSE(ParsePciHardwareId(u"PCI\\VEN_XYZW&DEV_0A20"));
}

TEST(DeviceDatabase, Utf8DecodingReplacesMalformedSequences) {
    EXPECT_EQ(Utf8ToUtf16("a\xC3\xA9", 3), u"a\u00E9");
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80", 4), u"\U0001F600");
    EXPECT_EQ(Utf8ToUtf16("\xC3", 1), u"\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xC0\x80", 2), u"\uFFFD");  // an overlong NUL
    EXPECT_EQ(Utf8ToUtf16("\xFF"
                          "b",
                          2),
              u"\uFFFDb");
}

TEST(RecordBuilder, KnownIdsTakeTheDatabasesNameBoardVendorMemoryTypeAndClocks) {
    AdapterReport report;
    report.hardwareId = u"PCI\\VEN_1002&DEV_9442&SUBSYS_E810174B&REV_00";
    report.driverDesc = u"ATI Radeon HD 4800 Series";
    report.providerName = u"ATI Technologies Inc.";
    report.memoryBytes = 512ll * 1024 * 1024;
    report.biosDate = u"2008/05/20";
    const DisplayInfoRecord record = BuildRecord(report, Sample());
    EXPECT_EQ(Text(record.cardName), u"Radeon HD 4850");
    EXPECT_EQ(Text(record.cardVendor), u"PC Partner Limited / Sapphire Technology");
    EXPECT_EQ(Text(record.memoryType), u"GDDR3");
    EXPECT_EQ(Text(record.biosDate), u"2008/05/20");
    EXPECT_EQ(record.coreClock, 625.0f);
    EXPECT_EQ(record.memoryClock, 993.0f);
    EXPECT_EQ(record.memorySizeMb, 512);
}

TEST(RecordBuilder, UnknownIdsFallBackToWhatThePlatformReports) {
    AdapterReport report;
    report.hardwareId = u"PCI\\VEN_0000&DEV_0000";
    report.description = u"Display adapter";
    report.driverDesc = u"Wine Adapter";
    report.providerName = u"Wine";
    report.dxgiMemoryBytes = 256ll * 1024 * 1024;
    const DisplayInfoRecord record = BuildRecord(report, Sample());
    EXPECT_EQ(Text(record.cardName), u"Wine Adapter");
    EXPECT_EQ(Text(record.cardVendor), u"Wine");
    EXPECT_EQ(Text(record.memoryType), u"");
    EXPECT_EQ(record.coreClock, kUnknownClock);
    EXPECT_EQ(record.memoryClock, kUnknownClock);
    EXPECT_EQ(record.memorySizeMb, 256);

    // A board maker the database lacks gives way to the chip's maker; nothing known stays -1.
    report.hardwareId = u"PCI\\VEN_1002&DEV_9501&SUBSYS_00011F01";
    report.dxgiMemoryBytes = -1;
    report.memoryBytes = 1ll << 62;  // no card has that much
    const DisplayInfoRecord amd = BuildRecord(report, Sample());
    EXPECT_EQ(Text(amd.cardName), u"Radeon HD 3870");
    EXPECT_EQ(Text(amd.cardVendor), u"Advanced Micro Devices, Inc. [AMD/ATI]");
    EXPECT_EQ(amd.memorySizeMb, kUnknownNumber);
}

TEST(RecordBuilder, EveryTextEndsInsideItsFieldOnAWholeCharacter) {
    AdapterReport report;
    report.driverDesc = std::u16string(2000, u'n');
    report.providerName = std::u16string(kRecordTextUnits, u'p');
    const DisplayInfoRecord record = BuildRecord(report, DeviceDatabase{});
    EXPECT_EQ(record.cardName[kRecordTextUnits - 1], u'\0');
    EXPECT_EQ(Text(record.cardName).size(), kRecordTextUnits - 1);
    EXPECT_EQ(Text(record.cardVendor).size(), kRecordTextUnits - 1);
    // A pair across the field's last unit is dropped whole; one that fits is kept.
    const std::u16string face = u"\U0001F600";
    report.driverDesc = std::u16string(kRecordTextUnits - 2, u'n') + face + u"z";
    report.providerName = std::u16string(kRecordTextUnits - 3, u'p') + face + u"z";
    const DisplayInfoRecord paired = BuildRecord(report, DeviceDatabase{});
    EXPECT_EQ(Text(paired.cardName), std::u16string(kRecordTextUnits - 2, u'n'));
    EXPECT_EQ(Text(paired.cardVendor), std::u16string(kRecordTextUnits - 3, u'p') + face);
    EXPECT_EQ(MarketingName(u"Cayman XT [Radeon HD 6970]"), u"Radeon HD 6970");
    EXPECT_EQ(MarketingName(u"Kaveri"), u"Kaveri");
    EXPECT_EQ(MarketingName(u"Odd []"), u"Odd []");
}

}  // namespace
