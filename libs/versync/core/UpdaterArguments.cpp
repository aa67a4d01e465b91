#include "libs/versync/core/UpdaterArguments.h"

#include "libs/versync/core/UpdateManifest.h"

#include <map>

namespace {

constexpr std::size_t kMaxNumberDigits = 10;

std::wstring Widened(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

std::optional<std::string> Narrowed(const std::wstring& text) {
    std::string ascii;
    for (wchar_t c : text) {
        if (c <= 0 || c >= 0x7F) {
            return std::nullopt;
        }
        ascii.push_back(static_cast<char>(c));
    }
    return ascii;
}

std::optional<std::uint64_t> ParseNumber(const std::wstring& text) {
    if (text.empty() || text.size() > kMaxNumberDigits) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - L'0');
    }
    return value;
}

// A full path of a program: drive or UNC, no quote.
bool IsAcceptableProgramPath(const std::wstring& path) {
    const bool drive = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
    const bool unc = path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\';
    return (drive || unc) && path.find(L'"') == std::wstring::npos;
}

}  // namespace

std::wstring FormatUpdaterArguments(const UpdaterArguments& a) {
    return L"/wait " + std::to_wstring(a.waitProcessId) + L" /url " + Widened(a.url) + L" /size " +
           std::to_wstring(a.size) + L" /sha256 " + Widened(a.sha256) + L" /restart \"" +
           a.restartPath + L"\"";
}

std::optional<UpdaterArguments> ParseUpdaterArguments(const std::vector<std::wstring>& words) {
    static const wchar_t* const kSwitches[] = {L"/wait", L"/url", L"/size", L"/sha256",
                                               L"/restart"};
    std::map<std::wstring, std::wstring> values;
    if (words.size() != 2 * std::size(kSwitches)) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < words.size(); i += 2) {
        bool known = false;
        for (const wchar_t* name : kSwitches) {
            known = known || words[i] == name;
        }
        if (!known || !values.emplace(words[i], words[i + 1]).second) {
            return std::nullopt;
        }
    }
    UpdaterArguments a;
    const auto processId = ParseNumber(values[L"/wait"]);
    const auto size = ParseNumber(values[L"/size"]);
    const auto url = Narrowed(values[L"/url"]);
    const auto sha256 = Narrowed(values[L"/sha256"]);
    if (!processId || *processId > UINT32_MAX || !size || *size == 0 || *size > kMaxPackageSize ||
        !url || !IsAcceptablePackageUrl(*url) || !sha256 || !IsSha256Hex(*sha256) ||
        !IsAcceptableProgramPath(values[L"/restart"])) {
        return std::nullopt;
    }
    a.waitProcessId = static_cast<std::uint32_t>(*processId);
    a.size = *size;
    a.url = *url;
    a.sha256 = *sha256;
    for (char& c : a.sha256) {
        if (c >= 'A' && c <= 'F') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    a.restartPath = values[L"/restart"];
    return a;
}
