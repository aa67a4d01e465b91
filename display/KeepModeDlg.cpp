#include "display/KeepModeDlg.h"

#include <iterator>
#include <string>
#include <utility>

#include "res/resource.h"
#include "skin/SkinImages.h"
#include "skin/SkinPaint.h"
#include "skin/core/ButtonFace.h"

using display::KeepButton;

namespace {

constexpr wchar_t kFontFamily[] = L"微软雅黑";
constexpr wchar_t kQuestion[] = L"保留这些显示设置？";
constexpr Gdiplus::REAL kQuestionPx = 15.0f;
constexpr Gdiplus::REAL kCountdownPx = 12.0f;
constexpr Gdiplus::ARGB kQuestionColour = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kCountdownColour = 0xFFB7BBC3;

// The question's window class: the system's dialog class under a name of its own, so that it
// can be told apart from message boxes.
bool RegisterKeepModeClass() {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (::GetClassInfoExW(instance, CKeepModeDlg::kWindowClass, &wc)) {
        return true;
    }
    if (!::GetClassInfoExW(nullptr, WC_DIALOG, &wc)) {
        return false;
    }
    wc.cbSize = sizeof(wc);
    wc.hInstance = instance;
    wc.lpszClassName = CKeepModeDlg::kWindowClass;
    return ::RegisterClassExW(&wc) != 0;
}

// The question being asked on this thread, for the keyboard hook.
thread_local HWND t_asking = nullptr;

LRESULT CALLBACK AnswerNoOnEscape(int code, WPARAM key, LPARAM flags) {
    const bool goingDown = (HIWORD(flags) & KF_UP) == 0;
    if (code == HC_ACTION && key == VK_ESCAPE && goingDown && t_asking != nullptr) {
        ::PostMessageW(t_asking, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return 1;  // the key is used up
    }
    return ::CallNextHookEx(nullptr, code, key, flags);
}

display::KeepBox BoxOf(KeepButton button) {
    return button == KeepButton::Keep ? display::kKeepButton : display::kRevertButton;
}

}  // namespace

CKeepModeDlg::CKeepModeDlg(HWND owner, unsigned durationMs)
    : fw::CDialog(IDD_KEEP_MODE, owner),
      durationMs_(durationMs),
      background_(FindSkinImage(L"ModeKeep_BK")),
      keepFaces_{FindSkinImage(L"ModeKeep_OK"), FindSkinImage(L"ModeKeep_OK_M"),
                 FindSkinImage(L"ModeKeep_OK_D")},
      revertFaces_{FindSkinImage(L"ModeKeep_Back"), FindSkinImage(L"ModeKeep_Back_M"),
                   FindSkinImage(L"ModeKeep_Back_D")} {}

bool CKeepModeDlg::AskToKeep() {
    return RegisterKeepModeClass() && DoModal() == IDOK;
}

void CKeepModeDlg::PreSubclassWindow() {
    fw::CDialog::PreSubclassWindow();
    surface_.Create(GetSafeHwnd());
}

BOOL CKeepModeDlg::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    HWND hwnd = GetSafeHwnd();
    ::SetWindowTextW(hwnd, kQuestion);
    // Centred on the screen as the new mode shows it.
    const display::KeepOrigin origin = display::CentredKeepOrigin(::GetSystemMetrics(SM_CXSCREEN),
                                                                  ::GetSystemMetrics(SM_CYSCREEN));
    ::SetWindowPos(hwnd, HWND_TOPMOST, origin.x, origin.y, display::kKeepWidth,
                   display::kKeepHeight, SWP_NOACTIVATE);
    startedAt_ = ::GetTickCount64();
    ::SetTimer(hwnd, kTimerCountdown, kTickMs, nullptr);
    t_asking = hwnd;
    escapeHook_.reset(
        ::SetWindowsHookExW(WH_KEYBOARD, &AnswerNoOnEscape, nullptr, ::GetCurrentThreadId()));
    Draw();
    ::ShowWindow(hwnd, SW_SHOWNA);
    // FALSE: no default focus, which would activate the window.
    return FALSE;
}

LRESULT CKeepModeDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_MOUSEACTIVATE) {
        return MA_NOACTIVATE;  // a click answers without taking the activation
    }
    return fw::CDialog::WindowProc(msg, wParam, lParam);
}

BOOL CKeepModeDlg::PreTranslateMessage(MSG* msg) {
    if (EndWhenTimeIsUp()) {
        return FALSE;
    }
    if (msg != nullptr && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) &&
        msg->wParam == VK_ESCAPE) {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    return fw::CDialog::PreTranslateMessage(msg);
}

bool CKeepModeDlg::EndWhenTimeIsUp() {
    if (!IsModalRunning() || ::GetTickCount64() - startedAt_ < durationMs_) {
        return false;
    }
    EndDialog(IDCANCEL);
    return true;
}

