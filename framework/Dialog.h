// Dialogs from resource templates: modal ones with their own loop, and child dialogs.
#pragma once

#include "framework/Wnd.h"

namespace fw {

class CDialog : public CWnd {
  public:
    explicit CDialog(UINT templateId, HWND parent = nullptr);

    // Runs the dialog until EndDialog; returns the value given to EndDialog, -1 on failure.
    INT_PTR DoModal();
    // Creates the dialog as a modeless (usually child) window of parent.
    [[nodiscard]] bool Create(HWND parent);
    // Ends a modal run after the current message.
    void EndDialog(INT_PTR result);

    bool IsModalRunning() const { return modal_ && !ended_; }

    // A dialog that runs without ever being shown: the template's WS_VISIBLE is dropped and the
    // modal loop does not show it either. Set before Create or DoModal.
    void KeepHidden(bool hidden) { keepHidden_ = hidden; }

  protected:
    // Binds the dialog's controls to their objects; runs at the start of OnInitDialog.
    virtual void DoDataExchange() {}
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(int id, int code, HWND control) override;
    // Binds a template control to its object (data exchange). False when the id is absent: the
    // object then stays unbound and draws and reports nothing.
    bool BindControl(int id, CWnd& control);

  private:
    static INT_PTR CALLBACK BootstrapProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND CreateFromTemplate(HWND parent);
    // Offers msg to PreTranslateMessage from its target window up to this dialog.
    bool WalkPreTranslate(MSG* msg);

    UINT templateId_;
    HWND parent_;
    bool modal_ = false;
    bool ended_ = false;
    INT_PTR result_ = -1;
    bool keepHidden_ = false;
};

}  // namespace fw
