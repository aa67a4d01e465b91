// Looking up a library's export as the function pointer type it is called through.
#pragma once

#include <windows.h>

namespace fw {

// The one function type every other function pointer may be cast to and back from.
using AnyEntry = void (*)();

// The export `name` of `module`, or null when the module is null or lacks the export.
AnyEntry LookUpAnyEntry(HMODULE module, const char* name);

// The same export as the caller's function pointer type; the caller states the type the
// library defines for it.
template <typename Entry>
Entry LookUpEntry(HMODULE module, const char* name) {
    return reinterpret_cast<Entry>(LookUpAnyEntry(module, name));
}

}  // namespace fw
