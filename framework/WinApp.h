// The application object: InitApplication -> InitInstance -> ExitInstance.
#pragma once

#include <windows.h>

namespace fw {

class CWnd;

class CWinApp {
  public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The one application object of the process, or null.
    static CWinApp* Current();

    // Runs the application and returns the process exit code. A false InitApplication ends
    // at once (-1); a false InitInstance goes straight to ExitInstance; otherwise Run() first.
    int Main(HINSTANCE instance);

    HINSTANCE instance() const { return instance_; }
    CWnd* mainWindow() const { return mainWindow_; }
    void setMainWindow(CWnd* window) { mainWindow_ = window; }

  protected:
    virtual BOOL InitApplication() { return TRUE; }
    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return exitCode_; }
    // A plain message loop; its WM_QUIT code becomes the exit code.
    virtual void Run();

  private:
    HINSTANCE instance_ = nullptr;
    CWnd* mainWindow_ = nullptr;
    int exitCode_ = 0;
};

}  // namespace fw
