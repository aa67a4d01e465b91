#include "libs/versync/transport/AnsiText.h"

#include <windows.h>

namespace {

// Long enough for any path the file functions accept.
constexpr DWORD kMaxPathChars = 32768;

}  // namespace

std::wstring WideFromAnsi(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int length = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(),
                                             static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                          wide.data(), length);
    return wide;
}

std::wstring RunningProgramPath() {
    std::wstring path(kMaxPathChars, L'\0');
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), kMaxPathChars);
    if (length == 0 || length >= kMaxPathChars) {
        return {};
    }
    path.resize(length);
    return path;
}
