// Hostile driver records through the binding's operations: random level counts, ranges that are
// inverted or have no step, refusals and garbage words from every entry, huge and negative
// adapter and display counts, display lists that lie about their length. Whatever the driver
// says, nothing is written outside the ranges it reported, a success means both writes were
// accepted, every ADL context is closed and every block it handed out is released.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

#include "gpu/core/AdlAllocator.h"
#include "gpu/core/DriverOperations.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/gpu/FakeDriver.h"

namespace {

using fuzz::Random;
using fuzz::Tally;

// The writes of one operation, checked against what the driver reported before it.
struct WriteLog {
    DriverEntries fake;
    Tally* tally = nullptr;
    ADLODParameterRange engine{};
    ADLODParameterRange memory{};
    ADLODParameterRange vddc{};
    std::int32_t levelCount = 0;
    std::vector<std::int32_t> levelVddc;  // level 0's voltage of every levels write
    std::vector<int> levelResults;
    int clockWrites = 0;
    int clockResult = 0;
};
WriteLog g_log;

bool Inside(std::int32_t value, const ADLODParameterRange& range) {
    return value >= range.iMin && value <= range.iMax;
}

// A driver that leaves garbage in the size word of the levels it returns.
bool g_garbleLevelSize = false;
int VELMORA_CDECL GarblingGetLevels(int adapter, ADLODPerformanceLevels* levels, int defaults,
                                    int reserved) {
    const int result = g_log.fake.ATIDL_GetODPerformanceLevels(adapter, levels, defaults, reserved);
    if (g_garbleLevelSize) {
        levels->iSize = std::numeric_limits<std::int32_t>::max();
        levels->iReserved = -1;
    }
    return result;
}

int VELMORA_CDECL CheckedSetLevels(int adapter, ADLODPerformanceLevels* levels, int reserved) {
    if (levels->iSize != PerformanceLevelsSize(g_log.levelCount) ||
        !IsValidLevelCount(g_log.levelCount)) {
        g_log.tally->Fault("levels write of " + std::to_string(levels->iSize) + " bytes for " +
                           std::to_string(g_log.levelCount) + " levels");
    }
    g_log.levelVddc.push_back(levels->aLevels[0].iVddc);
    const int result = g_log.fake.ATIDL_SetODPerformanceLevels(adapter, levels, reserved);
    g_log.levelResults.push_back(result);
    return result;
}

int VELMORA_CDECL CheckedSetClocks(int adapter, ODClockConfig* config) {
    ++g_log.clockWrites;
    if (!Inside(config->iEngineClock, g_log.engine) ||
        !Inside(config->iMemoryClock, g_log.memory)) {
        g_log.tally->Fault("clocks " + std::to_string(config->iEngineClock) + "/" +
                           std::to_string(config->iMemoryClock) + " written outside the range");
    }
    g_log.clockResult = g_log.fake.ATIDL_SetODClockConfig(adapter, config);
    return g_log.clockResult;
}

int HostileResult(Random& random) {
    static const int kResults[] = {0, 0, 0, 0, 1, -1, -3, -8, 5};
    return random.Chance(90) ? kResults[random.Below(std::size(kResults))] : random.Hostile32();
}

ADLODParameterRange ClockRange(Random& random) {
    if (random.Chance(60)) {
        const auto low = static_cast<std::int32_t>(random.Between(10000, 90000));
        return {low, low + static_cast<std::int32_t>(random.Between(0, 50000)),
                static_cast<std::int32_t>(random.Between(0, 1000))};
    }
    return {random.Hostile32(), random.Hostile32(), random.Hostile32()};
}

std::vector<ADLODPerformanceLevel> HostileLevels(Random& random) {
    std::vector<ADLODPerformanceLevel> levels(random.Below(13));
    for (ADLODPerformanceLevel& level : levels) {
        level = {random.Hostile32(), random.Hostile32(), random.Hostile32()};
    }
    return levels;
}

// A plausible card with some of its answers replaced by hostile ones.
void LoadHostileOverdrive(Random& random, FakeDriver& fake) {
    LoadPlausibleCard(fake);
    static const std::int32_t kCounts[] = {0,
                                           9,
                                           -1,
                                           std::numeric_limits<std::int32_t>::max(),
                                           std::numeric_limits<std::int32_t>::min(),
                                           100};
    const auto hostile = [&random] { return random.Chance(10); };
    if (hostile()) {
        fake.parameters.iNumberOfPerformanceLevels =
            random.Chance(50) ? static_cast<std::int32_t>(random.Between(1, 8))
                              : kCounts[random.Below(std::size(kCounts))];
    }
    if (hostile()) {
        fake.parameters.sEngineClock = ClockRange(random);
        fake.parameters.sMemoryClock = ClockRange(random);
    }
    if (hostile()) {
        fake.parameters.sVddc = {random.Hostile32(), random.Hostile32(), random.Hostile32()};
    }
    for (ODClockBlock* block : {&fake.clockInfo.sEngineClock, &fake.clockInfo.sMemoryClock}) {
        if (hostile()) {
            const ADLODParameterRange range = ClockRange(random);
            *block = {random.Hostile32(), random.Hostile32(), range.iMax,
                      range.iMin,         random.Hostile32(), range.iStep};
        }
    }
    for (auto* levels : {&fake.defaultLevels, &fake.currentLevels}) {
        if (hostile()) {
            *levels = HostileLevels(random);
        }
    }
    for (int* result : {&fake.parametersResult, &fake.clockInfoResult, &fake.levelsResult,
                        &fake.setLevelsResult, &fake.clockConfigResult}) {
        if (hostile()) {
            *result = HostileResult(random);
        }
    }
    if (hostile()) {
        fake.currentLevelsResult = HostileResult(random);
    }
}

// The ranges the driver reports, as GetOverdriveParameters documents them.
void ExpectRanges(const FakeDriver& fake, bool clockInfoBound) {
    g_log.levelCount = fake.parameters.iNumberOfPerformanceLevels;
    g_log.engine = fake.parameters.sEngineClock;
    g_log.memory = fake.parameters.sMemoryClock;
    g_log.vddc = fake.parameters.sVddc;
    if (clockInfoBound && fake.clockInfoResult >= 0) {
        const std::int64_t raised =
            std::int64_t{fake.clockInfo.sEngineClock.iMaximum} + DriverOperations::kEngineHeadroom;
        g_log.engine = {fake.clockInfo.sEngineClock.iMinimum,
                        static_cast<std::int32_t>(std::min<std::int64_t>(
                            raised, std::numeric_limits<std::int32_t>::max())),
                        0};
        g_log.memory = {fake.clockInfo.sMemoryClock.iMinimum, fake.clockInfo.sMemoryClock.iMaximum,
                        0};
    }
}

// Every entry bound to the fake, a few left out, the two writes checked.
DriverEntries HostileEntries(Random& random) {
    g_log.fake = FakeEntries();
    DriverEntries entries = g_log.fake;
    entries.ATIDL_SetODPerformanceLevels = CheckedSetLevels;
    entries.ATIDL_SetODClockConfig = CheckedSetClocks;
    entries.ATIDL_GetODPerformanceLevels = GarblingGetLevels;
    g_garbleLevelSize = random.Chance(10);
    VisitDriverEntries(entries, [&random](const char*, DriverLibrary, auto& entry) {
        if (random.Chance(3)) {
            entry = nullptr;
        }
    });
    return entries;
}

std::int32_t ClockRequest(Random& random, const ADLODParameterRange& range) {
    if (random.Chance(80) && range.iMin <= range.iMax) {
        return static_cast<std::int32_t>(random.Between(range.iMin, range.iMax));
    }
    if (random.Chance(50) || range.iMax == std::numeric_limits<std::int32_t>::max()) {
        return random.Hostile32();
    }
    return range.iMax + 1;
}

TEST(FuzzDriver, HostileOverdriveRecordsNeverPutAValueOutsideTheReportedRanges) {
    Tally tally("driver records (overdrive)");
    Random random(0x0D7E);
    g_log.tally = &tally;
    std::size_t accepted = 0;
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        ResetFake();
        FakeDriver& fake = Fake();
        LoadHostileOverdrive(random, fake);
        const DriverEntries entries = HostileEntries(random);
        g_log.levelVddc.clear();
        g_log.levelResults.clear();
        g_log.clockWrites = 0;
        ExpectRanges(fake, entries.ATIDL_GetODClockInfo != nullptr);
        const DriverOperations ops(entries);

        switch (random.Below(3)) {
            case 0: {
                ADLODParameters params{};
                if (!ops.GetOverdriveParameters(params)) {
                    tally.Rejected();
                } else if (!IsValidLevelCount(params.iNumberOfPerformanceLevels)) {
                    tally.Fault("parameters taken with " +
                                std::to_string(params.iNumberOfPerformanceLevels) + " levels");
                }
                break;
            }
            case 1: {
                ADLODPerformanceLevels levels;
                std::memset(&levels, 0x5A, sizeof(levels));
                const ADLODPerformanceLevels before = levels;
                bool voltageKnown = true;
                if (!ops.GetPerformanceLevels(random.Chance(50), levels, &voltageKnown)) {
                    tally.Rejected();
                    if (std::memcmp(&levels, &before, sizeof(levels)) != 0 || voltageKnown) {
                        tally.Fault("a failed levels query changed its output");
                    }
                } else if (!voltageKnown && levels.aLevels[0].iVddc != 0) {
                    tally.Fault("a voltage the driver never reported is shown");
                }
                break;
            }
            default: {
                const std::int32_t vddc = random.Chance(80) && g_log.vddc.iMin <= g_log.vddc.iMax
                                              ? static_cast<std::int32_t>(random.Between(
                                                    g_log.vddc.iMin, g_log.vddc.iMax))
                                              : random.Hostile32();
                const bool applied = ops.SetPerformanceClocks(
                    ClockRequest(random, g_log.engine), ClockRequest(random, g_log.memory), vddc);
                if (!g_log.levelVddc.empty() && !Inside(g_log.levelVddc.front(), g_log.vddc)) {
                    tally.Fault("voltage " + std::to_string(g_log.levelVddc.front()) +
                                " written outside the range");
                }
                const bool voltageTaken = !g_log.levelResults.empty() && g_log.levelResults[0] >= 0;
                const bool clocksTaken = g_log.clockWrites == 1 && g_log.clockResult >= 0;
                if (applied != (voltageTaken && clocksTaken)) {
                    tally.Fault(std::string("success ") + (applied ? "shown" : "hidden") +
                                " with voltage " + (voltageTaken ? "taken" : "refused") +
                                " and clocks " + (clocksTaken ? "taken" : "refused"));
                }
                if (applied) {
                    ++accepted;
                } else {
                    tally.Rejected();
                }
                // A voltage taken for clocks that were refused is put back.
                const bool restored = g_log.levelVddc.size() == 2;
                if (voltageTaken && g_log.clockWrites == 1 && !clocksTaken && !restored) {
                    tally.Fault("voltage left without its clocks");
                }
                if (g_log.levelVddc.size() > 2 || g_log.clockWrites > 1) {
                    tally.Fault("more writes than one apply needs");
                }
                break;
            }
        }
    }
    std::printf("fuzz driver records: %zu applies accepted by the fake card\n", accepted);
    ResetFake();
}

