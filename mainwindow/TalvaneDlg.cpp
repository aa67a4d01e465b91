#include "mainwindow/TalvaneDlg.h"

#include "gpu/DriverBinding.h"
#include "mainwindow/VendorSite.h"
#include "options/SettingDlg.h"
#include "res/resource.h"
#include "skin/AppMessages.h"
#include "skin/SkinImages.h"

namespace {

constexpr UINT kAboutCommand = 16;
constexpr RECT kPageRect{503, 93, 503 + 268, 93 + 178};
constexpr RECT kItemListFrame{384, 80, 485, 270};
constexpr RECT kIndicatorRect{140, 75, 300, 250};

// The item list each navigation shows.
enum ItemList {
    kListOverclock = 1,
    kListNavigation = 2,
    kListThreeD = 3,
    kListHardware = 4,
    kListDisplay = 5,
    kListQuality = 6
};

struct ButtonLayout {
    int id;
    int x, y, width, height;
    const wchar_t* normal;
    const wchar_t* hover;
    const wchar_t* pressed;
};

constexpr ButtonLayout kButtonLayout[] = {
    {IDC_MIN_BUTTON, 730, 55, 23, 19, L"MainDlg_Min_N", L"MainDlg_Min_M", L"MainDlg_Min_D"},
    {IDC_CLOSE_BUTTON, 755, 55, 23, 19, L"MainDlg_Close_N", L"MainDlg_Close_M", L"MainDlg_Close_D"},
    {IDC_DEFAULT_BUTTON, 423, 280, 82, 25, L"MAINDLG_BTN_CLICK_DEFAULT",
     L"MAINDLG_BTN_CLICK_DEFAULT_M", L"MAINDLG_BTN_CLICK_DEFAULT_D"},
    {IDC_OK_BUTTON, 507, 280, 63, 25, L"MAINDLG_BTN_CLICK_OK", L"MAINDLG_BTN_CLICK_OK_M",
     L"MAINDLG_BTN_OK_D"},
    {IDC_APPLY_BUTTON, 572, 280, 82, 25, L"MAINDLG_BTN_CLICK_APPLY", L"MAINDLG_BTN_CLICK_APPLY_M",
     L"MAINDLG_BTN_CLICK_APPLY_D"},
};

void MoveControl(HWND dialog, int id, int x, int y, int width, int height) {
    if (HWND control = ::GetDlgItem(dialog, id)) {
        ::MoveWindow(control, x, y, width, height, FALSE);
    }
}

// Gives a button a polygon window region; the window owns the region once it is set.
void SetPolygonRegion(HWND dialog, int id, const POINT* corners, int count) {
    HWND control = ::GetDlgItem(dialog, id);
    if (control == nullptr) {
        return;
    }
    fw::Region region(::CreatePolygonRgn(corners, count, WINDING));
    if (region && ::SetWindowRgn(control, region.get(), FALSE) != 0) {
        region.release();
    }
}

}  // namespace

