// Counts of another process's GDI and USER objects and its memory, taken by loading guiprobe.dll
// (beside wintool.exe) into that process for the count and unloading it again.
#pragma once

#include <windows.h>

#include <optional>

#include "tools/guiprobe/GuiObjectCount.h"

namespace wintool {

struct ProcessFigures {
    guiprobe::GuiObjectCounts objects;
    // Read before the probe is loaded, so the probe's own pages are not in it. (Wine 8 reports
    // no private bytes for another process.)
    SIZE_T workingSet = 0;
};

// Empty when the process cannot be opened or the probe cannot be loaded into it.
std::optional<ProcessFigures> MeasureProcess(DWORD pid);

}  // namespace wintool