void LoadHostileDisplays(Random& random, FakeDriver& fake) {
    fake.createResult = random.Chance(85) ? 0 : HostileResult(random);
    fake.adapterCountResult = random.Chance(85) ? 0 : HostileResult(random);
    // Indices stay unique: the fake finds a display by its adapter and logical index.
    const auto unique = [&random](int plain, const auto& taken) {
        int index = random.Chance(80) ? plain : random.Hostile32();
        while (std::find(taken.begin(), taken.end(), index) != taken.end()) {
            index = random.Hostile32();
        }
        return index;
    };
    std::vector<int> adapterIndices;
    fake.adapters.resize(random.Below(5));
    for (std::size_t a = 0; a < fake.adapters.size(); ++a) {
        FakeAdapter& adapter = fake.adapters[a];
        adapter.index = unique(static_cast<int>(a), adapterIndices);
        adapterIndices.push_back(adapter.index);
        std::vector<int> displayIndices;
        adapter.displayInfoResult = random.Chance(85) ? 0 : HostileResult(random);
        adapter.displays.resize(random.Below(6));
        for (std::size_t d = 0; d < adapter.displays.size(); ++d) {
            FakeDisplay& display = adapter.displays[d];
            display.logicalIndex = unique(static_cast<int>(d), displayIndices);
            displayIndices.push_back(display.logicalIndex);
            display.logicalAdapterIndex = random.Chance(80) ? adapter.index : random.Hostile32();
            display.infoValue = random.Chance(60) ? 3 : static_cast<int>(random.Word());
            display.caps = random.Chance(60) ? 3 : static_cast<int>(random.Word());
            display.valid = random.Chance(60) ? 3 : static_cast<int>(random.Word());
            display.capsResult = random.Chance(85) ? 0 : HostileResult(random);
        }
        if (random.Chance(20)) {
            adapter.reportedDisplays = random.Hostile32();
        }
        adapter.nullBuffer = random.Chance(5);
        adapter.foreignBuffer = random.Chance(5);
    }
    if (random.Chance(20)) {
        fake.reportedAdapters = random.Hostile32();
    }
    fake.colorGetResult = random.Chance(85) ? 0 : HostileResult(random);
    for (int& value : fake.colorValues) {
        value = random.Hostile32();
    }
}

