// The test library standing in for GfxProbe.dll: it answers from a control block that the test
// fills through StandInProbeControl, and records how it was called.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "libs/gfxprobe/DisplayInfoRecord.h"

struct StandInProbeControl {
    BOOL initResult = TRUE;
    // When set, HWInit waits for this event before it answers: a library that hangs.
    HANDLE initGate = nullptr;
    int32_t displayCount = 1;
    // Records handed out for display indices 0, 1 and 2.
    DisplayInfoRecord records[3];

    std::atomic<int> initCalls{0};
    std::atomic<int> closeCalls{0};
    std::atomic<int> infoCalls{0};
    int32_t askedIndex = -1;
    int32_t askedCount = -1;
    wchar_t databasePath[MAX_PATH] = {};
};

using StandInProbeControlFn = StandInProbeControl*(WINAPI*)();
