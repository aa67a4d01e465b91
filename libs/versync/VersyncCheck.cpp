#include "libs/versync/VersyncCheck.h"

#include "framework/Handles.h"
#include "libs/versync/AtomicFile.h"
#include "libs/versync/UpdatePublicKey.h"
#include "libs/versync/core/ProductVersion.h"
#include "libs/versync/core/UpdateManifest.h"
#include "libs/versync/core/UpdaterArguments.h"
#include "libs/versync/transport/AnsiText.h"
#include "libs/versync/transport/Crypto.h"
#include "libs/versync/transport/HttpGet.h"

#include <cstring>
#include <optional>
#include <tuple>
#include <vector>

namespace {

constexpr std::uint64_t kMaxManifestBytes = std::uint64_t{64} * 1024;
// More than a signature holds, so that an overlong one is seen and refused.
constexpr std::uint64_t kMaxSignatureBytes = 1024;
constexpr DWORD kFixedFileInfoSignature = 0xFEEF04BD;

HttpResult Fetch(const std::string& url, std::uint64_t maxBytes, HANDLE stop, std::string& body) {
    HttpLimits limits;
    limits.maxBytes = maxBytes;
    return HttpGet(url, limits, stop, [&body](const std::uint8_t* data, std::size_t size) {
        body.append(reinterpret_cast<const char*>(data), size);
        return true;
    });
}

// The file version of the running program's version resource.
std::optional<std::uint64_t> RunningProgramVersion() {
    const std::wstring path = RunningProgramPath();
    DWORD ignored = 0;
    const DWORD size = path.empty() ? 0 : ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> block(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, block.data()) ||
        !::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) ||
        info == nullptr || infoSize < sizeof(VS_FIXEDFILEINFO) ||
        info->dwSignature != kFixedFileInfoSignature) {
        return std::nullopt;
    }
    return ProductVersionFromResource(info->dwFileVersionMS, info->dwFileVersionLS);
}

bool StartUpdater(const VersyncSettings& settings, const UpdateManifest& manifest) {
    const std::wstring folder = WideFromAnsi(settings.updateRootPath);
    const std::wstring updater = WideFromAnsi(settings.updaterFileName);
    UpdaterArguments arguments;
    arguments.waitProcessId = ::GetCurrentProcessId();
    arguments.url = manifest.url;
    arguments.size = manifest.size;
    arguments.sha256 = manifest.sha256;
    arguments.restartPath = RunningProgramPath();
    if (folder.empty() || updater.empty() || arguments.restartPath.empty()) {
        return false;
    }
    const std::wstring program = folder + L"\\" + updater;
    std::wstring commandLine = L"\"" + program + L"\" " + FormatUpdaterArguments(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &process)) {
        return false;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

}  // namespace

CheckOutcome RunVersyncCheck(const VersyncSettings& settings, CheckStop& stop) {
    if (!CanCheck(settings)) {
        return CheckOutcome::NotConfigured;
    }
    const P256PublicKey* key = UpdatePublicKey();
    if (key == nullptr) {
        return CheckOutcome::NoKey;
    }
    std::string text;
    std::string signature;
    for (auto [suffix, limit, body] : {std::tuple{"", kMaxManifestBytes, &text},
                                       std::tuple{".sig", kMaxSignatureBytes, &signature}}) {
        const HttpResult result = Fetch(ManifestUrl(settings, suffix), limit, stop.event(), *body);
        if (result == HttpResult::Stopped) {
            return CheckOutcome::Stopped;
        }
        if (result != HttpResult::Complete) {
            return CheckOutcome::FetchFailed;
        }
    }
    P256Signature rs{};
    if (signature.size() != rs.size()) {
        return CheckOutcome::Rejected;
    }
    std::memcpy(rs.data(), signature.data(), rs.size());
    if (!VerifyP256Signature(*key, reinterpret_cast<const std::uint8_t*>(text.data()), text.size(),
                             rs)) {
        return CheckOutcome::Rejected;
    }
    const std::optional<UpdateManifest> manifest = ParseUpdateManifest(text);
    if (!manifest || manifest->mark != settings.softwareMark) {
        return CheckOutcome::Rejected;
    }
    const std::optional<std::uint64_t> running = RunningProgramVersion();
    if (!running || manifest->versionNumber <= *running) {
        return CheckOutcome::UpToDate;
    }
    bool started = false;
    const bool ran = stop.RunUnlessRequested([&] {
        // The updater gets everything it needs on its command line; the file is for whoever
        // asks later what was offered, so failing to write it does not hold the update back.
        WriteFileAtomically(
            WideFromAnsi(settings.updateRootPath) + L"\\" + WideFromAnsi(settings.configFileName),
            text);
        started = StartUpdater(settings, *manifest);
    });
    if (!ran) {
        return CheckOutcome::Stopped;
    }
    return started ? CheckOutcome::UpdaterStarted : CheckOutcome::UpdaterFailed;
}
