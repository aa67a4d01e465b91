// A program that only records how it was started: its command line is appended, as UTF-8, to
// the file named by VELMORA_RECORDER_LOG, or else to "<its own path>.log". Stands in for the
// updater, the installer package and the restarted program. With VELMORA_RECORDER_SLEEP_MS it
// first records "started <process id>", then sleeps that long before it records its command line:
// a program to wait for.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

void Append(const wchar_t* path, const std::string& line) {
    HANDLE file = ::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    ::CloseHandle(file);
}

}  // namespace

int wmain() {
    wchar_t path[MAX_PATH + 8] = {};
    if (::GetEnvironmentVariableW(L"VELMORA_RECORDER_LOG", path, MAX_PATH) == 0) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) {
            return 1;
        }
        std::wcscat(path, L".log");
    }
    wchar_t sleep[16] = {};
    if (::GetEnvironmentVariableW(L"VELMORA_RECORDER_SLEEP_MS", sleep, 16) != 0) {
        Append(path, "started " + std::to_string(::GetCurrentProcessId()) + "\n");
        ::Sleep(static_cast<DWORD>(std::wcstoul(sleep, nullptr, 10)));
    }
    const wchar_t* commandLine = ::GetCommandLineW();
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, nullptr, 0, nullptr, nullptr);
    std::string line(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, line.data(), size, nullptr, nullptr);
    line.back() = '\n';
    Append(path, line);
    return 0;
}
