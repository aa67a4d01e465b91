// The main window with a test script (or a benchmark's measurement) run from inside its own
// modal loop, once the start is done and the pages exist.
#pragma once

#include <windows.h>

#include "mainwindow/TalvaneDlg.h"
#include "res/resource.h"
#include "tests/support/ScriptedDialog.h"

namespace testkit {

class ScriptedMainWindow : public ScriptedDialog<ScriptedMainWindow, CTalvaneDlg> {
  public:
    // How the run ends after the script, unless something the script did ended it first.
    enum class Ending {
        CloseButton,  // the close button is posted, as a user would press it
        EndDialogOk,  // the dialog ends with IDOK at once
    };
    Ending ending = Ending::CloseButton;

    // What tests and benchmarks look at.
    using CTalvaneDlg::hardwarePage;
    using CTalvaneDlg::hotkeys;
    using CTalvaneDlg::indicator;
    using CTalvaneDlg::Navigate;
    using CTalvaneDlg::overclockPage;
    using CTalvaneDlg::presentations;
    using CTalvaneDlg::PushLayer;
    using CTalvaneDlg::SelectPage;
    using CTalvaneDlg::trayIcon;

  protected:
    void AfterScript() override {
        if (ending == Ending::CloseButton) {
            ::PostMessageW(GetSafeHwnd(), WM_COMMAND, IDC_CLOSE_BUTTON, 0);
        } else {
            EndDialog(IDOK);
        }
    }
};

}  // namespace testkit
