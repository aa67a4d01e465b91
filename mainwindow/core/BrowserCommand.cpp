#include "mainwindow/core/BrowserCommand.h"

namespace velmora {

std::wstring BrowserCommandLine(const std::wstring& registered, const std::wstring& address) {
    size_t cut = registered.find(L"\"%1\"");
    if (cut == std::wstring::npos) {
        cut = registered.find(L"%1");
    }
    std::wstring line = cut == std::wstring::npos ? registered : registered.substr(0, cut);
    line += L' ';
    line += address;
    return line;
}

}  // namespace velmora
