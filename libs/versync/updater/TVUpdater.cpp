// TVUpdater.exe: started by versync.dll with the package that a signed manifest announced. Waits
// for the program to end, downloads the package, checks its size and SHA-256, runs it as a
// silent installer (asking for elevation as Windows does for a per-machine install) and starts
// the program again. Any failure leaves the installed program as it was.
#include "framework/Handles.h"
#include "libs/versync/core/UpdaterArguments.h"
#include "libs/versync/updater/Package.h"

#include <windows.h>

#include <shellapi.h>

#include <vector>

namespace {

// Exit codes, for whoever started us and for tests.
enum UpdaterExit : int {
    kInstalled = 0,
    kBadArguments = 2,
    kAlreadyRunning = 3,
    kDownloadFailed = 4,
    kPackageRejected = 5,
    kInstallerFailed = 6,
};

constexpr wchar_t kSingleUpdaterMutex[] = L"VelmoraTVUpdater";
constexpr wchar_t kElevationVerb[] = L"runas";
constexpr wchar_t kSilentInstallSwitch[] = L"/S";

std::vector<std::wstring> CommandWords() {
    int count = 0;
    wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::wstring> result;
    for (int i = 1; words != nullptr && i < count; ++i) {
        result.emplace_back(words[i]);
    }
    ::LocalFree(words);
    return result;
}

void WaitForProgramToEnd(DWORD processId) {
    if (processId == 0) {
        return;
    }
    fw::KernelHandle program(::OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (program) {
        ::WaitForSingleObject(program.get(), INFINITE);
    }
}

// Runs the installer and waits for it; true when it reports success.
bool RunInstaller(const std::wstring& path) {
    SHELLEXECUTEINFOW run{};
    run.cbSize = sizeof(run);
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    run.lpVerb = kElevationVerb;
    run.lpFile = path.c_str();
    run.lpParameters = kSilentInstallSwitch;
    run.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExW(&run) || run.hProcess == nullptr) {
        return false;
    }
    fw::KernelHandle installer(run.hProcess);
    DWORD code = 1;
    return ::WaitForSingleObject(installer.get(), INFINITE) == WAIT_OBJECT_0 &&
           ::GetExitCodeProcess(installer.get(), &code) && code == 0;
}

void StartProgram(const std::wstring& path) {
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         nullptr, &startup, &process)) {
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
}

int Update(const UpdaterArguments& arguments) {
    WaitForProgramToEnd(arguments.waitProcessId);
    Package package;
    if (!package.Download(arguments.url, arguments.size)) {
        return kDownloadFailed;
    }
    if (!package.Verify(arguments.size, arguments.sha256)) {
        return kPackageRejected;
    }
    if (!RunInstaller(package.path())) {
        return kInstallerFailed;
    }
    StartProgram(arguments.restartPath);
    return kInstalled;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const auto arguments = ParseUpdaterArguments(CommandWords());
    if (!arguments) {
        return kBadArguments;
    }
    // One updater at a time: a second program start must not race the first update.
    fw::KernelHandle single(::CreateMutexW(nullptr, FALSE, kSingleUpdaterMutex));
    if (!single || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        return kAlreadyRunning;
    }
    return Update(*arguments);
}
