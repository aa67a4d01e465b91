// Reading what the recording stand-in of the update library was called with.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// One recorded call: the call text and the thread it arrived on.
struct RecordedCall {
    std::string call;
    DWORD thread = 0;
};

// The folder of this test executable, with a trailing backslash.
std::wstring TestBinDirectory();
// The folder of a stand-in build: "full" (every entry) or "partial" (no UCSetMachineId, an
// identity entry that fails).
std::wstring StandInDirectory(const wchar_t* variant);
// The full path of the stand-in library of that build.
std::wstring StandInLibrary(const wchar_t* variant);

// Every call recorded in folder's log, in order; "loaded" lines are left out unless asked for.
std::vector<RecordedCall> ReadCalls(const std::wstring& folder, bool withLoads = false);
std::vector<std::string> CallTexts(const std::vector<RecordedCall>& calls);
void ClearCalls(const std::wstring& folder);
// Waits up to timeoutMs until the log holds a call starting with prefix.
bool WaitForCall(const std::wstring& folder, const std::string& prefix, DWORD timeoutMs);
