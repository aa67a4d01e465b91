// Loading our own libraries safely: only by full path, never from the current directory.
#pragma once

#include "framework/Handles.h"

#include <windows.h>

#include <string>

// Limits the process's library search to the application directory, System32 and directories
// added explicitly; the current directory is no longer searched. Safe to call more than once.
void RestrictLibrarySearch();

// Loads the library at this full path (a relative path is refused); its own dependencies are
// searched in its directory and the safe default directories. Empty on failure.
fw::Module LoadPrivateLibrary(const std::wstring& fullPath);

// A full path to <executable directory><relativePath>, or empty when the executable's directory
// is not known. relativePath starts with a backslash.
std::wstring PathNextToExecutable(const wchar_t* relativePath);

// Looks up an export as the function pointer type it is called through.
template <typename Entry>
Entry LookUpEntry(HMODULE module, const char* name) {
    FARPROC proc = module != nullptr ? ::GetProcAddress(module, name) : nullptr;
    // Through void(*)() so that the compiler accepts the change of function type.
    return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(proc));
}
