// The display-quality page's gamma slider held down on one arrow and then the other, on a gamma
// scale from the driver that reaches past the safe band at both ends: every auto-repeat step
// asks for one ramp; the writer puts exactly one on the screen for each step inside the band and
// none for a step the band refuses; each ramp written is the curve of its step's exponent; and the
// process's GDI and USER objects and memory do not grow over the hold.
//
// VELMORA_ROBUSTNESS=full holds for a minute; the default for ten seconds.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "display/GammaRamp.h"
#include "display/ShowQualityDlg.h"
#include "display/core/GammaRampCurve.h"
#include "tests/display/PageHost.h"
#include "tools/guiprobe/GuiObjectCount.h"
#include "tools/guiprobe/UnixMemory.h"

namespace {

constexpr DWORD kQuickHoldMs = 10000;
constexpr DWORD kFullHoldMs = 60000;
constexpr DWORD kWarmUpMs = 1000;
// The compact track's step buttons, in slider pixels.
constexpr POINT kMinusPoint{9, 10};
constexpr POINT kPlusPoint{150, 10};
// Driver gamma setting: reference 9, minimum -15, maximum 30, step 1. The slider runs from -14
// to 31 around reference 10; the band's exponents 2.0 .. 0.1 are slider values 0 .. 19.
constexpr char kWideGammaSetting[] = "9,-15,30,1";
constexpr int kObjectTolerance = 2;
constexpr long long kMemoryToleranceKb = 1024;
// Wine keeps one exponent per channel and has the X server rebuild the ramp from it: the entries
// read back follow the written curve within this much.
constexpr int kScreenRampTolerance = 656;

using DeviceRamp = std::array<WORD, 3 * display::kGammaRampEntries>;

// What the writer and the screen calls behind it saw.
struct RampCounts {
    int requests = 0;
    int inBand = 0;
    int refused = 0;
    int written = 0;
    int writtenOutOfBand = 0;
    int writtenWrong = 0;
    int screenDcs = 0;
    int screenDcsReleased = 0;
    // Wine's own check refuses ramps that brighten the dark end (exponents below 1).
    int acceptedByScreen = 0;
    double lastAccepted = 1.0;
};
RampCounts g_counts;
double g_requested = 0.0;

HDC WINAPI CountingGetDc(HWND hwnd) {
    ++g_counts.screenDcs;
    return ::GetDC(hwnd);
}

int WINAPI CountingReleaseDc(HWND hwnd, HDC dc) {
    ++g_counts.screenDcsReleased;
    return ::ReleaseDC(hwnd, dc);
}

BOOL WINAPI CountingSetRamp(HDC dc, LPVOID ramp) {
    ++g_counts.written;
    if (!display::IsSafeGammaExponent(g_requested)) {
        ++g_counts.writtenOutOfBand;
    }
    const display::GammaCurve curve = display::GammaRampCurve(g_requested);
    const WORD* words = static_cast<const WORD*>(ramp);
    for (size_t i = 0; i < 3 * curve.size(); ++i) {
        if (words[i] != curve[i % curve.size()]) {
            ++g_counts.writtenWrong;
            break;
        }
    }
    const BOOL accepted = ::SetDeviceGammaRamp(dc, ramp);
    if (accepted) {
        ++g_counts.acceptedByScreen;
        g_counts.lastAccepted = g_requested;
    }
    return accepted;
}

const ScreenGammaApi kCountingApi{&CountingGetDc, &CountingReleaseDc, &::GetDeviceGammaRamp,
                                  &CountingSetRamp};

// The page's writer: the program's own, over the counting screen calls.
bool CountingRampWriter(double gamma) {
    ++g_counts.requests;
    if (display::IsSafeGammaExponent(gamma)) {
        ++g_counts.inBand;
    } else {
        ++g_counts.refused;
    }
    g_requested = gamma;
    return SetGammaRamp(kCountingApi, gamma);
}

bool ReadScreenRamp(DeviceRamp& ramp) {
    HDC screen = ::GetDC(nullptr);
    const BOOL read = screen != nullptr && ::GetDeviceGammaRamp(screen, ramp.data());
    if (screen != nullptr) {
        ::ReleaseDC(nullptr, screen);
    }
    return read != FALSE;
}

void WriteScreenRamp(DeviceRamp& ramp) {
    HDC screen = ::GetDC(nullptr);
    if (screen != nullptr) {
        ::SetDeviceGammaRamp(screen, ramp.data());
        ::ReleaseDC(nullptr, screen);
    }
}

DWORD HoldMs() {
    const char* size = std::getenv("VELMORA_ROBUSTNESS");
    return size != nullptr && std::string(size) == "full" ? kFullHoldMs : kQuickHoldMs;
}

// Presses the button at `point` of the slider, runs the thread's messages for `ms` and
// releases it; returns the auto-repeat ticks the slider received.
int Hold(HWND slider, POINT point, DWORD ms) {
    const LPARAM where = MAKELPARAM(point.x, point.y);
    ::PostMessageW(slider, WM_LBUTTONDOWN, MK_LBUTTON, where);
    int ticks = 0;
    const ULONGLONG deadline = ::GetTickCount64() + ms;
    for (ULONGLONG now = ::GetTickCount64(); now < deadline; now = ::GetTickCount64()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now),
                                    QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER && msg.hwnd == slider &&
                (msg.wParam == CHorizSlid::kTimerStepUp ||
                 msg.wParam == CHorizSlid::kTimerStepDown)) {
                ++ticks;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    ::SendMessageW(slider, WM_LBUTTONUP, 0, where);
    return ticks;
}

struct Footprint {
    guiprobe::GuiObjectCounts objects;
    guiprobe::UnixMemory memory;
};

Footprint Measure() {
    Footprint footprint;
    footprint.objects = guiprobe::CountAllGuiObjects();
    footprint.memory = guiprobe::ReadOwnUnixMemory().value_or(guiprobe::UnixMemory{});
    return footprint;
}

void Print(const char* label, const Footprint& f) {
    std::printf(
        "  %s gdi=%d user=%d (windows=%d menus=%d icons=%d accelerators=%d) "
        "anonymous=%lld KB resident=%lld KB\n",
        label, f.objects.gdi(), f.objects.user(), f.objects.of(guiprobe::GuiObjectKind::Windows),
        f.objects.of(guiprobe::GuiObjectKind::Menus), f.objects.of(guiprobe::GuiObjectKind::Icons),
        f.objects.of(guiprobe::GuiObjectKind::Accelerators), f.memory.anonymousKb,
        f.memory.residentKb);
}

bool FollowsCurve(const DeviceRamp& screen, const display::GammaCurve& curve) {
    for (size_t i = 0; i < screen.size(); ++i) {
        if (std::abs(static_cast<int>(screen[i]) - static_cast<int>(curve[i % curve.size()])) >
            kScreenRampTolerance) {
            return false;
        }
    }
    return true;
}

class GammaHold : public ::testing::Test {
  protected:
    void SetUp() override {
        pagetest::UseScratchSettings();
        screenHasRamp_ = ReadScreenRamp(original_);
    }
    void TearDown() override {
        if (screenHasRamp_) {
            WriteScreenRamp(original_);
        }
        pagetest::ReleaseDriver();
    }

