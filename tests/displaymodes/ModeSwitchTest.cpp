// The way back of a display-mode change against a display that can do what the test's X server
// cannot (turn the screen), and against a driver rotation entry: what is asked first, what the
// question sees, and what comes back when the answer is no.
#include "display/ModeSwitch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "display/core/DisplayModes.h"

namespace {

using display::ModeOutcome;
using display::ModeValues;

DEVMODEW MakeMode(const ModeValues& values) {
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFLAGS |
                    DM_DISPLAYFREQUENCY | DM_POSITION | DM_DISPLAYORIENTATION;
    mode.dmPelsWidth = values.width;
    mode.dmPelsHeight = values.height;
    mode.dmBitsPerPel = values.bitsPerPixel;
    mode.dmDisplayFrequency = values.hertz;
    mode.dmDisplayOrientation = values.orientation;
    mode.dmPosition = POINTL{0, 0};
    return mode;
}

// A display offering a fixed list of modes, the turned ones included. A change takes the named
// fields over the current mode, as the system does.
class ListedDisplay : public display::DisplaySettingsApi {
  public:
    struct Call {
        DEVMODEW mode;
        DWORD flags;
    };

    ListedDisplay(const ModeValues& current, std::vector<ModeValues> listed)
        : current(MakeMode(current)), listed_(std::move(listed)) {}

    std::optional<DEVMODEW> CurrentMode() override { return current; }

    LONG Change(const DEVMODEW& mode, DWORD flags) override {
        calls.push_back({mode, flags});
        ModeValues wanted = display::ValuesOf(current);
        const auto named = [&](DWORD field, DWORD value, std::uint32_t& into) {
            if (mode.dmFields & field) {
                into = value;
            }
        };
        named(DM_PELSWIDTH, mode.dmPelsWidth, wanted.width);
        named(DM_PELSHEIGHT, mode.dmPelsHeight, wanted.height);
        named(DM_BITSPERPEL, mode.dmBitsPerPel, wanted.bitsPerPixel);
        named(DM_DISPLAYFREQUENCY, mode.dmDisplayFrequency, wanted.hertz);
        named(DM_DISPLAYORIENTATION, mode.dmDisplayOrientation, wanted.orientation);
        if (std::find(listed_.begin(), listed_.end(), wanted) == listed_.end()) {
            return DISP_CHANGE_BADMODE;
        }
        if ((flags & CDS_TEST) == 0) {
            current = MakeMode(wanted);
        }
        return DISP_CHANGE_SUCCESSFUL;
    }

    DEVMODEW current;
    std::vector<Call> calls;

  private:
    std::vector<ModeValues> listed_;
};

constexpr ModeValues kLandscape{1680, 1050, 32, 60, 0};
constexpr ModeValues kSmaller{1440, 900, 32, 60, 0};
constexpr ModeValues kPortrait{1050, 1680, 32, 60, 1};
constexpr ModeValues kShallow{1680, 1050, 16, 60, 0};

// Answers the question as told, and notes what the display showed meanwhile.
struct Answer {
    bool keep = false;
    ListedDisplay* display = nullptr;
    int asked = 0;
    ModeValues seen{};

