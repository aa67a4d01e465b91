#include "libs/versync/CheckControl.h"

#include "framework/Handles.h"
#include "libs/versync/CheckStop.h"
#include "libs/versync/VersyncCheck.h"

#include <windows.h>

#include <memory>

namespace {

// Guards the thread handle and the stop below; never held while waiting.
SRWLOCK g_lock = SRWLOCK_INIT;
fw::KernelHandle g_thread;
std::shared_ptr<CheckStop> g_stop;

struct CheckWork {
    VersyncSettings settings;
    std::shared_ptr<CheckStop> stop;
    HMODULE library = nullptr;
};

class ExclusiveLock {
  public:
    ExclusiveLock() { ::AcquireSRWLockExclusive(&g_lock); }
    ~ExclusiveLock() { ::ReleaseSRWLockExclusive(&g_lock); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;
};

fw::KernelHandle Duplicate(HANDLE handle) {
    HANDLE copy = nullptr;
    if (handle == nullptr ||
        !::DuplicateHandle(::GetCurrentProcess(), handle, ::GetCurrentProcess(), &copy, 0, FALSE,
                           DUPLICATE_SAME_ACCESS)) {
        return {};
    }
    return fw::KernelHandle(copy);
}

bool StillRunning(HANDLE thread) {
    return thread != nullptr && ::WaitForSingleObject(thread, 0) == WAIT_TIMEOUT;
}

// winhttp.dll and bcrypt.dll are bound at their first call, so that loading versync.dll does not
// load them while the program starts. Loading them here first turns a missing one into a skipped
// check instead of the delay-load helper's exception.
bool LoadNetworkLibraries(fw::Module& http, fw::Module& crypto) {
    http.reset(::LoadLibraryExW(L"winhttp.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    crypto.reset(::LoadLibraryExW(L"bcrypt.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    return http && crypto;
}

// Returns the library reference the work held.
HMODULE RunWork(CheckWork* raw) {
    std::unique_ptr<CheckWork> work(raw);
    fw::Module http;
    fw::Module crypto;
    if (LoadNetworkLibraries(http, crypto)) {
        RunVersyncCheck(work->settings, *work->stop);
    }
    return work->library;
}

DWORD WINAPI CheckThread(void* parameter) {
    // Everything the thread owns is released inside RunWork: FreeLibraryAndExitThread never
    // returns, so nothing may be left for a destructor here.
    ::FreeLibraryAndExitThread(RunWork(static_cast<CheckWork*>(parameter)), 0);
}

}  // namespace

bool StartCheck(const VersyncSettings& settings) {
    if (!CanCheck(settings)) {
        return false;
    }
    ExclusiveLock lock;
    if (StillRunning(g_thread.get())) {
        return false;
    }
    auto work = std::make_unique<CheckWork>();
    work->settings = settings;
    work->stop = std::make_shared<CheckStop>();
    if (!work->stop->valid() ||
        !::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                              reinterpret_cast<const wchar_t*>(&CheckThread), &work->library)) {
        return false;
    }
    HMODULE library = work->library;
    std::shared_ptr<CheckStop> stop = work->stop;
    fw::KernelHandle thread(::CreateThread(nullptr, 0, &CheckThread, work.get(), 0, nullptr));
    if (!thread) {
        ::FreeLibrary(library);
        return false;
    }
    static_cast<void>(work.release());  // the thread owns it now
    g_thread = std::move(thread);
    g_stop = std::move(stop);
    return true;
}

void WaitForCheck() {
    fw::KernelHandle thread;
    {
        ExclusiveLock lock;
        thread = Duplicate(g_thread.get());
    }
    if (thread) {
        ::WaitForSingleObject(thread.get(), INFINITE);
    }
}

void StopCheck(unsigned long timeoutMs) {
    fw::KernelHandle thread;
    std::shared_ptr<CheckStop> stop;
    {
        ExclusiveLock lock;
        stop = g_stop;
        thread = Duplicate(g_thread.get());
    }
    if (stop) {
        stop->Request();
    }
    if (thread) {
        ::WaitForSingleObject(thread.get(), timeoutMs);
    }
}

void AbandonCheck() {
    // No lock: the library is being unloaded, so no other thread is inside it (a running check
    // would have kept it loaded).
    if (g_stop) {
        g_stop->RequestWithoutWaiting();
    }
}
