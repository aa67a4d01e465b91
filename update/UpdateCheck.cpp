#include "update/UpdateCheck.h"

#include "update/WinsockSession.h"

#include <memory>
#include <utility>

namespace {

template <typename Entry, typename... Args>
void CallIfBound(Entry entry, Args... args) {
    if (entry != nullptr) {
        entry(args...);
    }
}

// Everything the background thread touches: owned by the thread alone.
struct BackgroundCheck {
    fw::Module libraryReference;
    fw::KernelHandle gate;
    UpdaterEntries entries;
    UpdateCheckRequest request;
};

DWORD WINAPI RunBackgroundCheck(void* parameter) {
    std::unique_ptr<BackgroundCheck> check(static_cast<BackgroundCheck*>(parameter));
    UpdateCheckRequest& r = check->request;
    if (check->gate) {
        ::WaitForSingleObject(check->gate.get(), r.gateWaitMs);
    }
    if (r.identify != nullptr) {
        char identity[kMachineIdSize] = {};
        r.identify(identity);
        identity[kMachineIdSize - 1] = '\0';
        r.machineId = identity;
    }
    RunUpdateCheck(check->entries, r.executableDirectory.c_str(), r.updateDirectory.c_str(),
                   r.machineId.c_str(), r.host.c_str(), r.resolve);
    return 0;
}

}  // namespace

void RunUpdateCheck(const UpdaterEntries& entries, const char* executableDirectory,
                    const char* updateDirectory, const char* machineId, const char* host,
                    HostResolver resolve) {
    // Sockets stay up while the library is being configured: it may use them at once.
    WinsockSession sockets;
    std::string address;
    if (resolve != nullptr) {
        resolve(host, address);
    }
    if (executableDirectory == nullptr || updateDirectory == nullptr) {
        return;
    }
    const char* identity = machineId != nullptr ? machineId : "";
    CallIfBound(entries.UCSetProcessRootPath, executableDirectory);
    CallIfBound(entries.UCSetProcessFileName, kUpdateProcessFileName);
    CallIfBound(entries.UCSetUpdateRootPath, updateDirectory);
    CallIfBound(entries.UCSetUpdateFileName, kUpdaterProgramName);
    CallIfBound(entries.UCSetMachineId, identity);
    CallIfBound(entries.UCSetUnionID, kUnionId);
    CallIfBound(entries.UCSetSoftwareMark, kSoftwareMark);
    CallIfBound(entries.UCSetUpdateCfgFileName, kUpdateCfgFileName);
    CallIfBound(entries.UCSetUpdateServer, address.c_str(), kUpdateServerPort);
    CallIfBound(entries.UCAutoVersync);
}

fw::KernelHandle StartUpdateCheckThread(const UpdaterBinding& binding, UpdateCheckRequest request) {
    if (!binding.loaded()) {
        return {};
    }
    // A second reference to the module the binding holds; never a fresh load.
    HMODULE reference = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                              reinterpret_cast<const wchar_t*>(binding.module()), &reference)) {
        return {};
    }
    auto check = std::make_unique<BackgroundCheck>();
    check->libraryReference.reset(reference);
    HANDLE gate = nullptr;
    if (request.gate != nullptr &&
        !::DuplicateHandle(::GetCurrentProcess(), request.gate, ::GetCurrentProcess(), &gate,
                           SYNCHRONIZE, FALSE, 0)) {
        gate = nullptr;  // no gate to wait behind: the check runs at once
    }
    check->gate.reset(gate);
    check->entries = binding.entries();
    check->request = std::move(request);
    fw::KernelHandle thread(
        ::CreateThread(nullptr, 0, &RunBackgroundCheck, check.get(), 0, nullptr));
    if (thread) {
        static_cast<void>(check.release());  // the thread owns it now
    }
    return thread;
}
