// Measures, in alternating runs, the time from process start to the first presented frame
// (a visible top-level window of the program's class) and the peak memory of two programs.
//
//   bench_firstframe RUNS CLASS_A EXE_A CLASS_B EXE_B
//
// Prints the medians, the ratio A/B and the peak working sets. A program that shows no window
// within 30 s counts as a failed run and is reported.
#include <windows.h>
#include <psapi.h>

#include "tools/bench-common/FirstFrame.h"
#include "tools/bench-common/Median.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

using bench::Median;

constexpr DWORD kSettleMs = 2500;

struct Sample {
    double milliseconds = 0;
    SIZE_T peakBytes = 0;
    bool ok = false;
};

Sample RunOnce(const wchar_t* className, const std::wstring& exe) {
    Sample sample;
    PROCESS_INFORMATION process{};
    const double started = bench::NowMs();
    if (!bench::StartProgram(exe, process)) {
        return sample;
    }
    HWND window = nullptr;
    while (bench::NowMs() - started < 30000) {
        window = bench::VisibleWindowOf(className, process.dwProcessId);
        if (window != nullptr || ::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            break;
        }
        ::Sleep(1);
    }
    sample.milliseconds = bench::NowMs() - started;
    sample.ok = window != nullptr;
    if (sample.ok) {
        ::Sleep(1000);  // let start-up settle before reading the peak
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof(counters);
        if (::GetProcessMemoryInfo(process.hProcess, &counters, sizeof(counters))) {
            sample.peakBytes = counters.PeakWorkingSetSize;
        }
    }
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, 10000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    // A program's tray icon leaves Wine's tray window behind, which takes seconds to go away
    // without a window manager: the next run starts only once the session is quiet again.
    ::Sleep(kSettleMs);
    return sample;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: bench_firstframe RUNS CLASS_A EXE_A CLASS_B EXE_B\n");
        return 2;
    }
    const int runs = std::max(1, _wtoi(argv[1]));
    std::vector<double> timesA, timesB;
    std::vector<SIZE_T> peaksA, peaksB;
    int failures = 0;
    for (int i = 0; i < runs; ++i) {
        // Every other pair runs B first. The place in a pair matters: a program against itself
        // measured 3 % slower as the first of each pair (21 pairs). Alternating cancels that.
        Sample a, b;
        if (i % 2 == 0) {
            a = RunOnce(argv[2], argv[3]);
            b = RunOnce(argv[4], argv[5]);
        } else {
            b = RunOnce(argv[4], argv[5]);
            a = RunOnce(argv[2], argv[3]);
        }
        if (!a.ok || !b.ok) {
            ++failures;
            continue;
        }
        timesA.push_back(a.milliseconds);
        timesB.push_back(b.milliseconds);
        peaksA.push_back(a.peakBytes);
        peaksB.push_back(b.peakBytes);
    }
    const double medianA = Median(timesA);
    const double medianB = Median(timesB);
    const double peakA = static_cast<double>(Median(peaksA)) / (1024.0 * 1024.0);
    const double peakB = static_cast<double>(Median(peaksB)) / (1024.0 * 1024.0);
    // Each run of A is compared with the run of B beside it: a machine that slows down or speeds
    // up between pairs moves both, so the pairs' ratios are steadier than the medians'.
    std::vector<double> ratios;
    for (size_t i = 0; i < timesA.size(); ++i) {
        if (timesB[i] > 0) {
            ratios.push_back(timesA[i] / timesB[i]);
        }
    }
    std::vector<double> sorted = ratios;
    std::sort(sorted.begin(), sorted.end());
    const auto quantile = [&sorted](double q) {
        return sorted.empty() ? 0.0 : sorted[static_cast<size_t>(q * (sorted.size() - 1))];
    };
    std::printf("runs: %zu (failed: %d)\n", timesA.size(), failures);
    std::printf("A %ls: median first frame %.1f ms, peak working set %.1f MB\n", argv[3], medianA,
                peakA);
    std::printf("B %ls: median first frame %.1f ms, peak working set %.1f MB\n", argv[5], medianB,
                peakB);
    std::printf("ratio A/B of the medians: %.3f; extra peak memory: %.1f MB (target <= 12)\n",
                medianB > 0 ? medianA / medianB : 0.0, peakA - peakB);
    std::printf("ratio A/B per pair: median %.3f (target <= 1.2), quartiles %.3f..%.3f\n",
                quantile(0.5), quantile(0.25), quantile(0.75));
    // How stable the figure is: the same median over each third of the runs.
    const size_t third = ratios.size() / 3;
    if (third > 0) {
        std::printf("  per third of the runs:");
        for (size_t part = 0; part < 3; ++part) {
            std::vector<double> slice(
                ratios.begin() + static_cast<std::ptrdiff_t>(part * third),
                ratios.begin() + static_cast<std::ptrdiff_t>((part + 1) * third));
            std::printf(" %.3f", Median(slice));
        }
        std::printf("\n");
    }
    return failures == runs ? 1 : 0;
}
