#include "libs/versync/core/VersyncSettings.h"

namespace {

constexpr int kMaxPort = 65535;

bool IsServerNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-';
}

// Percent-encoding of everything but unreserved characters.
std::string Escaped(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '~') {
            out.push_back(c);
        } else {
            out.push_back('%');
            out.push_back(kHex[u >> 4]);
            out.push_back(kHex[u & 0xF]);
        }
    }
    return out;
}

}  // namespace

bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("\\/:") == std::string::npos;
}

bool CanCheck(const VersyncSettings& s) {
    if (s.serverAddress.empty() || s.serverPort <= 0 || s.serverPort > kMaxPort) {
        return false;
    }
    for (char c : s.serverAddress) {
        if (!IsServerNameChar(c)) {
            return false;
        }
    }
    return !s.processRootPath.empty() && !s.processFileName.empty() && !s.updateRootPath.empty() &&
           IsPlainFileName(s.updaterFileName) && IsPlainFileName(s.configFileName) &&
           !s.softwareMark.empty() && s.unionIdSet;
}

std::string ManifestUrl(const VersyncSettings& s, const char* suffix) {
    return "http://" + s.serverAddress + ":" + std::to_string(s.serverPort) + "/update/" +
           Escaped(s.softwareMark) + "/manifest" + suffix + "?union=" + std::to_string(s.unionId) +
           "&machine=" + Escaped(s.machineId);
}
