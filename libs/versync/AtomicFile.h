// Replacing a file so that readers see either the old content or the whole new one.
#pragma once

#include <string>

// Writes bytes to a temporary file beside path, flushes it, then moves it over path. On failure
// path is untouched and the temporary file is gone.
bool WriteFileAtomically(const std::wstring& path, const std::string& bytes);
