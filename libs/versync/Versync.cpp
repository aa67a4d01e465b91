// versync.dll: the update library. The program sets who it is and where the update server is,
// then asks for a check; see VersyncCheck.h for what a check does.
#include "libs/versync/CheckControl.h"
#include "libs/versync/core/VersyncSettings.h"

#include <windows.h>

#include <cstring>

namespace {

// UCStopVersync returns within this time, whether or not the exchange has wound down.
constexpr DWORD kStopWaitMs = 500;

SRWLOCK g_settingsLock = SRWLOCK_INIT;
VersyncSettings g_settings;

// Changes the settings under the lock.
template <typename Change>
void ChangeSettings(Change change) {
    ::AcquireSRWLockExclusive(&g_settingsLock);
    change(g_settings);
    ::ReleaseSRWLockExclusive(&g_settingsLock);
}

// A setting's text: null clears it, longer text is cut.
std::string Bounded(const char* text) {
    return text == nullptr ? std::string() : std::string(text, strnlen(text, kMaxSettingLength));
}

void SetText(std::string VersyncSettings::*field, const char* text) {
    const std::string value = Bounded(text);
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

// The text settings, one export each.
#define VERSYNC_TEXT_SETTING(entry, field)                      \
    __declspec(dllexport) void WINAPI entry(const char* text) { \
        SetText(&VersyncSettings::field, text);                 \
    }
VERSYNC_TEXT_SETTING(UCSetProcessRootPath, processRootPath)
VERSYNC_TEXT_SETTING(UCSetProcessFileName, processFileName)
VERSYNC_TEXT_SETTING(UCSetUpdateRootPath, updateRootPath)
VERSYNC_TEXT_SETTING(UCSetUpdateFileName, updaterFileName)
VERSYNC_TEXT_SETTING(UCSetUpdateCfgFileName, configFileName)
VERSYNC_TEXT_SETTING(UCSetSoftwareMark, softwareMark)
VERSYNC_TEXT_SETTING(UCSetMachineId, machineId)
#undef VERSYNC_TEXT_SETTING

__declspec(dllexport) void WINAPI UCSetUnionID(int id) {
    ChangeSettings([id](VersyncSettings& s) {
        s.unionId = id;
        s.unionIdSet = true;
    });
}
__declspec(dllexport) void WINAPI UCSetUpdateServer(const char* address, int port) {
    const std::string value = Bounded(address);
    ChangeSettings([&](VersyncSettings& s) {
        s.serverAddress = value;
        s.serverPort = port;
    });
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
