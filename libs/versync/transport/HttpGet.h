// One HTTP GET with WinHTTP: bounded in time and size, cancellable, never a proxy prompt.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

struct HttpLimits {
    int resolveMs = 2000;
    int connectMs = 3000;
    int sendMs = 3000;
    int receiveMs = 5000;   // the longest wait for any one piece of the answer
    DWORD totalMs = 15000;  // the whole exchange
    std::uint64_t maxBytes = 0;
};

enum class HttpResult {
    Complete,  // status 200 and exactly the announced length (or the whole body when none)
    Failed,    // no connection, an error status, a timeout, a short or overlong body
    Stopped,   // the stop event was set
    Refused,   // the sink refused a chunk
};

// Receives the body piece by piece; false ends the transfer.
using HttpSink = std::function<bool(const std::uint8_t* data, std::size_t size)>;

// Gets url (http:// or https://) into sink. stop may be null; it is looked at between pieces.
HttpResult HttpGet(const std::string& url, const HttpLimits& limits, HANDLE stop,
                   const HttpSink& sink);
