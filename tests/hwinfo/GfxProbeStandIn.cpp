// A GfxProbe.dll for tests. The "controlled" build answers from its control block; the "failing"
// build's HWInit fails and the "hanging" build's HWInit never returns, for the program's own run.
#include <cwchar>

#include "tests/hwinfo/StandInProbe.h"

namespace {

StandInProbeControl& Control() {
    static StandInProbeControl control;
    return control;
}

}  // namespace

extern "C" __declspec(dllexport) StandInProbeControl* WINAPI StandInControl() {
    return &Control();
}

extern "C" __declspec(dllexport) BOOL WINAPI HWInit(const wchar_t* databasePath) {
    StandInProbeControl& control = Control();
    ++control.initCalls;
    if (databasePath != nullptr) {
        std::wcsncpy(control.databasePath, databasePath, MAX_PATH - 1);
    }
#if defined(GFXPROBE_STAND_IN_HANGING)
    ::Sleep(INFINITE);
#elif defined(GFXPROBE_STAND_IN_FAILING)
    return FALSE;
#endif
    if (control.initGate != nullptr) {
        ::WaitForSingleObject(control.initGate, INFINITE);
    }
    return control.initResult;
}

extern "C" __declspec(dllexport) BOOL WINAPI HWGetDisplayNumber(int32_t* count) {
    *count = Control().displayCount;
    return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI
    HWGetDisplayInfos(int32_t index, DisplayInfoRecord* records, int32_t count) {
    StandInProbeControl& control = Control();
    ++control.infoCalls;
    control.askedIndex = index;
    control.askedCount = count;
    if (index >= 0 && index < 3 && count == 1) {
        *records = control.records[index];
    }
    return TRUE;
}

extern "C" __declspec(dllexport) void WINAPI HWClose() {
    ++Control().closeCalls;
}
