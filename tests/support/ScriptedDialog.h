// A dialog that runs a test script from inside its own modal loop.
#pragma once

#include <windows.h>

#include <functional>

namespace testkit {

// The message that runs the script; no window of the program uses it.
inline constexpr UINT kRunScriptMessage = WM_APP + 100;

// A dialog of class `Dialog` whose script runs once the dialog is up and its loop turns: it is
// posted at the end of OnInitDialog. `Self` is the class the script receives (the test's own
// class deriving from this one). After the script, AfterScript decides how the run goes on; by
// default it does nothing and the script ends the dialog itself.
//   class ScriptedOptions : public testkit::ScriptedDialog<ScriptedOptions, SettingDlg> {...};
template <class Self, class Dialog>
class ScriptedDialog : public Dialog {
  public:
    using Dialog::Dialog;

    std::function<void(Self&)> script;

  protected:
    // Runs the script; a class with steps of its own (a benchmark) overrides it.
    virtual void RunScript() {
        if (script) {
            script(static_cast<Self&>(*this));
        }
    }
    virtual void AfterScript() {}

    BOOL OnInitDialog() override {
        const BOOL result = Dialog::OnInitDialog();
        ::PostMessageW(this->GetSafeHwnd(), kRunScriptMessage, 0, 0);
        return result;
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg != kRunScriptMessage) {
            return Dialog::WindowProc(msg, wParam, lParam);
        }
        RunScript();
        AfterScript();
        return 0;
    }
};

}  // namespace testkit
