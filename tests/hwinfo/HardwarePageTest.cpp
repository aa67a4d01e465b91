// The hardware page and its collector against the test library: which display is asked for,
// what is trusted of the answer, the driver's clocks, and the page's wait bar and texts whichever
// of the collector and the window comes first, with a library that fails or hangs.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <memory>
#include <string>
#include <type_traits>

#include "framework/ExecutableDirectory.h"
#include "framework/ModuleEntry.h"
#include "hwinfo/HardwareCollector.h"
#include "hwinfo/HardwareDlg.h"
#include "libs/gfxprobe/devices/DisplayDevices.h"
#include "skin/SkinImages.h"
#include "skin/SkinPaint.h"
#include "tests/hwinfo/StandInProbe.h"
#include "tests/support/HostWindow.h"
#include "tests/support/MessagePump.h"
#include "tests/support/SkinSession.h"

namespace {

using namespace std::chrono_literals;
using testkit::PumpUntil;

// The collector gets this long to answer.
constexpr auto kCollectorLimit = 10s;

const std::wstring kStandInPath =
    fw::PathNextToExecutable(L"\\standin\\gfxprobe-controlled\\GfxProbe.dll");
const std::wstring kSimAtidlPath = fw::PathNextToExecutable(L"\\sim\\atipdlxx.dll");
constexpr RECT kPage{503, 93, 503 + 268, 93 + 178};
constexpr RECT kWaitBarOnSurface{503 + 80, 93 + 76, 503 + 180, 93 + 83};

void SetText(char16_t (&field)[kRecordTextUnits], const std::u16string& text) {
    text.copy(field, text.size());
    field[text.size()] = u'\0';
}

// A record as a library that knows everything would fill it.
DisplayInfoRecord KnownRecord(const std::u16string& name) {
    DisplayInfoRecord record = UnknownDisplayInfo();
    SetText(record.cardName, name);
    SetText(record.cardVendor, u"Sapphire Technology");
    SetText(record.memoryType, u"GDDR3");
    SetText(record.biosDate, u"2008/05/20");
    record.coreClock = 624.6f;
    record.memoryClock = 993.0f;
    record.memorySizeMb = 512;
    return record;
}

// The driver, answering from plain functions: three levels, current clocks 650 and 993 MHz.
int VELMORA_CDECL FakeParameters(int, ADLODParameters* params, int) {
    params->iNumberOfPerformanceLevels = 3;
    return 0;
}
int VELMORA_CDECL FakeLevels(int, ADLODPerformanceLevels* levels, int, int) {
    levels->aLevels[0] = {50000, 90000, 1100};
    return 0;
}
int VELMORA_CDECL FakeClockInfo(int, ODClockInfo* info) {
    info->sEngineClock.iCurrent = 65000;
    info->sMemoryClock.iCurrent = 99300;
    return 0;
}
DriverEntries FakeDriver() {
    DriverEntries entries;
    entries.ATIDL_GetODParameters = FakeParameters;
    entries.ATIDL_GetODPerformanceLevels = FakeLevels;
    entries.ATIDL_GetODClockInfo = FakeClockInfo;
    return entries;
}

class StandInTest : public ::testing::Test {
  protected:
    void SetUp() override {
        library_.reset(::LoadLibraryW(kStandInPath.c_str()));
        ASSERT_TRUE(library_) << "no test library";
        const auto control =
            fw::LookUpEntry<StandInProbeControlFn>(library_.get(), "StandInControl");
        ASSERT_NE(control, nullptr);
        probe = control();
        probe->initResult = TRUE;
        probe->initGate = nullptr;
        probe->displayCount = 1;
        for (DisplayInfoRecord& record : probe->records) {
            record = UnknownDisplayInfo();
        }
        probe->initCalls = 0;
        probe->closeCalls = 0;
        probe->infoCalls = 0;
        probe->askedIndex = -1;
        probe->askedCount = -1;
        entries = hwinfo::LookUpGfxProbeEntries(library_.get());
        ASSERT_TRUE(entries.complete());
    }

    // Collects once on this thread.
    bool Collect(hwinfo::Rows& rows, const DriverEntries& drivers = {}) {
        DisplayInfoRecord record = UnknownDisplayInfo();
        const auto overdrive = OverdriveSession::Open(drivers, true);
        return hwinfo::CollectFacts(entries, L"C:\\db", overdrive->backend(), record, rows);
    }

    StandInProbeControl* probe = nullptr;
    hwinfo::GfxProbeEntries entries;

