#include "settings/ExeDirectory.h"

#include "framework/Handles.h"

#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kDataFileName[] = L"\\DeviceManuf.db3";

}  // namespace

bool GetDataFilePath(wchar_t (&path)[MAX_PATH]) {
    const std::wstring full = fw::PathNextToExecutable(kDataFileName);
    if (full.empty() || full.size() >= static_cast<size_t>(MAX_PATH)) {
        path[0] = L'\0';
        return false;
    }
    full.copy(path, full.size());
    path[full.size()] = L'\0';
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
    DWORD type = REG_NONE;
    // A number or raw bytes under the name would show as text made of their bytes.
    if (::RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return false;
    }
    // A value stored without its terminator still ends inside the buffer.
    data[kMachineStringChars - 1] = L'\0';
    std::wcscpy(value, data);
    return true;
}
