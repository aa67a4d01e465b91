#include "settings/ExeDirectory.h"

#include "framework/Handles.h"

#include <shlwapi.h>

#include <cwchar>

namespace {

constexpr wchar_t kDataFileName[] = L"\\DeviceManuf.db3";

// The module path with its file name removed, in place; false when it cannot be obtained.
bool ModuleDirectory(wchar_t (&path)[MAX_PATH]) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        path[0] = L'\0';
        return false;
    }
    ::PathRemoveFileSpecW(path);
    return true;
}

}  // namespace

std::wstring ExecutableDirectory() {
    wchar_t path[MAX_PATH];
    if (!ModuleDirectory(path)) {
        return {};
    }
    return path;
}

bool GetDataFilePath(wchar_t (&path)[MAX_PATH]) {
    if (!ModuleDirectory(path) ||
        std::wcslen(path) + std::wcslen(kDataFileName) >= static_cast<size_t>(MAX_PATH)) {
        path[0] = L'\0';
        return false;
    }
    std::wcscat(path, kDataFileName);
    return true;
}

bool ReadMachineRegistryString(const wchar_t* subKey, const wchar_t* name,
                               wchar_t (&value)[kMachineStringChars]) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, subKey, 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return false;
    }
    fw::RegKey key(opened);
    wchar_t data[kMachineStringChars] = {};
    DWORD size = sizeof(data);
    if (::RegQueryValueExW(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(data),
                           &size) != ERROR_SUCCESS) {
        return false;
    }
    // A value stored without its terminator still ends inside the buffer.
    data[kMachineStringChars - 1] = L'\0';
    std::wcscpy(value, data);
    return true;
}
