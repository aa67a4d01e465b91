// The main window's background duties against the simulated adapter: the tray icon and its
// retry, the gauge's timers, the hotkeys and the start modes, apply-and-exit's guard included.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>

#include "app/WindowClass.h"
#include "gpu/NoUITemprature.h"
#include "mainwindow/ClockApplyGuard.h"
#include "mainwindow/GaugeFeed.h"
#include "mainwindow/TalvaneDlg.h"
#include "settings/RunConfig.h"
#include "skin/AppMessages.h"
#include "skin/SkinImages.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/MessagePump.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/ScriptedMainWindow.h"
#include "tests/support/SimHarness.h"
#include "tests/support/SkinSession.h"

namespace {

using namespace std::chrono_literals;
using testkit::PumpUntil;

constexpr wchar_t kGuardKey[] = L"Software\\Velmora";
constexpr char kSavedClocks[] =
    "[Clock_Set]\r\nGPUFrequency=850\r\nGPUVoltage=1100\r\nMem=1000\r\nFan=55\r\nSelFan=0\r\n";

// A stand-in for the shell's tray call: refuses the first `refusals` adds, records the rest.
struct FakeShell {
    static inline int refusals = 0;
    static inline int adds = 0;
    static inline int deletes = 0;
    static inline int modifies = 0;
    static inline std::wstring tip;
    static void Reset(int refuse) {
        refusals = refuse;
        adds = 0;
        deletes = 0;
        modifies = 0;
        tip.clear();
    }
    static BOOL WINAPI Notify(DWORD message, PNOTIFYICONDATAW data) {
        if (data == nullptr || data->uID != 128 || data->cbSize != 952) {
            return FALSE;
        }
        if (message == NIM_DELETE) {
            ++deletes;
            return TRUE;
        }
        if (message == NIM_MODIFY) {
            ++modifies;
            tip = data->szTip;
            return TRUE;
        }
        if (message == NIM_ADD) {
            tip = data->szTip;
        }
        if (message != NIM_ADD || refusals > 0) {
            refusals -= message == NIM_ADD ? 1 : 0;
            return FALSE;
        }
        ++adds;
        return TRUE;
    }
};

using DutyWindow = testkit::ScriptedMainWindow;

// The main window in a given start mode with the fake shell, runs in a settings folder of its own.
class BackgroundDuties : public testkit::WithSkin<>, protected testkit::SettingsFolder {
  protected:
    BackgroundDuties() : SettingsFolder(L"duties") {}

    static void SetUpTestSuite() {
        WithSkin::SetUpTestSuite();
        RegisterMainWindowClass(::GetModuleHandleW(nullptr));
        simtest::RestoreHiddenSystemDlls();
    }

    void SetUp() override {
        simtest::ResetSim();
        FakeShell::Reset(0);
        ClockApplyGuard(kGuardKey).Clear();
        StartWithSettings("");
    }
    void TearDown() override {
        ClockApplyGuard(kGuardKey).Clear();
        g_runSettings = RunSettings{};
    }

