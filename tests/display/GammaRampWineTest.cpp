// The ramp writer on the real screen (Xorg's dummy driver gives Wine real gamma ramps) and with
// counting stand-ins for its device contexts and ramp calls.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "display/GammaRamp.h"
#include "display/ShowQualityDlg.h"
#include "tests/display/PageHost.h"

namespace {

using Ramp = std::array<WORD, 3 * 256>;

struct Counts {
    int taken = 0;
    int released = 0;
    int reads = 0;
    int writes = 0;
    bool readSucceeds = true;
    bool writeSucceeds = true;
};
Counts g_counts;

HDC WINAPI CountedGetDC(HWND hwnd) {
    HDC dc = ::GetDC(hwnd);
    g_counts.taken += dc != nullptr ? 1 : 0;
    return dc;
}
int WINAPI CountedReleaseDC(HWND hwnd, HDC dc) {
    ++g_counts.released;
    return ::ReleaseDC(hwnd, dc);
}
BOOL WINAPI CountedGetRamp(HDC dc, LPVOID ramp) {
    ++g_counts.reads;
    return g_counts.readSucceeds && ::GetDeviceGammaRamp(dc, ramp);
}
BOOL WINAPI CountedSetRamp(HDC dc, LPVOID ramp) {
    ++g_counts.writes;
    return g_counts.writeSucceeds && ::SetDeviceGammaRamp(dc, ramp);
}
const ScreenGammaApi kCounted{&CountedGetDC, &CountedReleaseDC, &CountedGetRamp, &CountedSetRamp};

bool CountedSetGammaRamp(double gamma) {
    return SetGammaRamp(kCounted, gamma);
}

Ramp ScreenRamp() {
    Ramp ramp{};
    HDC dc = ::GetDC(nullptr);
    EXPECT_TRUE(::GetDeviceGammaRamp(dc, ramp.data()));
    ::ReleaseDC(nullptr, dc);
    return ramp;
}

// Puts the screen's ramp back as the test found it.
class GammaRamp : public ::testing::Test {
  protected:
    void SetUp() override {
        g_counts = Counts{};
        original_ = ScreenRamp();
    }
    void TearDown() override {
        HDC dc = ::GetDC(nullptr);
        ::SetDeviceGammaRamp(dc, original_.data());
        ::ReleaseDC(nullptr, dc);
    }

  private:
    Ramp original_{};
};

// The exponent a channel's ramp follows, from its middle entries. Wine turns a ramp into one
// exponent per channel and has the X server rebuild the ramp from it, so the entries read back
// follow the written exponent, not the written entries.
double ChannelExponent(const Ramp& ramp, int channel) {
    double sum = 0;
    int count = 0;
    for (int i = 32; i < 224; ++i) {
        const double x = (i + 1) / 256.0;
        const double y = ramp[channel * 256 + i] / 65535.0;
        if (y > 0) {
            sum += std::log(y) / std::log(x);
            ++count;
        }
    }
    return count > 0 ? sum / count : 0;
}

TEST_F(GammaRamp, TheScreenFollowsTheWrittenExponentOnAllThreeChannels) {
    // Wine refuses ramps that brighten the dark end (exponents below 1) on its own.
    for (double gamma : {2.0, 1.5, 1.1, 1.0}) {
        ASSERT_TRUE(SetGammaRamp(gamma)) << gamma;
        const Ramp written = ScreenRamp();
        for (int channel = 0; channel < 3; ++channel) {
            EXPECT_NEAR(ChannelExponent(written, channel), gamma, 0.02) << gamma << " " << channel;
        }
    }
}

TEST_F(GammaRamp, RefusesExponentsThatWouldBlankTheScreenWithoutTouchingIt) {
    ASSERT_TRUE(SetGammaRamp(1.5));
    const Ramp before = ScreenRamp();
    for (double gamma : {0.0, -1.0, 0.05, 2.5, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_FALSE(SetGammaRamp(kCounted, gamma)) << gamma;
    }
    EXPECT_EQ(g_counts.taken, 0);
    EXPECT_EQ(g_counts.writes, 0);
    EXPECT_EQ(ScreenRamp(), before);
    // Both ends of the band reach the system (Wine refuses the bright end itself).
    SetGammaRamp(kCounted, 1.0 - 9 * 0.1);
    SetGammaRamp(kCounted, 2.0);
    EXPECT_EQ(g_counts.writes, 2);
}

TEST_F(GammaRamp, AnUnreadableRampWritesNothingAndARefusedWriteIsReported) {
    const Ramp before = ScreenRamp();
    g_counts.readSucceeds = false;
    EXPECT_FALSE(SetGammaRamp(kCounted, 0.5));
    EXPECT_EQ(g_counts.writes, 0);
    EXPECT_EQ(ScreenRamp(), before);
    g_counts.readSucceeds = true;
    g_counts.writeSucceeds = false;
    EXPECT_FALSE(SetGammaRamp(kCounted, 0.5));
    EXPECT_EQ(g_counts.writes, 1);
    // Every device context taken on the way was released, also on the failures.
    EXPECT_EQ(g_counts.taken, 3);
    EXPECT_EQ(g_counts.released, 3);
}

TEST_F(GammaRamp, TwoHundredQuickGammaStepsReleaseEveryScreenDeviceContextTheyTake) {
    pagetest::UseScratchSettings();
    pagetest::BindSimulatedDriver();
    {
        pagetest::HostWindow host;
        CShowQualityDlg page;
        page.writeGammaRamp = &CountedSetGammaRamp;
        ASSERT_TRUE(host.Open(page, true));
        // Up and down the whole 5..15 range, as a held button repeats its steps.
        for (int i = 0; i < 200; ++i) {
            if ((i / 10) % 2 == 0) {
                page.gammaSlider.StepUp();
            } else {
                page.gammaSlider.StepDown();
            }
        }
    }
    pagetest::ReleaseDriver();
    EXPECT_EQ(g_counts.writes, 200);
    EXPECT_EQ(g_counts.taken, 2 * 200);
    EXPECT_EQ(g_counts.released, g_counts.taken);
}

}  // namespace
