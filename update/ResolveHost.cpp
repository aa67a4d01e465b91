#include "update/ResolveHost.h"

#include <winsock2.h>

#include <cstdio>

namespace {

constexpr int kIpv4Length = 4;

}  // namespace

bool ResolveHost(const char* host, std::string& address) {
    if (host == nullptr || host[0] == '\0') {
        return false;
    }
    const hostent* entry = ::gethostbyname(host);
    if (entry == nullptr || entry->h_addrtype != AF_INET || entry->h_length != kIpv4Length ||
        entry->h_addr_list == nullptr || entry->h_addr_list[0] == nullptr) {
        return false;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(entry->h_addr_list[0]);
    char text[128];
    std::snprintf(text, sizeof(text), "%d.%d.%d.%d", bytes[0], bytes[1], bytes[2], bytes[3]);
    address = text;
    return true;
}
