// The display-quality page: gamma ramp, brightness and contrast presets.
#pragma once

#include "res/resource.h"
#include "skin/SkinSubDialog.h"

class CShowQualityDlg : public CSkinSubDialog {
  public:
    CShowQualityDlg() : CSkinSubDialog(IDD_QUALITY) {}

    // Driver brightness and contrast and the gamma ramp back to their defaults; the page's
    // sliders and the settings file stay as they are.
    virtual void ResetDisplayColor() {}
};
