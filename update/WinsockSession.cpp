#include "update/WinsockSession.h"

#include <winsock2.h>

namespace {

constexpr WORD kWinsockVersion = MAKEWORD(2, 2);

}  // namespace

bool StartWinsock() {
    WSADATA data;
    return ::WSAStartup(kWinsockVersion, &data) == 0;
}

void StopWinsock() {
    ::WSACleanup();
}
