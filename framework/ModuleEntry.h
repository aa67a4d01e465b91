// Looking up a library's export as the function pointer type it is called through.
#pragma once

#include <windows.h>

#include <type_traits>

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

// Fills a table of entries from a module. `visitEntries(entries, visit)` is the table's one list
// of its members: it calls visit(exportName, member) for each, and each member takes the export
// as its own type (null when the module lacks it).
template <typename Entries, typename VisitEntries>
void ResolveEntries(HMODULE module, Entries& entries, VisitEntries visitEntries) {
    visitEntries(entries, [module](const char* name, auto& entry) {
        entry = LookUpEntry<std::remove_reference_t<decltype(entry)>>(module, name);
    });
}

}  // namespace fw
