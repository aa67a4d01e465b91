#include "libs/versync/transport/HttpGet.h"

#include "framework/Handles.h"

#include <winhttp.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

using InternetHandle = fw::UniqueHandle<fw::NullHandleTraits<HINTERNET, &::WinHttpCloseHandle>>;

constexpr wchar_t kUserAgent[] = L"versync/1.0";
constexpr DWORD kChunkBytes = 16 * 1024;
constexpr DWORD kStatusOk = 200;

struct UrlParts {
    std::wstring host;
    std::wstring pathAndQuery;
    INTERNET_PORT port = 0;
    bool secure = false;
};

bool CrackUrl(const std::string& url, UrlParts& parts) {
    const std::wstring wide(url.begin(), url.end());  // the callers pass ASCII only
    URL_COMPONENTS components{};
    components.dwStructSize = sizeof(components);
    components.dwHostNameLength = static_cast<DWORD>(-1);
    components.dwUrlPathLength = static_cast<DWORD>(-1);
    components.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!::WinHttpCrackUrl(wide.c_str(), static_cast<DWORD>(wide.size()), 0, &components) ||
        components.dwHostNameLength == 0 ||
        (components.nScheme != INTERNET_SCHEME_HTTP &&
         components.nScheme != INTERNET_SCHEME_HTTPS)) {
        return false;
    }
    parts.host.assign(components.lpszHostName, components.dwHostNameLength);
    parts.pathAndQuery.assign(components.lpszUrlPath, components.dwUrlPathLength);
    if (components.lpszExtraInfo != nullptr) {
        parts.pathAndQuery.append(components.lpszExtraInfo, components.dwExtraInfoLength);
    }
    if (parts.pathAndQuery.empty()) {
        parts.pathAndQuery = L"/";
    }
    parts.port = components.nPort;
    parts.secure = components.nScheme == INTERNET_SCHEME_HTTPS;
    return true;
}

bool QueryNumber(HINTERNET request, DWORD what, DWORD& value) {
    DWORD size = sizeof(value);
    return ::WinHttpQueryHeaders(request, what | WINHTTP_QUERY_FLAG_NUMBER,
                                 WINHTTP_HEADER_NAME_BY_INDEX, &value, &size,
                                 WINHTTP_NO_HEADER_INDEX) != FALSE;
}

// One exchange, shared by the caller and the thread that talks to the server. WinHTTP's own
// timeouts bound each wait for a piece, but a server that sends a byte now and then never
// trips them: so the calls run on a thread of their own, and the caller waits for that thread
// only until the deadline or a stop. The thread then runs on by itself until its call in
// progress returns, and hands nothing more to the sink.
struct Exchange {
    UrlParts parts;
    HttpLimits limits;
    fw::KernelHandle done;  // set when the thread has its result
    HttpResult result = HttpResult::Failed;

    // Guards sink; held while the sink runs, so that the caller leaves only between pieces.
    SRWLOCK lock = SRWLOCK_INIT;
    const HttpSink* sink = nullptr;  // null once the caller has left

    // Hands one piece to the sink. False once the caller has left or when the sink refused the
    // piece; ending then says which.
    bool Deliver(const std::uint8_t* data, std::size_t size, HttpResult& ending) {
        ::AcquireSRWLockExclusive(&lock);
        bool accepted = false;
        if (sink == nullptr) {
            ending = HttpResult::Stopped;
        } else {
            accepted = (*sink)(data, size);
            ending = HttpResult::Refused;
        }
        ::ReleaseSRWLockExclusive(&lock);
        return accepted;
    }

    bool Abandoned() {
        ::AcquireSRWLockShared(&lock);
        const bool left = sink == nullptr;
        ::ReleaseSRWLockShared(&lock);
        return left;
    }

    void Leave() {
        ::AcquireSRWLockExclusive(&lock);
        sink = nullptr;
        ::ReleaseSRWLockExclusive(&lock);
    }
};

// Reads the body a piece at a time, each piece as soon as some of it is there, so no read waits
// for more than the server has sent.
HttpResult ReadBody(Exchange& exchange, HINTERNET request) {
    DWORD announced = 0;
    const bool hasLength = QueryNumber(request, WINHTTP_QUERY_CONTENT_LENGTH, announced);
    if (hasLength && announced > exchange.limits.maxBytes) {
        return HttpResult::Failed;
    }
    std::vector<std::uint8_t> chunk(kChunkBytes);
    std::uint64_t received = 0;
    for (;;) {
        DWORD available = 0;
        if (exchange.Abandoned() || !::WinHttpQueryDataAvailable(request, &available)) {
            return HttpResult::Failed;
        }
        if (available == 0) {
            break;
        }
        DWORD read = 0;
        if (!::WinHttpReadData(request, chunk.data(), std::min(available, kChunkBytes), &read)) {
            return HttpResult::Failed;
        }
        if (read == 0) {
            break;
        }
        received += read;
        if (received > exchange.limits.maxBytes || (hasLength && received > announced)) {
            return HttpResult::Failed;
        }
        HttpResult ending = HttpResult::Failed;
        if (!exchange.Deliver(chunk.data(), read, ending)) {
            return ending;
        }
    }
    if (hasLength && received != announced) {
        return HttpResult::Failed;  // the connection ended early
    }
    return HttpResult::Complete;
}

