// The shortcut page: seventeen system-wide hotkeys.
#pragma once

#include "res/resource.h"
#include "skin/SkinSubDialog.h"

class CShortCutSetDlg : public CSkinSubDialog {
  public:
    CShortCutSetDlg() : CSkinSubDialog(IDD_SHORTCUT) {}
};
