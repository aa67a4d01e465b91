// Measures, in-process, the cost of one slider step (draw + presentation request + presentation
// of the whole surface with UpdateLayeredWindow) against one bare presentation of the surface.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "framework/GdiplusSession.h"
#include "framework/Wnd.h"
#include "skin/AppMessages.h"
#include "skin/HorizSlid.h"
#include "skin/SkinPaint.h"
#include "skin/SkinSurface.h"
#include "tools/bench-common/Median.h"

namespace {

using bench::Median;

constexpr int kRepetitions = 2000;
constexpr wchar_t kWindowClass[] = L"VelmoraToolkitBench";

// A stand-in for the main window: presents the surface whenever asked to.
class BenchWindow : public fw::CWnd {
  public:
    SkinSurface surface;

  protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_APP_REFRESH_LAYER) {
            surface.PresentLayered(GetSafeHwnd());
            return 1;
        }
        if (msg == WM_APP_SLIDER_CHANGED) {
            return 0;
        }
        return fw::CWnd::WindowProc(msg, wParam, lParam);
    }
};

std::unique_ptr<Gdiplus::Bitmap> Solid(int width, int height, Gdiplus::ARGB colour) {
    auto image = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    Gdiplus::Graphics graphics(image.get());
    Gdiplus::SolidBrush brush{Gdiplus::Color{colour}};
    graphics.FillRectangle(&brush, 0, 0, width, height);
    return image;
}

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency;
}

template <typename Action>
double MedianMicroseconds(Action action) {
    std::vector<double> samples;
    samples.reserve(kRepetitions);
    for (int i = 0; i < kRepetitions; ++i) {
        const double start = Now();
        action(i);
        samples.push_back((Now() - start) * 1e6);
    }
    return Median(std::move(samples));
}

}  // namespace

int main() {
    fw::GdiplusSession gdiplus;
    fw::CWnd::RegisterWindowClass(kWindowClass, 0, nullptr);
    BenchWindow window;
    if (!window.CreateEx(WS_EX_LAYERED, kWindowClass, L"toolkit bench", WS_POPUP | WS_VISIBLE,
                         RECT{20, 20, 20 + SkinSurface::kWidth, 20 + SkinSurface::kHeight},
                         nullptr) ||
        !window.surface.Create(window.GetSafeHwnd())) {
        std::fprintf(stderr, "bench-toolkit: cannot create the window or its surface\n");
        return 1;
    }
    // A picture everywhere, as in the running program.
    window.surface.Fill({0, 0, SkinSurface::kWidth, SkinSurface::kHeight}, 0xFF303840);

    const auto minus = Solid(18, 10, 0xFF808080), plus = Solid(18, 17, 0xFF808080);
    const auto empty = Solid(182, 23, 0xFF404040), filled = Solid(182, 23, 0xFF20A0E0);
    const auto box = Solid(30, 15, 0xFF101010), digits = Solid(72, 15, 0xFFFFFFFF);
    CHorizSlid slider;
    HWND control = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 420, 120, 244, 23,
                                     window.GetSafeHwnd(), nullptr, nullptr, nullptr);
    if (control == nullptr || !slider.SubclassWindow(control)) {
        std::fprintf(stderr, "bench-toolkit: cannot create the slider\n");
        return 1;
    }
    slider.minusImage = slider.minusHotImage = minus.get();
    slider.plusImage = slider.plusHotImage = plus.get();
    slider.trackEmptyImage = empty.get();
    slider.trackFilledImage = filled.get();
    slider.boxImage = box.get();
    slider.digitsImage = digits.get();
    slider.AttachSurface(&window.surface);
    slider.SetRange(kRepetitions, 0, 1);
    slider.SetPos(0);

    // Warm-up: first presentations and first GDI+ draws pay one-off costs.
    for (int i = 0; i < 50; ++i) {
        window.surface.PresentLayered(window.GetSafeHwnd());
        slider.StepUp();
    }
    slider.SetPos(0);

    // Interleaved, so that both series see the same load on a shared machine.
    std::vector<double> presentSamples;
    std::vector<double> stepSamples;
    for (int i = 0; i < kRepetitions; ++i) {
        double start = Now();
        window.surface.PresentLayered(window.GetSafeHwnd());
        presentSamples.push_back((Now() - start) * 1e6);
        start = Now();
        slider.StepUp();
        stepSamples.push_back((Now() - start) * 1e6);
    }
    const double present = Median(std::move(presentSamples));
    const double step = Median(std::move(stepSamples));
    const double draw = MedianMicroseconds([&](int) { slider.Draw(); });

    std::printf("repetitions: %d\n", kRepetitions);
    std::printf("median bare presentation (800x328 UpdateLayeredWindow): %.1f us\n", present);
    std::printf("median slider StepUp (draw + refresh + presentation): %.1f us\n", step);
    std::printf("  of which the slider's drawing alone: %.1f us\n", draw);
    std::printf("ratio step / presentation: %.2f (target <= 1.50)\n", step / present);
    return 0;
}
