#include "update/PrivateLibrary.h"

#include "framework/ModuleEntry.h"

namespace {

bool IsFullPath(const std::wstring& path) {
    const bool drive = path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
    const bool unc = path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\';
    return drive || unc;
}

}  // namespace

void RestrictLibrarySearch() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    // Looked up, since systems without the loader update lack it.
    auto restrict = fw::LookUpEntry<SetDefaultDllDirectoriesFn>(::GetModuleHandleW(L"kernel32.dll"),
                                                                "SetDefaultDllDirectories");
    if (restrict == nullptr || !restrict(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS)) {
        // At least take the current directory out of the search order.
        ::SetDllDirectoryW(L"");
    }
}

fw::Module LoadPrivateLibrary(const std::wstring& fullPath) {
    if (!IsFullPath(fullPath)) {
        return {};
    }
    HMODULE module =
        ::LoadLibraryExW(fullPath.c_str(), nullptr,
                         LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    if (module == nullptr && ::GetLastError() == ERROR_INVALID_PARAMETER) {
        // A loader without the search flags: the altered search path starts at the library's
        // own directory instead of the executable's.
        module = ::LoadLibraryExW(fullPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    return fw::Module(module);
}
