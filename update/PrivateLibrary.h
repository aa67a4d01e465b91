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
