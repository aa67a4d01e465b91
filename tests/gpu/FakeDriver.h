// An in-process stand-in for the driver libraries: a table of plain functions over one global
// fake card, recording every call as "Name(arguments)" so tests can check exact sequences.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "gpu/core/DriverEntries.h"

struct FakeDisplay {
    int logicalIndex = 0;
    int logicalAdapterIndex = 0;
    int infoValue = kAdlDisplayConnected | kAdlDisplayMappedToDesktop;
    int caps = kAdlColorBrightness | kAdlColorContrast;
    int valid = kAdlColorBrightness | kAdlColorContrast;
    int capsResult = 0;
};

struct FakeAdapter {
    int index = 0;
    int displayInfoResult = 0;
    std::vector<FakeDisplay> displays;
    // When set, the count reported instead of the number of displays.
    std::optional<int> reportedDisplays;
    // Hand out no buffer (null) although displays are reported.
    bool nullBuffer = false;
    // Hand out a buffer that did not come from the allocation callback.
    bool foreignBuffer = false;
};

struct FakeDriver {
    // ATIDL.
    ADLODParameters parameters{};
    int parametersResult = 0;
    ODClockInfo clockInfo{};
    int clockInfoResult = 0;
    std::vector<ADLODPerformanceLevel> defaultLevels;
    // Replaced by every accepted level write (a result of 0 or more), as a card would.
    std::vector<ADLODPerformanceLevel> currentLevels;
    int levelsResult = 0;
    // When set, the result of the current-levels query instead of levelsResult.
    std::optional<int> currentLevelsResult;
    int setLevelsResult = 0;
    // An accepted clock configuration becomes the current clocks of clockInfo.
    int clockConfigResult = 0;
    std::vector<ADLODPerformanceLevel> writtenLevels;
    ODClockConfig writtenClockConfig{};

    // ADL.
    int createResult = 0;
    int adapterCountResult = 0;
    std::optional<int> reportedAdapters;  // when set, the adapter count reported
    std::vector<FakeAdapter> adapters;
    int colorGetResult = 0;
    int colorValues[5] = {10, 0, -100, 100, 1};
    // Color_Set results per (adapter, display); 0 when absent.
    std::map<std::pair<int, int>, int> colorSetResults;
    AdlMallocCallback allocate = nullptr;
    int openContexts = 0;
    std::vector<void*> handedOut;

    std::vector<std::string> calls;
};

// The one fake card; reset by FakeDriverTest's SetUp.
FakeDriver& Fake();
void ResetFake();

// A card like the simulated default: three levels, engine 500-800 MHz reported, memory
// 900-1200 MHz, one adapter with one display supporting brightness and contrast.
void LoadPlausibleCard(FakeDriver& fake);

// Every entry bound to the fake.
DriverEntries FakeEntries();