    display::KeepQuestion Question() {
        return [this] {
            ++asked;
            seen = display::ValuesOf(display->current);
            return keep;
        };
    }
};

class ModeSwitchThroughTheSystem : public ::testing::Test {
  protected:
    ListedDisplay screen{kLandscape, {kLandscape, kSmaller, kPortrait, kShallow}};
    display::ModeSwitch modes{screen};
    Answer answer{false, &screen};
};

TEST_F(ModeSwitchThroughTheSystem, AKeptModeWasTestedFirstAndShownWhileAsked) {
    answer.keep = true;
    EXPECT_EQ(modes.Apply(display::kResolution, 1, nullptr, answer.Question()), ModeOutcome::Kept);
    ASSERT_EQ(screen.calls.size(), 2u);
    EXPECT_EQ(screen.calls[0].flags, static_cast<DWORD>(CDS_TEST));
    EXPECT_EQ(screen.calls[1].flags, 0u);
    EXPECT_EQ(screen.calls[1].mode.dmFields, static_cast<DWORD>(DM_PELSWIDTH | DM_PELSHEIGHT));
    EXPECT_EQ(answer.asked, 1);
    EXPECT_EQ(answer.seen, kSmaller);
    EXPECT_EQ(display::ValuesOf(screen.current), kSmaller);
}

TEST_F(ModeSwitchThroughTheSystem, WithoutAYesTheModeReadBeforeComesBackWhole) {
    const DEVMODEW before = screen.current;
    EXPECT_EQ(modes.Apply(display::kColourQuality, 1, nullptr, answer.Question()),
              ModeOutcome::Reverted);
    EXPECT_EQ(answer.seen, kShallow);
    ASSERT_EQ(screen.calls.size(), 3u);
    // The mode put back is the one read before, every value named.
    DEVMODEW restored = screen.calls[2].mode;
    EXPECT_EQ(restored.dmFields & display::kRestoredFields, display::kRestoredFields);
    restored.dmFields = before.dmFields;
    EXPECT_EQ(std::memcmp(&restored, &before, sizeof(before)), 0);
    EXPECT_EQ(display::ValuesOf(screen.current), kLandscape);
}

TEST_F(ModeSwitchThroughTheSystem, RotationWithoutTheDriverEntryTurnsTheModeAndTurnsItBack) {
    EXPECT_EQ(modes.Apply(display::kRotation, 1, nullptr, answer.Question()),
              ModeOutcome::Reverted);
    ASSERT_EQ(screen.calls.size(), 3u);
    const DEVMODEW& asked = screen.calls[0].mode;
    EXPECT_EQ(asked.dmDisplayOrientation, static_cast<DWORD>(DMDO_90));
    EXPECT_EQ(asked.dmPelsWidth, 1050u);
    EXPECT_EQ(asked.dmPelsHeight, 1680u);
    EXPECT_EQ(asked.dmFields,
              static_cast<DWORD>(DM_DISPLAYORIENTATION | DM_PELSWIDTH | DM_PELSHEIGHT));
    EXPECT_EQ(answer.seen, kPortrait);
    EXPECT_EQ(display::ValuesOf(screen.current), kLandscape);

    answer.keep = true;
    EXPECT_EQ(modes.Apply(display::kRotation, 1, nullptr, answer.Question()), ModeOutcome::Kept);
    EXPECT_EQ(display::ValuesOf(screen.current), kPortrait);
    // Back to landscape from portrait trades the sides again.
    EXPECT_EQ(modes.Apply(display::kRotation, 0, nullptr, answer.Question()), ModeOutcome::Kept);
    EXPECT_EQ(display::ValuesOf(screen.current), kLandscape);
}

// The driver's rotation entry: records its calls, refuses when told to, and (like a driver
// that turns the screen itself) leaves the display on its side for codes 1 and 3 but does
// not turn it back.
struct Driver {
    static inline std::vector<int> codes;
    static inline int answer = 0;
    static inline ListedDisplay* display = nullptr;

    static int __cdecl Rotate(int adapter, int code) {
        EXPECT_EQ(adapter, 0);
        codes.push_back(code);
        if (answer >= 0 && display != nullptr && code % 2 == 1) {
            display->current = MakeMode(kPortrait);
        }
        return answer;
    }
};

class ModeSwitchThroughTheDriver : public ::testing::Test {
  protected:
    void SetUp() override {
        Driver::codes.clear();
        Driver::answer = 0;
        Driver::display = nullptr;
    }

    ModeOutcome Rotate(int index) {
        return modes.Apply(display::kRotation, index, &Driver::Rotate, answer.Question());
    }

    ListedDisplay screen{kLandscape, {kLandscape, kPortrait}};
    display::ModeSwitch modes{screen};
    Answer answer{false, &screen};
};

TEST_F(ModeSwitchThroughTheDriver, WithoutAYesTheDriverGoesBackToTheLastKeptRotation) {
    // Nothing set yet: back to the mode's own orientation.
    EXPECT_EQ(Rotate(2), ModeOutcome::Reverted);
    EXPECT_EQ(Driver::codes, (std::vector<int>{2, 0}));
    EXPECT_TRUE(screen.calls.empty());  // the system is never asked about a driver rotation

    answer.keep = true;
    EXPECT_EQ(Rotate(2), ModeOutcome::Kept);
    answer.keep = false;
    EXPECT_EQ(Rotate(3), ModeOutcome::Reverted);
    EXPECT_EQ(Driver::codes, (std::vector<int>{2, 0, 2, 3, 2}));
    EXPECT_EQ(answer.asked, 3);

    // The kept rotation again is known to be on screen: set, but nothing to ask.
    EXPECT_EQ(Rotate(2), ModeOutcome::Unchanged);
    EXPECT_EQ(answer.asked, 3);
}

TEST_F(ModeSwitchThroughTheDriver, ARefusedRotationAsksNothingAndSetsNothingBack) {
    Driver::answer = -1;
    EXPECT_EQ(Rotate(1), ModeOutcome::Refused);
    EXPECT_EQ(Driver::codes, std::vector<int>{1});
    EXPECT_EQ(answer.asked, 0);
}

TEST_F(ModeSwitchThroughTheDriver, AModeTheDriverLeavesTurnedIsPutBackWhole) {
    Driver::display = &screen;
    EXPECT_EQ(Rotate(1), ModeOutcome::Reverted);
    EXPECT_EQ(answer.seen, kPortrait);
    EXPECT_EQ(Driver::codes, (std::vector<int>{1, 0}));
    ASSERT_EQ(screen.calls.size(), 1u);
    EXPECT_EQ(screen.calls[0].flags, 0u);
    EXPECT_EQ(display::ValuesOf(screen.current), kLandscape);
}

}  // namespace
