// Measures one gamma slider step as a user makes it on the display-quality page of the real main
// window (a press and release on the plus or minus button: the slider drawn, the surface
// presented, brightness and contrast sent to the driver, the ramp computed and written) against
// one bare presentation of the whole surface, interleaved in the same run; also the presentation
// of the slider's area alone, which is what a step presents.
//
//   bench_gamma [STEPS]
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "app/WindowClass.h"
#include "display/GammaRamp.h"
#include "gpu/DriverBinding.h"
#include "res/resource.h"
#include "settings/RunConfig.h"
#include "skin/AppMessages.h"
#include "skin/SkinSurface.h"
#include "skin/SkinWindow.h"
#include "skin/core/NavigationCode.h"
#include "tests/support/Mouse.h"
#include "tests/support/ScriptedMainWindow.h"
#include "tests/support/SkinSession.h"
#include "tools/bench-common/FirstFrame.h"
#include "tools/bench-common/Median.h"

namespace {

using bench::Median;

// The compact slider's step buttons (client coordinates of the slider).
constexpr POINT kPlusButton{150, 10};
constexpr POINT kMinusButton{8, 10};

class MeasuredWindow : public testkit::ScriptedMainWindow {
  public:
    explicit MeasuredWindow(int steps) : steps_(steps) { ending = Ending::EndDialogOk; }

    std::vector<double> stepMs;
    std::vector<double> presentMs;
    std::vector<double> sliderPresentMs;
    std::vector<double> rampMs;
    bool found = false;
    bool driverBound = false;
    double presentationsPerStep = 0;

  protected:
    void RunScript() override {
        HWND hwnd = GetSafeHwnd();
        ::SendMessageW(hwnd, WM_APP_NAVIGATE,
                       static_cast<WPARAM>(skin::NavigationCode::QualityPage), 0);
        HWND page = currentPage() != nullptr ? currentPage()->GetSafeHwnd() : nullptr;
        HWND slider = page != nullptr ? ::GetDlgItem(page, IDC_GAMMA_SLIDER) : nullptr;
        found = slider != nullptr;
        if (found) {
            Measure(slider);
        }
    }

  private:
    void Measure(HWND slider) {
        driverBound = DriverBinding::Entries().ADL_Display_Color_Set != nullptr;
        // Warm-up, then from the bottom of the range: five steps up and five down, over and
        // over, so every exponent written lies between 1.0 and 1.5 (ramps Wine accepts).
        for (int i = 0; i < 20; ++i) {
            testkit::ClickAt(slider, kMinusButton);
            PushLayer();
        }
        std::uint64_t stepPresentations = 0;
        const RECT sliderArea = skin::RectInClient(slider, GetSafeHwnd());
        for (int i = 0; i < steps_; ++i) {
            double started = bench::NowMs();
            PushLayer();
            presentMs.push_back(bench::NowMs() - started);
            // The slider's area alone marked as changed, as a step's drawing marks it.
            surface.DrawingDc(sliderArea);
            started = bench::NowMs();
            PushLayer();
            sliderPresentMs.push_back(bench::NowMs() - started);
            const std::uint64_t before = presentations();
            started = bench::NowMs();
            testkit::ClickAt(slider, (i / 5) % 2 == 0 ? kPlusButton : kMinusButton);
            stepMs.push_back(bench::NowMs() - started);
            stepPresentations += presentations() - before;
            started = bench::NowMs();
            SetGammaRamp(1.0 + 0.1 * (i % 5));
            rampMs.push_back(bench::NowMs() - started);
        }
        presentationsPerStep = static_cast<double>(stepPresentations) / steps_;
    }

    int steps_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int steps = argc > 1 ? std::max(1, _wtoi(argv[1])) : 200;
    testkit::SkinSession skin;
    RegisterMainWindowClass(::GetModuleHandleW(nullptr));
    // The installed presets' reference: the page starts at the bottom of its range.
    g_runSettings = RunSettings{};
    MeasuredWindow window(steps);
    if (window.DoModal() != IDOK || !window.found) {
        std::fprintf(stderr, "bench-gamma: the quality page's gamma slider was not reached\n");
        return 1;
    }
    const double present = Median(window.presentMs);
    const double step = Median(window.stepMs);
    const double ramp = Median(window.rampMs);
    std::printf("steps: %d; driver: %s\n", steps,
                window.driverBound ? "simulated adapter bound" : "none");
    std::printf("median bare full-surface presentation: %.3f ms\n", present);
    std::printf("median gamma step (press and release on a step button): %.3f ms\n", step);
    std::printf("  of which, measured alone, one ramp computed and written: %.3f ms\n", ramp);
    std::printf("  and the presentation of the slider's area alone: %.3f ms\n",
                Median(window.sliderPresentMs));
    std::printf("presentations per step: %.2f\n", window.presentationsPerStep);
    std::printf("ratio step / presentation: %.2f (target <= 1.25)\n",
                present > 0 ? step / present : 0.0);
    return 0;
}
