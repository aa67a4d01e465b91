// The display-modes page: resolution, colour quality, refresh rate and rotation.
#pragma once

#include "res/resource.h"
#include "skin/SkinSubDialog.h"

class CDisplayDlg : public CSkinSubDialog {
  public:
    CDisplayDlg() : CSkinSubDialog(IDD_DISPLAY) {}
};
