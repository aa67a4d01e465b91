// The four entry points of the hardware probe library GfxProbe.dll, looked up by name. They use
// the standard calling convention and are exported under their plain names.
#pragma once

#include <windows.h>

#include <cstdint>

#include "libs/gfxprobe/DisplayInfoRecord.h"

namespace hwinfo {

// Only the low byte of the result is the answer: non-zero when the library is ready.
using HWInitFn = BOOL(WINAPI*)(const wchar_t* databasePath);
// Writes the number of displays; the result is not used.
using HWGetDisplayNumberFn = BOOL(WINAPI*)(int32_t* count);
// Fills `count` records from display `index` on; the result is not used.
using HWGetDisplayInfosFn = BOOL(WINAPI*)(int32_t index, DisplayInfoRecord* records, int32_t count);
using HWCloseFn = void(WINAPI*)();

struct GfxProbeEntries {
    HWInitFn HWInit = nullptr;
    HWGetDisplayNumberFn HWGetDisplayNumber = nullptr;
    HWGetDisplayInfosFn HWGetDisplayInfos = nullptr;
    HWCloseFn HWClose = nullptr;

    [[nodiscard]] bool complete() const;
};

// Calls visit(exportName, member) for every entry of the table.
template <typename Entries, typename Visitor>
void VisitGfxProbeEntries(Entries& entries, Visitor&& visit) {
    visit("HWInit", entries.HWInit);
    visit("HWGetDisplayNumber", entries.HWGetDisplayNumber);
    visit("HWGetDisplayInfos", entries.HWGetDisplayInfos);
    visit("HWClose", entries.HWClose);
}

// The entries of a loaded library; each is null when the library lacks it.
GfxProbeEntries LookUpGfxProbeEntries(HMODULE library);

}  // namespace hwinfo
