// Measures what opening each page the first time costs (the navigation to its presented
// frame, pictures decoded on the way) against one bare presentation of the whole surface; the
// simulated card's share (its state file I/O on every driver call) is shown and taken out.
//
//   bench_pages RUNS
//
// Each run starts from a freshly filled image registry, so every page is a first visit again.
#include "app/WindowClass.h"
#include "framework/GdiplusSession.h"
#include "skin/AppMessages.h"
#include "skin/SkinImages.h"
#include "tests/support/ScriptedMainWindow.h"
#include "tools/bench-common/FirstFrame.h"
#include "tools/bench-common/Median.h"
#include "tools/bench-common/SimulatedCard.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

using bench::Median;

constexpr int kPresentations = 20;
constexpr double kPrefetchWaitMs = 5000;

struct Page {
    int code;
    const char* name;
};
// In the order a user meets them on the cross and the bar.
constexpr std::array<Page, 6> kPages = {{{3, "overclocking"},
                                         {1, "shortcuts"},
                                         {2, "hardware"},
                                         {4, "3D"},
                                         {8, "display modes"},
                                         {9, "display quality"}}};

// The main window, measured from inside its own modal loop.
class MeasuredWindow : public testkit::ScriptedMainWindow {
  public:
    MeasuredWindow() { ending = Ending::EndDialogOk; }

    std::array<double, kPages.size()> pageMs{};
    std::array<double, kPages.size()> cardMs{};
    double presentMs = 0;
    double prefetchMs = 0;

  protected:
    void RunScript() override {
        HWND hwnd = GetSafeHwnd();
        // A user's first click comes once the start screen is up: by then the pages' pictures
        // are decoded in the background. Wait for that (at most five seconds) and say how long.
        const double waitStarted = bench::NowMs();
        while (!SkinPrefetchIdle() && bench::NowMs() - waitStarted < kPrefetchWaitMs) {
            ::Sleep(1);
        }
        prefetchMs = bench::NowMs() - waitStarted;
        for (size_t i = 0; i < kPages.size(); ++i) {
            const double cardBefore = bench::SimulatedCardMs();
            const double started = bench::NowMs();
            ::SendMessageW(hwnd, WM_APP_NAVIGATE, static_cast<WPARAM>(kPages[i].code), 0);
            pageMs[i] = bench::NowMs() - started;
            cardMs[i] = bench::SimulatedCardMs() - cardBefore;
        }
        std::vector<double> presents;
        for (int i = 0; i < kPresentations; ++i) {
            const double started = bench::NowMs();
            PushLayer();
            presents.push_back(bench::NowMs() - started);
        }
        presentMs = Median(presents);
    }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 15;
    fw::GdiplusSession gdiplus;
    RegisterMainWindowClass(::GetModuleHandleW(nullptr));
    std::array<std::vector<double>, kPages.size()> pages;
    std::array<std::vector<double>, kPages.size()> cards;
    std::vector<double> presents;
    std::vector<double> prefetches;
    for (int run = 0; run < runs; ++run) {
        LoadSkinImages();
        {
            MeasuredWindow window;
            if (window.DoModal() != IDOK) {
                std::fprintf(stderr, "run %d: the main window did not run\n", run);
                return 1;
            }
            for (size_t i = 0; i < kPages.size(); ++i) {
                pages[i].push_back(window.pageMs[i]);
                cards[i].push_back(window.cardMs[i]);
            }
            presents.push_back(window.presentMs);
            prefetches.push_back(window.prefetchMs);
        }
        // The decoded pictures stay allocated (the registry makes no GDI+ call at release):
        // the next run decodes its own.
        ReleaseSkinImages();
    }
    const double present = Median(presents);
    std::printf("runs: %d; bare full-surface presentation: median %.2f ms\n", runs, present);
    std::printf(
        "pages' pictures decoded in the background before the first click: median %.0f ms\n",
        Median(prefetches));
    double worst = 0;
    for (size_t i = 0; i < kPages.size(); ++i) {
        const double page = Median(pages[i]);
        const double card = Median(cards[i]);
        const double program = page - card;
        worst = std::max(worst, program);
        std::printf(
            "first visit, %-16s median %7.2f ms (simulated card %.2f ms): program %5.1f "
            "presentations\n",
            kPages[i].name, page, card, present > 0 ? program / present : 0.0);
    }
    std::printf("worst first visit of the program: %.1f presentations (target <= 5)\n",
                present > 0 ? worst / present : 0.0);
    return 0;
}
