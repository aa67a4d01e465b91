// One section of a settings file as GetPrivateProfileSection hands it out ("name=value" entries,
// each ending in a NUL, the list ending in an empty entry), and the number GetPrivateProfileInt
// reads for a key of it. One call per section instead of one per key; the numbers are the same:
// blanks around names and values do not count (also when the section function left them), the
// first entry of a name counts (an entry without "=" reads as the default), a value in
// matching quotes loses them, at most 29 characters are read, and the text is converted as
// RtlUnicodeStringToInteger does with base 0 (leading blanks, a sign, a "0x", "0o" or "0b"
// prefix, digits up to the first other character, wrapping at 32 bits).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class ProfileSection {
  public:
    // The buffer as filled; reading stops at the empty entry or at the end of the text.
    explicit ProfileSection(std::wstring_view text);

    // The number for key (names compare without regard to ASCII case), or fallback when the
    // key is absent, has no "=" or an empty value.
    std::int32_t Int(std::wstring_view key, std::int32_t fallback) const;
    // The first entry's value as the file holds it, blanks around it removed; nothing when the
    // key is absent or has no "=".
    const std::wstring* Text(std::wstring_view key) const;

    bool empty() const { return entries_.empty(); }

    // What WritePrivateProfileString does to the section: the key's first entry takes the value
    // (a new entry at the end when there is none), or, for a null value, goes.
    void Write(std::wstring_view key, const std::wstring* value);

  private:
    struct Entry {
        std::wstring name;
        std::optional<std::wstring> value;
    };
    std::vector<Entry> entries_;
};

// The number RtlUnicodeStringToInteger gives for text with base 0.
std::uint32_t ProfileTextToInteger(std::wstring_view text);
