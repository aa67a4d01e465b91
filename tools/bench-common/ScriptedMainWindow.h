// The main window running a measurement from inside its own modal loop: once the start screen is
// up, RunScript runs on the user-interface thread, then the window ends with IDOK.
#pragma once

#include <windows.h>

#include "mainwindow/TalvaneDlg.h"

namespace bench {

class ScriptedMainWindow : public CTalvaneDlg {
  protected:
    virtual void RunScript() = 0;

    BOOL OnInitDialog() override {
        BOOL result = CTalvaneDlg::OnInitDialog();
        ::PostMessageW(GetSafeHwnd(), kRunScript, 0, 0);
        return result;
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg != kRunScript) {
            return CTalvaneDlg::WindowProc(msg, wParam, lParam);
        }
        RunScript();
        EndDialog(IDOK);
        return 0;
    }

  private:
    static constexpr UINT kRunScript = WM_APP + 100;
};

}  // namespace bench
