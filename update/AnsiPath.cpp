#include "update/AnsiPath.h"

#include <windows.h>

#include <optional>

namespace {

// path in the ANSI code page, when converting it back gives path again.
std::optional<std::string> SurvivingAnsi(const std::wstring& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    // Plain conversion: whatever it replaces or approximates shows in the way back.
    char ansi[MAX_PATH];
    if (::WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, ansi, MAX_PATH, nullptr, nullptr) == 0) {
        return std::nullopt;
    }
    wchar_t back[MAX_PATH];
    if (::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi, -1, back, MAX_PATH) == 0 ||
        path != back) {
        return std::nullopt;
    }
    return std::string(ansi);
}

}  // namespace

std::string AnsiPathForLibrary(const std::wstring& path) {
    if (std::optional<std::string> ansi = SurvivingAnsi(path)) {
        return *ansi;
    }
    const DWORD size = path.empty() ? 0 : ::GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::wstring shortPath(size, L'\0');
    const DWORD length = ::GetShortPathNameW(path.c_str(), shortPath.data(), size);
    if (length == 0 || length >= size) {
        return {};
    }
    shortPath.resize(length);
    return SurvivingAnsi(shortPath).value_or(std::string());
}
