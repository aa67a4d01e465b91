// Services built on the executable's own directory, shared by start-up, the update check and the
// hardware-information page.
#pragma once

#include <windows.h>

#include "framework/ExecutableDirectory.h"

// Size of the buffer a machine registry string is read into: 31 characters and the terminator.
inline constexpr DWORD kMachineStringChars = 32;

// Start-up takes the directory from here.
using fw::ExecutableDirectory;

// "<executable directory>\DeviceManuf.db3" within a 260-character buffer. False, with path set
// to the empty string, when the result does not fit.
[[nodiscard]] bool GetDataFilePath(wchar_t (&path)[MAX_PATH]);

// Reads one string value (REG_SZ or REG_EXPAND_SZ, taken as stored) of HKEY_LOCAL_MACHINE\subKey,
// at most 31 characters. True only when such a value was read; otherwise, and for a value of any
// other type, value is left as it was.
[[nodiscard]] bool ReadMachineRegistryString(const wchar_t* subKey, const wchar_t* name,
                                             wchar_t (&value)[kMachineStringChars]);
