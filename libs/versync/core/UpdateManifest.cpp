#include "libs/versync/core/UpdateManifest.h"

#include "libs/versync/core/ProductVersion.h"

#include <map>

namespace {

constexpr std::size_t kMaxAttributeLength = 2048;
constexpr std::size_t kSha256HexDigits = 64;
constexpr std::size_t kSizeDigitsMaximum = 10;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

void SkipBlanks(std::string_view text, std::size_t& at) {
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
}

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-';
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The attributes of the element whose name ends at `at`, up to "/>" or ">" (then "</update>").
// Empty on any syntax the format does not allow or on a repeated attribute.
std::optional<std::map<std::string, std::string>> ReadAttributes(std::string_view text,
                                                                 std::size_t& at) {
    std::map<std::string, std::string> attributes;
    for (;;) {
        const std::size_t before = at;
        SkipBlanks(text, at);
        if (at >= text.size()) {
            return std::nullopt;
        }
        if (text.substr(at, 2) == "/>") {
            at += 2;
            return attributes;
        }
        if (text[at] == '>') {
            at += 1;
            SkipBlanks(text, at);
            if (text.substr(at, 9) != "</update>") {
                return std::nullopt;
            }
            at += 9;
            return attributes;
        }
        if (at == before) {
            return std::nullopt;  // attributes are separated by blanks
        }
        const std::size_t nameStart = at;
        while (at < text.size() && IsNameChar(text[at])) {
            ++at;
        }
        std::string name(text.substr(nameStart, at - nameStart));
        SkipBlanks(text, at);
        if (name.empty() || at >= text.size() || text[at] != '=') {
            return std::nullopt;
        }
        ++at;
        SkipBlanks(text, at);
        if (at >= text.size() || (text[at] != '"' && text[at] != '\'')) {
            return std::nullopt;
        }
        const char quote = text[at++];
        const std::size_t end = text.find(quote, at);
        if (end == std::string_view::npos || end - at > kMaxAttributeLength) {
            return std::nullopt;
        }
        std::string value(text.substr(at, end - at));
        if (value.find_first_of("<&") != std::string::npos) {
            return std::nullopt;  // no entities: what is signed is what is used
        }
        at = end + 1;
        if (!attributes.emplace(std::move(name), std::move(value)).second) {
            return std::nullopt;
        }
    }
}

std::optional<std::uint64_t> ParseSize(const std::string& text) {
    if (text.empty() || text.size() > kSizeDigitsMaximum) {
        return std::nullopt;
    }
    std::uint64_t size = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        size = size * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (size == 0 || size > kMaxPackageSize) {
        return std::nullopt;
    }
    return size;
}

std::string Lowered(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

}  // namespace

bool IsAcceptablePackageUrl(std::string_view url) {
    std::size_t hostStart = 0;
    if (url.substr(0, 7) == "http://") {
        hostStart = 7;
    } else if (url.substr(0, 8) == "https://") {
        hostStart = 8;
    } else {
        return false;
    }
    if (url.size() <= hostStart || url[hostStart] == '/' || url.size() > kMaxAttributeLength) {
        return false;
    }
    for (char c : url) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u >= 0x7F || c == '"' || c == '<' || c == '>' || c == '\\') {
            return false;
        }
    }
    return true;
}

bool IsSha256Hex(std::string_view text) {
    if (text.size() != kSha256HexDigits) {
        return false;
    }
    for (char c : text) {
        if (!IsHexDigit(c)) {
            return false;
        }
    }
    return true;
}

std::optional<UpdateManifest> ParseUpdateManifest(std::string_view text) {
    std::size_t at = 0;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        at = 3;
    }
    SkipBlanks(text, at);
    if (text.substr(at, 5) == "<?xml") {
        const std::size_t end = text.find("?>", at);
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        at = end + 2;
        SkipBlanks(text, at);
    }
    if (text.substr(at, 7) != "<update" || at + 7 >= text.size() || !IsBlank(text[at + 7])) {
        return std::nullopt;
    }
    at += 7;
    auto attributes = ReadAttributes(text, at);
    SkipBlanks(text, at);
    if (!attributes || at != text.size()) {
        return std::nullopt;
    }
    auto& a = *attributes;
    UpdateManifest manifest;
    manifest.mark = a["mark"];
    manifest.version = a["version"];
    manifest.url = a["url"];
    const auto version = ParseProductVersion(manifest.version);
    const auto size = ParseSize(a["size"]);
    if (manifest.mark.empty() || !version || !size || !IsAcceptablePackageUrl(manifest.url) ||
        !IsSha256Hex(a["sha256"])) {
        return std::nullopt;
    }
    manifest.versionNumber = *version;
    manifest.size = *size;
    manifest.sha256 = Lowered(a["sha256"]);
    return manifest;
}
