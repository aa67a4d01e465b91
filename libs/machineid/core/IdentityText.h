// The identity text derived from a machine's unique key: a fixed-length digest, so that the key
// itself never leaves the machine.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr std::size_t kIdentityLength = 15;

// kIdentityLength upper-case hexadecimal digits of a 64-bit FNV-1a digest of the key, ignoring
// ASCII letter case (the same GUID may be stored in either case). Empty for an empty key.
std::string IdentityText(std::wstring_view machineKey);
