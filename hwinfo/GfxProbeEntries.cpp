#include "hwinfo/GfxProbeEntries.h"

#include "framework/ModuleEntry.h"

namespace hwinfo {

bool GfxProbeEntries::complete() const {
    bool all = true;
    VisitGfxProbeEntries(*this, [&all](const char*, auto entry) { all = all && entry != nullptr; });
    return all;
}

GfxProbeEntries LookUpGfxProbeEntries(HMODULE library) {
    GfxProbeEntries entries;
    fw::ResolveEntries(library, entries, [](GfxProbeEntries& table, auto visit) {
        VisitGfxProbeEntries(table, visit);
    });
    return entries;
}

}  // namespace hwinfo