    // Runs the window in the start mode with the script run from inside its modal loop once the
    // pages exist; the run ends after the script.
    static INT_PTR Run(StartMode mode, const std::function<void(DutyWindow&)>& script) {
        DutyWindow window;
        window.SetStartMode(mode);
        window.trayIcon().UseShellNotify(&FakeShell::Notify);
        window.ending = DutyWindow::Ending::EndDialogOk;
        window.script = [&script](DutyWindow& running) {
            // The hardware collector calls the simulated card from its own thread; a script that
            // edits the card's state file must not race its read-modify-write.
            EXPECT_TRUE(running.hardwarePage().WaitCollector(10000));
            if (script) {
                script(running);
            }
        };
        return window.DoModal();
    }
};

// True when another window can take the combination, that is, nobody holds it.
bool CombinationFree(UINT modifiers, UINT key) {
    HWND probe = ::CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    const bool free = ::RegisterHotKey(probe, 1, modifiers, key) != FALSE;
    if (free) {
        ::UnregisterHotKey(probe, 1);
    }
    ::DestroyWindow(probe);
    return free;
}

TEST_F(BackgroundDuties, NormalStartAddsTheIconAtOnceAndDeletesItWithTheWindow) {
    EXPECT_EQ(Run(StartMode::Normal,
                  [](DutyWindow& window) {
                      EXPECT_TRUE(window.trayIcon().added());
                      EXPECT_FALSE(window.trayIcon().retrying());
                      EXPECT_TRUE(::IsWindowVisible(window.GetSafeHwnd()));
                  }),
              IDOK);
    EXPECT_EQ(FakeShell::adds, 1);
    EXPECT_EQ(FakeShell::deletes, 1);
}

TEST_F(BackgroundDuties, TrayOnlyStartRetriesFromATimerWhileTheWindowKeepsAnswering) {
    FakeShell::Reset(1);  // the shell is not there for the first attempt
    Run(StartMode::TrayOnly, [](DutyWindow& window) {
        HWND hwnd = window.GetSafeHwnd();
        EXPECT_TRUE(PumpUntil([hwnd] { return !::IsWindowVisible(hwnd); }));
        EXPECT_FALSE(window.trayIcon().added());
        // The first attempt fails after about five seconds; the window answers meanwhile.
        EXPECT_TRUE(PumpUntil([] { return FakeShell::refusals == 0; }, 7s));
        EXPECT_FALSE(window.trayIcon().added());
        DWORD_PTR answer = 0;
        EXPECT_NE(::SendMessageTimeoutW(hwnd, WM_APP_SHOW_STATE, 0, 7, SMTO_BLOCK, 500, &answer),
                  0);
        EXPECT_EQ(answer, 1u);
        EXPECT_TRUE(PumpUntil([&window] { return window.trayIcon().added(); }, 7s));
        EXPECT_FALSE(window.trayIcon().retrying());
        EXPECT_FALSE(::IsWindowVisible(hwnd));
    });
    EXPECT_EQ(FakeShell::adds, 1);
}

TEST_F(BackgroundDuties, ShellRestartAddsTheIconAgainAndRetriesWhenRefused) {
    Run(StartMode::Normal, [](DutyWindow& window) {
        const UINT restarted = ::RegisterWindowMessageW(L"TaskbarCreated");
        ::SendMessageW(window.GetSafeHwnd(), restarted, 0, 0);
        EXPECT_EQ(FakeShell::adds, 2);
        EXPECT_TRUE(window.trayIcon().added());
        FakeShell::refusals = 1;
        ::SendMessageW(window.GetSafeHwnd(), restarted, 0, 0);
        EXPECT_FALSE(window.trayIcon().added());
        EXPECT_TRUE(window.trayIcon().retrying());
    });
}

TEST_F(BackgroundDuties, DoubleClickOrRightPressOnTheIconRestoresTheWindow) {
    Run(StartMode::Normal, [](DutyWindow& window) {
        HWND hwnd = window.GetSafeHwnd();
        ::ShowWindow(hwnd, SW_HIDE);
        EXPECT_EQ(::SendMessageW(hwnd, WM_APP_TRAY_NOTIFY, 128, WM_MOUSEMOVE), 0);
        EXPECT_EQ(::SendMessageW(hwnd, WM_APP_TRAY_NOTIFY, 128, WM_LBUTTONDOWN), 0);
        EXPECT_FALSE(::IsWindowVisible(hwnd));
        ::SendMessageW(hwnd, WM_APP_TRAY_NOTIFY, 128, WM_LBUTTONDBLCLK);
        EXPECT_TRUE(::IsWindowVisible(hwnd));
        ::ShowWindow(hwnd, SW_MINIMIZE);
        ::SendMessageW(hwnd, WM_APP_TRAY_NOTIFY, 128, WM_RBUTTONDOWN);
        EXPECT_FALSE(::IsIconic(hwnd));
        EXPECT_TRUE(::IsWindowVisible(hwnd));
    });
}

TEST_F(BackgroundDuties, MinimizedStartMinimisesAndAddsNoIconAtOnce) {
    Run(StartMode::Minimized, [](DutyWindow& window) {
        HWND hwnd = window.GetSafeHwnd();
        EXPECT_TRUE(PumpUntil([hwnd] { return ::IsIconic(hwnd) != FALSE; }));
        EXPECT_FALSE(window.trayIcon().added());
        EXPECT_TRUE(window.trayIcon().retrying());
        ::ShowWindow(hwnd, SW_RESTORE);
    });
    EXPECT_EQ(FakeShell::adds, 0);
}

TEST_F(BackgroundDuties, HotkeysAreRegisteredFromTheTableAndRemovedOnesUnregistered) {
    g_runSettings.Hotkeys.Keys[0] = 0x00111241;  // Ctrl+Alt+A for identifier 1000
    g_runSettings.Hotkeys.Keys[7] = 0x10000042;  // Shift+B for identifier 1007
    // Never a bare key, whatever the file holds: a foreign modifier byte adds no modifier, and
    // all three modifiers are no hotkey either.
    g_runSettings.Hotkeys.Keys[8] = 0x20000043;   // plain C
    g_runSettings.Hotkeys.Keys[9] = 65;           // plain A
    g_runSettings.Hotkeys.Keys[10] = 0x10111244;  // Shift+Ctrl+Alt+D
    g_runSettings.Hotkeys.Keys[11] = 0x20001245;  // Alt+E, a foreign Shift byte
    Run(StartMode::Normal, [](DutyWindow& window) {
        EXPECT_EQ(window.hotkeys().slots()[0], 1000);
        EXPECT_EQ(window.hotkeys().slots()[7], 1007);
        EXPECT_EQ(window.hotkeys().slots()[8], 0);
        EXPECT_EQ(window.hotkeys().slots()[9], 0);
        EXPECT_EQ(window.hotkeys().slots()[10], 0);
        EXPECT_EQ(window.hotkeys().slots()[11], 1011);
        EXPECT_EQ(window.hotkeys().slots()[1], 0);
        EXPECT_FALSE(CombinationFree(MOD_CONTROL | MOD_ALT, 'A'));
        EXPECT_FALSE(CombinationFree(MOD_SHIFT, 'B'));
        EXPECT_FALSE(CombinationFree(MOD_ALT, 'E'));
        EXPECT_TRUE(CombinationFree(0, 'C'));
        EXPECT_TRUE(CombinationFree(0, 'A'));
        EXPECT_TRUE(CombinationFree(MOD_SHIFT | MOD_CONTROL | MOD_ALT, 'D'));
        // The shortcut page removed Ctrl+Alt+A and saved.
        g_runSettings.Hotkeys.Keys[0] = 0;
        ::SendMessageW(window.GetSafeHwnd(), WM_APP_HOTKEYS_CHANGED, 0, 0);
        EXPECT_TRUE(CombinationFree(MOD_CONTROL | MOD_ALT, 'A'));
        EXPECT_FALSE(CombinationFree(MOD_SHIFT, 'B'));
        EXPECT_EQ(window.hotkeys().slots()[0], 1000);  // the slot keeps its identifier
    });
    EXPECT_TRUE(CombinationFree(MOD_SHIFT, 'B'));  // gone with the window
}

TEST_F(BackgroundDuties, CoreHotkeyWhileHiddenStepsFromTheCardsClockAndSaves) {
    StartWithSettings(kSavedClocks);
    Run(StartMode::TrayOnly, [this](DutyWindow& window) {
        HWND hwnd = window.GetSafeHwnd();
        EXPECT_TRUE(PumpUntil([hwnd] { return !::IsWindowVisible(hwnd); }));
        const int before = std::stoi(simtest::GetSimKey("Overdrive", "EngineClock"));
        const int memory = std::stoi(simtest::GetSimKey("Overdrive", "MemoryClock"));
        ::SendMessageW(hwnd, WM_HOTKEY, 1007, 0);
        EXPECT_EQ(std::stoi(simtest::GetSimKey("Overdrive", "EngineClock")), before + 10 * 100);
        EXPECT_EQ(g_runSettings.Clock.GPUFrequency, before / 100 + 10);
        EXPECT_NE(SettingsText().find("GPUFrequency=" + std::to_string(before / 100 + 10)),
                  std::string::npos);
        ::SendMessageW(hwnd, WM_HOTKEY, 1014, 0);  // memory one step down
        EXPECT_EQ(g_runSettings.Clock.Mem, memory / 100 - 1);
    });
}

TEST_F(BackgroundDuties, WithoutTheDriverTheClockAndFanHotkeysChangeAndWriteNothing) {
    StartWithSettings(kSavedClocks);
    simtest::SetSimKey("Sim", "Missing", "atipdlxx,atiadlxx,atiadlxy");
    const std::string saved = SettingsText();
    Run(StartMode::TrayOnly, [this, &saved](DutyWindow& window) {
        EXPECT_TRUE(window.driverLoad().nothingLoaded());
        for (int id = 1007; id <= 1016; ++id) {
            ::SendMessageW(window.GetSafeHwnd(), WM_HOTKEY, id, 0);
        }
        EXPECT_EQ(SettingsText(), saved);
        EXPECT_EQ(g_runSettings.Clock.GPUFrequency, 850);
        EXPECT_EQ(g_runSettings.Clock.Mem, 1000);
        EXPECT_EQ(g_runSettings.Clock.Fan, 55);
    });
    // Nor does the window's end, which copies the page into the settings.
    EXPECT_EQ(g_runSettings.Clock.GPUFrequency, 850);
    EXPECT_EQ(g_runSettings.Clock.Mem, 1000);
}

TEST_F(BackgroundDuties, AStepHotkeyReachesTheScreenOnceShownAndNeverHidden) {
    StartWithSettings(kSavedClocks);
    Run(StartMode::Normal, [](DutyWindow& window) {
        HWND hwnd = window.GetSafeHwnd();
        window.Navigate(skin::NavigationCode::OverclockPage);
        const int engine = std::stoi(simtest::GetSimKey("Overdrive", "EngineClock"));
        std::uint64_t before = window.presentations();
        ::SendMessageW(hwnd, WM_HOTKEY, 1007, 0);  // ten steps up
        EXPECT_EQ(window.presentations() - before, 1u);
        EXPECT_EQ(window.overclockPage().SliderAt(COverClockSetDlg::kCore).GetPos(),
                  engine / 100 + 10);

        ::ShowWindow(hwnd, SW_HIDE);
        before = window.presentations();
        ::SendMessageW(hwnd, WM_HOTKEY, 1009, 0);  // ten steps down
        EXPECT_EQ(window.presentations(), before);
        EXPECT_EQ(std::stoi(simtest::GetSimKey("Overdrive", "EngineClock")), engine);
    });
}

TEST_F(BackgroundDuties, TenStepsNearTheMaximumStopThereAndStillApply) {
    StartWithSettings(kSavedClocks);
    Run(StartMode::Normal, [this](DutyWindow& window) {
        const int top = window.overclockPage().SliderAt(COverClockSetDlg::kCore).maximum;
        // Three steps below the top; the hidden page takes the card's clock before stepping.
        simtest::SetSimKey("Overdrive", "EngineClock", std::to_string((top - 3) * 100));
        std::filesystem::remove(settingsFile());
        ::SendMessageW(window.GetSafeHwnd(), WM_HOTKEY, 1007, 0);
        EXPECT_EQ(window.overclockPage().SliderAt(COverClockSetDlg::kCore).GetPos(), top);
        EXPECT_EQ(simtest::GetSimKey("Overdrive", "EngineClock"), std::to_string(top * 100));
        EXPECT_NE(SettingsText().find("GPUFrequency=" + std::to_string(top)), std::string::npos);
    });
}

TEST_F(BackgroundDuties, FanHotkeysActOnlyUnderManualFanControl) {
    StartWithSettings(kSavedClocks);  // SelFan=0: manual
    Run(StartMode::Normal, [this](DutyWindow& window) {
        HWND hwnd = window.GetSafeHwnd();
        COverClockSetDlg& page = window.overclockPage();
        ::SendMessageW(hwnd, WM_HOTKEY, 1015, 0);
        const int manual = page.SliderAt(COverClockSetDlg::kFan).GetPos();
        EXPECT_EQ(simtest::GetSimKey("Fan", "Percent"), std::to_string(manual));
        EXPECT_EQ(g_runSettings.Clock.Fan, manual);
        page.ToggleAutoFan();  // automatic now
        std::filesystem::remove(settingsFile());
        simtest::ClearCallLog();
        ::SendMessageW(hwnd, WM_HOTKEY, 1015, 0);
        ::SendMessageW(hwnd, WM_HOTKEY, 1016, 0);
        EXPECT_EQ(page.SliderAt(COverClockSetDlg::kFan).GetPos(), manual);
        EXPECT_TRUE(simtest::CallLog().empty());
        EXPECT_FALSE(std::filesystem::exists(settingsFile()));
        ::SendMessageW(hwnd, WM_HOTKEY, 999, 0);
        ::SendMessageW(hwnd, WM_HOTKEY, 1017, 0);
        EXPECT_TRUE(simtest::CallLog().empty());
    });
}

TEST_F(BackgroundDuties, TimersFeedTheGaugeFromTheCard) {
    simtest::SetSimKey("Thermal", "Fixed", "65432");
    Run(StartMode::Normal, [](DutyWindow& window) {
        EXPECT_TRUE(PumpUntil([&window] { return window.indicator().temperature == 65; }, 3s));
        const int engine = std::stoi(simtest::GetSimKey("Overdrive", "EngineClock"));
        EXPECT_TRUE(PumpUntil([&] { return window.indicator().clockMHz == engine / 100; }, 3s));
        simtest::SetSimKey("Thermal", "Fixed", "120000");  // overheating: the needle's end
        EXPECT_TRUE(PumpUntil([&window] { return window.indicator().temperature == 100; }, 3s));
        simtest::SetSimKey("Thermal", "Fixed", "250000");  // no temperature at all
        EXPECT_TRUE(PumpUntil([&window] { return window.indicator().temperature == 40; }, 3s));
    });
}

TEST_F(BackgroundDuties, TheTrayTipShowsTheCardsReadingsAndChangesOnlyWithThem) {
    simtest::SetSimKey("Thermal", "Fixed", "120000");
    Run(StartMode::TrayOnly, [](DutyWindow& window) {
        // No page was ever chosen; the icon comes about five seconds after the start.
        const std::string engine = simtest::GetSimKey("Overdrive", "EngineClock");
        const std::wstring expected =
            L"Velmora 120℃ " + std::to_wstring(std::stoi(engine) / 100) + L"MHz";
        EXPECT_TRUE(PumpUntil([&] { return window.trayIcon().added(); }, 8s));
        EXPECT_TRUE(PumpUntil([&] { return FakeShell::tip == expected; }, 3s))
            << std::string(FakeShell::tip.begin(), FakeShell::tip.end());
        // Unchanged readings send nothing to the shell.
        const int modifies = FakeShell::modifies;
        PumpUntil([] { return false; }, 2500ms);
        EXPECT_EQ(FakeShell::modifies, modifies);
    });
}

// Counts the gauge's redraws instead of drawing.
class CountingGauge : public NoUITemprature {
  public:
    void Redraw() override { ++redraws; }
    int redraws = 0;
};

TEST_F(BackgroundDuties, TheGaugeIsRedrawnOnlyWhenItsReadoutChanges) {
    simtest::SetSimKey("Thermal", "Fixed", "61000");
    Run(StartMode::Normal, [](DutyWindow&) {
        CountingGauge gauge;
        GaugeFeed feed(gauge);
        feed.OnTimer(GaugeFeed::kTimerTemperature);
        EXPECT_EQ(gauge.redraws, 0) << "drawn before a page was chosen";
        gauge.fullDisplay = true;
        feed.OnTimer(GaugeFeed::kTimerTemperature);
        feed.OnTimer(GaugeFeed::kTimerTemperature);
        EXPECT_EQ(gauge.temperature, 61);
        EXPECT_EQ(gauge.redraws, 1);
        simtest::SetSimKey("Thermal", "Fixed", "62000");
        feed.OnTimer(GaugeFeed::kTimerTemperature);
        EXPECT_EQ(gauge.redraws, 2);
        simtest::SetSimKey("Overdrive", "EngineClock", "71000");
        feed.OnTimer(GaugeFeed::kTimerClock);
        feed.OnTimer(GaugeFeed::kTimerTemperature);
        EXPECT_EQ(gauge.clockMHz, 710);
        EXPECT_EQ(gauge.redraws, 3) << "a new clock alone is not shown";
    });
}

TEST_F(BackgroundDuties, ApplyAndExitWritesTheSavedClocksAndEndsWithoutAnIcon) {
    StartWithSettings(kSavedClocks);
    testkit::MessageBoxDismisser dismisser;
    EXPECT_EQ(Run(StartMode::ApplyAndExit, nullptr), IDOK);
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "EngineClock"), "85000");
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "MemoryClock"), "100000");
    EXPECT_EQ(dismisser.Texts(), std::vector<std::wstring>{L"核心硬件设置成功"});
    EXPECT_EQ(FakeShell::adds, 0);
    EXPECT_FALSE(ClockApplyGuard(kGuardKey).Pending());
}

