// The update manifest: one element that names the product, the version on offer and the package.
//
//   <?xml version="1.0" encoding="UTF-8"?>
//   <update mark="tvcm" version="1.2.0.0" url="http://host:4040/packages/setup.exe"
//           size="1048576" sha256="<64 hexadecimal digits>"/>
//
// The parser is strict: one <update> element with these five attributes (others are ignored),
// no entities, comments or further elements. Anything it cannot read is rejected whole.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Packages above this size are refused before a byte is downloaded.
inline constexpr std::uint64_t kMaxPackageSize = 1ull << 31;

struct UpdateManifest {
    std::string mark;
    std::string version;
    std::uint64_t versionNumber = 0;  // the version as ParseProductVersion reads it
    std::string url;                  // http:// or https://, printable ASCII without blanks
    std::uint64_t size = 0;           // 1 .. kMaxPackageSize bytes
    std::string sha256;               // 64 lower-case hexadecimal digits
};

std::optional<UpdateManifest> ParseUpdateManifest(std::string_view text);

// True for an address the updater may download from and pass on a command line: http:// or
// https:// followed by a host, and no blank, quote, angle bracket or control character.
bool IsAcceptablePackageUrl(std::string_view url);

// True for 64 hexadecimal digits.
bool IsSha256Hex(std::string_view text);
