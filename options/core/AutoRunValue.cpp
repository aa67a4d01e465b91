#include "options/core/AutoRunValue.h"

#include <array>

namespace options {
namespace {

constexpr std::array<std::wstring_view, kStartChoices> kSwitches = {L"", L"", L"Min", L"MinTray",
                                                                    L"Apply_Exit"};

}  // namespace

std::wstring_view StartSwitch(int mode) {
    return IsStartChoice(mode) ? kSwitches[static_cast<std::size_t>(mode)] : std::wstring_view();
}

std::wstring RunValueName(std::wstring_view modulePath) {
    const std::size_t folder = modulePath.find_last_of(L"\\/");
    std::wstring_view name =
        folder == std::wstring_view::npos ? modulePath : modulePath.substr(folder + 1);
    const std::size_t dot = name.rfind(L'.');
    if (dot != std::wstring_view::npos && dot > 0) {
        name = name.substr(0, dot);
    }
    return std::wstring(name);
}

std::wstring RunValueData(std::wstring_view modulePath, std::wstring_view switchName) {
    std::wstring data = L"\"";
    data += modulePath;
    data += L'"';
    if (!switchName.empty()) {
        data += L" /";
        data += switchName;
    }
    return data;
}

}  // namespace options
