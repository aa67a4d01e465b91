#include "gpu/DriverBinding.h"

#include <windows.h>

#include <type_traits>

#include "framework/Handles.h"
#include "framework/ModuleEntry.h"
#include "gpu/core/DriverOperations.h"

namespace {

struct BindingState {
    fw::Module atidl;
    fw::Module adl;
    DriverEntries entries;
    std::shared_ptr<OverdriveSession> overdrive;
    DriverLoad load;
};

BindingState& State() {
    static BindingState state;
    return state;
}

DriverOperations Operations() {
    return DriverOperations(State().entries);
}

OverdriveBackend* Backend() {
    const std::shared_ptr<OverdriveSession>& session = State().overdrive;
    return session ? session->backend() : nullptr;
}

// The backend's answer, or `fallback` without a backend.
template <typename Result, typename Call>
Result WithBackend(Result fallback, Call call) {
    OverdriveBackend* backend = Backend();
    return backend != nullptr ? call(*backend) : fallback;
}

}  // namespace

DriverLoad DriverBinding::LoadDriverLibraries() {
    BindingState& state = State();
    fw::Module atidl(::LoadLibraryW(L"atipdlxx.dll"));
    fw::Module adl(::LoadLibraryW(L"atiadlxx.dll"));
    if (!adl) {
        adl.reset(::LoadLibraryW(L"atiadlxy.dll"));
    }
    state.overdrive.reset();
    state.entries = DriverEntries{};
    state.atidl = std::move(atidl);
    state.adl = std::move(adl);
    VisitDriverEntries(
        state.entries, [&state](const char* name, DriverLibrary library, auto& entry) {
            const HMODULE module =
                library == DriverLibrary::Atidl ? state.atidl.get() : state.adl.get();
            entry = fw::LookUpEntry<std::remove_reference_t<decltype(entry)>>(module, name);
        });
    state.overdrive = OverdriveSession::Open(state.entries, static_cast<bool>(state.atidl));

    state.load.atidl = static_cast<bool>(state.atidl);
    state.load.adl = static_cast<bool>(state.adl);
    state.load.generation = state.overdrive->generation();
    return state.load;
}

void DriverBinding::ReleaseDriverLibraries() {
    BindingState& state = State();
    // The backend and its context go first, while the libraries are still loaded; a session
    // another thread still holds keeps its own copy of the table and references on the modules.
    state.overdrive.reset();
    state.load = DriverLoad{};
    // No entry may outlive the library it points into.
    state.entries = DriverEntries{};
    state.atidl.reset();
    state.adl.reset();
}

const DriverEntries& DriverBinding::Entries() {
    return State().entries;
}

const DriverLoad& DriverBinding::LastLoad() {
    return State().load;
}

std::shared_ptr<OverdriveSession> DriverBinding::Overdrive() {
    return State().overdrive;
}

OverdriveGeneration DriverBinding::Generation() {
    const std::shared_ptr<OverdriveSession>& session = State().overdrive;
    return session ? session->generation() : OverdriveGeneration::None;
}

std::optional<OverdriveCapabilities> DriverBinding::GetOverdriveParameters() {
    return WithBackend(std::optional<OverdriveCapabilities>(),
                       [](OverdriveBackend& backend) { return backend.Capabilities(); });
}

std::optional<OverdriveSettings> DriverBinding::GetPerformanceLevels(bool defaults) {
    return WithBackend(std::optional<OverdriveSettings>(), [defaults](OverdriveBackend& backend) {
        return backend.Settings(defaults);
    });
}

bool DriverBinding::SetPerformanceClocks(const OverdriveRequest& request) {
    return WithBackend(false,
                       [&request](OverdriveBackend& backend) { return backend.Apply(request); });
}

bool DriverBinding::RestoreDefaultClocks() {
    return WithBackend(false, [](OverdriveBackend& backend) { return backend.RestoreDefaults(); });
}

std::optional<OverdriveClocks> DriverBinding::GetCurrentClocks() {
    return WithBackend(std::optional<OverdriveClocks>(),
                       [](OverdriveBackend& backend) { return backend.CurrentClocks(); });
}

std::optional<int32_t> DriverBinding::GetTemperature() {
    return WithBackend(std::optional<int32_t>(),
                       [](OverdriveBackend& backend) { return backend.Temperature(); });
}

std::optional<int> DriverBinding::GetFanPercent() {
    return WithBackend(std::optional<int>(),
                       [](OverdriveBackend& backend) { return backend.FanPercent(); });
}

DriverWrite DriverBinding::SetFanPercent(int percent) {
    return WithBackend(DriverWrite::NotMade, [percent](OverdriveBackend& backend) {
        return backend.SetFanPercent(percent);
    });
}

DriverWrite DriverBinding::SetFanToDefault() {
    return WithBackend(DriverWrite::NotMade,
                       [](OverdriveBackend& backend) { return backend.SetFanAutomatic(); });
}

bool DriverBinding::SetDisplayColor(ColorKind kind, int32_t value) {
    return Operations().SetDisplayColor(kind, value);
}

bool DriverBinding::GetDisplayColor(ColorKind kind, int32_t& current, int32_t& defaultValue,
                                    int32_t& minimum, int32_t& maximum, int32_t& step) {
    return Operations().GetDisplayColor(kind, current, defaultValue, minimum, maximum, step);
}