  private:
    fw::Module library_;
};

using HardwareCollector = StandInTest;

TEST_F(HardwareCollector, AsksTheLibraryForItsLastDisplayOnly) {
    probe->displayCount = 3;
    probe->records[2] = KnownRecord(u"Radeon HD 4850");
    probe->records[0] = KnownRecord(u"Not this one");
    hwinfo::Rows rows;
    ASSERT_TRUE(Collect(rows));
    EXPECT_EQ(probe->infoCalls, 1);
    EXPECT_EQ(probe->askedIndex, 2);
    EXPECT_EQ(probe->askedCount, 1);
    EXPECT_EQ(rows[hwinfo::kCardNameRow], L"Radeon HD 4850");
    EXPECT_EQ(rows[hwinfo::kBiosDateRow], L"2008/05/20");
    EXPECT_EQ(rows[hwinfo::kMemorySizeRow], L"512 MB");
    EXPECT_EQ(rows[hwinfo::kMemoryTypeRow], L"GDDR3");
    EXPECT_EQ(rows[hwinfo::kCoreClockRow], L"625 MHz");
    EXPECT_EQ(rows[hwinfo::kMemoryClockRow], L"993 MHz");
    EXPECT_EQ(rows[hwinfo::kVendorRow], L"Sapphire Technology");
    // The collector's caller closes the library after publishing.
    EXPECT_EQ(probe->closeCalls, 0);
}

TEST_F(HardwareCollector, DisplayCountsOutsideOneToSixteenAreNoDisplay) {
    for (const int32_t count : {0, -1, 17, INT_MAX, INT_MIN}) {
        SCOPED_TRACE(count);
        probe->displayCount = count;
        probe->closeCalls = 0;
        hwinfo::Rows rows;
        EXPECT_FALSE(Collect(rows));
        EXPECT_EQ(probe->infoCalls, 0);
        EXPECT_EQ(probe->closeCalls, 1);
    }
    probe->displayCount = 16;
    hwinfo::Rows rows;
    EXPECT_TRUE(Collect(rows));
    EXPECT_EQ(probe->askedIndex, 15);
}

TEST_F(HardwareCollector, AFailedInitialisationStopsWithoutClosing) {
    // Only the low byte of the answer counts.
    for (const BOOL answer : {FALSE, 0x100}) {
        probe->initResult = answer;
        hwinfo::Rows rows;
        EXPECT_FALSE(Collect(rows));
    }
    EXPECT_EQ(probe->infoCalls, 0);
    EXPECT_EQ(probe->closeCalls, 0);
}

TEST_F(HardwareCollector, ClocksComeFromTheDriverWhenItAnswersAndShowNothingWhenUnknown) {
    probe->records[0] = KnownRecord(u"Radeon HD 4850");
    hwinfo::Rows rows;
    ASSERT_TRUE(Collect(rows, FakeDriver()));
    EXPECT_EQ(rows[hwinfo::kCoreClockRow], L"650MHz");
    EXPECT_EQ(rows[hwinfo::kMemoryClockRow], L"993MHz");

    // A library that does not know the clocks reports -1: no "-1 MHz".
    probe->records[0].coreClock = kUnknownClock;
    probe->records[0].memoryClock = -3.0f;
    probe->records[0].memorySizeMb = kUnknownNumber;
    ASSERT_TRUE(Collect(rows));
    EXPECT_EQ(rows[hwinfo::kCoreClockRow], L"");
    EXPECT_EQ(rows[hwinfo::kMemoryClockRow], L"");
    EXPECT_EQ(rows[hwinfo::kMemorySizeRow], L"");
}

TEST_F(HardwareCollector, UnterminatedTextsAreReadOnlyToTheEndOfTheirField) {
    DisplayInfoRecord& record = probe->records[0];
    std::fill(std::begin(record.cardName), std::end(record.cardName), u'N');
    std::fill(std::begin(record.cardVendor), std::end(record.cardVendor), u'V');
    std::fill(std::begin(record.memoryType), std::end(record.memoryType), u'M');
    std::fill(std::begin(record.biosDate), std::end(record.biosDate), u'B');
    hwinfo::Rows rows;
    ASSERT_TRUE(Collect(rows));
    EXPECT_EQ(rows[hwinfo::kCardNameRow], std::wstring(32, L'N') + L". . .");
    EXPECT_EQ(rows[hwinfo::kVendorRow], std::wstring(21, L'V'));
    EXPECT_EQ(rows[hwinfo::kMemoryTypeRow], std::wstring(kRecordTextUnits, L'M'));
    EXPECT_EQ(rows[hwinfo::kBiosDateRow], std::wstring(kRecordTextUnits, L'B'));
}

// Sets the first display adapter's "DriverVersion" for one scope: a string, or the same bytes
// under another value type.
class PlantedDriverVersion {
  public:
    explicit PlantedDriverVersion(const std::wstring& version, DWORD type = REG_SZ)
        : PlantedDriverVersion(type, version.c_str(),
                               static_cast<DWORD>((version.size() + 1) * sizeof(wchar_t))) {}
    PlantedDriverVersion(DWORD type, const void* data, DWORD size) {
        const auto devices = gfxprobe::PresentDisplayDevices();
        HKEY key = nullptr;
        if (!devices.empty() &&
            ::RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                            gfxprobe::DriverKeyPath(devices[0].driverKey).c_str(), 0, KEY_SET_VALUE,
                            &key) == ERROR_SUCCESS) {
            key_.reset(key);
            ::RegSetValueExW(key, L"DriverVersion", 0, type, static_cast<const BYTE*>(data), size);
        }
    }
    ~PlantedDriverVersion() { ::RegDeleteValueW(key_.get(), L"DriverVersion"); }
    PlantedDriverVersion(const PlantedDriverVersion&) = delete;
    PlantedDriverVersion& operator=(const PlantedDriverVersion&) = delete;
    bool planted() const { return static_cast<bool>(key_); }

