#include "app/core/CommandLine.h"

#include <array>
#include <utility>

StartMode g_startMode = StartMode::Normal;

namespace {

constexpr std::array<std::pair<std::wstring_view, StartMode>, 3> kOptions = {{
    {L"Min", StartMode::Minimized},
    {L"MinTray", StartMode::TrayOnly},
    {L"Apply_Exit", StartMode::ApplyAndExit},
}};

constexpr bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

constexpr wchar_t AsciiLower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c;
}

bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

// The part of the command line after the program name. A quoted name ends at its closing quote
// (an unclosed quote takes the whole line); an unquoted one at the first blank.
std::wstring_view AfterProgramName(std::wstring_view line) {
    std::size_t start = 0;
    while (start < line.size() && IsBlank(line[start])) {
        ++start;
    }
    line.remove_prefix(start);
    if (!line.empty() && line.front() == L'"') {
        const std::size_t close = line.find(L'"', 1);
        return close == std::wstring_view::npos ? std::wstring_view() : line.substr(close + 1);
    }
    std::size_t end = 0;
    while (end < line.size() && !IsBlank(line[end])) {
        ++end;
    }
    return line.substr(end);
}

}  // namespace

StartMode ParseStartMode(std::wstring_view commandLine) {
    const std::wstring_view arguments = AfterProgramName(commandLine);
    const std::size_t slash = arguments.find(L'/');
    if (slash == std::wstring_view::npos) {
        return StartMode::Normal;
    }
    const std::wstring_view option = arguments.substr(slash + 1);
    for (const auto& [text, mode] : kOptions) {
        if (EqualsIgnoringAsciiCase(option, text)) {
            return mode;
        }
    }
    return StartMode::Normal;
}
