#include "gpu/DriverBinding.h"

#include <windows.h>

#include <type_traits>

#include "framework/Handles.h"
#include "framework/ModuleEntry.h"
#include "gpu/core/DriverOperations.h"

namespace {

// What one load found: the libraries, the entries resolved in them and the session over them.
// In this order, an assignment replaces the entries before the libraries they point into, and
// the session goes before its libraries; the session calls into them as it closes.
struct LoadedDrivers {
    DriverEntries entries;
    fw::Module atidl;
    fw::Module adl;
    std::shared_ptr<OverdriveSession> overdrive;
};

struct BindingState {
    LoadedDrivers bound;
    DriverLoad load;
    // A load under way on its own thread, which writes `ahead` and nothing else.
    std::unique_ptr<LoadedDrivers> ahead;
    fw::KernelHandle aheadThread;

    BindingState() = default;
    BindingState(const BindingState&) = delete;
    BindingState& operator=(const BindingState&) = delete;
    // A load started ahead that nobody took over and that is still running keeps what it holds.
    ~BindingState() {
        if (aheadThread && ::WaitForSingleObject(aheadThread.get(), 0) != WAIT_OBJECT_0) {
            static_cast<void>(ahead.release());
        }
    }
};

BindingState& State() {
    static BindingState state;
    return state;
}

DriverOperations Operations() {
    return DriverOperations(State().bound.entries);
}

OverdriveBackend* Backend() {
    const std::shared_ptr<OverdriveSession>& session = State().bound.overdrive;
    return session ? session->backend() : nullptr;
}

// The backend's answer, or `fallback` without a backend.
template <typename Result, typename Call>
Result WithBackend(Result fallback, Call call) {
    OverdriveBackend* backend = Backend();
    return backend != nullptr ? call(*backend) : fallback;
}

LoadedDrivers LoadDrivers() {
    LoadedDrivers loaded;
    loaded.atidl.reset(::LoadLibraryW(L"atipdlxx.dll"));
    loaded.adl.reset(::LoadLibraryW(L"atiadlxx.dll"));
    if (!loaded.adl) {
        loaded.adl.reset(::LoadLibraryW(L"atiadlxy.dll"));
    }
    VisitDriverEntries(
        loaded.entries, [&loaded](const char* name, DriverLibrary library, auto& entry) {
            const HMODULE module =
                library == DriverLibrary::Atidl ? loaded.atidl.get() : loaded.adl.get();
            entry = fw::LookUpEntry<std::remove_reference_t<decltype(entry)>>(module, name);
        });
    loaded.overdrive = OverdriveSession::Open(loaded.entries, static_cast<bool>(loaded.atidl));
    return loaded;
}

DWORD WINAPI LoadAhead(void* parameter) {
    *static_cast<LoadedDrivers*>(parameter) = LoadDrivers();
    return 0;
}

// Makes `loaded` the binding of the process; what was bound before goes.
DriverLoad Bind(LoadedDrivers loaded) {
    BindingState& state = State();
    // The old session goes while its libraries are still loaded.
    state.bound.overdrive.reset();
    state.bound = std::move(loaded);

    state.load.atidl = static_cast<bool>(state.bound.atidl);
    state.load.adl = static_cast<bool>(state.bound.adl);
    state.load.generation =
        state.bound.overdrive ? state.bound.overdrive->generation() : OverdriveGeneration::None;
    return state.load;
}

// The load started ahead once it has finished. One that is still running after the wait keeps
// its thread and everything the thread holds (the libraries stay loaded, nothing is freed under
// it), and the program goes on without a driver.
LoadedDrivers TakeOverAheadLoad(BindingState& state, unsigned long waitMs) {
    const fw::KernelHandle thread = std::move(state.aheadThread);
    std::unique_ptr<LoadedDrivers> ahead = std::move(state.ahead);
    if (::WaitForSingleObject(thread.get(), waitMs) == WAIT_OBJECT_0) {
        return std::move(*ahead);
    }
    static_cast<void>(ahead.release());
    return LoadedDrivers{};
}

}  // namespace

void DriverBinding::StartLoadingAhead() {
    BindingState& state = State();
    if (state.aheadThread) {
        return;
    }
    auto ahead = std::make_unique<LoadedDrivers>();
    fw::KernelHandle thread(::CreateThread(nullptr, 0, &LoadAhead, ahead.get(), 0, nullptr));
    if (!thread) {
        return;
    }
    state.ahead = std::move(ahead);
    state.aheadThread = std::move(thread);
}

DriverLoad DriverBinding::LoadDriverLibraries(unsigned long aheadWaitMs) {
    BindingState& state = State();
    return Bind(state.aheadThread ? TakeOverAheadLoad(state, aheadWaitMs) : LoadDrivers());
}

void DriverBinding::ReleaseDriverLibraries() {
    BindingState& state = State();
    // The backend and its context go first, while the libraries are still loaded; a session
    // another thread still holds keeps its own copy of the table and references on the modules.
    state.bound.overdrive.reset();
    state.load = DriverLoad{};
    state.bound = LoadedDrivers{};
}

const DriverEntries& DriverBinding::Entries() {
    return State().bound.entries;
}

const DriverLoad& DriverBinding::LastLoad() {
    return State().load;
}

std::shared_ptr<OverdriveSession> DriverBinding::Overdrive() {
    return State().bound.overdrive;
}

OverdriveGeneration DriverBinding::Generation() {
    const std::shared_ptr<OverdriveSession>& session = State().bound.overdrive;
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
