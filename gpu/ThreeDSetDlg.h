// The 3D settings page: three presets of six switches.
#pragma once

#include "res/resource.h"
#include "skin/SkinSubDialog.h"

class CThreeDSetDlg : public CSkinSubDialog {
  public:
    CThreeDSetDlg() : CSkinSubDialog(IDD_THREED) {}
};
