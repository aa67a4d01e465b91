#include "options/SettingDlg.h"

#include "framework/ModuleEntry.h"
#include "options/AutoRun.h"
#include "options/core/AutoRunValue.h"
#include "res/resource.h"
#include "settings/RunConfig.h"
#include "skin/SkinImages.h"
#include "skin/SkinPaint.h"

namespace {

struct ButtonSpec {
    int id;
    int x, y, width, height;
    const wchar_t* normal;
    const wchar_t* hover;
    const wchar_t* pressed;
    const wchar_t* toggled;
};

// The nine buttons in the order of `buttons_`: OK, DELETE, X, the five start choices (0–4) and
// the exit-save check.
constexpr int kFirstModeButton = 3;
constexpr int kExitSaveButton = 8;
constexpr const wchar_t* kTick = L"Setdlg_BtnSel";
constexpr const wchar_t* kTickHover = L"Setdlg_Btn_M";
constexpr const wchar_t* kTickOff = L"Setdlg_UnBtnSel";
constexpr ButtonSpec kButtons[] = {
    {IDC_SETTINGS_OK, 20, 262, 98, 17, L"Setdlg_OK", L"Setdlg_OK_M", L"Setdlg_OK_D", nullptr},
    {IDC_SETTINGS_DELETE, 135, 262, 98, 17, L"Setdlg_DEL", L"Setdlg_DEL_M", L"Setdlg_DEL_D",
     nullptr},
    {IDC_SETTINGS_CLOSE, 230, 5, 20, 21, L"Setdlg_Close", L"Setdlg_Close_M", L"Setdlg_Close_M",
     nullptr},
    {IDC_START_NONE, 15, 71, 14, 14, kTick, kTickHover, kTickHover, kTickOff},
    {IDC_START_NORMAL, 15, 98, 14, 14, kTick, kTickHover, kTickHover, kTickOff},
    {IDC_START_MINIMISED, 15, 125, 14, 14, kTick, kTickHover, kTickHover, kTickOff},
    {IDC_START_TRAY, 15, 151, 14, 14, kTick, kTickHover, kTickHover, kTickOff},
    {IDC_START_APPLY_EXIT, 15, 177, 14, 14, kTick, kTickHover, kTickHover, kTickOff},
    {IDC_EXIT_SAVE, 15, 231, 14, 14, kTick, kTickHover, kTickHover, kTickOff},
};
static_assert(std::size(kButtons) == 9);
static_assert(kExitSaveButton - kFirstModeButton == options::kStartChoices);

using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

}  // namespace

SettingDlg::SettingDlg(HWND parent)
    : fw::CDialog(IDD_SETTINGS, parent), background_(FindSkinImage(L"Setdlg_BK")) {}

SettingDlg::~SettingDlg() {
    if (offscreen_ && originalBitmap_ != nullptr) {
        ::SelectObject(offscreen_.get(), originalBitmap_);
    }
}

CBmButton& SettingDlg::ModeButton(int mode) {
    return buttons_[static_cast<size_t>(kFirstModeButton + mode)];
}

CBmButton& SettingDlg::ExitSaveButton() {
    return buttons_[kExitSaveButton];
}

