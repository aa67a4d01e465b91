// The overclocking page: core clock, voltage, fan and memory clock.
#pragma once

#include "res/resource.h"
#include "skin/SkinSubDialog.h"

class COverClockSetDlg : public CSkinSubDialog {
  public:
    COverClockSetDlg() : CSkinSubDialog(IDD_OVERCLOCK) {}
};
