#include "framework/Wnd.h"

#include "framework/WindowTable.h"

namespace fw {

CWnd::~CWnd() {
    const bool ownWindow = !subclassed_;
    HWND hwnd = UnsubclassWindow();
    // A window this object created must not outlive it; subclassed ones belong to their owner.
    if (ownWindow && hwnd != nullptr) {
        ::DestroyWindow(hwnd);
    }
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    WindowTable::Entry entry;
    return WindowTable::Find(hwnd, entry) ? entry.object : nullptr;
}

bool CWnd::Attach(HWND hwnd) {
    if (!WindowTable::Bind(hwnd, this)) {
        return false;
    }
    hwnd_ = hwnd;
    return true;
}

void CWnd::Detach() {
    if (hwnd_ != nullptr) {
        WindowTable::Unbind(hwnd_, this);
    }
    hwnd_ = nullptr;
    original_ = nullptr;
    subclassed_ = false;
}

bool CWnd::SubclassWindow(HWND hwnd) {
    if (hwnd == nullptr || hwnd_ != nullptr || !::IsWindow(hwnd) || !Attach(hwnd)) {
        return false;
    }
    PreSubclassWindow();
    WindowTable::Entry entry;
    WindowTable::Find(hwnd, entry);
    if (entry.original == nullptr) {
        // The procedure stays in the chain until it can be taken out again (UnsubclassWindow).
        ::SetLastError(0);
        const auto previous = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
            hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
        if (previous == nullptr) {
            Detach();
            return false;
        }
        WindowTable::SetOriginal(hwnd, previous);
        entry.original = previous;
    }
    original_ = entry.original;
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
    const bool ours = subclassed_ && reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(
                                         hwnd, GWLP_WNDPROC)) == &CWnd::SubclassProc;
    if (ours && ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_))) {
        Detach();
        WindowTable::Forget(hwnd);
        return hwnd;
    }
    // Subclassed again after us: our procedure stays in the chain and passes everything on.
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
    if (subclassed_) {
        return ::CallWindowProcW(original_, hwnd_, msg, wParam, lParam);
    }
    return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(current_.msg, current_.wParam, current_.lParam);
}

bool CWnd::OnMouseMove(UINT, POINT) {
    return false;
}

bool CWnd::OnLButtonDown(UINT, POINT) {
    return false;
}

bool CWnd::OnLButtonUp(UINT, POINT) {
    return false;
}

bool CWnd::OnLButtonDblClk(UINT, POINT) {
    return false;
}

bool CWnd::OnMouseHover(UINT, POINT) {
    return false;
}

bool CWnd::OnMouseLeave() {
    return false;
}

bool CWnd::OnCaptureChanged(HWND) {
    return false;
}

bool CWnd::OnTimer(UINT_PTR) {
    return false;
}

bool CWnd::OnHotKey(int) {
    return false;
}

bool CWnd::OnCommand(int, int, HWND) {
    return false;
}

bool CWnd::OnSize(UINT, int, int) {
    return false;
}

bool CWnd::OnShowWindow(bool, UINT) {
    return false;
}

bool CWnd::OnPaint() {
    return false;
}

bool CWnd::OnEraseBkgnd(HDC) {
    return false;
}

bool CWnd::OnSetText(const wchar_t*) {
    return false;
}

bool CWnd::OnEnable(bool) {
    return false;
}

void CWnd::DrawItem(const DRAWITEMSTRUCT&) {}

bool CWnd::OnChildNotify(int) {
    return false;
}

bool CWnd::ReflectDrawItem(LPARAM lParam) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item == nullptr || item->CtlType == ODT_MENU) {
        return false;
    }
    CWnd* child = FromHandle(item->hwndItem);
    if (child == nullptr) {
        return false;
    }
    child->DrawItem(*item);
    return true;
}

bool CWnd::ReflectCommand(WPARAM wParam, LPARAM lParam) {
    auto control = reinterpret_cast<HWND>(lParam);
    const int code = HIWORD(wParam);
    CWnd* child = FromHandle(control);
    if (control != nullptr && child != nullptr && child != this && child->OnChildNotify(code)) {
        return true;
    }
    return OnCommand(LOWORD(wParam), code, control);
}

bool CWnd::Dispatch(const Message& m, LRESULT& result) {
    const UINT keys = static_cast<UINT>(m.wParam);
    const POINT point = PointFromLParam(m.lParam);
    result = 0;
    switch (m.msg) {
        case WM_MOUSEMOVE:
            return OnMouseMove(keys, point);
        case WM_LBUTTONDOWN:
            return OnLButtonDown(keys, point);
        case WM_LBUTTONUP:
            return OnLButtonUp(keys, point);
        case WM_LBUTTONDBLCLK:
            return OnLButtonDblClk(keys, point);
        case WM_MOUSEHOVER:
            return OnMouseHover(keys, point);
        case WM_MOUSELEAVE:
            return OnMouseLeave();
        case WM_CAPTURECHANGED:
            return OnCaptureChanged(reinterpret_cast<HWND>(m.lParam));
        case WM_TIMER:
            return OnTimer(static_cast<UINT_PTR>(m.wParam));
        case WM_HOTKEY:
            return OnHotKey(static_cast<int>(m.wParam));
        case WM_COMMAND:
            return ReflectCommand(m.wParam, m.lParam);
        case WM_SIZE:
            return OnSize(static_cast<UINT>(m.wParam), LOWORD(m.lParam), HIWORD(m.lParam));
        case WM_SHOWWINDOW:
            return OnShowWindow(m.wParam != FALSE, static_cast<UINT>(m.lParam));
        case WM_PAINT:
            return OnPaint();
        case WM_DRAWITEM:
            result = TRUE;
            return ReflectDrawItem(m.lParam);
        case WM_ERASEBKGND:
            result = TRUE;
            return OnEraseBkgnd(reinterpret_cast<HDC>(m.wParam));
        case WM_SETTEXT:
            result = TRUE;
            return OnSetText(reinterpret_cast<const wchar_t*>(m.lParam));
        case WM_ENABLE:
            return OnEnable(m.wParam != FALSE);
        default:
            return false;
    }
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Handlers may send messages to their own window: keep the outer message for Default().
    const Message outer = current_;
    current_ = {msg, wParam, lParam};
    LRESULT result = 0;
    if (!Dispatch(current_, result)) {
        result = DefWindowProc(msg, wParam, lParam);
    }
    current_ = outer;
    return result;
}

LRESULT CWnd::Route(CWnd* self, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = self->WindowProc(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        self->UnsubclassWindow();
        self->PostNcDestroy();
    }
    return result;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WindowTable::Entry entry;
    if (!WindowTable::Find(hwnd, entry) || entry.original == nullptr) {
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    LRESULT result = 0;
    if (entry.object != nullptr && entry.object->hwnd_ == hwnd) {
        result = Route(entry.object, msg, wParam, lParam);
    } else {
        result = ::CallWindowProcW(entry.original, hwnd, msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        WindowTable::Forget(hwnd);  // the window is gone, whoever else subclassed it
    }
    return result;
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CWnd* self = FromHandle(hwnd);
    if (self == nullptr && msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        self = static_cast<CWnd*>(create->lpCreateParams);
        if (self != nullptr && self->Attach(hwnd)) {
            self->PreSubclassWindow();
        } else {
            self = nullptr;
        }
    }
    if (self == nullptr) {
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    return Route(self, msg, wParam, lParam);
}

}  // namespace fw