    bool screenHasRamp_ = false;
    DeviceRamp original_{};
};

TEST_F(GammaHold, WritesOneRampPerStepInsideTheBandNoneOutsideAndLeavesNoGrowth) {
    if (!screenHasRamp_) {
        GTEST_SKIP() << "this screen has no gamma ramp (run inside the harness's Xorg)";
    }
    pagetest::BindSimulatedDriver("Default", {{"Avivo.Setting7", kWideGammaSetting}});
    pagetest::HostWindow host;
    CShowQualityDlg page;
    page.writeGammaRamp = &CountingRampWriter;
    ASSERT_TRUE(host.Open(page, true));
    ASSERT_EQ(page.gammaSlider.minimum, -14);
    ASSERT_EQ(page.gammaSlider.maximum, 31);
    const HWND slider = page.gammaSlider.GetSafeHwnd();

    // The warm-up takes the slider once through both ends.
    Hold(slider, kMinusPoint, kWarmUpMs);
    Hold(slider, kPlusPoint, kWarmUpMs);
    const Footprint before = Measure();
    g_counts = RampCounts{};

    const DWORD holdMs = HoldMs();
    const int downTicks = Hold(slider, kMinusPoint, holdMs / 2);
    const int afterDown = g_counts.requests;
    const int upTicks = Hold(slider, kPlusPoint, holdMs / 2);
    const Footprint after = Measure();

    // The press steps once, then every tick.
    const int steps = 2 + downTicks + upTicks;
    std::printf(
        "gamma slider held %lu ms (minus, then plus): %d steps, %d ramp requests, "
        "%d inside the band, %d refused, %d ramps written, %d written out of band, "
        "%d not the step's curve, %d taken by the screen\n",
        static_cast<unsigned long>(holdMs), steps, g_counts.requests, g_counts.inBand,
        g_counts.refused, g_counts.written, g_counts.writtenOutOfBand, g_counts.writtenWrong,
        g_counts.acceptedByScreen);
    Print("after warm-up:", before);
    Print("at the end:   ", after);
    const long long anonymousGrowth = after.memory.anonymousKb - before.memory.anonymousKb;
    std::printf("  growth gdi=%+d user=%+d anonymous=%+lld KB\n",
                after.objects.gdi() - before.objects.gdi(),
                after.objects.user() - before.objects.user(), anonymousGrowth);
    std::printf(
        "FIGURES: gamma hold %lu ms: steps=%d in_band=%d refused=%d ramps_written=%d "
        "out_of_band_written=%d taken_by_screen=%d gdi=%d->%d user=%d->%d "
        "anonymous_memory=%+lldKB\n",
        static_cast<unsigned long>(holdMs), steps, g_counts.inBand, g_counts.refused,
        g_counts.written, g_counts.writtenOutOfBand, g_counts.acceptedByScreen,
        before.objects.gdi(), after.objects.gdi(), before.objects.user(), after.objects.user(),
        anonymousGrowth);

    // The slider really repeated (80 ms a tick), in both directions.
    EXPECT_GT(downTicks, static_cast<int>(holdMs / 2 / CHorizSlid::kRepeatPeriodMs / 2));
    EXPECT_GT(upTicks, static_cast<int>(holdMs / 2 / CHorizSlid::kRepeatPeriodMs / 2));
    EXPECT_GT(afterDown, 0);
    EXPECT_EQ(g_counts.requests, steps);
    EXPECT_GT(g_counts.inBand, 0);
    EXPECT_GT(g_counts.refused, 0);
    EXPECT_EQ(g_counts.written, g_counts.inBand);
    EXPECT_EQ(g_counts.writtenOutOfBand, 0);
    EXPECT_EQ(g_counts.writtenWrong, 0);
    EXPECT_EQ(g_counts.screenDcsReleased, g_counts.screenDcs);
    // The screen shows the last ramp it took.
    DeviceRamp screen{};
    ASSERT_TRUE(ReadScreenRamp(screen));
    EXPECT_GT(g_counts.acceptedByScreen, 0);
    EXPECT_TRUE(FollowsCurve(screen, display::GammaRampCurve(g_counts.lastAccepted)))
        << "last exponent the screen took: " << g_counts.lastAccepted;

    EXPECT_LE(std::abs(after.objects.gdi() - before.objects.gdi()), kObjectTolerance);
    EXPECT_LE(std::abs(after.objects.user() - before.objects.user()), kObjectTolerance);
    EXPECT_GT(before.memory.residentKb, 0) << "no memory figures from /proc/self/status";
    EXPECT_LT(anonymousGrowth, kMemoryToleranceKb);
}

}  // namespace
