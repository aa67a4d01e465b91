#include "tests/display/PageHost.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "framework/GdiplusSession.h"
#include "gpu/DriverBinding.h"
#include "settings/RunConfig.h"
#include "skin/AppMessages.h"
#include "skin/SkinImages.h"
#include "tests/support/SimHarness.h"

namespace pagetest {

namespace {

constexpr wchar_t kHostClass[] = L"VelmoraPageTestHost";

std::wstring ScratchFolder() {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"velmora-display-test";
}

std::wstring SettingsPath() {
    return ScratchFolder() + L"\\RunConfig.dat";
}

// GDI+ and the skin images for the whole run, as the program has them.
class SkinEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        gdiplus_ = std::make_unique<fw::GdiplusSession>();
        LoadSkinImages();
    }
    void TearDown() override {
        ReleaseSkinImages();
        gdiplus_.reset();
    }

  private:
    std::unique_ptr<fw::GdiplusSession> gdiplus_;
};

[[maybe_unused]] ::testing::Environment* const g_skinEnvironment =
    ::testing::AddGlobalTestEnvironment(new SkinEnvironment);

}  // namespace

HostWindow::HostWindow() {
    fw::CWnd::RegisterWindowClass(kHostClass, 0, nullptr);
    if (CreateEx(0, kHostClass, L"page host", WS_POPUP | WS_VISIBLE,
                 RECT{0, 0, SkinSurface::kWidth, SkinSurface::kHeight}, nullptr)) {
        surface.Create(GetSafeHwnd());
    }
}

HostWindow::~HostWindow() {
    if (HWND hwnd = GetSafeHwnd()) {
        ::DestroyWindow(hwnd);
    }
}

LRESULT HostWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_APP_REFRESH_LAYER) {
        ++presentations;
        return 1;
    }
    if (msg == WM_APP_SHOW_STATE) {
        ++showStateRequests;
        return 1;
    }
    return fw::CWnd::WindowProc(msg, wParam, lParam);
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
    const std::wstring folder = ScratchFolder();
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ::DeleteFileW(SettingsPath().c_str());
    ::SetCurrentDirectoryW(folder.c_str());
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
    return static_cast<int>(::GetPrivateProfileIntW(section, key, missing, SettingsPath().c_str()));
}

bool SettingsFileExists() {
    return ::GetFileAttributesW(SettingsPath().c_str()) != INVALID_FILE_ATTRIBUTES;
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
    simtest::LoadDriverLibrariesDismissingMessages();
}

void ReleaseDriver() {
    DriverBinding::ReleaseDriverLibraries();
}

void ClickAt(HWND control, int x, int y) {
    const LPARAM point = MAKELPARAM(x, y);
    ::SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageW(control, WM_LBUTTONUP, 0, point);
}

}  // namespace pagetest
