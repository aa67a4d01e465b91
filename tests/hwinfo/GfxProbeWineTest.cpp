// The real GfxProbe.dll in the test prefix: its records against what device installation and the
// adapters' driver keys report, with values planted in the first adapter's driver key.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "framework/ExecutableDirectory.h"
#include "framework/ModuleEntry.h"
#include "hwinfo/GfxProbeEntries.h"
#include "libs/gfxprobe/devices/DisplayDevices.h"

namespace {

const std::wstring kLibraryPath = fw::PathNextToExecutable(L"\\GfxProbe.dll");
const std::wstring kDatabasePath = fw::PathNextToExecutable(L"\\DeviceManuf.db3");

std::wstring Text(const char16_t* field) {
    const std::u16string text(field);
    return std::wstring(text.begin(), text.end());
}

// A value planted in a driver key for one test and removed after it.
class PlantedValue {
  public:
    PlantedValue(const std::wstring& driverKey, const wchar_t* name, DWORD type, const void* data,
                 DWORD size)
        : name_(name) {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, gfxprobe::DriverKeyPath(driverKey).c_str(), 0,
                            KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            key_.reset(key);
            planted_ = ::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size) ==
                       ERROR_SUCCESS;
        }
    }
    ~PlantedValue() {
        if (planted_) {
            ::RegDeleteValueW(key_.get(), name_);
        }
    }
    PlantedValue(const PlantedValue&) = delete;
    PlantedValue& operator=(const PlantedValue&) = delete;
    bool planted() const { return planted_; }

  private:
    fw::RegKey key_;
    const wchar_t* name_;
    bool planted_ = false;
};

class GfxProbeLibrary : public ::testing::Test {
  protected:
    void SetUp() override {
        library_.reset(::LoadLibraryW(kLibraryPath.c_str()));
        ASSERT_TRUE(library_);
        probe = hwinfo::LookUpGfxProbeEntries(library_.get());
        ASSERT_TRUE(probe.complete());
        devices = gfxprobe::PresentDisplayDevices();
        ASSERT_FALSE(devices.empty()) << "the prefix has no display adapter";
    }
    void TearDown() override {
        if (probe.HWClose != nullptr) {
            probe.HWClose();
        }
    }

    DisplayInfoRecord Record(int32_t index) {
        DisplayInfoRecord record = UnknownDisplayInfo();
        EXPECT_TRUE(probe.HWGetDisplayInfos(index, &record, 1));
        return record;
    }

    hwinfo::GfxProbeEntries probe;
    std::vector<gfxprobe::DisplayDevice> devices;

  private:
    fw::Module library_;
};

TEST_F(GfxProbeLibrary, CountsTheDisplayAdaptersDeviceInstallationLists) {
    int32_t count = -7;
    EXPECT_FALSE(probe.HWGetDisplayNumber(&count));  // not ready before HWInit
    EXPECT_EQ(count, 0);
    ASSERT_TRUE(probe.HWInit(kDatabasePath.c_str()));
    ASSERT_TRUE(probe.HWGetDisplayNumber(&count));
    EXPECT_EQ(count, static_cast<int32_t>(devices.size()));
    probe.HWClose();
    EXPECT_FALSE(probe.HWGetDisplayNumber(&count));
    EXPECT_EQ(count, 0);
}

