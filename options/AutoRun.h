// The autostart value under HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Run
// (for this 32-bit program, the 32-bit view of the registry).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace options {

// The full path of the running executable, or nothing when it cannot be read or does not fit
// the 260 characters the value is built from (a cut path would start another program).
std::optional<std::wstring> ExecutablePath();

// Writes the value named after the executable: the quoted path and, when `switchName` is not
// empty, " /" and the switch; a REG_SZ whose size counts its terminating NUL. False when the key
// cannot be opened or the value cannot be written.
[[nodiscard]] bool WriteAutoRun(const std::wstring& modulePath, std::wstring_view switchName);
// Deletes that value; false when the key cannot be opened or the value cannot be deleted.
[[nodiscard]] bool DeleteAutoRun(const std::wstring& modulePath);

}  // namespace options
