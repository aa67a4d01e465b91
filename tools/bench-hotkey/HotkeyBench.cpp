// Measures a core-clock hotkey inside the main window: WM_HOTKEY handled (slider step, settings
// write, clock write, read-back), split into the simulated adapter's share (it reads and writes
// its state file, and its call log unless `[Sim] Log=0`, on every call) and the program's, and
// against the driver's clock write alone.
//
//   bench_hotkey PRESSES
#include "app/WindowClass.h"
#include "gpu/DriverBinding.h"
#include "tests/support/ScriptedMainWindow.h"
#include "tests/support/SkinSession.h"
#include "tools/bench-common/FirstFrame.h"
#include "tools/bench-common/SimulatedCard.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

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

class MeasuredWindow : public testkit::ScriptedMainWindow {
  public:
    MeasuredWindow() { ending = Ending::EndDialogOk; }

    int presses = 200;
    Figures hotkey;
    Figures program;
    Figures card;
    Figures driverWrite;

  protected:
    void RunScript() override {
        HWND hwnd = GetSafeHwnd();
        std::vector<double> handled;
        std::vector<double> programAlone;
        std::vector<double> inCard;
        for (int i = 0; i < presses; ++i) {
            const double cardBefore = bench::SimulatedCardMs();
            const double started = bench::NowMs();
            ::SendMessageW(hwnd, WM_HOTKEY, i % 2 == 0 ? kCoreUpOne : kCoreDownOne, 0);
            const double elapsed = bench::NowMs() - started;
            const double cardShare = bench::SimulatedCardMs() - cardBefore;
            handled.push_back(elapsed);
            inCard.push_back(cardShare);
            programAlone.push_back(elapsed - cardShare);
        }
        hotkey = Summarise(handled);
        program = Summarise(programAlone);
        card = Summarise(inCard);
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
    }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int presses = argc > 1 ? std::max(1, _wtoi(argv[1])) : 200;
    testkit::SkinSession skin;
    RegisterMainWindowClass(::GetModuleHandleW(nullptr));
    MeasuredWindow window;
    window.presses = presses;
    window.DoModal();
    std::printf("core-clock hotkey, %d presses: median %.2f ms, worst %.2f ms\n", presses,
                window.hotkey.median, window.hotkey.worst);
    std::printf("  of which the simulated card: median %.2f ms, worst %.2f ms\n",
                window.card.median, window.card.worst);
    std::printf("  the program alone: median %.2f ms, worst %.2f ms\n", window.program.median,
                window.program.worst);
    std::printf("the simulated adapter's clock write alone: median %.2f ms, worst %.2f ms\n",
                window.driverWrite.median, window.driverWrite.worst);
    return 0;
}
