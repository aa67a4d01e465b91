#include "framework/ExecutableDirectory.h"

#include <windows.h>

#include <shlwapi.h>

namespace fw {

std::wstring ExecutableDirectory() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    // A full buffer means a cut path.
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    ::PathRemoveFileSpecW(path);
    return path;
}

std::string ExecutableDirectoryAnsi() {
    const std::wstring directory = ExecutableDirectory();
    if (directory.empty()) {
        return {};
    }
    char path[MAX_PATH];
    const UINT codePage = ::AreFileApisANSI() ? CP_ACP : CP_OEMCP;
    if (::WideCharToMultiByte(codePage, 0, directory.c_str(), -1, path, MAX_PATH, nullptr,
                              nullptr) == 0) {
        return {};
    }
    return path;
}

std::wstring PathNextToExecutable(const wchar_t* relativePath) {
    std::wstring directory = ExecutableDirectory();
    if (directory.empty()) {
        return {};
    }
    if (directory.back() == L'\\') {
        directory.pop_back();
    }
    return directory + relativePath;
}

}  // namespace fw
