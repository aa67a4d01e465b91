#include "framework/Wnd.h"

namespace fw {
namespace {

constexpr wchar_t kBindingProperty[] = L"Velmora.CWnd";

}  // namespace

CWnd::~CWnd() {
    const bool ownWindow = !subclassed_;
    HWND hwnd = UnsubclassWindow();
    // A window this object created must not outlive it; subclassed ones belong to their owner.
    if (ownWindow && hwnd != nullptr) {
        ::DestroyWindow(hwnd);
    }
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (hwnd == nullptr) {
        return nullptr;
    }
    return static_cast<CWnd*>(::GetPropW(hwnd, kBindingProperty));
}

void CWnd::Attach(HWND hwnd, WNDPROC superProc) {
    hwnd_ = hwnd;
    superProc_ = superProc;
    ::SetPropW(hwnd, kBindingProperty, this);
}

void CWnd::Detach() {
    if (hwnd_ != nullptr) {
        ::RemovePropW(hwnd_, kBindingProperty);
    }
    hwnd_ = nullptr;
    superProc_ = nullptr;
    subclassed_ = false;
}

bool CWnd::SubclassWindow(HWND hwnd) {
    if (hwnd == nullptr || hwnd_ != nullptr || FromHandle(hwnd) != nullptr) {
        return false;
    }
    auto previous = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    Attach(hwnd, previous);
    PreSubclassWindow();
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWndProc));
    subclassed_ = true;
    return true;
}

bool CWnd::SubclassDlgItem(int id, HWND parent) {
    return SubclassWindow(::GetDlgItem(parent, id));
}

HWND CWnd::UnsubclassWindow() {
    HWND hwnd = hwnd_;
    if (hwnd == nullptr) {
        return nullptr;
    }
    // Only put the old procedure back if nobody subclassed the window after us.
    auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    if (subclassed_ && current == &CWnd::StaticWndProc && superProc_ != nullptr) {
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(superProc_));
    }
    Detach();
    return hwnd;
}

ATOM CWnd::RegisterWindowClass(const wchar_t* className, UINT style, HBRUSH background) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = &CWnd::StaticWndProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return ::RegisterClassExW(&wc);
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    const RECT& rect, HWND parent, UINT_PTR id) {
    if (hwnd_ != nullptr) {
        return false;
    }
    HWND hwnd = ::CreateWindowExW(exStyle, className, title, style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent,
                                  reinterpret_cast<HMENU>(id), ::GetModuleHandleW(nullptr), this);
    return hwnd != nullptr && hwnd == hwnd_;
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

BOOL CWnd::TrackMouseHoverAndLeave(DWORD hoverMs) {
    TRACKMOUSEEVENT track{sizeof(track), TME_HOVER | TME_LEAVE, hwnd_, hoverMs};
    return ::TrackMouseEvent(&track);
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (superProc_ != nullptr) {
        return ::CallWindowProcW(superProc_, hwnd_, msg, wParam, lParam);
    }
    return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

void CWnd::DrawItem(const DRAWITEMSTRUCT&) {}

bool CWnd::OnChildNotify(int) {
    return false;
}

bool CWnd::OnCommand(int, int, HWND) {
    return false;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item != nullptr && item->CtlType != ODT_MENU) {
                if (CWnd* child = FromHandle(item->hwndItem)) {
                    child->DrawItem(*item);
                    return TRUE;
                }
            }
            break;
        }
        case WM_COMMAND: {
            auto control = reinterpret_cast<HWND>(lParam);
            if (control != nullptr) {
                CWnd* child = FromHandle(control);
                if (child != nullptr && child != this && child->OnChildNotify(HIWORD(wParam))) {
                    return 0;
                }
            }
            if (OnCommand(LOWORD(wParam), HIWORD(wParam), control)) {
                return 0;
            }
            break;
        }
        default:
            break;
    }
    return DefWindowProc(msg, wParam, lParam);
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CWnd* self = FromHandle(hwnd);
    if (self == nullptr && msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        self = static_cast<CWnd*>(create->lpCreateParams);
        if (self != nullptr) {
            self->Attach(hwnd, nullptr);
            self->PreSubclassWindow();
        }
    }
    if (self == nullptr) {
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    LRESULT result = self->WindowProc(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        self->Detach();
        self->PostNcDestroy();
    }
    return result;
}

}  // namespace fw
