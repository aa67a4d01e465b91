#include "hwinfo/GfxProbeEntries.h"

#include "framework/ModuleEntry.h"

namespace hwinfo {

GfxProbeEntries LookUpGfxProbeEntries(HMODULE library) {
    GfxProbeEntries entries;
    entries.HWInit = fw::LookUpEntry<HWInitFn>(library, "HWInit");
    entries.HWGetDisplayNumber =
        fw::LookUpEntry<HWGetDisplayNumberFn>(library, "HWGetDisplayNumber");
    entries.HWGetDisplayInfos = fw::LookUpEntry<HWGetDisplayInfosFn>(library, "HWGetDisplayInfos");
    entries.HWClose = fw::LookUpEntry<HWCloseFn>(library, "HWClose");
    return entries;
}

}  // namespace hwinfo
