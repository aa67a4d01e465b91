#include "framework/WinApp.h"

namespace fw {
namespace {

CWinApp* g_application = nullptr;

}  // namespace

CWinApp::CWinApp() {
    if (g_application == nullptr) {
        g_application = this;
    }
}

CWinApp::~CWinApp() {
    if (g_application == this) {
        g_application = nullptr;
    }
}

CWinApp* CWinApp::Current() {
    return g_application;
}

int CWinApp::Main(HINSTANCE instance) {
    instance_ = instance;
    if (!InitApplication()) {
        return -1;
    }
    if (InitInstance()) {
        Run();
    }
    return ExitInstance();
}

void CWinApp::Run() {
    MSG msg;
    BOOL got;
    while ((got = ::GetMessageW(&msg, nullptr, 0, 0)) != 0 && got != -1) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    exitCode_ = got == 0 ? static_cast<int>(msg.wParam) : -1;
}

}  // namespace fw