TEST_F(GfxProbeLibrary, RecordsCarryThePlatformsFactsWhereTheDatabaseDoesNotKnowTheIds) {
    const std::wstring version = L"8.561.3.0";
    PlantedValue driverVersion(devices[0].driverKey, L"DriverVersion", REG_SZ, version.c_str(),
                               static_cast<DWORD>((version.size() + 1) * sizeof(wchar_t)));
    const DWORD memory = 256u * 1024 * 1024;
    PlantedValue memorySize(devices[0].driverKey, L"HardwareInformation.MemorySize", REG_BINARY,
                            &memory, sizeof(memory));
    const wchar_t bios[] = L"2009/03/11";  // drivers store these texts as binary UTF-16
    PlantedValue biosDate(devices[0].driverKey, L"HardwareInformation.BiosDate", REG_BINARY, bios,
                          sizeof(bios) - sizeof(wchar_t));
    ASSERT_TRUE(driverVersion.planted() && memorySize.planted() && biosDate.planted());

    ASSERT_TRUE(probe.HWInit(kDatabasePath.c_str()));
    const DisplayInfoRecord record = Record(0);
    EXPECT_EQ(Text(record.hardwareId), devices[0].hardwareId);
    EXPECT_EQ(Text(record.deviceName), devices[0].description);
    EXPECT_EQ(Text(record.driverVersion), version);
    EXPECT_EQ(Text(record.biosDate), L"2009/03/11");
    EXPECT_EQ(record.memorySizeMb, 256);

    // Without a database entry for the ids (here: without a database), the driver's
    // description names the card and the clocks stay unknown.
    const fw::RegKey key = gfxprobe::OpenDriverKey(devices[0].driverKey);
    wchar_t desc[256] = {};
    DWORD size = sizeof(desc) - sizeof(wchar_t);
    ASSERT_EQ(::RegQueryValueExW(key.get(), L"DriverDesc", nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(desc), &size),
              ERROR_SUCCESS);
    ASSERT_NE(desc[0], L'\0');
    probe.HWClose();
    ASSERT_TRUE(probe.HWInit(L"C:\\no\\such\\DeviceManuf.db3"));
    const DisplayInfoRecord unknownIds = Record(0);
    EXPECT_EQ(Text(unknownIds.cardName), desc);
    EXPECT_EQ(unknownIds.coreClock, kUnknownClock);
    EXPECT_EQ(unknownIds.memoryClock, kUnknownClock);
    EXPECT_EQ(Text(unknownIds.driverVersion), version);
}

TEST_F(GfxProbeLibrary, EveryTextEndsInsideItsFieldAndBadRequestsWriteNothing) {
    const std::wstring longDesc(1500, L'd');  // longer than any field
    PlantedValue adapterString(devices[0].driverKey, L"HardwareInformation.AdapterString",
                               REG_BINARY, longDesc.data(),
                               static_cast<DWORD>(longDesc.size() * sizeof(wchar_t)));
    ASSERT_TRUE(adapterString.planted());
    ASSERT_TRUE(probe.HWInit(L"C:\\no\\such\\DeviceManuf.db3"));  // no database: still ready
    const DisplayInfoRecord record = Record(0);
    const char16_t* texts[] = {record.cardName,       record.cardVendor,    record.memoryType,
                               record.chipType,       record.adapterString, record.biosDate,
                               record.biosString,     record.driverVersion, record.hardwareId,
                               record.driverProvider, record.deviceName};
    for (const char16_t* text : texts) {
        EXPECT_LT(std::char_traits<char16_t>::length(text), kRecordTextUnits);
    }
    EXPECT_EQ(Text(record.adapterString), std::wstring(kRecordTextUnits - 1, L'd'));

    int32_t count = 0;
    ASSERT_TRUE(probe.HWGetDisplayNumber(&count));
    DisplayInfoRecord untouched = UnknownDisplayInfo();
    EXPECT_FALSE(probe.HWGetDisplayInfos(count, &untouched, 1));
    EXPECT_FALSE(probe.HWGetDisplayInfos(-1, &untouched, 1));
    EXPECT_FALSE(probe.HWGetDisplayInfos(0, &untouched, count + 1));
    EXPECT_FALSE(probe.HWGetDisplayInfos(0, nullptr, 1));
    EXPECT_FALSE(probe.HWGetDisplayNumber(nullptr));
    EXPECT_EQ(untouched.cardName[0], u'\0');
    EXPECT_EQ(untouched.memorySizeMb, kUnknownNumber);
}

}  // namespace
