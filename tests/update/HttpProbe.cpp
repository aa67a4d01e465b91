// Runs one HttpGet, for the tests of its deadlines against a loopback server that drips:
//
//   httpget_probe.exe URL TOTAL_MS RECEIVE_MS MAX_BYTES STOP_AFTER_MS
//
// STOP_AFTER_MS > 0 sets the stop event that long after the start. Prints the result, the
// milliseconds until HttpGet returned and until the first piece reached the sink (or "none"),
// and the bytes received.
#include "libs/versync/transport/HttpGet.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

const char* ResultName(HttpResult result) {
    switch (result) {
        case HttpResult::Complete:
            return "complete";
        case HttpResult::Failed:
            return "failed";
        case HttpResult::Stopped:
            return "stopped";
        case HttpResult::Refused:
            return "refused";
    }
    return "?";
}

struct StopLater {
    HANDLE stop;
    DWORD afterMs;
};

DWORD WINAPI SetStopLater(void* parameter) {
    const auto* later = static_cast<StopLater*>(parameter);
    ::Sleep(later->afterMs);
    ::SetEvent(later->stop);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        return 2;
    }
    HttpLimits limits;
    limits.totalMs = std::strtoul(argv[2], nullptr, 10);
    limits.receiveMs = std::atoi(argv[3]);
    limits.maxBytes = std::strtoull(argv[4], nullptr, 10);
    StopLater later{::CreateEventW(nullptr, TRUE, FALSE, nullptr),
                    std::strtoul(argv[5], nullptr, 10)};
    if (later.afterMs > 0) {
        ::CloseHandle(::CreateThread(nullptr, 0, &SetStopLater, &later, 0, nullptr));
    }
    const ULONGLONG start = ::GetTickCount64();
    ULONGLONG first = 0;
    std::uint64_t bytes = 0;
    const HttpResult result =
        HttpGet(argv[1], limits, later.stop, [&](const std::uint8_t*, std::size_t size) {
            if (bytes == 0) {
                first = ::GetTickCount64() - start;
            }
            bytes += size;
            return true;
        });
    const ULONGLONG elapsed = ::GetTickCount64() - start;
    std::printf("result %s\nelapsed %llu\n", ResultName(result), elapsed);
    if (bytes > 0) {
        std::printf("first %llu\n", first);
    } else {
        std::printf("first none\n");
    }
    std::printf("bytes %llu\n", static_cast<unsigned long long>(bytes));
    std::fflush(stdout);
    // The exchange thread a deadline or a stop left behind must not hold the process up.
    ::ExitProcess(0);
}
