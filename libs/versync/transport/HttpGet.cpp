#include "libs/versync/transport/HttpGet.h"

#include "framework/Handles.h"

#include <winhttp.h>

#include <vector>

namespace {

using InternetHandle = fw::UniqueHandle<fw::NullHandleTraits<HINTERNET, &::WinHttpCloseHandle>>;

constexpr wchar_t kUserAgent[] = L"versync/1.0";
constexpr DWORD kChunkBytes = 16 * 1024;
constexpr DWORD kStatusOk = 200;

bool StopRequested(HANDLE stop) {
    return stop != nullptr && ::WaitForSingleObject(stop, 0) == WAIT_OBJECT_0;
}

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

}  // namespace

HttpResult HttpGet(const std::string& url, const HttpLimits& limits, HANDLE stop,
                   const HttpSink& sink) {
    UrlParts parts;
    if (!CrackUrl(url, parts)) {
        return HttpResult::Failed;
    }
    const ULONGLONG deadline = ::GetTickCount64() + limits.totalMs;
    InternetHandle session(::WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_NO_PROXY,
                                         WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session || !::WinHttpSetTimeouts(session.get(), limits.resolveMs, limits.connectMs,
                                          limits.sendMs, limits.receiveMs)) {
        return HttpResult::Failed;
    }
    InternetHandle connection(::WinHttpConnect(session.get(), parts.host.c_str(), parts.port, 0));
    if (!connection) {
        return HttpResult::Failed;
    }
    InternetHandle request(::WinHttpOpenRequest(
        connection.get(), L"GET", parts.pathAndQuery.c_str(), nullptr, WINHTTP_NO_REFERER,
        WINHTTP_DEFAULT_ACCEPT_TYPES, parts.secure ? WINHTTP_FLAG_SECURE : 0));
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
    if (StopRequested(stop)) {
        return HttpResult::Stopped;
    }
    if (!::WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                              WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !::WinHttpReceiveResponse(request.get(), nullptr)) {
        return StopRequested(stop) ? HttpResult::Stopped : HttpResult::Failed;
    }
    DWORD status = 0;
    if (!QueryNumber(request.get(), WINHTTP_QUERY_STATUS_CODE, status) || status != kStatusOk) {
        return HttpResult::Failed;
    }
    DWORD announced = 0;
    const bool hasLength = QueryNumber(request.get(), WINHTTP_QUERY_CONTENT_LENGTH, announced);
    if (hasLength && announced > limits.maxBytes) {
        return HttpResult::Failed;
    }
    std::vector<std::uint8_t> chunk(kChunkBytes);
    std::uint64_t received = 0;
    for (;;) {
        if (StopRequested(stop)) {
            return HttpResult::Stopped;
        }
        if (::GetTickCount64() > deadline) {
            return HttpResult::Failed;
        }
        DWORD read = 0;
        if (!::WinHttpReadData(request.get(), chunk.data(), kChunkBytes, &read)) {
            return StopRequested(stop) ? HttpResult::Stopped : HttpResult::Failed;
        }
        if (read == 0) {
            break;
        }
        received += read;
        if (received > limits.maxBytes || (hasLength && received > announced)) {
            return HttpResult::Failed;
        }
        if (!sink(chunk.data(), read)) {
            return HttpResult::Refused;
        }
    }
    if (hasLength && received != announced) {
        return HttpResult::Failed;  // the connection ended early
    }
    return HttpResult::Complete;
}
