#include "mainwindow/TalvaneDlg.h"

#include "mainwindow/ClockApplyGuard.h"
#include "mainwindow/VendorSite.h"
#include "options/SettingDlg.h"
#include "res/resource.h"
#include "settings/RunConfig.h"
#include "skin/AppMessages.h"
#include "skin/SkinImages.h"
#include "update/CheckGate.h"

namespace {

using skin::ItemListType;
using skin::NavigationCode;

constexpr UINT kAboutCommand = 16;
// Posted at the end of the initialisation: what the start screen does not show is made once the
// first frame is on screen. Posted messages come before input, so no click finds it undone.
constexpr UINT kFinishStart = WM_APP + 1;
constexpr const wchar_t* kStartScreenBackground = L"RbtnBack";
constexpr const wchar_t* kNavigationBackground = L"LeftBk_Res";
constexpr const wchar_t* kStartScreenPictures[] = {kStartScreenBackground, kNavigationBackground};
// The pictures the first page selection shows besides the buttons' faces, decoded while the
// start screen is up so that the first click does not wait for them.
constexpr const wchar_t* kPageScreenBackground = L"MainDlg_BKALL";
constexpr const wchar_t* kPageScreenPictures[] = {kPageScreenBackground, L"MAINDLG_BK_CLOCK_RES",
                                                  L"CLOCK_TIP"};

constexpr RECT kPageRect{503, 93, 503 + 268, 93 + 178};
constexpr RECT kItemListFrame{384, 80, 485, 270};
constexpr RECT kIndicatorRect{140, 75, 300, 250};

constexpr std::array<POINT, 4> kDefaultShape = {{{0, 25}, {12, 0}, {82, 0}, {82, 25}}};
constexpr std::array<POINT, 4> kApplyShape = {{{0, 25}, {0, 0}, {70, 0}, {82, 25}}};

void MoveControl(HWND control, int x, int y, int width, int height) {
    if (control != nullptr) {
        ::MoveWindow(control, x, y, width, height, FALSE);
    }
}

// Gives a control a polygon window region; the window owns the region once it is set.
void SetPolygonRegion(HWND control, const std::array<POINT, 4>& corners) {
    if (control == nullptr) {
        return;
    }
    fw::Region region(
        ::CreatePolygonRgn(corners.data(), static_cast<int>(corners.size()), WINDING));
    if (region && ::SetWindowRgn(control, region.get(), FALSE) != 0) {
        region.release();
    }
}

}  // namespace

const CTalvaneDlg::CommandButton CTalvaneDlg::kCommandButtons[5] = {
    {IDC_CLOSE_BUTTON,
     &CTalvaneDlg::closeButton_,
     {755, 55, 23, 19},
     {L"MainDlg_Close_N", L"MainDlg_Close_M", L"MainDlg_Close_D"},
     nullptr},
    {IDC_MIN_BUTTON,
     &CTalvaneDlg::minButton_,
     {730, 55, 23, 19},
     {L"MainDlg_Min_N", L"MainDlg_Min_M", L"MainDlg_Min_D"},
     nullptr},
    {IDC_DEFAULT_BUTTON,
     &CTalvaneDlg::defaultButton_,
     {423, 280, 82, 25},
     {L"MAINDLG_BTN_CLICK_DEFAULT", L"MAINDLG_BTN_CLICK_DEFAULT_M", L"MAINDLG_BTN_CLICK_DEFAULT_D"},
     &kDefaultShape},
    {IDC_APPLY_BUTTON,
     &CTalvaneDlg::applyButton_,
     {572, 280, 82, 25},
     {L"MAINDLG_BTN_CLICK_APPLY", L"MAINDLG_BTN_CLICK_APPLY_M", L"MAINDLG_BTN_CLICK_APPLY_D"},
     &kApplyShape},
    // The pressed face of OK is named without "CLICK".
    {IDC_OK_BUTTON,
     &CTalvaneDlg::okButton_,
     {507, 280, 63, 25},
     {L"MAINDLG_BTN_CLICK_OK", L"MAINDLG_BTN_CLICK_OK_M", L"MAINDLG_BTN_OK_D"},
     nullptr},
};

CTalvaneDlg::CTalvaneDlg()
    : CSkinDialog(IDD_MAIN),
      icon_(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP),
                                            IMAGE_ICON, 0, 0, LR_DEFAULTSIZE))) {}

