#include "libs/versync/updater/Package.h"

#include "libs/versync/transport/Crypto.h"
#include "libs/versync/transport/HttpGet.h"

#include <windows.h>

#include <vector>

namespace {

constexpr wchar_t kPackageName[] = L"\\setup.exe";
constexpr DWORD kReadChunk = 64 * 1024;
// A package may be large and the line slow; each read still has its own timeout.
constexpr DWORD kDownloadTotalMs = 30 * 60 * 1000;
constexpr int kDownloadReceiveMs = 30000;

std::wstring NewTemporaryFolder() {
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) {
        return {};
    }
    const std::wstring folder = std::wstring(temp) + L"VelmoraUpdate-" +
                                std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                std::to_wstring(::GetTickCount64());
    return ::CreateDirectoryW(folder.c_str(), nullptr) ? folder : std::wstring();
}

}  // namespace

Package::~Package() {
    held_.reset();
    if (!path_.empty()) {
        ::DeleteFileW(path_.c_str());
    }
    if (!folder_.empty()) {
        ::RemoveDirectoryW(folder_.c_str());
    }
}

bool Package::Download(const std::string& url, std::uint64_t size) {
    folder_ = NewTemporaryFolder();
    if (folder_.empty()) {
        return false;
    }
    path_ = folder_ + kPackageName;
    fw::FileHandle file(::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        path_.clear();
        return false;
    }
    HttpLimits limits;
    limits.receiveMs = kDownloadReceiveMs;
    limits.totalMs = kDownloadTotalMs;
    limits.maxBytes = size;
    const HttpResult result =
        HttpGet(url, limits, nullptr, [&file](const std::uint8_t* data, std::size_t count) {
            DWORD written = 0;
            return ::WriteFile(file.get(), data, static_cast<DWORD>(count), &written, nullptr) &&
                   written == count;
        });
    return result == HttpResult::Complete && ::FlushFileBuffers(file.get());
}

bool Package::Verify(std::uint64_t size, const std::string& sha256Hex) {
    // Readers (the loader) may open it; writers and deleters may not while it is held.
    held_.reset(::CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!held_) {
        return false;
    }
    Sha256Hasher hasher;
    std::vector<std::uint8_t> chunk(kReadChunk);
    std::uint64_t total = 0;
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(held_.get(), chunk.data(), kReadChunk, &read, nullptr)) {
            return false;
        }
        if (read == 0) {
            break;
        }
        total += read;
        if (total > size) {
            return false;
        }
        hasher.Add(chunk.data(), read);
    }
    Sha256Digest digest;
    return total == size && hasher.Finish(digest) && DigestHex(digest) == sha256Hex;
}
