#include "settings/core/ProfileSection.h"

#include <algorithm>
#include <cstddef>

namespace {

// What the profile functions copy into GetPrivateProfileInt's 30-character buffer.
constexpr std::size_t kIntBufferLength = 30;

wchar_t AsciiLower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool SameName(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return AsciiLower(x) == AsciiLower(y); });
}

// The value as copied for GetPrivateProfileInt: a value in matching quotes loses the opening
// one, at most 29 characters are kept, and the closing quote goes when the rest fits the buffer
// (so a long quoted value loses its last kept character instead).
std::wstring_view CopiedValue(std::wstring_view value) {
    bool quoted = false;
    if (value.size() >= 2 && (value.front() == L'\'' || value.front() == L'"') &&
        value.back() == value.front()) {
        quoted = true;
        value.remove_prefix(1);
    }
    std::wstring_view copied = value.substr(0, kIntBufferLength - 1);
    if (quoted && value.size() <= kIntBufferLength && !copied.empty()) {
        copied.remove_suffix(1);
    }
    return copied;
}

// What the profile functions take for a blank around a name or a value: the C blanks and the
// DOS end-of-file mark, and no other Unicode space.
bool IsProfileBlank(wchar_t c) {
    return c == L' ' || (c >= L'\t' && c <= L'\r') || c == L'\x1A';
}

std::wstring_view Trimmed(std::wstring_view text) {
    while (!text.empty() && IsProfileBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsProfileBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

int DigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'A' && c <= L'Z') {
        return c - L'A' + 10;
    }
    if (c >= L'a' && c <= L'z') {
        return c - L'a' + 10;
    }
    return -1;
}

// The first entry of a name (names compare without regard to ASCII case).
template <typename Entries>
auto FirstEntry(Entries& entries, std::wstring_view key) {
    return std::find_if(entries.begin(), entries.end(),
                        [key](const auto& entry) { return SameName(entry.name, key); });
}

}  // namespace

ProfileSection::ProfileSection(std::wstring_view text) {
    while (!text.empty() && text.front() != L'\0') {
        const std::size_t end = std::min(text.find(L'\0'), text.size());
        // The profile functions trim when they load the file; a section function need not.
        const std::wstring_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        const std::size_t equals = line.find(L'=');
        if (equals == std::wstring_view::npos) {
            entries_.push_back({std::wstring(line), std::nullopt});
        } else {
            entries_.push_back({std::wstring(Trimmed(line.substr(0, equals))),
                                std::wstring(Trimmed(line.substr(equals + 1)))});
        }
    }
}

std::int32_t ProfileSection::Int(std::wstring_view key, std::int32_t fallback) const {
    const std::wstring* value = Text(key);
    if (!value) {
        return fallback;
    }
    const std::wstring_view copied = CopiedValue(*value);
    if (copied.empty()) {
        return fallback;
    }
    return static_cast<std::int32_t>(ProfileTextToInteger(copied));
}

const std::wstring* ProfileSection::Text(std::wstring_view key) const {
    const auto found = FirstEntry(entries_, key);
    return found == entries_.end() || !found->value ? nullptr : &*found->value;
}

void ProfileSection::Write(std::wstring_view key, const std::wstring* value) {
    const auto found = FirstEntry(entries_, key);
    if (value == nullptr) {
        if (found != entries_.end()) {
            entries_.erase(found);
        }
    } else if (found != entries_.end()) {
        found->value = std::wstring(Trimmed(*value));
    } else {
        entries_.push_back({std::wstring(Trimmed(key)), std::wstring(Trimmed(*value))});
    }
}

std::uint32_t ProfileTextToInteger(std::wstring_view text) {
    while (!text.empty() && text.front() <= L' ') {
        text.remove_prefix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    std::uint32_t base = 10;
    if (text.size() >= 2 && text[0] == L'0') {
        switch (text[1]) {
            case L'x':
                base = 16;
                break;
            case L'o':
                base = 8;
                break;
            case L'b':
                base = 2;
                break;
            default:
                break;
        }
        if (base != 10) {
            text.remove_prefix(2);
        }
    }
    std::uint32_t total = 0;
    for (const wchar_t c : text) {
        const int digit = DigitValue(c);
        if (digit < 0 || static_cast<std::uint32_t>(digit) >= base) {
            break;
        }
        total = total * base + static_cast<std::uint32_t>(digit);
    }
    return negative ? 0u - total : total;
}
