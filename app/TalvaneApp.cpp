#include "app/TalvaneApp.h"

#include "app/WindowClass.h"
#include "mainwindow/TalvaneDlg.h"

BOOL CTalvaneApp::InitApplication() { return TRUE; }

BOOL CTalvaneApp::InitInstance() {
    RegisterMainWindowClass(instance());
    if (!gdiplus_) {
        gdiplus_ = std::make_unique<fw::GdiplusSession>();
    }
    {
        CTalvaneDlg dialog;
        setMainWindow(&dialog);
        dialog.DoModal();
        setMainWindow(nullptr);
    }
    return FALSE;
}

int CTalvaneApp::ExitInstance() {
    if (gdiplus_) {
        gdiplus_->shutdown();
    }
    return fw::CWinApp::ExitInstance();
}
