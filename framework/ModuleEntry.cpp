#include "framework/ModuleEntry.h"

namespace fw {

AnyEntry LookUpAnyEntry(HMODULE module, const char* name) {
    if (module == nullptr || name == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<AnyEntry>(::GetProcAddress(module, name));
}

}  // namespace fw
