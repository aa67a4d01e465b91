// The main window: a borderless 800 x 328 layered dialog that holds the six pages, the navigation
// cross, the button bar, the item list, the gauge and the page command buttons. Everything is
// composed off-screen in the skinned base's surface and pushed to the screen with per-pixel alpha.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <optional>

#include "mainwindow/core/StartMode.h"
#include "display/DisplayDlg.h"
#include "display/ShowQualityDlg.h"
#include "framework/Handles.h"
#include "gpu/DriverScope.h"
#include "gpu/NoUITemprature.h"
#include "gpu/OverClockSetDlg.h"
#include "gpu/ThreeDSetDlg.h"
#include "hwinfo/HardwareDlg.h"
#include "mainwindow/GaugeFeed.h"
#include "mainwindow/HotkeyRegistration.h"
#include "mainwindow/TrayIcon.h"
#include "shortcuts/ShortCutSetDlg.h"
#include "skin/BigButton.h"
#include "skin/BmButton.h"
#include "skin/HListBtnBar.h"
#include "skin/SkinDialog.h"
#include "skin/UnUIButonList.h"
#include "skin/core/ItemListLayout.h"
#include "skin/core/NavigationCode.h"

class CTalvaneDlg : public CSkinDialog {
  public:
    CTalvaneDlg();
    ~CTalvaneDlg() override;

    // The pictures the start screen shows (its background and the navigation's).
    static std::span<const wchar_t* const> StartScreenPictures();

    // ShowWindow on the main window (hiding it sends it to the tray).
    virtual void ShowMainWindow(int showCmd);

    // How the process was started; read at the end of the initialisation. Apply-and-exit runs
    // without the window ever being shown.
    void SetStartMode(StartMode mode) {
        startMode_ = mode;
        KeepHidden(mode == StartMode::ApplyAndExit);
    }

    bool pageChosen() const { return PageChosen; }
    // What loading the driver libraries found (the application says when nothing loaded).
    const DriverLoad& driverLoad() const { return drivers_.load(); }
    CSkinSubDialog* currentPage() const { return CurrentPage; }

  protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(int id, int code, HWND control) override;
    // Default processing and the focus, then the whole window drags.
    bool OnLButtonDown(UINT keys, POINT point) override;
    bool OnSize(UINT type, int width, int height) override;
    // Minimised: the icon; otherwise the skinned base's painting.
    bool OnPaint() override;
    // The gauge's two readings and the tray icon's retry.
    bool OnTimer(UINT_PTR id) override;
    // The shared hotkey table's action for the identifier, also while the window is hidden.
    bool OnHotKey(int id) override;

    // For tests: the tray icon, the hotkeys, the overclocking page the hotkeys step and the
    // hardware page whose collector calls the driver from its own thread.
    TrayIcon& trayIcon() { return tray_; }
    const HotkeyRegistration& hotkeys() const { return hotkeys_; }
    COverClockSetDlg& overclockPage() { return overclockPage_; }
    const CHARDWAREDLG& hardwarePage() const { return hardwarePage_; }
    const NoUITemprature& indicator() const { return indicator_; }

    // Presents the surface with per-pixel alpha: the part the drawings since the last
    // presentation changed, or all of it.
    void PushLayer();
    // How many times the surface was presented (tests and benchmarks count per user action).
    std::uint64_t presentations() const { return presentations_; }
    // Shows the page and its item list; the first selection also leaves the start screen.
    void SelectPage(CSkinSubDialog* page, skin::ItemListType list);
    void Navigate(skin::NavigationCode code);
    void OpenVendorSite();

  private:
    struct Placement {
        int x, y, width, height;
    };
    // One of the five buttons of the window: its template control, place and faces (normal,
    // mouse-over, pressed), and for Default and Apply the slanted outline of its window region.
    struct CommandButton {
        int id;
        CBmButton CTalvaneDlg::*member;
        Placement place;
        const wchar_t* faces[3];
        const std::array<POINT, 4>* shape;
    };
    static const CommandButton kCommandButtons[5];

    // A page, in the order the pages are created, with its background.
    struct PageEntry {
        CSkinSubDialog* page;
        const wchar_t* background;
    };
    std::array<PageEntry, 6> PageTable();
    // The page and item list a navigation code selects; nothing for the other codes.
    struct PageRoute {
        skin::NavigationCode code;
        CSkinSubDialog* page;
        skin::ItemListType list;
    };
    std::optional<PageRoute> RouteFor(skin::NavigationCode code);

    // Holds the presentation while one step composes a whole frame: the controls' refresh
    // requests only mark the surface, and the outermost hold presents it once at its end.
    class HeldPresentation {
      public:
        explicit HeldPresentation(CTalvaneDlg& window);
        ~HeldPresentation();
        HeldPresentation(const HeldPresentation&) = delete;
        HeldPresentation& operator=(const HeldPresentation&) = delete;

      private:
        CTalvaneDlg& window_;
    };

    void LayOutControls();
    // The rest of the start once the first frame is on screen (also run first by anything that
    // needs the pages before then): the six pages, created hidden and given the surface, the
    // page screen's pictures decoded and every other picture queued for the background. Runs
    // once.
    void FinishStart();
    void CreatePages();
    void DistributeSurface();
    void ShowCommandButtons(bool shown);
    void PaintMinimised();

    // The tray icon's window, the gauge's timers and what the start mode does at once.
    void StartBackgroundDuties();
    // What the start screen does not need, once its first frame is on screen.
    void OnFirstFrameShown();
    // The saved clocks and 3D mode to the hardware, then the end of the run.
    void ApplyAndExit();
    // Steps one overclocking slider as a hotkey asks, then applies the page without a message.
    void StepOverclockSlider(const hotkeys::Action& action);
    void OnTrayNotify(LPARAM mouseMessage);

    // Members in construction order; destruction runs in reverse. The driver libraries are bound
    // before any page exists and released after the last page is gone.
    DriverScope drivers_;
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
    CThreeDSetDlg threeDPage_{&SetGammaRamp};
    fw::Icon icon_;
    TrayIcon tray_;
    GaugeFeed gauge_{indicator_, &tray_};
    HotkeyRegistration hotkeys_;
    StartMode startMode_ = StartMode::Normal;
    // The shell's broadcast after it (re)started; 0 when it could not be registered.
    UINT taskbarCreated_ = 0;
    bool PageChosen = false;
    CSkinSubDialog* CurrentPage = nullptr;
    bool pagesCreated_ = false;
    int presentationHolds_ = 0;
    bool presentationPending_ = false;
    std::uint64_t presentations_ = 0;
};
