// versync.dll: the update library. The program sets who it is and where the update server is,
// then asks for a check; see VersyncCheck.h for what a check does.
#include "libs/versync/CheckControl.h"
#include "libs/versync/core/VersyncSettings.h"

#include <windows.h>

#include <cstring>

namespace {

// UCStopVersync returns within this time, whether or not the exchange has wound down.
constexpr DWORD kStopWaitMs = 900;

SRWLOCK g_settingsLock = SRWLOCK_INIT;
VersyncSettings g_settings;

// Sets one field under the lock; null text clears it, longer text is cut.
template <typename Change>
void ChangeSettings(Change change) {
    ::AcquireSRWLockExclusive(&g_settingsLock);
    change(g_settings);
    ::ReleaseSRWLockExclusive(&g_settingsLock);
}

void SetText(std::string VersyncSettings::*field, const char* text) {
    const std::string value =
        text == nullptr ? std::string() : std::string(text, strnlen(text, kMaxSettingLength));
    ChangeSettings([&](VersyncSettings& s) { s.*field = value; });
}

VersyncSettings Snapshot() {
    ::AcquireSRWLockShared(&g_settingsLock);
    VersyncSettings copy = g_settings;
    ::ReleaseSRWLockShared(&g_settingsLock);
    return copy;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void* reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        ::DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        AbandonCheck();  // unloaded by FreeLibrary; at process exit the threads are gone already
    }
    return TRUE;
}

__declspec(dllexport) void WINAPI UCSetProcessRootPath(const char* path) {
    SetText(&VersyncSettings::processRootPath, path);
}
__declspec(dllexport) void WINAPI UCSetProcessFileName(const char* name) {
    SetText(&VersyncSettings::processFileName, name);
}
__declspec(dllexport) void WINAPI UCSetUpdateRootPath(const char* path) {
    SetText(&VersyncSettings::updateRootPath, path);
}
__declspec(dllexport) void WINAPI UCSetUpdateFileName(const char* name) {
    SetText(&VersyncSettings::updaterFileName, name);
}
__declspec(dllexport) void WINAPI UCSetUpdateCfgFileName(const char* name) {
    SetText(&VersyncSettings::configFileName, name);
}
__declspec(dllexport) void WINAPI UCSetSoftwareMark(const char* mark) {
    SetText(&VersyncSettings::softwareMark, mark);
}
__declspec(dllexport) void WINAPI UCSetMachineId(const char* id) {
    SetText(&VersyncSettings::machineId, id);
}
__declspec(dllexport) void WINAPI UCSetUnionID(int id) {
    ChangeSettings([id](VersyncSettings& s) {
        s.unionId = id;
        s.unionIdSet = true;
    });
}
__declspec(dllexport) void WINAPI UCSetUpdateServer(const char* address, int port) {
    SetText(&VersyncSettings::serverAddress, address);
    ChangeSettings([port](VersyncSettings& s) { s.serverPort = port; });
}

// Starts one check in the background and returns at once.
__declspec(dllexport) void WINAPI UCAutoVersync() {
    StartCheck(Snapshot());
}

// Runs the same check and returns when it has ended (or joins one already running).
__declspec(dllexport) void WINAPI UCManualVersync() {
    StartCheck(Snapshot());
    WaitForCheck();
}

__declspec(dllexport) void WINAPI UCStopVersync() {
    StopCheck(kStopWaitMs);
}

}  // extern "C"
