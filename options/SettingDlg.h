// The options dialog: start with Windows and save on exit. Run modally from the button bar.
#pragma once

#include "framework/Dialog.h"

class SettingDlg : public fw::CDialog {
  public:
    explicit SettingDlg(HWND parent);

  protected:
    bool OnCommand(int id, int code, HWND control) override;
};