// The display a colour call addressed qualifies: connected, mapped, of its adapter, and able.
bool Qualifies(const FakeDriver& fake, int adapterIndex, int displayIndex, int type) {
    for (const FakeAdapter& adapter : fake.adapters) {
        for (const FakeDisplay& d : adapter.displays) {
            if (adapter.index == adapterIndex && d.logicalIndex == displayIndex &&
                (d.infoValue & 3) == 3 && d.logicalAdapterIndex == adapterIndex &&
                d.capsResult == 0 && (d.caps & d.valid & type) != 0) {
                return true;
            }
        }
    }
    return false;
}

TEST(FuzzDriver, HostileDisplayListsAreReadInBoundsAndEveryContextAndBlockIsReleased) {
    Tally tally("driver records (ADL displays)");
    Random random(0xAD1);
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        ResetFake();
        FakeDriver& fake = Fake();
        LoadHostileDisplays(random, fake);
        const DriverEntries entries = FakeEntries();  // the operations keep a reference
        const DriverOperations ops(entries);
        const ColorKind kind = random.Chance(50) ? ColorKind::Brightness : ColorKind::Contrast;
        const int type = kind == ColorKind::Brightness ? kAdlColorBrightness : kAdlColorContrast;
        bool done = false;
        if (random.Chance(50)) {
            done = ops.SetDisplayColor(kind, random.Hostile32());
        } else {
            std::int32_t values[5] = {7, 7, 7, 7, 7};
            done = ops.GetDisplayColor(kind, values[0], values[1], values[2], values[3], values[4]);
            if (!done && std::any_of(std::begin(values), std::end(values),
                                     [](std::int32_t v) { return v != 7; })) {
                tally.Fault("a failed colour query changed its outputs");
            }
        }
        if (!done) {
            tally.Rejected();
        }
        for (const std::string& call : fake.calls) {
            int adapter = 0, display = 0, callType = 0;
            if ((std::sscanf(call.c_str(), "ADL_Display_Color_Set(%d, %d, %d", &adapter, &display,
                             &callType) == 3 ||
                 std::sscanf(call.c_str(), "ADL_Display_Color_Get(%d, %d, %d", &adapter, &display,
                             &callType) == 3) &&
                (callType != type || !Qualifies(fake, adapter, display, type))) {
                tally.Fault("colour call to a display that does not qualify: " + call);
            }
        }
        if (fake.openContexts != 0) {
            tally.Fault(std::to_string(fake.openContexts) + " ADL contexts left open");
        }
        for (void* block : fake.handedOut) {
            if (block != nullptr && AdlAllocationSize(block)) {
                tally.Fault("a display list ADL handed out was not released");
                AdlFree(block);
            }
        }
    }
    ResetFake();
}

