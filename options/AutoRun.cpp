#include "options/AutoRun.h"

#include "framework/Handles.h"
#include "options/core/AutoRunValue.h"

namespace options {
namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr DWORD kPathCapacity = 260;

fw::RegKey OpenRunKey(REGSAM access) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, access, &key) != ERROR_SUCCESS) {
        return fw::RegKey();
    }
    return fw::RegKey(key);
}

}  // namespace

std::optional<std::wstring> ExecutablePath() {
    wchar_t path[kPathCapacity] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, kPathCapacity);
    // A full buffer means the path was cut (and, before Vista, not even terminated).
    if (length == 0 || length >= kPathCapacity) {
        return std::nullopt;
    }
    return std::wstring(path, length);
}

bool WriteAutoRun(const std::wstring& modulePath, std::wstring_view switchName) {
    fw::RegKey key = OpenRunKey(KEY_SET_VALUE);
    if (!key) {
        return false;
    }
    const std::wstring name = RunValueName(modulePath);
    const std::wstring data = RunValueData(modulePath, switchName);
    const DWORD bytes = static_cast<DWORD>(data.size() + 1) * DWORD{sizeof(wchar_t)};
    return ::RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(data.c_str()), bytes) == ERROR_SUCCESS;
}

bool DeleteAutoRun(const std::wstring& modulePath) {
    fw::RegKey key = OpenRunKey(KEY_SET_VALUE);
    if (!key) {
        return false;
    }
    return ::RegDeleteValueW(key.get(), RunValueName(modulePath).c_str()) == ERROR_SUCCESS;
}

}  // namespace options