bool CKeepModeDlg::OnTimer(UINT_PTR id) {
    if (id != kTimerCountdown) {
        return false;
    }
    if (!EndWhenTimeIsUp() &&
        display::SecondsLeft(::GetTickCount64() - startedAt_, durationMs_) != secondsShown_) {
        Draw();
    }
    return true;
}

void CKeepModeDlg::SetHover(KeepButton button) {
    if (hover_ != button) {
        hover_ = button;
        Draw();
    }
}

bool CKeepModeDlg::OnMouseMove(UINT, POINT point) {
    SetHover(display::KeepButtonAt(point.x, point.y));
    if (!tracking_) {
        tracking_ = TrackMouseHoverAndLeave() != FALSE;
    }
    return true;
}

bool CKeepModeDlg::OnMouseLeave() {
    tracking_ = false;
    SetHover(KeepButton::None);
    return true;
}

bool CKeepModeDlg::OnLButtonDown(UINT, POINT point) {
    pressed_ = display::KeepButtonAt(point.x, point.y);
    if (pressed_ != KeepButton::None) {
        ::SetCapture(GetSafeHwnd());
    }
    Draw();
    return true;
}

bool CKeepModeDlg::OnLButtonUp(UINT, POINT point) {
    const KeepButton released = std::exchange(pressed_, KeepButton::None);
    if (::GetCapture() == GetSafeHwnd()) {
        ::ReleaseCapture();
    }
    Draw();
    // A button answers when the press both began and ended on it.
    if (released != KeepButton::None && released == display::KeepButtonAt(point.x, point.y)) {
        EndDialog(released == KeepButton::Keep ? IDOK : IDCANCEL);
    }
    return true;
}

bool CKeepModeDlg::OnCaptureChanged(HWND gaining) {
    if (gaining != GetSafeHwnd() && pressed_ != KeepButton::None) {
        pressed_ = KeepButton::None;
        Draw();
    }
    return true;
}

bool CKeepModeDlg::OnPaint() {
    // The window shows its surface through the layered path; a paint only needs validating.
    PAINTSTRUCT paint;
    ::BeginPaint(GetSafeHwnd(), &paint);
    ::EndPaint(GetSafeHwnd(), &paint);
    return true;
}

bool CKeepModeDlg::OnEraseBkgnd(HDC) {
    return true;
}

void CKeepModeDlg::PostNcDestroy() {
    escapeHook_.reset();
    t_asking = nullptr;
}

void CKeepModeDlg::DrawButton(Gdiplus::Graphics& graphics, KeepButton button) const {
    const Faces& faces = button == KeepButton::Keep ? keepFaces_ : revertFaces_;
    const skin::ButtonState state{false, false, pressed_ == button, hover_ == button};
    Gdiplus::Image* image = faces.normal;
    switch (skin::ChooseButtonFace(state, faces.pressed != nullptr)) {
        case skin::ButtonFace::Pressed:
            image = faces.pressed;
            break;
        case skin::ButtonFace::Hover:
            image = faces.hover;
            break;
        default:
            break;
    }
    const display::KeepBox box = BoxOf(button);
    skin::DrawImageAt(graphics, image, box.x, box.y, box.width, box.height);
}

void CKeepModeDlg::Draw() {
    HDC dc = surface_.GetDC();
    if (dc == nullptr) {
        return;
    }
    secondsShown_ = display::SecondsLeft(::GetTickCount64() - startedAt_, durationMs_);
    surface_.Clear({0, 0, display::kKeepWidth, display::kKeepHeight});
    {
        Gdiplus::Graphics graphics(dc);
        skin::DrawWholeImage(graphics, background_, 0, 0);
        DrawButton(graphics, KeepButton::Keep);
        DrawButton(graphics, KeepButton::Revert);
        Gdiplus::FontFamily family(kFontFamily);
        Gdiplus::Font question(&family, kQuestionPx, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
        Gdiplus::Font countdown(&family, kCountdownPx, Gdiplus::FontStyleRegular,
                                Gdiplus::UnitPixel);
        Gdiplus::SolidBrush white{Gdiplus::Color{kQuestionColour}};
        Gdiplus::SolidBrush grey{Gdiplus::Color{kCountdownColour}};
        skin::DrawTextAt(graphics, kQuestion, static_cast<int>(std::size(kQuestion)) - 1, question,
                         white, display::kTextLeft, display::kQuestionTop);
        const std::wstring left = display::CountdownText(secondsShown_);
        skin::DrawTextAt(graphics, left.c_str(), static_cast<int>(left.size()), countdown, grey,
                         display::kTextLeft, display::kCountdownTop);
    }
    surface_.PresentLayered(GetSafeHwnd());
}
