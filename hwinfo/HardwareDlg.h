// The hardware-information page: the card's facts, read-only.
#pragma once

#include "res/resource.h"
#include "skin/SkinSubDialog.h"

class CHARDWAREDLG : public CSkinSubDialog {
  public:
    CHARDWAREDLG() : CSkinSubDialog(IDD_HARDWARE) {}
};
