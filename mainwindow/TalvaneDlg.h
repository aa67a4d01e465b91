// The main window: a borderless 800 x 328 layered dialog that holds the six pages, the navigation
// cross, the button bar, the item list, the gauge and the page command buttons. Everything is
// composed off-screen in the skinned base's surface and pushed to the screen with per-pixel alpha.
#pragma once

#include "display/DisplayDlg.h"
#include "display/ShowQualityDlg.h"
#include "framework/Handles.h"
#include "gpu/NoUITemprature.h"
#include "gpu/OverClockSetDlg.h"
#include "gpu/ThreeDSetDlg.h"
#include "hwinfo/HardwareDlg.h"
#include "shortcuts/ShortCutSetDlg.h"
#include "skin/BigButton.h"
#include "skin/BmButton.h"
#include "skin/HListBtnBar.h"
#include "skin/SkinDialog.h"
#include "skin/UnUIButonList.h"

#include <array>

class CTalvaneDlg : public CSkinDialog {
  public:
    CTalvaneDlg();
    ~CTalvaneDlg() override;

    // ShowWindow on the main window (hiding it sends it to the tray).
    virtual void ShowMainWindow(int showCmd);

    bool pageChosen() const { return PageChosen; }
    CSkinSubDialog* currentPage() const { return CurrentPage; }

  protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(int id, int code, HWND control) override;

    // Presents the whole surface with UpdateLayeredWindow and per-pixel alpha.
    void PushLayer();
    void SelectPage(CSkinSubDialog* page, int list);
    void Navigate(int code);
    void OpenVendorSite();

  private:
    void LayOutControls();
    void CreatePages();
    void DistributeSurface();
    void OnPaintMinimised();
    std::array<CSkinSubDialog*, 6> Pages();
    std::array<CBmButton*, 5> Buttons();
    CBmButton* ButtonById(int id);

    // Members in construction order; destruction runs in reverse.
    CBmButton closeButton_;
    CBmButton minButton_;
    CBmButton defaultButton_;
    CBmButton applyButton_;
    CBmButton okButton_;
    CBigButton navCross_;
    CHListBtnBar buttonBar_;
    UnUIButonList itemList_;
    NoUITemprature indicator_;
    CDisplayDlg displayPage_;
    CHARDWAREDLG hardwarePage_;
    COverClockSetDlg overclockPage_;
    CShortCutSetDlg shortcutPage_;
    CShowQualityDlg qualityPage_;
    CThreeDSetDlg threeDPage_;
    fw::Icon icon_;
    bool PageChosen = false;
    CSkinSubDialog* CurrentPage = nullptr;
};
