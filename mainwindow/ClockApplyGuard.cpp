#include "mainwindow/ClockApplyGuard.h"

#include <windows.h>

#include <utility>

#include "framework/Handles.h"

namespace {

constexpr wchar_t kMarkerValue[] = L"ClockApplyPending";

}  // namespace

ClockApplyGuard::ClockApplyGuard(std::wstring subKey) : subKey_(std::move(subKey)) {}

bool ClockApplyGuard::Pending() const {
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof(data);
    return ::RegGetValueW(HKEY_CURRENT_USER, subKey_.c_str(), kMarkerValue, RRF_RT_ANY, &type,
                          &data, &size) == ERROR_SUCCESS;
}

bool ClockApplyGuard::Arm() const {
    HKEY raw = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, subKey_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          &raw, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    fw::RegKey key(raw);
    const DWORD one = 1;
    if (::RegSetValueExW(key.get(), kMarkerValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                         sizeof(one)) != ERROR_SUCCESS) {
        return false;
    }
    // The marker must survive a machine that stops right after this.
    ::RegFlushKey(key.get());
    return true;
}

void ClockApplyGuard::Clear() const {
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, subKey_.c_str(), 0, KEY_SET_VALUE, &raw) !=
        ERROR_SUCCESS) {
        return;
    }
    fw::RegKey key(raw);
    ::RegDeleteValueW(key.get(), kMarkerValue);
    ::RegFlushKey(key.get());
}
