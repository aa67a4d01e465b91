#include "tests/display/PageHost.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "gpu/DriverBinding.h"
#include "settings/RunConfig.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SimHarness.h"
#include "tests/support/SkinSession.h"

namespace pagetest {

namespace {

// The settings folder of the current test, made current.
std::optional<testkit::SettingsFolder> g_settings;

[[maybe_unused]] ::testing::Environment* const g_skinEnvironment =
    ::testing::AddGlobalTestEnvironment(new testkit::SkinEnvironment);

}  // namespace

HostWindow::HostWindow()
    : testkit::HostWindow(RECT{0, 0, SkinSurface::kWidth, SkinSurface::kHeight}, 0) {
    surface.Create(GetSafeHwnd());
}

bool HostWindow::Open(CSkinSubDialog& page, bool shown) {
    if (!page.Create(GetSafeHwnd())) {
        return false;
    }
    page.AttachSkin(&surface, nullptr);
    if (shown) {
        page.ShowPage(SW_SHOW);
    }
    return true;
}

std::vector<double>& RecordedGamma() {
    static std::vector<double> recorded;
    return recorded;
}

bool RecordGammaRamp(double gamma) {
    RecordedGamma().push_back(gamma);
    return true;
}

void UseScratchSettings() {
    g_settings.reset();
    g_settings.emplace(L"display-test");
    g_runSettings = RunSettings{};
    g_runSettings.Quality[0] = {10, 100, 100};
    g_runSettings.Quality[1] = {10, 90, 95};
    g_runSettings.Quality[2] = {12, 110, 110};
    g_runSettings.Quality[3] = {11, 100, 105};
    g_runSettings.ThreeD[1] = {{true, true, true, false, false, false}};
    g_runSettings.ThreeD[2] = {{true, true, true, true, true, true}};
    RecordedGamma().clear();
}

int StoredInt(const wchar_t* section, const wchar_t* key, int missing) {
    return g_settings ? g_settings->SettingsInt(section, key, missing) : missing;
}

bool SettingsFileExists() {
    return g_settings && std::filesystem::exists(g_settings->settingsFile());
}

void BindSimulatedDriver(const std::string& scenario,
                         const std::vector<std::pair<std::string, std::string>>& simKeys) {
    simtest::RestoreHiddenSystemDlls();
    simtest::ResetSim(scenario);
    for (const auto& [key, value] : simKeys) {
        const size_t dot = key.find('.');
        if (dot == std::string::npos) {
            simtest::SetSimKey("Sim", key, value);
        } else {
            simtest::SetSimKey(key.substr(0, dot), key.substr(dot + 1), value);
        }
    }
    (void)DriverBinding::LoadDriverLibraries();
}

void ReleaseDriver() {
    DriverBinding::ReleaseDriverLibraries();
}

}  // namespace pagetest