void SettingDlg::PreSubclassWindow() {
    fw::CDialog::PreSubclassWindow();
    HWND hwnd = GetSafeHwnd();
    RECT window{};
    ::GetWindowRect(hwnd, &window);
    {
        fw::WindowDc screen(hwnd);
        offscreen_.reset(::CreateCompatibleDC(screen.get()));
    }
    ResizeOffscreen(window.right - window.left, window.bottom - window.top);
    // Borderless, but still with a system menu and a minimise entry for the task bar.
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
    ::SetWindowLongPtrW(hwnd, GWL_STYLE, (style & ~WS_CAPTION) | WS_SYSMENU | WS_MINIMIZEBOX);
    ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void SettingDlg::ResizeOffscreen(int width, int height) {
    if (!offscreen_ || width <= 0 || height <= 0) {
        return;
    }
    fw::Bitmap bitmap;
    {
        fw::WindowDc screen(GetSafeHwnd());
        bitmap.reset(::CreateCompatibleBitmap(screen.get(), width, height));
    }
    if (!bitmap) {
        return;
    }
    HGDIOBJ previous = ::SelectObject(offscreen_.get(), bitmap.get());
    if (previous == nullptr || previous == HGDI_ERROR) {
        return;
    }
    if (originalBitmap_ == nullptr) {
        originalBitmap_ = previous;
    }
    offscreenBitmap_ = std::move(bitmap);  // the old bitmap is no longer selected anywhere
    const RECT all{0, 0, width, height};
    ::FillRect(offscreen_.get(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    Gdiplus::Graphics graphics(offscreen_.get());
    skin::DrawWholeImage(graphics, background_, 0, 0);
}

void SettingDlg::DoDataExchange() {
    for (size_t i = 0; i < buttons_.size(); ++i) {
        // A template without the control simply does not offer that choice.
        static_cast<void>(BindControl(kButtons[i].id, buttons_[i]));
    }
}

BOOL SettingDlg::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    HWND hwnd = GetSafeHwnd();
    if (skin::ImageStatusOk(background_)) {
        ::SetWindowPos(hwnd, nullptr, 0, 0, skin::ImageWidth(background_),
                       skin::ImageHeight(background_),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
        ResizeOffscreen(skin::ImageWidth(background_), skin::ImageHeight(background_));
    }
    MakeColourKeyed();
    PlaceButtons();

    startMode_ = g_runSettings.App.RunValue;
    saveOnExit_ = g_runSettings.App.ExitKeep;
    ShowChoices();
    return TRUE;
}

void SettingDlg::MakeColourKeyed() {
    HWND hwnd = GetSafeHwnd();
    const auto setAttributes = fw::LookUpEntry<SetLayeredWindowAttributesFn>(
        ::GetModuleHandleW(L"user32.dll"), "SetLayeredWindowAttributes");
    if (setAttributes == nullptr) {
        return;
    }
    ::SetWindowLongW(hwnd, GWL_EXSTYLE, ::GetWindowLongW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    setAttributes(hwnd, RGB(0, 0, 0), 255, LWA_COLORKEY);
}

void SettingDlg::PlaceButtons() {
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const ButtonSpec& layout = kButtons[i];
        CBmButton& button = buttons_[i];
        button.normalImage = FindSkinImage(layout.normal);
        button.hoverImage = FindSkinImage(layout.hover);
        button.pressedImage = FindSkinImage(layout.pressed);
        button.toggledImage = layout.toggled != nullptr ? FindSkinImage(layout.toggled) : nullptr;
        button.shown = true;
        if (HWND control = button.GetSafeHwnd()) {
            ::MoveWindow(control, layout.x, layout.y, layout.width, layout.height, FALSE);
        }
    }
}

void SettingDlg::ShowChoices() {
    for (int mode = 0; mode < options::kStartChoices; ++mode) {
        ModeButton(mode).toggled = mode == startMode_;
    }
    ExitSaveButton().toggled = saveOnExit_;
    for (CBmButton& button : buttons_) {
        if (HWND control = button.GetSafeHwnd()) {
            ::InvalidateRect(control, nullptr, FALSE);
        }
    }
}

void SettingDlg::ChooseStartMode(int mode) {
    startMode_ = mode;
    ShowChoices();
}

void SettingDlg::ToggleSaveOnExit() {
    saveOnExit_ = !saveOnExit_;
    ShowChoices();
}

bool SettingDlg::SetAutoRun(const std::wstring& programPath, std::wstring_view switchName) {
    return options::WriteAutoRun(programPath, switchName);
}

bool SettingDlg::RemoveAutoRun(const std::wstring& programPath) {
    return options::DeleteAutoRun(programPath);
}

std::optional<std::wstring> SettingDlg::ProgramPath() {
    return options::ExecutablePath();
}

void SettingDlg::SaveAndClose() {
    AppSettings& app = g_runSettings.App;
    const bool changed = app.RunValue != startMode_;
    bool ok = true;
    if (changed) {
        // A stored mode the dialog does not know is kept until a known one is chosen.
        const std::optional<std::wstring> path = ProgramPath();
        if (!path || !options::IsStartChoice(startMode_)) {
            ok = false;
        } else if (startMode_ == options::kNotStarted) {
            ok = RemoveAutoRun(*path);
        } else {
            ok = SetAutoRun(*path, options::StartSwitch(startMode_));
        }
    }
    if (ok) {
        app.RunValue = startMode_;
    }
    app.ExitKeep = saveOnExit_;
    SaveAppSettings();
    EndDialog(IDOK);
}

bool SettingDlg::OnCommand(int id, int code, HWND control) {
    if (code != BN_CLICKED || control == nullptr) {
        return fw::CDialog::OnCommand(id, code, control);
    }
    switch (id) {
        case IDC_SETTINGS_OK:
            SaveAndClose();
            return true;
        case IDC_SETTINGS_DELETE:
            EndDialog(IDCANCEL);
            return true;
        case IDC_SETTINGS_CLOSE:
            EndDialog(IDOK);
            return true;
        case IDC_EXIT_SAVE:
            ToggleSaveOnExit();
            return true;
        default:
            if (id >= IDC_START_NONE && id <= IDC_START_APPLY_EXIT) {
                ChooseStartMode(id - IDC_START_NONE);
                return true;
            }
            return fw::CDialog::OnCommand(id, code, control);
    }
}

BOOL SettingDlg::PreTranslateMessage(MSG* msg) {
    // Neither Enter nor Esc closes the dialog: only its own buttons do.
    if (msg != nullptr && msg->message == WM_KEYDOWN &&
        (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) {
        return TRUE;
    }
    return fw::CDialog::PreTranslateMessage(msg);
}

bool SettingDlg::OnPaint() {
    HWND hwnd = GetSafeHwnd();
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(hwnd, &paint);
    if (dc != nullptr && offscreen_) {
        RECT client{};
        ::GetClientRect(hwnd, &client);
        ::BitBlt(dc, 0, 0, client.right, client.bottom, offscreen_.get(), 0, 0, SRCCOPY);
    }
    ::EndPaint(hwnd, &paint);
    return true;
}

bool SettingDlg::OnSize(UINT, int width, int height) {
    if (width == 0 || height == 0 || !offscreen_ ||
        (width == lastSize_.cx && height == lastSize_.cy)) {
        return false;
    }
    lastSize_ = {width, height};
    ResizeOffscreen(width, height);
    ::InvalidateRect(GetSafeHwnd(), nullptr, FALSE);
    return false;
}

bool SettingDlg::OnLButtonDown(UINT, POINT) {
    Default();
    // The dialog has no caption: a press anywhere drags it.
    ::SendMessageW(GetSafeHwnd(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    return true;
}

bool SettingDlg::OnEraseBkgnd(HDC) {
    return true;
}
