// Measures the ten-step core-clock hotkey inside the main window, with the overclocking page
// shown and with the window hidden: WM_HOTKEY handled (ten slider steps, settings write, clock
// write, read-back), split into the simulated adapter's share (it reads and writes its state file,
// and its call log unless `[Sim] Log=0`, on every call) and the program's, the presentations of
// the window per hotkey, and the driver's clock write alone, on whichever Overdrive generation the
// simulated card speaks (its state file names the scenario).
//
//   bench_hotkey PRESSES
#include "app/WindowClass.h"
#include "gpu/DriverBinding.h"
#include "settings/RunConfig.h"
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

// The ten-step hotkeys: up and down in turn, so the clock stays inside its range.
constexpr int kCoreUpTen = 1007;
constexpr int kCoreDownTen = 1009;

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

const char* GenerationName(OverdriveGeneration generation) {
    switch (generation) {
        case OverdriveGeneration::Atidl:
            return "ATIDL";
        case OverdriveGeneration::Od5:
            return "Overdrive 5";
        case OverdriveGeneration::Od6:
            return "Overdrive 6";
        case OverdriveGeneration::OdN:
            return "OverdriveN";
        case OverdriveGeneration::Od8:
            return "Overdrive 8";
        case OverdriveGeneration::None:
            break;
    }
    return "no Overdrive";
}

// One run of presses with the overclocking page shown or the window hidden.
struct Run {
    Figures hotkey;
    Figures program;
    Figures card;
    double presentationsPerPress = 0;
};

class MeasuredWindow : public testkit::ScriptedMainWindow {
  public:
    MeasuredWindow() { ending = Ending::EndDialogOk; }

    int presses = 200;
    Run shown;
    Run hidden;
    Figures driverWrite;
    Figures settingsWrite;
    const char* generation = "";

  protected:
    void RunScript() override {
        HWND hwnd = GetSafeHwnd();
        generation = GenerationName(DriverBinding::Generation());
        Navigate(skin::NavigationCode::OverclockPage);
        shown = Press(hwnd);
        ::ShowWindow(hwnd, SW_HIDE);
        hidden = Press(hwnd);
        std::vector<double> writes;
        if (const auto level = DriverBinding::GetPerformanceLevels(false)) {
            // What the card runs, written back; a voltage only where the generation has one.
            const OverdriveRequest request{
                level->engineMHz, level->memoryMHz,
                level->voltageKnown ? std::optional<int>(level->voltageMilliVolts) : std::nullopt};
            for (int i = 0; i < presses; ++i) {
                const double started = bench::NowMs();
                (void)DriverBinding::SetPerformanceClocks(request);
                writes.push_back(bench::NowMs() - started);
            }
        }
        driverWrite = Summarise(writes);
        std::vector<double> saves;
        for (int i = 0; i < presses; ++i) {
            const double started = bench::NowMs();
            SaveClockSettings();
            saves.push_back(bench::NowMs() - started);
        }
        settingsWrite = Summarise(saves);
    }

  private:
    Run Press(HWND hwnd) {
        std::vector<double> handled;
        std::vector<double> programAlone;
        std::vector<double> inCard;
        const std::uint64_t presentedBefore = presentations();
        for (int i = 0; i < presses; ++i) {
            const double cardBefore = bench::SimulatedCardMs();
            const double started = bench::NowMs();
            ::SendMessageW(hwnd, WM_HOTKEY, i % 2 == 0 ? kCoreUpTen : kCoreDownTen, 0);
            const double elapsed = bench::NowMs() - started;
            const double cardShare = bench::SimulatedCardMs() - cardBefore;
            handled.push_back(elapsed);
            inCard.push_back(cardShare);
            programAlone.push_back(elapsed - cardShare);
        }
        Run run;
        run.hotkey = Summarise(handled);
        run.program = Summarise(programAlone);
        run.card = Summarise(inCard);
        run.presentationsPerPress =
            static_cast<double>(presentations() - presentedBefore) / presses;
        return run;
    }
};

void Print(const char* name, const Run& run) {
    std::printf("%s: median %.2f ms, worst %.2f ms; %.2f presentations per hotkey\n", name,
                run.hotkey.median, run.hotkey.worst, run.presentationsPerPress);
    std::printf("  of which the simulated card: median %.2f ms, worst %.2f ms\n", run.card.median,
                run.card.worst);
    std::printf("  the program alone: median %.2f ms, worst %.2f ms\n", run.program.median,
                run.program.worst);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int presses = argc > 1 ? std::max(1, _wtoi(argv[1])) : 200;
    testkit::SkinSession skin;
    RegisterMainWindowClass(::GetModuleHandleW(nullptr));
    MeasuredWindow window;
    window.presses = presses;
    window.DoModal();
    std::printf("%s: ten-step core-clock hotkey, %d presses each\n", window.generation, presses);
    Print("overclocking page shown", window.shown);
    Print("window hidden", window.hidden);
    std::printf("the simulated adapter's clock write alone: median %.2f ms, worst %.2f ms\n",
                window.driverWrite.median, window.driverWrite.worst);
    std::printf("the \"Clock_Set\" section written alone: median %.2f ms, worst %.2f ms\n",
                window.settingsWrite.median, window.settingsWrite.worst);
    return 0;
}
