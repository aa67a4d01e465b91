// Loading and unloading of a simulated driver library: the scenario may refuse the load or
// hide exports, and both events are written to the call log.
#pragma once

#include <windows.h>

namespace sim {

// DLL_PROCESS_ATTACH: false when the scenario lists this library as missing.
bool AttachSimModule(HINSTANCE module);
// DLL_PROCESS_DETACH by FreeLibrary.
void DetachSimModule(HINSTANCE module);

}  // namespace sim
