// One HTTP GET with WinHTTP: bounded in time and size whatever the server does, cancellable,
// never a proxy prompt.
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
    DWORD totalMs = 15000;  // the whole exchange, however the server paces it
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

// Gets url (http:// or https://) into sink, each piece as soon as it arrives. Returns by the
// deadline (limits.totalMs) at the latest, and at once when stop (may be null) is set; the sink
// is never called after the return. The talk with the server runs on a thread of its own that
// holds a reference to this module: one the deadline or a stop left behind ends when its call
// in progress returns (at a piece or at WinHTTP's own timeouts).
HttpResult HttpGet(const std::string& url, const HttpLimits& limits, HANDLE stop,
                   const HttpSink& sink);
