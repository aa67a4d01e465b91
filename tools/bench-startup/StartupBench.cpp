// Times Velmora's start-up: from process creation to its first presented frame (a visible window
// of class "TALVANE_DLG" owned by the new process), and, when a call log of the update library
// stand-in is given, to the moment the background update check reached the library.
//
//   bench_startup RUNS EXE [CALL_LOG]
//
// Each run ends the program before the next starts (one instance at a time). Prints the median,
// minimum and maximum of each series in milliseconds.
#include <windows.h>

#include "tools/bench-common/FirstFrame.h"
#include "tests/support/FileText.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kMainWindowClass[] = L"TALVANE_DLG";
constexpr double kGiveUpMs = 60000;

bool LogHasCheckStarted(const std::wstring& log) {
    return testkit::ReadFileText(log).find("UCAutoVersync") != std::string::npos;
}

struct Run {
    double firstFrameMs = -1;
    double checkStartedMs = -1;
};

Run RunOnce(const std::wstring& exe, const std::wstring& log) {
    Run run;
    if (!log.empty()) {
        ::DeleteFileW(log.c_str());
    }
    PROCESS_INFORMATION process{};
    const double started = bench::NowMs();
    if (!bench::StartProgram(exe, process)) {
        return run;
    }
    HWND window = nullptr;
    while (bench::NowMs() - started < kGiveUpMs) {
        const double now = bench::NowMs();
        if (window == nullptr &&
            (window = bench::VisibleWindowOf(kMainWindowClass, process.dwProcessId)) != nullptr) {
            run.firstFrameMs = now - started;
        }
        if (!log.empty() && run.checkStartedMs < 0 && LogHasCheckStarted(log)) {
            run.checkStartedMs = now - started;
        }
        const bool done = window != nullptr && (log.empty() || run.checkStartedMs >= 0);
        if (done || ::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            break;
        }
        ::Sleep(1);
    }
    if (window != nullptr) {
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (::WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.hProcess, 0);
        ::WaitForSingleObject(process.hProcess, 10000);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return run;
}

void Report(const char* name, std::vector<double> values, int runs) {
    values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return v < 0; }),
                 values.end());
    if (values.empty()) {
        std::printf("%-28s no result in %d runs\n", name, runs);
        return;
    }
    std::sort(values.begin(), values.end());
    std::printf("%-28s median %8.1f ms   min %8.1f   max %8.1f   (%zu of %d runs)\n", name,
                values[values.size() / 2], values.front(), values.back(), values.size(), runs);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_startup RUNS EXE [CALL_LOG]\n");
        return 2;
    }
    const int runs = std::max(1, static_cast<int>(std::wcstol(argv[1], nullptr, 10)));
    const std::wstring exe = argv[2];
    const std::wstring log = argc >= 4 ? argv[3] : L"";
    std::vector<double> firstFrame;
    std::vector<double> checkStarted;
    for (int i = 0; i < runs; ++i) {
        const Run run = RunOnce(exe, log);
        firstFrame.push_back(run.firstFrameMs);
        checkStarted.push_back(run.checkStartedMs);
    }
    Report("first presented frame", firstFrame, runs);
    if (!log.empty()) {
        Report("update check reached library", checkStarted, runs);
    }
    return 0;
}
