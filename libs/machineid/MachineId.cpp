// MachineId.dll: a stable identity of this machine for the update service.
#include "libs/machineid/core/IdentityText.h"

#include <windows.h>

#include <cstring>

namespace {

// Windows' own per-installation GUID.
constexpr wchar_t kCryptographyKey[] = L"SOFTWARE\\Microsoft\\Cryptography";
constexpr wchar_t kMachineGuidValue[] = L"MachineGuid";
constexpr DWORD kGuidChars = 64;

// The machine GUID as text, or empty.
std::wstring ReadMachineGuid() {
    HKEY key = nullptr;
    // The 64-bit view: a 32-bit build must see the same value as a 64-bit one.
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kCryptographyKey, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY,
                        &key) != ERROR_SUCCESS) {
        return {};
    }
    wchar_t guid[kGuidChars + 1] = {};
    DWORD size = kGuidChars * sizeof(wchar_t);
    DWORD type = 0;
    const LSTATUS status = ::RegQueryValueExW(key, kMachineGuidValue, nullptr, &type,
                                              reinterpret_cast<BYTE*>(guid), &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ) {
        return {};
    }
    guid[kGuidChars] = L'\0';
    return guid;
}

}  // namespace

// Writes the identity (at most `length` characters and a terminator) into buffer and returns its
// length; 0, with an empty buffer where one is given, when no identity can be made or it does not
// fit.
extern "C" __declspec(dllexport) int WINAPI MIGetIdentify(char* buffer, int length) {
    if (buffer == nullptr || length < 0) {
        return 0;
    }
    buffer[0] = '\0';
    const std::string identity = IdentityText(ReadMachineGuid());
    if (identity.empty() || identity.size() > static_cast<size_t>(length)) {
        return 0;
    }
    std::memcpy(buffer, identity.c_str(), identity.size() + 1);
    return static_cast<int>(identity.size());
}