CTalvaneDlg::~CTalvaneDlg() = default;

std::span<const wchar_t* const> CTalvaneDlg::StartScreenPictures() {
    return kStartScreenPictures;
}

std::array<CTalvaneDlg::PageEntry, 6> CTalvaneDlg::PageTable() {
    return {{
        {&overclockPage_, L"SUBBK3"},
        {&shortcutPage_, L"SUBBKSHORTCUT"},
        {&threeDPage_, L"SUBBK3"},
        {&hardwarePage_, L"SUBBKHARDWARE"},
        {&displayPage_, L"SUBBKQuality"},
        {&qualityPage_, L"SUBBK3"},
    }};
}

std::optional<CTalvaneDlg::PageRoute> CTalvaneDlg::RouteFor(NavigationCode code) {
    const PageRoute routes[] = {
        {NavigationCode::ShortcutPage, &shortcutPage_, ItemListType::ShortcutGroups},
        {NavigationCode::HardwarePage, &hardwarePage_, ItemListType::Hardware},
        {NavigationCode::OverclockPage, &overclockPage_, ItemListType::Overclock},
        {NavigationCode::ThreeDPage, &threeDPage_, ItemListType::ThreeDModes},
        {NavigationCode::DisplayPage, &displayPage_, ItemListType::Display},
        {NavigationCode::QualityPage, &qualityPage_, ItemListType::Quality},
    };
    for (const PageRoute& route : routes) {
        if (route.code == code) {
            return route;
        }
    }
    return std::nullopt;
}

void CTalvaneDlg::DoDataExchange() {
    for (const CommandButton& button : kCommandButtons) {
        BindControl(button.id, this->*button.member);
    }
    BindControl(IDC_NAV_CROSS, navCross_);
    BindControl(IDC_BUTTON_BAR, buttonBar_);
}

BOOL CTalvaneDlg::OnInitDialog() {
    HWND hwnd = GetSafeHwnd();
    // One presentation at the end, of the finished start screen, before the window is shown.
    HeldPresentation held(*this);
    background = FindSkinImage(kStartScreenBackground);
    CSkinDialog::OnInitDialog();  // binds the controls, sizes the window, draws the background

    ::SetWindowLongW(hwnd, GWL_EXSTYLE, ::GetWindowLongW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);

    wchar_t about[128] = {};
    if (::LoadStringW(::GetModuleHandleW(nullptr), IDS_ABOUTBOX, about, 128) > 0) {
        if (HMENU menu = ::GetSystemMenu(hwnd, FALSE)) {
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(menu, MF_STRING, kAboutCommand, about);
        }
    }
    ::SetWindowTextW(hwnd, L"Velmora");

    LayOutControls();
    ShowCommandButtons(PageChosen);
    DistributeSurface();
    ::PostMessageW(hwnd, kFinishStart, 0, 0);
    StartBackgroundDuties();
    // No focus yet: a focused control would activate the hidden window, a round trip to the
    // window that was active, before the first frame. The show activates it; the first control
    // gets the focus with the rest of the start.
    return FALSE;
}

void CTalvaneDlg::StartBackgroundDuties() {
    HWND hwnd = GetSafeHwnd();
    taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
    tray_.Attach(hwnd, icon_.get(), WM_APP_TRAY_NOTIFY);
    gauge_.Start(hwnd);
    switch (startMode_) {
        case StartMode::Normal:
            break;  // the icon comes with the rest of the start, once the first frame is shown
        case StartMode::Minimized:
            ::PostMessageW(hwnd, WM_APP_SHOW_STATE, 0, 1);
            tray_.StartRetry();
            break;
        case StartMode::TrayOnly:
            ::PostMessageW(hwnd, WM_APP_SHOW_STATE, 0, 0);
            tray_.StartRetry();
            break;
        case StartMode::ApplyAndExit:
            break;  // needs the pages: runs once they exist
    }
}

void CTalvaneDlg::OnFirstFrameShown() {
    HWND hwnd = GetSafeHwnd();
    if (::GetFocus() == hwnd) {
        ::SetFocus(::GetNextDlgTabItem(hwnd, nullptr, FALSE));
    }
    // Each icon is a conversion and a round trip to the display server; until now the window
    // showed its class's icon, the same picture.
    ::SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    ::SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
    FinishStart();
    // Each registration is a round trip to the display server too. Posted before any input, so
    // no key press finds them missing.
    hotkeys_.RegisterHotkeys(hwnd, g_runSettings.Hotkeys.Keys);
    // The start screen and the pages are made: the update check may have the machine.
    OpenUpdateCheckGate();
    if (startMode_ == StartMode::Normal) {
        // Adding the first icon makes the shell build its tray.
        tray_.Add();
    } else if (startMode_ == StartMode::ApplyAndExit) {
        ApplyAndExit();
    }
}

