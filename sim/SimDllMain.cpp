// The entry point of each simulated driver library.
#include <windows.h>

#include <cstdint>

#include "sim/SimModule.h"
#include "sim/SimStore.h"

// Not a driver entry: benchmarks ask how much of a measured path the simulated card took.
extern "C" int64_t __cdecl Sim_TimeInCalls() {
    return sim::TimeInCalls();
}

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        ::DisableThreadLibraryCalls(module);
        return sim::AttachSimModule(module) ? TRUE : FALSE;
    }
    // At process exit (reserved set) the log is left alone.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        sim::DetachSimModule(module);
    }
    return TRUE;
}