  private:
    fw::RegKey key_;
};

TEST(DriverVersion, ReadsUpToThirtyOneCharactersAndLeavesTheRowForLongerOnes) {
    std::wstring row = L"earlier";
    {
        PlantedDriverVersion planted(std::wstring(31, L'7'));
        ASSERT_TRUE(planted.planted());
        hwinfo::ReadDriverVersion(row);
        EXPECT_EQ(row, std::wstring(31, L'7'));
    }
    {
        PlantedDriverVersion planted(std::wstring(32, L'8'));
        hwinfo::ReadDriverVersion(row);
        EXPECT_EQ(row, std::wstring(31, L'7'));
    }
    hwinfo::ReadDriverVersion(row);  // Wine's adapter has none of its own
    EXPECT_EQ(row, std::wstring(31, L'7'));
}

TEST(DriverVersion, OnlyAStringValueIsAVersion) {
    std::wstring row = L"earlier";
    {
        // The bytes of a version text stored as binary, and a number whose bytes spell "77".
        PlantedDriverVersion planted(L"8.561.3.0", REG_BINARY);
        ASSERT_TRUE(planted.planted());
        hwinfo::ReadDriverVersion(row);
        EXPECT_EQ(row, L"earlier");
    }
    {
        const DWORD number = 0x00370037;
        PlantedDriverVersion planted(REG_DWORD, &number, sizeof(number));
        hwinfo::ReadDriverVersion(row);
        EXPECT_EQ(row, L"earlier");
    }
    {
        PlantedDriverVersion planted(L"8.561.3.0", REG_EXPAND_SZ);
        hwinfo::ReadDriverVersion(row);
        EXPECT_EQ(row, L"8.561.3.0");
    }
}

// The page inside a host window with the program's skin, drawing into a real surface.
class HardwarePage : public testkit::WithSkin<StandInTest> {
  protected:
    void SetUp() override {
        StandInTest::SetUp();
        ASSERT_TRUE(surface.Create(host.hwnd()));
        gate.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    }
    void TearDown() override {
        ::SetEvent(gate.get());  // no collector stays behind waiting
    }

    std::unique_ptr<CHARDWAREDLG> MakePage(const DriverEntries& drivers = {}) {
        return std::make_unique<CHARDWAREDLG>(hwinfo::MakeSource(
            kStandInPath, L"C:\\planted\\DeviceManuf.db3", OverdriveSession::Open(drivers, true)));
    }
    void Open(CHARDWAREDLG& page) {
        ASSERT_TRUE(page.Create(host.hwnd()));
        ::MoveWindow(page.GetSafeHwnd(), kPage.left, kPage.top, kPage.right - kPage.left,
                     kPage.bottom - kPage.top, FALSE);
        page.AttachSkin(&surface, FindSkinImage(L"SUBBKHARDWARE"));
        page.ShowPage(SW_SHOW);
    }
    // Pixels of the page that differ from its background alone, outside the wait bar.
    int TextPixels() {
        SkinSurface picture;
        EXPECT_TRUE(picture.Create(nullptr));
        {
            Gdiplus::Graphics graphics(picture.GetDC());
            skin::DrawWholeImage(graphics, FindSkinImage(L"SUBBKHARDWARE"), kPage.left, kPage.top);
        }
        int differing = 0;
        for (int y = kPage.top; y < kPage.bottom; ++y) {
            for (int x = kPage.left; x < kPage.right; ++x) {
                const POINT at{x, y};
                if (!::PtInRect(&kWaitBarOnSurface, at)) {
                    differing += picture.Pixel(x, y) != surface.Pixel(x, y) ? 1 : 0;
                }
            }
        }
        return differing;
    }
    static bool WaitBarShown(const CHARDWAREDLG& page) {
        return page.waitBar().shown && ::IsWindowVisible(page.waitBar().GetSafeHwnd());
    }
    // Whether the wait bar's frame timer still runs (KillTimer fails for a timer that is gone).
    static bool WaitBarTimerRuns(const CHARDWAREDLG& page) {
        return ::KillTimer(page.waitBar().GetSafeHwnd(), CBmButton::kTimerAnimation) != FALSE;
    }