CTalvaneDlg::CTalvaneDlg() : CSkinDialog(IDD_MAIN) {
    icon_.reset(static_cast<HICON>(::LoadImageW(
        ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    DriverBinding::LoadDriverLibraries();
}

CTalvaneDlg::~CTalvaneDlg() {
    DriverBinding::ReleaseDriverLibraries();
}

std::array<CSkinSubDialog*, 6> CTalvaneDlg::Pages() {
    // The order in which the pages are created and hidden.
    return {&overclockPage_, &shortcutPage_, &threeDPage_,
            &hardwarePage_,  &displayPage_,  &qualityPage_};
}

CBmButton* CTalvaneDlg::ButtonById(int id) {
    switch (id) {
        case IDC_CLOSE_BUTTON:
            return &closeButton_;
        case IDC_MIN_BUTTON:
            return &minButton_;
        case IDC_DEFAULT_BUTTON:
            return &defaultButton_;
        case IDC_APPLY_BUTTON:
            return &applyButton_;
        case IDC_OK_BUTTON:
            return &okButton_;
        default:
            return nullptr;
    }
}

std::array<CBmButton*, 5> CTalvaneDlg::Buttons() {
    return {&closeButton_, &minButton_, &defaultButton_, &applyButton_, &okButton_};
}

void CTalvaneDlg::DoDataExchange() {
    BindControl(IDC_CLOSE_BUTTON, closeButton_);
    BindControl(IDC_MIN_BUTTON, minButton_);
    BindControl(IDC_DEFAULT_BUTTON, defaultButton_);
    BindControl(IDC_APPLY_BUTTON, applyButton_);
    BindControl(IDC_OK_BUTTON, okButton_);
    BindControl(IDC_NAV_CROSS, navCross_);
    BindControl(IDC_BUTTON_BAR, buttonBar_);
}

BOOL CTalvaneDlg::OnInitDialog() {
    HWND hwnd = GetSafeHwnd();
    background = FindSkinImage(L"RbtnBack");
    CSkinDialog::OnInitDialog();  // binds the controls, sizes the window, draws the background

    ::SetWindowLongW(hwnd, GWL_EXSTYLE, ::GetWindowLongW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);

    wchar_t about[128] = {};
    if (::LoadStringW(::GetModuleHandleW(nullptr), IDS_ABOUTBOX, about, 128) > 0) {
        if (HMENU menu = ::GetSystemMenu(hwnd, FALSE)) {
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(menu, MF_STRING, kAboutCommand, about);
        }
    }
    ::SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    ::SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
    ::SetWindowTextW(hwnd, L"Velmora");

    PushLayer();
    LayOutControls();
    CreatePages();
    for (CBmButton* button : Buttons()) {
        button->shown = PageChosen;
    }
    DistributeSurface();
    return TRUE;
}

void CTalvaneDlg::LayOutControls() {
    HWND hwnd = GetSafeHwnd();
    MoveControl(hwnd, IDC_NAV_CROSS, 16, 120, 120, 82);
    MoveControl(hwnd, IDC_BUTTON_BAR, 95, 260, 203, 67);
    for (const ButtonLayout& layout : kButtonLayout) {
        MoveControl(hwnd, layout.id, layout.x, layout.y, layout.width, layout.height);
        if (CBmButton* button = ButtonById(layout.id)) {
            button->normalImage = FindSkinImage(layout.normal);
            button->hoverImage = FindSkinImage(layout.hover);
            button->pressedImage = FindSkinImage(layout.pressed);
        }
    }

    navCross_.background = FindSkinImage(L"LeftBk_Res");
    navCross_.highlight = FindSkinImage(L"ColorBk");
    navCross_.SetRegions({5, 5, 35, 80}, {85, 5, 119, 80}, {43, 5, 77, 38}, {43, 49, 77, 81});
    buttonBar_.background = FindSkinImage(L"LeftBk_Res");
    buttonBar_.highlight = FindSkinImage(L"ColorBk");

    const POINT defaultShape[] = {{0, 25}, {12, 0}, {82, 0}, {82, 25}};  // slanted left edge
    const POINT applyShape[] = {{0, 25}, {0, 0}, {70, 0}, {82, 25}};     // slanted right edge
    SetPolygonRegion(hwnd, IDC_DEFAULT_BUTTON, defaultShape, 4);
    SetPolygonRegion(hwnd, IDC_APPLY_BUTTON, applyShape, 4);

    itemList_.frame = kItemListFrame;
    indicator_.rect = kIndicatorRect;
    indicator_.owner = hwnd;
}

void CTalvaneDlg::CreatePages() {
    for (CSkinSubDialog* page : Pages()) {
        if (page->Create(GetSafeHwnd())) {
            ::SetWindowPos(page->GetSafeHwnd(), nullptr, kPageRect.left, kPageRect.top,
                           kPageRect.right - kPageRect.left, kPageRect.bottom - kPageRect.top,
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
        }
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
    for (CBmButton* button : Buttons()) {
        button->AttachSurface(&surface);
        button->Redraw();
    }
    displayPage_.AttachSkin(&surface, FindSkinImage(L"SUBBKQuality"));
    hardwarePage_.AttachSkin(&surface, FindSkinImage(L"SUBBKHARDWARE"));
    overclockPage_.AttachSkin(&surface, FindSkinImage(L"SUBBK3"));
    shortcutPage_.AttachSkin(&surface, FindSkinImage(L"SUBBKSHORTCUT"));
    qualityPage_.AttachSkin(&surface, FindSkinImage(L"SUBBK3"));
    threeDPage_.AttachSkin(&surface, FindSkinImage(L"SUBBK3"));
}

void CTalvaneDlg::SelectPage(CSkinSubDialog* page, int list) {
    for (CSkinSubDialog* each : Pages()) {
        each->ShowPage(SW_HIDE);
    }
    CurrentPage = page;
    if (!PageChosen) {
        PageChosen = true;
        for (CBmButton* button : Buttons()) {
            button->shown = true;
        }
        background = FindSkinImage(L"MainDlg_BKALL");
        Gdiplus::Image* clockBackground = FindSkinImage(L"MAINDLG_BK_CLOCK_RES");
        navCross_.background = clockBackground;
        buttonBar_.background = clockBackground;
        ::InvalidateRect(navCross_.GetSafeHwnd(), nullptr, FALSE);
        ::InvalidateRect(buttonBar_.GetSafeHwnd(), nullptr, FALSE);
        indicator_.fullDisplay = true;
        indicator_.Redraw();
        DrawBackground();
        DistributeSurface();
    }
    page->ShowPage(SW_SHOW);
    itemList_.SetPage(list);
}

void CTalvaneDlg::Navigate(int code) {
    switch (code) {
        case 1:
            SelectPage(&shortcutPage_, kListNavigation);
            break;
        case 2:
            SelectPage(&hardwarePage_, kListHardware);
            break;
        case 3:
            SelectPage(&overclockPage_, kListOverclock);
            break;
        case 4:
            SelectPage(&threeDPage_, kListThreeD);
            break;
        case 5:
            OpenVendorSite();
            break;
        case 6:
            // Hardware back to its defaults; the pages' own settings stay as they are.
            overclockPage_.OnRestoreDefault();
            qualityPage_.ResetDisplayColor();
            threeDPage_.OnRestoreDefault();
            break;
        case 7: {
            SettingDlg options(GetSafeHwnd());
            options.DoModal();
            break;
        }
        case 8:
            SelectPage(&displayPage_, kListDisplay);
            break;
        case 9:
            SelectPage(&qualityPage_, kListQuality);
            break;
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
    HWND hwnd = GetSafeHwnd();
    if (hwnd != nullptr && surface) {
        surface.PresentLayered(hwnd);
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

void CTalvaneDlg::OnPaintMinimised() {
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
    HWND hwnd = GetSafeHwnd();
    // The window-less item list sees every message first and consumes mouse input over items.
    if (itemList_.HandleMouseMessage(hwnd, msg, wParam, lParam) != 0) {
        return 1;
    }
    switch (msg) {
        case WM_APP_NAVIGATE:
            Navigate(static_cast<int>(wParam));
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
        case WM_LBUTTONDOWN:
            DefWindowProc(msg, wParam, lParam);
            ::SetFocus(hwnd);
            ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);  // drag the window
            return 0;
        case WM_SIZE: {
            LRESULT result = DefWindowProc(msg, wParam, lParam);
            if (LOWORD(lParam) != 0 && HIWORD(lParam) != 0 && surface) {
                PushLayer();
            }
            return result;
        }
        case WM_PAINT:
            if (::IsIconic(hwnd)) {
                OnPaintMinimised();
                return 0;
            }
            break;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<LRESULT>(icon_.get());
        default:
            break;
    }
    return CSkinDialog::WindowProc(msg, wParam, lParam);
}
