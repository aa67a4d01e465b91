#include "mainwindow/VendorSite.h"

#include "framework/Handles.h"
#include "mainwindow/core/BrowserCommand.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <string>

namespace {

// The default text value of HKEY_CLASSES_ROOT\<subKey>, read with a 260-byte limit; false when
// the key or its value is missing.
bool ReadClassesRootDefault(const std::wstring& subKey, std::wstring& value) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_QUERY_VALUE, &raw) !=
        ERROR_SUCCESS) {
        return false;
    }
    fw::RegKey key(raw);
    wchar_t buffer[131] = {};  // 260 bytes of data and a terminator we always add
    DWORD type = 0;
    DWORD size = 260;
    if (::RegQueryValueExW(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                           &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return false;  // no usable value: nothing sensible to run
    }
    buffer[std::min<DWORD>(size / sizeof(wchar_t), 130)] = L'\0';
    value = buffer;
    return true;
}

}  // namespace

void OpenVendorSite(const wchar_t* address) {
    auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", L"IEXPLORE", address, nullptr, SW_SHOW));
    if (result > 32) {
        return;
    }
    std::wstring fileType;
    if (!ReadClassesRootDefault(L".htm", fileType)) {
        return;
    }
    std::wstring command;
    if (!ReadClassesRootDefault(fileType + L"\\shell\\open\\command", command)) {
        return;
    }
    const std::wstring line = velmora::BrowserCommandLine(command, address);
    // WinExec takes the ANSI code page; convert the whole line.
    int length = ::WideCharToMultiByte(CP_ACP, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return;
    }
    std::string ansi(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, line.c_str(), -1, ansi.data(), length, nullptr, nullptr);
    ::WinExec(ansi.c_str(), SW_SHOW);
}
