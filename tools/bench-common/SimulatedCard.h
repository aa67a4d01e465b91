// The simulated adapter's share of a measured path: its libraries count the time their entry
// points take (state file and call log included), which no real driver spends.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/ModuleEntry.h"

namespace bench {

// Milliseconds the loaded simulated driver libraries have spent in their entry points so far; 0
// without them (a real driver, or none).
inline double SimulatedCardMs() {
    using TimeInCalls = int64_t(__cdecl*)();
    double total = 0;
    for (const wchar_t* name : {L"atipdlxx.dll", L"atiadlxx.dll", L"atiadlxy.dll"}) {
        HMODULE module = ::GetModuleHandleW(name);
        if (module == nullptr) {
            continue;
        }
        if (const auto timeInCalls = fw::LookUpEntry<TimeInCalls>(module, "Sim_TimeInCalls")) {
            total += static_cast<double>(timeInCalls()) / 1000.0;
        }
    }
    return total;
}

}  // namespace bench
