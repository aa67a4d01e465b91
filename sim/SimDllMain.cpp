// The entry point of each simulated driver library.
#include <windows.h>

#include "sim/SimModule.h"

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
