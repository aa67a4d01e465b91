#include "app/TalvaneApp.h"

#include "app/WindowClass.h"
#include "app/core/CommandLine.h"
#include "gpu/DriverBinding.h"
#include "mainwindow/TalvaneDlg.h"
#include "settings/ExeDirectory.h"
#include "settings/RunConfig.h"
#include "skin/SkinImages.h"
#include "update/PrivateLibrary.h"
#include "update/UpdateStartup.h"

#include <commctrl.h>

namespace {

// The common control classes the program's windows use.
constexpr DWORD kCommonControlClasses = ICC_WIN95_CLASSES;

}  // namespace

BOOL CTalvaneApp::InitApplication() {
    RestrictLibrarySearch();
    if (!instance_.Claim(kInstanceMutexName, kMainWindowClass)) {
        return FALSE;
    }
    // The driver libraries start up while the program does; the main window takes the load over.
    DriverBinding::StartLoadingAhead();
    // Before the working directory changes; the check itself runs in the background.
    RunUpdateStartupStep();
    return fw::CWinApp::InitApplication();
}

BOOL CTalvaneApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), kCommonControlClasses};
    ::InitCommonControlsEx(&controls);
    fw::CWinApp::InitInstance();

    g_startMode = ParseStartMode(::GetCommandLineW());

    // Every relative path of the program (the settings template, the update folder) depends on
    // this.
    const std::wstring directory = ExecutableDirectory();
    if (!directory.empty()) {
        ::SetCurrentDirectoryW(directory.c_str());
    }

    RegisterMainWindowClass(instance());
    if (!gdiplus_) {
        gdiplus_ = std::make_unique<fw::GdiplusSession>();
    }
    // The main window's controls look their images up by name. The start screen's pictures are
    // decoded on a thread of their own while the settings load and the window is made.
    LoadSkinImages();
    PrefetchSkinImages(CTalvaneDlg::StartScreenPictures());
    LoadRunConfig();
    {
        CTalvaneDlg dialog;
        if (dialog.driverLoad().nothingLoaded()) {
            ::MessageBoxW(nullptr, L"Dll加载失败!", L"Velmora", MB_OK | MB_ICONEXCLAMATION);
        }
        dialog.SetStartMode(g_startMode);
        setMainWindow(&dialog);
        dialog.DoModal();
        setMainWindow(nullptr);
    }
    return FALSE;
}

int CTalvaneApp::ExitInstance() {
    FinishSkinPrefetch();  // it decodes with GDI+
    if (gdiplus_) {
        gdiplus_->shutdown();
    }
    // "HotKey" and "SelPage" are saved by their pages only, never here.
    if (g_runSettings.App.ExitKeep) {
        SaveAppSettings();
        SaveClockSettings();
        SaveThreeDPresets();
        SaveQualityPresets();
        SaveDisplaySettings();
    }
    ReleaseSkinImages();
    instance_.Release();
    FinishUpdateCheck();
    return fw::CWinApp::ExitInstance();
}