void CTalvaneDlg::ApplyAndExit() {
    FinishStart();
    const ClockApplyGuard guard;
    if (guard.Pending()) {
        // The last write of these clocks never returned: this start leaves the card alone.
        guard.Clear();
    } else {
        guard.Arm();
        const bool applied = overclockPage_.ApplySavedSettings();
        guard.Clear();
        if (applied) {
            overclockPage_.ShowAppliedMessage();
        }
    }
    threeDPage_.ApplyThreeD();
    OnOK();
}

bool CTalvaneDlg::OnTimer(UINT_PTR id) {
    if (!gauge_.OnTimer(id)) {
        tray_.OnTimer(id);
    }
    return false;  // every timer also gets default processing
}

bool CTalvaneDlg::OnHotKey(int id) {
    const hotkeys::Definition* entry = hotkeys::Find(id);
    if (entry == nullptr) {
        return true;
    }
    FinishStart();
    // Every step draws its part; the user sees the hotkey's result in one presentation (none
    // while the window is hidden).
    HeldPresentation held(*this);
    const hotkeys::Action& action = entry->action;
    switch (action.target) {
        case hotkeys::Target::QualityPreset:
            qualityPage_.ApplyPresetByShortcut(action.argument);
            break;
        case hotkeys::Target::ThreeDPreset:
            threeDPage_.ApplyModeByShortcut(action.argument);
            break;
        case hotkeys::Target::CoreClock:
        case hotkeys::Target::MemoryClock:
        case hotkeys::Target::FanSpeed:
            StepOverclockSlider(action);
            break;
    }
    return true;
}

void CTalvaneDlg::StepOverclockSlider(const hotkeys::Action& action) {
    COverClockSetDlg& page = overclockPage_;
    // The fan in automatic mode, or a slider whose range the driver never gave: the hotkey does
    // nothing at all.
    if (page.HotkeySlider(action.target) == nullptr) {
        return;
    }
    // A hidden page shows what the card runs when it is next shown; the steps start from there.
    if ((::GetWindowLongW(page.GetSafeHwnd(), GWL_STYLE) & WS_VISIBLE) == 0) {
        page.LoadFromHardware();
    }
    CHorizSlid* slider = page.HotkeySlider(action.target);
    if (slider == nullptr) {
        return;
    }
    for (int step = 0; step < action.argument; ++step) {
        slider->StepUp();
    }
    for (int step = 0; step > action.argument; --step) {
        slider->StepDown();
    }
    page.StoreAndApply();
}

void CTalvaneDlg::OnTrayNotify(LPARAM mouseMessage) {
    if (mouseMessage == WM_LBUTTONDBLCLK || mouseMessage == WM_RBUTTONDOWN) {
        ShowMainWindow(SW_RESTORE);
        ::SetForegroundWindow(GetSafeHwnd());
    }
}

void CTalvaneDlg::FinishStart() {
    if (pagesCreated_) {
        return;
    }
    pagesCreated_ = true;
    CreatePages();
    for (const PageEntry& entry : PageTable()) {
        entry.page->AttachSkin(&surface, FindSkinImage(entry.background));
    }
    for (const wchar_t* name : kPageScreenPictures) {
        DecodedSkinImage(FindSkinImage(name));
    }
    PrepareBackground(FindSkinImage(kPageScreenBackground));
    for (const CommandButton& entry : kCommandButtons) {
        DecodedSkinImage((this->*entry.member).normalImage);
    }
    // The pages' and their controls' pictures (the pages looked them up when they were made) are
    // decoded in the background while the start screen waits for the first click, so that no
    // page's first visit decodes them.
    PrefetchLookedUpSkinImages();
}

CTalvaneDlg::HeldPresentation::HeldPresentation(CTalvaneDlg& window) : window_(window) {
    ++window_.presentationHolds_;
}

