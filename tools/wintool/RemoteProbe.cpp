#include "tools/wintool/RemoteProbe.h"

#include <psapi.h>

#include <string>

#include "framework/Handles.h"

namespace wintool {

namespace {

constexpr DWORD kProbeTimeoutMs = 30000;
constexpr char kProbeEntry[] = "ProbeGuiObjects";

std::wstring ProbePath() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder + L"guiprobe.dll";
}

// Pages in the target process, freed again with it.
class RemoteMemory {
  public:
    RemoteMemory(HANDLE process, SIZE_T size)
        : process_(process),
          address_(
              ::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteMemory() {
        if (address_ != nullptr) {
            ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        }
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    void* get() const { return address_; }

  private:
    HANDLE process_;
    void* address_;
};

// Runs start(parameter) on a new thread of the target and returns the thread's exit code.
std::optional<DWORD> RunRemote(HANDLE process, LPTHREAD_START_ROUTINE start, void* parameter) {
    fw::KernelHandle thread(
        ::CreateRemoteThread(process, nullptr, 0, start, parameter, 0, nullptr));
    if (!thread || ::WaitForSingleObject(thread.get(), kProbeTimeoutMs) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    if (!::GetExitCodeThread(thread.get(), &code)) {
        return std::nullopt;
    }
    return code;
}

template <typename Function>
LPTHREAD_START_ROUTINE AsThreadStart(Function function) {
    return reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(function));
}

}  // namespace

std::optional<ProcessFigures> MeasureProcess(DWORD pid) {
    fw::KernelHandle process(::OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION |
                                               PROCESS_VM_OPERATION | PROCESS_VM_WRITE |
                                               PROCESS_VM_READ,
                                           FALSE, pid));
    if (!process) {
        return std::nullopt;
    }
    ProcessFigures figures;
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (::GetProcessMemoryInfo(process.get(), &memory, sizeof(memory))) {
        figures.workingSet = memory.WorkingSetSize;
    }

    // The probe's entry lies at the same offset from its base in both processes; kernel32 (and
    // so LoadLibraryW and FreeLibrary) at the same address.
    const std::wstring path = ProbePath();
    fw::Module local(::LoadLibraryW(path.c_str()));
    if (!local) {
        return std::nullopt;
    }
    const auto entryOffset = reinterpret_cast<UINT_PTR>(reinterpret_cast<void*>(
                                 ::GetProcAddress(local.get(), kProbeEntry))) -
                             reinterpret_cast<UINT_PTR>(local.get());
    const SIZE_T pathBytes = (path.size() + 1) * sizeof(wchar_t);
    RemoteMemory remotePath(process.get(), pathBytes);
    if (remotePath.get() == nullptr ||
        !::WriteProcessMemory(process.get(), remotePath.get(), path.c_str(), pathBytes, nullptr)) {
        return std::nullopt;
    }
    // A 32-bit module handle fits the thread's exit code.
    const std::optional<DWORD> remoteBase =
        RunRemote(process.get(), AsThreadStart(&::LoadLibraryW), remotePath.get());
    if (!remoteBase || *remoteBase == 0) {
        return std::nullopt;
    }
    const auto entry =
        reinterpret_cast<LPTHREAD_START_ROUTINE>(static_cast<UINT_PTR>(*remoteBase) + entryOffset);
    bool counted = true;
    for (int kind = 0; kind < guiprobe::kGuiObjectKinds; ++kind) {
        const std::optional<DWORD> count =
            RunRemote(process.get(), entry, reinterpret_cast<void*>(static_cast<INT_PTR>(kind)));
        counted = counted && count.has_value() && *count != static_cast<DWORD>(-1);
        figures.objects.counts[kind] = count ? static_cast<int>(*count) : -1;
    }
    RunRemote(process.get(), AsThreadStart(&::FreeLibrary),
              reinterpret_cast<void*>(static_cast<UINT_PTR>(*remoteBase)));
    if (!counted) {
        return std::nullopt;
    }
    return figures;
}

}  // namespace wintool