TEST(FuzzDriver, TheAllocationCallbackReleasesOnlyItsOwnBlocks) {
    Tally tally("ADL allocation callback");
    constexpr std::size_t kLiveBlocks = 64;
    Random random(0xA110C);
    std::vector<std::pair<void*, std::size_t>> live;
    int stackWord = 0;
    for (std::size_t n = 0; n < fuzz::CaseCount(); ++n) {
        tally.Case();
        switch (random.Below(4)) {
            case 0:
            case 1: {
                const int size = random.Chance(90) ? static_cast<int>(random.Between(-4, 4096))
                                                   : random.Hostile32() % 70000;
                auto* block = static_cast<unsigned char*>(AdlAllocate(size));
                if (block == nullptr) {
                    tally.Rejected();
                    if (size > 0) {
                        tally.Fault("no block for " + std::to_string(size) + " bytes");
                    }
                    break;
                }
                if (size < 1 || AdlAllocationSize(block) != static_cast<std::size_t>(size) ||
                    std::any_of(block, block + size, [](unsigned char b) { return b != 0; })) {
                    tally.Fault("block of " + std::to_string(size) + " bytes not as asked");
                }
                std::memset(block, 0xEE, static_cast<std::size_t>(size));
                live.emplace_back(block, static_cast<std::size_t>(size));
                // Few blocks are alive at once in the program: release the oldest.
                if (live.size() > kLiveBlocks) {
                    AdlFree(live.front().first);
                    live.erase(live.begin());
                }
                break;
            }
            case 2:
                if (!live.empty()) {
                    const std::size_t at = random.Below(live.size());
                    AdlFree(live[at].first);
                    live.erase(live.begin() + static_cast<std::ptrdiff_t>(at));
                }
                break;
            default: {
                // Stray pointers a library might hand back: inside a block, on the stack, null.
                void* stray = &stackWord;
                if (!live.empty() && live.front().second > 1 && random.Chance(50)) {
                    stray = static_cast<char*>(live.front().first) + 1;
                } else if (random.Chance(30)) {
                    stray = nullptr;
                }
                AdlFree(stray);
                if (stray != nullptr && AdlAllocationSize(stray)) {
                    tally.Fault("a stray pointer became a block");
                }
                break;
            }
        }
        if (!live.empty()) {
            const auto& [block, size] = live[random.Below(live.size())];
            if (AdlAllocationSize(block) != size) {
                tally.Fault("a live block lost its size");
            }
        }
    }
    for (const auto& entry : live) {
        AdlFree(entry.first);
    }
}

}  // namespace