TEST_F(BackgroundDuties, ApplyAndExitLeavesValuesSavedOnAnotherBackendAloneAndKeepsThem) {
    // Saved through the display library's Overdrive 8 before the card moved to this driver.
    const std::string saved =
        "[Clock_Set]\r\nGPUFrequency=2000\r\nGPUVoltage=0\r\nMem=875\r\nFan=40\r\n"
        "SelFan=1\r\nOverdrive=8\r\n";
    StartWithSettings(saved);
    simtest::ClearCallLog();
    testkit::MessageBoxDismisser dismisser;
    EXPECT_EQ(Run(StartMode::ApplyAndExit, nullptr), IDOK);
    EXPECT_TRUE(simtest::CallLogLines("ATIDL_Set").empty());
    EXPECT_TRUE(dismisser.Texts().empty());
    EXPECT_EQ(SettingsText(), saved);
    // What the exit would save is still what was saved.
    EXPECT_EQ(g_runSettings.Clock.GPUFrequency, 2000);
    EXPECT_EQ(g_runSettings.Clock.Overdrive, 8);
}

TEST_F(BackgroundDuties, ApplyAndExitAfterAWriteThatNeverReturnedLeavesTheClocksAlone) {
    StartWithSettings(kSavedClocks);
    ASSERT_TRUE(ClockApplyGuard(kGuardKey).Arm());
    const std::string engine = "70000";
    simtest::SetSimKey("Overdrive", "EngineClock", engine);
    simtest::ClearCallLog();
    testkit::MessageBoxDismisser dismisser;
    EXPECT_EQ(Run(StartMode::ApplyAndExit, nullptr), IDOK);
    EXPECT_EQ(simtest::GetSimKey("Overdrive", "EngineClock"), engine);
    EXPECT_TRUE(simtest::CallLogLines("ATIDL_SetOD").empty());
    EXPECT_TRUE(simtest::CallLogLines("ATIDL_SetFanSpeed").empty());
    EXPECT_TRUE(dismisser.Texts().empty());
    EXPECT_FALSE(ClockApplyGuard(kGuardKey).Pending());  // the next start tries again
}

}  // namespace