CTalvaneDlg::HeldPresentation::~HeldPresentation() {
    if (--window_.presentationHolds_ == 0 && window_.presentationPending_) {
        window_.PushLayer();
    }
}

void CTalvaneDlg::LayOutControls() {
    MoveControl(navCross_.GetSafeHwnd(), 16, 120, 120, 82);
    MoveControl(buttonBar_.GetSafeHwnd(), 95, 260, 203, 67);
    for (const CommandButton& entry : kCommandButtons) {
        CBmButton& button = this->*entry.member;
        MoveControl(button.GetSafeHwnd(), entry.place.x, entry.place.y, entry.place.width,
                    entry.place.height);
        button.normalImage = FindSkinImage(entry.faces[0]);
        button.hoverImage = FindSkinImage(entry.faces[1]);
        button.pressedImage = FindSkinImage(entry.faces[2]);
        if (entry.shape != nullptr) {
            SetPolygonRegion(button.GetSafeHwnd(), *entry.shape);
        }
    }

    navCross_.background = FindSkinImage(kNavigationBackground);
    navCross_.highlight = FindSkinImage(L"ColorBk");
    navCross_.SetRegions({5, 5, 35, 80}, {85, 5, 119, 80}, {43, 5, 77, 38}, {43, 49, 77, 81});
    buttonBar_.background = FindSkinImage(kNavigationBackground);
    buttonBar_.highlight = FindSkinImage(L"ColorBk");

    itemList_.frame = kItemListFrame;
    indicator_.rect = kIndicatorRect;
    indicator_.owner = GetSafeHwnd();
}