HttpResult Converse(Exchange& exchange) {
    const HttpLimits& limits = exchange.limits;
    InternetHandle session(::WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_NO_PROXY,
                                         WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session || !::WinHttpSetTimeouts(session.get(), limits.resolveMs, limits.connectMs,
                                          limits.sendMs, limits.receiveMs)) {
        return HttpResult::Failed;
    }
    InternetHandle connection(
        ::WinHttpConnect(session.get(), exchange.parts.host.c_str(), exchange.parts.port, 0));
    if (!connection) {
        return HttpResult::Failed;
    }
    InternetHandle request(::WinHttpOpenRequest(
        connection.get(), L"GET", exchange.parts.pathAndQuery.c_str(), nullptr, WINHTTP_NO_REFERER,
        WINHTTP_DEFAULT_ACCEPT_TYPES, exchange.parts.secure ? WINHTTP_FLAG_SECURE : 0));
    if (!request) {
        return HttpResult::Failed;
    }
    // The wait for the answer's head has a timeout of its own, which not every implementation
    // takes from the receive timeout.
    DWORD responseTimeout = static_cast<DWORD>(limits.receiveMs);
    ::WinHttpSetOption(request.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseTimeout,
                       sizeof(responseTimeout));
    // No automatic logon and no redirect to somewhere else: the address asked is the address used.
    DWORD noRedirect = WINHTTP_DISABLE_REDIRECTS;
    ::WinHttpSetOption(request.get(), WINHTTP_OPTION_DISABLE_FEATURE, &noRedirect,
                       sizeof(noRedirect));
    if (!::WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                              WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !::WinHttpReceiveResponse(request.get(), nullptr)) {
        return HttpResult::Failed;
    }
    DWORD status = 0;
    if (!QueryNumber(request.get(), WINHTTP_QUERY_STATUS_CODE, status) || status != kStatusOk) {
        return HttpResult::Failed;
    }
    return ReadBody(exchange, request.get());
}

// What the exchange thread owns: its share of the exchange and a reference to the module that
// holds its code, so that the module stays loaded for as long as the thread runs.
struct ExchangeThread {
    std::shared_ptr<Exchange> exchange;
    HMODULE module = nullptr;
};

HMODULE RunExchange(ExchangeThread* raw) {
    std::unique_ptr<ExchangeThread> thread(raw);
    thread->exchange->result = Converse(*thread->exchange);
    ::SetEvent(thread->exchange->done.get());
    return thread->module;
}

DWORD WINAPI ExchangeThreadMain(void* parameter) {
    // Everything the thread owns is released inside RunExchange: FreeLibraryAndExitThread never
    // returns, so nothing may be left for a destructor here.
    ::FreeLibraryAndExitThread(RunExchange(static_cast<ExchangeThread*>(parameter)), 0);
}

bool StartExchangeThread(const std::shared_ptr<Exchange>& exchange) {
    auto thread = std::make_unique<ExchangeThread>();
    thread->exchange = exchange;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                              reinterpret_cast<const wchar_t*>(&ExchangeThreadMain),
                              &thread->module)) {
        return false;
    }
    HMODULE module = thread->module;
    fw::KernelHandle handle(
        ::CreateThread(nullptr, 0, &ExchangeThreadMain, thread.get(), 0, nullptr));
    if (!handle) {
        ::FreeLibrary(module);
        return false;
    }
    static_cast<void>(thread.release());  // the thread owns it now
    return true;
}

}  // namespace

HttpResult HttpGet(const std::string& url, const HttpLimits& limits, HANDLE stop,
                   const HttpSink& sink) {
    const ULONGLONG deadline = ::GetTickCount64() + limits.totalMs;
    auto exchange = std::make_shared<Exchange>();
    if (!CrackUrl(url, exchange->parts)) {
        return HttpResult::Failed;
    }
    exchange->limits = limits;
    exchange->sink = &sink;
    exchange->done.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!exchange->done) {
        return HttpResult::Failed;
    }
    if (stop != nullptr && ::WaitForSingleObject(stop, 0) == WAIT_OBJECT_0) {
        return HttpResult::Stopped;
    }
    if (!StartExchangeThread(exchange)) {
        return HttpResult::Failed;
    }
    const HANDLE waits[] = {exchange->done.get(), stop};
    const DWORD waitCount = stop != nullptr ? 2 : 1;
    const ULONGLONG now = ::GetTickCount64();
    const DWORD remaining = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
    const DWORD woken = ::WaitForMultipleObjects(waitCount, waits, FALSE, remaining);
    if (woken == WAIT_OBJECT_0) {
        return exchange->result;
    }
    // The deadline or the stop came first: the thread may go on waiting for the server, but it
    // hands the sink nothing more once this returns.
    exchange->Leave();
    return woken == WAIT_OBJECT_0 + 1 ? HttpResult::Stopped : HttpResult::Failed;
}
