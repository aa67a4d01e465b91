// Measures a core-clock hotkey inside the main window: WM_HOTKEY handled (slider step, settings
// write, clock write, read-back), against the driver's clock write alone, which is all the
// simulated adapter's share (it writes its state file and call log on every call).
//
//   bench_hotkey PRESSES
#include "app/WindowClass.h"
#include "framework/GdiplusSession.h"
#include "gpu/DriverBinding.h"
#include "mainwindow/TalvaneDlg.h"
#include "skin/SkinImages.h"
#include "tools/bench-common/FirstFrame.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

constexpr UINT kRunScript = WM_APP + 100;
constexpr int kCoreUpOne = 1008;
constexpr int kCoreDownOne = 1010;

struct Figures {
    double median = 0;
    double worst = 0;
};

Figures Summarise(std::vector<double> values) {
    Figures figures;
    if (!values.empty()) {
        std::sort(values.begin(), values.end());
        figures.median = values[values.size() / 2];
        figures.worst = values.back();
    }
    return figures;
}

class MeasuredWindow : public CTalvaneDlg {
  public:
    int presses = 200;
    Figures hotkey;
    Figures driverWrite;

  protected:
    BOOL OnInitDialog() override {
        BOOL result = CTalvaneDlg::OnInitDialog();
        ::PostMessageW(GetSafeHwnd(), kRunScript, 0, 0);
        return result;
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg != kRunScript) {
            return CTalvaneDlg::WindowProc(msg, wParam, lParam);
        }
        HWND hwnd = GetSafeHwnd();
        std::vector<double> handled;
        for (int i = 0; i < presses; ++i) {
            const double started = bench::NowMs();
            ::SendMessageW(hwnd, WM_HOTKEY, i % 2 == 0 ? kCoreUpOne : kCoreDownOne, 0);
            handled.push_back(bench::NowMs() - started);
        }
        hotkey = Summarise(handled);
        ADLODPerformanceLevels levels{};
        std::vector<double> writes;
        if (DriverBinding::GetPerformanceLevels(false, levels)) {
            const ADLODPerformanceLevel& level = levels.aLevels[0];
            for (int i = 0; i < presses; ++i) {
                const double started = bench::NowMs();
                (void)DriverBinding::SetPerformanceClocks(level.iEngineClock, level.iMemoryClock,
                                                          level.iVddc);
                writes.push_back(bench::NowMs() - started);
            }
        }
        driverWrite = Summarise(writes);
        EndDialog(IDOK);
        return 0;
    }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int presses = argc > 1 ? std::max(1, _wtoi(argv[1])) : 200;
    fw::GdiplusSession gdiplus;
    RegisterMainWindowClass(::GetModuleHandleW(nullptr));
    LoadSkinImages();
    MeasuredWindow window;
    window.presses = presses;
    window.DoModal();
    ReleaseSkinImages();
    std::printf("core-clock hotkey, %d presses: median %.2f ms, worst %.2f ms\n", presses,
                window.hotkey.median, window.hotkey.worst);
    std::printf("the simulated adapter's clock write alone: median %.2f ms, worst %.2f ms\n",
                window.driverWrite.median, window.driverWrite.worst);
    return 0;
}