    testkit::HostWindow host;
    SkinSurface surface;
    fw::KernelHandle gate;
};

TEST_F(HardwarePage, FactsReadyBeforeTheWindowExistsAreShownWhenItOpens) {
    probe->records[0] = KnownRecord(u"Radeon HD 4850");
    auto page = MakePage();
    ASSERT_TRUE(page->WaitCollector(10000));
    EXPECT_TRUE(page->infoReady());
    EXPECT_EQ(probe->closeCalls, 1);
    EXPECT_STREQ(probe->databasePath, L"C:\\planted\\DeviceManuf.db3");
    Open(*page);
    testkit::PumpMessages();
    EXPECT_FALSE(WaitBarShown(*page));
    EXPECT_FALSE(WaitBarTimerRuns(*page));
    EXPECT_GT(TextPixels(), 200);
}

TEST_F(HardwarePage, FactsArrivingLaterStopTheAnimatedWaitBarAndShowTheRows) {
    probe->initGate = gate.get();
    probe->records[0] = KnownRecord(u"Radeon HD 4850");
    auto page = MakePage(FakeDriver());
    Open(*page);
    EXPECT_TRUE(WaitBarShown(*page));
    const unsigned firstFrame = page->waitBar().frameIndex;
    EXPECT_TRUE(PumpUntil([&] { return page->waitBar().frameIndex != firstFrame; }, 2s))
        << "the wait bar does not animate";
    EXPECT_EQ(TextPixels(), 0);

    ::SetEvent(gate.get());
    ASSERT_TRUE(PumpUntil([&] { return !WaitBarShown(*page); }, kCollectorLimit));
    EXPECT_FALSE(WaitBarTimerRuns(*page)) << "the hidden wait bar still ticks";
    EXPECT_TRUE(page->infoReady());
    EXPECT_EQ(page->rows()[hwinfo::kCoreClockRow], L"650MHz");
    EXPECT_GT(TextPixels(), 200);
}

TEST_F(HardwarePage, WithAFailingLibraryTheWaitBarKeepsAnimatingAndNoTextShows) {
    probe->initResult = FALSE;
    auto page = MakePage();
    Open(*page);
    ASSERT_TRUE(page->WaitCollector(10000));
    const unsigned frame = page->waitBar().frameIndex;
    EXPECT_TRUE(PumpUntil([&] { return page->waitBar().frameIndex != frame; }, 2s));
    EXPECT_FALSE(page->infoReady());
    EXPECT_TRUE(WaitBarShown(*page));
    EXPECT_EQ(TextPixels(), 0);
}

TEST_F(HardwarePage, AHangingLibraryHoldsUpNeitherThePageNorItsEnd) {
    probe->initGate = gate.get();
    const auto start = std::chrono::steady_clock::now();
    {
        auto page = MakePage();
        Open(*page);
        testkit::PumpMessages();
        page.reset();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    // The library answers after the page is gone: the collector finishes on its own.
    ::SetEvent(gate.get());
    EXPECT_TRUE(PumpUntil([&] { return probe->closeCalls == 1; }, kCollectorLimit));
}

TEST_F(HardwarePage, TheCollectorKeepsTheDriverLibraryItUsesAfterTheProgramReleasedIt) {
    HMODULE atidl = ::LoadLibraryW(kSimAtidlPath.c_str());
    ASSERT_NE(atidl, nullptr);
    DriverEntries drivers;
    VisitDriverEntries(drivers, [atidl](const char* name, DriverLibrary library, auto& entry) {
        if (library == DriverLibrary::Atidl) {
            entry = fw::LookUpEntry<std::remove_reference_t<decltype(entry)>>(atidl, name);
        }
    });
    probe->initGate = gate.get();
    auto page = MakePage(drivers);
    ::FreeLibrary(atidl);  // the program's release of the driver libraries
    EXPECT_NE(::GetModuleHandleW(kSimAtidlPath.c_str()), nullptr);

    ::SetEvent(gate.get());
    ASSERT_TRUE(page->WaitCollector(10000));
    ASSERT_TRUE(page->infoReady());
    EXPECT_NE(page->rows()[hwinfo::kCoreClockRow].find(L"MHz"), std::wstring::npos);
    EXPECT_EQ(page->rows()[hwinfo::kCoreClockRow].find(L" "), std::wstring::npos);
    EXPECT_EQ(::GetModuleHandleW(kSimAtidlPath.c_str()), nullptr);
}

}  // namespace
