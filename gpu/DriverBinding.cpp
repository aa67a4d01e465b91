#include "gpu/DriverBinding.h"

#include <windows.h>

#include <type_traits>

#include "framework/Handles.h"
#include "framework/ModuleEntry.h"

namespace {

struct BindingState {
    fw::Module atidl;
    fw::Module adl;
    DriverEntries entries;
};

BindingState& State() {
    static BindingState state;
    return state;
}

DriverOperations Operations() {
    return DriverOperations(State().entries);
}

}  // namespace

void DriverBinding::LoadDriverLibraries() {
    BindingState& state = State();
    fw::Module atidl(::LoadLibraryW(L"atipdlxx.dll"));
    fw::Module adl(::LoadLibraryW(L"atiadlxx.dll"));
    if (!adl) {
        adl.reset(::LoadLibraryW(L"atiadlxy.dll"));
    }
    if (!atidl || !adl) {
        ::MessageBoxW(nullptr, L"Dll加载失败!", L"Velmora", MB_OK | MB_ICONEXCLAMATION);
    }

    state.entries = DriverEntries{};
    state.atidl = std::move(atidl);
    state.adl = std::move(adl);
    if (!state.atidl) {
        return;
    }
    VisitDriverEntries(
        state.entries, [&state](const char* name, DriverLibrary library, auto& entry) {
            const HMODULE module =
                library == DriverLibrary::Atidl ? state.atidl.get() : state.adl.get();
            entry = fw::LookUpEntry<std::remove_reference_t<decltype(entry)>>(module, name);
        });
}

void DriverBinding::ReleaseDriverLibraries() {
    BindingState& state = State();
    // No entry may outlive the library it points into.
    state.entries = DriverEntries{};
    state.atidl.reset();
    state.adl.reset();
}

const DriverEntries& DriverBinding::Entries() {
    return State().entries;
}

bool DriverBinding::GetOverdriveParameters(ADLODParameters& params) {
    return Operations().GetOverdriveParameters(params);
}

bool DriverBinding::GetPerformanceLevels(bool defaults, ADLODPerformanceLevels& levels,
                                         bool* voltageKnown) {
    return Operations().GetPerformanceLevels(defaults, levels, voltageKnown);
}

bool DriverBinding::SetPerformanceClocks(int32_t engineClock, int32_t memoryClock, int32_t vddc) {
    return Operations().SetPerformanceClocks(engineClock, memoryClock, vddc);
}

std::optional<overclock::SliderRange> DriverBinding::GetFanRange() {
    return Operations().GetFanRange();
}

std::optional<int> DriverBinding::GetFanPercent() {
    return Operations().GetFanPercent();
}

DriverWrite DriverBinding::SetFanPercent(int percent) {
    return Operations().SetFanPercent(percent);
}

DriverWrite DriverBinding::SetFanToDefault() {
    return Operations().SetFanToDefault();
}

std::optional<int32_t> DriverBinding::GetTemperature() {
    return Operations().GetTemperature();
}

bool DriverBinding::SetDisplayColor(ColorKind kind, int32_t value) {
    return Operations().SetDisplayColor(kind, value);
}

bool DriverBinding::GetDisplayColor(ColorKind kind, int32_t& current, int32_t& defaultValue,
                                    int32_t& minimum, int32_t& maximum, int32_t& step) {
    return Operations().GetDisplayColor(kind, current, defaultValue, minimum, maximum, step);
}