void CTalvaneDlg::CreatePages() {
    for (const PageEntry& entry : PageTable()) {
        if (entry.page->Create(GetSafeHwnd())) {
            ::SetWindowPos(entry.page->GetSafeHwnd(), nullptr, kPageRect.left, kPageRect.top,
                           kPageRect.right - kPageRect.left, kPageRect.bottom - kPageRect.top,
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
        }
    }
}

void CTalvaneDlg::ShowCommandButtons(bool shown) {
    for (const CommandButton& entry : kCommandButtons) {
        (this->*entry.member).shown = shown;
    }
}

void CTalvaneDlg::DistributeSurface() {
    itemList_.surface = &surface;
    itemList_.background = background;
    itemList_.Draw();
    indicator_.surface = &surface;
    indicator_.background = background;
    indicator_.Redraw();
    buttonBar_.AttachSurface(&surface);
    navCross_.AttachSurface(&surface);
    for (const CommandButton& entry : kCommandButtons) {
        CBmButton& button = this->*entry.member;
        button.AttachSurface(&surface);
        button.Redraw();
    }
}

void CTalvaneDlg::SelectPage(CSkinSubDialog* page, ItemListType list) {
    // Every control redraws its part; the user sees the new page in one presentation.
    HeldPresentation held(*this);
    for (const PageEntry& entry : PageTable()) {
        entry.page->ShowPage(SW_HIDE);
    }
    CurrentPage = page;
    if (!PageChosen) {
        PageChosen = true;
        ShowCommandButtons(true);
        background = FindSkinImage(kPageScreenBackground);
        Gdiplus::Image* clockBackground = FindSkinImage(L"MAINDLG_BK_CLOCK_RES");
        navCross_.background = clockBackground;
        buttonBar_.background = clockBackground;
        ::InvalidateRect(navCross_.GetSafeHwnd(), nullptr, FALSE);
        ::InvalidateRect(buttonBar_.GetSafeHwnd(), nullptr, FALSE);
        indicator_.fullDisplay = true;
        DrawBackground();
        DistributeSurface();  // draws the gauge over the new background
    }
    page->ShowPage(SW_SHOW);
    itemList_.SetPage(static_cast<int>(list));
}

void CTalvaneDlg::Navigate(NavigationCode code) {
    FinishStart();
    if (const auto route = RouteFor(code)) {
        SelectPage(route->page, route->list);
        return;
    }
    switch (code) {
        case NavigationCode::VendorSite:
            OpenVendorSite();
            break;
        case NavigationCode::ResetHardware:
            // Hardware back to its defaults; the pages' own settings stay as they are.
            overclockPage_.OnRestoreDefault();
            qualityPage_.ResetDisplayColor();
            threeDPage_.OnRestoreDefault();
            break;
        case NavigationCode::Options: {
            SettingDlg options(GetSafeHwnd());
            options.DoModal();
            break;
        }
        default:
            break;
    }
}

void CTalvaneDlg::OpenVendorSite() {
    ::OpenVendorSite(kVendorSiteAddress);
}

void CTalvaneDlg::ShowMainWindow(int showCmd) {
    ::ShowWindow(GetSafeHwnd(), showCmd);
}

void CTalvaneDlg::PushLayer() {
    // Apply-and-exit never shows the window: no frame is ever presented.
    if (startMode_ == StartMode::ApplyAndExit) {
        return;
    }
    if (presentationHolds_ > 0) {
        presentationPending_ = true;
        return;
    }
    presentationPending_ = false;
    HWND hwnd = GetSafeHwnd();
    if (hwnd != nullptr && surface) {
        surface.PresentChanged(hwnd);
        ++presentations_;
    }
}

bool CTalvaneDlg::OnCommand(int id, int code, HWND control) {
    switch (id) {
        case IDC_DEFAULT_BUTTON:
            if (CurrentPage != nullptr) {
                CurrentPage->OnRestoreDefault();
            }
            return true;
        case IDC_APPLY_BUTTON:
            if (CurrentPage != nullptr) {
                CurrentPage->OnApplyPage();
            }
            return true;
        case IDC_OK_BUTTON:
            if (CurrentPage != nullptr) {
                CurrentPage->OnConfirm();
            }
            return true;
        case IDC_MIN_BUTTON:
            ShowMainWindow(SW_HIDE);  // to the tray, not the taskbar
            return true;
        case IDC_CLOSE_BUTTON:
            OnOK();
            return true;
        default:
            return CSkinDialog::OnCommand(id, code, control);
    }
}

bool CTalvaneDlg::OnLButtonDown(UINT keys, POINT point) {
    CSkinDialog::OnLButtonDown(keys, point);
    ::SendMessageW(GetSafeHwnd(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);  // drag the window
    return true;
}

bool CTalvaneDlg::OnSize(UINT, int width, int height) {
    Default();
    if (width != 0 && height != 0 && surface) {
        PushLayer();
    }
    return true;
}

bool CTalvaneDlg::OnPaint() {
    if (!::IsIconic(GetSafeHwnd())) {
        return CSkinDialog::OnPaint();
    }
    PaintMinimised();
    return true;
}

void CTalvaneDlg::PaintMinimised() {
    HWND hwnd = GetSafeHwnd();
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(hwnd, &paint);
    ::SendMessageW(hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    ::GetClientRect(hwnd, &client);
    const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, icon_.get());
    ::EndPaint(hwnd, &paint);
}

LRESULT CTalvaneDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The window-less item list sees every message first and consumes mouse input over items.
    if (itemList_.HandleMouseMessage(GetSafeHwnd(), msg, wParam, lParam) != 0) {
        return 1;
    }
    if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
        tray_.OnShellRestarted();
        return 0;
    }
    switch (msg) {
        case kFinishStart:
            OnFirstFrameShown();
            return 0;
        case WM_APP_TRAY_NOTIFY:
            OnTrayNotify(lParam);
            return 0;
        case WM_APP_HOTKEYS_CHANGED:
            hotkeys_.Reregister(g_runSettings.Hotkeys.Keys);
            return 0;
        case WM_DESTROY:
            tray_.Remove();
            break;
        case WM_SHOWWINDOW:
        case WM_DISPLAYCHANGE:
            // Whatever the system kept of the picture while the window was hidden or the
            // screen changed, the next presentation is whole.
            surface.MarkAllChanged();
            break;
        case WM_APP_NAVIGATE:
            if (skin::IsNavigationCode(static_cast<long long>(wParam))) {
                Navigate(static_cast<NavigationCode>(wParam));
            }
            return 0;
        case WM_APP_SELECT_ITEM:
            if (CurrentPage != nullptr) {
                CurrentPage->SelectItem(static_cast<int>(lParam));
            }
            return 0;
        case WM_APP_REFRESH_LAYER:
            PushLayer();
            return 1;
        case WM_APP_SHOW_STATE:
            if (lParam == 0) {
                ShowMainWindow(SW_HIDE);
            } else if (lParam == 1) {
                ShowMainWindow(SW_MINIMIZE);
            }
            return 1;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<LRESULT>(icon_.get());
        default:
            break;
    }
    return CSkinDialog::WindowProc(msg, wParam, lParam);
}
